#pragma once

#include "Failure.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace lumivar::ui {

/// What failed, for a message box: the kind in plain Chinese and, on a line
/// of its own, the system's detail when there is one.
std::string DescribeFailure(const Failure& failure);

/// One line on `errors`: "lumivar: <what>: <the kind> (<detail>)", in English,
/// which any console can show.
void LogFailure(std::ostream& errors, std::string_view what, const Failure& failure);

} // namespace lumivar::ui
