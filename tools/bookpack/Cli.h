#pragma once
// Plumbing shared by the bookpack verbs: the verb table, argument parsing, messages and the
// reading and writing of whole files.
#include <cstddef>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A mistake in the command line; bookpack exits with 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The work itself failed; bookpack exits with 1.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct TOptionSpec {
    std::string name;  // "-o", "--long"
    bool takesValue = false;
};

struct TArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;  // a flag without value maps to ""

    bool Has(const std::string& name) const { return options.count(name) != 0; }
    std::string Value(const std::string& name, const std::string& fallback = {}) const;
    // The value of an option the verb cannot do without; UsageError when it is absent.
    const std::string& Required(const std::string& name) const;
};

// Splits a verb's arguments into positional ones and the options of spec. "--" ends the
// options; "--name=value" is accepted for options with a value.
TArgs ParseArgs(const std::vector<std::string>& args, const std::vector<TOptionSpec>& spec);

struct TVerb {
    const char* group;     // "pack"
    const char* name;      // "build"
    const char* synopsis;  // "pack build DIR -o FILE"
    const char* summary;   // one line for "bookpack --help"
    const char* details;   // the rest of the verb's --help text
    std::vector<TOptionSpec> options;
    size_t minArgs = 0;
    size_t maxArgs = 0;
    int (*run)(const TArgs& args) = nullptr;
};

std::vector<TVerb> PackVerbs();
std::vector<TVerb> BundleVerbs();
std::vector<TVerb> CfsVerbs();
std::vector<TVerb> DiscVerbs();

// The verb being run ("pack list"); it prefixes every message.
void SetCommandName(std::string name);
// Prints "bookpack: <verb>: message" as one line on stderr, clearing any progress line first.
void Report(std::string_view message);

// A host path (or name) in double quotes, for messages.
std::string Quoted(std::string_view path);

// Throws Failure ("cannot open ...") unless path is a regular file that can be read.
void RequireInputFile(const std::string& path);
// The whole content of an input file; Failure when it cannot be read.
std::string ReadInputFile(const std::string& path);
// Writes data through a temporary file beside path and a rename, so a failure never leaves a
// half-written file and an existing file is replaced only by a complete one.
void WriteFileAtomically(const std::string& path, std::string_view data);
// Writes data to stdout; Failure on a write error.
void WriteStdout(std::string_view data);

// The --seed option, or a seed taken from the clock.
uint32_t SeedOption(const TArgs& args);
