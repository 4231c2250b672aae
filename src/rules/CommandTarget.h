#pragma once
// What the command dispatcher hands its commands to. The main window implements it and passes
// each effect on to the part of the program that owns it; an owner that is not built (a page
// frame on a book without pages, a clip player never started) simply does nothing. Every
// method has a do-nothing default so owners can arrive one at a time.
#include <string>

enum TElementKind { ekButton = 0, ekSwitchOne = 1, ekSwitchGrp = 2 };

class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;

    // State the dispatcher reads.
    virtual bool Busy() const { return false; }
    virtual bool ButtonSoundsOn() const { return true; }
    virtual int ScreenCount() const { return 0; }
    virtual bool HasPopupWindow() const { return false; }
    virtual bool HasPageFrame() const { return false; }
    virtual bool InThesaurusWindow() const { return false; }

    // Window commands.
    virtual void CloseMainWindow(int exitButton) { (void)exitButton; }
    virtual void PlaySound(const std::string& file) { (void)file; }
    virtual void SelectTreePage(const std::string& page) { (void)page; }
    virtual void SwitchScreen(int target, int index, int kind) { (void)target, (void)index, (void)kind; }
    virtual void StopSearchAndCloseDialog() {}
    virtual void Clip2D() {}
    virtual void Clip3D() {}
    virtual void RunFile(const std::string& file, const std::string& parameters) { (void)file, (void)parameters; }
    virtual void About() {}
    virtual void Minimize(int index, int kind) { (void)index, (void)kind; }
    virtual void ShowTree(int file) { (void)file; }  // 1: the tree of tree1.cfs, 2: of tree2.cfs
    virtual void SetTreesOn(bool on) { (void)on; }

    // Popups and favourites.
    virtual void OpenPopupList(int list, int buttonIndex) { (void)list, (void)buttonIndex; }
    virtual void OpenContextMenu(int number) { (void)number; }
    virtual void AddToFavorites() {}
    virtual void Thesaurus(const std::string& word) { (void)word; }

    // Pages.
    virtual void Back() {}
    virtual void Forward() {}
    virtual void OpenHtml(const std::string& file, int view) { (void)file, (void)view; }
    virtual void CopyHtml() {}
    virtual void PrintHtml() {}
    virtual void TopHtml() {}
    virtual void NextChapter() {}
    virtual void PrevChapter() {}

    // Search.
    virtual void FindNext(int number) { (void)number; }
    virtual void OpenFindDialog() {}
    virtual void FindText(bool allPages) { (void)allPages; }
    virtual void SetCaseSensitive(bool on) { (void)on; }

    // Media, settings, archives, installation.
    virtual void ToggleBackgroundSound() {}
    virtual void StandardWindow() {}
    virtual void Options() {}
    virtual void Help() {}
    virtual void Unarc() {}
    virtual void PlayerCommand(const std::string& operation) { (void)operation; }
    virtual void PlayClip(const std::string& file, const std::string& page) { (void)file, (void)page; }
    virtual void NextPicture() {}
    virtual void PrevPicture() {}
    virtual void InstallFonts() {}
    virtual void RunGame(const std::string& first, const std::string& second) { (void)first, (void)second; }
    virtual void DeleteGame(const std::string& name) { (void)name; }
};
