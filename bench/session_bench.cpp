// Start-up to the first paint on the screen, in the desktop session BOOKSHELL_SESSION names: the
// skinned window of the sample book made, shown and painted once the window system exposed it.
// bench/session_ratio.sh runs it under Xvfb and under a headless weston in turn and gives the ratio.
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QEvent>

#include "BenchApplication.h"
#include "app/MainForm.h"
#include "base/GlobalPaths.h"
#include "packs/PackFile.h"
#include "platform/InstanceLock.h"

namespace {

struct TPaintSeen : QObject {
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return false;
    }
};

void BM_SessionStartupToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        TInstanceLock lock;
        auto form = std::make_unique<TMainForm>(SAMPLE_RUN, TCommandLine{}, lock);
        TPaintSeen seen;
        form->installEventFilter(&seen);
        form->show();
        QElapsedTimer limit;
        limit.start();
        while (!seen.painted && limit.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        state.PauseTiming();
        form.reset();
        ClosePack();
        StartState() = TStartState{};
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SessionStartupToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    TBenchApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
