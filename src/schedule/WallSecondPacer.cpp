#include "WallSecondPacer.h"

namespace lumivar {
namespace {

std::chrono::seconds SecondOf(WallTime time) {
    // floor, not a cast: a cast would put times before 1970 in the wrong second
    return std::chrono::floor<std::chrono::seconds>(time.time_since_epoch());
}

} // namespace

std::chrono::milliseconds DelayUntilNextSecond(WallTime now, std::chrono::milliseconds lead) {
    const auto aim = SecondOf(now) + std::chrono::seconds(1) + lead;
    return std::chrono::ceil<std::chrono::milliseconds>(aim - now.time_since_epoch());
}

std::chrono::milliseconds WallSecondPacer::Start(WallTime now) {
    m_lastSecond = SecondOf(now);
    return DelayUntilNextSecond(now);
}

WallSecondPacer::Step WallSecondPacer::Deliver(WallTime now) {
    const auto second = SecondOf(now);
    // Any other second ticks, also an earlier one after the clock was set back.
    const bool tick = second != m_lastSecond;
    if (tick)
        m_lastSecond = second;
    return {tick, DelayUntilNextSecond(now)};
}

bool WallSecondPacer::Deliver(WallTime now,
                              const std::function<void(std::chrono::milliseconds)>& aim) {
    const Step step = Deliver(now);
    aim(step.nextDelay);
    return step.tick;
}

} // namespace lumivar
