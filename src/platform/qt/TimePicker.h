#pragma once

#include <QTimeEdit>

namespace lumivar::qt {

/// The SysDateTimePick32 control in time format, worked as on Windows: hours,
/// minutes and seconds are fields, one of them selected. A click selects the
/// field under the pointer, digits replace the selected field, Left and Right
/// move between fields, Up, Down and the arrows step the selected field alone,
/// and Tab leaves the control. Home and End select the first and last field.
class TimePicker final : public QTimeEdit {
    Q_OBJECT

public:
    explicit TimePicker(QWidget* parent = nullptr);

    void stepBy(int steps) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void SelectField(int field);
    void TypeDigit(int digit);

    int m_field = 0;       // 0 hours, 1 minutes, 2 seconds; kept while unfocused
    int m_firstDigit = -1; // the digit just typed while a second may follow it
};

} // namespace lumivar::qt
