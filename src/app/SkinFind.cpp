// The full-text find in the main window: its boxes in the search dialog, the dialog's find
// commands, and the pages it scans.
#include <QLineEdit>

#include "app/FindTxtHtml.h"
#include "app/MainForm.h"
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
    RFindHost host;
    host.boxParent = dialog_ ? static_cast<QWidget*>(dialog_) : &window_;
    host.thesaurusMode = window_.InThesaurusWindow();
    host.currentScreen = [this] { return window_.CurrentScreen(); };
    host.currentView = [this] { return window_.HtmlFrame() ? window_.HtmlFrame()->CurrentView() : nullptr; };
    host.contentsTree = [this] { return ChooseTree(window_.Tree(1), window_.Tree(2)); };
    host.showStatus = [this](const std::string& text) { ShowStatus(text); };
    host.clearStatus = [this] { ClearStatus(); };
    host.warn = [this](const std::string& text) { ShowWarning(text); };
    host.resetBar = [this] { bar_->ResetBar(); };
    host.stepBar = [this] { bar_->StepBar(); };
    host.barWidth = [this] { return bar_->Width(); };
    host.stoppedChanged = [this](bool stopped) {
        if (dialog_) dialog_->SetFindButtonHint(stopped ? kSearchHint : kStopHint);
    };
    host.resultsChanged = [this] {
        if (dialog_) dialog_->ShowFindResults();
    };
    host.scanEnded = [this] {
        if (dialog_) dialog_->ScanEnded();
    };
    host.enterCommand = [this](const std::string& command) {
        if (dialog_) dialog_->RunCommandWithoutSound(command);
    };
    host.pointerOver = [this] { window_.FormMouseMove(QPoint(-1, -1), Qt::NoModifier); };
    scan_ = std::make_unique<TPageScan>();
    host.pageContains = [this](const std::string& file, const std::string& word, bool matchCase) {
        return scan_->Contains(file, word, matchCase);
    };
    host.pageTitle = [this](const std::string& file) { return scan_->Text(file).Title(); };
    host.preparePages = [this](const TDynamicStringArray& pages, size_t from, size_t count) {
        scan_->Prepare(pages, from, count);
    };
    host.packPages = [] { return ListPackFiles(); };
    host.diskPages = [] {
        TDynamicStringArray masks{"*.htm*"};
        return WalkFiles(ProgramDir(), masks, true, false);
    };
    find_ = std::make_unique<TFindTxtHtml>(window_.Elements().FindTexts, std::move(host));
    if (dialog_ && window_.HtmlFrame())
        for (TFrameViewer* view : window_.HtmlFrame()->Views()) view->SetCoveringWindow(dialog_);
}

// The dialog's find page talks to the find; while a scan runs the dialog's closing waits for it.
void TSkinControls::ConnectFind(RCoolDialogHost& host) {
    host.busy = [this] { return BusyFlag || (find_ && find_->Scanning()); };
    host.stopFind = [this] {
        if (find_) find_->RequestStop();
    };
    host.setFindMode = [this](TFindMode mode) {
        if (!find_) return;
        if (mode == TFindMode::AllFiles) find_->SetIndexMode();
        else if (mode == TFindMode::Contents) find_->SetContentsMode();
        else find_->SetAllPages(false);
    };
    host.findNext = [this](int box) {
        if (find_) find_->FindNext(box);
    };
    host.findClosed = [this] {
        if (find_) find_->RequestStop();
        ClearStatus();
    };
    host.findResults = [this] { return find_ ? find_->ResultTitles() : TDynamicStringArray(); };
    host.openFindResult = [this](int index) {
        if (find_) find_->OpenResult(index);
    };
    host.findBoxes = [this] { return find_ ? find_->Boxes() : std::vector<QWidget*>(); };
}
