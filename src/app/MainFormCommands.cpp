// The commands the main window carries out itself: screens, window commands, sounds, and the
// hand-over of page commands to the page frame.
#include <QApplication>
#include <QLabel>

#include "app/MainForm.h"
#include "app/ThesaurusLookup.h"
#include "base/GlobalPaths.h"
#include "platform/BookWindows.h"
#include "effects/EffCar.h"
#include "html/HtmlFrame.h"
#include "html/TreeList.h"
#include "platform/BusyCursor.h"
#include "platform/hostpaths/Drives.h"
#include "platform/InstanceChannel.h"
#include "platform/QtText.h"
#include "rules/CommandDispatcher.h"
#include "skin/SkinScreen.h"

bool TMainForm::Busy() const { return BusyFlag; }

int TMainForm::ScreenCount() const { return static_cast<int>(elements_.ScreenBackgrounds.size()); }

void TMainForm::RunCommand(const std::string& command) { ExecuteCommand(Routes(), command, "", 0, ekButton, true); }

TCommandRoutes TMainForm::Routes() {
    IMediaCommands& media = media_ ? static_cast<IMediaCommands&>(*media_) : silentMedia_;
    return {*this, *pageCommands_, *this, *findCommands_, media, *softwareCommands_};
}

void TMainForm::CloseMainWindow(int exitButton) {
    if (exitButton >= 0) exitButton_ = exitButton;
    THandle handle = 0;
    if (TInstanceChannel::Instance().FindVisibleWindow(AppTitle(), handle)) TInstanceChannel::Instance().SendClose(handle);
    else close();
}

// The new screen's elements, page view and trees come up, and its switches replay their states.
void TMainForm::SwitchScreen(int target, int index, int kind) {
    if (target < 0 || target >= ScreenCount()) return;
    skin_->ForgetPointer(kind, index, true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Where the screen beneath cannot be grabbed, the fade to the first screen starts from the
    // face the user saw, taken before the new background is drawn.
    if (target == 0 && car_ && isVisible() && !TEffCar::CanGrabScreen()) fadeFrom_ = grab().toImage();
    if (media_) media_->ClipBeforeSwitch(target);
    skin_->Build(target, false);
    emit ScreenChanged(target);  // the screen-aware parts hear of it before the switches replay
    if (piston_) piston_->setVisible(target != 1);
    if (pageFrame_) pageFrame_->ShowForScreen(target);
    for (TTreeViews* tree : {tree1_, tree2_})
        if (tree) tree->ShowTreeForScreen(target);
    ReplaySwitches(true);
    if (htmlFrame_) htmlFrame_->FitToPanel();
    if (media_) media_->ClipAfterSwitch(skin_->SwitchedOn("3d"));
    if (CurrentScreen() == 0 && car_ && isVisible() && (!media_ || media_->ClipStill())) car_->StartCrossFade();
    fadeFrom_ = QImage();
    repaint();
    QApplication::restoreOverrideCursor();
}

void TMainForm::Minimize(int index, int kind) {
    showMinimized();
    if (kind == ekButton) skin_->ForgetPointer(ekButton, index, false);
}

// "help" is F1: the start screen's topic, the reading screen's topic, none elsewhere.
void TMainForm::Help() {
    if (CurrentScreen() == 0) ShowHelpTopic("Topic12");
    else if (CurrentScreen() == 1) ShowHelpTopic("Topic13");
}

// A topic shows in the help window, a help-only instance of this program.
void TMainForm::ShowHelpTopic(const std::string& topic) {
    if (!start_.keys.helpFile.empty())
        ShowInSecondWindow(BookWindows::kHelp, HelpTopicPage(start_.keys.helpFile, topic), WindowHandle(), "/h");
}
