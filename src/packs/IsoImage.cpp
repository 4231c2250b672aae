#include "packs/IsoImage.h"

#include <cdio/cdio.h>
#include <cdio/disc.h>
#include <cdio/iso9660.h>
#include <cdio/logging.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <unordered_map>

#include "base/ContainedPath.h"
#include "base/Cp1251.h"
#include "base/Diagnostics.h"
#include "base/FileErrors.h"

namespace {

constexpr uint32_t kBlock = kIsoBlock;
constexpr uint32_t kRunBlocks = 64;  // blocks read at a time

// libcdio reports its complaints on stderr by default; bad images are reported our own way.
void quietLog(cdio_log_level_t, const char[]) {}

std::string lowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext) c = static_cast<char>(Cp1251::lowerByte(static_cast<unsigned char>(c)));
    return ext;
}

std::string foldedKey(int directory, std::string_view name) {
    std::string key = std::to_string(directory) + '\0';
    for (const char c : name) key += static_cast<char>(Cp1251::upperByte(static_cast<unsigned char>(c)));
    return key;
}

// Folders below the image's root searched for the program folder.
constexpr int kProgramFolderDepth = 3;

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
    }
    if (cdio) return;
    // A plain ISO image, else a raw track (".mdf", a ".bin" without its ".cue") found by its
    // volume descriptor. The descriptors themselves are read by FindRoot.
    iso = iso9660_open_ext(hostPath.c_str(), ISO_EXTENSION_NONE);
    if (!iso) {
        iso = iso9660_open_fuzzy_ext(hostPath.c_str(), ISO_EXTENSION_NONE, 64);
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
    const auto root = image->FindRoot();
    if (!root) throw EFOpenError("the disc image \"" + hostPath + "\" holds no ISO 9660 data");
    image->names_ = root->kind == RIsoDescriptor::Joliet ? TIsoNames::Joliet : TIsoNames::Plain;
    image->entries_.push_back({"", root->rootLsn, root->rootSize, true, {}});
    std::set<uint32_t> visited{root->rootLsn};
    if (!image->Index(0, 0, visited)) throw EFOpenError("the disc image \"" + hostPath + "\" has a damaged root folder");
    return image;
}

// The root folder to index, from the volume descriptors (block 16 up to the terminator): the
// Joliet tree's when there is one, else the primary tree's.
std::optional<RIsoDescriptor> TIsoImage::FindRoot() const {
    std::optional<RIsoDescriptor> primary, joliet;
    std::string block(kBlock, '\0');
    for (uint32_t at = kIsoFirstDescriptor; at < kIsoFirstDescriptor + kIsoMaxDescriptors; ++at) {
        if (!backend_->ReadBlocks(at, 1, block.data())) break;
        const auto descriptor = ParseDescriptor(block);
        if (!descriptor || descriptor->kind == RIsoDescriptor::Terminator) break;
        if (descriptor->kind == RIsoDescriptor::Primary && !primary) primary = descriptor;
        if (descriptor->kind == RIsoDescriptor::Joliet && !joliet) joliet = descriptor;
    }
    return joliet ? joliet : primary;
}

// A folder's records, read whole; false when it is empty, too large, beyond the image's end or
// malformed.
bool TIsoImage::ReadFolder(uint32_t lsn, uint32_t size, std::vector<RIsoRecord>& records) const {
    records.clear();
    if (size == 0 || size > kIsoMaxFolder || !Fits(lsn, size)) return false;
    const uint32_t blocks = (size + kBlock - 1) / kBlock;
    // Folders overlapping each other could make the opening read the image many times over.
    folderBytesRead_ += uint64_t(blocks) * kBlock;
    if (folderBytesRead_ > 4 * blocks_ * kBlock + (64u << 20)) return false;
    std::string extent(size_t(blocks) * kBlock, '\0');
    return backend_->ReadBlocks(lsn, blocks, extent.data()) && ParseDirectory(extent, size, names_, records);
}

bool TIsoImage::Fits(uint32_t lsn, uint32_t size) const {
    const uint64_t blocks = (uint64_t(size) + kBlock - 1) / kBlock;
    return size == 0 || uint64_t(lsn) + blocks <= blocks_;
}

bool TIsoImage::Index(int directory, int depth, std::set<uint32_t>& visited) {
    std::vector<int> folders;
    {
        std::vector<RIsoRecord> records;
        if (!ReadFolder(Entry(directory).lsn, Entry(directory).size, records)) return false;
        for (RIsoRecord& record : records) {
            if (entries_.size() >= kIsoMaxEntries) break;
            if (!Admit(record, depth, visited)) continue;
            const int index = static_cast<int>(entries_.size());
            if (!backend_->byName.emplace(foldedKey(directory, record.name), index).second) continue;
            if (record.directory) folders.push_back(index);
            entries_[static_cast<size_t>(directory)].children.push_back(index);
            entries_.push_back({std::move(record.name), record.lsn, record.size, record.directory, {}});
        }
    }
    for (const int folder : folders) Index(folder, depth + 1, visited);
    return true;
}

// Whether a record joins the index; the diagnostic line says why not. A folder must lie within
// the depth, not have been reached before (a loop, or two names for one folder) and read; it
// counts as reached before it is read, so many records naming one damaged folder read it once.
bool TIsoImage::Admit(const RIsoRecord& record, int depth, std::set<uint32_t>& visited) const {
    std::string why;
    std::vector<RIsoRecord> below;
    if (!record.spelled || !Contained::IsPlainName(record.name)) why = "an image entry's name cannot stand as a file name: ";
    else if (record.multiExtent) why = "an image file stored in several extents is left out: ";
    else if (!Fits(record.lsn, record.size)) why = "an image entry lies beyond the end of the image: ";
    else if (record.directory &&
             (depth + 1 >= kIsoMaxDepth || !visited.insert(record.lsn).second || !ReadFolder(record.lsn, record.size, below)))
        why = "an image folder is damaged, reached twice or lies too deep: ";
    if (!why.empty()) Diagnose(TDiagnosticLayer::Packs, why + record.name);
    return why.empty();
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
