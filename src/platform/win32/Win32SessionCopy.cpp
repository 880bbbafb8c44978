#include "Win32SessionCopy.h"

#include <algorithm>

namespace lumivar::win32 {
namespace {

// One name for every version, so that an old copy and a new one are still
// one program. Local\: one copy per desktop session, not per machine.
constexpr wchar_t kMutexName[] = L"Local\\Lumivar-07c04ea3-8c8c-463a-8ba7-44712d63b3c3";
constexpr wchar_t kMessageName[] = L"Lumivar-SecondStart-07c04ea3-8c8c-463a-8ba7-44712d63b3c3";
constexpr wchar_t kPropertyName[] = L"Lumivar-MainWindow-07c04ea3-8c8c-463a-8ba7-44712d63b3c3";

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

// An elevated copy's window takes no message from a normal one unless it
// says so (Windows 7 and later; looked up, as older systems lack it).
void AcceptCopyDataFromBelow(HWND window) {
    using Filter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    constexpr DWORD kAllow = 1; // MSGFLT_ALLOW
    if (const HMODULE user32 = ::GetModuleHandleW(L"user32.dll"))
        if (const auto filter = reinterpret_cast<Filter>(
                reinterpret_cast<void*>(::GetProcAddress(user32, "ChangeWindowMessageFilterEx"))))
            filter(window, WM_COPYDATA, kAllow, nullptr);
}

} // namespace

UINT SecondStartMessage() {
    static const UINT message = ::RegisterWindowMessageW(kMessageName);
    return message;
}

void MarkMainWindow(HWND window, bool mark) {
    if (!mark) {
        ::RemovePropW(window, kPropertyName);
        return;
    }
    ::SetPropW(window, kPropertyName, reinterpret_cast<HANDLE>(1));
    AcceptCopyDataFromBelow(window);
}

ui::SessionCopy::Claim ClaimFromMutex(bool handle, DWORD error) {
    using Claim = ui::SessionCopy::Claim;
    if (handle)
        return error == ERROR_ALREADY_EXISTS ? Claim::Held : Claim::First;
    // A copy running as administrator made it with access for itself alone.
    return error == ERROR_ACCESS_DENIED ? Claim::Held : Claim::Alone;
}

std::wstring EncodeStartRequest(const ui::StartRequest& request) {
    return (request.dryRun ? L"1" : L"0") + request.settingsFile.wstring();
}

std::optional<ui::StartRequest> DecodeStartRequest(const void* data, DWORD size) {
    const auto* text = static_cast<const wchar_t*>(data);
    if (!data || size < sizeof(wchar_t) || size % sizeof(wchar_t) != 0 ||
        (text[0] != L'0' && text[0] != L'1'))
        return std::nullopt;
    ui::StartRequest request;
    request.dryRun = text[0] == L'1';
    request.settingsFile = std::wstring(text + 1, size / sizeof(wchar_t) - 1);
    return request;
}

ui::SessionCopy::Claim Win32SessionCopy::ClaimSession() {
    // Owned from the start when it is new: held until this process exits.
    m_mutex = ::CreateMutexW(nullptr, TRUE, kMutexName);
    return ClaimFromMutex(m_mutex != nullptr, ::GetLastError());
}

ui::SessionCopy::Answer Win32SessionCopy::HandOver(const ui::StartRequest& request,
                                                   std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    const std::wstring data = EncodeStartRequest(request);
    do {
        if (const HWND window = FindMarkedWindow()) {
            DWORD processId = 0;
            ::GetWindowThreadProcessId(window, &processId);
            // This start, just made by the user, may take the foreground;
            // the running copy may only when given it.
            ::AllowSetForegroundWindow(processId);
            COPYDATASTRUCT copy{kSecondStartTag, static_cast<DWORD>(data.size() * sizeof(wchar_t)),
                                const_cast<wchar_t*>(data.data())};
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            DWORD_PTR answer = 0;
            // A hung window (no message taken for five seconds) fails at once.
            if (!::SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy),
                                       SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                       static_cast<UINT>(std::max<long long>(left.count(), 1)),
                                       &answer))
                return Answer::NoAnswer;
            if (answer == static_cast<DWORD_PTR>(kOtherRun))
                return Answer::OtherRun;
            return answer == static_cast<DWORD_PTR>(kSameRun) ? Answer::CameForward
                                                              : Answer::NoAnswer;
        }
        // Still starting, no window yet; or it ended, and the mutex is ours.
        if (m_mutex) {
            const DWORD wait = ::WaitForSingleObject(m_mutex, kPollMs);
            if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED)
                return Answer::Gone;
        } else {
            ::Sleep(kPollMs);
        }
    } while (std::chrono::steady_clock::now() < deadline);
    return Answer::NoAnswer;
}

} // namespace lumivar::win32
