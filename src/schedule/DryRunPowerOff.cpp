#include "DryRunPowerOff.h"

#include <ostream>

namespace lumivar {

DryRunPowerOff::DryRunPowerOff(const Clock& clock, std::ostream& out)
    : m_clock(clock), m_out(out) {}

void DryRunPowerOff::RequestPowerOff() {
    // The line is the whole point: never leave it buffered.
    m_out << "dry-run: power-off requested at " << FormatTimeOfDay(m_clock.Now()) << '\n'
          << std::flush;
}

} // namespace lumivar
