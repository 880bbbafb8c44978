// While armed the thread asks the system to stay awake, and gives the
// request back afterwards. Read back through the previous state that the
// next call returns.
#include "Win32IdleSleepInhibitor.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace lumivar::win32 {
namespace {

EXECUTION_STATE StateNow() {
    // Setting what is already there changes nothing and returns it.
    const EXECUTION_STATE state = ::SetThreadExecutionState(ES_CONTINUOUS);
    ::SetThreadExecutionState(state | ES_CONTINUOUS);
    return state;
}

TEST(Win32IdleSleepInhibitor, HoldsTheSystemAwakeUntilReleased) {
    ::SetThreadExecutionState(ES_CONTINUOUS);
    {
        Win32IdleSleepInhibitor inhibitor;
        inhibitor.Inhibit();
        EXPECT_EQ(StateNow() & (ES_CONTINUOUS | ES_SYSTEM_REQUIRED),
                  ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
        inhibitor.Release();
        EXPECT_EQ(StateNow() & ES_SYSTEM_REQUIRED, 0u);
        inhibitor.Inhibit();
    }
    EXPECT_EQ(StateNow() & ES_SYSTEM_REQUIRED, 0u) << "released when the program ends";
}

} // namespace
} // namespace lumivar::win32
