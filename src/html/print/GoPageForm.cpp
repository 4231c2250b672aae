#include "html/print/GoPageForm.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "html/print/PrintGeometry.h"

namespace {

// A number box that takes any number typed, the way the user means it; its value stays within
// its range, so a page before the first or past the last means the first or the last.
class TPageNumberBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& text, int&) const override {
        if (text.isEmpty()) return QValidator::Intermediate;
        bool number = false;
        text.toInt(&number);
        return number ? QValidator::Acceptable : QValidator::Invalid;
    }
    int valueFromText(const QString& text) const override { return std::clamp(text.toInt(), minimum(), maximum()); }
};

}  // namespace

TGoPageForm::TGoPageForm(int current, int count, QWidget* parent) : QDialog(parent), count_(count) {
    setWindowTitle(QString::fromUtf8("Переход на страницу"));
    number_ = new TPageNumberBox(this);
    number_->setRange(1, std::max(1, count));
    number_->setValue(current);
    number_->selectAll();
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QString::fromUtf8("Отмена"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(number_);
    layout->addWidget(buttons);
}

int TGoPageForm::Page() const { return PrintGeometry::GoToIndex(number_->value(), count_) + 1; }
