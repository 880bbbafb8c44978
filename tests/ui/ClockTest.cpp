// The date, time and uptime display and its refresh period and toggle.
#include "MainWindowFixture.h"

namespace lumivar::test {
namespace {

using namespace std::chrono_literals;

TEST_F(MainWindowTest, TextsKeepTheirPlaceholdersUntilTheFirstTick) {
    FakeHost& window = Start({}, FakeClock::At(8, 30, 0));
    window.tickCount = 7509000;
    desktop.RunFor(999ms);
    EXPECT_EQ(window.ControlText(IDC_DATE_TIME_TEXT),
              "系统日期时间:0000年00月00日 00时00分00秒 星期00");
    EXPECT_EQ(window.ControlText(IDC_UPTIME_TEXT), "系统运行时间:00时00分00秒");
    desktop.RunFor(1ms);
    EXPECT_EQ(window.ControlText(IDC_DATE_TIME_TEXT),
              "系统日期时间:2026年12月07日 08时30分01秒 星期一");
    EXPECT_EQ(window.ControlText(IDC_UPTIME_TEXT), "系统运行时间:2时5分9秒");
}

TEST_F(MainWindowTest, UptimeCountsHoursBeyondADayWithoutLeadingZeros) {
    FakeHost& window = Start();
    window.tickCount = 5000;
    desktop.RunFor(1s);
    EXPECT_EQ(window.ControlText(IDC_UPTIME_TEXT), "系统运行时间:0时0分5秒");
    window.tickCount = 30u * 3600000u;
    desktop.RunFor(1s);
    EXPECT_EQ(window.ControlText(IDC_UPTIME_TEXT), "系统运行时间:30时0分0秒");
    window.tickCount = 0xFFFFFFFFu;
    desktop.RunFor(1s);
    EXPECT_EQ(window.ControlText(IDC_UPTIME_TEXT), "系统运行时间:1193时2分47秒");
}

TEST_F(MainWindowTest, SpinStepsTheRefreshPeriodWithinOneToFiveSeconds) {
    FakeHost& window = Start();
    for (int i = 0; i < 4; ++i)
        window.Spin(+1);
    EXPECT_EQ(window.ControlText(IDC_REFRESH_PERIOD), "5000");
    window.Spin(+1);
    EXPECT_EQ(window.ControlText(IDC_REFRESH_PERIOD), "5000");
    EXPECT_EQ(window.Timer(ui::kClockTimer).period, 5000ms);
    window.Spin(-1);
    EXPECT_EQ(window.ControlText(IDC_REFRESH_PERIOD), "4000");
    window.Spin(-100);
    EXPECT_EQ(window.ControlText(IDC_REFRESH_PERIOD), "1000");
}

TEST_F(MainWindowTest, SpinAtTheLimitStillRestartsTheTimer) {
    FakeHost& window = Start({}, FakeClock::At(9, 0, 0));
    desktop.RunFor(600ms);
    window.Spin(-1);
    EXPECT_EQ(window.ControlText(IDC_REFRESH_PERIOD), "1000");
    desktop.RunFor(999ms);
    EXPECT_EQ(window.ControlText(IDC_DATE_TIME_TEXT).find("2026"), std::string::npos)
        << "the next refresh comes a full period after the step";
    desktop.RunFor(1ms);
    EXPECT_NE(window.ControlText(IDC_DATE_TIME_TEXT).find("09时00分01秒"), std::string::npos);
}

TEST_F(MainWindowTest, ToggleStopsAndRestartsRefreshingButNotTheSchedule) {
    FakeHost& window = Start();
    window.Click(IDC_ARM);
    window.Click(IDC_REFRESH_TOGGLE);
    EXPECT_FALSE(window.TimerRunning(ui::kClockTimer));
    EXPECT_TRUE(window.TimerRunning(ui::kScheduleTimer));
    EXPECT_EQ(window.ControlText(IDC_REFRESH_TOGGLE), "开始刷新/系统时间");
    const std::string frozen = window.ControlText(IDC_DATE_TIME_TEXT);
    window.Spin(+1);
    EXPECT_EQ(window.ControlText(IDC_REFRESH_PERIOD), "2000");
    EXPECT_FALSE(window.TimerRunning(ui::kClockTimer))
        << "a step while stopped keeps the timer stopped";
    desktop.RunFor(5s);
    EXPECT_EQ(window.ControlText(IDC_DATE_TIME_TEXT), frozen);

    window.Click(IDC_REFRESH_TOGGLE);
    EXPECT_EQ(window.ControlText(IDC_REFRESH_TOGGLE), "停止刷新/系统时间");
    ASSERT_TRUE(window.TimerRunning(ui::kClockTimer));
    EXPECT_EQ(window.Timer(ui::kClockTimer).period, 2000ms);
}

TEST_F(MainWindowTest, RefreshPeriodThatIsNotAnIntegerInRangeIsRefused) {
    FakeHost& window = Start();
    window.SetControlText(IDC_REFRESH_PERIOD, "12x");
    EXPECT_FALSE(dialog->UpdateData(true));
    window.SetControlText(IDC_REFRESH_PERIOD, "6000");
    EXPECT_FALSE(dialog->UpdateData(true));
    ASSERT_EQ(window.messageBoxes.size(), 2u);
    EXPECT_EQ(window.focus, IDC_REFRESH_PERIOD);
    window.SetControlText(IDC_REFRESH_PERIOD, " 3000 ");
    EXPECT_TRUE(dialog->UpdateData(true));
}

} // namespace
} // namespace lumivar::test
