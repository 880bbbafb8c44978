#pragma once

namespace lumivar {

/// Keeps the system from falling asleep when idle while a schedule is armed:
/// no timer fires in sleep, so a sleeping machine would miss its second and
/// power off a day late. Sleep the user asks for (lid, menu) still works.
class IdleSleepInhibitor {
public:
    virtual ~IdleSleepInhibitor() = default;

    /// Holds idle sleep off; does nothing when already holding it.
    virtual void Inhibit() = 0;

    /// Lets idle sleep come again; does nothing when not holding it.
    virtual void Release() = 0;
};

} // namespace lumivar
