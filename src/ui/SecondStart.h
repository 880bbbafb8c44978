#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace lumivar::ui {

/// What a start of the program hands the copy already running in the
/// desktop session: how it would run, and the desktop's launch tokens for
/// bringing the running copy's window forward.
struct StartRequest {
    bool dryRun = false;
    std::filesystem::path settingsFile; // the Setup.ini it would use
    std::string startupId;              // DESKTOP_STARTUP_ID (X11 launch feedback)
    std::string activationToken;        // XDG_ACTIVATION_TOKEN (Wayland)
    friend bool operator==(const StartRequest&, const StartRequest&) = default;
};

/// Whether a new start runs as the running copy does: a dry run or not
/// alike, and the same Setup.ini. Only then may it simply hand over.
bool SameRun(const StartRequest& running, const StartRequest& newStart);

/// The running copy's 提示 box for a new start that runs otherwise: what runs
/// here, with which Setup.ini, and that the new start did not.
std::string DescribeOtherRun(const StartRequest& running, const StartRequest& newStart);

/// How long a new start waits for the running copy's answer, on every
/// system. A copy that answers does so at once; one that is still starting
/// gets this long to make its window.
inline constexpr std::chrono::seconds kRunningCopyPatience{5};

/// How the new start reaches the session's running copy: the session bus on
/// Linux, a Local\ mutex and a window message on Windows.
class SessionCopy {
public:
    virtual ~SessionCopy() = default;

    enum class Claim {
        First, // this process is the session's copy now
        Held,  // another copy holds the session
        Alone, // no session to hold (no bus): run without one
    };
    /// Claims the session for this process's life, or finds who holds it.
    virtual Claim ClaimSession() = 0;

    enum class Answer {
        CameForward, // it runs as this start would, and came forward
        OtherRun,    // it runs otherwise: it came forward and says so
        NoAnswer,    // none in time: hung, or still starting
        Gone,        // it ended meanwhile: this process holds the session now
    };
    /// Hands `request` to the copy that holds the session.
    virtual Answer HandOver(const StartRequest& request, std::chrono::milliseconds patience) = 0;
};

} // namespace lumivar::ui
