#pragma once

// Several keys of one profile file at once: the settings load asks for all
// of its keys in one go, so a large file is read and scanned once.

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumivar::profile {

/// One key for GetStrings, with GetString's arguments.
struct KeyRequest {
    std::string_view section;
    std::string_view key;
    std::string_view defaultText;
    std::size_t capacity = 0;
};

/// GetString for each request, in order, from one reading of the file: a
/// large file is read and scanned once, not once for every key. When the file
/// is there but cannot be read, every default is used and `unreadable`, when
/// given, receives why in one line of UTF-8; it is left alone otherwise.
std::vector<std::string> GetStrings(const std::filesystem::path& file,
                                    std::span<const KeyRequest> requests,
                                    std::string* unreadable = nullptr);

} // namespace lumivar::profile
