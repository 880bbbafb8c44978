#pragma once

namespace lumivar {

/// The two steps of powering the machine off. The schedule tick runs its own
/// window updates between them. Neither reports failure to its caller.
class PowerOff {
public:
    virtual ~PowerOff() = default;

    /// Makes sure the process may shut the system down. Keeps nothing.
    virtual void AcquirePowerOffPrivilege() = 0;

    /// Asks the system to shut down and returns without waiting for it.
    virtual void RequestPowerOff() = 0;
};

} // namespace lumivar
