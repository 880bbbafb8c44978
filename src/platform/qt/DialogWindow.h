#pragma once

#include <QDialog>

namespace lumivar::qt {

/// What a dialog window reports to its host. The window never acts on its
/// own: it neither closes, nor ends, nor treats Esc and Enter itself.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    /// Esc (2), Enter (1 or the focused push button's id, already resolved).
    virtual void KeyCommand(int id) = 0;
    /// The close box, Alt+F4 or the window manager's close request.
    virtual void CloseRequested() = 0;
    /// The window was minimised or restored from minimised.
    virtual void MinimizedChanged(bool minimized) = 0;
    /// The window lost the activation to another window.
    virtual void Deactivated() = 0;
    /// Paints the client area; false leaves the default background.
    virtual bool Paint(QPainter& painter) = 0;
    /// A right click (or the menu key) asking for a context menu.
    virtual void ContextMenu(const QPoint& globalPos) = 0;
};

/// The Qt window behind one dialog: a QDialog whose keys, close requests,
/// state changes and painting go to its host.
class DialogWindow final : public QDialog {
    Q_OBJECT

public:
    DialogWindow(WindowEvents& events, QWidget* parent, Qt::WindowFlags flags);

    /// The id Enter sends when no push button has the focus (IDOK); it is
    /// dropped while the control with that id exists and is disabled.
    void SetDefaultCommandControl(QWidget* control) { m_defaultControl = control; }
    /// Stops reporting: the host is going away.
    void Detach() { m_events = nullptr; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    WindowEvents* m_events;
    QWidget* m_defaultControl = nullptr;
};

} // namespace lumivar::qt
