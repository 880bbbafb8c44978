#pragma once

#include "ScheduleSettings.h"

#include <array>
#include <string_view>

namespace lumivar {

/// One schedule slot: its radio button (whose id is the stored mode), its
/// Setup.ini section, its time picker and default-time button, and its
/// default time. Every place that names a slot goes through this table.
struct Slot {
    int modeId;
    std::string_view section;
    int pickerId;
    int defaultButtonId;
    TargetTime defaultTime;
    TargetTime ScheduleSettings::*field;
};

inline constexpr std::array<Slot, 3> kSlots{{
    {IDC_MODE_WORK, "WORK", IDC_TIME_WORK, IDC_SET_DEFAULT_WORK, {22, 59, 0},
     &ScheduleSettings::work},
    {IDC_MODE_REST, "REST", IDC_TIME_REST, IDC_SET_DEFAULT_REST, {23, 59, 0},
     &ScheduleSettings::rest},
    {IDC_MODE_USER, "USER", IDC_TIME_USER, IDC_SET_DEFAULT_USER, {0, 0, 0},
     &ScheduleSettings::user},
}};

/// The slot whose radio button has this id; nullptr for any other value.
constexpr const Slot* FindSlotByMode(int modeId) {
    for (const Slot& slot : kSlots)
        if (slot.modeId == modeId)
            return &slot;
    return nullptr;
}

/// The slot whose default-time button has this id; nullptr for any other value.
constexpr const Slot* FindSlotByDefaultButton(int buttonId) {
    for (const Slot& slot : kSlots)
        if (slot.defaultButtonId == buttonId)
            return &slot;
    return nullptr;
}

} // namespace lumivar
