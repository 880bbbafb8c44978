// The Linux program: the command line, the display, then the application on
// the Qt host with the real clock, settings file, power-off and idle-sleep hold.
#include "CommandLine.h"
#include "DesktopIdleSleepInhibitor.h"
#include "DisplayEnvironment.h"
#include "DryRunPowerOff.h"
#include "LogindPowerOff.h"
#include "LumivarApp.h"
#include "QtApplicationHost.h"
#include "ResourceIds.h"
#include "ResourceImages.h"
#include "SettingsStore.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::string_view kNoDisplay =
    "lumivar: there is no graphical display (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
    "Start it from a desktop session, or give it a virtual display: xvfb-run lumivar\n";

// One line per schedule tick, in the dry-run line's form, so that a tick's
// lateness and any skipped or repeated second can be read off the output.
void TraceTick(lumivar::WallTime time) {
    std::cerr << "tick " << lumivar::FormatTimeOfDay(time) << '\n' << std::flush;
}

} // namespace

int main(int argc, char* argv[]) {
    using namespace lumivar;
    const std::vector<std::string> args(argv, argv + argc);

    const CommandLineResult command = ParseCommandLine(args, kQtApplicationOptions);
    if (command.exitCode) {
        (command.channel == OutputChannel::Error ? std::cerr : std::cout)
            << command.text << std::flush;
        return *command.exitCode;
    }

    switch (qt::ChooseDisplay(qt::ReadDisplayEnvironment(args))) {
    case qt::DisplayChoice::NoDisplay:
        std::cerr << kNoDisplay;
        return 1;
    case qt::DisplayChoice::UseXcb:
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        break;
    case qt::DisplayChoice::AsGiven:
        break;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumivar"));
    QApplication::setDesktopFileName(QStringLiteral("lumivar"));
    QApplication::setWindowIcon(qt::LoadIconResource(IDI_LUMIVAR));
    // Hiding the window behind its tray icon must not end the program: only
    // the end of the main window's run does.
    QApplication::setQuitOnLastWindowClosed(false);

    const SystemClock clock;
    std::unique_ptr<PowerOff> powerOff;
    if (command.options.dryRun)
        powerOff = std::make_unique<DryRunPowerOff>(clock, std::cerr);
    else
        powerOff = std::make_unique<qt::LogindPowerOff>();
    const SettingsStore settings;
    // Also in a dry run: a sleeping machine misses the target second either way.
    qt::DesktopIdleSleepInhibitor idleSleep;
    ui::MainWindowServices services{clock, *powerOff, settings, &idleSleep};
    if (command.options.traceTicks)
        services.onScheduleTick = TraceTick;

    qt::QtApplicationHost host;
    CLumivarApp app(host, services);
    app.InitInstance();
    return 0;
}
