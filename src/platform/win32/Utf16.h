#pragma once

#include <string>
#include <string_view>

namespace lumivar::win32 {

/// UTF-8 to UTF-16 for the wide-character API. The windows' texts are UTF-8;
/// the ANSI functions would read them in the system code page and show
/// garbage on any Windows whose code page is not 65001. Invalid sequences
/// become U+FFFD rather than truncating the text.
std::wstring WidenUtf8(std::string_view text);

/// UTF-16 from the system back to UTF-8. Unpaired surrogates become U+FFFD.
std::string NarrowUtf8(std::wstring_view text);

} // namespace lumivar::win32
