#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace lumivar::qt {

struct MessageBoxRequest {
    QString text;
    QString caption;
    unsigned type = 0; // MB_* bits: buttons and icon
};

/// A Windows-style message box: the buttons and icon of `type` (MB_OK or
/// MB_YESNO; warning 0x30, information 0x40), the first button the default,
/// modal to `owner` (centred on the screen while the owner is hidden).
/// Returns the id of the button pressed (IDOK 1, IDYES 6, IDNO 7).
int ShowMessageBox(QWidget* owner, const MessageBoxRequest& request);

/// For tests: while set, message boxes are not shown; the answerer gets each
/// request and returns the button id.
using MessageBoxAnswerer = std::function<int(const MessageBoxRequest&)>;
void SetMessageBoxAnswerer(MessageBoxAnswerer answerer);

} // namespace lumivar::qt
