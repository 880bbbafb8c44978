#include "CentredPlacement.h"

#include <algorithm>

namespace lumivar::ui {

Point CentredPlace(Size size, const Rect& around, const Rect& area) {
    const int left = (around.left + around.right - size.width) / 2;
    const int top = (around.top + around.bottom - size.height) / 2;
    return {std::max(area.left, std::min(left, area.right - size.width)),
            std::max(area.top, std::min(top, area.bottom - size.height))};
}

} // namespace lumivar::ui
