// The sample disc read from its ISO image against the same disc as a folder: start-up to the
// first paint in the same run, and the opening of an image, whose cost must not grow with the
// image's size (only its directory is read): the sample image against a 600 MB one made here
// (the sample image padded with a sparse tail in the temporary folder, removed at the end).
// Run: build/bench/image_bench (offscreen; uses private runtime, settings and cache folders).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>

#include "BenchApplication.h"
#include "FirstPaint.h"
#include "app/DiscImageOption.h"
#include "app/MainForm.h"
#include "base/GlobalPaths.h"
#include "packs/BookFiles.h"
#include "packs/IsoImage.h"
#include "packs/PackFile.h"
#include "platform/InstanceLock.h"

namespace fs = std::filesystem;

namespace {

const fs::path& bigImage() {
    static const fs::path path = fs::temp_directory_path() / "bookshell-image-bench-600mb.iso";
    return path;
}

void firstPaint(benchmark::State& state, bool fromImage) {
    for (auto _ : state) {
        std::string folder = SAMPLE_RUN;
        if (fromImage) folder = DiscFolderOf(SAMPLE_ISO).value_or("");
        else BookFiles().SetImage(nullptr);
        TimeFirstPaint(state, folder);
    }
}

void BM_FirstPaintFromFolder(benchmark::State& state) { firstPaint(state, false); }
void BM_FirstPaintFromImage(benchmark::State& state) { firstPaint(state, true); }
BENCHMARK(BM_FirstPaintFromFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstPaintFromImage)->Unit(benchmark::kMillisecond);

void openImage(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        const auto image = TIsoImage::Open(path);
        benchmark::DoNotOptimize(image->Count());
    }
    state.counters["image_MB"] = static_cast<double>(fs::file_size(path)) / (1 << 20);
}

void BM_OpenSampleImage(benchmark::State& state) { openImage(state, SAMPLE_ISO); }
void BM_Open600MBImage(benchmark::State& state) { openImage(state, bigImage().string()); }
BENCHMARK(BM_OpenSampleImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open600MBImage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    TBenchApplication app(argc, argv);
    qputenv("XDG_CACHE_HOME", (fs::temp_directory_path() / "bookshell-image-bench-cache").string().c_str());
    fs::copy_file(SAMPLE_ISO, bigImage(), fs::copy_options::overwrite_existing);
    fs::resize_file(bigImage(), 600ull << 20);  // a sparse tail: no 600 MB are written
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::error_code ec;
    fs::remove(bigImage(), ec);
    fs::remove_all(fs::temp_directory_path() / "bookshell-image-bench-cache", ec);
    return 0;
}
