// Error texts of Windows, shared by the settings file and the power-off.
#include "SystemMessage.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace lumivar {

std::string SystemMessage(unsigned long error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text ? text : L"", length);
    ::LocalFree(text);
    std::replace_if(
        message.begin(), message.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }, L' ');
    message.erase(message.find_last_not_of(L' ') + 1);
    if (message.empty())
        return "error " + std::to_string(error);
    const int size = ::WideCharToMultiByte(
        CP_UTF8, 0, message.data(), static_cast<int>(message.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, message.data(), static_cast<int>(message.size()), utf8.data(),
                          size, nullptr, nullptr);
    return utf8;
}

} // namespace lumivar
