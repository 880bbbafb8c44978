#include "Win32SingleInstance.h"

#include <chrono>

namespace lumivar::win32 {
namespace {

// One name for every version, so that an old copy and a new one are still
// one program. Local\: one copy per desktop session, not per machine.
constexpr wchar_t kMutexName[] = L"Local\\Lumivar-07c04ea3-8c8c-463a-8ba7-44712d63b3c3";
constexpr wchar_t kMessageName[] = L"Lumivar-BringForward-07c04ea3-8c8c-463a-8ba7-44712d63b3c3";
constexpr wchar_t kPropertyName[] = L"Lumivar-MainWindow-07c04ea3-8c8c-463a-8ba7-44712d63b3c3";

// A copy that holds the mutex makes its window within a second or two, even
// under load; one that takes longer is taken for hung.
constexpr std::chrono::seconds kPatience{10};
constexpr DWORD kPollMs = 100;

BOOL CALLBACK StopAtMarked(HWND window, LPARAM found) {
    if (!::GetPropW(window, kPropertyName))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// EnumWindows, unlike FindWindowW by title, needs no caption to match and
// sees the hidden window in the tray as well.
HWND FindMarkedWindow() {
    HWND found = nullptr;
    ::EnumWindows(StopAtMarked, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool PostBringForward(HWND window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    // This start, just made by the user, may take the foreground; the
    // running copy may only when given it, and it has to, to come to the front.
    ::AllowSetForegroundWindow(processId);
    return ::PostMessageW(window, BringForwardMessage(), 0, 0) != FALSE;
}

} // namespace

UINT BringForwardMessage() {
    static const UINT message = ::RegisterWindowMessageW(kMessageName);
    return message;
}

void MarkMainWindow(HWND window, bool mark) {
    if (mark)
        ::SetPropW(window, kPropertyName, reinterpret_cast<HANDLE>(1));
    else
        ::RemovePropW(window, kPropertyName);
}

bool HandOverToRunningCopy() {
    // Owned from the start when it is new: held until this process exits,
    // when the system lets go of it, so the handle is never closed.
    const HANDLE mutex = ::CreateMutexW(nullptr, TRUE, kMutexName);
    if (!mutex || ::GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    do {
        if (const HWND window = FindMarkedWindow(); window && PostBringForward(window)) {
            ::CloseHandle(mutex);
            return true;
        }
        // The copy that held it has ended: this one is the first now.
        const DWORD wait = ::WaitForSingleObject(mutex, kPollMs);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED)
            return false;
    } while (std::chrono::steady_clock::now() < deadline);
    ::CloseHandle(mutex);
    return false;
}

} // namespace lumivar::win32
