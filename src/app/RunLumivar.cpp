#include "RunLumivar.h"

#include "DryRunPowerOff.h"
#include "LumivarApp.h"
#include "SettingsStore.h"

#include <iostream>

namespace lumivar {
namespace {

// One line per schedule tick, in the dry-run line's form, so that a tick's
// lateness and any skipped or repeated second can be read off the output.
void TraceTick(WallTime time) {
    std::cerr << "tick " << FormatTimeOfDay(time) << '\n' << std::flush;
}

} // namespace

int RunLumivar(ui::ApplicationHost& host, const CommandLineOptions& options,
               const PlatformServices& platform) {
    const SystemClock clock;
    std::unique_ptr<PowerOff> powerOff;
    if (options.dryRun)
        powerOff = std::make_unique<DryRunPowerOff>(clock, std::cerr);
    else
        powerOff = platform.makePowerOff();
    const SettingsStore settings;
    // Held in a dry run too: a sleeping machine misses the target second either way.
    ui::MainWindowServices services{clock, *powerOff, settings, &platform.idleSleep};
    if (options.traceTicks)
        services.onScheduleTick = TraceTick;
    services.dryRun = options.dryRun;

    CLumivarApp app(host, services);
    app.InitInstance();
    if (!app.MainWindowFailed())
        return 0;
    platform.reportError("The main window could not be created.");
    return 1;
}

} // namespace lumivar
