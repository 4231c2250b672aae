// bookpack: builds, lists, extracts and checks interface packs, configuration bundles and
// scrambled description files. Exit codes: 0 done, 1 the work failed, 2 a usage mistake.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "Cli.h"

#ifndef BOOKPACK_VERSION
#define BOOKPACK_VERSION "unknown"
#endif

namespace {

std::vector<TVerb> allVerbs() {
    std::vector<TVerb> verbs = PackVerbs();
    for (auto more : {BundleVerbs(), CfsVerbs(), DiscVerbs()}) verbs.insert(verbs.end(), more.begin(), more.end());
    return verbs;
}

// The verb list of "bookpack --help", or of one group ("bookpack pack --help").
std::string overview(const std::vector<TVerb>& verbs, const std::string& group) {
    std::string text = "usage: bookpack COMMAND ARGS...   (bookpack COMMAND --help tells more)\n\n";
    for (const TVerb& verb : verbs) {
        if (!group.empty() && group != verb.group) continue;
        char line[256];
        std::snprintf(line, sizeof line, "  %-18s %s\n", (std::string(verb.group) + " " + verb.name).c_str(), verb.summary);
        text += line;
    }
    if (group.empty()) text += "\n  --help             this list\n  --version          the version of bookpack\n";
    return text;
}

bool asksForHelp(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--") return false;
        if (arg == "--help" || arg == "-h") return true;
    }
    return false;
}

int usageError(const std::string& message) {
    Report(message);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::vector<TVerb> verbs = allVerbs();
    if (args.empty()) return usageError("missing command; \"bookpack --help\" lists them");
    if (args[0] == "--help" || args[0] == "-h") {
        std::fputs(overview(verbs, "").c_str(), stdout);
        return 0;
    }
    if (args[0] == "--version") {
        std::puts("bookpack " BOOKPACK_VERSION);
        return 0;
    }

    bool knownGroup = false;
    for (const TVerb& verb : verbs) knownGroup = knownGroup || args[0] == verb.group;
    if (!knownGroup) return usageError("unknown command " + Quoted(args[0]) + "; \"bookpack --help\" lists them");
    if (args.size() == 1 || args[1] == "--help" || args[1] == "-h") {
        if (args.size() == 1) return usageError("missing verb after " + Quoted(args[0]) + "; \"bookpack " + args[0] + " --help\" lists them");
        std::fputs(overview(verbs, args[0]).c_str(), stdout);
        return 0;
    }

    const TVerb* verb = nullptr;
    for (const TVerb& v : verbs)
        if (args[0] == v.group && args[1] == v.name) verb = &v;
    if (!verb) return usageError("unknown command " + Quoted(args[0] + " " + args[1]) + "; \"bookpack " + args[0] + " --help\" lists them");

    SetCommandName(args[0] + " " + args[1]);
    const std::vector<std::string> rest(args.begin() + 2, args.end());
    const std::string usage = std::string("usage: bookpack ") + verb->synopsis;
    if (asksForHelp(rest)) {
        std::printf("%s\n\n%s.\n%s", usage.c_str(), verb->summary, verb->details);
        return 0;
    }
    try {
        const TArgs parsed = ParseArgs(rest, verb->options);
        if (parsed.positional.size() < verb->minArgs) throw UsageError("missing arguments");
        if (parsed.positional.size() > verb->maxArgs) throw UsageError("too many arguments");
        return verb->run(parsed);
    } catch (const UsageError& e) {
        return usageError(std::string(e.what()) + " (" + usage + ")");
    } catch (const std::exception& e) {
        Report(e.what());
        return 1;
    }
}
