// The "pack" verbs: build, list, extract, print and check interface packs.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>

#include "Cli.h"
#include "DiscImages.h"
#include "HostTree.h"
#include "Progress.h"
#include "base/Cp1251.h"
#include "base/FileErrors.h"
#include "packs/IsoImage.h"
#include "packs/PackFile.h"
#include "packs/PackWriter.h"

namespace {

constexpr size_t kMaxStoredName = 63;

// One entry of a pack with the names on its path from the root.
struct TPackItem {
    int index = 0;
    std::vector<std::string_view> names;
};

// One item of the source tree of a build.
struct TSource {
    std::string hostPath;
    std::string packPath;  // CP1251, "\" between names
    bool folder = false;
};

// A pack file, or the pack inside a disc image (read from the image, not unpacked first).
std::unique_ptr<TPack> openPack(const std::string& path) {
    RequireInputFile(path);
    try {
        if (IsDiscImageName(path)) return TPack::FromBytes(ReadFromImage(path, "interface.dat"));
        return TPack::Open(path);
    } catch (const EFOpenError& e) {
        throw Failure("cannot open " + Quoted(path) + ": " + e.what());
    }
}

std::string packPathFromUtf8(const std::string& path) {
    bool ok = false;
    std::string converted = Cp1251::fromUtf8(path, &ok);
    if (!ok) throw Failure(Quoted(path) + " has characters that CP1251 lacks, so no pack holds it");
    return converted;
}

// A pack path as users see it: UTF-8 names joined with "\".
std::string shownPath(const std::vector<std::string_view>& names) {
    std::string path;
    for (const std::string_view name : names) {
        if (!path.empty()) path += '\\';
        path += Cp1251::toUtf8(name);
    }
    return path;
}

// Every entry below the root, depth first in stored order, hidden names included. Unlike
// TPack::Walk this keeps the names apart, so a name holding "\" cannot pose as a path.
std::vector<TPackItem> allEntries(const TPack& pack) {
    struct Frame {
        uint32_t next, end;
        std::vector<std::string_view> names;
    };
    const auto& dirs = pack.Directories();
    const RPackDirectory& root = dirs[pack.RootIndex()];
    std::vector<Frame> stack{{root.first, root.first + root.count, {}}};
    std::vector<TPackItem> items;
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.end) {
            stack.pop_back();
            continue;
        }
        const uint32_t index = top.next++;
        const RPackEntry& entry = pack.Entries()[index];
        TPackItem item{static_cast<int>(index), top.names};
        item.names.push_back(entry.name);
        // The pack checked on opening that directory records are in range and form a tree.
        if (entry.kind == kPackKindDirectory) {
            const RPackDirectory& dir = dirs[entry.offset];
            stack.push_back({dir.first, dir.first + dir.count, item.names});
        }
        items.push_back(std::move(item));
    }
    return items;
}

// Reads a file entry; Failure when it is damaged or unpacks to another size than it states.
void readChecked(const TPack& pack, int index, const std::string& shown, TMemoryStream& stream) {
    if (!pack.ReadEntry(index, stream)) throw Failure(Quoted(shown) + " is damaged: its data cannot be read or unpacked");
    const uint32_t stated = pack.Entries()[index].unpacked;
    if (stream.Size() != stated)
        throw Failure(Quoted(shown) + " is damaged: it unpacks to " + std::to_string(stream.Size()) +
                      " bytes, its entry states " + std::to_string(stated));
}

// Collects the tree below a host folder, checking each name as the pack will store it.
// ancestors holds the folders on the way down, so a symbolic link loop is caught.
void collectTree(const std::string& hostFolder, const std::string& packPrefix, const std::string& output,
                 std::vector<std::pair<dev_t, ino_t>>& ancestors, std::vector<TSource>& out) {
    std::map<std::string, std::string> taken;  // normalised name -> host path
    for (const THostItem& item : ReadFolder(hostFolder)) {
        if (IsSameFile(item, output)) {
            Report("skipped " + Quoted(item.path) + ": it is the pack being written");
            continue;
        }
        const std::string name = HostNameToCp1251(item.name, item.path);
        if (name.find('\\') != std::string::npos)
            throw Failure(Quoted(item.path) + ": the name holds \"\\\", which separates names in a pack");
        const std::string normal = NormalizePackName(name);
        if (normal.size() > kMaxStoredName) throw Failure(Quoted(item.path) + ": the name is longer than 63 bytes in CP1251");
        const auto [it, fresh] = taken.emplace(normal, item.path);
        if (!fresh)
            throw Failure(Quoted(it->second) + " and " + Quoted(item.path) + " are the same name in a pack, " +
                          Quoted(Cp1251::toUtf8(normal)));
        out.push_back({item.path, packPrefix + name, item.folder});
        if (!item.folder) continue;
        const std::pair<dev_t, ino_t> id{item.device, item.inode};
        if (std::find(ancestors.begin(), ancestors.end(), id) != ancestors.end())
            throw Failure(Quoted(item.path) + ": a symbolic link leads back to a folder above it");
        ancestors.push_back(id);
        collectTree(item.path, packPrefix + name + "\\", output, ancestors, out);
        ancestors.pop_back();
    }
}

