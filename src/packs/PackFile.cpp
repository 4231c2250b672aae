#include "packs/PackFile.h"

#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Diagnostics.h"
#include "base/FileErrors.h"
#include "packs/FileAccess.h"
#include "packs/Inflate.h"

namespace {

constexpr uint32_t kHeaderMask1 = 0x3D5A0C71;
constexpr uint32_t kHeaderMask2 = 0x8E27B4F9;
constexpr size_t kEntrySize = 80;
constexpr size_t kNameField = 64;

uint32_t readU32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

[[noreturn]] void damaged(const std::string& why) { throw EFOpenError("damaged pack: " + why); }

// An unpacked size is honest when zlib could produce it from the stored bytes and it stays
// under the ceiling.
bool honestSize(uint64_t stored, uint64_t unpacked, uint64_t ceiling) {
    return unpacked <= ceiling && (stored == unpacked || unpacked <= stored * kZlibMaxRatio);
}

} // namespace

std::string NormalizePackName(std::string_view name) {
    std::string out(name);
    for (char& ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '/') ch = '\\';
        else if (c >= 'a' && c <= 'z') ch = static_cast<char>(c - 0x20);
        else if (c >= 0xE0) ch = static_cast<char>(c - 0x20);
    }
    return out;
}

// The pack's bytes: a read-only mapping of the file, or a string held in memory.
struct TPack::Mapping {
    void* address = nullptr;
    size_t length = 0;
    std::string owned;
    ~Mapping() {
        if (address) ::munmap(address, length);
    }
};

size_t TPack::KeyHash::operator()(const Key& k) const noexcept {
    return std::hash<std::string_view>{}(k.name) ^ (size_t(k.directory) * 0x9E3779B97F4A7C15ull);
}

TPack::~TPack() = default;

std::unique_ptr<TPack> TPack::Open(const std::string& hostPath) {
    const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw EFOpenError("Cannot open file \"" + hostPath + "\": " + std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw EFOpenError("Cannot open file \"" + hostPath + "\": not a regular file");
    }
    std::unique_ptr<TPack> pack(new TPack);
    pack->mapping_ = std::make_unique<Mapping>();
    const auto length = static_cast<size_t>(st.st_size);
    if (length > 0) {
        void* address = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, 0);
        if (address == MAP_FAILED) {
            // Some file systems cannot map; read the file instead.
            ::close(fd);
            auto bytes = ReadHostFile(hostPath);
            if (!bytes) throw EFOpenError("Cannot read file \"" + hostPath + "\"");
            return FromBytes(std::move(*bytes));
        }
        pack->mapping_->address = address;
        pack->mapping_->length = length;
        pack->file_ = std::string_view(static_cast<const char*>(address), length);
    }
    ::close(fd);
    pack->Load();
    return pack;
}

std::unique_ptr<TPack> TPack::FromBytes(std::string bytes) {
    std::unique_ptr<TPack> pack(new TPack);
    pack->mapping_ = std::make_unique<Mapping>();
    pack->mapping_->owned = std::move(bytes);
    pack->file_ = pack->mapping_->owned;
    pack->Load();
    return pack;
}

// The header and the directory block: its stored and unpacked sizes, unpacked in one piece.
void TPack::Load() {
    if (file_.size() < 8) damaged("file shorter than its header");
    const uint32_t x = readU32(file_.data()) ^ kHeaderMask1;
    const uint32_t stored = readU32(file_.data() + 4) ^ kHeaderMask2;
    const uint32_t unpacked = x + stored;  // 32-bit arithmetic, as the header was written
    if (stored > file_.size() - 8) damaged("directory block runs past the end of the file");
    if (!honestSize(stored, unpacked, kPackMaxDirectorySize)) damaged("directory block size is impossible");

    const char* source = file_.data() + 8;
    if (x == 0) {
        block_.assign(source, stored);
    } else {
        block_.resize(unpacked);
        size_t produced = block_.size();
        if (InflateBuffer(reinterpret_cast<uint8_t*>(block_.data()), &produced,
                          reinterpret_cast<const uint8_t*>(source), stored) != 0)
            damaged("directory block does not inflate");
        block_.resize(produced);
    }
    dataOrigin_ = uint64_t(stored) + 8;
    LoadTables();
    IndexDirectories();
    current_ = root_;
    rootPrefix_.clear();
}

