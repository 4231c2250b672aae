#include "app/MainForm.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "platform/ChannelWindow.h"

namespace {
QString fromCp1251(const std::string& text) { return QString::fromStdString(Cp1251::toUtf8(text)); }
} // namespace

TMainForm::TMainForm(const std::string& programFolderHost, const TCommandLine& line, TInstanceLock& lock) {
    FormCreate(programFolderHost, line, lock);
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate(const std::string& programFolderHost, const TCommandLine& line, TInstanceLock& lock) {
    setAutoFillBackground(true);
    setPalette(QPalette(Qt::white));
    start_ = RunStartup(programFolderHost, line, [this](const std::string& text) {
        QMessageBox::warning(this, QString(), fromCp1251(text), QMessageBox::Ok);
    }, lock);
    if (Terminating()) return;

    QString caption;
    switch (start_.outcome) {
    case TStartOutcome::Shell:
        caption = fromCp1251(AppTitle());
        break;
    case TStartOutcome::Thesaurus:
        caption = fromCp1251("\xD2\xE5\xE7\xE0\xF3\xF0\xF3\xF1");  // Тезаурус
        break;
    default:
        caption = fromCp1251(line.bookArgs.front());
        break;
    }
    QApplication::setApplicationDisplayName(QString());
    if (start_.outcome == TStartOutcome::Shell) QApplication::setApplicationName(caption);
    setWindowTitle(caption);
    channel_ = new TChannelWindow(this);
    channel_->SetCaption(Cp1251::fromUtf8(caption.toStdString()));
    connect(channel_, &TChannelWindow::CloseRequested, this, &QWidget::close);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(caption, this);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    resize(800, 600);
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (channel_) channel_->SetVisible(true);
}

void TMainForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (channel_) channel_->SetVisible(false);
}

void TMainForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (channel_ && event->type() == QEvent::ActivationChange && isActiveWindow()) channel_->MarkRaised();
}
