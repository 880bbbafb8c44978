// Drives the real Lumivar.exe from outside, as a user would, for the
// end-to-end test: each command finds the program's windows, acts on them or
// checks them, prints what it saw and exits 0, or 1 on the first mismatch.
//
//   lumivar_driver startup WORK REST USER   the start-up state for mode 1006
//   lumivar_driver arm                      OK: hidden, 1 disabled, 7 enabled
//   lumivar_driver notice SECONDS           the countdown shows, centred, topmost
//   lumivar_driver restore                  the tray double-click brings it back, Enter
//                                           still means button 1
//   lumivar_driver forward                  after a second start: the window is back,
//                                           armed and in front; then to the tray
//   lumivar_driver exit                     WM_CLOSE, then Yes in the "提示" box
//   lumivar_driver where                    where the main window is (screenshots)
//   lumivar_driver console PROGRAM          started from a console with no standard
//                                           handles, --trace-ticks writes to that console
#include "MainDialogIds.h"

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <string>
#include <thread>
#include <utility>

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr wchar_t kMainTitle[] = L"Tarnholt定时关机管理程序";
constexpr UINT kTrayCallback = WM_USER + 1;
constexpr WPARAM kTrayIconId = 102;

int g_failures = 0;

void Check(bool condition, const char* what) {
    std::printf("%s %s\n", condition ? "ok  " : "FAIL", what);
    std::fflush(stdout); // a run cut short still shows how far it got
    if (!condition)
        ++g_failures;
}

bool WaitFor(const std::function<bool()>& condition, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<int>(seconds * 1000));
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

using WindowTest = std::function<bool(HWND)>;

BOOL CALLBACK StopAtMatch(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<std::pair<const WindowTest*, HWND>*>(param);
    if (!(*search.first)(window))
        return TRUE;
    search.second = window;
    return FALSE;
}

// The first top-level window that passes `test`; null if none does.
HWND FindTopLevel(const WindowTest& test) {
    std::pair<const WindowTest*, HWND> search{&test, nullptr};
    ::EnumWindows(StopAtMatch, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// A dry run's title says so after the program's name.
bool IsMainWindow(HWND window) {
    wchar_t title[64] = {};
    ::GetWindowTextW(window, title, 64); // a caption: no need to ask the program
    return ClassOf(window) == kDialogClass && std::wstring_view(title).starts_with(kMainTitle);
}

HWND MainWindow() {
    return FindTopLevel(IsMainWindow);
}

HWND Item(HWND dialog, int id) {
    return ::GetDlgItem(dialog, id);
}

// A question to the program's window that gives up when the program does not
// answer, instead of hanging the test with it.
LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT unanswered) {
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &answer)) {
        std::printf("     (window %p did not answer message 0x%x)\n", static_cast<void*>(window),
                    message);
        return unanswered;
    }
    return static_cast<LRESULT>(answer);
}

// WM_GETTEXT, not GetWindowText: for another process's window that reads
// only the caption the system keeps, never an edit control's text.
std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    Ask(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), 0);
    return text;
}

std::wstring WidenUtf8(const char* text) {
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

/// A picker's time as "HH:MM:SS". Its value is not its window text, and the
/// SYSTEMTIME that DTM_GETSYSTEMTIME fills must lie in the program's own
/// memory: borrow a little of it.
std::wstring PickerText(HWND picker) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(picker, &processId);
    const HANDLE process =
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process)
        return L"(no access)";
    void* remote = ::VirtualAllocEx(process, nullptr, sizeof(SYSTEMTIME), MEM_COMMIT | MEM_RESERVE,
                                    PAGE_READWRITE);
    SYSTEMTIME time{};
    LRESULT valid = GDT_NONE;
    if (remote) {
        valid = Ask(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(remote), GDT_NONE);
        ::ReadProcessMemory(process, remote, &time, sizeof(time), nullptr);
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    ::CloseHandle(process);
    if (valid != GDT_VALID)
        return L"(no time)";
    wchar_t text[16] = {};
    std::swprintf(text, 16, L"%02u:%02u:%02u", time.wHour, time.wMinute, time.wSecond);
    return text;
}

struct Expected {
    int id;
    const wchar_t* className;
    bool enabled;
    bool visible;
};

