#include "packs/IsoImage.h"

#include <cdio/cdio.h>
#include <cdio/disc.h>
#include <cdio/iso9660.h>
#include <cdio/logging.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <unordered_map>

#include "base/Cp1251.h"
#include "base/Diagnostics.h"
#include "base/FileErrors.h"

namespace {

constexpr uint32_t kBlock = ISO_BLOCKSIZE;
constexpr uint32_t kRunBlocks = 64;  // blocks read at a time

// libcdio reports its complaints on stderr by default; bad images are reported our own way.
void quietLog(cdio_log_level_t, const char[]) {}

std::string lowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext) c = static_cast<char>(Cp1251::lowerByte(static_cast<unsigned char>(c)));
    return ext;
}

// A name as libcdio reports it (Joliet names as UTF-8, plain ones as stored) in CP1251, without
// the ";1" version and the "." an ISO name without extension carries.
std::string bookName(const std::string& raw) {
    std::string name = raw;
    if (const size_t semi = name.rfind(';'); semi != std::string::npos) {
        name.erase(semi);
        if (!name.empty() && name.back() == '.') name.pop_back();
    }
    bool ok = false;
    std::string cp = Cp1251::fromUtf8(name, &ok);
    return ok ? cp : name;
}

std::string foldedKey(int directory, std::string_view name) {
    std::string key = std::to_string(directory) + '\0';
    for (const char c : name) key += static_cast<char>(Cp1251::upperByte(static_cast<unsigned char>(c)));
    return key;
}

// Folders below the image's root searched for the program folder.
constexpr int kProgramFolderDepth = 3;

uint32_t le32(const std::string& bytes, size_t at) {
    const auto byte = [&](size_t i) { return uint32_t(static_cast<uint8_t>(bytes[at + i])); };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

bool holdsBundle(const TIsoImage& image, int folder) {
    const int bundle = image.Child(folder, "zaz.dhl");
    return bundle >= 0 && !image.Entry(bundle).directory;
}

}  // namespace

struct TIsoImage::Backend {
    iso9660_t* iso = nullptr;
    CdIo_t* cdio = nullptr;
    bool raw = false;                             // iso holds whole raw sectors, found by their volume descriptor
    std::unordered_map<std::string, int> byName;  // foldedKey -> entry

    // Opens the image with the driver its name calls for; EFOpenError when none reads it.
    void Open(const std::string& hostPath);

    ~Backend() {
        if (iso) iso9660_close(iso);
        if (cdio) cdio_destroy(cdio);
    }
    CdioList_t* ReadDir(const std::string& path) const {
        return iso ? iso9660_ifs_readdir(iso, path.c_str()) : iso9660_fs_readdir(cdio, path.c_str());
    }
    bool ReadBlocks(uint32_t lsn, uint32_t count, void* buffer) const {
        if (iso && !raw) return iso9660_iso_seek_read(iso, buffer, lsn, count) == long(count) * long(kBlock);
        if (iso) {  // raw sectors: libcdio drops the headers of one sector at a time only
            for (uint32_t i = 0; i < count; ++i)
                if (iso9660_iso_seek_read(iso, static_cast<char*>(buffer) + size_t(i) * kBlock, lsn + i, 1) != long(kBlock))
                    return false;
            return true;
        }
        return cdio_read_data_sectors(cdio, buffer, lsn, kBlock, count) == DRIVER_OP_SUCCESS;
    }
    // The count of readable blocks: the first unreadable one, found by halving up to bound.
    uint64_t Blocks(uint64_t bound) const {
        std::string block(kBlock, '\0');
        uint64_t low = 0, high = std::min<uint64_t>(bound, 0x7fffffff);
        while (low < high) {
            const uint64_t mid = (low + high) / 2;
            if (ReadBlocks(static_cast<uint32_t>(mid), 1, block.data())) low = mid + 1;
            else high = mid;
        }
        return low;
    }
};

TIsoImage::TIsoImage() : backend_(std::make_unique<Backend>()) {}
TIsoImage::~TIsoImage() = default;

void TIsoImage::Backend::Open(const std::string& hostPath) {
    const std::string ext = lowerExtension(hostPath);
    if (ext == ".cue" || ext == ".bin" || ext == ".nrg") {
        cdio = cdio_open(hostPath.c_str(), ext == ".nrg" ? DRIVER_NRG : DRIVER_BINCUE);
        if (!cdio && ext != ".bin") throw EFOpenError("the disc image \"" + hostPath + "\" is damaged or not of its kind");
        if (cdio && !iso9660_fs_read_superblock(cdio, ISO_EXTENSION_JOLIET))
            throw EFOpenError("the disc image \"" + hostPath + "\" holds no ISO 9660 data");
    }
    if (cdio) return;
    // A plain ISO image, else a raw track (".mdf", a ".bin" without its ".cue") found by its
    // volume descriptor.
    iso = iso9660_open_ext(hostPath.c_str(), ISO_EXTENSION_JOLIET);
    if (!iso) {
        iso = iso9660_open_fuzzy_ext(hostPath.c_str(), ISO_EXTENSION_JOLIET, 64);
        raw = true;
    }
    if (!iso) throw EFOpenError("the disc image \"" + hostPath + "\" holds no ISO 9660 data");
}

