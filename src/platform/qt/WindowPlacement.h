#pragma once

#include "Geometry.h"

#include <QPoint>
#include <QRect>

class QWidget;

namespace lumivar::qt {

/// Places a window that is about to be shown for the first time, as Windows
/// places a dialog: centred over its owner while the owner is on show,
/// otherwise in the middle of the screen's available area, and wholly
/// inside that area (its title bar at least, should it not fit). For use in
/// a showEvent, before the window is mapped; the window manager then puts
/// the frame's corner where asked.
void PlaceOnScreen(QWidget& window);

/// A Qt rectangle as the windows' behaviour takes one (right and bottom exclusive).
ui::Rect ToRect(const QRect& rect);

/// Moves a window so that its frame's top left corner comes to `corner`.
void MoveFrameTo(QWidget& window, QPoint corner);

} // namespace lumivar::qt
