#include "ProfileUtf16.h"

namespace lumivar::profile {
namespace {

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The number of bytes a UTF-8 sequence with this lead byte takes; 0 when no
// sequence starts with it.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 0;
}

void AppendUtf8(std::string& text, char32_t c) {
    const auto byte = [&text](char32_t bits) { text += static_cast<char>(bits); };
    if (c < 0x80) {
        byte(c);
    } else if (c < 0x800) {
        byte(0xC0 | c >> 6);
        byte(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        byte(0xE0 | c >> 12);
        byte(0x80 | (c >> 6 & 0x3F));
        byte(0x80 | (c & 0x3F));
    } else {
        byte(0xF0 | c >> 18);
        byte(0x80 | (c >> 12 & 0x3F));
        byte(0x80 | (c >> 6 & 0x3F));
        byte(0x80 | (c & 0x3F));
    }
}

} // namespace

std::optional<Utf16File> AsUtf16(std::string_view bytes) {
    if (!bytes.starts_with("\xFF\xFE") && !bytes.starts_with("\xFE\xFF"))
        return std::nullopt;
    Utf16File file;
    file.bigEndian = bytes[0] == '\xFE';
    const std::size_t whole = bytes.size() & ~std::size_t{1};
    file.units.reserve(whole / 2);
    for (std::size_t i = 0; i < whole; i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        file.units +=
            static_cast<char16_t>(file.bigEndian ? first << 8 | second : second << 8 | first);
    }
    file.oddByte = bytes.substr(whole);
    return file;
}

std::string ToBytes(std::u16string_view units, const Utf16File& file) {
    std::string bytes;
    bytes.reserve(units.size() * 2 + file.oddByte.size());
    for (const char16_t unit : units) {
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        bytes += file.bigEndian ? high : low;
        bytes += file.bigEndian ? low : high;
    }
    bytes += file.oddByte;
    return bytes;
}

std::optional<std::u16string> FromUtf8(std::string_view text) {
    // The least code point of each sequence length: a smaller one is overlong.
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    std::u16string units;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = SequenceLength(lead);
        if (length == 0 || length > text.size() - i)
            return std::nullopt;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            c = c << 6 | (next & 0x3F);
        }
        if (c < kLeast[length] || c > 0x10FFFF || IsSurrogate(c))
            return std::nullopt;
        if (c >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(c);
        }
        i += length;
    }
    return units;
}

std::string ToUtf8(std::u16string_view units) {
    std::string text;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (IsHighSurrogate(c) && i + 1 < units.size() && IsLowSurrogate(units[i + 1]))
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        else if (IsSurrogate(c))
            c = 0xFFFD;
        AppendUtf8(text, c);
    }
    return text;
}

} // namespace lumivar::profile
