#pragma once

// Window and control style bits of the dialog templates, with our own names
// (no <windows.h> here): what the hosts and tests read from the templates.

#include <cstdint>

namespace lumivar::ui::style {

// Windows
inline constexpr std::uint32_t kPopup = 0x80000000;
inline constexpr std::uint32_t kChild = 0x40000000;
inline constexpr std::uint32_t kVisible = 0x10000000;
inline constexpr std::uint32_t kDisabled = 0x08000000;
inline constexpr std::uint32_t kCaption = 0x00C00000;
inline constexpr std::uint32_t kBorder = 0x00800000;
inline constexpr std::uint32_t kSysMenu = 0x00080000;
inline constexpr std::uint32_t kThickFrame = 0x00040000;
inline constexpr std::uint32_t kGroup = 0x00020000;       // controls
inline constexpr std::uint32_t kTabStop = 0x00010000;     // controls
inline constexpr std::uint32_t kMinimizeBox = 0x00020000; // windows
inline constexpr std::uint32_t kMaximizeBox = 0x00010000; // windows
inline constexpr std::uint32_t kExTopmost = 0x00000008;
inline constexpr std::uint32_t kExTransparent = 0x00000020;
inline constexpr std::uint32_t kExToolWindow = 0x00000080;
inline constexpr std::uint32_t kExAppWindow = 0x00040000;

// Buttons: the low four bits are the kind
inline constexpr std::uint32_t kButtonKindMask = 0x0F;
inline constexpr std::uint32_t kPushButton = 0x0;
inline constexpr std::uint32_t kDefPushButton = 0x1;
inline constexpr std::uint32_t kCheckBox = 0x2;
inline constexpr std::uint32_t kAutoCheckBox = 0x3;
inline constexpr std::uint32_t kRadioButton = 0x4;
inline constexpr std::uint32_t kGroupBox = 0x7;
inline constexpr std::uint32_t kAutoRadioButton = 0x9;

// Statics: the low five bits are the kind
inline constexpr std::uint32_t kStaticKindMask = 0x1F;
inline constexpr std::uint32_t kStaticCenter = 0x01;
inline constexpr std::uint32_t kStaticRight = 0x02;
inline constexpr std::uint32_t kStaticIcon = 0x03;
inline constexpr std::uint32_t kStaticBitmap = 0x0E;
inline constexpr std::uint32_t kStaticEtchedHorz = 0x10;
inline constexpr std::uint32_t kStaticEtchedVert = 0x11;
inline constexpr std::uint32_t kStaticNoPrefix = 0x80;

// Edits
inline constexpr std::uint32_t kEditCenter = 0x0001;
inline constexpr std::uint32_t kEditRight = 0x0002;
inline constexpr std::uint32_t kEditReadOnly = 0x0800;

// Date-time pickers
inline constexpr std::uint32_t kDateTimeTimeFormat = 0x09;

// Up-down controls
inline constexpr std::uint32_t kUpDownSetBuddyInt = 0x02;
inline constexpr std::uint32_t kUpDownAlignRight = 0x04;
inline constexpr std::uint32_t kUpDownAlignLeft = 0x08;
inline constexpr std::uint32_t kUpDownAutoBuddy = 0x10;
inline constexpr std::uint32_t kUpDownArrowKeys = 0x20;

} // namespace lumivar::ui::style
