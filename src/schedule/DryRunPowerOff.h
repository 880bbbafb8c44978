#pragma once

#include "Clock.h"
#include "PowerOff.h"

#include <iosfwd>

namespace lumivar {

/// Powers nothing off: reports the request, with the local time to the
/// millisecond, as "dry-run: power-off requested at HH:MM:SS.mmm". For trying
/// a schedule safely and for tests.
class DryRunPowerOff final : public PowerOff {
public:
    DryRunPowerOff(const Clock& clock, std::ostream& out);

    void AcquirePowerOffPrivilege() override {}
    void RequestPowerOff() override;

private:
    const Clock& m_clock;
    std::ostream& m_out;
};

} // namespace lumivar
