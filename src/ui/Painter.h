#pragma once

#include "WinConstants.h"

#include <string_view>

namespace lumivar::ui {

/// The drawing a window does in its paint handler or on its client area,
/// in client pixels. Fonts and pictures are made per use and released when the
/// painter goes away; nothing is cached between paints.
class Painter {
public:
    virtual ~Painter() = default;

    /// Copies bitmap resource `bitmapId` unscaled from its (0, 0) to (x, y),
    /// over width x height pixels (SRCCOPY).
    virtual void CopyBitmap(int bitmapId, int x, int y, int width, int height) = 0;
    /// Text is drawn without filling its background (TRANSPARENT).
    virtual void SetTransparentBackground() = 0;
    virtual void SetTextColor(ColorRef color) = 0;
    /// A font of `tenthsOfPoint` / 10 points by face name, default attributes.
    virtual void SelectFont(std::string_view face, int tenthsOfPoint) = 0;
    /// UTF-8 text with its top-left corner at (x, y).
    virtual void DrawText(int x, int y, std::string_view text) = 0;
    /// Icon resource `iconId` at its system size with its top-left at (x, y).
    virtual void DrawIcon(int x, int y, int iconId) = 0;
};

} // namespace lumivar::ui
