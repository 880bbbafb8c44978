#include "GdiPainter.h"

#include "Utf16.h"

#include <cwchar>

namespace lumivar::win32 {

int FontPixelHeight(int tenthsOfPoint, int pixelsPerInch) {
    // Not MulDiv, which rounds to nearest: 10 points at 120 dpi must be 16.
    return static_cast<int>(static_cast<long long>(tenthsOfPoint) * pixelsPerInch / 720);
}

GdiPainter::GdiPainter(HINSTANCE resources, HDC dc, HWND releaseTo)
    : m_resources(resources), m_dc(dc), m_releaseTo(releaseTo) {}

GdiPainter::~GdiPainter() {
    if (m_originalFont)
        ::SelectObject(m_dc, m_originalFont);
    for (HFONT font : m_fonts)
        ::DeleteObject(font);
    if (m_releaseTo)
        ::ReleaseDC(m_releaseTo, m_dc);
}

void GdiPainter::CopyBitmap(int bitmapId, int x, int y, int width, int height) {
    HBITMAP picture = ::LoadBitmapW(m_resources, MAKEINTRESOURCEW(bitmapId));
    HDC memory = ::CreateCompatibleDC(m_dc);
    const HGDIOBJ previous = ::SelectObject(memory, picture);
    ::BitBlt(m_dc, x, y, width, height, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    ::DeleteObject(picture);
}

void GdiPainter::SetTransparentBackground() {
    ::SetBkMode(m_dc, TRANSPARENT);
}

void GdiPainter::SetTextColor(ui::ColorRef color) {
    ::SetTextColor(m_dc, color);
}

void GdiPainter::SelectFont(std::string_view face, int tenthsOfPoint) {
    const int height = -FontPixelHeight(tenthsOfPoint, ::GetDeviceCaps(m_dc, LOGPIXELSY));
    std::wstring name = WidenUtf8(face);
    name.resize(std::min<std::size_t>(name.size(), LF_FACESIZE - 1));
    HFONT font = ::CreateFontW(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, name.c_str());
    if (!font)
        return;
    m_fonts.push_back(font);
    const HGDIOBJ previous = ::SelectObject(m_dc, font);
    if (!m_originalFont)
        m_originalFont = previous;
}

void GdiPainter::DrawText(int x, int y, std::string_view text) {
    const std::wstring wide = WidenUtf8(text);
    ::TextOutW(m_dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

void GdiPainter::DrawIcon(int x, int y, int iconId) {
    ::DrawIcon(m_dc, x, y, ::LoadIconW(m_resources, MAKEINTRESOURCEW(iconId)));
}

} // namespace lumivar::win32
