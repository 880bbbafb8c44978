#pragma once

#include "Dialog.h"

#include <string>

namespace lumivar::ui {

/// Seconds left in the countdown. One counter for every notice window of the
/// process: two windows open at once count it down together.
extern int g_secondsLeft;
/// The countdown line last drawn.
extern std::string g_countdownText;

/// The countdown window's timer: once a second.
inline constexpr int kCountdownTimer = 3;

/// The borderless countdown shown thirty seconds before the power-off. It
/// runs on its own timer and has no say in the power-off itself.
class CShowDlg : public Dialog {
public:
    CShowDlg();

    bool OnInitDialog() override;
    bool OnPaint(Painter& painter) override;
    void OnTimer(int id) override;
    void OnOK() override {} // Enter leaves the window as it is
    void OnCancel() override;
    bool OnClose() override;
    void OnKillFocus() override;
};

} // namespace lumivar::ui
