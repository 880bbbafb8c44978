#pragma once

#include "Clock.h"

#include <chrono>
#include <functional>

namespace lumivar {

/// How far past each wall-clock second boundary a tick is aimed: enough that
/// timer rounding or a slewed clock cannot land it in the second before, and
/// little enough that the tick still reads as "at" the second.
inline constexpr std::chrono::milliseconds kWallSecondLead{5};

/// Time from `now` until `lead` past the next wall-clock second boundary,
/// rounded up to whole milliseconds so that a timer never aims short of it.
std::chrono::milliseconds DelayUntilNextSecond(WallTime now,
                                               std::chrono::milliseconds lead = kWallSecondLead);

/// The decisions behind a timer that ticks once in every wall-clock second:
/// free of any timer, so that early, late and jumping deliveries can be
/// checked with made-up times.
class WallSecondPacer {
public:
    struct Step {
        bool tick = false;
        std::chrono::milliseconds nextDelay{0};
    };

    /// Begins pacing at `now`; returns the delay of the first delivery. The
    /// first tick falls in a later second than `now`.
    std::chrono::milliseconds Start(WallTime now);

    /// A timer delivery at `now`: whether to tick, and when to aim the next
    /// delivery. Never ticks twice within one wall-clock second; a delivery
    /// late past a boundary ticks once for the second it lands in.
    Step Deliver(WallTime now);

    /// The same, as every timer takes it: re-aims the timer through `aim`
    /// first, then says whether to tick, so that a stop from inside the tick
    /// has the last word.
    bool Deliver(WallTime now, const std::function<void(std::chrono::milliseconds)>& aim);

private:
    std::chrono::seconds m_lastSecond{0}; // the second last ticked (or started) in
};

} // namespace lumivar
