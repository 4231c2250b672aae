// The five calls of the RAR library. Opening checks the first volume's headers; the first header
// read gathers the rest of the volume set (asking the caller for missing volumes) and picks the
// decoder: libunarr for a single RAR 1.5-4 archive libarchive refuses (solid, or packed by
// RAR 2.0/2.6), libarchive for everything else. Processing writes through TRarOutput.
#include "archive/rar/RarLibrary.h"

#include <map>
#include <memory>
#include <new>

#include "archive/rar/RarOutput.h"
#include "archive/rar/RarReader.h"
#include "archive/rar/RarVolumes.h"

struct RRarArchive {
    std::string arcName;
    int mode = RAR_OM_LIST;
    TChangeVolProc callback;
    TRarBackend backend = TRarBackend::Auto;
    TRarVolumeScan first;
    std::unique_ptr<TRarReader> reader;
    bool prepared = false;
    int failed = ERAR_SUCCESS;      // why the set could not be read; returned from then on
    bool pending = false;           // a header was handed out and not processed yet
    int lastHeader = ERAR_SUCCESS;  // what the last RARReadHeader returned
    TRarEntry current;
    // The files extracted through this handle, by their host path below the destination: where
    // each was written (destination, entry name), for the links that copy them later on.
    std::map<std::string, std::pair<std::string, std::string>> written;
};

namespace {

constexpr size_t kMaxVolumes = 65536;
constexpr int kMaxAsks = 1000;  // a callback that always answers "try again" must not hang the reader

int openResult(const TRarVolumeScan& scan) {
    if (!scan.opened) return ERAR_EOPEN;
    if (scan.format == TRarFormat::None) return ERAR_BAD_ARCHIVE;
    if (scan.format == TRarFormat::Rar14) return ERAR_UNKNOWN_FORMAT;
    if (scan.encryptedHeaders) return ERAR_MISSING_PASSWORD;
    if (scan.mainBroken) return ERAR_BAD_DATA;
    return ERAR_SUCCESS;
}

// Adds the volumes after the first while their headers say more follow. A missing one is asked
// for until it appears or the caller gives up; the set is then incomplete.
void findVolumes(RRarArchive& h, TRarSet& set) {
    while (set.volumes.size() < kMaxVolumes) {
        const TRarNextVolume next = RarNextVolume(set.scans.back());
        if (next == TRarNextVolume::No) return;
        const std::string expected = NextRarVolumeName(set.volumes.back(), h.first.newNaming);
        if (expected.empty()) return;
        std::string found = FindRarVolume(expected);
        for (int asked = 0; found.empty() && next == TRarNextVolume::Yes && asked < kMaxAsks; ++asked) {
            if (!h.callback || h.callback(expected, RAR_VOL_ASK) == 0) break;
            found = FindRarVolume(expected);
        }
        if (found.empty()) {
            set.incomplete = next == TRarNextVolume::Yes;
            return;
        }
        if (h.callback) h.callback(found, RAR_VOL_NOTIFY);
        set.volumes.push_back(found);
        set.scans.push_back(ScanRarVolume(found));
    }
}

// libarchive refuses solid RAR 1.5-4 archives and decodes only RAR 2.9 packing; libunarr reads
// both but no volume sets. The choice is made per archive, so one decoder reads all of it.
bool needsUnarr(const TRarSet& set) {
    const TRarVolumeScan& first = set.scans.front();
    if (set.format != TRarFormat::Rar4 || set.volumes.size() != 1 || set.incomplete || first.volume) return false;
    if (first.solid) return true;
    for (const TRarScanEntry& e : set.entries)
        if (!e.directory && (e.solid || (e.method != 0x30 && e.unpVer >= 20 && e.unpVer < 29))) return true;
    return false;
}

// Names without Unicode are in the maker's code page: DOS code page 866 for archives made on DOS,
// OS/2 or Windows, UTF-8 for the others. The whole archive is read one way, as libarchive does.
bool prefersOemNames(const std::vector<TRarScanEntry>& entries) {
    size_t dos = 0, other = 0;
    for (const TRarScanEntry& e : entries) {
        if (e.nameIsUtf8) continue;
        bool ascii = true;
        for (const char c : e.name) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        if (!ascii) ++(e.hostOs <= 2 ? dos : other);
    }
    return dos > 0 && dos >= other;
}

int prepare(RRarArchive& h) {
    TRarSet set;
    set.format = h.first.format;
    set.volumes.push_back(h.arcName);
    set.scans.push_back(h.first);
    findVolumes(h, set);
    set.entries = MergeRarEntries(set.scans);
    set.oemNames = prefersOemNames(set.entries);
    if (h.backend == TRarBackend::Unarr) return OpenUnarrReader(set, h.reader);
    if (h.backend == TRarBackend::Auto && needsUnarr(set) && OpenUnarrReader(set, h.reader) == ERAR_SUCCESS)
        return ERAR_SUCCESS;
    return OpenLibarchiveReader(set, h.reader);
}

unsigned headerFlags(const TRarEntry& entry) {
    return (entry.directory ? RHDF_DIRECTORY : 0u) | (entry.encrypted ? 0x04u : 0u) | (entry.solid ? 0x10u : 0u);
}

// The host path (UTF-8, "/" between folders) a name lands on below its destination; empty for a
// refused name.
std::string writtenKey(const std::string& cp1251Name) {
    std::vector<std::string> parts;
    std::string key;
    if (!RarSafeComponents(cp1251Name, parts)) return key;
    for (const std::string& part : parts) key += (key.empty() ? "" : "/") + part;
    return key;
}

int remember(RRarArchive& h, const std::string& destPath, int result) {
    const std::string key = writtenKey(h.current.name);
    if (result == ERAR_SUCCESS && !key.empty()) h.written[key] = {destPath, h.current.name};
    return result;
}

int extractFile(RRarArchive& h, const std::string& destPath) {
    TRarOutput output;
    if (const int result = output.Open(destPath, h.current.name)) return result;
    const int result = h.reader->Read([&](const char* data, size_t size) { return output.Write(data, size); });
    if (result != ERAR_SUCCESS) return result;
    return remember(h, destPath, output.Commit(h.current.hasTime, h.current.mtime));
}

// A hard link or file copy is written as a copy of its target, which an earlier entry must have
// written through this handle: a target missing from the archive, refused, or skipped fails.
int extractCopy(RRarArchive& h, const std::string& destPath) {
    const auto target = h.written.find(writtenKey(h.current.copyOf));
    if (target == h.written.end()) return ERAR_ECREATE;
    const auto& [fromDest, fromName] = target->second;
    return remember(h, destPath,
                    RarCopyFile(fromDest, fromName, destPath, h.current.name, h.current.hasTime, h.current.mtime));
}

int process(RRarArchive& h, int operation, const std::string& destPath) {
    if (!h.pending) return h.lastHeader != ERAR_SUCCESS ? h.lastHeader : ERAR_BAD_ARCHIVE;
    h.pending = false;
    // Opened for listing, every operation only moves past the entry.
    if (h.mode != RAR_OM_EXTRACT || operation == RAR_SKIP) return ERAR_SUCCESS;
    const TRarEntry& entry = h.current;
    if (entry.link) return ERAR_SUCCESS;
    if (entry.encrypted) return ERAR_MISSING_PASSWORD;
    if (entry.directory) return operation == RAR_EXTRACT ? RarMakeFolder(destPath, entry.name) : ERAR_SUCCESS;
    if (entry.copy) return operation == RAR_EXTRACT ? extractCopy(h, destPath) : ERAR_SUCCESS;
    if (operation != RAR_EXTRACT) return h.reader->Read({});
    return extractFile(h, destPath);
}

int readHeader(RRarArchive& h, RARHeaderData& header) {
    if (!h.prepared) {
        h.prepared = true;
        h.failed = prepare(h);
    }
    h.pending = false;
    if (h.failed) return h.lastHeader = h.failed;
    TRarEntry entry;
    h.lastHeader = h.reader->Next(entry);
    if (h.lastHeader != ERAR_SUCCESS) return h.lastHeader;
    h.current = entry;
    h.pending = true;
    header.FileName = entry.name;
    header.Flags = headerFlags(entry);
    header.UnpSize = entry.size;
    header.FileTime = entry.dosTime;
    header.FileCRC = entry.crc;
    return ERAR_SUCCESS;
}

} // namespace