int runBuild(const TArgs& args) {
    const std::string& source = args.positional[0];
    const std::string& output = args.Required("-o");
    struct stat st {};
    if (::stat(source.c_str(), &st) != 0) throw Failure("cannot open folder " + Quoted(source) + ": " + std::strerror(errno));
    if (!S_ISDIR(st.st_mode)) throw Failure(Quoted(source) + " is not a folder");
    std::vector<TSource> sources;
    std::vector<std::pair<dev_t, ino_t>> ancestors{{st.st_dev, st.st_ino}};
    collectTree(source, "", output, ancestors, sources);

    const auto total = static_cast<size_t>(std::count_if(sources.begin(), sources.end(), [](const TSource& s) { return !s.folder; }));
    TPackWriter writer;
    TProgress progress("pack build");
    size_t done = 0;
    for (const TSource& item : sources) {
        try {
            if (item.folder) {
                writer.AddDirectory(item.packPath);
            } else {
                writer.AddFile(item.packPath, ReadInputFile(item.hostPath));
                progress.Update(++done, total);
            }
        } catch (const std::invalid_argument& e) {
            throw Failure(Quoted(item.hostPath) + ": " + e.what());
        }
    }
    std::string bytes;
    try {
        bytes = writer.Build();
    } catch (const std::exception& e) {
        throw Failure(std::string("cannot build the pack: ") + e.what());
    }
    WriteFileAtomically(output, bytes);
    return 0;
}

int runList(const TArgs& args) {
    const auto pack = openPack(args.positional[0]);
    std::string out;
    if (!args.Has("--long")) {
        for (const std::string& path : pack->ListFiles()) out += Cp1251::toUtf8(path) + '\n';
    } else {
        for (const TPackItem& item : allEntries(*pack)) {
            const RPackEntry& entry = pack->Entries()[item.index];
            const std::string kind = entry.kind == kPackKindFile ? "file"
                                     : entry.kind == kPackKindDirectory ? "dir"
                                                                        : "kind " + std::to_string(entry.kind);
            out += shownPath(item.names) + '\t' + kind + '\t' + std::to_string(entry.stored) + '\t' +
                   std::to_string(entry.unpacked) + '\n';
        }
    }
    WriteStdout(out);
    return 0;
}

