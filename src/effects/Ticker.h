#pragma once
// What drives a fade. A ticker calls its handler on the window thread once per interval with the
// number of ticks since it was last enabled (1, 2, …); disabling it drops a tick already on its
// way. The owner of an effect hands it a factory, so effects know no timer of the program.
// Window thread only.
#include <cstdint>
#include <functional>
#include <memory>

class ITicker {
public:
    virtual ~ITicker() = default;
    virtual void SetEnabled(bool on) = 0;
};

using TTickHandler = std::function<void(uint32_t tick)>;
// Makes one effect's ticker: a tick every intervalMs, at the priority fades need.
using TTickerFactory = std::function<std::unique_ptr<ITicker>(uint16_t intervalMs, TTickHandler onTick)>;
