// The once-a-second decision: notice thirty seconds ahead, power-off at the
// target second, nothing otherwise.
#include "ScheduleCheck.h"

#include "CaseName.h"

#include <gtest/gtest.h>

namespace lumivar {
namespace {

struct CheckCase {
    const char* name;
    TargetTime target;
    TargetTime now;
    bool notice;
    ScheduleAction expected;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

class CheckScheduleTable : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckScheduleTable, Decides) {
    const CheckCase& c = GetParam();
    EXPECT_EQ(CheckSchedule(c.target, c.now.hour, c.now.minute, c.now.second, c.notice),
              c.expected);
}

using enum ScheduleAction;
const CheckCase kCases[] = {
    {"NoticeThirtySecondsAhead", {23, 30, 0}, {23, 29, 30}, true, ShowNotice},
    {"NoNoticeWhenOptionOff", {23, 30, 0}, {23, 29, 30}, false, None},
    {"NoNoticeThirtyOneAhead", {23, 30, 0}, {23, 29, 29}, true, None},
    {"NoNoticeTwentyNineAhead", {23, 30, 0}, {23, 29, 31}, true, None},
    {"PowerOffAtTarget", {23, 30, 0}, {23, 30, 0}, true, PowerOff},
    {"PowerOffAtTargetWithoutNotice", {23, 30, 0}, {23, 30, 0}, false, PowerOff},
    {"NothingJustAfterTarget", {23, 30, 0}, {23, 30, 1}, true, None},
    {"NothingThirtyAfterTarget", {23, 30, 0}, {23, 30, 30}, true, None},
    {"MidnightTargetPowersOff", {0, 0, 0}, {0, 0, 0}, true, PowerOff},
    {"MidnightTargetNoticesTheEveningBefore", {0, 0, 0}, {23, 59, 30}, true, ShowNotice},
    {"Target5NoticesAcrossMidnight", {0, 0, 5}, {23, 59, 35}, true, ShowNotice},
    {"Target29NoticesAtTheLastSecond", {0, 0, 29}, {23, 59, 59}, true, ShowNotice},
    {"Target29PowersOff", {0, 0, 29}, {0, 0, 29}, true, PowerOff},
    {"Target30NoticesAtMidnight", {0, 0, 30}, {0, 0, 0}, true, ShowNotice},
    {"LastSecondNotices", {23, 59, 59}, {23, 59, 29}, true, ShowNotice},
    {"LastSecondPowersOff", {23, 59, 59}, {23, 59, 59}, true, PowerOff},
    {"NoticeAcrossMinute", {12, 0, 10}, {11, 59, 40}, true, ShowNotice},
    {"OtherHourSameMinuteSecond", {12, 0, 0}, {13, 0, 0}, true, None},
};
INSTANTIATE_TEST_SUITE_P(Table, CheckScheduleTable, ::testing::ValuesIn(kCases), test::CaseName());

TEST(CheckSchedule, EveryTargetOfTheDayNoticesOnceAndPowersOffOnce) {
    // A whole day of ticks for a sample of targets, the first thirty seconds
    // of the day among them: exactly one notice and exactly one power-off.
    for (int target = 0; target < 86400; target += target < 30 ? 1 : 997) {
        const TargetTime t{target / 3600, target / 60 % 60, target % 60};
        int notices = 0;
        int powerOffs = 0;
        for (int now = 0; now < 86400; ++now) {
            const ScheduleAction action =
                CheckSchedule(t, now / 3600, now / 60 % 60, now % 60, true);
            notices += action == ShowNotice;
            powerOffs += action == PowerOff;
        }
        EXPECT_EQ(notices, 1) << target;
        EXPECT_EQ(powerOffs, 1) << target;
    }
}

} // namespace
} // namespace lumivar
