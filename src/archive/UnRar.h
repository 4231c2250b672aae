#pragma once
// TUnRar: the archive browser. A RAR archive a page links to (or that is dropped on the window)
// is shown as generated pages in the current page frame: a two-frame page with the column bar on
// top and one page per directory below. The pages are written once per run into a listing
// folder of the archive, inside a folder of this user and book in the temporary folder; a link
// to a file of the listing extracts the archive there first, and "unarc" extracts it into the
// path input's folder. The page frame is in archive mode while it shows a listing. Messages go
// to the book's message dialog. Window thread only.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/DynamicStringArray.h"

struct RUnRarHost {
    std::function<void(const std::string& text)> showMessage;
    std::function<bool()> archiveMode;  // of the current page frame
    std::function<void(bool on)> setArchiveMode;
    std::function<void(const std::string& page)> openPage;  // in the current page frame
    // The path input's folder (Windows form); nothing without a path input.
    std::function<std::optional<std::string>()> pathInputFolder;
};

class TUnRar {
public:
    // title: the book's, naming the folder of its listings.
    TUnRar(RUnRarHost host, const std::string& title);
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

    RUnRarHost host_;
    std::string root_;            // this user's and book's folder of listings (Windows form)
    std::string archive_;         // the archive shown last
    std::string listingFolder_;
    TDynamicStringArray listingPages_;
    TDynamicStringArray referringPages_;
    TDynamicStringArray unpackedListings_;  // listing folders unpacked into in this run
};
