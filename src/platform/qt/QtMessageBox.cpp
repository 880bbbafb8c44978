#include "QtMessageBox.h"

#include "WinConstants.h"
#include "WindowPlacement.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace lumivar::qt {
namespace {

MessageBoxAnswerer g_answerer;

constexpr unsigned kButtonsMask = 0x0F;
constexpr unsigned kIconMask = 0xF0;
constexpr unsigned kIconError = 0x10;

QMessageBox::Icon IconOf(unsigned type) {
    switch (type & kIconMask) {
    case kIconError:
        return QMessageBox::Critical;
    case ui::kMbIconQuestion:
        return QMessageBox::Question;
    case ui::kMbIconExclamation:
        return QMessageBox::Warning;
    case ui::kMbIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

/// Placed like a Windows box, and like one without a Cancel button, Esc and
/// the close box cannot answer a Yes/No question.
class OwnedMessageBox final : public QMessageBox {
public:
    OwnedMessageBox(QWidget* owner, bool mustAnswer)
        : QMessageBox(owner), m_mustAnswer(mustAnswer) {
        if (m_mustAnswer)
            setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    }

protected:
    void showEvent(QShowEvent* event) override {
        const bool placed = testAttribute(Qt::WA_Moved);
        QMessageBox::showEvent(event);
        if (!event->spontaneous() && !placed)
            PlaceOnScreen(*this);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (m_mustAnswer && event->key() == Qt::Key_Escape)
            return;
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (m_mustAnswer)
            event->ignore();
        else
            QMessageBox::closeEvent(event);
    }

private:
    bool m_mustAnswer;
};

} // namespace

int ShowMessageBox(QWidget* owner, const MessageBoxRequest& request) {
    if (g_answerer)
        return g_answerer(request);

    const bool yesNo = (request.type & kButtonsMask) == ui::kMbYesNo;
    OwnedMessageBox box(owner, yesNo);
    box.setWindowTitle(request.caption);
    box.setText(request.text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(IconOf(request.type));
    // The owner alone is blocked, as on Windows: the notification-area icon
    // and the countdown window stay usable while the box waits.
    box.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);

    // Windows's own captions in the program's language.
    QPushButton* first = nullptr;
    if (yesNo) {
        first = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
        box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
    } else {
        first = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
        box.setEscapeButton(first);
    }
    box.setDefaultButton(first);
    box.exec();

    if (!yesNo)
        return ui::kIdOk;
    return box.clickedButton() == first ? ui::kIdYes : ui::kIdNo;
}

void SetMessageBoxAnswerer(MessageBoxAnswerer answerer) {
    g_answerer = std::move(answerer);
}

} // namespace lumivar::qt
