#pragma once

#include "Clock.h"
#include "PowerOff.h"
#include "SettingsStore.h"

#include <functional>

namespace lumivar::ui {

/// What the main window needs beyond its window system: the wall clock, the
/// power-off action and the settings file. Injected so tests can drive time
/// and nothing is ever powered off by a test.
struct MainWindowServices {
    const Clock& clock;
    PowerOff& powerOff;
    const SettingsStore& settings;
    /// Called with the clock reading of every schedule tick, before the tick
    /// acts on it; empty unless someone wants to watch the ticks' timing.
    std::function<void(WallTime)> onScheduleTick = {};
};

} // namespace lumivar::ui
