#include "app/SuperTicker.h"

#include "app/SuperTimer.h"

namespace {

class TSuperTicker : public ITicker {
public:
    TSuperTicker(uint16_t intervalMs, TTickHandler onTick) {
        timer_.SetInterval(intervalMs);
        timer_.SetPriority(TThreadPriority::tpHighest);
        timer_.OnTimer = [onTick = std::move(onTick)](TSuperTimer* sender) { onTick(sender->TickCount()); };
    }
    void SetEnabled(bool on) override { timer_.SetEnabled(on); }

private:
    TSuperTimer timer_;
};

} // namespace

TTickerFactory SuperTimerTickers() {
    return [](uint16_t intervalMs, TTickHandler onTick) -> std::unique_ptr<ITicker> {
        return std::make_unique<TSuperTicker>(intervalMs, std::move(onTick));
    };
}
