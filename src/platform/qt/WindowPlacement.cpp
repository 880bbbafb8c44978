#include "WindowPlacement.h"

#include "CentredPlacement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

namespace lumivar::qt {
namespace {

QMargins FrameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

// The frame the window manager will draw: this window's own if it was framed
// before, else that of another of our windows, else a title bar and thin
// borders, as most window managers draw them.
QMargins ExpectedFrame(const QWidget& window) {
    if (window.frameGeometry() != window.geometry())
        return FrameOf(window);
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other != &window && other->isVisible() && other->frameGeometry() != other->geometry())
            return FrameOf(*other);
    const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return {1, title + 1, 1, 1};
}

} // namespace

ui::Rect ToRect(const QRect& rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

void PlaceOnScreen(QWidget& window) {
    const QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    const bool overOwner = owner && owner->isVisible() && !owner->isMinimized();
    const QScreen* screen = overOwner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const ui::Rect area = ToRect(screen->availableGeometry());
    const QSize frame = QRect(QPoint(), window.size()).marginsAdded(ExpectedFrame(window)).size();
    const ui::Point corner = ui::CentredPlace(
        {frame.width(), frame.height()}, overOwner ? ToRect(owner->frameGeometry()) : area, area);
    MoveFrameTo(window, QPoint(corner.x, corner.y));
}

void MoveFrameTo(QWidget& window, QPoint corner) {
    window.move(corner);
    // The frame's corner, for the window manager too, which alone knows the
    // frame: Qt would otherwise put the client there, under the title bar.
    // Its size first: a size that differs when the window is shown makes Qt
    // set the whole geometry again, which would place the client there.
    if (QWindow* handle = window.windowHandle()) {
        handle->resize(window.size());
        handle->setFramePosition(corner);
    }
}

} // namespace lumivar::qt
