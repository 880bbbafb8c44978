#pragma once

#include "ControlFactory.h"

#include <vector>

namespace lumivar::qt {

/// Gives each control without a caption of its own (edits, time pickers) the
/// accessible name a sighted user reads beside it: the caption of the nearest
/// static text, radio button or check box at its left on the same line, less
/// a closing colon. A push button whose caption other buttons share adds that
/// label to its name, so that each says what it acts on. An up-down control
/// takes its buddy's name, and its arrows say which way they step it.
void NameControlsAfterTheirLabels(const std::vector<DialogControl>& controls);

} // namespace lumivar::qt