int Startup(HWND main, const char* work, const char* rest, const char* user) {
    // Start-up ends with the period in its edit; until then the controls
    // hold the template's state.
    Check(WaitFor([&] { return TextOf(Item(main, IDC_REFRESH_PERIOD)) == L"1000"; }, 10),
          "edit 1009 shows 1000");
    Check(::IsWindowVisible(main), "the main window is visible");
    // The program under test runs with --dry-run.
    Check(TextOf(main) == std::wstring(kMainTitle) + L" (试运行)",
          "its title says it is a dry run");
    const Expected table[] = {
        {IDC_MODE_WORK, L"Button", true, true},
        {IDC_MODE_REST, L"Button", true, true},
        {IDC_MODE_USER, L"Button", true, true},
        {IDC_TIME_WORK, L"SysDateTimePick32", false, true},
        {IDC_TIME_REST, L"SysDateTimePick32", false, true},
        {IDC_TIME_USER, L"SysDateTimePick32", true, true},
        {IDC_SET_DEFAULT_WORK, L"Button", false, true},
        {IDC_SET_DEFAULT_REST, L"Button", false, true},
        {IDC_SET_DEFAULT_USER, L"Button", true, true},
        {IDC_ARM, L"Button", true, true},
        {IDC_HIDDEN_CANCEL, L"Button", true, false},
        {IDC_REFRESH_TOGGLE, L"Button", true, true},
        {IDC_CANCEL_POWER_OFF, L"Button", false, true},
        {IDC_SEND_TO_TRAY, L"Button", true, false},
        {IDC_NOTICE_CHECK, L"Button", true, true},
        {IDC_INSTRUCTIONS, L"Button", true, true},
        {IDC_REFRESH_PERIOD, L"Edit", true, true},
        {IDC_REFRESH_SPIN, L"msctls_updown32", true, true},
        {IDC_DATE_TIME_TEXT, L"Static", true, true},
        {IDC_UPTIME_TEXT, L"Static", true, true},
    };
    for (const Expected& control : table) {
        const HWND window = Item(main, control.id);
        const std::string name = "control " + std::to_string(control.id);
        Check(window && ::lstrcmpiW(ClassOf(window).c_str(), control.className) == 0,
              (name + " has its class").c_str());
        Check((::IsWindowEnabled(window) != FALSE) == control.enabled,
              (name + (control.enabled ? " enabled" : " disabled")).c_str());
        Check((::IsWindowVisible(window) != FALSE) == control.visible,
              (name + (control.visible ? " visible" : " hidden")).c_str());
    }
    Check(::IsDlgButtonChecked(main, IDC_MODE_USER) == BST_CHECKED, "radio 1006 checked");
    Check(::IsDlgButtonChecked(main, IDC_MODE_WORK) == BST_UNCHECKED &&
              ::IsDlgButtonChecked(main, IDC_MODE_REST) == BST_UNCHECKED,
          "radios 1000 and 1001 clear");
    Check(::IsDlgButtonChecked(main, IDC_NOTICE_CHECK) == BST_CHECKED, "check box 1014 checked");
    Check(PickerText(Item(main, IDC_TIME_WORK)) == WidenUtf8(work), "picker 1002 holds WORK");
    Check(PickerText(Item(main, IDC_TIME_REST)) == WidenUtf8(rest), "picker 1003 holds REST");
    Check(PickerText(Item(main, IDC_TIME_USER)) == WidenUtf8(user), "picker 1007 holds USER");
    return g_failures;
}

int Arm(HWND main) {
    ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(Item(main, IDC_ARM)));
    Check(WaitFor([&] { return !::IsWindowVisible(main); }, 5), "armed: the window is hidden");
    // The buttons change after the window has gone to the tray.
    Check(WaitFor([&] { return !::IsWindowEnabled(Item(main, IDC_ARM)); }, 5), "button 1 disabled");
    Check(WaitFor([&] { return ::IsWindowEnabled(Item(main, IDC_CANCEL_POWER_OFF)); }, 5),
          "button 7 enabled");
    Check(!::IsWindowEnabled(Item(main, IDC_MODE_USER)), "radio 1006 disabled");
    return g_failures;
}

HWND VisibleNotice(HWND main) {
    return FindTopLevel([main](HWND window) {
        return window != main && ::GetWindow(window, GW_OWNER) == main &&
               ClassOf(window) == kDialogClass && ::IsWindowVisible(window) &&
               !(::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION);
    });
}

int Notice(HWND main, double seconds) {
    HWND notice = nullptr;
    Check(WaitFor([&] { return (notice = VisibleNotice(main)) != nullptr; }, seconds),
          "the countdown window shows");
    if (!notice)
        return g_failures;
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    std::printf("notice shown at %02d:%02d:%02d\n", now.wHour, now.wMinute, now.wSecond);
    Check(::GetWindowLongW(notice, GWL_EXSTYLE) & WS_EX_TOPMOST, "it is topmost");
    RECT rect{};
    ::GetWindowRect(notice, &rect);
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::printf("notice at %ld,%ld size %dx%d on %dx%d\n", rect.left, rect.top, width, height,
                screenWidth, screenHeight);
    Check(rect.left == (screenWidth - width) / 2 && rect.top == (screenHeight - height) / 2,
          "it is centred on the screen");
    // The program disables it just after showing the notice.
    Check(WaitFor([&] { return !::IsWindowEnabled(Item(main, IDC_CANCEL_POWER_OFF)); }, 2),
          "button 7 disabled by the notice");
    return g_failures;
}

int Where(HWND main) {
    // Found as soon as it exists: placed only by the end of its start-up.
    Check(WaitFor([&] { return ::IsWindowVisible(main) != FALSE; }, 10),
          "the main window is shown");
    RECT rect{};
    ::GetWindowRect(main, &rect);
    std::printf("main at %ld,%ld size %ldx%ld\n", rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top);
    return 0;
}

