#pragma once
// Windows paths inside, host paths at the file-system boundary. Drives work the way Wine's do:
// the disc drive (d: by default) is the disc's root folder, c: a per-user prefix holding
// windows\ and windows\system32\, z: the host's root, so every host path has a Windows form.
// Each component is matched case-insensitively (CP1251 case folding), as on a Windows or CD
// file system; names are CP1251 inside and UTF-8 on the host. ".." never climbs above a drive's
// root. Directory listings are cached and refreshed when a folder changes. Window thread only.
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "packs/FileAccess.h"

// A disc image standing behind a drive's host folder (a per-user cache folder): the drive's
// names are those of the image, and a file or folder of the image is copied into the host
// folder when a host path of it is asked for, so programs and players get a real file.
class IDriveImage {
public:
    virtual ~IDriveImage() = default;
    // Makes the image's file or folder at the drive's components exist in the host folder,
    // copied out on first use and reused after. True when it wrote something, so that listings
    // of the host folder read earlier are stale.
    virtual bool Materialize(const std::vector<std::string>& components) = 0;
    // The image's folder at components, or nothing when the image has no such folder.
    virtual std::optional<std::vector<RFolderEntry>> ListImage(const std::vector<std::string>& components) = 0;
};

class THostPaths : public IFileAccess {
public:
    THostPaths();

    // Maps a drive letter to a host folder (absolute); replaces an earlier mapping.
    void SetDrive(char letter, const std::string& hostRoot);
    std::optional<std::string> DriveRoot(char letter) const;
    // Puts an image behind whichever drive is mapped to hostRoot (not owned; null removes it).
    void AttachImage(const std::string& hostRoot, IDriveImage* image);
    // The components of a path on a drive the image stands behind; nothing for other paths.
    std::optional<std::vector<std::string>> ImagePath(const std::string& winPath, const IDriveImage* image) const;
    // The current folder (Windows form, trailing "\") that relative paths start from.
    void SetCurrentDirectory(const std::string& winPath);
    const std::string& CurrentDirectory() const { return current_; }

    // The host path of an existing file or folder, any letter case; nothing when missing.
    std::optional<std::string> Find(const std::string& winPath, bool wantDirectory = false);
    // The host path to create or write at: existing components matched, the missing ones
    // spelled as given. Nothing for a path on no drive or with an over-long component.
    std::optional<std::string> ToHost(const std::string& winPath);
    // The Windows form of a host path: under the longest matching drive root, else z:.
    std::string ToWindows(const std::string& hostPath) const;
    // Entries of a folder in case-insensitive name order; nothing when it does not exist.
    std::optional<std::vector<RFolderEntry>> List(const std::string& winDir);

    // IFileAccess: the pack, TComprStream and the bundle reader come through here.
    std::optional<std::string> FindFile(const std::string& path) override { return Find(path, false); }
    std::optional<std::string> HostPath(const std::string& path) override { return ToHost(path); }
    std::optional<std::vector<RFolderEntry>> ListFolder(const std::string& path) override { return List(path); }

private:
    struct Split {
        char drive = 0;
        std::vector<std::string> components;  // CP1251, "." and ".." already folded
    };
    struct Listing {
        long long stamp = -1;                        // the folder's change time when listed
        std::map<std::string, std::string> byFolded;  // folded CP1251 name -> host name
        std::vector<RFolderEntry> entries;
    };

    std::optional<Split> Parse(const std::string& winPath) const;
    const Listing* ListHost(const std::string& hostDir);
    // Walks the components; returns the host path and how many components were found.
    std::string Resolve(const Split& split, size_t& found);
    IDriveImage* ImageOf(char drive) const;
    // Copies the path's file or folder out of the image behind its drive, if any.
    void FetchFromImage(const Split& split);

    std::map<char, std::string> drives_;
    std::map<std::string, IDriveImage*> images_;  // by normalised host root
    std::string current_;
    std::unordered_map<std::string, Listing> cache_;
};

// The CP1251 case-folded form of a name, the key of case-insensitive lookups.
std::string FoldName(const std::string& cp1251);
