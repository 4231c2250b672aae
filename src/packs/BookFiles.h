#pragma once
// Where the book's files come from. An IBookFiles is one container of them, addressed by the
// book's own Windows paths ("d:\run\html\page.htm"): the interface pack, the disc's folders on
// the host (TDiscFolder, through the file access), and a disc image standing for the disc.
// TBookFiles asks its containers in order, the pack first, then the image, then the folders,
// and the first one that holds a file decides.
//
// Everything here runs on the window thread: containers share their file positions and caches.
#include <cstdint>
#include <optional>
#include <string>

#include "base/DynamicStringArray.h"
#include "base/MemoryStream.h"

class IBookFiles {
public:
    virtual ~IBookFiles() = default;
    // True when a file (not a folder) is here under path.
    virtual bool Has(const std::string& path) const = 0;
    // Replaces stream's content with the whole file, positioned at 0. False when the file is not
    // here or cannot be read; the stream is then left as it was.
    virtual bool Read(const std::string& path, TMemoryStream& stream) const = 0;
    // Everything below the folder at path, depth first, as paths relative to it: a sub-folder
    // ends with "\" and comes before what it holds. Empty when there is no such folder here.
    virtual TDynamicStringArray List(const std::string& folder) const = 0;
    // The size of the file at path; nothing when it is not here. The default reads the file.
    virtual std::optional<uint64_t> SizeOf(const std::string& path) const;
    // Replaces out with count bytes at offset of the file at path; false when the file is not
    // here or the range runs past its end. The default reads the whole file and cuts it.
    virtual bool ReadPart(const std::string& path, uint64_t offset, size_t count, std::string& out) const;
};

// The disc's folders, and every other drive the book names, as host files reached through
// the file access (FileAccess(), whichever is installed when asked).
class TDiscFolder : public IBookFiles {
public:
    bool Has(const std::string& path) const override;
    bool Read(const std::string& path, TMemoryStream& stream) const override;
    TDynamicStringArray List(const std::string& folder) const override;
};

class TBookFiles {
public:
    // The pack asked first; not owned, null for none.
    void SetPack(const IBookFiles* pack) { pack_ = pack; }
    const IBookFiles* Pack() const { return pack_; }
    // The disc image, asked after the pack and before the host folders; not owned, null for none.
    void SetImage(const IBookFiles* image) { image_ = image; }
    const IBookFiles* Image() const { return image_; }

    // True when any container holds the file.
    bool Has(const std::string& path) const;
    // The file from the first container that holds it. Throws EFOpenError when none holds it,
    // or when the one that holds it cannot read it (a damaged pack entry is not looked for on
    // the disc).
    void Read(const std::string& path, TMemoryStream& stream) const;
    // The containers' listings of the folder joined in their order; a path an earlier one
    // listed (compared without regard to case) is not repeated.
    TDynamicStringArray List(const std::string& folder) const;

private:
    const IBookFiles* pack_ = nullptr;
    const IBookFiles* image_ = nullptr;
    TDiscFolder disc_;
};

// The program's book files: the pack OpenPack opened, then the disc.
TBookFiles& BookFiles();
