// The Qt dialog host: the window's state and placement, its painting, the
// notification-area icon, menus and system information.
#include "QtDialogHost.h"

#include "DesktopNotification.h"
#include "Dialog.h"
#include "DisplayEnvironment.h"
#include "QtPainter.h"
#include "QtText.h"
#include "ResourceImages.h"
#include "SystemUptime.h"
#include "TrayIcons.h"
#include "WindowPlacement.h"
#include "WindowStyles.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

namespace lumivar::qt {

namespace style = ui::style;
namespace {

// Brings a window forward, and above it any box of its own that waits for an
// answer: one opened while the window sat in the tray would otherwise stay
// behind it, and the window would ignore every click for no visible reason.
void BringForward(QWidget& window) {
    window.raise();
    window.activateWindow();
    for (QWidget* box : QApplication::topLevelWidgets()) {
        if (box != &window && box->isVisible() && box->isModal() && box->parentWidget() &&
            box->parentWidget()->window() == &window) {
            box->raise();
            box->activateWindow();
        }
    }
}

} // namespace

void QtDialogHost::ShowWindow(int command) {
    DialogWindow& window = *m_window;
    // A Wayland client cannot bring itself back from minimised: with no icon
    // in a notification area to come back from, the window stays up.
    if ((command == ui::kSwMinimize || command == ui::kSwShowMinNoActive) && NativeWayland() &&
        !m_tray->AnyShown())
        command = ui::kSwShowNa;
    // Minimised only to go behind its icon, which the size handler does at
    // once: Qt is not asked to iconify the window. It would mark the window
    // "start iconic" and correct that only after mapping it again on the way
    // back, and a window manager that reads the mark first (openbox, xfwm4,
    // KWin) would iconify the window as it comes back, which the size
    // handler takes for a new minimise, back to the tray.
    if (command == ui::kSwMinimize && m_tray->AnyShown() && window.isVisible() &&
        !window.isMinimized()) {
        m_minimizedBehindIcon = true;
        ReportMinimized(true);
        return;
    }
    if (command != ui::kSwHide)
        m_minimizedBehindIcon = false;
    // Where the frame stood before the window was minimised or hidden: it
    // comes back there. Asked again, Qt would guess the frame anew (and
    // centre it anew), and the window would land elsewhere.
    if (window.isVisible() && !window.isMinimized())
        m_lastPlace = window.pos();
    else if (!window.isVisible() && command != ui::kSwHide && m_lastPlace)
        MoveFrameTo(window, *m_lastPlace);
    switch (command) {
    case ui::kSwHide:
        window.hide();
        break;
    case ui::kSwShowNormal:
        window.showNormal();
        ReportMinimized(false); // where Qt had nothing to restore
        BringForward(window);
        break;
    case ui::kSwMinimize:
    case ui::kSwShowMinNoActive:
        // showMinimized() would show the window again after the size handler
        // has hidden it; a shown window only changes its state.
        if (window.isHidden())
            window.showMinimized();
        else
            window.setWindowState((window.windowState() & ~Qt::WindowActive) | Qt::WindowMinimized);
        break;
    default:
        window.show();
        break;
    }
}

bool QtDialogHost::IsMinimized() const {
    return m_minimizedBehindIcon || m_window->isMinimized();
}

void QtDialogHost::SetForegroundWindow() {
    BringForward(*m_window);
}

ui::Rect QtDialogHost::WindowRect() const {
    return ToRect(m_window->frameGeometry());
}

ui::Rect QtDialogHost::ClientRect() const {
    return {0, 0, m_window->width(), m_window->height()};
}

void QtDialogHost::SetWindowPosTopmost(int x, int y, int width, int height, unsigned flags) {
    DialogWindow& window = *m_window;
    const bool wasVisible = window.isVisible();
    if (!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        window.setWindowFlag(Qt::WindowStaysOnTopHint, true); // this hides a shown window
    // Width and height are the whole window's, frame included.
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    const QSize client(width - frame.width(), height - frame.height());
    if (client != window.size()) {
        if (window.minimumSize() == window.maximumSize())
            window.setFixedSize(client);
        else
            window.resize(client);
    }
    window.move(x, y);
    if (wasVisible || (flags & ui::kSwpShowWindow)) {
        window.show();
        window.raise();
        window.activateWindow(); // no SWP_NOACTIVATE: the window comes forward
    }
}

void QtDialogHost::SetWindowTitle(std::string_view title) {
    m_window->setWindowTitle(FromUtf8(title));
}

void QtDialogHost::SetIcon(int iconId, bool /*big*/) {
    // One QIcon carries both pictures; the window system picks the size.
    m_window->setWindowIcon(LoadIconResource(iconId));
}

void QtDialogHost::SetFocus(int id) {
    if (id != 0) {
        if (QWidget* control = Control(id))
            control->setFocus();
        return;
    }
    m_window->setFocus();
    // Like SetFocus on Windows, take the focus back only from the program's
    // own windows; never from a box that waits for an answer, nor from a
    // window of the same kind, which would take it back in turn.
    const QWidget* active = QApplication::activeWindow();
    if (m_window->isVisible() && active && active != m_window.get() &&
        active->objectName() != m_window->objectName() && !QApplication::activeModalWidget())
        m_window->activateWindow();
}

int QtDialogHost::Dpi() const {
    const QScreen* screen = m_window ? m_window->screen() : QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInchY()) : 96;
}

bool QtDialogHost::RenderSurface() {
    const qreal ratio = m_window->devicePixelRatioF();
    const QSize size = m_window->size() * ratio;
    if (m_surface.size() != size)
        m_surface = QPixmap(size);
    m_surface.setDevicePixelRatio(ratio);
    m_surface.fill(m_window->palette().color(QPalette::Window)); // the erase
    bool painted = false;
    {
        QtPainter painter(m_surface, Dpi());
        painted = m_dialog.OnPaint(painter);
    }
    m_surfacePainted = painted;
    return painted;
}

void QtDialogHost::RedrawNow() {
    if (!m_alive)
        return;
    RenderSurface();
    m_window->repaint();
}

std::unique_ptr<ui::Painter> QtDialogHost::ClientPainter() {
    if (!m_surfacePainted)
        RenderSurface();
    // From here the surface is what the window shows, whatever OnPaint said.
    m_surfacePainted = true;
    QPointer<DialogWindow> window = m_window.get();
    return std::make_unique<QtPainter>(m_surface, Dpi(), [window] {
        if (window)
            window->update();
    });
}

bool QtDialogHost::Paint(QPainter& painter) {
    if (!m_alive)
        return false;
    if (!m_surfacePainted || m_surface.deviceIndependentSize().toSize() != m_window->size())
        RenderSurface();
    if (!m_surfacePainted)
        return false;
    painter.drawPixmap(0, 0, m_surface);
    return true;
}

void QtDialogHost::KeyCommand(int id) {
    Command(id);
}

void QtDialogHost::CloseRequested() {
    if (!m_alive || m_dialog.OnClose())
        return;
    // As DefDlgProc: WM_CLOSE becomes IDCANCEL unless a Cancel button is disabled.
    if (const QWidget* cancel = Control(ui::kIdCancel);
        !cancel || cancel->isEnabledTo(m_window.get()))
        Command(ui::kIdCancel);
}

void QtDialogHost::MinimizedChanged(bool minimized) {
    ReportMinimized(minimized);
}

void QtDialogHost::ReportMinimized(bool minimized) {
    if (!m_alive || minimized == m_reportedMinimized)
        return;
    m_reportedMinimized = minimized;
    m_surfacePainted = false; // what the window shows depends on its state
    if (minimized)
        m_dialog.OnSize(ui::kSizeMinimized, 0, 0);
    else
        m_dialog.OnSize(ui::kSizeRestored, m_window->width(), m_window->height());
}

void QtDialogHost::Deactivated() {
    if (m_alive)
        m_dialog.OnKillFocus();
}

bool QtDialogHost::HasSystemMenu() const {
    return (m_template.style & style::kSysMenu) != 0;
}

void QtDialogHost::AppendSystemMenuSeparator() {
    m_systemMenu.emplace_back(0, QString());
}

void QtDialogHost::AppendSystemMenuItem(int commandId, std::string_view text) {
    m_systemMenu.emplace_back(commandId, FromUtf8(text));
}

void QtDialogHost::ContextMenu(const QPoint& globalPos) {
    if (!m_alive || m_systemMenu.empty())
        return;
    QMenu menu(m_window.get());
    for (const auto& [commandId, text] : m_systemMenu) {
        if (commandId != 0)
            menu.addAction(text)->setData(commandId);
        else if (!menu.isEmpty()) // one above the first item would part it from nothing
            menu.addSeparator();
    }
    const QAction* chosen = menu.exec(globalPos);
    if (chosen && m_alive)
        m_dialog.OnSysCommand(static_cast<unsigned>(chosen->data().toInt()));
}

bool QtDialogHost::AddTrayIcon(const ui::TrayIconData& data) {
    m_tray->Add(data);
    return m_tray->Shown(data.id);
}

void QtDialogHost::DeleteTrayIcon(const ui::TrayIconData& data) {
    m_tray->Delete(data);
}

void QtDialogHost::TrackPopupMenu(int menuId, int popupIndex, ui::Point at, unsigned /*flags*/) {
    QMenu menu(&MainHost().Window());
    if (!LoadPopupMenu(menu, menuId, popupIndex))
        return;
    if (const QAction* chosen = menu.exec(QPoint(at.x, at.y)))
        PostCommand(chosen->data().toInt());
}

void QtDialogHost::PostCommand(int id) {
    // The choice arrives after the menu is gone, as a posted WM_COMMAND does.
    QMetaObject::invokeMethod(
        m_window.get(), [this, id] { Command(id); }, Qt::QueuedConnection);
}

void QtDialogHost::NotifyUrgently(std::string_view summary, std::string_view body) {
    // A Wayland client cannot keep a window on top: the countdown may be
    // buried under the next window clicked.
    if (NativeWayland())
        SendUrgentNotification(FromUtf8(summary), FromUtf8(body));
}

ui::Size QtDialogHost::ScreenSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? ui::Size{screen->geometry().width(), screen->geometry().height()} : ui::Size{};
}

ui::Size QtDialogHost::IconSize() const {
    return {kIconSize.width(), kIconSize.height()};
}

ui::Point QtDialogHost::CursorPos() const {
    const QPoint pos = QCursor::pos();
    return {pos.x(), pos.y()};
}

std::uint32_t QtDialogHost::TickCount() const {
    return TickCountSinceBoot();
}

std::string QtDialogHost::LoadString(int id) const {
    return std::string(ui::FindString(id));
}

} // namespace lumivar::qt
