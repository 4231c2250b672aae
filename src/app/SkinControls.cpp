// The main window's text labels, status line, path inputs, scale bar and message dialog.
#include "app/SkinControls.h"

#include <QMessageBox>
#include <QPainter>
#include <QWidget>

#include "media/ButtonSound.h"
#include "app/SkinControlsHost.h"
#include "rules/InterfaceDescription.h"
#include "app/FindTxtHtml.h"
#include "app/PageScan.h"
#include "app/SuperTicker.h"
#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "html/HtmlFrame.h"
#include "platform/hostpaths/Drives.h"
#include "platform/QtText.h"
#include "skin/SkinDialog.h"
#include "skin/PathInputBox.h"
#include "skin/PopupWin.h"
#include "skin/ScaleBar.h"
#include "skin/StatusLine.h"
#include "skin/TextMsg.h"

TSkinControls::TSkinControls(ISkinControlsHost& window, const TDynamicStringArray& dialogLines)
    : QObject(&window.ControlsWindow()), window_(window) {
    BuildTexts();
    status_ = new TStatusLine(texts_.get());
    status_->setParent(this);
    if (window.HtmlFrame()) favorites_ = std::make_unique<THtmlFavorite>(AppTitle());
    if (favorites_) favorites_->Load(nullptr);
    BuildPaths();
    BuildDialog(dialogLines);
    BuildFind();
    BuildPopups();
    ScreenChanged(window.CurrentScreen());
}

// The path inputs write their folders as they go; the popups and the dialog are windows of
// their own and go with this owner.
TSkinControls::~TSkinControls() {
    find_.reset();
    popups_.reset();
    paths_.reset();
    delete dialog_;
}

void TSkinControls::BuildTexts() {
    if (window_.Elements().Texts.empty()) return;
    RTextHost host;
    host.currentScreen = [this] { return window_.CurrentScreen(); };
    host.repaintWindow = [this](const QRect& area) { window_.ControlsWindow().update(area); };
    host.repaintDialog = [this](const QRect& area) {
        if (!dialog_) return false;
        dialog_->update(area);
        return true;
    };
    texts_ = std::make_unique<TTextMsg>(window_.Elements().Texts, std::move(host));
}

// The user sees and types host folders; the book keeps Windows paths.
void TSkinControls::BuildPaths() {
    if (window_.Elements().PathInputs.empty()) return;
    RPathHost host;
    host.window = &window_.ControlsWindow();
    host.appTitle = AppTitle();
    // The box holds CP1251 text; host paths are UTF-8.
    host.toHost = [](const std::string& win) {
        const auto hostPath = HostPathsService().ToHost(win);
        return hostPath ? Cp1251::fromUtf8(*hostPath) : win;
    };
    host.toWindows = [](const std::string& typed) { return HostPathsService().ToWindows(Cp1251::toUtf8(typed)); };
    host.pointerOver = [this] { window_.PointerLeftSkin(); };
    paths_ = std::make_unique<TPathInputBox>(window_.Elements().PathInputs, std::move(host));
}

void TSkinControls::ScreenChanged(int screen) {
    if (paths_) paths_->ShowPaths(screen);
    if (bar_) bar_->ShowBar(screen);
    if (find_) find_->ShowForScreen();
    if (popups_) {
        popups_->Rebuild();
        RefreshHistoryPopups();
    }
}

void TSkinControls::SetStandardForm(bool standard) {
    if (paths_) paths_->HidePaths(standard);
    if (find_) find_->SetBoxesHidden(standard);
}

void TSkinControls::PaintWindow(QPainter& painter) {
    if (texts_) texts_->PaintTexts(painter, false);
}

void TSkinControls::ShowStatus(const std::string& text) { status_->ShowStatus(text); }
void TSkinControls::ClearStatus() { status_->ClearStatus(); }

std::string TSkinControls::CurrentPath() const { return paths_ ? paths_->CurrentPath() : std::string(); }
bool TSkinControls::HasPathInput() const { return paths_ && paths_->Count() > 0; }

std::string TSkinControls::LabelText(int number) const { return texts_ ? texts_->TextOf(number) : std::string(); }

void TSkinControls::HistoryChanged(const std::string& title) {
    if (texts_) texts_->SetText(title + "  ", 1, true);
    RefreshHistoryPopups();
}

void TSkinControls::BuildDialog(const TDynamicStringArray& lines) {
    bar_ = std::make_unique<TScaleBar>(RScaleHost{
        [this](const std::string& name) { return window_.LoadPicture(name); }, [this] { return dialog_ != nullptr; },
        [this](QPoint at, const QImage& picture) { dialog_->DrawIntoPicture(at, picture); }});
    if (lines.empty()) return;
    dialog_ = new TCoolDialog(ReadDialogDescription(lines), static_cast<ICoolDialogHost&>(*this), SuperTimerTickers(), AppTitle());
}

QImage TSkinControls::LoadPicture(const std::string& name) { return window_.LoadPicture(name); }
QRect TSkinControls::MainWindowGeometry() { return window_.ControlsWindow().frameGeometry(); }
bool TSkinControls::SoundsOn() { return window_.ButtonSoundsOn(); }
bool TSkinControls::HintsOn() { return window_.HintsShown(); }
void TSkinControls::PlaySound(const std::string& name) { PlayButtonSound(ProgramDir() + name); }

void TSkinControls::PaintOverlay(QPainter& painter) {
    if (texts_) texts_->PaintTexts(painter, true);
}

void TSkinControls::RefreshScaleBar() { bar_->ResetBar(); }

void TSkinControls::ShowMessage(const std::string& text, int page) {
    if (dialog_ && dialog_->ShowDialog(page, text)) return;
    ShowBox(false, text);
}

bool TSkinControls::ShowPrinterMessagePage(int page) { return dialog_ && dialog_->ShowModal(page, {}).has_value(); }

void TSkinControls::ShowPrintMessage(const std::string& text) {
    if (dialog_ && dialog_->ShowModal(0, text)) return;
    QMessageBox::warning(&window_.ControlsWindow(), ToQt(AppTitle()), ToQt(text));
}

// Like the dialog, the box does not hold up the command that raised it.
void TSkinControls::ShowBox(bool warning, const std::string& text) {
    auto* box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information, ToQt(AppTitle()), ToQt(text), QMessageBox::Ok, &window_.ControlsWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

void TSkinControls::OpenFindDialog() {
    if (dialog_) dialog_->ShowDialog(1, "");
}

bool TSkinControls::DialogShowing() const { return dialog_ && dialog_->Showing(); }

// Esc stops a running scan, else closes the message dialog when it shows, else the popups.
void TSkinControls::Escape() {
    if (DialogShowing() && find_ && find_->Scanning()) find_->RequestStop();
    else if (DialogShowing()) dialog_->Close(TCoolDialog::kClosedCode);
    else HidePopups();
}

void TSkinControls::StopSearchAndCloseDialog() {
    if (find_ && find_->Scanning()) find_->RequestStop();
    if (DialogShowing()) dialog_->Close(TCoolDialog::kClosedCode);
}
