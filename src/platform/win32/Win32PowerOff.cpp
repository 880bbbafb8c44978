#include "Win32PowerOff.h"

namespace lumivar {
namespace {

constexpr DWORD kProcessAllAccess = 0x1F0FFF;
constexpr UINT kShutdown = 1; // EWX_SHUTDOWN: not forced, no separate power-off flag

} // namespace

Win32PowerOffApi SystemPowerOffApi() {
    return {&::GetCurrentProcessId,   &::OpenProcess,           &::OpenProcessToken, &::CloseHandle,
            &::LookupPrivilegeValueA, &::AdjustTokenPrivileges, &::ExitWindowsEx};
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
    m_api.adjustTokenPrivileges(token, FALSE, &privileges, sizeof privileges, nullptr, nullptr);
    // The enabled privilege stays with the process token; our handle to it
    // would otherwise leak with every power-off attempt.
    if (token)
        m_api.closeHandle(token);
}

void Win32PowerOff::RequestPowerOff() {
    m_api.exitWindowsEx(kShutdown, 0);
}

} // namespace lumivar
