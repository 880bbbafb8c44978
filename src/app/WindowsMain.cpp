// The Windows program: the command line, the one copy per session, then the
// program's run on the Win32 host with the system's power-off and idle-sleep
// hold.
#include "CommandLine.h"
#include "RunLumivar.h"
#include "SessionHandOver.h"
#include "SettingsStore.h"
#include "UiTexts.h"
#include "Utf16.h"
#include "Win32ApplicationHost.h"
#include "Win32IdleSleepInhibitor.h"
#include "Win32PowerOff.h"
#include "Win32SessionCopy.h"

#include <shellapi.h>

#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
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

// A GUI program has no console to print to: what the user must read goes
// into a box.
void ShowBox(std::string_view text, UINT icon) {
    ::MessageBoxW(nullptr, lumivar::win32::WidenUtf8(text).c_str(), L"Lumivar", MB_OK | icon);
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

bool AskRunAnother() {
    using namespace lumivar;
    return ::MessageBoxW(nullptr, win32::WidenUtf8(ui::texts::kRunningCopyNoAnswer).c_str(),
                         win32::WidenUtf8(ui::texts::kNoticeCaption).c_str(),
                         MB_YESNO | MB_ICONQUESTION) == IDYES;
}

} // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    using namespace lumivar;
    const std::vector<std::string> args = Arguments();

    // The help, the version and command-line errors, set out for a box.
    const CommandLineResult command = ParseCommandLine(args, {}, HelpLayout::Stacked);
    if (command.exitCode) {
        ShowBox(command.text,
                command.channel == OutputChannel::Error ? MB_ICONERROR : MB_ICONINFORMATION);
        return *command.exitCode;
    }

    // --dry-run and --trace-ticks write their lines on standard error, and
    // so does a start that does not run beside a running copy.
    ErrorsToParentConsole();

    // Started again in the same session: the running copy's window comes
    // forward, and this start opens none.
    win32::Win32SessionCopy copy;
    const ui::StartRequest thisStart{
        command.options.dryRun, SettingsPathInWorkingDirectory(), {}, {}};
    if (const std::optional<int> status =
            HandOverToRunningCopy(copy, thisStart, AskRunAnother, std::cerr))
        return *status;

    win32::Win32IdleSleepInhibitor idleSleep;
    const PlatformServices platform{[] { return std::make_unique<win32::Win32PowerOff>(); },
                                    idleSleep,
                                    [](std::string_view text) { ShowBox(text, MB_ICONERROR); }};
    win32::Win32ApplicationHost host;
    return RunLumivar(host, command.options, platform);
}
