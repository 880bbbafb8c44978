#pragma once

#include "ScheduleSettings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lumivar {

/// The stored mode values. They are the ids the main window's radio buttons
/// have always had, kept so that every Setup.ini reads as it always has; the
/// windows check that their radio buttons still carry them.
inline constexpr std::int32_t kModeWork = 1000;
inline constexpr std::int32_t kModeRest = 1001;
inline constexpr std::int32_t kModeUser = 1006;

/// One schedule slot: its stored mode value, its time in the settings, and
/// the Setup.ini section and default of that time (from kSettingKeys).
struct Slot {
    std::int32_t mode;
    TargetTime ScheduleSettings::*field;
    std::string_view section;
    TargetTime defaultTime;
};

/// Places in kSlots, for whatever else is kept by slot.
enum SlotIndex : std::size_t { kWorkSlot, kRestSlot, kUserSlot, kSlotCount };

namespace detail {

constexpr Slot MakeSlot(std::int32_t mode, TargetTime ScheduleSettings::*field) {
    Slot slot{mode, field, {}, ScheduleSettings{}.*field};
    for (const SettingKey& setting : kSettingKeys)
        if (setting.time == field)
            slot.section = setting.section;
    return slot;
}

} // namespace detail

/// Every place that names a slot goes through this table.
inline constexpr std::array<Slot, kSlotCount> kSlots{{
    detail::MakeSlot(kModeWork, &ScheduleSettings::work),
    detail::MakeSlot(kModeRest, &ScheduleSettings::rest),
    detail::MakeSlot(kModeUser, &ScheduleSettings::user),
}};

// With nothing stored the first slot is selected.
static_assert(ScheduleSettings{}.mode == kSlots[kWorkSlot].mode);

} // namespace lumivar
