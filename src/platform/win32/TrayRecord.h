#pragma once

#include "DialogHost.h"

#include "Win32Api.h"

#include <shellapi.h>

namespace lumivar::win32 {

/// The Shell_NotifyIconW record for the main window's icon: id, flags and
/// callback message as the window gave them, the tip in UTF-16 (cut at a
/// character boundary if it is longer than the field).
NOTIFYICONDATAW MakeTrayRecord(HWND window, const ui::TrayIconData& data, HICON icon);

} // namespace lumivar::win32
