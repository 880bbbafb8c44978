#pragma once

#include <string>

namespace lumivar {

/// What kept a power-off or a store from going through, as a kind the windows
/// put in words for the user. The system's own words go in the detail.
enum class FailureKind {
    NoSystemBus,         // no system bus to reach logind on
    NoLogind,            // logind is not there or does not answer
    NeedsAuthorisation,  // polkit wants an administrator's password
    Refused,             // logind will not let this user power off
    NotSupported,        // the system cannot power off at all
    PrivilegeNotGranted, // the account lacks the shutdown privilege
    ShutdownRefused,     // the system turned the shutdown request down
    NotWritable,         // the settings file or its folder may not be written
    TooLarge,            // the settings file is too large to be ours
    Unreadable,          // the settings file cannot be read, so is not rewritten
    WriteFailed,         // the write failed otherwise: a full disk, an I/O error
};

struct Failure {
    FailureKind kind = FailureKind::WriteFailed;
    /// The system's words: an error's name and message, or a file and the
    /// system's reason. One line of UTF-8; may be empty.
    std::string detail;

    friend bool operator==(const Failure&, const Failure&) = default;
};

} // namespace lumivar
