#pragma once

// UTF-16 profile files as 16-bit units and back, without losing a byte, and
// the UTF-8 that names and values travel in through the rest of the program.

#include <optional>
#include <string>
#include <string_view>

namespace lumivar::profile {

/// A file that starts with a UTF-16 byte-order mark: its units, the mark
/// included, whatever they hold (a lone surrogate stays a unit like any
/// other), and an odd last byte, which no unit holds.
struct Utf16File {
    std::u16string units;
    bool bigEndian = false;
    std::string_view oddByte; // into the bytes it was read from
};

/// The file's units when `bytes` start with FF FE or FE FF; nullopt otherwise.
std::optional<Utf16File> AsUtf16(std::string_view bytes);

/// `units` as bytes in the byte order of `file`, its odd last byte still
/// last: AsUtf16's bytes again when the units are unchanged.
std::string ToBytes(std::u16string_view units, const Utf16File& file);

/// Strict UTF-8 as UTF-16; nullopt for anything that is not UTF-8.
std::optional<std::u16string> FromUtf8(std::string_view text);

/// UTF-16 as UTF-8, each lone surrogate as U+FFFD.
std::string ToUtf8(std::u16string_view units);

} // namespace lumivar::profile
