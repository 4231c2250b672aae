// The main window's other faces: the standard window (started with a file, or turned into from
// the skin by "standartwin") and the thesaurus window, a process of its own skinned from
// Tesaurus.cfs.
#include <QApplication>
#include <QImageReader>
#include <QBuffer>
#include <QResizeEvent>

#include "app/MainForm.h"
#include "app/SuperTicker.h"
#include "app/SkinControls.h"
#include "app/StandardWindow.h"
#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "html/HtmlFrame.h"
#include "html/engine/FrameViewer.h"
#include "html/engine/PageScheme.h"
#include "packs/BookFiles.h"
#include "packs/CfsCodec.h"
#include "platform/BookWindows.h"
#include "platform/ChannelWindow.h"
#include "platform/hostpaths/Drives.h"
#include "platform/Launch.h"
#include "platform/QtText.h"
#include "settings/FormOptions.h"
#include "skin/AboutBox.h"
#include "skin/SkinScreen.h"

namespace {

// The size of a picture of the book, or an empty size for anything else.
QSize PictureSize(const std::string& file) {
    const std::string ext = Cp1251::asciiLower(WinPath::Extension(file));
    if (ext != ".bmp" && ext != ".gif" && ext != ".jpg" && ext != ".jpeg") return {};
    TMemoryStream bytes;
    try {
        BookFiles().Read(file, bytes);
    } catch (const std::exception&) {
        return {};
    }
    QByteArray data(reinterpret_cast<const char*>(bytes.Data()), qsizetype(bytes.Size()));
    QBuffer buffer(&data);
    return QImageReader(&buffer).size();
}

// The file a command line names: the book's own links name Windows paths; a user may name a file
// of this machine, which is seen through the drive mapping.
std::string ArgumentPage(const std::string& file) {
    if (file.empty() || file[0] != '/') return file;
    return HostPathsService().ToWindows(Cp1251::toUtf8(file));
}

}  // namespace

void TMainForm::SetCaption(const std::string& caption) {
    setWindowTitle(ToQt(caption));
    QApplication::setApplicationDisplayName(ToQt(caption));
    if (channel_) channel_->SetCaption(caption);
}

// Started with a file: one empty screen and one page view that shows the file.
void TMainForm::BuildStandardStart() {
    helpOnly_ = start_.arguments.helpOnly;
    elements_ = TInterfaceDescription{};
    RHTML page;
    page.document = ArgumentPage(start_.arguments.file);
    // A file of this computer named by the reader shows as a foreign page.
    if (PageTrust(page.document) == TPageTrust::Refused) AdmitForeign(WinPath::Folder(page.document));
    page.right = 640;
    page.bottom = 480;
    elements_.Htmls.push_back(page);
    if (!helpOnly_) ReadOptions();  // the book's icon; a help window keeps the program's own
    SetCaption(AppTitle());
    resize(640, 480);
    BuildPages(false);
    EnterStandardWindow(true);
}

// The thesaurus window: one skinned screen from Tesaurus.cfs whose page view shows the page it
// was started with; only Esc works, and ends it.
void TMainForm::BuildThesaurusWindow() {
    helpOnly_ = true;
    TDynamicStringArray lines;
    std::vector<uint8_t> bytes;
    if (start_.bundle->ReadBundleEntry("Tesaurus.cfs", bytes) > 0) DecodeCfsLines(bytes.data(), bytes.size(), lines, true);
    start_.keys = ReadWindowKeys(lines);  // no music, clip or codecs of the book's own window
    elements_ = ReadThesaurusElements(lines, start_.keys);
    for (RHTML& page : elements_.Htmls) page.document = ArgumentPage(start_.arguments.file);
    SetCaption(AppTitle());
    setWindowFlags(Qt::FramelessWindowHint | Qt::Window);
    setMouseTracking(true);
    setAcceptDrops(true);
    ReadOptions();
    BuildSkin(4);
    BuildPages(false);
    BuildControls(false);
    if (controls_) controls_->SetStandardForm(false);
}

bool TMainForm::InThesaurusWindow() const { return start_.outcome == TStartOutcome::Thesaurus; }

