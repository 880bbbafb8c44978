#pragma once

#include <windows.h>

#include <string>

namespace lumivar::win32 {

/// The system's own text for an error code, as UTF-8 on one line, followed
/// by the code itself, e.g. "Access is denied. (error 5)".
std::string SystemMessage(DWORD code);

} // namespace lumivar::win32
