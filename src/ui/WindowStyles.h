#pragma once

// Window and control style bits of the dialog templates, with our own names
// (no <windows.h> here): what the hosts and tests read from the templates.
// scripts/gen_resources.py reads this file too, to turn the Win32 style names
// of res/resources.json into numbers: a constant's comment is its Win32 name,
// and a name the templates use must be here.

#include <cstdint>

namespace lumivar::ui::style {

// Windows
inline constexpr std::uint32_t kPopup = 0x80000000;         // WS_POPUP
inline constexpr std::uint32_t kChild = 0x40000000;         // WS_CHILD
inline constexpr std::uint32_t kVisible = 0x10000000;       // WS_VISIBLE
inline constexpr std::uint32_t kDisabled = 0x08000000;      // WS_DISABLED
inline constexpr std::uint32_t kCaption = 0x00C00000;       // WS_CAPTION
inline constexpr std::uint32_t kBorder = 0x00800000;        // WS_BORDER
inline constexpr std::uint32_t kSysMenu = 0x00080000;       // WS_SYSMENU
inline constexpr std::uint32_t kThickFrame = 0x00040000;    // WS_THICKFRAME
inline constexpr std::uint32_t kGroup = 0x00020000;         // WS_GROUP, for controls
inline constexpr std::uint32_t kTabStop = 0x00010000;       // WS_TABSTOP, for controls
inline constexpr std::uint32_t kMinimizeBox = 0x00020000;   // WS_MINIMIZEBOX, for windows
inline constexpr std::uint32_t kMaximizeBox = 0x00010000;   // WS_MAXIMIZEBOX, for windows
inline constexpr std::uint32_t kExTopmost = 0x00000008;     // WS_EX_TOPMOST
inline constexpr std::uint32_t kExTransparent = 0x00000020; // WS_EX_TRANSPARENT
inline constexpr std::uint32_t kExAppWindow = 0x00040000;   // WS_EX_APPWINDOW

// Dialog templates
inline constexpr std::uint32_t kDialogSetFont = 0x0040;       // DS_SETFONT
inline constexpr std::uint32_t kDialogModalFrame = 0x0080;    // DS_MODALFRAME
inline constexpr std::uint32_t kDialogSetForeground = 0x0200; // DS_SETFOREGROUND

// Buttons: the low four bits are the kind
inline constexpr std::uint32_t kButtonKindMask = 0x0F;
inline constexpr std::uint32_t kPushButton = 0x0;         // BS_PUSHBUTTON
inline constexpr std::uint32_t kDefPushButton = 0x1;      // BS_DEFPUSHBUTTON
inline constexpr std::uint32_t kCheckBox = 0x2;           // BS_CHECKBOX
inline constexpr std::uint32_t kAutoCheckBox = 0x3;       // BS_AUTOCHECKBOX
inline constexpr std::uint32_t kRadioButton = 0x4;        // BS_RADIOBUTTON
inline constexpr std::uint32_t kGroupBox = 0x7;           // BS_GROUPBOX
inline constexpr std::uint32_t kAutoRadioButton = 0x9;    // BS_AUTORADIOBUTTON
inline constexpr std::uint32_t kButtonMultiLine = 0x2000; // BS_MULTILINE

// Statics: the low five bits are the kind
inline constexpr std::uint32_t kStaticKindMask = 0x1F;
inline constexpr std::uint32_t kStaticLeft = 0x00;       // SS_LEFT
inline constexpr std::uint32_t kStaticCenter = 0x01;     // SS_CENTER
inline constexpr std::uint32_t kStaticRight = 0x02;      // SS_RIGHT
inline constexpr std::uint32_t kStaticIcon = 0x03;       // SS_ICON
inline constexpr std::uint32_t kStaticBitmap = 0x0E;     // SS_BITMAP
inline constexpr std::uint32_t kStaticEtchedHorz = 0x10; // SS_ETCHEDHORZ
inline constexpr std::uint32_t kStaticEtchedVert = 0x11; // SS_ETCHEDVERT
inline constexpr std::uint32_t kStaticNoPrefix = 0x80;   // SS_NOPREFIX

// Edits
inline constexpr std::uint32_t kEditLeft = 0x0000;        // ES_LEFT
inline constexpr std::uint32_t kEditCenter = 0x0001;      // ES_CENTER
inline constexpr std::uint32_t kEditRight = 0x0002;       // ES_RIGHT
inline constexpr std::uint32_t kEditAutoHScroll = 0x0080; // ES_AUTOHSCROLL
inline constexpr std::uint32_t kEditReadOnly = 0x0800;    // ES_READONLY

// Date-time pickers
inline constexpr std::uint32_t kDateTimeTimeFormat = 0x09; // DTS_TIMEFORMAT
inline constexpr std::uint32_t kDateTimeRightAlign = 0x20; // DTS_RIGHTALIGN

// Up-down controls
inline constexpr std::uint32_t kUpDownSetBuddyInt = 0x02; // UDS_SETBUDDYINT
inline constexpr std::uint32_t kUpDownAlignRight = 0x04;  // UDS_ALIGNRIGHT
inline constexpr std::uint32_t kUpDownAlignLeft = 0x08;   // UDS_ALIGNLEFT
inline constexpr std::uint32_t kUpDownAutoBuddy = 0x10;   // UDS_AUTOBUDDY
inline constexpr std::uint32_t kUpDownArrowKeys = 0x20;   // UDS_ARROWKEYS

} // namespace lumivar::ui::style
