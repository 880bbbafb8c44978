#include "Win32IdleSleepInhibitor.h"

#include <windows.h>

#include <iostream>

namespace lumivar::win32 {

Win32IdleSleepInhibitor::~Win32IdleSleepInhibitor() {
    Release();
}

void Win32IdleSleepInhibitor::Inhibit() {
    if (m_held)
        return;
    // Continuous: the state lasts until changed, not just for this moment.
    m_held = ::SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED) != 0;
    if (!m_held)
        std::cerr << "lumivar: could not keep the system from sleeping while armed\n";
}

void Win32IdleSleepInhibitor::Release() {
    if (!m_held)
        return;
    ::SetThreadExecutionState(ES_CONTINUOUS);
    m_held = false;
}

} // namespace lumivar::win32
