#pragma once
// A disc image as the book's disc drive. As a container of the book's files it reads pages,
// pictures and indexes straight from the image; behind the drive's host folder (a per-user
// cache folder, one per image) it copies out on demand what must be a real file — a program to
// start, a clip for the player, a file to copy, a font — and reuses the copy on the next start.
// Nothing is ever written beside the image. Window thread only.
#include <memory>
#include <string>

#include "packs/BookFiles.h"
#include "packs/IsoImage.h"
#include "platform/hostpaths/HostPaths.h"

class TImageDrive : public IBookFiles, public IDriveImage {
public:
    // base: the image folder ("\"-separated, "" for its root) the drive stands for; hostRoot:
    // the cache folder standing for it. paths: the service that maps the book's paths to it.
    TImageDrive(std::unique_ptr<TIsoImage> image, std::string base, std::string hostRoot, THostPaths& paths);

    bool Has(const std::string& path) const override;
    bool Read(const std::string& path, TMemoryStream& stream) const override;
    TDynamicStringArray List(const std::string& folder) const override;
    // Read in place, a block run at a time, without the rest of the file.
    std::optional<uint64_t> SizeOf(const std::string& path) const override;
    bool ReadPart(const std::string& path, uint64_t offset, size_t count, std::string& out) const override;

    bool Materialize(const std::vector<std::string>& components) override;
    std::optional<std::vector<RFolderEntry>> ListImage(const std::vector<std::string>& components) override;

    const TIsoImage& Image() const { return *image_; }
    const std::string& HostRoot() const { return hostRoot_; }

private:
    // The image entry a book path or the drive's components name, or -1.
    int Locate(const std::string& path) const;
    int Locate(const std::vector<std::string>& components) const;

    std::unique_ptr<TIsoImage> image_;
    int base_ = -1;
    std::string hostRoot_;
    THostPaths& paths_;
};

// The per-user cache folder of an image: under the XDG cache folder, named after the image's
// file name, size and change time, so a changed image gets a fresh folder. Empty when the image
// cannot be looked at.
std::string ImageCacheFolder(const std::string& imageHostPath);
