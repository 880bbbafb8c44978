// The Windows power-off makes exactly this sequence of system calls, goes on
// to the request even when every earlier step fails, and reports a privilege
// not granted or a request turned down.
#include "Win32PowerOff.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace lumivar::win32 {
namespace {

std::vector<std::string> g_calls;
bool g_fail = false;
DWORD g_lastError = ERROR_SUCCESS; // what GetLastError answers after the failing step
DWORD g_exitError = ERROR_SUCCESS; // set: ExitWindowsEx fails with it
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
    if (g_exitError != ERROR_SUCCESS)
        g_lastError = g_exitError;
    return !g_fail && g_exitError == ERROR_SUCCESS;
}
DWORD WINAPI FakeGetLastError() {
    return g_lastError;
}

const Win32PowerOffApi kFakeApi{&FakeGetCurrentProcessId,   &FakeOpenProcess,
                                &FakeOpenProcessToken,      &FakeCloseHandle,
                                &FakeLookupPrivilegeValueA, &FakeAdjustTokenPrivileges,
                                &FakeExitWindowsEx,         &FakeGetLastError};

struct Outcome {
    std::vector<std::string> calls;
    std::vector<Failure> failures; // reported to the handler
};

Outcome RunBothSteps(bool fail, DWORD lastError = ERROR_SUCCESS, DWORD exitError = ERROR_SUCCESS) {
    g_calls.clear();
    g_fail = fail;
    g_lastError = lastError;
    g_exitError = exitError;
    Outcome run;
    Win32PowerOff powerOff(kFakeApi);
    powerOff.SetFailureHandler([&](const Failure& why) { run.failures.push_back(why); });
    powerOff.AcquirePowerOffPrivilege();
    powerOff.RequestPowerOff();
    run.calls = g_calls;
    return run;
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
    const Outcome run = RunBothSteps(false);
    EXPECT_EQ(run.calls, expected);
    EXPECT_TRUE(run.failures.empty());
    EXPECT_EQ(RunBothSteps(false).calls, expected) << "a second run repeats the whole sequence";
}

TEST(Win32PowerOff, FailedStepsPassNullHandlesOnAndStillRequest) {
    const std::vector<std::string> calls = RunBothSteps(true, ERROR_INVALID_HANDLE).calls;
    ASSERT_EQ(calls.size(), 7u);
    EXPECT_EQ(calls[2], "OpenProcessToken null 32 null-in");
    EXPECT_EQ(calls[3], "CloseHandle null");
    EXPECT_EQ(calls[5].rfind("AdjustTokenPrivileges null", 0), 0u);
    EXPECT_EQ(calls[6], "ExitWindowsEx 1 0");
}

TEST(Win32PowerOff, ReportsAPrivilegeNotGrantedOrARequestTurnedDown) {
    // AdjustTokenPrivileges succeeds but grants nothing: the request is still
    // made, and the privilege is what the user is told about.
    Outcome run = RunBothSteps(false, ERROR_NOT_ALL_ASSIGNED);
    EXPECT_EQ(run.calls.back(), "ExitWindowsEx 1 0");
    ASSERT_EQ(run.failures.size(), 1u);
    EXPECT_EQ(run.failures[0].kind, FailureKind::PrivilegeNotGranted);
    const std::string& privilege = run.failures[0].detail;
    EXPECT_EQ(privilege.rfind("SeShutdownPrivilege: ", 0), 0u) << privilege;
    EXPECT_NE(privilege.find("(error 1300)"), std::string::npos) << privilege;

    run = RunBothSteps(false, ERROR_SUCCESS, ERROR_ACCESS_DENIED);
    ASSERT_EQ(run.failures.size(), 1u);
    EXPECT_EQ(run.failures[0].kind, FailureKind::ShutdownRefused);
    const std::string& request = run.failures[0].detail;
    EXPECT_EQ(request.rfind("ExitWindowsEx: ", 0), 0u) << request;
    EXPECT_NE(request.find("(error 5)"), std::string::npos);
    EXPECT_EQ(request.find('\n'), std::string::npos) << "one line";
}

} // namespace
} // namespace lumivar::win32
