// The host's pure pieces: text conversion, font heights, the tray record,
// and what a second start makes of the session's mutex and sends its window.
#include "GdiPainter.h"
#include "TrayRecord.h"
#include "Utf16.h"
#include "Win32SessionCopy.h"

#include <gtest/gtest.h>

#include <string>

namespace lumivar::win32 {
namespace {

TEST(Utf16, ChineseTextRoundTrips) {
    const std::string title = "Tarnholt定时关机管理程序";
    const std::wstring wide = WidenUtf8(title);
    EXPECT_EQ(wide, L"Tarnholt\u5B9A\u65F6\u5173\u673A\u7BA1\u7406\u7A0B\u5E8F");
    EXPECT_EQ(NarrowUtf8(wide), title);
}

TEST(Utf16, CharactersOutsideTheBasicPlaneBecomeSurrogatePairs) {
    const std::wstring wide = WidenUtf8("\xF0\x9F\x95\x90"); // U+1F550
    ASSERT_EQ(wide.size(), 2u);
    EXPECT_EQ(wide[0], 0xD83D);
    EXPECT_EQ(wide[1], 0xDD50);
    EXPECT_EQ(NarrowUtf8(wide), "\xF0\x9F\x95\x90");
}

TEST(Utf16, InvalidBytesBecomeReplacementCharactersNotATruncation) {
    const std::wstring wide = WidenUtf8("a\xFF"
                                        "b");
    EXPECT_EQ(wide, L"a\uFFFDb");
    EXPECT_TRUE(WidenUtf8("").empty());
    EXPECT_TRUE(NarrowUtf8(L"").empty());
}

TEST(FontPixelHeight, PointsTimesDpiOver72RoundedDown) {
    EXPECT_EQ(FontPixelHeight(150, 96), 20);
    EXPECT_EQ(FontPixelHeight(100, 96), 13);  // 13.33
    EXPECT_EQ(FontPixelHeight(100, 120), 16); // 16.67: rounding to nearest would give 17
    EXPECT_EQ(FontPixelHeight(90, 144), 18);
}

TEST(TrayRecord, CarriesTheWindowsIdFlagsCallbackIconAndTip) {
    const ui::TrayIconData data{102, 7, 0x0401, 128, "Tarnholt定时关机管理程序"};
    const HWND window = reinterpret_cast<HWND>(0x1234);
    const HICON icon = reinterpret_cast<HICON>(0x5678);
    const NOTIFYICONDATAW record = MakeTrayRecord(window, data, icon);
    EXPECT_EQ(record.cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(record.hWnd, window);
    EXPECT_EQ(record.uID, 102u);
    EXPECT_EQ(record.uFlags, 7u);
    EXPECT_EQ(record.uCallbackMessage, 0x0401u);
    EXPECT_EQ(record.hIcon, icon);
    EXPECT_EQ(std::wstring(record.szTip), WidenUtf8(data.tip));
}

TEST(TrayRecord, LongTipIsCutInsideTheFieldAndNeverInsideAPair) {
    ui::TrayIconData data{102, 7, 0x0401, 128, std::string(126, 'x')};
    data.tip += "\xF0\x9F\x95\x90\xF0\x9F\x95\x90"; // two pairs: 130 UTF-16 units
    const NOTIFYICONDATAW record = MakeTrayRecord(nullptr, data, nullptr);
    const std::wstring tip(record.szTip);
    // 127 units fit; the 127th would be the first half of a pair.
    ASSERT_EQ(tip.size(), 126u);
    EXPECT_EQ(tip, std::wstring(126, L'x'));
}

TEST(SessionMutex, AnyCopyHoldingItCountsAnAdministratorsOneToo) {
    using Claim = ui::SessionCopy::Claim;
    EXPECT_EQ(ClaimFromMutex(true, ERROR_SUCCESS), Claim::First);
    EXPECT_EQ(ClaimFromMutex(true, ERROR_ALREADY_EXISTS), Claim::Held);
    // Made by an elevated copy, for itself alone: a normal start may not open it.
    EXPECT_EQ(ClaimFromMutex(false, ERROR_ACCESS_DENIED), Claim::Held);
    EXPECT_EQ(ClaimFromMutex(false, ERROR_INVALID_HANDLE), Claim::Alone);
}

TEST(SessionMutex, ARequestCrossesToTheRunningCopyWholeAndNothingElseDoes) {
    const ui::StartRequest request{true, L"C:\\Users\\\u738B\\Setup.ini", {}, {}};
    const std::wstring data = EncodeStartRequest(request);
    const DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    EXPECT_EQ(DecodeStartRequest(data.data(), size), request);
    EXPECT_EQ(DecodeStartRequest(L"0", sizeof(wchar_t))->dryRun, false);
    EXPECT_FALSE(DecodeStartRequest(nullptr, 0));
    EXPECT_FALSE(DecodeStartRequest(L"x", sizeof(wchar_t)));
    EXPECT_FALSE(DecodeStartRequest(data.data(), size - 1)) << "an odd byte";
}

} // namespace
} // namespace lumivar::win32
