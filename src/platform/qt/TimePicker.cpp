#include "TimePicker.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <algorithm>
#include <array>

namespace lumivar::qt {
namespace {

constexpr int kFields = 3;
constexpr std::array<int, kFields> kFieldMax = {23, 59, 59};

// "HH:mm:ss": every field after the first follows a separator.
int FieldAt(const QString& text, int position) {
    return std::min(static_cast<int>(text.left(position).count(u':')), kFields - 1);
}

QTime WithField(const QTime& time, int field, int value) {
    std::array<int, kFields> parts = {time.hour(), time.minute(), time.second()};
    parts[field] = value;
    return QTime(parts[0], parts[1], parts[2]);
}

} // namespace

TimePicker::TimePicker(QWidget* parent) : QTimeEdit(parent) {
    setDisplayFormat(QStringLiteral("HH:mm:ss"));
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setWrapping(true); // each field runs round alone, as in the Windows picker
    setTime(QTime(0, 0));
    // Fields change only through the keys and clicks handled here: the text
    // takes no editing of its own (Backspace, paste, an input method), which
    // would leave half a time in it.
    lineEdit()->setReadOnly(true);
    lineEdit()->installEventFilter(this);
}

void TimePicker::stepBy(int steps) {
    SelectField(m_field); // Qt steps the field its text cursor is in
    QTimeEdit::stepBy(steps);
}

bool TimePicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched != lineEdit() || !isEnabled())
        return QTimeEdit::eventFilter(watched, event);
    // A click selects a whole field instead of placing a text cursor, and a
    // drag selects nothing across fields. The right button keeps its menu.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton)
            break;
        if (mouse->button() == Qt::LeftButton)
            SelectField(FieldAt(lineEdit()->text(),
                                lineEdit()->cursorPositionAt(mouse->position().toPoint())));
        return true;
    }
    case QEvent::MouseMove:
        return true;
    default:
        break;
    }
    return QTimeEdit::eventFilter(watched, event);
}

void TimePicker::keyPressEvent(QKeyEvent* event) {
    const bool plain =
        !event->modifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const QString text = event->text();
    if (plain && text.size() == 1 && text[0] >= u'0' && text[0] <= u'9') {
        TypeDigit(text[0].unicode() - u'0');
        return;
    }
    switch (plain ? event->key() : Qt::Key_unknown) {
    case Qt::Key_Left:
        SelectField((m_field + kFields - 1) % kFields);
        return;
    case Qt::Key_Right:
        SelectField((m_field + 1) % kFields);
        return;
    case Qt::Key_Home:
        SelectField(0);
        return;
    case Qt::Key_End:
        SelectField(kFields - 1);
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        QTimeEdit::keyPressEvent(event);
        return;
    default:
        // Other text, the separator and Backspace change nothing, and the
        // dialog sees the rest; QDateTimeEdit would edit the text, or leave
        // the picker through focusNextPrevChild on ':' or Ctrl+Left.
        event->ignore();
    }
}

void TimePicker::focusInEvent(QFocusEvent* event) {
    QTimeEdit::focusInEvent(event);
    // Whichever way the focus comes, the field last selected is selected
    // again (a click then selects its own); QDateTimeEdit would pick the
    // first or last field, or none.
    SelectField(m_field);
}

void TimePicker::focusOutEvent(QFocusEvent* event) {
    m_firstDigit = -1;
    QTimeEdit::focusOutEvent(event);
}

bool TimePicker::focusNextPrevChild(bool next) {
    // Tab and Shift+Tab leave the picker; QDateTimeEdit would walk its fields.
    return QWidget::focusNextPrevChild(next);
}

void TimePicker::SelectField(int field) {
    m_field = field;
    m_firstDigit = -1;
    setSelectedSection(sectionAt(field));
}

// The first digit replaces the selected field and a second one joins it, as
// in the Windows picker. The field is full, and the next one selected, after
// two digits or after a first digit no second could follow in range (3 to 9
// in the hours, 6 to 9 in the minutes and seconds). A second digit that would
// put the field out of range starts it again instead ("24" in the hours is
// 04), so digits never spill into the next field. The last field stays
// selected when full, and the next digit starts it again.
void TimePicker::TypeDigit(int digit) {
    const int max = kFieldMax[m_field];
    const bool joins = m_firstDigit >= 0 && m_firstDigit * 10 + digit <= max;
    const int value = joins ? m_firstDigit * 10 + digit : digit;
    const bool full = joins || digit * 10 > max;
    setTime(WithField(time(), m_field, value));
    SelectField(full ? std::min(m_field + 1, kFields - 1) : m_field);
    if (!full)
        m_firstDigit = digit;
}

} // namespace lumivar::qt
