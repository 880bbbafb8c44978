// Our own profile-file reader and writer, for systems without Windows'.
#include "ProfileBatchRead.h"
#include "ProfileFile.h"

#include "AtomicFile.h"
#include "ProfileText.h"

#include <algorithm>
#include <optional>
#include <utility>

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
    const KeyRequest request{section, key, defaultText, capacity};
    return std::move(GetStrings(file, {&request, 1}).front());
}

std::vector<std::string> GetStrings(const std::filesystem::path& file,
                                    std::span<const KeyRequest> requests, std::string* unreadable) {
    std::vector<KeyName> names;
    names.reserve(requests.size());
    for (const KeyRequest& request : requests)
        names.push_back({request.section, request.key});
    const FileBytes fileBytes = ReadWholeFile(file);
    std::vector<std::optional<std::string>> values(requests.size());
    if (fileBytes.status == FileBytes::Status::Read)
        values = FindValues(fileBytes.bytes, names);
    else if (unreadable && !fileBytes.why.empty())
        *unreadable = fileBytes.why;

    std::vector<std::string> texts;
    texts.reserve(requests.size());
    for (std::size_t i = 0; i < requests.size(); ++i) {
        std::string_view text = requests[i].defaultText;
        if (values[i]) {
            text = *values[i];
        } else {
            const std::size_t kept = text.find_last_not_of(' ');
            text = kept == std::string_view::npos ? std::string_view{} : text.substr(0, kept + 1);
        }
        texts.push_back(FitCapacity(text, requests[i].capacity));
    }
    return texts;
}

bool WriteString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                 std::string_view value, Failure* why) {
    Failure unused;
    Failure& failure = why ? *why : unused;
    const FileBytes old = ReadWholeFile(file);
    switch (old.status) {
    case FileBytes::Status::Unreadable:
        failure = {FailureKind::Unreadable, old.why}; // never replace what we could not read
        return false;
    case FileBytes::Status::TooLarge:
        failure = {FailureKind::TooLarge, old.why};
        return false;
    case FileBytes::Status::Read:
    case FileBytes::Status::Missing:
        break;
    }
    const auto updated = WithValue(old.bytes, section, key, value);
    if (!updated) {
        failure = {FailureKind::WriteFailed, std::string(kNotWritableEntry)};
        return false;
    }
    if (old.status == FileBytes::Status::Read && *updated == old.bytes)
        return true; // already holds the value; spare the disk a rewrite
    if (updated->size() > kLargestSettingsFile) {
        // It would no longer be read as a settings file.
        failure = {FailureKind::TooLarge, "the store would take it past " +
                                              std::to_string(kLargestSettingsFile >> 20) + " MiB"};
        return false;
    }
    return ReplaceFile(file, old.bytes, *updated, failure);
}

} // namespace lumivar::profile
