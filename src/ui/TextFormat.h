#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace lumivar::ui {

/// printf-style formatting of the program's own fixed format texts.
template <class... Args> std::string Printf(std::string_view format, Args... args) {
    const std::string pattern(format);
    const int size = std::snprintf(nullptr, 0, pattern.c_str(), args...);
    if (size <= 0)
        return {};
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), pattern.c_str(), args...);
    text.resize(static_cast<std::size_t>(size));
    return text;
}

} // namespace lumivar::ui
