#pragma once
// The program's command line: its own long options come first and are removed; what remains
// are the book's arguments (a page with "/t" for the thesaurus window, a file for the standard
// window, " /h" for help only).
#include <optional>
#include <string>
#include <vector>

struct TCommandLine {
    std::string discDir;   // --disc DIR (host path, UTF-8)
    char drive = 'd';      // --drive LETTER
    bool help = false;     // --help
    bool version = false;  // --version
    bool verbose = false;  // --verbose: why files and entries were not found or rejected, on stderr
    bool trust = false;    // --trust: programs of the book start without the question
    std::vector<std::string> commands;  // --command TEXT, CP1251, run after start-up in order
    std::string screenshot;             // --screenshot FILE (host path): save the window and exit
    std::vector<std::string> bookArgs;  // CP1251
    std::string error;     // a malformed option, for one line on stderr

    // The book's arguments joined by spaces: the text the start mode is chosen from. The
    // program's own path is left out, since a host path is full of "/".
    std::string RawCommandLine() const;
};

TCommandLine ParseCommandLine(const std::vector<std::string>& argsUtf8);

// The book's arguments as the windows read them: every double quote removed, blanks trimmed, the
// words "/h" (help only) and "/t" (thesaurus window) taken out; what remains is the file to show.
// The words count only standing alone, so a host path such as "/tmp/a.bmp" is a file.
struct RBookArguments {
    std::string file;  // CP1251
    bool helpOnly = false;
    bool thesaurus = false;
};
RBookArguments ReadBookArguments(const TCommandLine& line);

enum class TStartMode { Shell, Thesaurus, Standard };
// "/t" starts the thesaurus window; any other argument the standard window; none the skinned
// shell.
TStartMode ChooseStartMode(const TCommandLine& line);

extern const char* const kUsage;
