#include "WindowPlacement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include <algorithm>

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

void PlaceOnScreen(QWidget& window) {
    const QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    const bool overOwner = owner && owner->isVisible() && !owner->isMinimized();
    const QScreen* screen = overOwner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = QRect(QPoint(), window.size()).marginsAdded(ExpectedFrame(window)).size();
    const QPoint centre = overOwner ? owner->frameGeometry().center() : area.center();
    QPoint corner = centre - QPoint(frame.width() / 2, frame.height() / 2);
    // The far edges first, then the near ones: a window larger than the
    // screen keeps its title bar, and so its move handle, on it.
    corner.setX(std::max(area.left(), std::min(corner.x(), area.right() + 1 - frame.width())));
    corner.setY(std::max(area.top(), std::min(corner.y(), area.bottom() + 1 - frame.height())));
    MoveFrameTo(window, corner);
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