// The directory records and the entries, copied out of the block.
void TPack::LoadTables() {
    if (block_.size() < 16) damaged("directory block too short");
    const uint64_t dirCount = readU32(block_.data());
    const uint64_t entryCount = readU32(block_.data() + 4);
    reserved_ = readU32(block_.data() + 8);
    root_ = readU32(block_.data() + 12);
    if (16 + 8 * dirCount + kEntrySize * entryCount > block_.size()) damaged("directory counts exceed the block");
    if (root_ >= dirCount) damaged("root directory index out of range");

    directories_.resize(dirCount);
    for (uint64_t d = 0; d < dirCount; ++d) {
        const char* rec = block_.data() + 16 + 8 * d;
        directories_[d] = {readU32(rec), readU32(rec + 4)};
    }
    entries_.resize(entryCount);
    const char* table = block_.data() + 16 + 8 * dirCount;
    for (uint64_t e = 0; e < entryCount; ++e) {
        const char* rec = table + kEntrySize * e;
        RPackEntry& entry = entries_[e];
        entry.name = std::string_view(rec, ::strnlen(rec, kNameField));
        entry.offset = readU32(rec + 64);
        entry.stored = readU32(rec + 68);
        entry.unpacked = readU32(rec + 72);
        entry.kind = readU32(rec + 76);
    }
}

// Indexes the names of every directory record that lies inside the entry table, each record
// once; a record outside it is unusable and reads as a missing folder. An honest pack names each
// entry once, so beyond four times its entry count (records sharing entries) the remaining
// records are searched by a plain scan instead of growing the index without bound.
void TPack::IndexDirectories() {
    const size_t count = directories_.size();
    usable_.assign(count, false);
    indexed_.assign(count, false);
    size_t budget = 4 * entries_.size() + 16, unusable = 0;
    for (uint32_t d = 0; d < count; ++d) {
        const RPackDirectory& dir = directories_[d];
        if (uint64_t(dir.first) + dir.count > entries_.size()) {
            ++unusable;
            continue;
        }
        usable_[d] = true;
        if (dir.count > budget) continue;
        budget -= dir.count;
        indexed_[d] = true;
        for (uint32_t i = dir.first; i < dir.first + dir.count; ++i) index_.try_emplace(Key{d, entries_[i].name}, i);
    }
    if (!usable_[root_]) damaged("root directory record points outside the entry table");
    if (unusable > 0)
        Diagnose(TDiagnosticLayer::Packs, std::to_string(unusable) + " folder records of the pack point outside its entry table; their folders read as missing");
}

int TPack::Lookup(uint32_t directory, std::string_view name, uint32_t kind) const {
    if (!Usable(directory)) return -1;
    int64_t first = -1;
    if (indexed_[directory]) {
        const auto it = index_.find(Key{directory, name});
        if (it != index_.end()) first = it->second;
    } else {
        const RPackDirectory& dir = directories_[directory];
        for (uint32_t i = dir.first; i < dir.first + dir.count && first < 0; ++i)
            if (entries_[i].name == name) first = i;
    }
    // The first entry with the name decides, whatever its kind.
    return first >= 0 && entries_[size_t(first)].kind == kind ? static_cast<int>(first) : -1;
}

bool TPack::Locate(std::string_view path, std::string& normal, uint32_t& directory, std::string_view& last) const {
    if (path.size() > kPackMaxPath) return false;
    normal = NormalizePackName(path);
    std::string_view rest = normal;
    if (!rootPrefix_.empty() && rest.substr(0, rootPrefix_.size()) == rootPrefix_) rest.remove_prefix(rootPrefix_.size());
    directory = current_;
    if (!rest.empty() && rest.front() == '\\') {
        rest.remove_prefix(1);
        directory = root_;
    }
    for (;;) {
        const size_t cut = rest.find('\\');
        const std::string_view component = rest.substr(0, cut);
        if (component.size() > kPackMaxComponent) return false;
        if (cut == std::string_view::npos) {
            last = component;
            return true;
        }
        const int sub = Lookup(directory, component, kPackKindDirectory);
        if (sub < 0) return false;
        directory = entries_[sub].offset;
        rest.remove_prefix(cut + 1);
    }
}

int TPack::Resolve(std::string_view path) const {
    std::string normal;
    uint32_t directory = 0;
    std::string_view last;
    return Locate(path, normal, directory, last) ? Lookup(directory, last, kPackKindFile) : -1;
}

bool TPack::ReadEntry(int index, TMemoryStream& stream) const {
    if (index < 0 || size_t(index) >= entries_.size()) return false;
    const RPackEntry& entry = entries_[index];
    if (entry.kind != kPackKindFile) return false;
    const uint64_t start = dataOrigin_ + entry.offset;
    if (start > file_.size() || entry.stored > file_.size() - start) return false;
    if (!honestSize(entry.stored, entry.unpacked, kPackMaxEntrySize)) return false;
    const auto* source = reinterpret_cast<const uint8_t*>(file_.data() + start);
    if (entry.stored == entry.unpacked) {
        stream.Assign(source, entry.stored);
        return true;
    }
    TMemoryStream out;
    out.SetSize(entry.unpacked);
    size_t produced = entry.unpacked;
    if (InflateBuffer(out.Data(), &produced, source, entry.stored) != 0) return false;
    out.SetSize(produced);
    out.Seek(0);
    stream = std::move(out);
    return true;
}

