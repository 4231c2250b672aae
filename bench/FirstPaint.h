#pragma once
// One timed start of the skinned window on a disc folder up to its first paint; the window, the
// pack and the start-up state are undone outside the timing.
#include <benchmark/benchmark.h>

#include <QPixmap>
#include <memory>
#include <string>

#include "app/MainForm.h"
#include "base/GlobalPaths.h"
#include "packs/PackFile.h"
#include "platform/InstanceLock.h"

inline void TimeFirstPaint(benchmark::State& state, const std::string& folder) {
    TInstanceLock lock;
    auto form = std::make_unique<TMainForm>(folder, TCommandLine{}, lock);
    const QPixmap face = form->grab();  // renders the window as its first paint does
    benchmark::DoNotOptimize(face.cacheKey());
    state.PauseTiming();
    form.reset();
    ClosePack();
    StartState() = TStartState{};
    state.ResumeTiming();
}
