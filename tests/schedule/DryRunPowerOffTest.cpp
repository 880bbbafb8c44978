#include "DryRunPowerOff.h"
#include "FakeClock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <sstream>

namespace lumivar {
namespace {

TEST(DryRunPowerOff, ReportsTheLocalTimeToTheMillisecond) {
    test::FakeClock clock;
    clock.Set(test::FakeClock::At(9, 5, 3, 42));
    std::ostringstream out;
    DryRunPowerOff powerOff(clock, out);

    powerOff.AcquirePowerOffPrivilege();
    EXPECT_EQ(out.str(), "");
    powerOff.RequestPowerOff();
    EXPECT_EQ(out.str(), "dry-run: power-off requested at 09:05:03.042\n");
}

TEST(LocalTime, WeekdayCountsFromSunday) {
    std::tm local{};
    local.tm_year = 2007 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 5; // a Monday
    local.tm_hour = 8;
    local.tm_min = 30;
    local.tm_isdst = -1;
    const LocalTime t = ToLocalTime(std::chrono::system_clock::from_time_t(std::mktime(&local)));
    EXPECT_EQ(t.weekday, 2);
    EXPECT_EQ(t.year, 2007);
    EXPECT_EQ(t.month, 3);
    EXPECT_EQ(t.day, 5);
    EXPECT_EQ(t.hour, 8);
    EXPECT_EQ(t.minute, 30);
}

} // namespace
} // namespace lumivar
