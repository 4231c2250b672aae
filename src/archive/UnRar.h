#pragma once
// TUnRar: the archive browser. A RAR archive a page links to (or that is dropped on the window)
// is shown as generated pages in the current page frame: a two-frame page with the column bar on
// top and one page per directory below. The pages are written once per run into a listing
// folder of the archive, inside a folder of this user and book in the temporary folder; a link
// to a file of the listing extracts the archive there first, and "unarc" extracts it into the
// path input's folder. The page frame is in archive mode while it shows a listing. Messages go
// to the book's message dialog. Window thread only.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/DynamicStringArray.h"

// What the archive browser needs of the window: its messages, the page frame's archive mode and
// current view, and the folder the path input names.
class IArchiveHost {
public:
    virtual ~IArchiveHost() = default;
    virtual void ShowMessage(const std::string& text) = 0;
    virtual bool ArchiveMode() const = 0;  // of the current page frame
    virtual void SetArchiveMode(bool on) = 0;
    virtual void OpenInCurrentView(const std::string& page) = 0;
    // The path input's folder (Windows form); nothing without a path input.
    virtual std::optional<std::string> UnpackFolder() const = 0;
};

class TUnRar {
public:
    // title: the book's, naming the folder of its listings.
    TUnRar(IArchiveHost& host, const std::string& title);
    ~TUnRar();
    TUnRar(const TUnRar&) = delete;
    TUnRar& operator=(const TUnRar&) = delete;

    void ShowArchive(const std::string& archive, const std::string& currentPage);
    // Unpacks the archive shown into the path input's folder, or into its listing folder, which
    // happens once per listing and run. Entries that cannot be unpacked are named together in
    // one message when the rest is done.
    void ExtractArchive(bool toPathInput, bool intoListingFolder);
    // After a page has been shown in the current page frame.
    void UpdateArchiveMode(const std::string& address);
    // The next volume is missing (RAR_VOL_ASK: says so and stops) or was opened.
    int VolumeCallback(const std::string& hostVolume, int mode);

    const std::string& ArchivePath() const { return archive_; }
    const std::string& ListingFolder() const { return listingFolder_; }  // Windows form, with "\"
    const std::string& ListingRoot() const { return root_; }

private:
    bool ListArchive(const std::string& currentPage);
    void ShowOpenError(int code);
    void ShowProcessError(int code, const std::string& name);
    void ShowLeftOut(const std::vector<std::pair<int, std::string>>& leftOut);
    void CleanListings();
    std::string TargetFolder(const std::string& destination) const;

    IArchiveHost& host_;
    std::string root_;            // this user's and book's folder of listings (Windows form)
    std::string archive_;         // the archive shown last
    std::string listingFolder_;
    TDynamicStringArray listingPages_;
    TDynamicStringArray referringPages_;
    TDynamicStringArray unpackedListings_;  // listing folders unpacked into in this run
};
