#pragma once

// Reading and writing one key of an INI ("private profile") file. On Windows
// these go to the system's profile functions; elsewhere to our own reader and
// writer, which treat every file the program can meet the way Windows does, so
// a Setup.ini moves freely between the two programs.

#include "Failure.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace lumivar::profile {

/// The text that GetPrivateProfileString would place in a buffer of
/// `capacity` bytes: the key's value, or `defaultText` less its trailing
/// spaces when the file, section or key is missing; at most capacity - 1
/// characters, so empty for a capacity of 0 or 1.
std::string GetString(const std::filesystem::path& file, std::string_view section,
                      std::string_view key, std::string_view defaultText, std::size_t capacity);

/// Sets `key` in `section` to `value`, adding the key, the section or the
/// file as needed. True when the file now holds the value; otherwise
/// `failure`, when given, receives what failed, its detail one line of UTF-8
/// without the file's name: the system's reason, or the writer's own when it
/// refuses.
bool WriteString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                 std::string_view value, Failure* failure = nullptr);

} // namespace lumivar::profile
