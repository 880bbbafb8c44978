#pragma once

#include "Failure.h"

#include <functional>
#include <optional>
#include <utility>

namespace lumivar {

/// The two steps of powering the machine off. The schedule tick runs its own
/// window updates between them. A request that does not go through is
/// reported to the failure handler, so the user learns of it while still
/// able to act, not the next morning.
class PowerOff {
public:
    /// Receives what failed on the thread that runs the windows; possibly
    /// later than the request returned.
    using FailureHandler = std::function<void(const Failure& failure)>;

    virtual ~PowerOff() = default;

    /// Makes sure the process may shut the system down. Keeps nothing that
    /// outlives the request that follows.
    virtual void AcquirePowerOffPrivilege() = 0;

    /// Asks the system to shut down and returns without waiting for it.
    virtual void RequestPowerOff() = 0;

    /// Why a power-off asked for later would probably fail; nothing when
    /// nothing speaks against it. May block briefly.
    virtual std::optional<Failure> LikelyRefusal() { return std::nullopt; }

    /// Replaces the failure handler; an empty one drops failures.
    void SetFailureHandler(FailureHandler handler) { m_onFailure = std::move(handler); }

protected:
    void ReportFailure(const Failure& failure) const {
        if (m_onFailure)
            m_onFailure(failure);
    }

private:
    FailureHandler m_onFailure;
};

} // namespace lumivar
