// The Linux program: the command line, the display, the one copy per session,
// then the program's run on the Qt host with logind's power-off and the
// desktop's idle-sleep hold.
#include "CommandLine.h"
#include "DesktopIdleSleepInhibitor.h"
#include "DisplayEnvironment.h"
#include "LogindPowerOff.h"
#include "QtApplicationHost.h"
#include "ResourceIds.h"
#include "ResourceImages.h"
#include "RunLumivar.h"
#include "SessionHandOver.h"
#include "SessionInstance.h"
#include "SettingsStore.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// A word as the shell takes it back: quoted unless it is plainly safe.
std::string ShellWord(const std::string& word) {
    if (!word.empty() &&
        word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                               "0123456789/._-=+:,@%") == std::string::npos)
        return word;
    std::string quoted = "'";
    for (const char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The command line as it was given, so that it works from where the user is:
// the path scripts/run.sh starts, or the name on the PATH of an installed copy.
std::string NoDisplayMessage(const std::vector<std::string>& args) {
    std::string command = "xvfb-run -a";
    for (const std::string& arg : args)
        command.append(" ").append(ShellWord(arg)); // not " " + word: GCC 12 -O3 -Wrestrict
    return "lumivar: there is no graphical display (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
           "Start it from a desktop session, or give it a virtual display (xvfb-run is in the "
           "xvfb package):\n    " +
           command + "\n";
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

    // Read before Qt takes the startup id out of the environment.
    const ui::StartRequest thisStart{command.options.dryRun, SettingsPathInWorkingDirectory(),
                                     Variable("DESKTOP_STARTUP_ID"),
                                     Variable("XDG_ACTIVATION_TOKEN")};

    switch (qt::ChooseDisplay(qt::ReadDisplayEnvironment(args))) {
    case qt::DisplayChoice::NoDisplay:
        std::cerr << NoDisplayMessage(args);
        return 1;
    case qt::DisplayChoice::NoWaylandPlugin:
        std::cerr << "lumivar: this Wayland session has no X display (DISPLAY is not set) and "
                     "Qt's Wayland plugin is missing: install the qt6-wayland package, or turn "
                     "XWayland on.\n";
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

    qt::QtApplicationHost host;
    // Started again in the same session: the running copy's window comes
    // forward, and this start opens none.
    qt::SessionInstance instance(
        {[&host](const ui::StartRequest& other) { return host.AcceptsSecondStart(other); },
         [&host](const ui::StartRequest& other, bool sameRun) {
             host.SecondStart(other, sameRun);
         }});
    if (const std::optional<int> status =
            HandOverToRunningCopy(instance, thisStart, qt::AskRunAnother, std::cerr))
        return *status;

    qt::DesktopIdleSleepInhibitor idleSleep;
    const PlatformServices platform{
        [] { return std::make_unique<qt::LogindPowerOff>(); }, idleSleep,
        [](std::string_view text) { std::cerr << "lumivar: " << text << '\n'; }};
    return RunLumivar(host, command.options, platform);
}
