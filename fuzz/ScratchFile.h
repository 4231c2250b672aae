#pragma once
// The scratch file of a fuzz target whose reader only takes file paths: one per process, named
// after the target and rewritten for each input. libFuzzer ends the process without running exit
// handlers, so each run removes its file through a TScratchFile on its stack.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

class TScratchFile {
public:
    // Writes the input to /tmp/bookshell-fuzz-<stem>-<pid><extension>.
    TScratchFile(const char* stem, const char* extension, const uint8_t* data, size_t size)
        : path_("/tmp/bookshell-fuzz-" + std::string(stem) + "-" + std::to_string(::getpid()) + extension) {
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        written_ = f && std::fwrite(data, 1, size, f) == size;
        written_ = f && std::fclose(f) == 0 && written_;
    }
    ~TScratchFile() { std::remove(path_.c_str()); }
    TScratchFile(const TScratchFile&) = delete;
    TScratchFile& operator=(const TScratchFile&) = delete;

    const std::string& Path() const { return path_; }
    bool Written() const { return written_; }

private:
    std::string path_;
    bool written_ = false;
};
