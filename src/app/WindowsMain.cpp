// The Windows program: the command line, then the application on the Win32
// host with the real clock, settings file and power-off.
#include "CommandLine.h"
#include "DryRunPowerOff.h"
#include "LumivarApp.h"
#include "SettingsStore.h"
#include "Utf16.h"
#include "Win32ApplicationHost.h"
#include "Win32IdleSleepInhibitor.h"
#include "Win32PowerOff.h"

#include <shellapi.h>

#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Arguments() {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!argv)
        return args;
    for (int i = 0; i < count; ++i)
        args.push_back(lumivar::win32::NarrowUtf8(argv[i]));
    ::LocalFree(argv);
    return args;
}

// A GUI program typed at a command prompt starts with no standard error, and
// its lines would be lost: they go to that prompt's console instead. A
// standard error the program was given (a redirected file) stays as it is.
void ErrorsToParentConsole() {
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (error && error != INVALID_HANDLE_VALUE)
        return;
    // Access denied: attached already, as Wine attaches a GUI program to the
    // console of the program that started it.
    if (!::AttachConsole(ATTACH_PARENT_PROCESS) && ::GetLastError() != ERROR_ACCESS_DENIED)
        return;
    // Every line goes through std::cerr, so that is what is pointed at the
    // console: C's stderr cannot be reopened everywhere (Wine's runtime
    // refuses a stream that never had a handle). Never freed, since std::cerr
    // is flushed once more at exit.
    auto* console = new std::ofstream("CONOUT$");
    if (*console)
        std::cerr.rdbuf(console->rdbuf());
}

} // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    using namespace lumivar;
    const std::vector<std::string> args = Arguments();

    // A GUI program has no console to print to: the help, the version and
    // command-line errors go into a box.
    const CommandLineResult command = ParseCommandLine(args);
    if (command.exitCode) {
        const UINT icon =
            command.channel == OutputChannel::Error ? MB_ICONERROR : MB_ICONINFORMATION;
        ::MessageBoxW(nullptr, win32::WidenUtf8(command.text).c_str(), L"Lumivar", MB_OK | icon);
        return *command.exitCode;
    }

    if (command.options.dryRun || command.options.traceTicks)
        ErrorsToParentConsole();

    const SystemClock clock;
    std::unique_ptr<PowerOff> powerOff;
    if (command.options.dryRun)
        powerOff = std::make_unique<DryRunPowerOff>(clock, std::cerr);
    else
        powerOff = std::make_unique<win32::Win32PowerOff>();
    const SettingsStore settings;
    win32::Win32IdleSleepInhibitor idleSleep;
    ui::MainWindowServices services{clock, *powerOff, settings, &idleSleep};
    // --trace-ticks: one line per schedule tick on standard error, for
    // checking that no wall-clock second is skipped or visited twice.
    if (command.options.traceTicks)
        services.onScheduleTick = [](WallTime time) {
            std::cerr << "tick " << FormatTimeOfDay(time) << '\n' << std::flush;
        };

    win32::Win32ApplicationHost host;
    CLumivarApp app(host, services);
    app.InitInstance();
    return 0;
}
