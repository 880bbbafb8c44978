#include "SessionHandOver.h"

#include <ostream>

namespace lumivar {

std::optional<int> HandOverToRunningCopy(ui::SessionCopy& copy, const ui::StartRequest& request,
                                         const std::function<bool()>& askRunAnother,
                                         std::ostream& errors) {
    using Claim = ui::SessionCopy::Claim;
    using Answer = ui::SessionCopy::Answer;
    if (copy.ClaimSession() != Claim::Held)
        return std::nullopt;
    switch (copy.HandOver(request, ui::kRunningCopyPatience)) {
    case Answer::CameForward:
        return 0;
    case Answer::Gone:
        return std::nullopt;
    case Answer::OtherRun:
        errors << "lumivar: not started: a copy already runs in this session, "
               << (request.dryRun ? "not as a dry run" : "as a dry run")
               << " or with another Setup.ini; its window has come forward and says which"
               << std::endl;
        return kExitOtherCopyRuns;
    case Answer::NoAnswer:
        break;
    }
    const bool runAnother = askRunAnother();
    errors << "lumivar: the copy already running in this session does not answer; "
           << (runAnother ? "starting another" : "not started") << std::endl;
    return runAnother ? std::nullopt : std::optional<int>(kExitOtherCopyRuns);
}

} // namespace lumivar
