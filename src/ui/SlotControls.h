#pragma once

#include "MainDialogIds.h"
#include "Slots.h"
#include "UiTexts.h"

#include <array>
#include <string_view>

namespace lumivar::ui {

/// A schedule slot's controls in the main window, and the message with which
/// its default-time button confirms a stored time (hour, minute, second).
struct SlotControls {
    SlotIndex slot;
    int radioId;
    int pickerId;
    int defaultButtonId;
    std::string_view defaultTimeMessage;
};

inline constexpr std::array<SlotControls, kSlotCount> kSlotControls{{
    {kWorkSlot, IDC_MODE_WORK, IDC_TIME_WORK, IDC_SET_DEFAULT_WORK, texts::kDefaultTimeWork},
    {kRestSlot, IDC_MODE_REST, IDC_TIME_REST, IDC_SET_DEFAULT_REST, texts::kDefaultTimeRest},
    {kUserSlot, IDC_MODE_USER, IDC_TIME_USER, IDC_SET_DEFAULT_USER, texts::kDefaultTimeUser},
}};

// Setup.ini stores the checked radio button's id as the mode, so each radio
// must carry its slot's stored mode value; the rows keep kSlots' order.
static_assert([] {
    for (std::size_t i = 0; i < kSlotControls.size(); ++i)
        if (kSlotControls[i].slot != i || kSlotControls[i].radioId != kSlots[i].mode)
            return false;
    return true;
}());

/// The slot whose control `member` (radioId, defaultButtonId) has this id;
/// nullptr for any other id.
constexpr const SlotControls* FindSlotControls(int SlotControls::*member, int id) {
    for (const SlotControls& controls : kSlotControls)
        if (controls.*member == id)
            return &controls;
    return nullptr;
}

} // namespace lumivar::ui
