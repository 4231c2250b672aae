#include "app/LinkServices.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "html/HtmlFrameHost.h"
#include "packs/BookFiles.h"
#include "platform/hostpaths/Drives.h"
#include "platform/hostpaths/FileCopy.h"
#include "platform/Launch.h"
#include "platform/QtText.h"
#include "platform/SoftwareRecord.h"

namespace {
QString hostOf(const std::string& winPath) { return QString::fromStdString(HostPathsService().ToHost(winPath).value_or("")); }
} // namespace

void TLinkServices::ExecuteCommandWithoutSound(const std::string& command) { window_.RunCommandWithoutSound(command); }

std::string TLinkServices::PathInputFolder() { return window_.PathInputFolder(); }

bool TLinkServices::SoftwareRecord(const std::string& name, std::string& instdir, std::string& exename) {
    return ReadSoftwareRecord(name, instdir, exename);
}

bool TLinkServices::FileExists(const std::string& path) { return BookFiles().Has(path); }

// A different file of the same name is replaced only when the user says so.
bool TLinkServices::CopyFile(const std::string& from, const std::string& to) {
    if (const auto existing = HostPathsService().Find(to)) {
        QFile file(QString::fromStdString(*existing));
        TMemoryStream source;
        try {
            BookFiles().Read(from, source);
        } catch (const std::exception&) {
            return false;
        }
        const bool same = file.open(QIODevice::ReadOnly) && file.readAll() == QByteArray(source.View().data(), qsizetype(source.Size()));
        if (same) return true;
        const QString question = ToQt(Cp1251::fromUtf8("Файл ") + to + Cp1251::fromUtf8(" уже есть. Заменить его?"));
        if (QMessageBox::question(dialogParent_, ToQt(AppTitle()), question) != QMessageBox::Yes) return false;
    }
    return CopyBookFile(from, to);
}

std::optional<std::string> TLinkServices::ChooseZipTarget(const std::string& initialFolder, const std::string& defaultName,
                                                          const std::string& filter) {
    // "Zip файлы (*.zip)|*.zip|Все файлы (*.*)|*.*" becomes "Zip файлы (*.zip);;Все файлы (*.*)".
    const QStringList parts = ToQt(filter).split('|');
    QStringList names;
    for (int i = 0; i < parts.size(); i += 2) names << parts[i];
    const QString start = hostOf(initialFolder.empty() ? ProgramDir() : initialFolder) + "/" + ToQt(defaultName);
    const QString chosen = QFileDialog::getSaveFileName(dialogParent_, QString(), start, names.join(";;"));
    if (chosen.isEmpty()) return std::nullopt;
    return HostPathsService().ToWindows(chosen.toStdString());
}

void TLinkServices::ShellOpen(const std::string& pathOrUrl) {
    const bool url = pathOrUrl.find("://") != std::string::npos || Cp1251::asciiLower(pathOrUrl).rfind("mailto:", 0) == 0;
    ::ShellOpen(url ? ToQt(pathOrUrl) : hostOf(pathOrUrl));
}

void TLinkServices::StartProgram(const std::string& path) { LaunchProgram(hostOf(path), {}, QDir::currentPath()); }

void TLinkServices::SetCurrentFolder(const std::string& folder) {
    HostPathsService().SetCurrentDirectory(folder);
    QDir::setCurrent(hostOf(folder));
}

void TLinkServices::StartPictureInstance(const std::string& path) {
    StartNewInstance({"--disc", hostOf(ProgramDir()), ToQt(path)});
}
