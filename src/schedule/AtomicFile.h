#pragma once

#include "Failure.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace lumivar::profile {

/// No settings file comes near this size; a larger one is not read, so that a
/// huge or endless Setup.ini costs neither time nor memory.
inline constexpr std::uintmax_t kLargestSettingsFile = 1 << 20;

struct FileBytes {
    enum class Status { Read, Missing, Unreadable, TooLarge };
    Status status = Status::Missing;
    std::string bytes;
    /// Why it is unreadable or too large, one line without the file's name.
    std::string why;
};

/// The whole file, or why it could not be had. A directory or other
/// non-regular file counts as unreadable; a file larger than
/// kLargestSettingsFile, even one that grows while it is read, as too large.
FileBytes ReadWholeFile(const std::filesystem::path& file);

/// Replaces the file's content `old` (as read) with `content` so that a crash
/// at any moment leaves either the old or the new content, never a mix: the
/// bytes go to a temporary file in the same directory, are flushed, and the
/// temporary file is renamed over the old one, which keeps its permissions. A
/// symbolic link is written through and kept. Where the directory allows no
/// temporary file, an existing file is rewritten in place instead, in an
/// order that never leaves it shorter or without its other lines.
/// False, with `failure` set and the old file as it was, when a step fails
/// or when `beforeRename` (a seam for tests) returns false.
bool ReplaceFile(const std::filesystem::path& file, std::string_view old, std::string_view content,
                 Failure& failure, const std::function<bool()>& beforeRename = {});

} // namespace lumivar::profile
