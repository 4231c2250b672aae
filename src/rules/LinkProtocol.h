#pragma once
// The page links' own protocol: the status text of the link under the pointer, and what a click
// does. Links open enlarged pictures in another instance, print pages, copy files and serial
// numbers, run or remove shipped software, browse archives, play sounds and start programs;
// ordinary page links are left to the page engine. All texts and paths are CP1251 Windows paths.
//
// TLinkProtocol decides. ILinkView, the page frame, answers for the view the link is in;
// ILinkServices, implemented outside the pages, does what reaches beyond it. Window thread only.
#include <optional>
#include <string>

class ILinkView {
public:
    virtual ~ILinkView() = default;
    virtual std::string ExpandLink(const std::string& url) = 0;  // full Windows path
    virtual std::string CurrentFile() = 0;
    virtual bool InArchiveMode() = 0;  // the view shows a generated archive listing
    virtual void AddVisited(const std::string& path) = 0;
    virtual void RefreshVisited() = 0;
    virtual void OpenInCurrentView(const std::string& path) = 0;
    virtual void PrintPage(const std::string& path) = 0;
    // Copies the selected item of the page's drop-down lists named name to the clipboard and
    // says so on the status line.
    virtual void CopyListSelection(const std::string& name) = 0;
    // The contents trees follow the view to path.
    virtual void SyncTreeToPage(const std::string& path) = 0;
};

class ILinkServices {
public:
    virtual ~ILinkServices() = default;

    // The rest of the program.
    virtual void ExecuteCommandWithoutSound(const std::string& command) = 0;
    // The path input's folder in Windows form; empty without a path input.
    virtual std::string PathInputFolder() = 0;
    virtual bool HasArchiveBrowser() = 0;
    virtual void ArchiveOpenEntry(const std::string& path) = 0;
    virtual void ArchiveOpen(const std::string& archive, const std::string& currentFile) = 0;
    virtual bool HasSoundPlayer() = 0;
    virtual void PlayLinkSound(const std::string& path) = 0;

    // Files and processes.
    // The installed-software record of name; false when there is none.
    virtual bool SoftwareRecord(const std::string& name, std::string& instdir, std::string& exename) = 0;
    virtual bool FileExists(const std::string& path) = 0;  // on disk or in the pack
    // Copies over an existing file, creating the target's missing folders.
    virtual bool CopyFile(const std::string& from, const std::string& to) = 0;
    // The save dialog for a ".zip" link; nothing when cancelled.
    virtual std::optional<std::string> ChooseZipTarget(const std::string& initialFolder, const std::string& defaultName,
                                                       const std::string& filter) = 0;
    virtual void ShellOpen(const std::string& pathOrUrl) = 0;
    virtual void StartProgram(const std::string& path) = 0;
    virtual void SetCurrentFolder(const std::string& folder) = 0;
    // True when a running enlarged-picture window shows path and was brought to the front.
    virtual bool QueryPictureWindows(const std::string& path) = 0;
    // Starts this program on path, as the enlarged-picture window.
    virtual void StartPictureInstance(const std::string& path) = 0;
};

class TLinkProtocol {
public:
    TLinkProtocol(ILinkView& view, ILinkServices& services) : view_(view), services_(services) {}

    // What the status bar shows for the link under the pointer (the host shows it when it has a
    // status bar); empty for an empty URL and over an archive listing. Schemes are read before
    // "://" or, failing that, before a first ":" after two or more letters.
    std::string StatusText(const std::string& url, const std::string& target);
    // A click; true when the link was handled here and the engine must not follow it. A link
    // the reader did not click (byReader false: a page's script or navigation, a foreign page)
    // is a plain page link or nothing: it never prints, copies, runs, opens or unpacks anything.
    // Link forms are known by their beginning ("copy:…", "rungame:=…"), never found inside
    // another link.
    bool LinkClick(const std::string& url, const std::string& target, bool byReader);

    // The folder last chosen in the ".zip" save dialog, kept until the program ends (with "\").
    static const std::string& LastZipFolder();

    static const char* const kZipFilter;

private:
    struct RClick;
    // A step of the click: nothing when the link is not its kind, else whether it was handled.
    using TStep = std::optional<bool> (TLinkProtocol::*)(const RClick&);
    std::optional<bool> EnlargedPicture(const RClick& click);
    std::optional<bool> WebOrMail(const RClick& click);
    std::optional<bool> Print(const RClick& click);
    std::optional<bool> Copy(const RClick& click);
    std::optional<bool> CopyList(const RClick& click);
    std::optional<bool> Software(const RClick& click);
    std::optional<bool> ArchiveEntry(const RClick& click);
    std::optional<bool> PageLike(const RClick& click);
    std::optional<bool> OtherFile(const RClick& click);

    void MarkVisited(const std::string& path);
    std::string GameStatus(const std::string& url, bool remove);

    ILinkView& view_;
    ILinkServices& services_;
};
