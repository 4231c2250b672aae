#pragma once
// TMainForm: the program's skinned window, a thin owner of the parts that make it up. Its
// creation runs the start-up, reads the elements of the interface description and builds the
// first screen. The skin screen paints the buttons and switches and answers the pointer, the page
// frame shows the pages, the trees sit on the background panel, the book's other processes are
// answered by its messages; the window runs their commands, animates its opening and closing,
// answers its keys and dropped files, and shuts down in order.
#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

#include "app/Startup.h"
#include "html/HtmlFrameHost.h"
#include "html/PageFrameApi.h"
#include "platform/WindowEntry.h"
#include "rules/CommandTarget.h"
#include "rules/InterfaceDescription.h"

class QLabel;
class TAboutBox;
class TBackgroundMusic;
class TMyAviPlayer;
class TSlideImage;
class TUnRar;
class TStartClip;
class TSound;
class TStandardWindow;
class TChannelWindow;
class TEffCar;
class TFormOptions;
class THtmlFrame;
class TInstanceLock;
class TLinkServices;
class TPictureQuery;
class TSkinControls;
class TSkinScreen;
class TSuperTimer;
class TTreeViews;
class TWindowAnimation;
struct RSkinCommand;

class TMainForm : public QWidget, public ICommandTarget, public IHtmlFrameHost {
    Q_OBJECT
public:
    TMainForm(const std::string& programFolderHost, const TCommandLine& line, TInstanceLock& lock);
    ~TMainForm() override;

    // After construction: whether the program goes on, and the exit code when it does not.
    bool Terminating() const { return start_.outcome == TStartOutcome::Terminate; }
    int ExitCode() const { return start_.exitCode; }
    const std::string& ExitMessage() const { return start_.message; }
    TStartOutcome Outcome() const { return start_.outcome; }

    // Shows the window with its opening animation; done() runs once the animation has ended.
    void ShowAnimated(std::function<void()> done = {});
    // The start of the book: the window opens with its animation and the background music starts.
    void StartBook(std::function<void()> done = {});
    bool AnimationRunning() const;
    bool EffectRunning() const;
    // No page of the current screen is still loading.
    bool PagesSettled() const;
    int CurrentScreen() const;
    const TInterfaceDescription& Elements() const { return elements_; }
    // The skin of the current screen; null outside the skinned shell.
    const TSkinScreen* Skin() const { return skin_.get(); }
    const QImage& Background() const;
    const QRegion& WindowRegion() const { return region_; }
    THandle WindowHandle() const;
    // The page frame: the book's own when it has page views; tests may put another in.
    void SetPageFrame(IPageFrame* frame) { pageFrame_ = frame; }
    IPageFrame* PageFrame() const { return pageFrame_; }
    THtmlFrame* HtmlFrame() const { return htmlFrame_.get(); }
    TLinkServices& LinkServices() const { return *linkServices_; }
    TTreeViews* Tree(int file) const { return file == 1 ? tree1_ : file == 2 ? tree2_ : nullptr; }
    // Labels, status line, path inputs, message dialog and popups; null outside the skinned shell.
    TSkinControls* Controls() const { return controls_.get(); }
    // A skin picture from the bundle, in the window's pixel format; null when missing.
    QImage LoadPicture(const std::string& name) const;

