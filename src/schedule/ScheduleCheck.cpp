#include "ScheduleCheck.h"

namespace lumivar {

ScheduleAction CheckSchedule(const TargetTime& target, int hour, int minute, int second,
                             bool noticeOn) {
    const TargetTime now{hour, minute, second};
    if (noticeOn && SecondsOfDay(target) - SecondsOfDay(now) == kNoticeLeadSeconds)
        return ScheduleAction::ShowNotice;
    if (target == now)
        return ScheduleAction::PowerOff;
    return ScheduleAction::None;
}

} // namespace lumivar
