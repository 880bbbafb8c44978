#pragma once

#include "ApplicationHost.h"
#include "CommandLine.h"
#include "IdleSleepInhibitor.h"
#include "PowerOff.h"

#include <functional>
#include <memory>
#include <string_view>

namespace lumivar {

/// What each system gives the program's run.
struct PlatformServices {
    /// Makes the system's power-off; a dry run never asks for it.
    std::function<std::unique_ptr<PowerOff>()> makePowerOff;
    /// Holds idle sleep off while a schedule is armed.
    IdleSleepInhibitor& idleSleep;
    /// Tells the user why the program could not run (one sentence).
    std::function<void(std::string_view)> reportError;
};

/// The program's run once its command line is read: the clock, the
/// power-off (only reported, in a dry run), the settings file and, if asked,
/// a line per schedule tick; then the application on `host`. Returns the
/// process's exit code: 0, or 1 when the main window could not be created.
int RunLumivar(ui::ApplicationHost& host, const CommandLineOptions& options,
               const PlatformServices& platform);

} // namespace lumivar
