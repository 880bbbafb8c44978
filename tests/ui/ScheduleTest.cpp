// Choosing a slot, arming, cancelling, default times, and the schedule tick
// carrying out the notice and the power-off.
#include "MainWindowFixture.h"

namespace lumivar::test {
namespace {

using namespace std::chrono_literals;

TEST_F(MainWindowTest, SelectingAModeEnablesOnlyItsControls) {
    FakeHost& window = Start();
    window.Click(IDC_MODE_USER);
    EXPECT_TRUE(window.IsControlEnabled(IDC_TIME_USER));
    EXPECT_TRUE(window.IsControlEnabled(IDC_SET_DEFAULT_USER));
    EXPECT_FALSE(window.IsControlEnabled(IDC_TIME_WORK));
    EXPECT_FALSE(window.IsControlEnabled(IDC_SET_DEFAULT_WORK));
    EXPECT_EQ(ui::g_armedTarget, TargetTime{}) << "selecting does not arm";
    EXPECT_FALSE(SetupIniExists()) << "selecting stores nothing";
}

TEST_F(MainWindowTest, ArmTakesTheSelectedPickerAndGoesToTheTray) {
    FakeHost& window = Start("[MODE]\r\nMode=1001\r\n");
    window.SetPicker(IDC_TIME_REST, {23, 30, 0});
    window.SetPicker(IDC_TIME_WORK, {21, 0, 0});
    window.Click(IDC_ARM);
    EXPECT_EQ(ui::g_armedTarget, (TargetTime{23, 30, 0}));
    ASSERT_TRUE(window.TimerRunning(ui::kScheduleTimer));
    EXPECT_EQ(window.Timer(ui::kScheduleTimer).pacing, ui::TimerPacing::WallSecond);
    for (int id : {IDC_MODE_WORK, IDC_MODE_REST, IDC_MODE_USER, IDC_TIME_REST, IDC_SET_DEFAULT_REST,
                   IDC_ARM})
        EXPECT_FALSE(window.IsControlEnabled(id)) << id;
    EXPECT_TRUE(window.IsControlEnabled(IDC_CANCEL_POWER_OFF));
    EXPECT_EQ(window.CheckedRadioButton(IDC_MODE_FIRST, IDC_MODE_LAST), IDC_MODE_REST);
    EXPECT_FALSE(window.visible);
    EXPECT_EQ(desktop.trayIcons, 1);
    // Minimising inside the first send runs it again: two adds of one icon.
    const auto adds = std::count_if(window.log.begin(), window.log.end(), [](const auto& line) {
        return line == "tray add 102 flags=7 callback=1025 icon=128 menu=136/0 "
                       "tip=Tarnholt定时关机管理程序";
    });
    EXPECT_EQ(adds, 2);
    EXPECT_EQ(SetupIni(), "[MODE]\r\nMode=1001\r\n") << "arming stores nothing";
}

TEST_F(MainWindowTest, CancelStopsTheTickAndGivesBackTheModeControls) {
    FakeHost& window = Start("[MODE]\r\nMode=1006\r\n");
    window.Click(IDC_ARM);
    window.TrayMouse(ui::kWmLButtonDblClk);
    window.Click(IDC_CANCEL_POWER_OFF);
    EXPECT_FALSE(window.TimerRunning(ui::kScheduleTimer));
    for (int id : {IDC_ARM, IDC_MODE_WORK, IDC_MODE_REST, IDC_MODE_USER, IDC_TIME_USER,
                   IDC_SET_DEFAULT_USER})
        EXPECT_TRUE(window.IsControlEnabled(id)) << id;
    EXPECT_FALSE(window.IsControlEnabled(IDC_CANCEL_POWER_OFF));
    EXPECT_FALSE(window.IsControlEnabled(IDC_TIME_WORK));

    window.Click(IDC_MODE_WORK);
    window.SetPicker(IDC_TIME_WORK, {1, 2, 3});
    window.Click(IDC_ARM);
    EXPECT_EQ(ui::g_armedTarget, (TargetTime{1, 2, 3})) << "re-arming reads the new slot";
}

TEST_F(MainWindowTest, ArmWithNoSlotAsksForOneAndArmsNothing) {
    ui::g_armedTarget = {5, 6, 7};
    FakeHost& window = Start("[MODE]\r\nMode=abc\r\n", FakeClock::At(5, 5, 0));
    window.Click(IDC_ARM);
    ASSERT_EQ(window.messageBoxes.size(), 1u);
    EXPECT_EQ(window.messageBoxes[0].caption, "提示");
    EXPECT_FALSE(window.TimerRunning(ui::kScheduleTimer));
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(desktop.trayIcons, 0);
    for (int id : {IDC_ARM, IDC_MODE_WORK, IDC_MODE_REST, IDC_MODE_USER, IDC_TIME_WORK})
        EXPECT_TRUE(window.IsControlEnabled(id)) << id;
    EXPECT_FALSE(window.IsControlEnabled(IDC_CANCEL_POWER_OFF));
    desktop.RunFor(1h);
    EXPECT_TRUE(powerOff.calls.empty()) << "nothing armed, so nothing powered off";
}

TEST_F(MainWindowTest, NoticeThirtySecondsAheadThenOnePowerOffAtTheTarget) {
    FakeHost& window = Start("[MODE]\r\nMode=1006\r\n", FakeClock::At(23, 29, 0, 300));
    window.SetPicker(IDC_TIME_USER, {23, 30, 0});
    window.Click(IDC_ARM);

    desktop.RunUntil(FakeClock::At(23, 29, 29, 900));
    EXPECT_TRUE(Notices().empty());
    desktop.RunUntil(FakeClock::At(23, 29, 30, 100));
    ASSERT_EQ(Notices().size(), 1u);
    FakeHost& notice = *Notices()[0];
    EXPECT_TRUE(notice.visible);
    EXPECT_TRUE(notice.topmost);
    EXPECT_EQ(notice.log.back(), "pos 483,413 313x198 flags=64") << "centred on 1280x1024";
    EXPECT_FALSE(window.IsControlEnabled(IDC_CANCEL_POWER_OFF));
    EXPECT_TRUE(powerOff.calls.empty());

    desktop.RunUntil(FakeClock::At(23, 29, 59, 999));
    EXPECT_TRUE(powerOff.calls.empty());
    desktop.RunUntil(FakeClock::At(23, 30, 0, 100));
    EXPECT_EQ(powerOff.calls, (std::vector<std::string>{"privilege", "request"}));
    EXPECT_FALSE(window.TimerRunning(ui::kScheduleTimer));
    EXPECT_TRUE(window.IsControlEnabled(IDC_ARM));
    EXPECT_FALSE(window.IsControlEnabled(IDC_CANCEL_POWER_OFF));
    EXPECT_FALSE(window.IsControlEnabled(IDC_MODE_USER))
        << "mode controls stay as arming left them";
    EXPECT_EQ(desktop.trayIcons, 1) << "the icon stays";

    desktop.RunFor(48h);
    EXPECT_EQ(powerOff.calls.size(), 2u) << "one arming, one request";
}

TEST_F(MainWindowTest, NoticeOptionIsReadFromTheCheckBoxAtTheTick) {
    FakeHost& window = Start("[MODE]\r\nMode=1006\r\n", FakeClock::At(10, 0, 0));
    window.SetPicker(IDC_TIME_USER, {10, 1, 0});
    window.Click(IDC_ARM);
    window.TrayMouse(ui::kWmLButtonDblClk);
    window.Click(IDC_NOTICE_CHECK);
    desktop.RunUntil(FakeClock::At(10, 0, 31));
    EXPECT_TRUE(Notices().empty());
    EXPECT_TRUE(window.IsControlEnabled(IDC_CANCEL_POWER_OFF)) << "still cancellable";
    desktop.RunUntil(FakeClock::At(10, 1, 1));
    EXPECT_EQ(powerOff.calls.size(), 2u);
}

TEST_F(MainWindowTest, TargetEarlierInTheDayWaitsForTomorrow) {
    FakeHost& window = Start("[MODE]\r\nMode=1006\r\n", FakeClock::At(12, 0, 0));
    window.SetPicker(IDC_TIME_USER, {11, 0, 0});
    window.Click(IDC_ARM);
    desktop.RunFor(22h + 59min);
    EXPECT_TRUE(powerOff.calls.empty());
    desktop.RunFor(2min);
    EXPECT_EQ(powerOff.calls.size(), 2u);
}

TEST_F(MainWindowTest, FailedPowerOffBringsTheWindowBackAndSaysWhy) {
    powerOff.failure = Failure{FailureKind::NeedsAuthorisation,
                               "org.freedesktop.DBus.Error.InteractiveAuthorizationRequired: "
                               "Interactive authentication required."};
    FakeHost& window = Start("[MODE]\r\nMode=1006\r\n", FakeClock::At(12, 0, 0));
    window.SetPicker(IDC_TIME_USER, {12, 0, 5});
    window.Click(IDC_ARM);
    desktop.RunFor(6s);
    ASSERT_EQ(powerOff.calls.size(), 2u);
    EXPECT_TRUE(window.visible) << "back from the tray";
    EXPECT_EQ(desktop.trayIcons, 0);
    ASSERT_EQ(window.messageBoxes.size(), 1u);
    EXPECT_EQ(window.messageBoxes[0].caption, "提示");
    EXPECT_EQ(window.messageBoxes[0].text, "关机没有执行,计算机仍在运行。\n"
                                           "关机需要管理员授权:须有人在场输入管理员密码。\n" +
                                               powerOff.failure->detail);
    EXPECT_EQ(errors.str(), "lumivar: power-off failed: an administrator's authorisation is "
                            "needed (" +
                                powerOff.failure->detail + ")\n");
    EXPECT_FALSE(window.TimerRunning(ui::kScheduleTimer));
    for (int id : {IDC_ARM, IDC_MODE_WORK, IDC_MODE_USER, IDC_TIME_USER, IDC_SET_DEFAULT_USER})
        EXPECT_TRUE(window.IsControlEnabled(id)) << id << ": usable again, as after a cancel";
    EXPECT_FALSE(window.IsControlEnabled(IDC_CANCEL_POWER_OFF));

    window.Click(IDC_MODE_WORK);
    window.SetPicker(IDC_TIME_WORK, {13, 0, 0});
    window.Click(IDC_ARM);
    EXPECT_EQ(ui::g_armedTarget, (TargetTime{13, 0, 0}));
}

TEST_F(MainWindowTest, ArmingWarnsOfALikelyRefusalAndStaysArmed) {
    powerOff.likelyRefusal = Failure{FailureKind::Refused, "logind CanPowerOff: no"};
    FakeHost& window = Start("[MODE]\r\nMode=1006\r\n");
    window.Click(IDC_ARM);
    EXPECT_TRUE(window.TimerRunning(ui::kScheduleTimer));
    EXPECT_FALSE(window.visible);
    ASSERT_EQ(window.messageBoxes.size(), 1u);
    EXPECT_EQ(window.messageBoxes[0].caption, "提示");
    EXPECT_EQ(window.messageBoxes[0].text, "定时关机已设定,但到时的关机请求可能会被系统拒绝。\n"
                                           "系统不允许本用户关机。\nlogind CanPowerOff: no");
}

TEST_F(MainWindowTest, IdleSleepIsHeldOffExactlyWhileArmed) {
    FakeHost& window = Start("[MODE]\r\nMode=1006\r\n", FakeClock::At(12, 0, 0));
    EXPECT_FALSE(idleSleep.held);
    window.Click(IDC_ARM);
    EXPECT_TRUE(idleSleep.held);
    window.TrayMouse(ui::kWmLButtonDblClk);
    window.Click(IDC_CANCEL_POWER_OFF);
    EXPECT_FALSE(idleSleep.held) << "cancelled";

    window.SetPicker(IDC_TIME_USER, {12, 0, 5});
    window.Click(IDC_ARM);
    EXPECT_TRUE(idleSleep.held);
    desktop.RunFor(6s);
    EXPECT_FALSE(idleSleep.held) << "carried out";

    window.Click(IDC_ARM);
    desktop.windows.clear(); // the windows go before the object behind them
    dialog.reset();
    EXPECT_FALSE(idleSleep.held) << "the program ended";
}

TEST_F(MainWindowTest, TickKeepsRunningWhileAMessageBoxWaits) {
    FakeHost& window = Start("[MODE]\r\nMode=1006\r\n", FakeClock::At(12, 0, 0));
    window.SetPicker(IDC_TIME_USER, {12, 0, 40});
    window.Click(IDC_ARM);
    window.TrayMouse(ui::kWmLButtonDblClk);
    window.whileMessageBoxOpen = [&] { desktop.RunFor(45s); };
    window.answers.push_back(ui::kIdNo);
    window.Command(ui::kIdCancel);
    EXPECT_EQ(Notices().size(), 1u);
    EXPECT_EQ(powerOff.calls.size(), 2u);
}

TEST_F(MainWindowTest, DefaultTimeButtonStoresItsSlotAndSaysSo) {
    FakeHost& window = Start("[REST]\r\nHour=1\r\n[MODE]\r\nMode=1001\r\n");
    window.Click(IDC_MODE_WORK);
    window.SetPicker(IDC_TIME_WORK, {7, 5, 0});
    window.Click(IDC_SET_DEFAULT_WORK);
    EXPECT_EQ(SetupIni(), "[REST]\r\nHour=1\r\n[MODE]\r\nMode=1001\r\n"
                          "[WORK]\r\nHour=7\r\nMinute=5\r\nSecond=0\r\n");
    ASSERT_EQ(window.messageBoxes.size(), 1u);
    EXPECT_EQ(window.messageBoxes[0].text, "已将 7:5:0 设置为星期日至星期四的默认时间!");
    EXPECT_EQ(window.messageBoxes[0].caption, "设置默认时间");
    EXPECT_EQ(window.messageBoxes[0].type, 0x40u);
    EXPECT_EQ(window.PickerTime(IDC_TIME_WORK), (TargetTime{7, 5, 0}));
    EXPECT_EQ(ui::g_armedTarget, TargetTime{}) << "storing a default arms nothing";

    window.Click(IDC_MODE_USER);
    window.SetPicker(IDC_TIME_USER, {0, 0, 0});
    window.Click(IDC_SET_DEFAULT_USER);
    EXPECT_EQ(window.messageBoxes[1].text, "已将 0:0:0 设置为自定义关机的默认时间!");
    window.Click(IDC_MODE_REST);
    window.Click(IDC_SET_DEFAULT_REST);
    EXPECT_EQ(window.messageBoxes[2].text.rfind("已将 1:59:0 ", 0), 0u);
    EXPECT_NE(window.messageBoxes[2].text.find("星期五至星期六"), std::string::npos);
}

TEST_F(MainWindowTest, DefaultTimeSaysWhenItCouldNotBeSaved) {
    std::filesystem::create_directory(dir / "Setup.ini");
    FakeHost& window = Start();
    errors.str({}); // what the load said
    window.SetPicker(IDC_TIME_WORK, {6, 30, 0});
    window.Click(IDC_SET_DEFAULT_WORK);
    ASSERT_EQ(window.messageBoxes.size(), 1u);
    const MessageBoxCall& box = window.messageBoxes[0];
    // What happened, why in plain words, then the system's detail.
    std::istringstream lines(box.text);
    std::string happened, why, detail;
    std::getline(lines, happened), std::getline(lines, why), std::getline(lines, detail);
    EXPECT_EQ(happened, "无法保存默认时间,本次运行仍使用所选的 06:30:00。");
#ifdef _WIN32
    EXPECT_EQ(why, "设置文件或它所在的文件夹不允许写入。"); // access denied
#else
    EXPECT_EQ(why, "设置文件无法读取,为免丢失其中的内容而没有改写。"); // a directory
#endif
    EXPECT_EQ(detail.rfind((dir / "Setup.ini").string() + ": ", 0), 0u) << detail;
    EXPECT_EQ(box.type, 0x30u);
    EXPECT_EQ(window.PickerTime(IDC_TIME_WORK), (TargetTime{6, 30, 0})) << "kept for this run";
    const std::string logged = errors.str();
    EXPECT_EQ(logged.rfind("lumivar: could not store the default time: ", 0), 0u) << logged;
    EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 1) << "one line";
}

} // namespace
} // namespace lumivar::test
