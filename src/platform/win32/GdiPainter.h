#pragma once

#include "Painter.h"

#include "Win32Api.h"

#include <vector>

namespace lumivar::win32 {

/// A font's character height in pixels for a size in tenths of a point:
/// points x pixels-per-inch / 72, rounded down (15 points at 96 dpi: 20).
int FontPixelHeight(int tenthsOfPoint, int pixelsPerInch);

/// Painter on a GDI device context: the paint handler's (BeginPaint) or the
/// client area's (GetDC). Every font it makes is released, and the context's
/// first font selected back, when it goes; a picture lives for one copy.
class GdiPainter final : public ui::Painter {
public:
    /// `releaseTo`: the window whose GetDC gave `dc`, to ReleaseDC it at the
    /// end; null when the caller owns the context (BeginPaint's).
    GdiPainter(HINSTANCE resources, HDC dc, HWND releaseTo = nullptr);
    ~GdiPainter() override;
    GdiPainter(const GdiPainter&) = delete;
    GdiPainter& operator=(const GdiPainter&) = delete;

    void CopyBitmap(int bitmapId, int x, int y, int width, int height) override;
    void SetTransparentBackground() override;
    void SetTextColor(ui::ColorRef color) override;
    void SelectFont(std::string_view face, int tenthsOfPoint) override;
    void DrawText(int x, int y, std::string_view text) override;
    void DrawIcon(int x, int y, int iconId) override;

private:
    HINSTANCE m_resources;
    HDC m_dc;
    HWND m_releaseTo;
    HGDIOBJ m_originalFont = nullptr;
    std::vector<HFONT> m_fonts;
};

} // namespace lumivar::win32
