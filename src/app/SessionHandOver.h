#pragma once

#include "SecondStart.h"

#include <functional>
#include <iosfwd>
#include <optional>

namespace lumivar {

/// The exit status of a start that did not run because another copy runs
/// in the session: one that runs otherwise, or one that does not answer and
/// beside which the user chose not to start another.
inline constexpr int kExitOtherCopyRuns = 3;

/// One copy per desktop session, decided alike on every system. Claims the
/// session through `copy`; when another copy holds it, hands that copy
/// `request` and waits for it. Returns nothing to run; otherwise the start
/// ends with the status returned: 0 when the running copy came forward, as
/// this start would have. A copy that does not answer in time makes
/// `askRunAnother` ask the user whether to start another copy anyway (true:
/// run). A start that does not run says why in one line on `errors`.
std::optional<int> HandOverToRunningCopy(ui::SessionCopy& copy, const ui::StartRequest& request,
                                         const std::function<bool()>& askRunAnother,
                                         std::ostream& errors);

} // namespace lumivar
