// Checks every #include "..." of the source tree against the layer graph: a file may include
// headers of its own folder and of the folders its folder may use, directly or through another
// folder, and nothing else. An upward include of a header-only file links fine, so only this
// check sees it. It also checks that the layer comment of src/CMakeLists.txt draws the same
// graph as the data.
//   include_layers LAYERS CMAKELISTS ROOT [FOLDER...]
// LAYERS lists "folder: used folders" lines; ROOT is the tree the FOLDERs (default src) lie in.
// Folders under src are named by their path below src, others by their path below ROOT.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Graph = std::map<std::string, std::set<std::string>>;

struct RProblems {
    int Count = 0;
    void Report(const std::string& where, const std::string& what) {
        std::cerr << where << ": " << what << '\n';
        ++Count;
    }
};

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> Words(const std::string& text, char separator = ' ') {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; std::getline(in, word, separator);)
        if (auto trimmed = Trim(word); !trimmed.empty()) words.push_back(trimmed);
    return words;
}

// "folder: used folders", one folder a line; '#' starts a comment.
Graph ReadLayers(const fs::path& file, RProblems& problems) {
    Graph graph;
    std::ifstream in(file);
    if (!in) problems.Report(file.string(), "cannot be read");
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        line = Trim(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        const auto colon = line.find(':');
        const std::string where = file.string() + ":" + std::to_string(number);
        if (colon == std::string::npos) {
            problems.Report(where, "a line is \"folder: used folders\"");
            continue;
        }
        const std::string folder = Trim(line.substr(0, colon));
        if (graph.count(folder)) problems.Report(where, folder + " is listed twice");
        auto& used = graph[folder];
        for (const auto& name : Words(line.substr(colon + 1))) used.insert(name);
    }
    for (const auto& [folder, used] : graph)
        for (const auto& name : used)
            if (!graph.count(name)) problems.Report(file.string(), folder + " uses " + name + ", which is not listed");
    return graph;
}

// What each folder may include: its own folder and every folder it reaches.
Graph Reach(const Graph& graph) {
    Graph reach;
    for (const auto& [folder, used] : graph) {
        auto& seen = reach[folder];
        std::vector<std::string> open(used.begin(), used.end());
        while (!open.empty()) {
            const std::string next = open.back();
            open.pop_back();
            if (!seen.insert(next).second || !graph.count(next)) continue;
            for (const auto& further : graph.at(next)) open.push_back(further);
        }
        seen.insert(folder);
    }
    return reach;
}

// The comment's lines "#   a, b  <-  c  <-  d   (what they are)": c uses a and b, d uses c.
Graph ReadComment(const fs::path& file, const Graph& layers, RProblems& problems) {
    Graph graph;
    for (const auto& [folder, used] : layers) graph[folder];
    std::ifstream in(file);
    if (!in) problems.Report(file.string(), "cannot be read");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind('#', 0) != 0 || line.find("<-") == std::string::npos) continue;
        line = line.substr(1, line.find('(') - 1);
        std::vector<std::vector<std::string>> steps;
        for (std::size_t at = 0;;) {
            const auto arrow = line.find("<-", at);
            steps.push_back(Words(line.substr(at, arrow - at), ','));
            if (arrow == std::string::npos) break;
            at = arrow + 2;
        }
        for (std::size_t i = 1; i < steps.size(); ++i)
            for (const auto& user : steps[i])
                for (const auto& used : steps[i - 1]) graph[user].insert(used);
    }
    for (const auto& [folder, used] : graph)
        if (!layers.count(folder)) problems.Report(file.string(), "the layer comment names " + folder + ", which is not listed");
    return graph;
}

// The listed folder a path lies in: the longest listed folder it starts with.
std::string FolderOf(const std::string& path, const Graph& graph) {
    std::string best;
    for (const auto& [folder, used] : graph)
        if (path.rfind(folder + "/", 0) == 0 && folder.size() > best.size()) best = folder;
    return best;
}

std::string NameOf(const fs::path& file, const fs::path& root) {
    std::string name = fs::relative(file, root).generic_string();
    if (name.rfind("src/", 0) == 0) name = name.substr(4);
    return name;
}

void CheckFile(const fs::path& file, const fs::path& root, const Graph& reach, RProblems& problems) {
    const std::string name = NameOf(file, root);
    const std::string folder = FolderOf(name, reach);
    if (folder.empty()) {
        problems.Report(file.string(), "lies in no folder of the layer list");
        return;
    }
    static const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::ifstream in(file);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        std::smatch match;
        if (!std::regex_search(line, match, include)) continue;
        const std::string header = match[1];
        const std::string where = file.string() + ":" + std::to_string(number);
        if (header.find('/') == std::string::npos) {
            if (!fs::exists(file.parent_path() / header)) problems.Report(where, header + " is not beside it");
            continue;
        }
        const std::string used = FolderOf(header, reach);
        if (used.empty() || !fs::exists(root / "src" / header))
            problems.Report(where, header + " is no header of the source tree");
        else if (!reach.at(folder).count(used)) problems.Report(where, folder + " may not include " + header + " (" + used + ")");
    }
}

void CheckTree(const fs::path& top, const fs::path& root, const Graph& reach, RProblems& problems) {
    if (!fs::is_directory(top)) {
        problems.Report(top.string(), "is no folder");
        return;
    }
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(top)) {
        const auto extension = entry.path().extension();
        if (entry.is_regular_file() && (extension == ".cpp" || extension == ".h")) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) CheckFile(file, root, reach, problems);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: include_layers LAYERS CMAKELISTS ROOT [FOLDER...]\n";
        return 2;
    }
    RProblems problems;
    const Graph layers = ReadLayers(argv[1], problems);
    const Graph reach = Reach(layers);
    if (Reach(ReadComment(argv[2], layers, problems)) != reach)
        problems.Report(argv[2], "the layer comment draws another graph than " + std::string(argv[1]));
    const fs::path root = argv[3];
    std::vector<std::string> tops(argv + 4, argv + argc);
    if (tops.empty()) tops.push_back("src");
    for (const auto& top : tops) CheckTree(root / top, root, reach, problems);
    if (problems.Count) std::cerr << problems.Count << " problem(s)\n";
    return problems.Count ? 1 : 0;
}