    // The mouse handlers of the skin, at a window point.
    void FormMouseMove(QPoint point, Qt::KeyboardModifiers shift);
    void FormMouseDown(Qt::MouseButton button, QPoint point, Qt::KeyboardModifiers shift);
    void FormMouseUp(Qt::MouseButton button, QPoint point, Qt::KeyboardModifiers shift);
    // A click the program makes on a single switch at its top-left corner + (1, 1).
    void ClickSwitchOne(int index, bool silent);
    // The clip player and the background music; null outside the skinned shell.
    TSound* Sound() const { return sound_.get(); }
    TBackgroundMusic* Music() const { return music_.get(); }
    TSlideImage* Slides() const { return slides_.get(); }
    TUnRar* ArchiveBrowserIfMade() const { return unrar_.get(); }
    TMyAviPlayer* Clip3DPlayer() const { return avi_.get(); }
    QWidget* StartClipWindow() const { return startClip_; }
    // Runs a command as a key does: no sound.
    void RunCommand(const std::string& command);
    // The chosen contents tree selects the page shown.
    void SyncTrees();
    // Opens a dropped file by its kind; of several dropped files only the first counts.
    void DropFile(const std::string& file);
    void DropUrls(const QList<QUrl>& urls);
    // Closes the message dialog, else the popups.
    void EscapeKey();
    // The standard window: the main window as an ordinary framed window with bars.
    bool InStandardWindow() const { return standardActive_; }
    TStandardWindow* Standard() const { return standard_.get(); }
    // The file named on the command line, which picture queries compare with.
    const std::string& ShownFile() const { return shownFile_; }
    // Only Esc works: the help and thesaurus windows.
    bool HelpOnly() const { return helpOnly_; }

    // ICommandTarget
    bool Busy() const override;
    bool ButtonSoundsOn() const override;
    bool HintsShown() const;
    int ScreenCount() const override;
    bool HasPageFrame() const override { return pageFrame_ != nullptr; }
    void CloseMainWindow(int exitButton) override;
    void PlaySound(const std::string& file) override;
    void SwitchScreen(int target, int index, int kind) override;
    void RunFile(const std::string& file, const std::string& parameters) override;
    void Minimize(int index, int kind) override;
    void Back() override;
    void Forward() override;
    void OpenHtml(const std::string& file, int view) override;
    void CopyHtml() override;
    void PrintHtml() override;
    void TopHtml() override;
    void NextChapter() override;
    void PrevChapter() override;
    void Help() override;
    void SelectTreePage(const std::string& page) override;
    void ShowTree(int file) override;
    void SetTreesOn(bool on) override;
    void AddToFavorites() override;
    bool HasPopupWindow() const override;
    void OpenPopupList(int list, int buttonIndex) override;
    void OpenContextMenu(int number) override;
    void OpenFindDialog() override;
    void StopSearchAndCloseDialog() override;
    void Unarc() override;
    void Thesaurus(const std::string& word) override;
    void FindNext(int number) override;
    void FindText(bool allPages) override;
    void SetCaseSensitive(bool on) override;
    void ToggleBackgroundSound() override;
    void PlayerCommand(const std::string& operation) override;
    void PlayClip(const std::string& file, const std::string& page) override;
    void NextPicture() override;
    void PrevPicture() override;
    void Clip2D() override;
    void Clip3D() override;
    void RunGame(const std::string& setup, const std::string& key) override;
    void DeleteGame(const std::string& key) override;
    void InstallFonts() override;
    void StandardWindow() override;
    void About() override;
    TAboutBox* AboutBox() const { return about_; }
    bool InThesaurusWindow() const override;
    void Options() override;
    // The options dialog (null outside the skinned shell) and the page font dialog.
    TFormOptions* FormOptions() const { return options_; }
    void ChooseFont();

