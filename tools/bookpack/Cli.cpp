#include "Cli.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Progress.h"

namespace {

std::string commandName;

std::string errnoText() { return std::strerror(errno); }

// Writes all of data to a descriptor, riding over short writes and signals.
bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

} // namespace

std::string TArgs::Value(const std::string& name, const std::string& fallback) const {
    const auto it = options.find(name);
    return it == options.end() ? fallback : it->second;
}

const std::string& TArgs::Required(const std::string& name) const {
    const auto it = options.find(name);
    if (it == options.end()) throw UsageError("missing " + name);
    return it->second;
}

TArgs ParseArgs(const std::vector<std::string>& args, const std::vector<TOptionSpec>& spec) {
    TArgs out;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            out.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
        const std::string name = arg.substr(0, equals);
        const TOptionSpec* option = nullptr;
        for (const TOptionSpec& s : spec)
            if (s.name == name) option = &s;
        if (!option) throw UsageError("unknown option " + name);
        if (out.Has(name)) throw UsageError(name + " given twice");
        if (!option->takesValue) {
            if (equals != std::string::npos) throw UsageError(name + " takes no value");
            out.options[name] = "";
        } else if (equals != std::string::npos) {
            out.options[name] = arg.substr(equals + 1);
        } else {
            if (i + 1 == args.size()) throw UsageError(name + " needs a value");
            out.options[name] = args[++i];
        }
    }
    return out;
}

void SetCommandName(std::string name) { commandName = std::move(name); }

void Report(std::string_view message) {
    ClearProgressLine();
    std::string line = "bookpack: ";
    if (!commandName.empty()) line += commandName + ": ";
    line += message;
    // A message is one line, whatever the names inside it hold.
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    line += '\n';
    std::fputs(line.c_str(), stderr);
}

std::string Quoted(std::string_view path) { return "\"" + std::string(path) + "\""; }

void RequireInputFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) throw Failure("cannot open " + Quoted(path) + ": " + errnoText());
    if (S_ISDIR(st.st_mode)) throw Failure("cannot open " + Quoted(path) + ": it is a folder");
    if (!S_ISREG(st.st_mode)) throw Failure("cannot open " + Quoted(path) + ": not a regular file");
    if (::access(path.c_str(), R_OK) != 0) throw Failure("cannot open " + Quoted(path) + ": " + errnoText());
}

std::string ReadInputFile(const std::string& path) {
    RequireInputFile(path);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw Failure("cannot open " + Quoted(path) + ": " + errnoText());
    std::string data;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const std::string why = errnoText();
            ::close(fd);
            throw Failure("cannot read " + Quoted(path) + ": " + why);
        }
        data.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return data;
}

void WriteFileAtomically(const std::string& path, std::string_view data) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp = folder + "." + base + ".tmp-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) throw Failure("cannot write " + Quoted(path) + ": " + errnoText());
    // mkstemp makes the file private; give it the mode a plain create would.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    bool ok = ::fchmod(fd, 0666 & ~mask) == 0 && writeAll(fd, data) && ::fsync(fd) == 0;
    std::string why = ok ? "" : errnoText();
    if (::close(fd) != 0 && ok) {
        ok = false;
        why = errnoText();
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        why = errnoText();
    }
    if (!ok) {
        ::unlink(temp.c_str());
        throw Failure("cannot write " + Quoted(path) + ": " + why);
    }
}

void WriteStdout(std::string_view data) {
    if (!writeAll(STDOUT_FILENO, data)) throw Failure("cannot write to standard output: " + errnoText());
}

uint32_t SeedOption(const TArgs& args) {
    if (!args.Has("--seed")) {
        const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
        return static_cast<uint32_t>(ticks ^ (ticks >> 32));
    }
    const std::string text = args.Value("--seed");
    uint32_t seed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw UsageError("--seed wants a whole number from 0 to 4294967295, not " + Quoted(text));
    return seed;
}
