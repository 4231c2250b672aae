#include "app/CommandLine.h"

#include <cctype>

#include "base/Cp1251.h"

const char* const kUsage =
    "Usage: bookshell [--disc DIR] [--drive LETTER] [--verbose] [--trust] [PAGE /t | FILE [/h]]\n"
    "Opens a reference book from its disc folder.\n"
    "  --disc DIR|IMAGE the disc's program folder (holding interface.dat and Zaz.dhl), the disc\n"
    "                   folder above it, or an image of the disc (.iso, .mdf, .bin/.cue, .nrg),\n"
    "                   read in place; default: this program's folder when it holds Zaz.dhl,\n"
    "                   else a book on a mounted disc (a list to choose from when there are\n"
    "                   several), else the sample book\n"
    "  --drive LETTER   the drive letter the book sees its disc as (default d)\n"
    "  --command TEXT   run a book command after start-up, as a key does (repeatable),\n"
    "                   for example --command 2 for the second screen\n"
    "  --screenshot FILE  save the screen as a PNG picture after the commands, then exit\n"
    "                   (the window alone where the screen cannot be grabbed)\n"
    "  --verbose        tell on stderr why a page, picture or entry was not found or was rejected\n"
    "  --trust          start the book's programs without asking first (still only on a click\n"
    "                   or a --command)\n"
    "  --help           show this help\n"
    "  --version        show the version\n"
    "  PAGE /t          open the thesaurus window on PAGE\n"
    "  FILE [/h]        open the standard window on FILE (/h: help only)\n";

std::string TCommandLine::RawCommandLine() const {
    std::string raw;
    for (const auto& arg : bookArgs) {
        if (!raw.empty()) raw += ' ';
        raw += arg;
    }
    return raw;
}

TCommandLine ParseCommandLine(const std::vector<std::string>& argsUtf8) {
    TCommandLine line;
    auto fail = [&](const std::string& message) {
        if (line.error.empty()) line.error = message;
    };
    for (size_t i = 0; i < argsUtf8.size(); ++i) {
        const std::string& arg = argsUtf8[i];
        if (arg.rfind("--", 0) != 0 || arg.size() == 2) {
            line.bookArgs.push_back(Cp1251::fromUtf8(arg));
            continue;
        }
        const size_t eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        std::optional<std::string> value;
        if (eq != std::string::npos) value = arg.substr(eq + 1);
        const bool takesValue = name == "--disc" || name == "--drive" || name == "--command" || name == "--screenshot";
        if (takesValue && !value) {
            if (i + 1 >= argsUtf8.size()) {
                fail(name + " needs a value");
                continue;
            }
            value = argsUtf8[++i];
        }
        if (name == "--help") line.help = true;
        else if (name == "--verbose") line.verbose = true;
        else if (name == "--trust") line.trust = true;
        else if (name == "--version") line.version = true;
        else if (name == "--disc") line.discDir = *value;
        else if (name == "--command") line.commands.push_back(Cp1251::fromUtf8(*value));
        else if (name == "--screenshot") line.screenshot = *value;
        else if (name == "--drive") {
            const std::string& d = *value;
            if ((d.size() == 1 || (d.size() == 2 && d[1] == ':')) && std::isalpha(static_cast<unsigned char>(d[0])))
                line.drive = static_cast<char>(std::tolower(static_cast<unsigned char>(d[0])));
            else
                fail("--drive needs a letter, not \"" + d + "\"");
        } else {
            fail("unknown option " + name);
        }
    }
    return line;
}

namespace {

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Takes every standing-alone word out of text; true when there was one.
bool TakeWord(std::string& text, const std::string& word) {
    bool found = false;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at)) {
        const size_t end = at + word.size();
        if ((at == 0 || text[at - 1] == ' ') && (end == text.size() || text[end] == ' ')) {
            text.erase(at, word.size());
            found = true;
        } else {
            at = end;
        }
    }
    return found;
}

} // namespace

RBookArguments ReadBookArguments(const TCommandLine& line) {
    std::string text;
    for (const char c : line.RawCommandLine())
        if (c != '"') text += c;
    RBookArguments arguments;
    arguments.helpOnly = TakeWord(text, "/h");
    arguments.thesaurus = TakeWord(text, "/t");
    arguments.file = Trimmed(text);
    return arguments;
}

TStartMode ChooseStartMode(const TCommandLine& line) {
    if (ReadBookArguments(line).thesaurus) return TStartMode::Thesaurus;
    if (!line.bookArgs.empty()) return TStartMode::Standard;
    return TStartMode::Shell;
}