    // IHtmlFrameHost
    QWidget* FrameWindow() override { return this; }
    QWidget* BackgroundPanel() override { return panelBkgrd_; }
    int FrameScreen() const override { return CurrentScreen(); }
    void PressSwitchesFor(const std::string& name) override;
    void RunCommandWithoutSound(const std::string& command) override { RunCommand(command); }
    TTreeViews* ContentsTree(int file) override { return Tree(file); }
    void SetButtonHint(const std::string& command, const std::string& hint) override;
    void ShowStatus(const std::string& text) override;
    void ShowLinkStatus(const std::string& text) override;
    bool InThesaurusMode() const override { return InThesaurusWindow(); }
    std::string PathInputFolder() override;
    void ClosePopup() override;
    void OpenPageContextMenu(QPoint point) override;
    void HistoryChanged(const std::string& title) override;
    void ThesaurusLookup(const std::string& word) override { Thesaurus(word); }
    void EnterToFindBoxes() override;
    void ShowHelpTopic(const std::string& topic) override;
    // The pointer left the skin for a page: no element keeps its hover look.
    void MouseMoveToWindow() override { FormMouseMove(QPoint(-1, -1), Qt::NoModifier); }
    // The printer messages on the skinned dialog's pages.
    bool ShowPrinterMessagePage(int page) override;
    void ShowPrintMessage(const std::string& text) override;

signals:
    void ScreenChanged(int screen);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Creation and shutdown.
    void FormCreate(const std::string& programFolderHost, const TCommandLine& line, TInstanceLock& lock);
    void BuildWindow();
    void ReadOptions();
    void SetCaption(const std::string& caption);
    void BuildStandardStart();
    void BuildThesaurusWindow();
    void EnterStandardWindow(bool restricted);
    void LeaveStandardWindow();
    void RefreshStandardHistory();
    bool AnimationSetting() const;
    void BuildSkin(int buttonFadeStep = 0);
    void BuildOptions();
    void BuildPanel();
    void AddDiscFonts();
    void BuildPages(bool withTrees = true);
    void BuildControls(bool withDialog = true);
    TUnRar& ArchiveBrowser();
    void ShowArchive(const std::string& file);
    void ConnectArchives();
    void PageShown(const std::string& file);
    void InstallCodecs();
    void BuildMedia();
    void BuildSlides();
    void StartMusic();
    void StopMedia();
    // The music keeps its place for the next run and fades out; then runs after it (at once
    // without music).
    void FadeMusicOutThen(std::function<void()> then);
    bool DropSound(const std::string& lowerName, const std::string& file);
    void FormDestroy();
    // Skin commands go to the dispatcher; a user's with its sound, a replayed one without.
    void RunSkinCommand(const RSkinCommand& command, bool startup);
    void ReplaySwitches(bool screenChange);
    void StartClip3D();
    bool ClipPress(Qt::MouseButton button, QPoint point);
    bool OverPlayingClip(QPoint point) const;
    void ClipBeforeSwitch(int target);
    void ClipAfterSwitch();
    bool ClipStill() const;
    void FreeClips();
    void DragWindow();
    bool TreesHidden() const;
    bool FormKeyDown(QKeyEvent* event);
    bool PageKey(int key, Qt::KeyboardModifiers mods);
    // Window shape and closing.
    void ApplyRegion(const QRegion& region);
    void StartClosingSequence();

    TStartResult start_;
    TInterfaceDescription elements_;
    std::unique_ptr<TSkinScreen> skin_;
    QRegion region_;
    QPoint lastPress_;  // where the reader pressed last, on the screen; a menu opens there
    QImage fadeFrom_;  // the face a fade to the first screen starts from where no screen grab works
    int exitButton_ = -1;
    bool helpOnly_ = false;
    std::vector<int> installedFonts_;

    TChannelWindow* channel_ = nullptr;
    TFormOptions* options_ = nullptr;
    TEffCar* car_ = nullptr;
    TWindowAnimation* animation_ = nullptr;
    TSuperTimer* clipStartTimer_ = nullptr;
    QWidget* panelBkgrd_ = nullptr;
    QLabel* piston_ = nullptr;
    IPageFrame* pageFrame_ = nullptr;
    std::unique_ptr<THtmlFrame> htmlFrame_;
    TTreeViews* tree1_ = nullptr;
    TTreeViews* tree2_ = nullptr;
    std::unique_ptr<TPictureQuery> pictureQuery_;
    std::unique_ptr<TLinkServices> linkServices_;
    std::unique_ptr<TSkinControls> controls_;
    std::unique_ptr<TBackgroundMusic> music_;
    std::unique_ptr<TSound> sound_;
    std::unique_ptr<TSlideImage> slides_;
    std::unique_ptr<TMyAviPlayer> avi_;
    std::unique_ptr<TUnRar> unrar_;
    std::string fontFolder_;  // the folder of the page shown last, whose fonts "installfonts" installs
    std::unique_ptr<TStandardWindow> standard_;
    TAboutBox* about_ = nullptr;
    QRegion savedRegion_;  // the skinned window's shape while it is the standard window
    bool standardActive_ = false;
    std::string shownFile_;
    QPointer<QWidget> startClip_;  // the start clip's window while it plays
};
