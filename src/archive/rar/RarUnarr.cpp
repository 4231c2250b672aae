// The RAR reader on libunarr, for single RAR 1.5-4 archives libarchive cannot read: solid ones and
// those packed by RAR 2.0/2.6. libunarr lists no folders and reads names of DOS archives in the
// wrong code page, so the entries come from the library's own header scan, and libunarr only
// decodes data, met by the offset of each entry's header.
#include <unarr.h>
#include <zlib.h>

#include "archive/rar/RarReader.h"
#include "archive/rar/RarText.h"

namespace {

class TUnarrReader : public TRarReader {
public:
    explicit TUnarrReader(const TRarSet& set) : set_(set) {}
    ~TUnarrReader() override {
        if (archive_) ar_close_archive(archive_);
        if (stream_) ar_close(stream_);
    }
    TUnarrReader(const TUnarrReader&) = delete;
    TUnarrReader& operator=(const TUnarrReader&) = delete;

    int Open();
    int Next(TRarEntry& entry) override;
    int Read(const TRarSink& sink) override;

private:
    bool Seek(uint64_t offset);
    int Failure() const;

    TRarSet set_;
    ar_stream* stream_ = nullptr;
    ar_archive* archive_ = nullptr;
    size_t index_ = 0;
    const TRarScanEntry* current_ = nullptr;
    bool parsed_ = false;  // libunarr stands on an entry
    bool done_ = false;    // libunarr has no further entry
    uint64_t position_ = 0;
};

int TUnarrReader::Open() {
    if (set_.volumes.empty()) return ERAR_EOPEN;
    stream_ = ar_open_file(set_.volumes.front().c_str());
    if (!stream_) return ERAR_EOPEN;
    archive_ = ar_open_rar_archive(stream_);
    return archive_ ? ERAR_SUCCESS : ERAR_BAD_ARCHIVE;
}

int TUnarrReader::Next(TRarEntry& entry) {
    current_ = nullptr;
    if (index_ >= set_.entries.size()) {
        const int stop = set_.scans.empty() ? ERAR_SUCCESS : set_.scans.front().stop;
        return stop == ERAR_SUCCESS ? ERAR_END_ARCHIVE : stop;
    }
    const TRarScanEntry& s = set_.entries[index_++];
    TRarEntry out;
    out.name = RarScanEntryName(s, set_.oemNames);
    if (out.name.empty()) return ERAR_BAD_DATA;
    out.directory = s.directory;
    out.link = s.link;
    out.encrypted = s.encrypted;
    out.solid = s.solid;
    out.size = out.directory ? 0 : s.unpSize;
    out.dosTime = s.dosTime;
    out.mtime = UnixFromDosTime(s.dosTime);
    out.hasTime = s.dosTime != 0 && out.mtime != time_t(-1);
    if (!out.hasTime) out.dosTime = 0;
    out.crc = s.hasCrc && !s.directory ? s.crc : 0;
    entry = out;
    current_ = &s;
    return ERAR_SUCCESS;
}

// Moves libunarr forward to the entry whose header starts at offset.
bool TUnarrReader::Seek(uint64_t offset) {
    while (!done_ && (!parsed_ || position_ < offset)) {
        if (!ar_parse_entry(archive_)) {
            done_ = true;
            break;
        }
        parsed_ = true;
        position_ = uint64_t(ar_entry_get_offset(archive_));
    }
    return !done_ && parsed_ && position_ == offset;
}

// The data of the last entry may be cut off with the file; anything else is damaged data.
int TUnarrReader::Failure() const {
    const bool last = index_ == set_.entries.size();
    return last && !set_.scans.empty() && set_.scans.front().stop == ERAR_EREAD ? ERAR_EREAD : ERAR_BAD_DATA;
}

int TUnarrReader::Read(const TRarSink& sink) {
    if (!current_) return ERAR_BAD_DATA;
    if (RarPackedBefore(*current_, 20)) return ERAR_UNKNOWN_FORMAT;  // RAR 1.5 packing
    if (!Seek(current_->offset) || ar_entry_get_size(archive_) != current_->unpSize) return Failure();
    std::vector<char> buffer(1 << 16);
    uint64_t left = current_->unpSize;
    uLong crc = crc32(0, nullptr, 0);
    while (left > 0) {
        const size_t n = size_t(std::min<uint64_t>(left, buffer.size()));
        if (!ar_entry_uncompress(archive_, buffer.data(), n)) return Failure();
        crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), uInt(n));
        left -= n;
        if (sink)
            if (const int result = sink(buffer.data(), n)) return result;
    }
    if (current_->hasCrc && uint32_t(crc) != current_->crc) return ERAR_BAD_DATA;
    return ERAR_SUCCESS;
}

} // namespace

int OpenUnarrReader(const TRarSet& set, std::unique_ptr<TRarReader>& reader) {
    auto unarr = std::make_unique<TUnarrReader>(set);
    if (const int result = unarr->Open()) return result;
    reader = std::move(unarr);
    return ERAR_SUCCESS;
}