void TMainForm::StandardWindow() {
    if (!InStandardWindow()) EnterStandardWindow(StartState().restrictedRun);
}

// The steps shared by both ways in: the bars, the page view filling the window, the size a
// picture asks for, and the window shown (maximised when it was the skin).
void TMainForm::EnterStandardWindow(bool restricted) {
    if (!htmlFrame_) return;
    if (controls_) controls_->SetStandardForm(true);
    if (!standard_) {
        RStandardHost host;
        host.window = this;
        host.goToHistory = [this](int index) { htmlFrame_->GoToHistoryIndex(index); };
        host.step = [this](bool back) { back ? Back() : Forward(); };
        host.print = [this] { PrintHtml(); };
        host.leave = [this] { LeaveStandardWindow(); };
        standard_ = std::make_unique<TStandardWindow>(std::move(host));
    }
    savedRegion_ = region_;
    clearMask();
    setWindowFlags(Qt::Window);
    setAcceptDrops(true);
    standard_->ShowBars(restricted);
    standardActive_ = true;
    RefreshStandardHistory();
    htmlFrame_->FillWindow(standard_->Layout());
    shownFile_ = start_.arguments.file;
    const std::string name = Cp1251::asciiLower(WinPath::FileName(htmlFrame_->CurrentFile()));
    const QSize picture = PictureSize(htmlFrame_->CurrentFile());
    if (name == "scheme.bmp" || name == "scheme_lux.bmp") resize(780, 550);
    else if (picture.isValid()) resize(picture.width() + 45, picture.height() + 90);
    if (restricted) show();
    else showMaximized();
}

// "Свернуть": the skinned window again, with its size, shape, caption and controls.
void TMainForm::LeaveStandardWindow() {
    standardActive_ = false;
    standard_->HideBars();
    setWindowFlags(Qt::FramelessWindowHint | Qt::Window);
    showNormal();
    if (!Background().isNull()) resize(Background().size());
    ApplyRegion(savedRegion_);
    htmlFrame_->RestoreBounds();
    if (controls_) controls_->SetStandardForm(false);
    setAcceptDrops(true);
    SetCaption(AppTitle());
}

// The menus follow the history; while the window is the standard one its caption tells other
// instances that it shows an enlarged picture (a help window keeps "Помощь").
void TMainForm::RefreshStandardHistory() {
    if (!standard_ || !standard_->Built() || !htmlFrame_ || !htmlFrame_->CurrentView()) return;
    const TFrameViewer* view = htmlFrame_->CurrentView();
    standard_->HistoryRefresh(htmlFrame_->History(), htmlFrame_->HistoryPosition(), view->CanGoBack(), view->CanGoForward());
    if (standardActive_ && !helpOnly_) SetCaption(BookWindows::kEnlargedPicture);
}

void TMainForm::ShowLinkStatus(const std::string& text) {
    if (standard_) standard_->ShowLinkStatus(text);
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (standardActive_ && htmlFrame_) htmlFrame_->FillWindow(standard_->Layout());
}

// "about": the about window, made the first time from About.cfs; without it nothing happens.
void TMainForm::About() {
    if (!about_) {
        TDynamicStringArray lines;
        std::vector<uint8_t> bytes;
        if (!start_.bundle || start_.bundle->ReadBundleEntry("About.cfs", bytes) <= 0) return;
        DecodeCfsLines(bytes.data(), bytes.size(), lines, true);
        RAboutHost host;
        host.loadPicture = [this](const std::string& name) { return LoadPicture(name); };
        host.playSound = [this](const std::string& sound) {
            if (!sound.empty() && sound != "no" && ButtonSoundsOn()) PlaySound(ProgramDir() + sound);
        };
        host.openLink = [](const std::string& target) { ShellOpen(ToQt(target)); };
        host.hintsShown = [this] { return HintsShown(); };
        host.animation = [this] { return AnimationSetting(); };
        host.tickers = SuperTimerTickers();
        about_ = new TAboutBox(this, ReadAboutDescription(lines), std::move(host));
    }
    about_->ShowModal();
}

// The animation setting as the options hold it now: the opening of the book clears it.
bool TMainForm::AnimationSetting() const { return options_ && options_->Values().animation; }
