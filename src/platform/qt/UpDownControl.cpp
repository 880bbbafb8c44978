#include "UpDownControl.h"

#include <QEvent>
#include <QKeyEvent>
#include <QToolButton>

#include <algorithm>

namespace lumivar::qt {
namespace {

QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true); // held down, it keeps stepping
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

UpDownControl::UpDownControl(QWidget* parent)
    : QWidget(parent), m_up(ArrowButton(Qt::UpArrow, this)),
      m_down(ArrowButton(Qt::DownArrow, this)) {
    m_up->setObjectName(QStringLiteral("up"));
    m_down->setObjectName(QStringLiteral("down"));
    connect(m_up, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void UpDownControl::SetBuddy(QWidget* buddy, bool arrowKeys) {
    if (m_buddy)
        m_buddy->removeEventFilter(this);
    m_buddy = buddy;
    if (m_buddy && arrowKeys)
        m_buddy->installEventFilter(this);
}

void UpDownControl::SetRange(int lower, int upper) {
    m_lower = lower;
    m_upper = upper;
    SetPos(m_pos);
}

void UpDownControl::SetPos(int pos) {
    m_pos = std::clamp(pos, std::min(m_lower, m_upper), std::max(m_lower, m_upper));
}

void UpDownControl::Offset(int delta) {
    SetPos(m_pos + delta);
}

void UpDownControl::Step(int direction) {
    // A range given upside down counts the other way, as on Windows.
    emit stepRequested(m_upper < m_lower ? -direction : direction);
}

bool UpDownControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_buddy && event->type() == QEvent::KeyPress && isEnabled()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            Step(key->key() == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDownControl::resizeEvent(QResizeEvent* /*event*/) {
    const int upHeight = height() / 2;
    m_up->setGeometry(0, 0, width(), upHeight);
    m_down->setGeometry(0, upHeight, width(), height() - upHeight);
}

} // namespace lumivar::qt
