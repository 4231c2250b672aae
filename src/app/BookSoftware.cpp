#include "app/BookSoftware.h"

#include <QString>

#include "archive/Software.h"
#include "archive/UnRar.h"
#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "html/engine/PageScheme.h"
#include "platform/hostpaths/Drives.h"
#include "platform/Launch.h"
#include "platform/QtText.h"

namespace {

std::string Cp(const char* utf8) { return Cp1251::fromUtf8(utf8); }

}  // namespace

TBookSoftware::TBookSoftware(ISoftwareHost& host) : host_(host) {}

TBookSoftware::~TBookSoftware() = default;

TUnRar& TBookSoftware::ArchiveBrowser() {
    if (!unrar_) {
        unrar_ = std::make_unique<TUnRar>(host_, AppTitle());
        SetListingRoot(unrar_->ListingRoot());  // its pages may be shown; what is unpacked there is foreign
    }
    return *unrar_;
}

void TBookSoftware::ShowArchive(const std::string& archive, const std::string& currentPage) {
    ArchiveBrowser().ShowArchive(archive, currentPage);
}

void TBookSoftware::OpenArchiveEntry() { ArchiveBrowser().ExtractArchive(false, true); }

void TBookSoftware::PageShown(const std::string& file) {
    if (unrar_) unrar_->UpdateArchiveMode(file);
    fontFolder_ = WinPath::Folder(file);
}

void TBookSoftware::RunFile(const std::string& file, const std::string& parameters) {
    const auto host = HostPathsService().Find(file);
    if (!host) return;
    const QString path = QString::fromStdString(*host);
    const QString folder = path.left(path.lastIndexOf('/'));
    LaunchProgram(path, SplitParameters(ToQt(parameters)), folder);
}

void TBookSoftware::RunGame(const std::string& setup, const std::string& key) { ::RunGame(setup, key); }

void TBookSoftware::DeleteGame(const std::string& key) {
    if (!RemoveGame(key)) host_.ShowMessage(Cp("Игра не установлена."));
}

void TBookSoftware::InstallFonts() {
    if (!fontFolder_.empty()) ::InstallFonts(fontFolder_);
}

void TBookSoftware::Unarc() {
    if (unrar_ && host_.ArchiveMode()) return unrar_->ExtractArchive(true, false);
    host_.ShowMessage(Cp("Выберите файл для распаковки."));
}
