// The "bundle" verbs: build, list and extract configuration bundles.
#include <map>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "Cli.h"
#include "HostTree.h"
#include "Progress.h"
#include "TextRules.h"
#include "base/Cp1251.h"
#include "base/FileErrors.h"
#include "packs/BundleWriter.h"
#include "packs/CfsCodec.h"
#include "packs/ReadBin.h"

namespace {

TReadBin openBundle(const std::string& path) {
    RequireInputFile(path);
    TReadBin bundle;
    try {
        bundle.OpenBundle(path);
    } catch (const EFileError& e) {
        throw Failure("cannot open " + Quoted(path) + ": " + e.what());
    }
    return bundle;
}

std::string upperName(std::string_view name) {
    std::string upper(name);
    for (char& c : upper) c = static_cast<char>(Cp1251::upperByte(static_cast<unsigned char>(c)));
    return upper;
}

int runBuild(const TArgs& args) {
    const std::string& source = args.positional[0];
    const std::string& output = args.Required("-o");
    const TTextEncoding encoding = EncodingOption(args);
    const uint32_t seed = SeedOption(args);
    struct stat st {};
    if (::stat(source.c_str(), &st) != 0) throw Failure("cannot open folder " + Quoted(source) + ": " + std::strerror(errno));
    if (!S_ISDIR(st.st_mode)) throw Failure(Quoted(source) + " is not a folder");

    const std::vector<THostItem> files = ReadFolder(source);
    std::vector<RBundleItem> items;
    std::map<std::string, std::string> taken;  // upper-cased name -> host path
    TProgress progress("bundle build");
    for (size_t i = 0; i < files.size(); ++i) {
        const THostItem& file = files[i];
        if (IsSameFile(file, output)) {
            Report("skipped " + Quoted(file.path) + ": it is the bundle being written");
            continue;
        }
        // A bundle is flat; a folder here would silently lose its files, so it stops the build.
        if (file.folder) throw Failure(Quoted(file.path) + " is a folder; a bundle holds only files");
        std::string name = HostNameToCp1251(file.name, file.path);
        if (const std::string problem = NameProblem(name); !problem.empty()) throw Failure(Quoted(file.path) + ": " + problem);
        if (name.size() > kBundleMaxName) throw Failure(Quoted(file.path) + ": the name is longer than 256 bytes in CP1251");
        // The program looks names up ignoring case, so the second of such a pair could never be read.
        const auto [it, fresh] = taken.emplace(upperName(name), file.path);
        if (!fresh) throw Failure(Quoted(it->second) + " and " + Quoted(file.path) + " differ only in letter case");
        std::string data = ReadInputFile(file.path);
        if (IsCfsName(name)) data = EncodeCfs(PrepareCfsText(data, encoding, file.path), seed);
        items.push_back({std::move(name), std::move(data)});
        progress.Update(i + 1, files.size());
    }
    std::string bytes;
    try {
        bytes = BuildBundle(items);
    } catch (const std::exception& e) {
        throw Failure(std::string("cannot build the bundle: ") + e.what());
    }
    WriteFileAtomically(output, bytes);
    return 0;
}

int runList(const TArgs& args) {
    const TReadBin bundle = openBundle(args.positional[0]);
    std::string out;
    for (const RBin& entry : bundle.Directory()) {
        out += Cp1251::toUtf8(entry.name);
        if (args.Has("--long")) out += '\t' + std::to_string(entry.offset) + '\t' + std::to_string(entry.size);
        out += '\n';
    }
    WriteStdout(out);
    return 0;
}

int runExtract(const TArgs& args) {
    const std::string& path = args.positional[0];
    const TReadBin bundle = openBundle(path);
    // Entries are cut out of the file by position: a lookup by name would give the first of
    // two names that differ only in case for both.
    const std::string bytes = ReadInputFile(path);
    TOutputFolder folder(args.Required("-o"));
    const bool raw = args.Has("--raw");
    int failures = 0;
    for (const RBin& entry : bundle.Directory()) {
        const std::string shown = Cp1251::toUtf8(entry.name);
        try {
            if (const std::string problem = NameProblem(entry.name); !problem.empty())
                throw Failure("refused " + Quoted(shown) + ": " + problem);
            const auto offset = static_cast<uint32_t>(entry.offset);
            const auto size = static_cast<uint32_t>(entry.size);
            if (uint64_t(offset) + size > bytes.size()) throw Failure(Quoted(shown) + " lies beyond the end of the bundle");
            std::string data = bytes.substr(offset, size);
            if (!raw && IsCfsName(entry.name)) data = CfsTextToUtf8(DecodeCfsText(data));
            if (!folder.WriteFile({entry.name}, data))
                Report("skipped " + Quoted(shown) + ": an earlier entry wrote " + Quoted(folder.HostPath({entry.name})));
        } catch (const Failure& e) {
            Report(e.what());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}

} // namespace

std::vector<TVerb> BundleVerbs() {
    return {
        {"bundle", "build", "bundle build DIR -o FILE [--encoding utf-8|cp1251] [--seed N]",
         "build a configuration bundle from the files of a folder",
         "Every file directly in DIR becomes an entry named after it (UTF-8 -> CP1251), in\n"
         "byte-wise name order; a sub-folder is an error. Files ending in \".cfs\" are\n"
         "description text: UTF-8 by default (converted to CP1251; a leading byte-order mark\n"
         "is dropped), or CP1251 bytes as they are with --encoding cp1251; each lone LF\n"
         "becomes CR LF; then the text is scrambled with filler bytes drawn from --seed (by\n"
         "default from the clock). Other files are stored as they are.\n",
         {{"-o", true}, {"--encoding", true}, {"--seed", true}}, 1, 1, runBuild},
        {"bundle", "list", "bundle list FILE [--long]", "list the entries of a bundle",
         "Prints the entry names in directory order; --long adds tab-separated offset and size.\n",
         {{"--long", false}}, 1, 1, runList},
        {"bundle", "extract", "bundle extract FILE -o DIR [--raw]", "extract every entry of a bundle",
         "Writes every entry to DIR. \".cfs\" entries are unscrambled into UTF-8 text with LF\n"
         "line ends, so that \"bundle build\" of DIR gives the same lines again; --raw keeps\n"
         "the scrambled bytes. Names that could leave DIR are reported and passed over (exit\n"
         "code 1); of two entries that land on the same host file the first is kept.\n",
         {{"-o", true}, {"--raw", false}}, 1, 1, runExtract},
    };
}
