#pragma once
// TComprStream: the one way to read a file by path. It holds the file's whole unpacked content
// in memory, positioned at 0, read from the book's files: from the program's pack when the pack
// has the path as a file, otherwise from disk through the file access.
#include <string>

#include "base/MemoryStream.h"

// Open modes callers pass; on this host only reading matters, sharing is accepted and ignored.
enum : unsigned { fmOpenRead = 0x0000, fmShareDenyWrite = 0x0020, fmShareDenyNone = 0x0040 };

class TComprStream : public TMemoryStream {
public:
    // Throws EFOpenError when the path is neither a readable pack entry nor a readable file.
    explicit TComprStream(const std::string& path, unsigned mode = fmOpenRead);
};