std::unique_ptr<TIsoImage> TIsoImage::Open(const std::string& hostPath) {
    cdio_log_set_handler(quietLog);
    std::error_code ec;
    const auto fileSize = std::filesystem::file_size(hostPath, ec);
    if (ec || !std::filesystem::is_regular_file(hostPath, ec))
        throw EFOpenError("cannot read the disc image \"" + hostPath + "\"");
    std::unique_ptr<TIsoImage> image(new TIsoImage);
    Backend& b = *image->backend_;
    b.Open(hostPath);
    const uint64_t bound = b.cdio ? uint64_t(std::max(0, int(cdio_get_disc_last_lsn(b.cdio)))) + 1 : fileSize / kBlock + 1;
    image->blocks_ = b.Blocks(bound);
    if (!image->SoundRoots()) throw EFOpenError("the disc image \"" + hostPath + "\" has a damaged root folder");
    image->entries_.push_back({"", 0, 0, true, {}});
    std::set<uint32_t> visited;
    if (!image->Index(0, "/", 0, visited)) throw EFOpenError("the disc image \"" + hostPath + "\" has no readable root folder");
    return image;
}

bool TIsoImage::SoundRoots() const {
    // Volume descriptors from block 16 to the terminator: the primary one and the Joliet ones.
    std::string block(kBlock, '\0');
    for (uint32_t at = 16; at < 16 + kIsoMaxDescriptors; ++at) {
        if (!backend_->ReadBlocks(at, 1, block.data())) return false;
        const auto type = static_cast<uint8_t>(block[0]);
        if (type == 255) return true;
        if (type != 1 && type != 2) continue;
        if (!SoundFolder(le32(block, 156 + 2), le32(block, 156 + 10))) return false;
    }
    return false;
}

// libiso9660 trusts the records it parses, so a folder is checked here before it is handed
// over: every record lies inside its block and holds its name.
bool TIsoImage::SoundFolder(uint32_t lsn, uint32_t size) const {
    if (size == 0 || size > kIsoMaxFolder || !Fits(lsn, size)) return false;
    std::string block(kBlock, '\0');
    for (uint32_t n = 0; n < (size + kBlock - 1) / kBlock; ++n) {
        if (!backend_->ReadBlocks(lsn + n, 1, block.data())) return false;
        for (size_t at = 0; at < kBlock;) {
            const auto length = static_cast<uint8_t>(block[at]);
            if (length == 0) break;  // the rest of the block is padding
            if (length < 34 || at + length > kBlock || 33u + static_cast<uint8_t>(block[at + 32]) > length) return false;
            at += length;
        }
    }
    return true;
}

bool TIsoImage::Fits(uint32_t lsn, uint32_t size) const {
    const uint64_t blocks = (uint64_t(size) + kBlock - 1) / kBlock;
    return size == 0 || uint64_t(lsn) + blocks <= blocks_;
}

bool TIsoImage::Index(int directory, const std::string& libPath, int depth, std::set<uint32_t>& visited) {
    CdioList_t* list = backend_->ReadDir(libPath);
    if (!list) return false;
    std::vector<std::pair<int, std::string>> folders;
    for (CdioListNode_t* node = _cdio_list_begin(list); node; node = _cdio_list_node_next(node)) {
        const auto* stat = static_cast<iso9660_stat_t*>(_cdio_list_node_data(node));
        const std::string raw = stat->filename;
        if (raw == "." && stat->lsn >= 0) visited.insert(static_cast<uint32_t>(stat->lsn));  // this folder itself
        if (raw.empty() || raw == "." || raw == ".." || entries_.size() >= kIsoMaxEntries) continue;
        RIsoEntry entry{bookName(raw),
                        static_cast<uint32_t>(std::max(0, int(stat->lsn))),
                        stat->size,
                        stat->type == iso9660_stat_s::_STAT_DIR,
                        {}};
        if (stat->lsn < 0 || !Fits(entry.lsn, entry.size) || entry.name.empty()) {
            Diagnose(TDiagnosticLayer::Packs, "an image entry lies beyond the end of the image: " + entry.name);
            continue;
        }
        // A folder reached twice (a loop, or two names for one folder) is read only once.
        if (entry.directory &&
            (depth + 1 >= kIsoMaxDepth || !SoundFolder(entry.lsn, entry.size) || !visited.insert(entry.lsn).second)) {
            Diagnose(TDiagnosticLayer::Packs, "an image folder is damaged, reached twice or lies too deep: " + entry.name);
            continue;
        }
        const int index = static_cast<int>(entries_.size());
        if (!backend_->byName.emplace(foldedKey(directory, entry.name), index).second) continue;
        if (entry.directory) folders.emplace_back(index, libPath + raw + "/");
        entries_[static_cast<size_t>(directory)].children.push_back(index);
        entries_.push_back(std::move(entry));
    }
    iso9660_filelist_free(list);
    for (const auto& [index, path] : folders) Index(index, path, depth + 1, visited);
    return true;
}

