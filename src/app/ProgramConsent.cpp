#include "app/ProgramConsent.h"

#include <QCryptographicHash>
#include <QFile>
#include <QMessageBox>

#include "base/Cp1251.h"
#include "platform/Diagnostics.h"
#include "platform/hostpaths/Drives.h"
#include "platform/QtText.h"
#include "platform/ReaderAct.h"
#include "platform/RegistryStore.h"
#include "platform/SettingsStore.h"
#include "skin/SkinDialog.h"

namespace {

constexpr char kAllow[] = "allow:";
constexpr char kDeny[] = "deny:";

// The program's bytes as a hexadecimal SHA-256; empty when it cannot be read.
std::string Digest(const QString& program) {
    QFile file(program);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file)) return {};
    return hash.result().toHex().toStdString();
}

// The name a program is kept under: its path on the book's drives, in one letter case.
std::string KeptName(const QString& program) {
    return Cp1251::lower(HostPathsService().ToWindows(program.toStdString()));
}

} // namespace

TProgramConsent::TProgramConsent(std::string appTitle, bool trustAll, TAsk ask)
    : appTitle_(std::move(appTitle)), trustAll_(trustAll), ask_(std::move(ask)) {}

std::string TProgramConsent::Question(const QString& program) {
    return Cp1251::fromUtf8("Разрешить запуск программы ") + FromQt(program) + "?";
}

bool TProgramConsent::MayOpen(const QString& fileOrUrl) {
    if (TReaderAct::Underway()) return true;
    qCInfo(lcApp).noquote() << "no reader asked to open:" << fileOrUrl;
    return false;
}

bool TProgramConsent::MayRun(const QString& program) {
    if (!TReaderAct::Underway()) {
        qCInfo(lcApp).noquote() << "no reader asked to start:" << program;
        return false;
    }
    if (trustAll_) return true;
    const std::string digest = Digest(program);
    if (digest.empty()) return false;
    TRegistryStore store(TSettingsStore::FilePath(appTitle_), "Programs");
    const std::string name = KeptName(program);
    std::string kept;
    if (store.ReadString(name, kept) && kept == kAllow + digest) return true;
    if (kept == kDeny + digest) {
        qCInfo(lcApp).noquote() << "the reader did not allow this program before:" << program;
        return false;
    }
    const std::optional<bool> allowed = ask_ ? ask_(Question(program)) : std::nullopt;
    if (!allowed) return false;
    store.WriteString(name, (*allowed ? kAllow : kDeny) + digest);
    return *allowed;
}

std::optional<bool> AskReader(TCoolDialog* dialog, QWidget* parent, const std::string& question) {
    if (dialog && !dialog->Showing())
        if (const auto page = dialog->QuestionPage())
            if (const auto answer = dialog->Ask(*page, question)) return answer;
    const QMessageBox::StandardButton button =
        QMessageBox::question(parent, parent ? parent->windowTitle() : QString(), ToQt(question));
    return button == QMessageBox::Yes;
}
