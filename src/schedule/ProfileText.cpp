#include "ProfileText.h"

#include "ProfileUtf16.h"

#include <cstddef>
#include <utility>

namespace lumivar::profile {
namespace {

// The format is the same on bytes (ANSI and UTF-8 files) and on 16-bit units
// (UTF-16 files): every character it looks at is ASCII.
template <class Char> using Text = std::basic_string_view<Char>;

template <class Char> constexpr Char kBlanks[] = {' ', '\t', 0};
template <class Char> constexpr Char kNewLine[] = {'\r', '\n', 0};

// The byte-order mark a file of these units may start with.
template <class Char> constexpr Text<Char> kMark;
template <> constexpr std::string_view kMark<char> = "\xEF\xBB\xBF";
template <> constexpr std::u16string_view kMark<char16_t> = u"\uFEFF";

template <class Char> Text<Char> Trim(Text<Char> text) {
    const std::size_t first = text.find_first_not_of(kBlanks<Char>);
    if (first == Text<Char>::npos)
        return {};
    const std::size_t last = text.find_last_not_of(kBlanks<Char>);
    return text.substr(first, last - first + 1);
}

template <class Char> Char LowerAscii(Char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<Char>(c - 'A' + 'a') : c;
}

template <class Char> bool EqualsNoCase(Text<Char> a, Text<Char> b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

template <class Char> Text<Char> Unquote(Text<Char> value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

enum class LineKind { Blank, Comment, Section, Key, Other };

// Positions count units: bytes, or 16-bit units in a UTF-16 file.
template <class Char> struct Line {
    std::size_t begin = 0; // first unit of the line
    std::size_t end = 0;   // one past its last unit, before the line break
    std::size_t next = 0;  // first unit after the line break
    LineKind kind = LineKind::Blank;
    Text<Char> name;            // section or key name, trimmed
    std::size_t valueBegin = 0; // key lines: first unit after the "="
};

// Walks the lines of a file one at a time, so a huge file costs no index.
// CRLF, LF and a lone CR all end a line; a byte-order mark is skipped.
template <class Char> class LineCursor {
public:
    explicit LineCursor(Text<Char> content)
        : m_content(content), m_pos(content.starts_with(kMark<Char>) ? kMark<Char>.size() : 0) {}

    bool Next(Line<Char>& line) {
        if (m_pos >= m_content.size())
            return false;
        line.begin = m_pos;
        line.end = LineEnd(m_pos);
        line.next = line.end;
        if (line.next < m_content.size())
            line.next += m_content.compare(line.next, 2, kNewLine<Char>) == 0 ? 2 : 1;
        m_pos = line.next;
        Classify(line);
        return true;
    }

private:
    // A plain loop: find_first_of with a set of two searches the set for
    // every unit, which made reading a large file many times slower.
    std::size_t LineEnd(std::size_t pos) const {
        const Char* const data = m_content.data();
        const std::size_t size = m_content.size();
        while (pos < size && data[pos] != '\r' && data[pos] != '\n')
            ++pos;
        return pos;
    }

    void Classify(Line<Char>& line) const {
        const Text<Char> text = m_content.substr(line.begin, line.end - line.begin);
        const std::size_t first = text.find_first_not_of(kBlanks<Char>);
        line.name = {};
        if (first == Text<Char>::npos) {
            line.kind = LineKind::Blank;
        } else if (text[first] == ';') {
            line.kind = LineKind::Comment;
        } else if (const std::size_t close = text.find(']', first);
                   text[first] == '[' && close != Text<Char>::npos) {
            line.kind = LineKind::Section;
            line.name = Trim(text.substr(first + 1, close - first - 1));
        } else if (const std::size_t equals = text.find('='); equals != Text<Char>::npos) {
            // A "[" line without "]" lands here too, as Windows treats it.
            line.kind = LineKind::Key;
            line.name = Trim(text.substr(0, equals));
            line.valueBegin = line.begin + equals + 1;
        } else {
            line.kind = LineKind::Other;
        }
    }

    Text<Char> m_content;
    std::size_t m_pos;
};

template <class Char> struct Name {
    Text<Char> section;
    Text<Char> key;
};

// The raw value of each key, blanks and outer quotes removed.
template <class Char>
std::vector<std::optional<Text<Char>>> Find(Text<Char> content, std::span<const Name<Char>> keys) {
    std::vector<std::optional<Text<Char>>> values(keys.size());
    // Per key: inside the first section of its name, or already past it (only
    // the first section of a name counts).
    std::vector<char> inSection(keys.size(), 0);
    std::vector<char> pastSection(keys.size(), 0);
    LineCursor<Char> cursor(content);
    Line<Char> line;
    while (cursor.Next(line)) {
        if (line.kind == LineKind::Section) {
            for (std::size_t i = 0; i < keys.size(); ++i) {
                if (inSection[i]) {
                    inSection[i] = 0;
                    pastSection[i] = 1;
                } else if (!pastSection[i]) {
                    inSection[i] = EqualsNoCase(line.name, Trim(keys[i].section));
                }
            }
        } else if (line.kind == LineKind::Key) {
            for (std::size_t i = 0; i < keys.size(); ++i) {
                if (!inSection[i] || values[i] || !EqualsNoCase(line.name, Trim(keys[i].key)))
                    continue;
                values[i] =
                    Unquote(Trim(content.substr(line.valueBegin, line.end - line.valueBegin)));
            }
        }
    }
    return values;
}

template <class Char>
std::basic_string<Char> With(Text<Char> content, Text<Char> section, Text<Char> key,
                             Text<Char> value) {
    std::basic_string<Char> keyLine(key);
    keyLine += '=';
    keyLine += value;
    keyLine += kNewLine<Char>;
    LineCursor<Char> cursor(content);
    Line<Char> line;
    bool inSection = false;
    std::size_t insertAt = Text<Char>::npos; // after the section's last key line
    bool insertNeedsBreak = false;           // that line ends the file unterminated
    while (cursor.Next(line)) {
        if (line.kind == LineKind::Section) {
            if (inSection)
                break;
            if (EqualsNoCase(line.name, section)) {
                inSection = true;
                insertAt = line.next;
                insertNeedsBreak = line.next == line.end;
            }
            continue;
        }
        if (!inSection || line.kind != LineKind::Key)
            continue;
        if (EqualsNoCase(line.name, key)) {
            std::basic_string<Char> out(content.substr(0, line.valueBegin));
            out += value;
            out += content.substr(line.end);
            return out;
        }
        insertAt = line.next;
        insertNeedsBreak = line.next == line.end;
    }

    std::basic_string<Char> out;
    if (inSection) {
        out.reserve(content.size() + keyLine.size() + 2);
        out += content.substr(0, insertAt);
        if (insertNeedsBreak)
            out += kNewLine<Char>;
        out += keyLine;
        out += content.substr(insertAt);
        return out;
    }
    out = content;
    if (!out.empty() && out != kMark<Char> && out.back() != '\n' && out.back() != '\r')
        out += kNewLine<Char>;
    out += '[';
    out += section;
    out += ']';
    out += kNewLine<Char>;
    out += keyLine;
    return out;
}

// A name that is not UTF-8 cannot be in a UTF-16 file: a line break, which
// no name in the file holds, stands for it.
std::u16string NameIn16(std::string_view name) {
    return FromUtf8(name).value_or(u"\n");
}

bool HasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Names must read back as written: no outer blanks, no line breaks, and no
// character that would end the name early.
bool IsWritableName(std::string_view name, std::string_view forbidden) {
    return !name.empty() && Trim(name) == name && !HasLineBreakOrNul(name) &&
           name.find_first_of(forbidden) == std::string_view::npos;
}

} // namespace

std::optional<std::string> FindValue(std::string_view content, std::string_view section,
                                     std::string_view key) {
    const KeyName name{section, key};
    return std::move(FindValues(content, {&name, 1}).front());
}

std::vector<std::optional<std::string>> FindValues(std::string_view content,
                                                   std::span<const KeyName> keys) {
    std::vector<std::optional<std::string>> values(keys.size());
    if (const auto utf16 = AsUtf16(content)) {
        std::vector<std::u16string> names;
        for (const KeyName& key : keys) {
            names.push_back(NameIn16(key.section));
            names.push_back(NameIn16(key.key));
        }
        std::vector<Name<char16_t>> wide;
        for (std::size_t i = 0; i < keys.size(); ++i)
            wide.push_back({names[2 * i], names[2 * i + 1]});
        const auto found = Find<char16_t>(utf16->units, wide);
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (found[i])
                values[i] = ToUtf8(*found[i]);
        return values;
    }
    std::vector<Name<char>> narrow;
    for (const KeyName& key : keys)
        narrow.push_back({key.section, key.key});
    const auto found = Find<char>(content, narrow);
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (found[i])
            values[i] = std::string(*found[i]);
    return values;
}

bool IsWritableEntry(std::string_view section, std::string_view key, std::string_view value) {
    return IsWritableName(section, "]") && IsWritableName(key, "=") && key.front() != ';' &&
           key.front() != '[' && !HasLineBreakOrNul(value);
}

std::optional<std::string> WithValue(std::string_view content, std::string_view section,
                                     std::string_view key, std::string_view value) {
    if (!IsWritableEntry(section, key, value))
        return std::nullopt;
    const auto utf16 = AsUtf16(content);
    if (!utf16)
        return With<char>(content, section, key, value);
    const auto section16 = FromUtf8(section);
    const auto key16 = FromUtf8(key);
    const auto value16 = FromUtf8(value);
    if (!section16 || !key16 || !value16)
        return std::nullopt; // nothing but UTF-8 has a UTF-16 form that reads back as written
    return ToBytes(With<char16_t>(utf16->units, *section16, *key16, *value16), *utf16);
}

} // namespace lumivar::profile
