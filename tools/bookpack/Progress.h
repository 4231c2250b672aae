#pragma once
// The progress line of long runs: one line on stderr, rewritten in place with "\r" and wiped
// at the end. Nothing is shown when stderr is not a terminal, so logs and pipes stay clean.
#include <chrono>
#include <cstddef>
#include <string>

class TProgress {
public:
    explicit TProgress(std::string label);
    ~TProgress();
    TProgress(const TProgress&) = delete;
    TProgress& operator=(const TProgress&) = delete;

    // Shows "label: done/total files"; redraws at most ten times a second.
    void Update(size_t done, size_t total);

private:
    std::string label_;
    bool enabled_;
    std::chrono::steady_clock::time_point last_{};
};

// Wipes the progress line if one is shown; messages call it before they print.
void ClearProgressLine();
