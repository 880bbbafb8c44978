#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lumivar::qt {

/// Milliseconds since the system started, suspended time included, as a
/// 32-bit count that wraps after about 49.7 days like Windows's GetTickCount.
std::uint32_t TickCountSinceBoot();

/// The first number of /proc/uptime (seconds with a fraction) in
/// milliseconds; empty if the text is not such a number.
std::optional<std::uint64_t> ParseProcUptime(std::string_view text);

} // namespace lumivar::qt
