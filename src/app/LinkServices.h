#pragma once
// TLinkServices: what the page links ask of the program beyond the pages: the window's commands
// and path input, files and processes on the host, records of installed software and the
// enlarged-picture windows, the clip player for sound links and the archive browser for
// archives. Window thread only.
#include <functional>

#include "rules/LinkProtocol.h"

class IHtmlFrameHost;
class QWidget;

class TLinkServices : public ILinkServices {
public:
    // dialogParent owns the save dialog of ".zip" links; window runs commands and has the path
    // input.
    TLinkServices(QWidget* dialogParent, IHtmlFrameHost& window) : dialogParent_(dialogParent), window_(window) {}

    // Asks the running enlarged-picture windows; unset, none is asked.
    std::function<bool(const std::string& path)> PictureQuery;
    // Plays a sound link with the clip player; unset, sound links do nothing.
    std::function<void(const std::string& path)> PlaySound;
    // The archive browser: an archive a page links to, and a file of a listing that is not
    // unpacked yet.
    std::function<void(const std::string& archive, const std::string& currentFile)> OpenArchive;
    std::function<void(const std::string& path)> OpenArchiveEntry;

    void ExecuteCommandWithoutSound(const std::string& command) override;
    std::string PathInputFolder() override;
    bool HasArchiveBrowser() override { return bool(OpenArchive); }
    void ArchiveOpenEntry(const std::string& path) override {
        if (OpenArchiveEntry) OpenArchiveEntry(path);
    }
    void ArchiveOpen(const std::string& archive, const std::string& currentFile) override {
        if (OpenArchive) OpenArchive(archive, currentFile);
    }
    bool HasSoundPlayer() override { return bool(PlaySound); }
    void PlayLinkSound(const std::string& path) override { PlaySound(path); }

    bool SoftwareRecord(const std::string& name, std::string& instdir, std::string& exename) override;
    bool FileExists(const std::string& path) override;
    bool CopyFile(const std::string& from, const std::string& to) override;
    std::optional<std::string> ChooseZipTarget(const std::string& initialFolder, const std::string& defaultName,
                                               const std::string& filter) override;
    void ShellOpen(const std::string& pathOrUrl) override;
    void StartProgram(const std::string& path) override;
    void SetCurrentFolder(const std::string& folder) override;
    bool QueryPictureWindows(const std::string& path) override { return PictureQuery && PictureQuery(path); }
    void StartPictureInstance(const std::string& path) override;

private:
    QWidget* dialogParent_;
    IHtmlFrameHost& window_;
};
