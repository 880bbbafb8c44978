#include "ShowDlg.h"

#include "ResourceIds.h"
#include "ScheduleCheck.h"
#include "TextFormat.h"
#include "UiTexts.h"

#include <chrono>

namespace lumivar::ui {

// The countdown runs from the lead at which the schedule opens this window.
int g_secondsLeft = kNoticeLeadSeconds;
std::string g_countdownText;

namespace {

constexpr ColorRef kPurple = 0x00A6389F;
constexpr ColorRef kWhite = 0x00FFFFFF;
constexpr int kLargeFont = 150; // tenths of a point
constexpr int kSmallFont = 100;

} // namespace

CShowDlg::CShowDlg() : Dialog(IDD_SHOW) {}

bool CShowDlg::OnInitDialog() {
    Host().SetTimer(kCountdownTimer, std::chrono::milliseconds(1000));
    return true;
}

bool CShowDlg::OnPaint(Painter& painter) {
    const Rect window = Host().WindowRect();
    painter.CopyBitmap(IDB_NOTICE, 0, 0, window.Width(), window.Height());
    painter.SetTransparentBackground();
    painter.SelectFont(texts::kLargeFontFace, kLargeFont);
    painter.SetTextColor(kPurple);
    painter.DrawText(20, 80, texts::kShutdownWarning);
    painter.SelectFont(texts::kSmallFontFace, kSmallFont);
    painter.SetTextColor(kWhite);
    painter.DrawText(13, 16, texts::kEscHint);
    painter.DrawText(210, 180, texts::kNoticeCredit);
    return true;
}

void CShowDlg::OnTimer(int /*id*/) {
    --g_secondsLeft;
    g_countdownText = Printf(texts::kCountdownFormat, g_secondsLeft);
    // The full repaint comes first, so the line is drawn over a fresh picture.
    Host().RedrawNow();
    {
        const auto painter = Host().ClientPainter();
        painter->SetTransparentBackground();
        painter->SelectFont(texts::kSmallFontFace, kSmallFont);
        painter->SetTextColor(kPurple);
        painter->DrawText(100, 120, g_countdownText);
    }
    if (g_secondsLeft <= 0) {
        Host().KillTimer(kCountdownTimer);
        OnCancel();
    }
}

void CShowDlg::OnCancel() {
    g_secondsLeft = kNoticeLeadSeconds;
    Dialog::OnCancel(); // hides this modeless window; its timer runs on
}

bool CShowDlg::OnClose() {
    g_secondsLeft = kNoticeLeadSeconds;
    Host().KillTimer(kCountdownTimer);
    return false; // the default handling sends IDCANCEL
}

void CShowDlg::OnKillFocus() {
    Host().SetFocus(0);
}

} // namespace lumivar::ui
