#include "Win32PowerOff.h"

#include "SystemMessage.h"

#include <string>

namespace lumivar::win32 {
namespace {

constexpr DWORD kProcessAllAccess = 0x1F0FFF;
constexpr UINT kShutdown = 1; // EWX_SHUTDOWN: not forced, no separate power-off flag

// The code too: a user searching for the failure needs it more than the text.
std::string Described(DWORD error) {
    return SystemMessage(error) + " (error " + std::to_string(error) + ")";
}

} // namespace

Win32PowerOffApi SystemPowerOffApi() {
    return {&::GetCurrentProcessId, &::OpenProcess,           &::OpenProcessToken,
            &::CloseHandle,         &::LookupPrivilegeValueA, &::AdjustTokenPrivileges,
            &::ExitWindowsEx,       &::GetLastError};
}

Win32PowerOff::Win32PowerOff(const Win32PowerOffApi& api) : m_api(api) {}

void Win32PowerOff::AcquirePowerOffPrivilege() {
    HANDLE process = nullptr;
    HANDLE token = nullptr;
    LUID luid{};

    const DWORD processId = m_api.getCurrentProcessId();
    process = m_api.openProcess(kProcessAllAccess, FALSE, processId);
    m_api.openProcessToken(process, TOKEN_ADJUST_PRIVILEGES, &token);
    m_api.closeHandle(process);
    m_api.lookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &luid);

    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Luid = luid;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // The call succeeds even when the privilege was not granted: only the
    // last error (ERROR_NOT_ALL_ASSIGNED) tells.
    const BOOL adjusted =
        m_api.adjustTokenPrivileges(token, FALSE, &privileges, sizeof privileges, nullptr, nullptr);
    m_privilegeError = m_api.getLastError();
    if (adjusted && m_privilegeError != ERROR_NOT_ALL_ASSIGNED)
        m_privilegeError = ERROR_SUCCESS;
    else if (m_privilegeError == ERROR_SUCCESS)
        m_privilegeError = ERROR_NOT_ALL_ASSIGNED;
    // The enabled privilege stays with the process token; our handle to it
    // would otherwise leak with every power-off attempt.
    if (token)
        m_api.closeHandle(token);
}

void Win32PowerOff::RequestPowerOff() {
    const BOOL requested = m_api.exitWindowsEx(kShutdown, 0);
    const DWORD requestError = requested ? ERROR_SUCCESS : m_api.getLastError();
    // Without the privilege the request cannot have worked, whatever it
    // answered; that is the cause to report.
    if (m_privilegeError != ERROR_SUCCESS)
        ReportFailure({FailureKind::PrivilegeNotGranted,
                       "SeShutdownPrivilege: " + Described(m_privilegeError)});
    else if (!requested)
        ReportFailure({FailureKind::ShutdownRefused, "ExitWindowsEx: " + Described(requestError)});
}

} // namespace lumivar::win32
