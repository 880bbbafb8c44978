#include "ProfileText.h"

#include <cstddef>
#include <utility>

namespace lumivar::profile {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kNewLine = "\r\n";

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

enum class LineKind { Blank, Comment, Section, Key, Other };

struct Line {
    std::size_t begin = 0; // first byte of the line
    std::size_t end = 0;   // one past its last byte, before the line break
    std::size_t next = 0;  // first byte after the line break
    LineKind kind = LineKind::Blank;
    std::string_view name;      // section or key name, trimmed
    std::size_t valueBegin = 0; // key lines: first byte after the "="
};

// Walks the lines of a file one at a time, so a huge file costs no index.
// CRLF, LF and a lone CR all end a line; a UTF-8 byte-order mark is skipped.
class LineCursor {
public:
    explicit LineCursor(std::string_view content)
        : m_content(content), m_pos(content.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0) {}

    bool Next(Line& line) {
        if (m_pos >= m_content.size())
            return false;
        line.begin = m_pos;
        line.end = LineEnd(m_pos);
        line.next = line.end;
        if (line.next < m_content.size())
            line.next += m_content.compare(line.next, 2, kNewLine) == 0 ? 2 : 1;
        m_pos = line.next;
        Classify(line);
        return true;
    }

private:
    // A plain loop: find_first_of with a set of two searches the set for
    // every byte, which made reading a large file many times slower.
    std::size_t LineEnd(std::size_t pos) const {
        const char* const data = m_content.data();
        const std::size_t size = m_content.size();
        while (pos < size && data[pos] != '\r' && data[pos] != '\n')
            ++pos;
        return pos;
    }

    void Classify(Line& line) const {
        const std::string_view text = m_content.substr(line.begin, line.end - line.begin);
        const std::size_t first = text.find_first_not_of(kBlanks);
        line.name = {};
        if (first == std::string_view::npos) {
            line.kind = LineKind::Blank;
        } else if (text[first] == ';') {
            line.kind = LineKind::Comment;
        } else if (const std::size_t close = text.find(']', first);
                   text[first] == '[' && close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = Trim(text.substr(first + 1, close - first - 1));
        } else if (const std::size_t equals = text.find('='); equals != std::string_view::npos) {
            // A "[" line without "]" lands here too, as Windows treats it.
            line.kind = LineKind::Key;
            line.name = Trim(text.substr(0, equals));
            line.valueBegin = line.begin + equals + 1;
        } else {
            line.kind = LineKind::Other;
        }
    }

    std::string_view m_content;
    std::size_t m_pos;
};

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
    // Per key: inside the first section of its name, or already past it (only
    // the first section of a name counts).
    std::vector<char> inSection(keys.size(), 0);
    std::vector<char> pastSection(keys.size(), 0);
    LineCursor cursor(content);
    Line line;
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
                const std::string_view raw =
                    content.substr(line.valueBegin, line.end - line.valueBegin);
                values[i] = std::string(Unquote(Trim(raw)));
            }
        }
    }
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

    const std::string keyLine = std::string(key) + "=" + std::string(value) + std::string(kNewLine);
    LineCursor cursor(content);
    Line line;
    bool inSection = false;
    std::size_t insertAt = std::string_view::npos; // after the section's last key line
    bool insertNeedsBreak = false;                 // that line ends the file unterminated
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
            std::string out(content.substr(0, line.valueBegin));
            out += value;
            out += content.substr(line.end);
            return out;
        }
        insertAt = line.next;
        insertNeedsBreak = line.next == line.end;
    }

    std::string out;
    if (inSection) {
        out.reserve(content.size() + keyLine.size() + 2);
        out += content.substr(0, insertAt);
        if (insertNeedsBreak)
            out += kNewLine;
        out += keyLine;
        out += content.substr(insertAt);
        return out;
    }
    out = content;
    if (!out.empty() && out != kUtf8Bom && out.back() != '\n' && out.back() != '\r')
        out += kNewLine;
    out += "[";
    out += section;
    out += "]";
    out += kNewLine;
    out += keyLine;
    return out;
}

} // namespace lumivar::profile
