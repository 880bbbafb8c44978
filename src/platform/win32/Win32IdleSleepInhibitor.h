#pragma once

#include "IdleSleepInhibitor.h"

namespace lumivar::win32 {

/// Holds idle sleep off through the thread's execution state. Only the
/// system-required flag: the display may still turn off, and a sleep the
/// user asks for still happens.
class Win32IdleSleepInhibitor final : public IdleSleepInhibitor {
public:
    Win32IdleSleepInhibitor() = default;
    ~Win32IdleSleepInhibitor() override;
    Win32IdleSleepInhibitor(const Win32IdleSleepInhibitor&) = delete;
    Win32IdleSleepInhibitor& operator=(const Win32IdleSleepInhibitor&) = delete;

    void Inhibit() override;
    void Release() override;

private:
    bool m_held = false;
};

} // namespace lumivar::win32