int runExtract(const TArgs& args) {
    const auto pack = openPack(args.positional[0]);
    TOutputFolder folder(args.Required("-o"));
    const std::vector<TPackItem> items = allEntries(*pack);
    const bool wholePack = args.positional.size() == 1;
    int failures = 0;

    std::vector<const TPackItem*> chosen;
    if (wholePack) {
        for (const TPackItem& item : items) chosen.push_back(&item);
    } else {
        std::map<int, const TPackItem*> byIndex;
        for (const TPackItem& item : items) byIndex.emplace(item.index, &item);
        for (size_t i = 1; i < args.positional.size(); ++i) {
            const std::string& path = args.positional[i];
            try {
                const auto found = byIndex.find(pack->Resolve(packPathFromUtf8(path)));
                if (found == byIndex.end()) throw Failure(Quoted(path) + " is not a file in the pack");
                chosen.push_back(found->second);
            } catch (const Failure& e) {
                Report(e.what());
                ++failures;
            }
        }
    }

    const auto isFile = [&](const TPackItem* item) { return pack->Entries()[item->index].kind == kPackKindFile; };
    const auto total = static_cast<size_t>(std::count_if(chosen.begin(), chosen.end(), isFile));
    TProgress progress("pack extract");
    size_t done = 0;
    for (const TPackItem* item : chosen) {
        const RPackEntry& entry = pack->Entries()[item->index];
        const std::string shown = shownPath(item->names);
        try {
            // A whole-pack run reports a bad folder name once, at the folder, and passes over
            // what lies inside it.
            const auto bad = std::find_if(item->names.begin(), item->names.end(),
                                          [](std::string_view name) { return !NameProblem(name).empty(); });
            if (bad != item->names.end()) {
                if (wholePack && bad + 1 != item->names.end()) continue;
                throw Failure("refused " + Quoted(shown) + ": " + NameProblem(*bad));
            }
            if (entry.kind == kPackKindDirectory) {
                folder.MakeFolder(item->names);
            } else if (entry.kind == kPackKindFile) {
                progress.Update(++done, total);
                TMemoryStream content;
                readChecked(*pack, item->index, shown, content);
                if (!folder.WriteFile(item->names, content.View()))
                    Report("skipped " + Quoted(shown) + ": an earlier entry wrote " + Quoted(folder.HostPath(item->names)));
            } else {
                throw Failure(Quoted(shown) + " has the unknown kind " + std::to_string(entry.kind));
            }
        } catch (const Failure& e) {
            Report(e.what());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}

int runCat(const TArgs& args) {
    const auto pack = openPack(args.positional[0]);
    const std::string& path = args.positional[1];
    const int index = pack->Resolve(packPathFromUtf8(path));
    if (index < 0) throw Failure(Quoted(path) + " is not a file in the pack");
    TMemoryStream content;
    readChecked(*pack, index, path, content);
    WriteStdout(content.View());
    return 0;
}

int runCheck(const TArgs& args) {
    const auto pack = openPack(args.positional[0]);
    std::vector<TPackItem> files = allEntries(*pack);
    std::erase_if(files, [&](const TPackItem& item) { return pack->Entries()[item.index].kind != kPackKindFile; });
    TProgress progress("pack check");
    size_t damaged = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        progress.Update(i + 1, files.size());
        try {
            TMemoryStream content;
            readChecked(*pack, files[i].index, shownPath(files[i].names), content);
        } catch (const Failure& e) {
            Report(e.what());
            ++damaged;
        }
    }
    ClearProgressLine();
    WriteStdout("checked " + std::to_string(files.size()) + " files, " + std::to_string(damaged) + " damaged\n");
    return damaged ? 1 : 0;
}

} // namespace

std::vector<TVerb> PackVerbs() {
    return {
        {"pack", "build", "pack build DIR -o FILE", "pack a folder tree into an interface pack",
         "Every file and folder below DIR is packed, dot-files included, folders in byte-wise name\n"
         "order. Names are UTF-8 on the host and stored in CP1251, upper-cased as the pack wants;\n"
         "a name CP1251 cannot spell, longer than 63 bytes, or equal to a neighbour once\n"
         "upper-cased is an error. FILE is replaced only when the whole pack was written.\n",
         {{"-o", true}}, 1, 1, runBuild},
        {"pack", "list", "pack list FILE [--long]", "list the files of a pack",
         "Prints the path of every file, one per line, as the program lists them (names that\n"
         "begin with \".\" are hidden). --long prints every entry, hidden ones and folders too,\n"
         "as tab-separated columns: path, kind (file/dir), stored size, unpacked size. FILE may\n"
         "be a disc image (\".iso\", \".bin\", \".cue\", \".nrg\", \".mdf\"): the pack beside its\n"
         "Zaz.dhl is read from it; so do the other pack verbs.\n",
         {{"--long", false}}, 1, 1, runList},
        {"pack", "extract", "pack extract FILE -o DIR [PATH...]", "extract files from a pack",
         "Writes every entry (hidden ones and empty folders included), or only the files at the\n"
         "given PATHs, below DIR. A PATH is looked up as the program does: any letter case,\n"
         "\"/\" or \"\\\" between names. Entries whose names could leave DIR, and damaged entries,\n"
         "are reported and passed over; the exit code is then 1.\n",
         {{"-o", true}}, 1, SIZE_MAX, runExtract},
        {"pack", "cat", "pack cat FILE PATH", "write one file of a pack to standard output",
         "PATH is looked up as the program does: any letter case, \"/\" or \"\\\" between names.\n",
         {}, 2, 2, runCat},
        {"pack", "check", "pack check FILE", "read and unpack every file of a pack",
         "Reports each damaged entry on stderr, and entries that unpack to another size than\n"
         "they state, then prints \"checked N files, M damaged\". Exit code 1 when M is not 0.\n",
         {}, 1, 1, runCheck},
    };
}
