// The Windows power-off makes exactly this sequence of system calls, and goes
// on to the request even when every earlier step fails.
#include "Win32PowerOff.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace lumivar {
namespace {

std::vector<std::string> g_calls;
bool g_fail = false;
HANDLE const kProcess = reinterpret_cast<HANDLE>(0x1234);
HANDLE const kToken = reinterpret_cast<HANDLE>(0x5678);

DWORD WINAPI FakeGetCurrentProcessId() {
    g_calls.push_back("GetCurrentProcessId");
    return 42;
}
HANDLE WINAPI FakeOpenProcess(DWORD access, BOOL inherit, DWORD id) {
    g_calls.push_back("OpenProcess " + std::to_string(access) + " " + std::to_string(inherit) +
                      " " + std::to_string(id));
    return g_fail ? nullptr : kProcess;
}
BOOL WINAPI FakeOpenProcessToken(HANDLE process, DWORD access, PHANDLE token) {
    g_calls.push_back(std::string("OpenProcessToken ") +
                      (process == kProcess ? "process" : "null") + " " + std::to_string(access) +
                      (*token == nullptr ? " null-in" : " set-in"));
    if (!g_fail)
        *token = kToken;
    return !g_fail;
}
BOOL WINAPI FakeCloseHandle(HANDLE handle) {
    g_calls.push_back(std::string("CloseHandle ") + (handle == kProcess ? "process"
                                                     : handle == kToken ? "token"
                                                                        : "null"));
    return TRUE;
}
BOOL WINAPI FakeLookupPrivilegeValueA(LPCSTR system, LPCSTR name, PLUID luid) {
    g_calls.push_back(std::string("LookupPrivilegeValueA ") + (system ? system : "null") + " " +
                      name);
    luid->LowPart = 19;
    luid->HighPart = 7;
    return !g_fail;
}
BOOL WINAPI FakeAdjustTokenPrivileges(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES state,
                                      DWORD length, PTOKEN_PRIVILEGES previous, PDWORD returned) {
    g_calls.push_back(std::string("AdjustTokenPrivileges ") + (token == kToken ? "token" : "null") +
                      " " + std::to_string(disableAll) +
                      " count=" + std::to_string(state->PrivilegeCount) +
                      " luid=" + std::to_string(state->Privileges[0].Luid.LowPart) + "," +
                      std::to_string(state->Privileges[0].Luid.HighPart) +
                      " attributes=" + std::to_string(state->Privileges[0].Attributes) +
                      " length=" + std::to_string(length) + (previous ? " previous" : " null") +
                      (returned ? " returned" : " null"));
    return !g_fail;
}
BOOL WINAPI FakeExitWindowsEx(UINT flags, DWORD reason) {
    g_calls.push_back("ExitWindowsEx " + std::to_string(flags) + " " + std::to_string(reason));
    return !g_fail;
}

const Win32PowerOffApi kFakeApi{
    &FakeGetCurrentProcessId,   &FakeOpenProcess,           &FakeOpenProcessToken, &FakeCloseHandle,
    &FakeLookupPrivilegeValueA, &FakeAdjustTokenPrivileges, &FakeExitWindowsEx};

std::vector<std::string> RunBothSteps(bool fail) {
    g_calls.clear();
    g_fail = fail;
    Win32PowerOff powerOff(kFakeApi);
    powerOff.AcquirePowerOffPrivilege();
    powerOff.RequestPowerOff();
    return g_calls;
}

TEST(Win32PowerOff, MakesTheSystemCallsInOrder) {
    const std::vector<std::string> expected{
        "GetCurrentProcessId",
        "OpenProcess 2035711 0 42",
        "OpenProcessToken process 32 null-in",
        "CloseHandle process",
        "LookupPrivilegeValueA null SeShutdownPrivilege",
        "AdjustTokenPrivileges token 0 count=1 luid=19,7 attributes=2 length=16 null null",
        "CloseHandle token",
        "ExitWindowsEx 1 0",
    };
    EXPECT_EQ(RunBothSteps(false), expected);
    EXPECT_EQ(RunBothSteps(false), expected) << "a second run repeats the whole sequence";
}

TEST(Win32PowerOff, FailedStepsPassNullHandlesOnAndStillRequest) {
    const std::vector<std::string> calls = RunBothSteps(true);
    ASSERT_EQ(calls.size(), 7u);
    EXPECT_EQ(calls[2], "OpenProcessToken null 32 null-in");
    EXPECT_EQ(calls[3], "CloseHandle null");
    EXPECT_EQ(calls[5].rfind("AdjustTokenPrivileges null", 0), 0u);
    EXPECT_EQ(calls[6], "ExitWindowsEx 1 0");
}

} // namespace
} // namespace lumivar
