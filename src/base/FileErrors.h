#pragma once
// Exceptions of file access. Callers that read disc files catch EFOpenError for "not there or
// not readable"; EInOutError is the bundle's input/output failure.
#include <stdexcept>
#include <string>

struct EFileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A file that cannot be opened: missing in the pack and on disk, unreadable, or damaged.
struct EFOpenError : EFileError {
    using EFileError::EFileError;
};

// A read that failed or ran past the end of a file.
struct EInOutError : EFileError {
    using EFileError::EFileError;
};

// A malformed number where the format requires one.
struct EConvertError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
