#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

namespace lumivar::test {

/// True when this Windows program runs under Wine, whose profile functions
/// depart from Windows' in a few documented places.
inline bool RunningUnderWine() {
#ifdef _WIN32
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

} // namespace lumivar::test
