// The main window as the host of the disc's software and archives: its messages, the page
// frame's archive mode and the path input.
#include "app/BookSoftware.h"
#include "app/LinkServices.h"
#include "app/MainForm.h"
#include "app/SkinControls.h"
#include "html/HtmlFrame.h"

void TMainForm::ShowMessage(const std::string& text) {
    if (controls_) controls_->ShowMessage(text);
}

bool TMainForm::ArchiveMode() const { return htmlFrame_ && htmlFrame_->ArchiveMode(); }

void TMainForm::SetArchiveMode(bool on) {
    if (htmlFrame_) htmlFrame_->SetArchiveMode(on);
}

void TMainForm::OpenInCurrentView(const std::string& page) {
    if (pageFrame_) pageFrame_->OpenInCurrentView(page);
}

std::optional<std::string> TMainForm::UnpackFolder() const {
    if (!controls_ || !controls_->HasPathInput()) return std::nullopt;
    return controls_->CurrentPath();
}

void TMainForm::ConnectArchives() {
    linkServices_->OpenArchive = [this](const std::string& archive, const std::string& page) {
        software_->ShowArchive(archive, page);
    };
    linkServices_->OpenArchiveEntry = [this](const std::string&) { software_->OpenArchiveEntry(); };
}
