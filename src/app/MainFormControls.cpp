// The main window hands its labels, status line, path inputs, message dialog and popups to the
// skin controls.
#include <QCursor>

#include "app/MainForm.h"
#include "app/FindTxtHtml.h"
#include "app/SkinControls.h"
#include "platform/QtText.h"

bool TMainForm::HasPopupWindow() const { return controls_ && controls_->HasPopups(); }

void TMainForm::OpenPopupList(int list, int buttonIndex) {
    if (controls_) controls_->OpenPopupList(list, buttonIndex);
}

// The menu opens where the reader pressed: a Wayland client knows no pointer position of its own
// outside its events.
void TMainForm::OpenContextMenu(int number) {
    if (controls_) controls_->OpenPopupAt(number, lastPress_.isNull() ? QCursor::pos() : lastPress_);
}

void TMainForm::OpenPageContextMenu(QPoint point) {
    if (controls_) controls_->OpenPopupAt(kPopupContextHtml, point);
}

void TMainForm::ClosePopup() {
    if (controls_) controls_->HidePopups();
}

void TMainForm::AddToFavorites() {
    if (controls_) controls_->AddCurrentPageToFavorites();
}

void TMainForm::ShowStatus(const std::string& text) {
    if (controls_) controls_->ShowStatus(text);
}

std::string TMainForm::PathInputFolder() { return controls_ ? controls_->CurrentPath() : std::string(); }

void TMainForm::HistoryChanged(const std::string& title) {
    if (controls_) controls_->HistoryChanged(title);
    face_.RefreshHistory();
    if (pageFrame_) software_->PageShown(pageFrame_->CurrentFile());
}

void TMainForm::EscapeKey() {
    if (controls_) controls_->Escape();
}

void TMainForm::EnterToFindBoxes() {
    if (TFindTxtHtml* find = controls_ ? controls_->Find() : nullptr) find->EnterInBoxes();
}
