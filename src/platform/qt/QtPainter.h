#pragma once

#include "Painter.h"

#include <QPainter>

#include <functional>

class QPaintDevice;

namespace lumivar::qt {

/// A Painter drawing with QPainter on one paint device, in device-independent
/// pixels. `finished` runs when the painter goes away, after the drawing has
/// ended (the host uses it to show what was drawn).
class QtPainter final : public ui::Painter {
public:
    QtPainter(QPaintDevice& device, int dpiY, std::function<void()> finished = {});
    ~QtPainter() override;
    QtPainter(const QtPainter&) = delete;
    QtPainter& operator=(const QtPainter&) = delete;

    void CopyBitmap(int bitmapId, int x, int y, int width, int height) override;
    void SetTransparentBackground() override;
    void SetTextColor(ui::ColorRef color) override;
    void SelectFont(std::string_view face, int tenthsOfPoint) override;
    void DrawText(int x, int y, std::string_view text) override;
    void DrawIcon(int x, int y, int iconId) override;

private:
    QPainter m_painter;
    int m_dpiY;
    std::function<void()> m_finished;
};

} // namespace lumivar::qt
