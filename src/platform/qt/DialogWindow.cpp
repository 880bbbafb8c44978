#include "DialogWindow.h"

#include "WinConstants.h"
#include "WindowPlacement.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace lumivar::qt {

DialogWindow::DialogWindow(WindowEvents& events, QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), m_events(&events) {}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    if (!m_events ||
        event->modifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        m_events->KeyCommand(ui::kIdCancel);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A focused push button takes Enter for itself, as on Windows.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget());
            button && button->isEnabled()) {
            button->click();
        } else if (!m_defaultControl || m_defaultControl->isEnabled()) {
            m_events->KeyCommand(ui::kIdOk);
        }
        return;
    default:
        // Skip QDialog's own handling: it would end the dialog.
        QWidget::keyPressEvent(event);
    }
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    event->ignore(); // the dialog decides whether, and how, it goes
    if (m_events)
        m_events->CloseRequested();
}

void DialogWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (!m_events)
        return;
    if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        const bool was = change->oldState() & Qt::WindowMinimized;
        if (was != isMinimized())
            m_events->MinimizedChanged(isMinimized());
    } else if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        m_events->Deactivated();
    }
}

void DialogWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (!m_events || !m_events->Paint(painter))
        QDialog::paintEvent(event);
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (m_events)
        m_events->ContextMenu(event->globalPos());
}

void DialogWindow::showEvent(QShowEvent* event) {
    const bool placed = testAttribute(Qt::WA_Moved);
    QDialog::showEvent(event);
    if (!event->spontaneous() && !placed)
        PlaceOnScreen(*this);
}

} // namespace lumivar::qt
