#include "TrayRecord.h"

#include "Utf16.h"

#include <algorithm>
#include <iterator>

namespace lumivar::win32 {

NOTIFYICONDATAW MakeTrayRecord(HWND window, const ui::TrayIconData& data, HICON icon) {
    NOTIFYICONDATAW record{};
    record.cbSize = sizeof(record);
    record.hWnd = window;
    record.uID = data.id;
    record.uFlags = data.flags;
    record.uCallbackMessage = data.callbackMessage;
    record.hIcon = icon;
    const std::wstring tip = WidenUtf8(data.tip);
    std::size_t length = std::min(tip.size(), std::size(record.szTip) - 1);
    // Never leave half a surrogate pair at the end.
    if (length > 0 && length < tip.size() && IS_HIGH_SURROGATE(tip[length - 1]))
        --length;
    std::copy_n(tip.begin(), length, record.szTip);
    record.szTip[length] = L'\0';
    return record;
}

} // namespace lumivar::win32
