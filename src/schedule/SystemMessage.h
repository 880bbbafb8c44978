#pragma once

#include <string>

namespace lumivar {

/// The system's own text for a Windows error code (GetLastError), as one
/// line of UTF-8; "error N" where the system has none. Windows only.
std::string SystemMessage(unsigned long error);

} // namespace lumivar
