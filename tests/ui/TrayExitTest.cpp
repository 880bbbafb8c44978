// The tray icon and its menu, a second start, the exit prompt, the notice option,
// the instructions, the About box and the minimised window's icon.
#include "MainWindowFixture.h"

#include "ResourceIds.h"

namespace lumivar::test {
namespace {

bool Logged(const FakeHost& window, const std::string& line) {
    return std::find(window.log.begin(), window.log.end(), line) != window.log.end();
}

TEST_F(MainWindowTest, MinimisingHidesBehindOneIconAndDoubleClickBringsItBack) {
    FakeHost& window = Start();
    window.Minimize();
    EXPECT_FALSE(window.visible);
    EXPECT_EQ(desktop.trayIcons, 1);
    window.log.clear();
    window.TrayMouse(ui::kWmLButtonDblClk);
    EXPECT_EQ(window.log, (std::vector<std::string>{"show 1", "foreground", "tray delete 102"}));
    EXPECT_TRUE(window.visible);
    EXPECT_FALSE(window.minimized);
    EXPECT_EQ(desktop.trayIcons, 0);
    window.Minimize();
    EXPECT_EQ(desktop.trayIcons, 1);
}

TEST_F(MainWindowTest, WithoutAShellToHoldTheIconTheWindowStaysOnTheTaskbar) {
    FakeHost& window = Start();
    window.Minimize();
    desktop.RestartShell();
    EXPECT_EQ(desktop.trayIcons, 1) << "the new shell is given the icon";
    EXPECT_FALSE(window.visible);
    desktop.shellTakesIcons = false;
    desktop.RestartShell();
    EXPECT_TRUE(window.visible && window.minimized);
    EXPECT_EQ(window.log.back(), "show 7") << "without taking the focus";
    window.ShowWindow(ui::kSwShowNormal);
    window.Minimize();
    EXPECT_TRUE(window.visible && window.minimized);
}

TEST_F(MainWindowTest, AnotherStartBringsTheArmedWindowBackFromTheTrayAsItWas) {
    FakeHost& window = Start("[MODE]\r\nMode=1006\r\n");
    window.Click(IDC_ARM);
    const ui::StartRequest alike{false, dir / "Setup.ini", {}, {}};
    ASSERT_TRUE(dialog->AcceptsSecondStart(alike));
    dialog->OnSecondStart(alike, true);
    EXPECT_TRUE(window.visible && !window.minimized);
    EXPECT_TRUE(window.messageBoxes.empty());
    EXPECT_EQ(desktop.trayIcons, 0);
    EXPECT_FALSE(window.IsControlEnabled(IDC_ARM));
    EXPECT_TRUE(window.IsControlEnabled(IDC_CANCEL_POWER_OFF));
    EXPECT_FALSE(window.IsControlEnabled(IDC_MODE_USER));
    EXPECT_TRUE(window.TimerRunning(ui::kScheduleTimer));
    EXPECT_EQ(window.CheckedRadioButton(IDC_MODE_FIRST, IDC_MODE_LAST), IDC_MODE_USER);

    desktop.shellTakesIcons = false;
    window.Minimize();
    dialog->OnSecondStart(alike, true);
    EXPECT_FALSE(window.minimized) << "minimised on the taskbar, with no notification area";
}

// A dry run against a real one, or another Setup.ini: the running copy comes
// forward and says what runs, with which file; a dry run says so in its title.
TEST_F(MainWindowTest, AStartThatWouldRunOtherwiseIsToldWhatRuns) {
    services.dryRun = true;
    FakeHost& window = Start();
    EXPECT_EQ(window.title, "Tarnholt定时关机管理程序 (试运行)");
    window.Minimize();
    const ui::StartRequest real{false, dir / "Setup.ini", {}, {}};
    const ui::StartRequest elsewhere{true, dir / "other" / "Setup.ini", {}, {}};
    EXPECT_FALSE(dialog->AcceptsSecondStart(real));
    EXPECT_FALSE(dialog->AcceptsSecondStart(elsewhere));
    EXPECT_TRUE(dialog->AcceptsSecondStart({true, dir / "." / "Setup.ini", {}, {}}));
    EXPECT_TRUE(window.messageBoxes.empty()) << "asking shows nothing";

    dialog->OnSecondStart(real, false);
    EXPECT_TRUE(window.visible && !window.minimized);
    ASSERT_EQ(window.messageBoxes.size(), 1u);
    EXPECT_EQ(window.messageBoxes[0].caption, "提示");
    const std::string& text = window.messageBoxes[0].text;
    EXPECT_NE(text.find("是试运行"), std::string::npos) << text;
    EXPECT_NE(text.find("要的是真的关机"), std::string::npos) << text;
    EXPECT_NE(text.find((dir / "Setup.ini").string()), std::string::npos) << text;
}

TEST_F(MainWindowTest, OtherMouseMessagesOnTheIconDoNothing) {
    FakeHost& window = Start();
    window.Minimize();
    window.log.clear();
    for (unsigned message : {ui::kWmMouseMove, ui::kWmLButtonDown, ui::kWmLButtonUp,
                             ui::kWmRButtonUp, 0x0207u /* middle button */})
        window.TrayMouse(message);
    EXPECT_TRUE(window.log.empty());
    EXPECT_FALSE(window.visible);
}

TEST_F(MainWindowTest, RightButtonOpensTheTrayMenuAtTheCursor) {
    FakeHost& window = Start();
    window.Minimize();
    window.cursor = {1200, 1000};
    window.TrayMouse(ui::kWmRButtonDown);
    EXPECT_TRUE(Logged(window, "menu 136 popup 0 at 1200,1000 flags=2"));
    EXPECT_FALSE(Logged(window, "foreground"));
    EXPECT_FALSE(window.visible);
}

TEST_F(MainWindowTest, TrayMenuCommands) {
    FakeHost& window = Start();
    window.Minimize();
    window.menuChoice = ID_TRAY_ABOUT;
    window.TrayMouse(ui::kWmRButtonDown);
    EXPECT_TRUE(Logged(window, "modal 100"));
    EXPECT_FALSE(window.visible) << "About leaves the window in the tray";
    EXPECT_EQ(desktop.trayIcons, 1);

    window.menuChoice = ID_TRAY_SHOW;
    window.TrayMouse(ui::kWmRButtonDown);
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(desktop.trayIcons, 0);
}

TEST_F(MainWindowTest, ExitAnsweredNoChangesNothing) {
    FakeHost& window = Start("[MODE]\r\nMode=1001\r\n");
    window.Click(IDC_ARM);
    window.answers.push_back(ui::kIdNo);
    window.menuChoice = ID_TRAY_EXIT;
    window.TrayMouse(ui::kWmRButtonDown);
    ASSERT_EQ(window.messageBoxes.size(), 1u);
    EXPECT_EQ(window.messageBoxes[0].text, "确认要退出Tarnholt定时关机管理程序吗?");
    EXPECT_EQ(window.messageBoxes[0].caption, "提示");
    EXPECT_EQ(window.messageBoxes[0].type, 0x44u);
    EXPECT_FALSE(window.ended);
    EXPECT_TRUE(window.TimerRunning(ui::kScheduleTimer));
    EXPECT_EQ(desktop.trayIcons, 1);
    EXPECT_EQ(SetupIni(), "[MODE]\r\nMode=1001\r\n");
}

TEST_F(MainWindowTest, ExitAnsweredYesRemovesTheIconAndStoresTheCheckedMode) {
    FakeHost& window = Start("; mine\r\n[MODE]\r\nMode=1000\r\n");
    window.Click(IDC_MODE_USER);
    window.Click(IDC_ARM);
    window.answers.push_back(ui::kIdYes);
    window.menuChoice = ID_TRAY_EXIT;
    window.TrayMouse(ui::kWmRButtonDown);
    EXPECT_TRUE(window.ended);
    EXPECT_EQ(window.result, ui::kIdCancel);
    EXPECT_EQ(desktop.trayIcons, 0);
    EXPECT_EQ(SetupIni(), "; mine\r\n[MODE]\r\nMode=1006\r\n");
}

TEST_F(MainWindowTest, EveryWayOfClosingAsksTheSameQuestion) {
    FakeHost& window = Start("[MODE]\r\nMode=0\r\n");
    window.answers = {ui::kIdNo, ui::kIdNo, ui::kIdYes};
    window.Command(ui::kIdCancel); // Esc
    EXPECT_FALSE(window.Close());  // close box, Alt+F4
    EXPECT_TRUE(window.Close());
    EXPECT_EQ(window.messageBoxes.size(), 3u);
    EXPECT_TRUE(Logged(window, "tray delete 102")) << "a delete names the icon even if never shown";
    EXPECT_EQ(SetupIni(), "[MODE]\r\nMode=0\r\n");
}

TEST_F(MainWindowTest, NoticeCheckBoxStoresEveryClick) {
    FakeHost& window = Start();
    window.Click(IDC_NOTICE_CHECK);
    EXPECT_EQ(SetupIni(), "[NOTICE]\r\nShow=0\r\n");
    window.Click(IDC_NOTICE_CHECK);
    EXPECT_EQ(SetupIni(), "[NOTICE]\r\nShow=1\r\n");
    EXPECT_TRUE(window.messageBoxes.empty());
}

TEST_F(MainWindowTest, InstructionsWarnAndChangeNothing) {
    FakeHost& window = Start();
    window.Click(IDC_INSTRUCTIONS);
    ASSERT_EQ(window.messageBoxes.size(), 1u);
    EXPECT_EQ(window.messageBoxes[0].text,
              "如果启用此功能,则在关机前30秒内不予取消关机操作,请谨慎使用!");
    EXPECT_EQ(window.messageBoxes[0].type, 0x30u);
    EXPECT_EQ(window.Check(IDC_NOTICE_CHECK), 1);
    EXPECT_FALSE(SetupIniExists());
}

TEST_F(MainWindowTest, SystemMenuAboutIgnoresTheLowFourBits) {
    FakeHost& window = Start();
    EXPECT_TRUE(dialog->OnSysCommand(0x0013));
    EXPECT_TRUE(Logged(window, "modal 100"));
    EXPECT_FALSE(dialog->OnSysCommand(0xF020)); // minimise: default processing
}

TEST_F(MainWindowTest, MinimisedWindowPaintsItsIconCentred) {
    FakeHost& window = Start();
    std::vector<std::string> drawn;
    RecordingPainter painter(drawn);
    EXPECT_FALSE(dialog->OnPaint(painter)) << "a normal window paints the default way";
    window.minimized = true;
    window.clientRect = {0, 0, 160, 40};
    EXPECT_TRUE(dialog->OnPaint(painter));
    window.clientRect = {0, 0, 30, 30}; // narrower than the icon: (30 - 32 + 1) / 2 = 0
    dialog->OnPaint(painter);
    window.clientRect = {0, 0, 28, 28}; // (28 - 32 + 1) / 2 = -1
    dialog->OnPaint(painter);
    EXPECT_EQ(drawn, (std::vector<std::string>{"icon 128 64,4", "icon 128 0,0", "icon 128 -1,-1"}));
}

} // namespace
} // namespace lumivar::test
