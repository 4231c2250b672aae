#pragma once
// TMainForm: the program's skinned window, a thin owner of the parts that make it up. Its
// creation runs the start-up, reads the elements of the interface description and builds the
// first screen. The skin screen paints the buttons and switches and answers the pointer, the page
// frame shows the pages, the trees sit on the background panel, the book's other processes are
// answered by its messages. The book's features are objects of their own (media, find, software,
// the standard face), each answering its commands through the routes and asking the window
// only through its host interface; the window animates its opening and closing, answers its keys
// and dropped files, and shuts down in order.
#include <QImage>
#include <QRegion>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/BookAbout.h"
#include "app/BookFind.h"
#include "app/BookMessages.h"
#include "app/BookPages.h"
#include "app/BookMedia.h"
#include "app/BookSoftware.h"
#include "app/SkinControlsHost.h"
#include "app/StandardFace.h"
#include "app/Startup.h"
#include "html/HtmlFrameHost.h"
#include "html/PageFrameApi.h"
#include "html/TreeList.h"
#include "platform/WindowEntry.h"
#include "rules/CommandTarget.h"
#include "rules/InterfaceDescription.h"

class QLabel;
class TAboutBox;
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
class TWindowAnimation;
struct RSkinCommand;

class TMainForm : public QWidget,
                  public IShellCommands,
                  public IPopupCommands,
                  public IHtmlFrameHost,
                  public IMediaHost,
                  public ISoftwareHost,
                  public ISkinControlsHost,
                  public IBookMessagesHost,
                  public IStandardFaceHost,
                  public ITreeHost {
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
    bool EffectRunning() const override;
    // No page of the current screen is still loading.
    bool PagesSettled() const;
    int CurrentScreen() const override;
    const TInterfaceDescription& Elements() const override { return elements_; }
    // The skin of the current screen; null outside the skinned shell.
    const TSkinScreen* Skin() const { return skin_.get(); }
    const QImage& Background() const;
    const QRegion& WindowRegion() const override { return region_; }
    THandle WindowHandle() const;
    // The page frame: the book's own when it has page views; tests may put another in.
    void SetPageFrame(IPageFrame* frame) { pageFrame_ = frame; }
    IPageFrame* PageFrame() const override { return pageFrame_; }
    THtmlFrame* HtmlFrame() const override { return htmlFrame_.get(); }
    TLinkServices& LinkServices() const { return *linkServices_; }
    TTreeViews* Tree(int file) const override { return file == 1 ? tree1_ : file == 2 ? tree2_ : nullptr; }
    // Labels, status line, path inputs, message dialog and popups; null outside the skinned shell.
    TSkinControls* Controls() const { return controls_.get(); }
    // A skin picture from the bundle, in the window's pixel format; null when missing.
    QImage LoadPicture(const std::string& name) const override;

    // The mouse handlers of the skin, at a window point.
    void FormMouseMove(QPoint point, Qt::KeyboardModifiers shift);
    void FormMouseDown(Qt::MouseButton button, QPoint point, Qt::KeyboardModifiers shift);
    void FormMouseUp(Qt::MouseButton button, QPoint point, Qt::KeyboardModifiers shift);
    // A click the program makes on a single switch at its top-left corner + (1, 1).
    void ClickSwitchOne(int index, bool silent);
    // The sounds, music, clips and slides; null outside the skinned shell.
    TBookMedia* Media() const { return media_.get(); }
    // The programs, games, fonts and archives of the disc; tests may route their commands
    // elsewhere.
    TBookSoftware& Software() const { return *software_; }
    void SetSoftwareCommands(ISoftwareCommands& commands) { softwareCommands_ = &commands; }
    // The find's and the thesaurus' commands; tests may route them elsewhere.
    TBookFind& Find() { return find_; }
    void SetFindCommands(IFindCommands& commands) { findCommands_ = &commands; }
    // The commands of the pages and trees; tests may route them elsewhere.
    TBookPages& Pages() { return pages_; }
    void SetPageCommands(IPageCommands& commands) { pageCommands_ = &commands; }
    // Runs a command as a key does: no sound.
    void RunCommand(const std::string& command) override;
    // The chosen contents tree selects the page shown.
    void SyncTrees() override;
    // Opens a dropped file by its kind; of several dropped files only the first counts.
    void DropFile(const std::string& file);
    void DropUrls(const QList<QUrl>& urls);
    // Closes the message dialog, else the popups.
    void EscapeKey();
    // The standard window: the main window as an ordinary framed window with bars.
    bool InStandardWindow() const { return face_.Active(); }
    TStandardWindow* Standard() const { return face_.Bars(); }
    // The file named on the command line, which picture queries compare with.
    const std::string& ShownFile() const override { return shownFile_; }
    // Only Esc works: the help and thesaurus windows.
    bool HelpOnly() const override { return helpOnly_; }

    // The features each command goes to.
    TCommandRoutes Routes() override;

    // IShellCommands, IPopupCommands
    bool Busy() const override;
    bool ButtonSoundsOn() const override;
    bool HintsShown() const override;
    int ScreenCount() const override;
    bool HasPageFrame() const override { return pageFrame_ != nullptr; }
    void CloseMainWindow(int exitButton) override;
    void SwitchScreen(int target, int index, int kind) override;
    void Minimize(int index, int kind) override;
    void Help() override;
    void AddToFavorites() override;
    bool HasPopupWindow() const override;
    void OpenPopupList(int list, int buttonIndex) override;
    void OpenContextMenu(int number) override;
    void StandardWindow() override;
    void About() override;
    TAboutBox* AboutBox() const { return about_.Box(); }
    bool InThesaurusWindow() const override;
    void Options() override;
    // The options dialog (null outside the skinned shell) and the page font dialog.
    TFormOptions* FormOptions() const { return options_; }
    void ChooseFont() override;

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
    void ThesaurusLookup(const std::string& word) override { findCommands_->Thesaurus(word); }
    void EnterToFindBoxes() override;
    void ShowHelpTopic(const std::string& topic) override;
    // The pointer left the skin for a page: no element keeps its hover look.
    void MouseMoveToWindow() override { FormMouseMove(QPoint(-1, -1), Qt::NoModifier); }
    // The printer messages on the skinned dialog's pages.
    bool ShowPrinterMessagePage(int page) override;
    void ShowPrintMessage(const std::string& text) override;

    // IMediaHost
    QImage ScreenImage() const override { return Background(); }
    void DrawOnScreen(QPoint at, const QImage& picture) override;
    void OpenPageIn(const std::string& page, int view) override;
    void PointerLeftSkin() override { FormMouseMove(QPoint(-1, -1), Qt::NoModifier); }
    QWidget& ControlsWindow() override { return *this; }
    QWidget& MessagesWindow() override { return *this; }

    // ITreeHost (the popups and the hover look are the page frame's host's too)
    void OpenTreePage(const std::string& path) override;
    std::string CurrentPage() const override;

    // IStandardFaceHost
    QWidget& FaceWindow() override { return *this; }
    QSize SkinSize() const override { return Background().size(); }
    void SetStandardForm(bool standard) override;

    // ISoftwareHost
    void ShowMessage(const std::string& text) override;
    bool ArchiveMode() const override;
    void SetArchiveMode(bool on) override;
    void OpenInCurrentView(const std::string& page) override;
    std::optional<std::string> UnpackFolder() const override;

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
    void SetCaption(const std::string& caption) override;
    void BuildStandardStart();
    void BuildThesaurusWindow();
    bool AnimationSetting() const;
    void BuildSkin(int buttonFadeStep = 0);
    void BuildOptions();
    void BuildPanel();
    void AddDiscFonts();
    void BuildPages(bool withTrees = true);
    void BuildControls(bool withDialog = true);
    void ConnectArchives();
    void BuildMedia();
    void FormDestroy();
    // Skin commands go to the dispatcher; a user's with its sound, a replayed one without.
    void RunSkinCommand(const RSkinCommand& command, bool startup);
    void ReplaySwitches(bool screenChange);
    bool ClipPress(Qt::MouseButton button, QPoint point);
    void DragWindow();
    bool TreesHidden() const;
    bool FormKeyDown(QKeyEvent* event);
    bool PageKey(int key, Qt::KeyboardModifiers mods);
    // Window shape and closing.
    void ApplyRegion(const QRegion& region) override;
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
    QWidget* panelBkgrd_ = nullptr;
    QLabel* piston_ = nullptr;
    IPageFrame* pageFrame_ = nullptr;
    std::unique_ptr<THtmlFrame> htmlFrame_;
    TTreeViews* tree1_ = nullptr;
    TTreeViews* tree2_ = nullptr;
    std::unique_ptr<TPictureQuery> pictureQuery_;
    std::unique_ptr<TLinkServices> linkServices_;
    std::unique_ptr<TSkinControls> controls_;
    std::unique_ptr<TBookMedia> media_;
    TSilentMedia silentMedia_;
    std::unique_ptr<TBookSoftware> software_ = std::make_unique<TBookSoftware>(*this);
    ISoftwareCommands* softwareCommands_ = software_.get();
    TBookFind find_{controls_, [this] { return WindowHandle(); }};
    IFindCommands* findCommands_ = &find_;
    TBookAbout about_{*this, start_.bundle, [this] { return AnimationSetting(); }};
    TBookPages pages_{*this};
    IPageCommands* pageCommands_ = &pages_;
    TStandardFace face_{*this, pages_};
    std::string shownFile_;
};
