#pragma once

#include "Geometry.h"
#include "Win32Api.h"

namespace lumivar::win32 {

inline ui::Rect FromRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

} // namespace lumivar::win32
