// The countdown notice: its paint, its thirty ticks on a shared counter, and
// how Esc, Enter and closing end it.
#include "LumivarVersion.h"
#include "MainWindowFixture.h"

namespace lumivar::test {
namespace {

using namespace std::chrono_literals;

const std::vector<std::string> kPicture{
    "bitmap 133 0,0 313x198",
    "transparent",
    "font 黑体 150",
    "color 10893471",
    "text 20,80 系统即将关机,请做好保存工作!",
    "font 宋体 100",
    "color 16777215",
    "text 13,16 ESC关闭窗体",
    "text 210,180 Lumivar " LUMIVAR_VERSION,
};

class CountdownTest : public MainWindowTest {
protected:
    FakeHost& OpenNotice() {
        FakeHost& window = Start();
        ui::DialogHost* created = window.CreateModeless(std::make_unique<ui::CShowDlg>());
        return *static_cast<FakeHost*>(created);
    }
};

TEST_F(CountdownTest, PaintsThePictureAndFixedTextsButNoCountdownLine) {
    FakeHost& notice = OpenNotice();
    notice.RedrawNow();
    std::vector<std::string> expected{"redraw"};
    expected.insert(expected.end(), kPicture.begin(), kPicture.end());
    EXPECT_EQ(notice.paintLog, expected);
}

TEST_F(CountdownTest, EachTickRepaintsThenDrawsTheLineOverIt) {
    FakeHost& notice = OpenNotice();
    desktop.RunFor(1s);
    std::vector<std::string> expected{"redraw"};
    expected.insert(expected.end(), kPicture.begin(), kPicture.end());
    expected.insert(expected.end(), {"client", "transparent", "font 宋体 100", "color 10893471",
                                     "text 100,120 离关机还有 29 秒"});
    EXPECT_EQ(notice.paintLog, expected);
}

TEST_F(CountdownTest, ThirtiethTickDrawsZeroAndEndsTheWindow) {
    FakeHost& notice = OpenNotice();
    notice.visible = true;
    desktop.RunFor(29s);
    EXPECT_EQ(ui::g_countdownText, "离关机还有 1 秒");
    EXPECT_TRUE(notice.visible);
    desktop.RunFor(1s);
    EXPECT_EQ(notice.paintLog.back(), "text 100,120 离关机还有 0 秒");
    EXPECT_FALSE(notice.visible);
    EXPECT_FALSE(notice.TimerRunning(ui::kCountdownTimer));
    EXPECT_EQ(ui::g_secondsLeft, 30);
}

TEST_F(CountdownTest, EscHidesAtOnceButTheCountGoesOnOutOfSight) {
    FakeHost& notice = OpenNotice();
    notice.visible = true;
    desktop.RunFor(5s);
    notice.Command(ui::kIdCancel);
    EXPECT_FALSE(notice.visible);
    EXPECT_EQ(ui::g_secondsLeft, 30);
    EXPECT_TRUE(notice.TimerRunning(ui::kCountdownTimer));
    desktop.RunFor(29s);
    EXPECT_TRUE(notice.TimerRunning(ui::kCountdownTimer));
    desktop.RunFor(1s);
    EXPECT_FALSE(notice.TimerRunning(ui::kCountdownTimer));
}

TEST_F(CountdownTest, EnterDoesNothingAndCloseStopsTheTimer) {
    FakeHost& notice = OpenNotice();
    notice.visible = true;
    notice.Command(ui::kIdOk);
    EXPECT_TRUE(notice.visible);
    desktop.RunFor(3s);
    notice.Close();
    EXPECT_FALSE(notice.visible);
    EXPECT_FALSE(notice.TimerRunning(ui::kCountdownTimer));
    EXPECT_EQ(ui::g_secondsLeft, 30);
}

TEST_F(CountdownTest, TakesTheFocusBackWhenItLosesIt) {
    FakeHost& notice = OpenNotice();
    static_cast<ui::Dialog&>(*desktop.ownedDialogs.back()).OnKillFocus();
    EXPECT_EQ(notice.focus, 0);
}

TEST_F(CountdownTest, TwoWindowsShareOneCounter) {
    FakeHost& first = OpenNotice();
    desktop.RunFor(10s);
    FakeHost& second = *static_cast<FakeHost*>(
        desktop.windows[0]->CreateModeless(std::make_unique<ui::CShowDlg>()));
    desktop.RunFor(1s);
    EXPECT_EQ(ui::g_secondsLeft, 18) << "both windows count the same counter down";
    desktop.RunFor(9s);
    EXPECT_FALSE(first.TimerRunning(ui::kCountdownTimer) &&
                 second.TimerRunning(ui::kCountdownTimer))
        << "one of them reached zero";
    EXPECT_TRUE(first.TimerRunning(ui::kCountdownTimer) || second.TimerRunning(ui::kCountdownTimer))
        << "the other counts on from 30";
}

TEST_F(MainWindowTest, TwoTicksInTheNoticeSecondOpenTwoNotices) {
    FakeHost& window = Start("[MODE]\r\nMode=1006\r\n", FakeClock::At(12, 0, 0));
    window.SetPicker(IDC_TIME_USER, {12, 0, 40});
    window.Click(IDC_ARM);
    desktop.RunUntil(FakeClock::At(12, 0, 10, 500));
    dialog->OnTimer(ui::kScheduleTimer); // a second delivery within the same second
    EXPECT_EQ(Notices().size(), 2u);
    desktop.RunUntil(FakeClock::At(12, 0, 40, 500));
    EXPECT_EQ(powerOff.calls.size(), 2u);
    EXPECT_FALSE(window.TimerRunning(ui::kScheduleTimer))
        << "the target tick stops the timer: no second request";
}

} // namespace
} // namespace lumivar::test
