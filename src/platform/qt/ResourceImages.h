#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace lumivar::qt {

/// The size of a large icon (SM_CXICON x SM_CYICON), as a window, the About
/// box and a minimised window show it.
inline constexpr QSize kIconSize{32, 32};

/// Icon resource `id` with all its pictures; null if the program has none.
QIcon LoadIconResource(int id);

/// Icon resource `id` at `size` pixels: the picture of that size if the icon
/// has one, else the nearest one scaled.
QPixmap LoadIconPixmap(int id, QSize size);

/// Bitmap resource `id` at its own pixel size; null if the program has none.
QPixmap LoadBitmapResource(int id);

} // namespace lumivar::qt
