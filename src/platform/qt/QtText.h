#pragma once

#include <QString>

#include <string_view>

namespace lumivar::qt {

/// The program's texts (templates, strings, what the windows' behaviour
/// writes) are UTF-8; Qt's are UTF-16.
inline QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace lumivar::qt
