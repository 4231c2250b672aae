// The RAR reader on libarchive: RAR 1.5-4 archives packed by RAR 2.9 and later (or stored), RAR5,
// and volume sets of both. libarchive converts names into the thread's locale, so every call runs
// under a UTF-8 character type; what it does not report (CRC, RAR5 encryption) comes from the
// library's own header scan while its entries keep in step with the scan's.
#include <archive.h>
#include <archive_entry.h>
#include <locale.h>
#include <zlib.h>

#include <cerrno>
#include <string_view>

#include "archive/rar/RarReader.h"
#include "archive/rar/RarText.h"

namespace {

locale_t utf8Locale() {
    static const locale_t locale = [] {
        for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"})
            if (const locale_t found = newlocale(LC_CTYPE_MASK, name, locale_t(0))) return found;
        return locale_t(0);
    }();
    return locale;
}

// This thread's character type is UTF-8 while the scope lives; the previous one comes back after.
class TUtf8Scope {
public:
    TUtf8Scope() : previous_(utf8Locale() ? uselocale(utf8Locale()) : locale_t(0)) {}
    ~TUtf8Scope() {
        if (previous_) uselocale(previous_);
    }
    TUtf8Scope(const TUtf8Scope&) = delete;
    TUtf8Scope& operator=(const TUtf8Scope&) = delete;

private:
    locale_t previous_;
};

bool contains(const char* text, std::string_view part) {
    return text && std::string_view(text).find(part) != std::string_view::npos;
}

class TLibarchiveReader : public TRarReader {
public:
    explicit TLibarchiveReader(const TRarSet& set) : set_(set) {}
    ~TLibarchiveReader() override {
        TUtf8Scope utf8;
        if (archive_) archive_read_free(archive_);
    }
    int Open();
    int Next(TRarEntry& entry) override;
    int Read(const TRarSink& sink) override;

private:
    void Describe(archive_entry* item, const char* path);
    int HeaderError() const;
    int DataError() const;
    int Stop(int code) { return stopped_ = code; }

