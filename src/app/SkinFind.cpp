// The full-text find in the main window: its boxes in the search dialog, the dialog's find
// commands, and the pages it scans.
#include <QLineEdit>
#include <QWidget>

#include "app/FindTxtHtml.h"
#include "app/SkinControlsHost.h"
#include "rules/InterfaceDescription.h"
#include "app/PageScan.h"
#include "app/SkinControls.h"
#include "base/GlobalPaths.h"
#include "html/HtmlFrame.h"
#include "html/engine/FrameViewer.h"
#include "html/TreeList.h"
#include "packs/PackFile.h"
#include "platform/BusyCursor.h"
#include "platform/hostpaths/FileSearch.h"
#include "skin/ScaleBar.h"
#include "skin/SkinDialog.h"
#include "skin/StatusLine.h"

namespace {

// "Искать" and "Остановить поиск": the search button's hint when idle and while a scan runs.
const char* const kSearchHint = "\xC8\xF1\xEA\xE0\xF2\xFC";
const char* const kStopHint = "\xCE\xF1\xF2\xE0\xED\xEE\xE2\xE8\xF2\xFC \xEF\xEE\xE8\xF1\xEA";

}  // namespace

void TSkinControls::BuildFind() {
    if (window_.Elements().FindTexts.empty()) return;
    scan_ = std::make_unique<TPageScan>();
    QWidget* boxParent = dialog_ ? static_cast<QWidget*>(dialog_) : &window_.ControlsWindow();
    find_ = std::make_unique<TFindTxtHtml>(window_.Elements().FindTexts, boxParent, window_.InThesaurusWindow(), static_cast<IFindHost&>(*this));
    if (dialog_ && window_.HtmlFrame())
        for (TFrameViewer* view : window_.HtmlFrame()->Views()) view->SetCoveringWindow(dialog_);
}

int TSkinControls::CurrentScreen() const { return window_.CurrentScreen(); }

TFrameViewer* TSkinControls::CurrentView() const { return window_.HtmlFrame() ? window_.HtmlFrame()->CurrentView() : nullptr; }

TTreeViews* TSkinControls::ContentsTree() const { return ChooseTree(window_.Tree(1), window_.Tree(2)); }

void TSkinControls::ResetBar() {
    if (bar_) bar_->ResetBar();
}

void TSkinControls::StepBar() {
    if (bar_) bar_->StepBar();
}

int TSkinControls::BarWidth() const { return bar_ ? bar_->Width() : 0; }

void TSkinControls::StoppedChanged(bool stopped) {
    if (dialog_) dialog_->SetFindButtonHint(stopped ? kSearchHint : kStopHint);
}

void TSkinControls::ResultsChanged() {
    if (dialog_) dialog_->ShowFindResults();
}

void TSkinControls::ScanEnded() {
    if (dialog_) dialog_->ScanEnded();
}

void TSkinControls::EnterCommand(const std::string& command) {
    if (dialog_) dialog_->RunCommandWithoutSound(command);
}

void TSkinControls::PointerOverBox() { window_.PointerLeftSkin(); }

bool TSkinControls::PageContains(const std::string& file, const std::string& word, bool matchCase) {
    return scan_->Contains(file, word, matchCase);
}

std::string TSkinControls::PageTitle(const std::string& file) { return scan_->Text(file).Title(); }

void TSkinControls::PreparePages(const TDynamicStringArray& pages, size_t from, size_t count) {
    scan_->Prepare(pages, from, count);
}

TDynamicStringArray TSkinControls::PackPages() const { return ListPackFiles(); }

TDynamicStringArray TSkinControls::DiskPages() const {
    TDynamicStringArray masks{"*.htm*"};
    return WalkFiles(ProgramDir(), masks, true, false);
}

// The dialog's find page talks to the find; while a scan runs the dialog's closing waits for it.
bool TSkinControls::Busy() { return BusyFlag || (find_ && find_->Scanning()); }

void TSkinControls::StopFind() {
    if (find_) find_->RequestStop();
}

void TSkinControls::SetFindMode(TFindMode mode) {
    if (!find_) return;
    if (mode == TFindMode::AllFiles) find_->SetIndexMode();
    else if (mode == TFindMode::Contents) find_->SetContentsMode();
    else find_->SetAllPages(false);
}

void TSkinControls::FindNext(int box) {
    if (find_) find_->FindNext(box);
}

void TSkinControls::FindClosed() {
    StopFind();
    ClearStatus();
}

std::vector<std::string> TSkinControls::FindResults() { return find_ ? find_->ResultTitles() : TDynamicStringArray(); }

void TSkinControls::OpenFindResult(int index) {
    if (find_) find_->OpenResult(index);
}

std::vector<QWidget*> TSkinControls::FindBoxes() { return find_ ? find_->Boxes() : std::vector<QWidget*>(); }
