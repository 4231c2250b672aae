#include "packs/ComprStream.h"

#include "packs/BookFiles.h"

TComprStream::TComprStream(const std::string& path, unsigned /*mode*/) { BookFiles().Read(path, *this); }
