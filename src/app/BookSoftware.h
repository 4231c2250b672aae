#pragma once
// TBookSoftware: what the disc hands the reader: its programs started, games installed and
// removed, the fonts beside the pages installed, and RAR archives shown as pages and unpacked
// (the archive browser, made with the first archive shown).
#include <memory>
#include <optional>
#include <string>

#include "archive/UnRar.h"
#include "rules/CommandTarget.h"


// What the software and the archives need of the window is what the archive browser needs: its
// messages, the page frame's archive mode and current view, and the path input's folder.
using ISoftwareHost = IArchiveHost;

class TBookSoftware : public ISoftwareCommands {
public:
    explicit TBookSoftware(ISoftwareHost& host);
    ~TBookSoftware() override;

    TUnRar* ArchiveBrowserIfMade() const { return unrar_.get(); }
    // An archive a page links to, or one dropped on that page.
    void ShowArchive(const std::string& archive, const std::string& currentPage);
    // A file of a listing that is not unpacked yet.
    void OpenArchiveEntry();
    // After every page shown: the archive mode follows the page, and the fonts to install are
    // those beside it.
    void PageShown(const std::string& file);

    // ISoftwareCommands
    void RunFile(const std::string& file, const std::string& parameters) override;
    void RunGame(const std::string& setup, const std::string& key) override;
    void DeleteGame(const std::string& key) override;
    void InstallFonts() override;
    void Unarc() override;

private:
    TUnRar& ArchiveBrowser();

    ISoftwareHost& host_;
    std::unique_ptr<TUnRar> unrar_;
    std::string fontFolder_;  // the folder of the page shown last
};