int Restore(HWND main) {
    // The mouse passes over the icon before the double-click.
    ::PostMessageW(main, kTrayCallback, kTrayIconId, WM_MOUSEMOVE);
    ::PostMessageW(main, kTrayCallback, kTrayIconId, WM_LBUTTONDBLCLK);
    Check(WaitFor([&] { return ::IsWindowVisible(main) && !::IsIconic(main); }, 5),
          "the tray double-click shows the window");
    // The callback's number is also DM_SETDEFID's.
    const LRESULT defaultId = Ask(main, DM_GETDEFID, 0, 0, 0);
    std::printf("     DM_GETDEFID answers 0x%lx\n", static_cast<unsigned long>(defaultId));
    Check(HIWORD(defaultId) == DC_HASDEFID && LOWORD(defaultId) == IDOK,
          "the default button is still 1 after tray callbacks");
    return g_failures;
}

int Forward(HWND main) {
    Check(WaitFor([&] { return ::IsWindowVisible(main) && !::IsIconic(main); }, 5),
          "the second start brought the window back");
    Check(!::IsWindowEnabled(Item(main, IDC_ARM)) &&
              ::IsWindowEnabled(Item(main, IDC_CANCEL_POWER_OFF)),
          "still armed: button 1 disabled, 7 enabled");
    Check(WaitFor([&] { return ::GetForegroundWindow() == main; }, 5), "it is in front");
    ::PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Check(WaitFor([&] { return !::IsWindowVisible(main); }, 5),
          "minimised, it is in the tray again");
    return g_failures;
}

HWND MainWindowOf(DWORD processId) {
    return FindTopLevel([processId](HWND window) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        return owner == processId && IsMainWindow(window);
    });
}

std::wstring ConsoleText() {
    const HANDLE output =
        ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (output == INVALID_HANDLE_VALUE)
        return {};
    CONSOLE_SCREEN_BUFFER_INFO info{};
    std::wstring text;
    if (::GetConsoleScreenBufferInfo(output, &info)) {
        text.resize(static_cast<std::size_t>(info.dwSize.X) *
                    static_cast<std::size_t>(info.dwSize.Y));
        DWORD read = 0;
        ::ReadConsoleOutputCharacterW(output, text.data(), static_cast<DWORD>(text.size()), {0, 0},
                                      &read);
        text.resize(read);
    }
    ::CloseHandle(output);
    return text;
}

// As from a command prompt: a console of our own, and the program started in
// it with nothing redirected, so that it has no standard error handle.
int Console(const char* program) {
    ::FreeConsole();
    if (!::AllocConsole()) {
        Check(false, "a console for the program");
        return g_failures;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES; // all three null
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + WidenUtf8(program) + L"\" --dry-run --trace-ticks";
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        Check(false, "the program starts");
        return g_failures;
    }
    HWND main = nullptr;
    Check(WaitFor([&] { return (main = MainWindowOf(process.dwProcessId)) != nullptr; }, 30),
          "its main window shows");
    if (main) {
        // Armed, it traces a tick every second.
        ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(Item(main, IDC_ARM)));
        Check(WaitFor([] { return ConsoleText().find(L"tick ") != std::wstring::npos; }, 10),
              "its tick lines show in the console");
    }
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return g_failures;
}

int Exit(HWND main) {
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    HWND box = nullptr;
    Check(WaitFor([&] { return (box = ::FindWindowW(kDialogClass, L"提示")) != nullptr; }, 5),
          "the exit question shows");
    if (!box)
        return g_failures;
    Check(::GetWindow(box, GW_OWNER) == main, "the question is owned by the main window");
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, IDYES)));
    Check(WaitFor([&] { return !::IsWindow(main); }, 10), "Yes ends the program's window");
    return g_failures;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(
            stderr,
            "usage: lumivar_driver startup|arm|forward|notice|restore|where|exit|console ...\n");
        return 2;
    }
    const std::string command = argv[1];
    if (command == "console" && argc == 3) {
        const int failures = Console(argv[2]);
        std::fflush(stdout);
        return failures == 0 ? 0 : 1;
    }
    HWND main = nullptr;
    if (!WaitFor([&] { return (main = MainWindow()) != nullptr; }, 30)) {
        std::printf("FAIL the main window was not found\n");
        return 1;
    }
    int failures = 0;
    if (command == "startup" && argc == 5)
        failures = Startup(main, argv[2], argv[3], argv[4]);
    else if (command == "arm")
        failures = Arm(main);
    else if (command == "notice" && argc == 3)
        failures = Notice(main, std::atof(argv[2]));
    else if (command == "restore")
        failures = Restore(main);
    else if (command == "forward")
        failures = Forward(main);
    else if (command == "where")
        failures = Where(main);
    else if (command == "exit")
        failures = Exit(main);
    else {
        std::fprintf(stderr, "lumivar_driver: unknown command or arguments\n");
        return 2;
    }
    std::fflush(stdout);
    return failures == 0 ? 0 : 1;
}
