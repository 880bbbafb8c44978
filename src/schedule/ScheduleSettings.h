#pragma once

#include "TargetTime.h"

#include "MainDialogIds.h"

#include <cstdint>

namespace lumivar {

/// Everything Setup.ini holds. The clock refresh period is deliberately absent:
/// it starts at 1000 ms on every run.
struct ScheduleSettings {
    /// Id of the selected slot's radio button (1000, 1001, 1006), 0 for none.
    std::int32_t mode = IDC_MODE_WORK;
    TargetTime work{22, 59, 0};
    TargetTime rest{23, 59, 0};
    TargetTime user{0, 0, 0};
    /// Check state of the thirty-second notice option: 0 off, 1 on.
    std::int32_t noticeShow = 1;

    friend bool operator==(const ScheduleSettings&, const ScheduleSettings&) = default;
};

} // namespace lumivar
