// The Win32 dialog host: the window's state and placement, painting outside
// the paint handler, system metrics, the system menu, the tray and menus.
#include "Win32DialogHost.h"

#include "GdiPainter.h"
#include "TrayRecord.h"
#include "Utf16.h"
#include "Win32Geometry.h"

#include <shellapi.h>

namespace lumivar::win32 {

namespace {

// Each size from its own image of the icon, not the large one scaled down.
HICON LoadIconImage(int iconId, bool big) {
    const int width = ::GetSystemMetrics(big ? SM_CXICON : SM_CXSMICON);
    const int height = ::GetSystemMetrics(big ? SM_CYICON : SM_CYSMICON);
    return static_cast<HICON>(::LoadImageW(Win32DialogHost::Resources(), MAKEINTRESOURCEW(iconId),
                                           IMAGE_ICON, width, height, LR_SHARED));
}

} // namespace

int Win32DialogHost::MessageBox(std::string_view text, std::string_view caption, unsigned type) {
    return ::MessageBoxW(MainWindow(), WidenUtf8(text).c_str(), WidenUtf8(caption).c_str(), type);
}

void Win32DialogHost::ShowWindow(int command) {
    ::ShowWindow(Window(), command);
}

bool Win32DialogHost::IsMinimized() const {
    return ::IsIconic(Window()) != FALSE;
}

void Win32DialogHost::SetForegroundWindow() {
    ::SetForegroundWindow(Window());
}

ui::Rect Win32DialogHost::WindowRect() const {
    RECT rect{};
    ::GetWindowRect(Window(), &rect);
    return FromRect(rect);
}

ui::Rect Win32DialogHost::ClientRect() const {
    RECT rect{};
    ::GetClientRect(Window(), &rect);
    return FromRect(rect);
}

void Win32DialogHost::SetWindowPosTopmost(int x, int y, int width, int height, unsigned flags) {
    ::SetWindowPos(Window(), HWND_TOPMOST, x, y, width, height, flags);
}

void Win32DialogHost::SetWindowTitle(std::string_view title) {
    ::SetWindowTextW(Window(), WidenUtf8(title).c_str());
}

void Win32DialogHost::SetIcon(int iconId, bool big) {
    const HICON icon = LoadIconImage(iconId, big);
    if (big)
        m_bigIcon = icon;
    ::SendMessageW(Window(), WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                   reinterpret_cast<LPARAM>(icon));
}

void Win32DialogHost::EndDialog(int result) {
    if (IsModeless())
        ::ShowWindow(Window(), SW_HIDE); // a modeless dialog ends by hiding; it lives on
    else
        ::EndDialog(Window(), result);
}

void Win32DialogHost::RedrawNow() {
    ::RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
}

std::unique_ptr<ui::Painter> Win32DialogHost::ClientPainter() {
    return std::make_unique<GdiPainter>(Resources(), ::GetDC(Window()), Window());
}

ui::Size Win32DialogHost::ScreenSize() const {
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

ui::Size Win32DialogHost::IconSize() const {
    return {::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)};
}

ui::Point Win32DialogHost::CursorPos() const {
    POINT point{};
    ::GetCursorPos(&point);
    return {point.x, point.y};
}

std::uint32_t Win32DialogHost::TickCount() const {
    return ::GetTickCount();
}

std::string Win32DialogHost::LoadString(int id) const {
    // With no buffer, LoadStringW hands out the resource's own read-only text.
    const wchar_t* text = nullptr;
    const int length =
        ::LoadStringW(Resources(), static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? NarrowUtf8({text, static_cast<std::size_t>(length)})
                              : std::string();
}

bool Win32DialogHost::HasSystemMenu() const {
    return ::GetSystemMenu(Window(), FALSE) != nullptr;
}

void Win32DialogHost::AppendSystemMenuSeparator() {
    ::AppendMenuW(::GetSystemMenu(Window(), FALSE), MF_SEPARATOR, 0, nullptr);
}

void Win32DialogHost::AppendSystemMenuItem(int commandId, std::string_view text) {
    ::AppendMenuW(::GetSystemMenu(Window(), FALSE), MF_STRING, static_cast<UINT_PTR>(commandId),
                  WidenUtf8(text).c_str());
}

bool Win32DialogHost::AddTrayIcon(const ui::TrayIconData& data) {
    m_trayCallback = data.callbackMessage;
    // The notification area shows small icons: give it the icon's own small
    // image rather than the large one for the shell to shrink.
    NOTIFYICONDATAW record = MakeTrayRecord(Window(), data, LoadIconImage(data.iconId, false));
    // A second add of the same icon fails because the shell has it already.
    if (::Shell_NotifyIconW(NIM_ADD, &record) || m_heldTrayIcon == data.id)
        m_heldTrayIcon = data.id;
    return m_heldTrayIcon == data.id;
}

void Win32DialogHost::DeleteTrayIcon(const ui::TrayIconData& data) {
    if (m_heldTrayIcon == data.id)
        m_heldTrayIcon.reset();
    NOTIFYICONDATAW record{};
    record.cbSize = sizeof(record);
    record.hWnd = Window();
    record.uID = data.id;
    ::Shell_NotifyIconW(NIM_DELETE, &record);
}

void Win32DialogHost::TrackPopupMenu(int menuId, int popupIndex, ui::Point at, unsigned flags) {
    const HMENU menu = ::LoadMenuW(Resources(), MAKEINTRESOURCEW(menuId));
    if (!menu)
        return;
    const HWND owner = MainWindow();
    // Without the foreground, the menu of a hidden window's tray icon does
    // not close when the user clicks elsewhere; the WM_NULL after it lets the
    // next click reach the menu's owner instead of reopening it.
    ::SetForegroundWindow(owner);
    ::TrackPopupMenu(::GetSubMenu(menu, popupIndex), flags, at.x, at.y, 0, owner, nullptr);
    ::PostMessageW(owner, WM_NULL, 0, 0);
    ::DestroyMenu(menu);
}

} // namespace lumivar::win32