    TRarSet set_;
    archive* archive_ = nullptr;
    size_t index_ = 0;    // entries read so far
    bool inStep_ = true;  // libarchive's entries still match the scan's one to one
    int stopped_ = ERAR_SUCCESS;
    // The decoder failed on an entry: libarchive 3.6's RAR5 decoder then keeps pointers into a
    // window it reallocates for the next entry (a use after free), so no later data is read, and
    // a solid archive, whose skipping decodes, ends there.
    bool decoderFailed_ = false;
    TRarEntry current_;
    const TRarScanEntry* scanned_ = nullptr;  // the scan's view of current_
};

int TLibarchiveReader::Open() {
    TUtf8Scope utf8;
    archive_ = archive_read_new();
    if (!archive_) return ERAR_NO_MEMORY;
    archive_read_support_format_rar(archive_);
    archive_read_support_format_rar5(archive_);
    if (set_.oemNames) archive_read_set_options(archive_, "rar:hdrcharset=CP866");
    std::vector<const char*> names;
    for (const std::string& volume : set_.volumes) names.push_back(volume.c_str());
    names.push_back(nullptr);
    if (archive_read_open_filenames(archive_, names.data(), 1 << 16) == ARCHIVE_OK) return ERAR_SUCCESS;
    // libarchive reports a format it does not recognise with EILSEQ on Linux.
    return archive_errno(archive_) == EILSEQ ? ERAR_BAD_ARCHIVE : ERAR_EOPEN;
}

int TLibarchiveReader::Next(TRarEntry& entry) {
    if (stopped_) return stopped_;
    if (decoderFailed_ && current_.solid) return Stop(ERAR_BAD_DATA);
    if (set_.incomplete && inStep_ && index_ >= set_.entries.size()) return Stop(ERAR_EOPEN);
    TUtf8Scope utf8;
    archive_entry* item = nullptr;
    const int result = archive_read_next_header(archive_, &item);
    if (result == ARCHIVE_EOF) return Stop(set_.incomplete ? ERAR_EOPEN : ERAR_END_ARCHIVE);
    if (result == ARCHIVE_FATAL) return Stop(HeaderError());
    ++index_;
    scanned_ = nullptr;
    if (result == ARCHIVE_FAILED || !item) return Stop(ERAR_BAD_DATA);
    // A damaged header can leave an entry without a name (and the UTF-8 form then is not to be trusted).
    const char* path = archive_entry_pathname(item);
    if (!path || !*path) {
        inStep_ = false;
        return ERAR_BAD_DATA;
    }
    Describe(item, path);
    entry = current_;
    return ERAR_SUCCESS;
}

std::string entryName(std::string_view utf8) {
    std::string name = RarNameToCp1251(utf8);
    while (name.size() > 1 && name.back() == '\\') name.pop_back();
    return name;
}

void TLibarchiveReader::Describe(archive_entry* item, const char* path) {
    TRarEntry& out = current_ = TRarEntry{};
    out.name = entryName(path);
    const auto type = archive_entry_filetype(item);
    out.directory = type == AE_IFDIR;
    out.link = type == AE_IFLNK;
    if (const char* target = archive_entry_hardlink(item)) {
        out.copy = true;
        out.copyOf = entryName(target);
    }
    out.encrypted = archive_entry_is_encrypted(item) > 0;
    out.size = archive_entry_size_is_set(item) && archive_entry_size(item) > 0 ? uint64_t(archive_entry_size(item)) : 0;
    if (archive_entry_mtime_is_set(item)) {
        out.hasTime = true;
        out.mtime = archive_entry_mtime(item);
        out.dosTime = DosTimeFromUnix(out.mtime);
    }
    const size_t at = index_ - 1;
    if (inStep_ && at < set_.entries.size()) {
        const TRarScanEntry& s = set_.entries[at];
        inStep_ = s.directory == out.directory && (out.directory || out.link || out.copy || s.link || s.unpSize == out.size);
        if (inStep_) scanned_ = &s;
    } else {
        inStep_ = false;
    }
    if (!scanned_) return;
    // libarchive 3.6 reports RAR5 file copies and junctions as files without data.
    if (!out.copy && (scanned_->redirection == 4 || scanned_->redirection == 5)) {
        out.copy = true;
        out.copyOf = entryName(scanned_->target);
    } else if (!out.copy && scanned_->link) {
        out.link = true;
    }
    out.crc = scanned_->hasCrc ? scanned_->crc : 0;
    if (out.link || out.copy) out.size = scanned_->unpSize;  // libarchive reports links without a size
    out.encrypted = out.encrypted || scanned_->encrypted;
    out.solid = scanned_->solid;
}

int TLibarchiveReader::HeaderError() const {
    const char* text = archive_error_string(archive_);
    if (contains(text, "encryption")) return ERAR_MISSING_PASSWORD;
    if (contains(text, "solid archive support")) return ERAR_UNKNOWN_FORMAT;
    if (contains(text, "Truncated") || archive_errno(archive_) == EIO) return set_.incomplete ? ERAR_EOPEN : ERAR_EREAD;
    return ERAR_BAD_DATA;
}

// libarchive 3.6 does not flag encrypted RAR5 entries: their data fails with this message.
int TLibarchiveReader::DataError() const {
    const char* text = archive_error_string(archive_);
    if (current_.encrypted) return ERAR_MISSING_PASSWORD;
    if (set_.format == TRarFormat::Rar5 && contains(text, "Unsupported block header size")) return ERAR_MISSING_PASSWORD;
    // Cut-off packed data fails as "Bad RAR file data"; the scan tells when the file ends inside it.
    const bool cut = scanned_ && scanned_ == &set_.entries.back() && set_.scans.back().stop == ERAR_EREAD;
    if (cut || contains(text, "Truncated") || archive_errno(archive_) == EIO) return set_.incomplete ? ERAR_EOPEN : ERAR_EREAD;
    return ERAR_BAD_DATA;
}

int TLibarchiveReader::Read(const TRarSink& sink) {
    // libarchive has only the RAR 2.9 decoder; RAR 1.5 and 2.0 packing would come out as garbage.
    if (scanned_ && RarPackedBefore(*scanned_, 29)) return ERAR_UNKNOWN_FORMAT;
    // With a volume missing, libarchive would end the file early, for RAR5 even without an error.
    if (set_.incomplete && scanned_ && scanned_->splitAfter) return ERAR_EOPEN;
    if (decoderFailed_) return ERAR_BAD_DATA;
    TUtf8Scope utf8;
    std::vector<char> buffer(1 << 16);
    uint64_t total = 0;
    uLong crc = crc32(0, nullptr, 0);
    for (;;) {
        const la_ssize_t n = archive_read_data(archive_, buffer.data(), buffer.size());
        if (n == 0) break;
        if (n < 0) {
            decoderFailed_ = true;
            return DataError();
        }
        total += uint64_t(n);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), uInt(n));
        if (sink)
            if (const int result = sink(buffer.data(), size_t(n))) return result;
    }
    if (current_.size != 0 && total != current_.size) return set_.incomplete ? ERAR_EOPEN : ERAR_EREAD;
    if (scanned_ && scanned_->hasCrc && uint32_t(crc) != scanned_->crc) return ERAR_BAD_DATA;
    return ERAR_SUCCESS;
}

} // namespace

int OpenLibarchiveReader(const TRarSet& set, std::unique_ptr<TRarReader>& reader) {
    auto libarchive = std::make_unique<TLibarchiveReader>(set);
    if (const int result = libarchive->Open()) return result;
    reader = std::move(libarchive);
    return ERAR_SUCCESS;
}
