#pragma once

// Numeric values of the Windows messages, show commands, message-box types and
// other constants the windows' behaviour is written in. Our own names, so the
// code builds without <windows.h> and does not clash with its macros.

#include <cstdint>

namespace lumivar::ui {

// Message boxes
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Show commands
inline constexpr int kSwHide = 0;
inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwMinimize = 6;
inline constexpr int kSwShowMinNoActive = 7;
inline constexpr int kSwShowNa = 8;

// Window position flags
inline constexpr unsigned kSwpShowWindow = 0x0040;

// Size notification types
inline constexpr int kSizeRestored = 0;
inline constexpr int kSizeMinimized = 1;

// Mouse messages the tray callback carries
inline constexpr unsigned kWmMouseMove = 0x0200;
inline constexpr unsigned kWmLButtonDown = 0x0201;
inline constexpr unsigned kWmLButtonUp = 0x0202;
inline constexpr unsigned kWmLButtonDblClk = 0x0203;
inline constexpr unsigned kWmRButtonDown = 0x0204;
inline constexpr unsigned kWmRButtonUp = 0x0205;

// Tray icon
inline constexpr unsigned kWmTrayCallback = 0x0401; // WM_USER + 1
inline constexpr unsigned kNifMessage = 0x1;
inline constexpr unsigned kNifIcon = 0x2;
inline constexpr unsigned kNifTip = 0x4;

// Menus
inline constexpr unsigned kTpmLeftAlign = 0x0;
inline constexpr unsigned kTpmTopAlign = 0x0;
inline constexpr unsigned kTpmRightButton = 0x2;

// Check states
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;

/// A COLORREF: 0x00BBGGRR.
using ColorRef = std::uint32_t;
constexpr int RedOf(ColorRef c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(ColorRef c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(ColorRef c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

} // namespace lumivar::ui
