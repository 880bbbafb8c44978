#pragma once

#include "PowerOff.h"

#include <windows.h>

namespace lumivar {

/// The system calls the power-off makes, gathered so that a test can record
/// the sequence without shutting anything down.
struct Win32PowerOffApi {
    DWORD(WINAPI* getCurrentProcessId)();
    HANDLE(WINAPI* openProcess)(DWORD access, BOOL inherit, DWORD processId);
    BOOL(WINAPI* openProcessToken)(HANDLE process, DWORD access, PHANDLE token);
    BOOL(WINAPI* closeHandle)(HANDLE handle);
    BOOL(WINAPI* lookupPrivilegeValueA)(LPCSTR system, LPCSTR name, PLUID luid);
    BOOL(WINAPI* adjustTokenPrivileges)(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES state,
                                        DWORD length, PTOKEN_PRIVILEGES previous,
                                        PDWORD returnLength);
    BOOL(WINAPI* exitWindowsEx)(UINT flags, DWORD reason);
};

/// The real functions of kernel32, advapi32 and user32.
Win32PowerOffApi SystemPowerOffApi();

/// Enables SeShutdownPrivilege in the process token, then ExitWindowsEx.
/// No result is examined: a failed step passes null handles on, and the
/// request is made whether or not the privilege was granted.
class Win32PowerOff final : public PowerOff {
public:
    explicit Win32PowerOff(const Win32PowerOffApi& api = SystemPowerOffApi());

    void AcquirePowerOffPrivilege() override;
    void RequestPowerOff() override;

private:
    Win32PowerOffApi m_api;
};

} // namespace lumivar
