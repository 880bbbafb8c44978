#pragma once

#include "CaseName.h"
#include "FakeHost.h"
#include "LumivarDlg.h"
#include "MainDialogIds.h"
#include "RecordingPainter.h"
#include "RecordingPowerOff.h"
#include "ShowDlg.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace lumivar::test {

/// The main window on the fake window system, with Setup.ini in a fresh
/// directory and a clock the test moves.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        ui::g_armedTarget = {};
        ui::g_refreshing = true;
        ui::g_secondsLeft = 30;
    }

    FakeHost& Start(std::string_view setupIni = {}, WallTime at = FakeClock::At(12, 0, 0)) {
        if (!setupIni.empty())
            WriteBytes(dir / "Setup.ini", setupIni);
        desktop.clock.Set(at);
        dialog = std::make_unique<ui::CLumivarDlg>(services);
        return desktop.Open(*dialog);
    }

    std::string SetupIni() const { return ReadBytes(dir / "Setup.ini"); }
    bool SetupIniExists() const { return std::filesystem::exists(dir / "Setup.ini"); }

    /// Windows the main window created after start-up (countdown notices).
    std::vector<FakeHost*> Notices() {
        std::vector<FakeHost*> notices;
        for (std::size_t i = 1; i < desktop.windows.size(); ++i)
            notices.push_back(desktop.windows[i].get());
        return notices;
    }

    TempDir dir;
    std::ostringstream errors;
    SettingsStore settings{[this] { return dir / "Setup.ini"; }, errors};
    // Destroyed bottom up: the desktop's windows refer to the dialog, and the
    // dialog lets go of the power-off and the inhibitor as it goes.
    RecordingPowerOff powerOff;
    RecordingIdleSleep idleSleep;
    std::unique_ptr<ui::CLumivarDlg> dialog;
    FakeDesktop desktop;
    ui::MainWindowServices services{desktop.clock, powerOff, settings, &idleSleep, {}, &errors};
};

} // namespace lumivar::test
