#pragma once
// TBookSoftware: what the disc hands the reader: its programs started, games installed and
// removed, the fonts beside the pages installed, and RAR archives shown as pages and unpacked
// (the archive browser, made with the first archive shown).
#include <memory>
#include <optional>
#include <string>

#include "rules/CommandTarget.h"

class TUnRar;

// What the software and the archives need of the window: its messages, the page frame's archive
// mode and current view, and the folder the path input names.
class ISoftwareHost {
public:
    virtual ~ISoftwareHost() = default;
    virtual void ShowMessage(const std::string& text) = 0;
    virtual bool ArchiveMode() const = 0;
    virtual void SetArchiveMode(bool on) = 0;
    virtual void OpenInCurrentView(const std::string& page) = 0;
    // The path input's folder; none where the screen has no path input.
    virtual std::optional<std::string> UnpackFolder() const = 0;
};

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
