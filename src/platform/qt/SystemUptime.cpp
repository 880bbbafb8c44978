#include "SystemUptime.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <string>
#include <time.h>

namespace lumivar::qt {

std::uint32_t TickCountSinceBoot() {
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) == 0) {
        const std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                 static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
        return static_cast<std::uint32_t>(ms); // wraps, as the Windows count does
    }
    std::ifstream file("/proc/uptime");
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return static_cast<std::uint32_t>(ParseProcUptime(text).value_or(0));
}

std::optional<std::uint64_t> ParseProcUptime(std::string_view text) {
    const char* const end = text.data() + text.size();
    std::uint64_t seconds = 0;
    const auto [afterSeconds, error] = std::from_chars(text.data(), end, seconds);
    if (error != std::errc())
        return std::nullopt;
    std::uint64_t ms = seconds * 1000u;
    if (afterSeconds != end && *afterSeconds == '.') {
        // Up to three digits of the fraction are milliseconds; more are dropped.
        const char* digit = afterSeconds + 1;
        for (std::uint64_t scale = 100; scale > 0 && digit != end && *digit >= '0' && *digit <= '9';
             scale /= 10, ++digit)
            ms += static_cast<std::uint64_t>(*digit - '0') * scale;
    }
    return ms;
}

} // namespace lumivar::qt
