// The profile functions of Windows itself. The wide-character variants take
// the path as it is, so a working directory outside the ANSI code page works;
// Setup.ini stays an ANSI file with ASCII content either way.
#include "ProfileFile.h"
#include "ProfileKeys.h"

#include "ProfileText.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace lumivar::profile {
namespace {

// Section, key and value names are ASCII; anything else is widened byte by
// byte, which is what the ANSI functions would do for ASCII.
std::wstring Widen(std::string_view text) {
    std::wstring wide;
    if (text.empty())
        return wide;
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0);
    wide.resize(static_cast<std::size_t>(size));
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::string Narrow(std::wstring_view text) {
    std::string narrow;
    if (text.empty())
        return narrow;
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(size));
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                          size, nullptr, nullptr);
    return narrow;
}

// Larger buffers than this are never needed for Setup.ini; the cap keeps a
// caller's huge capacity from turning into a huge allocation.
constexpr std::size_t kMaxCapacity = 1 << 16;

} // namespace

std::string GetString(const std::filesystem::path& file, std::string_view section,
                      std::string_view key, std::string_view defaultText, std::size_t capacity) {
    if (capacity <= 1)
        return {};
    std::vector<wchar_t> buffer(std::min(capacity, kMaxCapacity));
    const DWORD length = ::GetPrivateProfileStringW(
        Widen(section).c_str(), Widen(key).c_str(), Widen(defaultText).c_str(), buffer.data(),
        static_cast<DWORD>(buffer.size()), file.c_str());
    return Narrow(std::wstring_view(buffer.data(), std::min<std::size_t>(length, buffer.size() - 1)));
}

// The system caches the file between calls, so one call per key costs no
// extra reading.
std::vector<std::string> GetStrings(const std::filesystem::path& file,
                                    std::span<const KeyRequest> requests) {
    std::vector<std::string> texts;
    texts.reserve(requests.size());
    for (const KeyRequest& r : requests)
        texts.push_back(GetString(file, r.section, r.key, r.defaultText, r.capacity));
    return texts;
}

bool WriteString(const std::filesystem::path& file, std::string_view section,
                 std::string_view key, std::string_view value) {
    if (!IsWritableEntry(section, key, value))
        return false;
    return ::WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                        Widen(value).c_str(), file.c_str()) != FALSE;
}

} // namespace lumivar::profile
