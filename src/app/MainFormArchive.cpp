// The main window's archives and shipped software: RAR archives shown as pages and unpacked,
// programs started and removed, and the fonts beside the pages installed.
#include "app/LinkServices.h"
#include "app/MainForm.h"
#include "app/SkinControls.h"
#include "archive/Software.h"
#include "archive/UnRar.h"
#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "html/HtmlFrame.h"
#include "html/engine/PageScheme.h"

namespace {

std::string Cp(const char* utf8) { return Cp1251::fromUtf8(utf8); }

}  // namespace

// Made with the first archive shown.
TUnRar& TMainForm::ArchiveBrowser() {
    if (!unrar_) {
        RUnRarHost host;
        host.showMessage = [this](const std::string& text) {
            if (controls_) controls_->ShowMessage(text);
        };
        host.archiveMode = [this] { return htmlFrame_ && htmlFrame_->ArchiveMode(); };
        host.setArchiveMode = [this](bool on) {
            if (htmlFrame_) htmlFrame_->SetArchiveMode(on);
        };
        host.openPage = [this](const std::string& page) {
            if (pageFrame_) pageFrame_->OpenInCurrentView(page);
        };
        host.pathInputFolder = [this]() -> std::optional<std::string> {
            if (!controls_ || !controls_->HasPathInput()) return std::nullopt;
            return controls_->CurrentPath();
        };
        unrar_ = std::make_unique<TUnRar>(std::move(host), AppTitle());
        SetListingRoot(unrar_->ListingRoot());  // its pages may be shown; what is unpacked there is foreign
    }
    return *unrar_;
}

// A dropped archive, shown from the page it was dropped on.
void TMainForm::ShowArchive(const std::string& file) {
    ArchiveBrowser().ShowArchive(file, pageFrame_ ? pageFrame_->CurrentFile() : std::string());
}

void TMainForm::ConnectArchives() {
    linkServices_->OpenArchive = [this](const std::string& archive, const std::string& page) {
        ArchiveBrowser().ShowArchive(archive, page);
    };
    linkServices_->OpenArchiveEntry = [this](const std::string&) { ArchiveBrowser().ExtractArchive(false, true); };
}

void TMainForm::Unarc() {
    if (unrar_ && htmlFrame_ && htmlFrame_->ArchiveMode()) return unrar_->ExtractArchive(true, false);
    if (controls_) controls_->ShowMessage(Cp("Выберите файл для распаковки."));
}

// After every page shown: the archive mode follows the page, and the fonts to install are those
// beside it.
void TMainForm::PageShown(const std::string& file) {
    if (unrar_) unrar_->UpdateArchiveMode(file);
    fontFolder_ = WinPath::Folder(file);
}

void TMainForm::RunGame(const std::string& setup, const std::string& key) { ::RunGame(setup, key); }

void TMainForm::DeleteGame(const std::string& key) {
    if (!RemoveGame(key) && controls_) controls_->ShowMessage(Cp("Игра не установлена."));
}

void TMainForm::InstallFonts() {
    if (!fontFolder_.empty()) ::InstallFonts(fontFolder_);
}
