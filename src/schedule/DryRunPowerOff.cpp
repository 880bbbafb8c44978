#include "DryRunPowerOff.h"

#include <cstdio>
#include <ostream>

namespace lumivar {

DryRunPowerOff::DryRunPowerOff(const Clock& clock, std::ostream& out)
    : m_clock(clock), m_out(out) {}

void DryRunPowerOff::RequestPowerOff() {
    const LocalTime now = ToLocalTime(m_clock.Now());
    char line[64];
    std::snprintf(line, sizeof line, "dry-run: power-off requested at %02d:%02d:%02d.%03d\n",
                  now.hour, now.minute, now.second, now.millisecond);
    m_out << line << std::flush; // the line is the whole point: never leave it buffered
}

} // namespace lumivar
