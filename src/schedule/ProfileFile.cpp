// Our own profile-file reader and writer, for systems without Windows'.
#include "ProfileFile.h"

#include "AtomicFile.h"
#include "ProfileText.h"

#include <algorithm>

namespace lumivar::profile {
namespace {

std::string FitCapacity(std::string_view text, std::size_t capacity) {
    if (capacity <= 1)
        return {};
    return std::string(text.substr(0, std::min(text.size(), capacity - 1)));
}

} // namespace

std::string GetString(const std::filesystem::path& file, std::string_view section,
                      std::string_view key, std::string_view defaultText, std::size_t capacity) {
    const FileBytes fileBytes = ReadWholeFile(file);
    if (fileBytes.status == FileBytes::Status::Read) {
        if (auto value = FindValue(fileBytes.bytes, section, key))
            return FitCapacity(*value, capacity);
    }
    const std::size_t kept = defaultText.find_last_not_of(' ');
    defaultText = kept == std::string_view::npos ? std::string_view{} : defaultText.substr(0, kept + 1);
    return FitCapacity(defaultText, capacity);
}

bool WriteString(const std::filesystem::path& file, std::string_view section,
                 std::string_view key, std::string_view value) {
    const FileBytes old = ReadWholeFile(file);
    if (old.status == FileBytes::Status::Unreadable)
        return false; // never replace what we could not read
    const auto updated = WithValue(old.bytes, section, key, value);
    if (!updated)
        return false;
    if (old.status == FileBytes::Status::Read && *updated == old.bytes)
        return true; // already holds the value; spare the disk a rewrite
    return ReplaceFileAtomically(file, *updated);
}

} // namespace lumivar::profile
