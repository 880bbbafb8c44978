// The armed schedule when the clock misbehaves: set forward or back, the
// daylight-saving days, a suspend, and a day of jittered timer deliveries.
// Missed seconds are not made up; no arming may power off twice.
#include "MainWindowFixture.h"

#include <cstdlib>
#include <ctime>
#include <optional>
#include <random>

namespace lumivar::test {
namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

#ifndef _WIN32 // Windows' C runtime does not read IANA zone names such as Europe/Berlin
// Puts the process in another time zone for one test and back afterwards.
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;
    ~TimeZone() {
        if (m_old)
            ::setenv("TZ", m_old->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::optional<std::string> m_old;
};
#endif

class ClockTroubleTest : public MainWindowTest {
protected:
    FakeHost& ArmUserSlot(WallTime at, TargetTime target, bool notice = true) {
        FakeHost& window = Start(notice ? "[MODE]\r\nMode=1006\r\n"
                                        : "[MODE]\r\nMode=1006\r\n[NOTICE]\r\nShow=0\r\n",
                                 at);
        window.SetPicker(IDC_TIME_USER, target);
        window.Click(IDC_ARM);
        return window;
    }
    std::size_t PowerOffs() const { return powerOff.calls.size() / 2; }
    // The local time of the tick that powered off (the tick stops with it).
    static LocalTime LastTick(const FakeHost& window) {
        return ToLocalTime(window.wallSecondTicks.back());
    }
};

TEST_F(ClockTroubleTest, ClockSetForwardAcrossTheTargetPowersOffTheNextDay) {
    FakeHost& window = ArmUserSlot(FakeClock::At(12, 0, 0, 300), {12, 0, 30}, false);
    desktop.RunUntil(FakeClock::At(12, 0, 10, 500));
    desktop.JumpWallClock(60s);
    desktop.RunFor(10min);
    EXPECT_EQ(PowerOffs(), 0u) << "the missed target second is not made up";
    desktop.RunUntil(FakeClock::At(12, 0, 30, 500) + 24h);
    ASSERT_EQ(PowerOffs(), 1u);
    const LocalTime at = LastTick(window);
    EXPECT_EQ(at.day, 8);
    EXPECT_EQ((TargetTime{at.hour, at.minute, at.second}), (TargetTime{12, 0, 30}));
}

TEST_F(ClockTroubleTest, ClockSetBackAcrossTheTargetAfterAPowerOffDoesNotRepeatIt) {
    ArmUserSlot(FakeClock::At(12, 0, 0, 300), {12, 0, 30});
    desktop.RunUntil(FakeClock::At(12, 0, 30, 100));
    ASSERT_EQ(PowerOffs(), 1u);
    desktop.JumpWallClock(-2min);
    desktop.RunFor(5min);
    desktop.JumpWallClock(-500ms); // back within the target second itself
    desktop.RunFor(2s);
    EXPECT_EQ(PowerOffs(), 1u);
}

TEST_F(ClockTroubleTest, SuspendAcrossTheNoticeSecondSkipsTheNoticeOnly) {
    ArmUserSlot(FakeClock::At(12, 0, 0, 300), {12, 1, 0});
    desktop.RunUntil(FakeClock::At(12, 0, 20));
    desktop.Sleep(20s);
    desktop.RunUntil(FakeClock::At(12, 1, 0, 500));
    EXPECT_TRUE(Notices().empty());
    EXPECT_EQ(PowerOffs(), 1u);
}

#ifndef _WIN32
WallTime Utc(year_month_day day, seconds timeOfDay) {
    return sys_days(day) + timeOfDay;
}

// Spring forward in Berlin, 29 March 2026: 02:00 CET becomes 03:00 CEST, so
// no target in that hour is met that day; it is met the next day.
TEST_F(ClockTroubleTest, TargetInTheSkippedSpringHourWaitsForTheNextDay) {
    const TimeZone berlin("Europe/Berlin");
    for (const TargetTime target :
         {TargetTime{2, 0, 0}, TargetTime{2, 30, 0}, TargetTime{2, 59, 59}}) {
        SCOPED_TRACE(target.minute);
        powerOff.calls.clear();
        desktop.windows.clear();
        FakeHost& window = ArmUserSlot(Utc(2026y / March / 29, 0h), target); // 01:00 CET
        desktop.RunUntil(Utc(2026y / March / 29, 22h));
        EXPECT_EQ(PowerOffs(), 0u);
        desktop.RunUntil(Utc(2026y / March / 30, 1h)); // 03:00 CEST
        ASSERT_EQ(PowerOffs(), 1u);
        const LocalTime at = LastTick(window);
        EXPECT_EQ(at.day, 30);
        EXPECT_EQ((TargetTime{at.hour, at.minute, at.second}), target);
    }
}

// Fall back in Berlin, 25 October 2026: 02:00-02:59 comes twice. One
// arming, one notice and one power-off, in the first of the two hours.
TEST_F(ClockTroubleTest, TargetInTheRepeatedAutumnHourPowersOffOnce) {
    const TimeZone berlin("Europe/Berlin");
    FakeHost& window = ArmUserSlot(Utc(2026y / October / 24, 23h), {2, 30, 0}); // 01:00 CEST
    desktop.RunUntil(Utc(2026y / October / 25, 3h));                            // 04:00 CET
    EXPECT_EQ(Notices().size(), 1u);
    ASSERT_EQ(PowerOffs(), 1u);
    EXPECT_EQ(window.wallSecondTicks.back(), Utc(2026y / October / 25, 30min) + 5ms);
}

// A whole armed day with every delivery of the tick timer early or late by up
// to 200 ms and now and then 900 ms late, paced as the real timer paces it:
// every wall-clock second gets exactly one tick, the target's included.
#endif

TEST_F(ClockTroubleTest, JitteredDayTicksEverySecondOnceAndMeetsTheTarget) {
    std::mt19937 random(86400);
    std::uniform_int_distribution<int> jitter(-200, 200);
    desktop.wallSecondLateness = [&] {
        return random() % 500 == 0 ? 900ms : milliseconds(jitter(random));
    };
    FakeHost& window = ArmUserSlot(FakeClock::At(0, 0, 0, 300), {23, 59, 59});
    desktop.RunUntil(FakeClock::At(0, 0, 30) + 24h);

    int missed = 0;
    int doubled = 0;
    auto last = floor<seconds>(FakeClock::At(0, 0, 0));
    for (const WallTime tick : window.wallSecondTicks) {
        const auto second = floor<seconds>(tick);
        doubled += second == last;
        missed += static_cast<int>(std::max<std::int64_t>((second - last).count() - 1, 0));
        last = second;
    }
    EXPECT_EQ(missed, 0);
    EXPECT_EQ(doubled, 0);
    EXPECT_EQ(window.wallSecondTicks.size(), 86399u);
    ASSERT_EQ(PowerOffs(), 1u);
    EXPECT_EQ(last, floor<seconds>(FakeClock::At(23, 59, 59)));
}

} // namespace
} // namespace lumivar::test
