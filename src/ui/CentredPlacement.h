#pragma once

#include "Geometry.h"

namespace lumivar::ui {

/// Where the top left corner of a window of `size` (its frame included)
/// goes, as Windows places a dialog: centred over `around` (its owner's
/// frame while the owner is on show, else the work area), then moved wholly
/// inside the work area `area`. The far edges are kept first and the near
/// ones last, so a window larger than the area keeps its title bar, and so
/// its move handle, on it.
Point CentredPlace(Size size, const Rect& around, const Rect& area);

} // namespace lumivar::ui
