#include "Progress.h"

#include <cstdio>
#include <utility>
#include <unistd.h>

namespace {
// Width of the progress line now on the terminal, 0 when none is shown.
size_t shownWidth = 0;
} // namespace

void ClearProgressLine() {
    if (shownWidth == 0) return;
    std::fprintf(stderr, "\r%*s\r", static_cast<int>(shownWidth), "");
    std::fflush(stderr);
    shownWidth = 0;
}

TProgress::TProgress(std::string label) : label_(std::move(label)), enabled_(::isatty(STDERR_FILENO) == 1) {}

TProgress::~TProgress() { ClearProgressLine(); }

void TProgress::Update(size_t done, size_t total) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (done != total && now - last_ < std::chrono::milliseconds(100)) return;
    last_ = now;
    const std::string text = label_ + ": " + std::to_string(done) + "/" + std::to_string(total) + " files";
    // Pad with spaces so a shorter line covers the previous one.
    const int pad = shownWidth > text.size() ? static_cast<int>(shownWidth - text.size()) : 0;
    std::fprintf(stderr, "\r%s%*s", text.c_str(), pad, "");
    std::fflush(stderr);
    shownWidth = text.size() + static_cast<size_t>(pad);
}
