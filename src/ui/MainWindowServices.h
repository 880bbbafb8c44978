#pragma once

#include "Clock.h"
#include "IdleSleepInhibitor.h"
#include "PowerOff.h"
#include "SettingsStore.h"

#include <functional>
#include <iostream>

namespace lumivar::ui {

/// What the main window needs beyond its window system: the wall clock, the
/// power-off action, the settings file and the guard against idle sleep. Injected so tests can
/// drive time and nothing is ever powered off by a test.
struct MainWindowServices {
    const Clock& clock;
    PowerOff& powerOff;
    const SettingsStore& settings;
    /// Held while a schedule is armed; none where the system never sleeps.
    IdleSleepInhibitor* idleSleep = nullptr;
    /// Called with the clock reading of every schedule tick, before the tick
    /// acts on it; empty unless someone wants to watch the ticks' timing.
    std::function<void(WallTime)> onScheduleTick = {};
    /// Where the windows log what failed, one line each.
    std::ostream* errors = &std::cerr;
    /// A dry run: the power-off is only reported. The window says so.
    bool dryRun = false;
};

} // namespace lumivar::ui
