// The profile functions of Windows itself. The wide-character variants take
// the path as it is, so a working directory outside the ANSI code page works.
// They create Setup.ini as an ANSI file with ASCII content, and keep a file
// saved as UTF-16 in UTF-16.
#include "ProfileBatchRead.h"
#include "ProfileFile.h"

#include "ProfileText.h"
#include "SystemMessage.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace lumivar::profile {
namespace {

// Section, key and value names are ASCII; anything else is widened byte by
// byte, which is what the ANSI functions would do for ASCII.
std::wstring WidenAnsi(std::string_view text) {
    std::wstring wide;
    if (text.empty())
        return wide;
    const int size =
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    wide.resize(static_cast<std::size_t>(size));
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::string NarrowAnsi(std::wstring_view text) {
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

// Why a Setup.ini that is there cannot be read; empty when it can be, or is
// not there. The profile functions would quietly give the defaults.
std::string WhyUnreadable(const std::filesystem::path& file) {
    const HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        ::CloseHandle(handle);
        return {};
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return {};
    return SystemMessage(error);
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
        WidenAnsi(section).c_str(), WidenAnsi(key).c_str(), WidenAnsi(defaultText).c_str(),
        buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    return NarrowAnsi(
        std::wstring_view(buffer.data(), std::min<std::size_t>(length, buffer.size() - 1)));
}

// The system caches the file between calls, so one call per key costs no
// extra reading.
std::vector<std::string> GetStrings(const std::filesystem::path& file,
                                    std::span<const KeyRequest> requests, std::string* unreadable) {
    if (unreadable) {
        if (std::string why = WhyUnreadable(file); !why.empty())
            *unreadable = std::move(why);
    }
    std::vector<std::string> texts;
    texts.reserve(requests.size());
    for (const KeyRequest& r : requests)
        texts.push_back(GetString(file, r.section, r.key, r.defaultText, r.capacity));
    return texts;
}

bool WriteString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                 std::string_view value, Failure* failure) {
    if (!IsWritableEntry(section, key, value)) {
        if (failure)
            *failure = {FailureKind::WriteFailed, std::string(kNotWritableEntry)};
        return false;
    }
    if (::WritePrivateProfileStringW(WidenAnsi(section).c_str(), WidenAnsi(key).c_str(),
                                     WidenAnsi(value).c_str(), file.c_str()))
        return true;
    if (failure) {
        const DWORD error = ::GetLastError();
        // A folder or file the user may not write to is the user's to fix.
        const bool refused = error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT;
        *failure = {refused ? FailureKind::NotWritable : FailureKind::WriteFailed,
                    error ? SystemMessage(error) : "could not be written"};
    }
    return false;
}

} // namespace lumivar::profile
