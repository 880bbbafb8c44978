#pragma once

// The INI format on a file's bytes in memory, with no file access: finding a
// key's value and producing the content with one key set. The bytes are ANSI,
// UTF-8 with its byte-order mark, or UTF-16 (either byte order) with its mark;
// a UTF-16 file is worked on as 16-bit units and stays UTF-16.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumivar::profile {

/// The value of the first `key` in the first `section` (names compared
/// without regard to ASCII case), blanks and one pair of outer quotes removed;
/// from a UTF-16 file as UTF-8. nullopt when the section or key is missing.
std::optional<std::string> FindValue(std::string_view content, std::string_view section,
                                     std::string_view key);

struct KeyName {
    std::string_view section;
    std::string_view key;
};

/// FindValue for each of `keys`, in one pass over the content, so that
/// reading many keys from a large file costs no more than reading one.
std::vector<std::optional<std::string>> FindValues(std::string_view content,
                                                   std::span<const KeyName> keys);

/// Whether a key can be written so that it reads back as written: names
/// without outer blanks, line breaks, "]" in a section or "=" in a key, and a
/// value without line breaks. Both profile implementations refuse the rest.
bool IsWritableEntry(std::string_view section, std::string_view key, std::string_view value);

/// Why a store refuses an entry that IsWritableEntry rejects.
inline constexpr std::string_view kNotWritableEntry = "the entry would not read back as written";

/// `content` with `key` of `section` set to `value`; every other byte kept,
/// and new text in the file's encoding. nullopt when the entry is not
/// writable (IsWritableEntry), or, for a UTF-16 file, not UTF-8.
std::optional<std::string> WithValue(std::string_view content, std::string_view section,
                                     std::string_view key, std::string_view value);

} // namespace lumivar::profile
