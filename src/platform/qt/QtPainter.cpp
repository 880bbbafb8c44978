#include "QtPainter.h"

#include "FontFaces.h"
#include "QtText.h"
#include "ResourceImages.h"

#include <QPaintDevice>
#include <QPixmap>

namespace lumivar::qt {

QtPainter::QtPainter(QPaintDevice& device, int dpiY, std::function<void()> finished)
    : m_painter(&device), m_dpiY(dpiY), m_finished(std::move(finished)) {
    // A device context starts with black text and an opaque background.
    m_painter.setPen(Qt::black);
    m_painter.setBackgroundMode(Qt::OpaqueMode);
    m_painter.setBackground(Qt::white);
}

QtPainter::~QtPainter() {
    m_painter.end();
    if (m_finished)
        m_finished();
}

void QtPainter::CopyBitmap(int bitmapId, int x, int y, int width, int height) {
    const QPixmap picture = LoadBitmapResource(bitmapId);
    if (picture.isNull() || width <= 0 || height <= 0)
        return;
    // Unscaled from the picture's corner; whatever lies outside the picture
    // or the device is simply not drawn.
    m_painter.drawPixmap(QPoint(x, y), picture, QRect(0, 0, width, height));
}

void QtPainter::SetTransparentBackground() {
    m_painter.setBackgroundMode(Qt::TransparentMode);
}

void QtPainter::SetTextColor(ui::ColorRef color) {
    m_painter.setPen(QColor(ui::RedOf(color), ui::GreenOf(color), ui::BlueOf(color)));
}

void QtPainter::SelectFont(std::string_view face, int tenthsOfPoint) {
    m_painter.setFont(PointFont(face, tenthsOfPoint, m_dpiY));
}

void QtPainter::DrawText(int x, int y, std::string_view text) {
    const QString line = FromUtf8(text);
    // (x, y) is the top-left corner of the text, QPainter's point its baseline.
    m_painter.drawText(QPoint(x, y + m_painter.fontMetrics().ascent()), line);
}

void QtPainter::DrawIcon(int x, int y, int iconId) {
    const QPixmap icon = LoadIconPixmap(iconId, kIconSize);
    if (!icon.isNull())
        m_painter.drawPixmap(QPoint(x, y), icon);
}

} // namespace lumivar::qt
