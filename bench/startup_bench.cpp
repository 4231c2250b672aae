// Start-up on the sample book: the first half (paths, pack, guard, bundle, window keys, the
// instance lock) and the whole skinned window up to its first paint.
// Run: build/bench/startup_bench (offscreen; uses private runtime and settings folders).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "BenchApplication.h"
#include "FirstPaint.h"
#include "app/MainForm.h"
#include "html/HtmlFrame.h"
#include "base/GlobalPaths.h"
#include "packs/PackFile.h"
#include "platform/InstanceLock.h"

namespace {

void BM_StartupToFirstPass(benchmark::State& state) {
    for (auto _ : state) {
        TInstanceLock lock;
        const TStartResult result = RunStartup(SAMPLE_RUN, TCommandLine{}, [](const std::string&) {}, lock);
        benchmark::DoNotOptimize(result.keys.title);
        state.PauseTiming();
        ClosePack();
        StartState() = TStartState{};
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToFirstPass)->Unit(benchmark::kMillisecond);

void BM_StartupToFirstPaint(benchmark::State& state) {
    for (auto _ : state) TimeFirstPaint(state, SAMPLE_RUN);
}
BENCHMARK(BM_StartupToFirstPaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    TBenchApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
