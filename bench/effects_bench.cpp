// One blend step of the window cross-fade over an 800×600 window, beside a plain copy of the same
// bytes: the blend has to fit well inside the effect's 1 ms tick.
#include "effects/FastBMP.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

void Fill(TFastBMP& bmp, int seed) {
    bmp.SetSize(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int i = 0; i < kWidth * 3; ++i) bmp.Row(y)[i] = static_cast<uint8_t>(i * 7 + y * seed);
}

void BM_Blend800x600(benchmark::State& state) {
    TFastBMP background, image, frame;
    Fill(background, 3);
    Fill(image, 11);
    int level = 0;
    for (auto _ : state) {
        frame.Blend(background, image, level);
        level = (level + 5) % 256;
        benchmark::DoNotOptimize(frame.Row(0));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * 3 * kHeight);
}
BENCHMARK(BM_Blend800x600)->Unit(benchmark::kMicrosecond);

void BM_Memcpy800x600(benchmark::State& state) {
    TFastBMP source, target;
    Fill(source, 3);
    target.SetSize(kWidth, kHeight);
    const size_t bytes = static_cast<size_t>(source.RowSize()) * kHeight;
    for (auto _ : state) {
        std::memcpy(target.Row(kHeight - 1), source.Row(kHeight - 1), bytes);  // stored row 0
        benchmark::DoNotOptimize(target.Row(0));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_Memcpy800x600)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