void TPack::Walk(const std::function<void(const std::string&, const RPackEntry&)>& visit, bool includeHidden) const {
    WalkFrom(root_, visit, includeHidden);
}

// An iterative depth-first walk that enters each record once and lists each entry once, skips
// folders whose record is missing or unusable and paths no lookup could name, and looks at a
// bounded number of entries: a damaged tree can neither loop nor make the listing explode.
void TPack::WalkFrom(uint32_t directory, const std::function<void(const std::string&, const RPackEntry&)>& visit,
                     bool includeHidden) const {
    struct Frame {
        uint32_t next, end;
        std::string prefix;
    };
    std::vector<bool> listed(directories_.size(), false), seen(entries_.size(), false);
    std::vector<Frame> stack;
    auto enter = [&](uint32_t record, std::string prefix) {
        if (!Usable(record) || listed[record]) return;
        listed[record] = true;
        stack.push_back({directories_[record].first, directories_[record].first + directories_[record].count, std::move(prefix)});
    };
    enter(directory, {});
    size_t budget = 4 * entries_.size() + 16;  // an honest tree looks at each entry once
    while (!stack.empty() && budget > 0) {
        Frame& top = stack.back();
        if (top.next == top.end) {
            stack.pop_back();
            continue;
        }
        --budget;
        const uint32_t index = top.next++;
        if (seen[index]) continue;
        seen[index] = true;
        const RPackEntry& entry = entries_[index];
        if (!includeHidden && !entry.name.empty() && entry.name.front() == '.') continue;
        std::string path = top.prefix;
        path += entry.name;
        if (path.size() > kPackMaxPath) continue;
        visit(path, entry);
        if (entry.kind == kPackKindDirectory) enter(entry.offset, path + '\\');
    }
}

TDynamicStringArray TPack::ListFiles() const {
    TDynamicStringArray files;
    Walk([&](const std::string& path, const RPackEntry& entry) {
        if (entry.kind == kPackKindFile) files.push_back(path);
    }, false);
    return files;
}

TDynamicStringArray TPack::List(const std::string& folder) const {
    std::string normal;
    uint32_t directory = 0;
    std::string_view last;
    TDynamicStringArray out;
    if (!Locate(folder, normal, directory, last)) return out;
    if (!last.empty()) {
        const int sub = Lookup(directory, last, kPackKindDirectory);
        if (sub < 0) return out;
        directory = entries_[sub].offset;
    }
    WalkFrom(directory, [&](const std::string& path, const RPackEntry& entry) {
        out.push_back(entry.kind == kPackKindDirectory ? path + '\\' : path);
    }, false);
    return out;
}

namespace {
std::unique_ptr<TPack>& thePack() {
    static std::unique_ptr<TPack> pack;
    return pack;
}

// The pack at path: read from the disc image when the image holds it (the image is never
// copied out for it), else mapped from its host file.
std::unique_ptr<TPack> openAt(const std::string& path) {
    if (const IBookFiles* image = BookFiles().Image(); image && image->Has(path)) {
        TMemoryStream bytes;
        if (!image->Read(path, bytes)) throw EFOpenError("Cannot open file \"" + path + "\". Cannot read");
        return TPack::FromBytes(std::string(reinterpret_cast<const char*>(bytes.Data()), bytes.Size()));
    }
    const auto host = FileAccess().FindFile(path);
    if (!host) throw EFOpenError("Cannot open file \"" + path + "\". No such file");
    return TPack::Open(*host);
}
} // namespace

int OpenPack(const std::string& path) {
    ClosePack();
    thePack() = openAt(path);
    BookFiles().SetPack(thePack().get());
    return 0;
}

void ClosePack() {
    BookFiles().SetPack(nullptr);
    thePack().reset();
}

TPack* CurrentPack() { return thePack().get(); }

void SetPackRootPrefix(std::string_view prefix) {
    if (thePack()) thePack()->SetRootPrefix(prefix);
}

int ResolvePackPath(std::string_view path) { return thePack() ? thePack()->Resolve(path) : -1; }

bool PackFileExists(const std::string& path) { return BookFiles().Has(path); }

TDynamicStringArray ListPackFiles() {
    TDynamicStringArray files;
    if (const IBookFiles* pack = BookFiles().Pack())
        for (std::string& path : pack->List(""))
            if (path.back() != '\\') files.push_back(std::move(path));
    return files;
}
