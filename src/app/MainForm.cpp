#include "app/MainForm.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

#include "base/Cp1251.h"
#include "base/GlobalPaths.h"

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
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(caption, this);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    resize(800, 600);
}
