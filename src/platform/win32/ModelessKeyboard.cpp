#include "ModelessKeyboard.h"

#include "Win32DialogHost.h"

namespace lumivar::win32 {

namespace {

// IsDialogMessage calls the filter itself: do not recurse through it.
bool g_filtering = false;

} // namespace

ModelessKeyboard::ModelessKeyboard()
    : m_hook(::SetWindowsHookExW(WH_MSGFILTER, Filter, nullptr, ::GetCurrentThreadId())) {}

ModelessKeyboard::~ModelessKeyboard() {
    if (m_hook)
        ::UnhookWindowsHookEx(m_hook);
}

LRESULT CALLBACK ModelessKeyboard::Filter(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX && !g_filtering) {
        auto* message = reinterpret_cast<MSG*>(lParam);
        const HWND root = message->hwnd ? ::GetAncestor(message->hwnd, GA_ROOT) : nullptr;
        auto* host = dynamic_cast<Win32DialogHost*>(Win32DialogBase::FromWindow(root));
        if (host && host->IsModeless()) {
            g_filtering = true;
            const BOOL handled = ::IsDialogMessageW(root, message);
            g_filtering = false;
            if (handled)
                return TRUE;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace lumivar::win32
