// The main window's other faces: the standard window (started with a file, or turned into from
// the skin by "standartwin") and the thesaurus window, a process of its own skinned from
// Tesaurus.cfs.
#include <QApplication>
#include <QResizeEvent>

#include "app/MainForm.h"
#include "app/SkinControls.h"
#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "html/HtmlFrame.h"
#include "html/engine/PageScheme.h"
#include "packs/CfsCodec.h"
#include "platform/ChannelWindow.h"
#include "platform/hostpaths/Drives.h"
#include "platform/QtText.h"
#include "settings/FormOptions.h"
#include "skin/SkinScreen.h"

namespace {

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
    shownFile_ = start_.arguments.file;
    face_.Enter(true);
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
    if (InStandardWindow()) return;
    shownFile_ = start_.arguments.file;
    face_.Enter(StartState().restrictedRun);
}

void TMainForm::ShowLinkStatus(const std::string& text) { face_.ShowLinkStatus(text); }

void TMainForm::SetStandardForm(bool standard) {
    if (controls_) controls_->SetStandardForm(standard);
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    face_.Resized();
}

void TMainForm::About() { about_.Show(); }

// The animation setting as the options hold it now: the opening of the book clears it.
bool TMainForm::AnimationSetting() const { return options_ && options_->Values().animation; }
