#pragma once

#include <QWidget>

class QToolButton;

namespace lumivar::qt {

/// The msctls_updown32 control: two arrows beside a buddy edit, and the Up and
/// Down keys in the buddy. It asks before it moves (stepRequested) and never
/// writes the buddy's text; its owner applies the new position if allowed.
class UpDownControl final : public QWidget {
    Q_OBJECT

public:
    explicit UpDownControl(QWidget* parent = nullptr);

    /// Takes the Up and Down keys of `buddy` when `arrowKeys` is set.
    void SetBuddy(QWidget* buddy, bool arrowKeys);
    QWidget* Buddy() const { return m_buddy; }

    void SetRange(int lower, int upper);
    int Lower() const { return m_lower; }
    int Upper() const { return m_upper; }
    void SetPos(int pos);
    int Pos() const { return m_pos; }
    /// Moves the position by `delta` within the range.
    void Offset(int delta);

    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }

signals:
    /// The change of position one step asks for: +1 for the up arrow, -1 for
    /// the down arrow (the other way round when the range is upside down).
    void stepRequested(int delta);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Step(int direction);

    QToolButton* m_up;
    QToolButton* m_down;
    QWidget* m_buddy = nullptr;
    int m_lower = 100; // a fresh Windows up-down counts from 100 down to 0
    int m_upper = 0;
    int m_pos = 0;
};

} // namespace lumivar::qt
