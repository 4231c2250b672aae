// The "disc" verbs: list and extract the files of a disc image. Also the opening of a disc
// image for the other verbs, so that "pack list manual.iso" reads the pack inside it.
#include <algorithm>
#include <memory>

#include "Cli.h"
#include "DiscImages.h"
#include "HostTree.h"
#include "Progress.h"
#include "base/Cp1251.h"
#include "base/FileErrors.h"
#include "packs/IsoImage.h"

std::unique_ptr<TIsoImage> OpenDiscImage(const std::string& path) {
    RequireInputFile(path);
    try {
        return TIsoImage::Open(path);
    } catch (const EFOpenError& e) {
        throw Failure(e.what());
    }
}

std::string ReadFromImage(const std::string& imagePath, const std::string& name) {
    const auto image = OpenDiscImage(imagePath);
    const auto program = FindProgramFolder(*image);
    const int index = image->Find((program && !program->empty() ? *program + "\\" : std::string()) + name);
    if (index < 0 || image->Entry(index).directory)
        throw Failure(Quoted(imagePath) + " holds no " + name + (program ? " beside its Zaz.dhl" : " (it holds no Zaz.dhl)"));
    std::string bytes;
    if (!image->Read(index, bytes)) throw Failure("cannot read " + name + " from " + Quoted(imagePath));
    return bytes;
}

namespace {

// Every entry below the root with the names on its path, depth first.
void collect(const TIsoImage& image, int folder, std::vector<std::string>& names,
             std::vector<std::pair<int, std::vector<std::string>>>& out) {
    for (const int child : image.Entry(folder).children) {
        names.push_back(image.Entry(child).name);
        out.emplace_back(child, names);
        if (image.Entry(child).directory) collect(image, child, names, out);
        names.pop_back();
    }
}

std::string shown(const std::vector<std::string>& names) {
    std::string path;
    for (const std::string& name : names) path += (path.empty() ? "" : "\\") + Cp1251::toUtf8(name);
    return path;
}

int runList(const TArgs& args) {
    const auto image = OpenDiscImage(args.positional[0]);
    std::vector<std::pair<int, std::vector<std::string>>> items;
    std::vector<std::string> names;
    collect(*image, 0, names, items);
    std::string out;
    for (const auto& [index, path] : items) {
        const RIsoEntry& entry = image->Entry(index);
        if (!args.Has("--long") && entry.directory) continue;
        out += shown(path);
        if (args.Has("--long")) out += std::string(entry.directory ? "\tdir\t" : "\tfile\t") + std::to_string(entry.size);
        out += '\n';
    }
    WriteStdout(out);
    return 0;
}

// The entries an extraction writes: all of them, or those at the given paths (any case).
std::vector<std::pair<int, std::vector<std::string>>> chosen(const TIsoImage& image, const TArgs& args, int& failures) {
    std::vector<std::pair<int, std::vector<std::string>>> items;
    std::vector<std::string> names;
    collect(image, 0, names, items);
    if (args.positional.size() == 1) return items;
    std::vector<std::pair<int, std::vector<std::string>>> picked;
    for (size_t i = 1; i < args.positional.size(); ++i) {
        std::string path = Cp1251::fromUtf8(args.positional[i]);
        std::replace(path.begin(), path.end(), '/', '\\');
        const int index = image.Find(path);
        const auto it = std::find_if(items.begin(), items.end(), [&](const auto& item) { return item.first == index; });
        if (it == items.end() || image.Entry(index).directory) {
            Report(Quoted(args.positional[i]) + " is not a file in the image");
            ++failures;
        } else {
            picked.push_back(*it);
        }
    }
    return picked;
}

int runExtract(const TArgs& args) {
    const auto image = OpenDiscImage(args.positional[0]);
    TOutputFolder folder(args.Required("-o"));
    int failures = 0;
    const auto items = chosen(*image, args, failures);
    const auto total = static_cast<size_t>(
        std::count_if(items.begin(), items.end(), [&](const auto& item) { return !image->Entry(item.first).directory; }));
    TProgress progress("disc extract");
    size_t done = 0;
    for (const auto& [index, path] : items) {
        const std::vector<std::string_view> names(path.begin(), path.end());
        try {
            for (const std::string& name : path)
                if (!NameProblem(name).empty()) throw Failure("refused " + Quoted(shown(path)) + ": " + NameProblem(name));
            if (image->Entry(index).directory) {
                folder.MakeFolder(names);
                continue;
            }
            progress.Update(++done, total);
            std::string bytes;
            if (!image->Read(index, bytes)) throw Failure("cannot read " + Quoted(shown(path)) + " from the image");
            if (!folder.WriteFile(names, bytes))
                Report("skipped " + Quoted(shown(path)) + ": an earlier entry wrote " + Quoted(folder.HostPath(names)));
        } catch (const Failure& e) {
            Report(e.what());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}

}  // namespace

std::vector<TVerb> DiscVerbs() {
    return {
        {"disc",
         "list",
         "disc list IMAGE [--long]",
         "list the files of a disc image",
         "IMAGE is an ISO 9660 image (\".iso\", a raw \".mdf\" or \".bin\" track, \".cue\" with its\n"
         "\".bin\", or \".nrg\"); Joliet names are shown when the image has them. Prints the path\n"
         "of every file, one per line, names in UTF-8 joined with \"\\\". --long prints folders\n"
         "too, as tab-separated columns: path, kind (file/dir), size.\n",
         {{"--long", false}},
         1,
         1,
         runList},
        {"disc",
         "extract",
         "disc extract IMAGE -o DIR [PATH...]",
         "extract files from a disc image",
         "Writes every file and folder of the image, or only the files at the given PATHs (any\n"
         "letter case, \"/\" or \"\\\" between names), below DIR, with UTF-8 host names. Entries\n"
         "that cannot be read are reported and passed over; the exit code is then 1.\n",
         {{"-o", true}},
         1,
         SIZE_MAX,
         runExtract},
    };
}