int TIsoImage::Child(int directory, std::string_view name) const {
    const auto it = backend_->byName.find(foldedKey(directory, name));
    return it == backend_->byName.end() ? -1 : it->second;
}

int TIsoImage::Find(std::string_view path) const {
    int at = 0;
    size_t start = 0;
    while (start <= path.size() && at >= 0) {
        const size_t end = std::min(path.find('\\', start), path.size());
        const std::string_view part = path.substr(start, end - start);
        if (!part.empty() && part != ".") at = Entry(at).directory ? Child(at, part) : -1;
        start = end + 1;
    }
    return at;
}

bool TIsoImage::ReadRange(int index, uint64_t offset, size_t count, std::string& out) const {
    const RIsoEntry& entry = Entry(index);
    if (entry.directory || offset > entry.size || count > entry.size - offset) return false;
    out.resize(count);
    std::string run;
    uint64_t block = offset / kBlock;
    size_t skip = offset % kBlock, filled = 0;
    while (filled < count) {
        const uint64_t left = (skip + (count - filled) + kBlock - 1) / kBlock;
        const uint32_t blocks = static_cast<uint32_t>(std::min<uint64_t>(left, kRunBlocks));
        const size_t bytes = size_t(blocks) * kBlock;
        const uint32_t lsn = entry.lsn + static_cast<uint32_t>(block);
        if (skip == 0 && filled + bytes <= count) {  // whole blocks go straight into place
            if (!backend_->ReadBlocks(lsn, blocks, out.data() + filled)) return false;
            filled += bytes;
        } else {
            run.resize(bytes);
            if (!backend_->ReadBlocks(lsn, blocks, run.data())) return false;
            const size_t part = std::min(bytes - skip, count - filled);
            out.replace(filled, part, run, skip, part);
            filled += part;
        }
        block += blocks;
        skip = 0;
    }
    return true;
}

bool TIsoImage::Read(int index, std::string& out) const {
    return index >= 0 && !Entry(index).directory && ReadRange(index, 0, Entry(index).size, out);
}

bool TIsoImage::CopyTo(int index, const std::string& hostPath) const {
    if (index < 0 || Entry(index).directory) return false;
    std::FILE* f = std::fopen(hostPath.c_str(), "wb");
    if (!f) return false;
    bool ok = true;
    std::string chunk;
    const uint64_t size = Entry(index).size;
    for (uint64_t at = 0; ok && at < size; at += chunk.size()) {
        const size_t count = static_cast<size_t>(std::min<uint64_t>(size - at, uint64_t(kRunBlocks) * kBlock));
        ok = ReadRange(index, at, count, chunk) && std::fwrite(chunk.data(), 1, chunk.size(), f) == chunk.size();
    }
    ok = std::fclose(f) == 0 && ok;
    if (!ok) std::remove(hostPath.c_str());
    return ok;
}

TDynamicStringArray TIsoImage::List(int directory) const {
    TDynamicStringArray out;
    if (directory < 0 || !Entry(directory).directory) return out;
    for (const int child : Entry(directory).children) {
        const RIsoEntry& entry = Entry(child);
        if (!entry.directory) {
            out.push_back(entry.name);
            continue;
        }
        out.push_back(entry.name + "\\");
        for (std::string& below : List(child)) out.push_back(entry.name + "\\" + below);
    }
    return out;
}

std::optional<std::string> FindProgramFolder(const TIsoImage& image) {
    std::vector<std::pair<int, std::string>> level{{0, ""}};
    for (int depth = 0; depth <= kProgramFolderDepth && !level.empty(); ++depth) {
        std::optional<std::string> found;
        std::vector<std::pair<int, std::string>> next;
        for (const auto& [folder, path] : level) {
            const bool isRun = Cp1251::equalsNoCase(image.Entry(folder).name, "run");
            if (holdsBundle(image, folder) && (!found || isRun)) found = path;
            for (const int child : image.Entry(folder).children)
                if (image.Entry(child).directory)
                    next.emplace_back(child, (path.empty() ? "" : path + "\\") + image.Entry(child).name);
        }
        if (found) return found;
        level = std::move(next);
    }
    return std::nullopt;
}

bool IsDiscImageName(const std::string& hostPath) {
    const std::string ext = lowerExtension(hostPath);
    return ext == ".iso" || ext == ".bin" || ext == ".cue" || ext == ".nrg" || ext == ".mdf";
}
