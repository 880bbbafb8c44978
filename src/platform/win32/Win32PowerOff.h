#pragma once

#include "PowerOff.h"

#include <windows.h>

namespace lumivar::win32 {

/// The system calls the power-off makes, gathered so that a test can record
/// the sequence without shutting anything down.
struct Win32PowerOffApi {
    DWORD(WINAPI* getCurrentProcessId)();
    HANDLE(WINAPI* openProcess)(DWORD access, BOOL inherit, DWORD processId);
    BOOL(WINAPI* openProcessToken)(HANDLE process, DWORD access, PHANDLE token);
    BOOL(WINAPI* closeHandle)(HANDLE handle);
    BOOL(WINAPI* lookupPrivilegeValueA)(LPCSTR system, LPCSTR name, PLUID luid);
    BOOL(WINAPI* adjustTokenPrivileges)
    (HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES state, DWORD length,
     PTOKEN_PRIVILEGES previous, PDWORD returnLength);
    BOOL(WINAPI* exitWindowsEx)(UINT flags, DWORD reason);
    DWORD(WINAPI* getLastError)();
};

/// The real functions of kernel32, advapi32 and user32.
Win32PowerOffApi SystemPowerOffApi();

/// Enables SeShutdownPrivilege in the process token, then ExitWindowsEx.
/// A failed step passes null handles on, and the request is made whether or
/// not the privilege was granted; but a privilege not granted, or a request
/// the system turned down, is reported as a failure with the system's text.
class Win32PowerOff final : public PowerOff {
public:
    explicit Win32PowerOff(const Win32PowerOffApi& api = SystemPowerOffApi());

    void AcquirePowerOffPrivilege() override;
    void RequestPowerOff() override;

private:
    Win32PowerOffApi m_api;
    DWORD m_privilegeError = ERROR_SUCCESS; // of the last privilege step
};

} // namespace lumivar::win32