TRarHandle RAROpenArchive(RAROpenArchiveData& data) {
    try {
        TRarVolumeScan scan = ScanRarVolume(data.ArcName);
        data.OpenResult = openResult(scan);
        if (data.OpenResult != ERAR_SUCCESS) return nullptr;
        auto handle = std::make_unique<RRarArchive>();
        handle->arcName = data.ArcName;
        handle->mode = data.OpenMode;
        handle->first = std::move(scan);
        return handle.release();
    } catch (const std::bad_alloc&) {
        data.OpenResult = ERAR_NO_MEMORY;
        return nullptr;
    }
}

int RARCloseArchive(TRarHandle handle) {
    if (!handle) return ERAR_ECLOSE;
    delete handle;
    return ERAR_SUCCESS;
}

int RARReadHeader(TRarHandle handle, RARHeaderData& header) {
    header = RARHeaderData{};
    if (!handle) return ERAR_BAD_ARCHIVE;
    try {
        return readHeader(*handle, header);
    } catch (const std::bad_alloc&) {
        handle->pending = false;
        return ERAR_NO_MEMORY;
    }
}

int RARProcessFile(TRarHandle handle, int operation, const std::string& destPath) {
    if (!handle) return ERAR_BAD_ARCHIVE;
    try {
        return process(*handle, operation, destPath);
    } catch (const std::bad_alloc&) {
        return ERAR_NO_MEMORY;
    }
}

void RARSetChangeVolProc(TRarHandle handle, TChangeVolProc callback) {
    if (handle) handle->callback = std::move(callback);
}

void RarUseBackend(TRarHandle handle, TRarBackend backend) {
    if (handle && !handle->prepared) handle->backend = backend;
}
