#pragma once
// What the command dispatcher hands its commands to: one role per feature of the book, each
// answered by the object that owns the feature. TCommandRoutes names one object for every role,
// so no feature can go missing without the compiler saying so; a feature the book does not have
// (no music, no page views) is still an object, and decides itself what its commands do.
#include <string>

enum TElementKind { ekButton = 0, ekSwitchOne = 1, ekSwitchGrp = 2 };

// The window: its state, screens, closing and the dialogs it opens.
class IShellCommands {
public:
    virtual ~IShellCommands() = default;
    virtual bool Busy() const = 0;
    virtual bool ButtonSoundsOn() const = 0;
    virtual int ScreenCount() const = 0;
    virtual bool HasPopupWindow() const = 0;
    virtual bool HasPageFrame() const = 0;
    virtual bool InThesaurusWindow() const = 0;

    virtual void CloseMainWindow(int exitButton) = 0;
    virtual void SwitchScreen(int target, int index, int kind) = 0;
    virtual void Minimize(int index, int kind) = 0;
    virtual void About() = 0;
    virtual void StandardWindow() = 0;
    virtual void Options() = 0;
    virtual void Help() = 0;
};

// The pages and the contents trees.
class IPageCommands {
public:
    virtual ~IPageCommands() = default;
    virtual void SelectTreePage(const std::string& page) = 0;
    virtual void ShowTree(int file) = 0;  // 1: the tree of tree1.cfs, 2: of tree2.cfs
    virtual void SetTreesOn(bool on) = 0;
    virtual void Back() = 0;
    virtual void Forward() = 0;
    virtual void OpenHtml(const std::string& file, int view) = 0;
    virtual void CopyHtml() = 0;
    virtual void PrintHtml() = 0;
    virtual void TopHtml() = 0;
    virtual void NextChapter() = 0;
    virtual void PrevChapter() = 0;
};

// Popups and favourites.
class IPopupCommands {
public:
    virtual ~IPopupCommands() = default;
    virtual void OpenPopupList(int list, int buttonIndex) = 0;
    virtual void OpenContextMenu(int number) = 0;
    virtual void AddToFavorites() = 0;
};

// The find and the thesaurus.
class IFindCommands {
public:
    virtual ~IFindCommands() = default;
    virtual void StopSearchAndCloseDialog() = 0;
    virtual void FindNext(int number) = 0;
    virtual void OpenFindDialog() = 0;
    virtual void FindText(bool allPages) = 0;
    virtual void SetCaseSensitive(bool on) = 0;
    virtual void Thesaurus(const std::string& word) = 0;
};

// Sounds, the music, clips and the slide show.
class IMediaCommands {
public:
    virtual ~IMediaCommands() = default;
    virtual void PlaySound(const std::string& file) = 0;
    virtual void ToggleBackgroundSound() = 0;
    virtual void PlayerCommand(const std::string& operation) = 0;
    virtual void PlayClip(const std::string& file, const std::string& page) = 0;
    virtual void NextPicture() = 0;
    virtual void PrevPicture() = 0;
    virtual void Clip2D() = 0;
    virtual void Clip3D() = 0;
};

// What the disc hands the reader: programs, games, fonts and archives.
class ISoftwareCommands {
public:
    virtual ~ISoftwareCommands() = default;
    virtual void RunFile(const std::string& file, const std::string& parameters) = 0;
    virtual void RunGame(const std::string& setup, const std::string& key) = 0;
    virtual void DeleteGame(const std::string& key) = 0;
    virtual void InstallFonts() = 0;
    virtual void Unarc() = 0;
};

struct TCommandRoutes {
    IShellCommands& shell;
    IPageCommands& pages;
    IPopupCommands& popups;
    IFindCommands& find;
    IMediaCommands& media;
    ISoftwareCommands& software;
};
