#include "html/print/PrintStatusForm.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TPrintStatusForm::TPrintStatusForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("Форматирование текста"));
    setModal(true);
    label_ = new QLabel(this);
    label_->setMinimumWidth(220);
    auto* cancel = new QPushButton(QString::fromUtf8("Отмена"), this);
    connect(cancel, &QPushButton::clicked, this, &TPrintStatusForm::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    Starting();
}

void TPrintStatusForm::Starting() { label_->setText(QString::fromUtf8("Форматирование ...")); }

void TPrintStatusForm::PageDone(int page) { label_->setText(QString::fromUtf8("Номер страницы ") + QString::number(page)); }

QString TPrintStatusForm::Text() const { return label_->text(); }

// Any key stops the work, Esc included; the window stays until the work has seen it.
void TPrintStatusForm::keyPressEvent(QKeyEvent* event) {
    stop_ = true;
    event->accept();
}

void TPrintStatusForm::reject() { stop_ = true; }
