// The Win32 dialog host: the window's modal or modeless life, its controls by
// id and its timers. Window state, the tray and menus are in
// Win32DialogHostWindow.cpp; message routing in Win32DialogMessages.cpp.
#include "Win32DialogHost.h"

#include "Dialog.h"
#include "Utf16.h"

#include <commctrl.h>

namespace lumivar::win32 {

HINSTANCE Win32DialogHost::Resources() {
    return ::GetModuleHandleW(nullptr);
}

Win32DialogHost::Win32DialogHost(ui::Dialog& dialog, Win32DialogHost* owner)
    : m_dialog(dialog), m_owner(owner) {}

Win32DialogHost::~Win32DialogHost() {
    if (m_dialog.IsAttached())
        m_dialog.Attach(nullptr);
}

int Win32DialogHost::RunModalLoop() {
    const INT_PTR result =
        ::DialogBoxParamW(Resources(), MAKEINTRESOURCEW(m_dialog.TemplateId()),
                          m_owner ? m_owner->Window() : nullptr, DialogProc, CreationParam());
    return static_cast<int>(result);
}

Win32DialogHost* Win32DialogHost::CreateModelessWindow(std::unique_ptr<ui::Dialog> dialog,
                                                       Win32DialogHost& owner) {
    ui::Dialog& behaviour = *dialog;
    auto host = std::make_unique<Win32DialogHost>(behaviour, &owner);
    host->m_ownedDialog = std::move(dialog);
    const HWND window = ::CreateDialogParamW(Resources(), MAKEINTRESOURCEW(behaviour.TemplateId()),
                                             owner.Window(), DialogProc, host->CreationParam());
    if (!window)
        return nullptr;
    // From here the window owns the host: WM_NCDESTROY frees it.
    host->m_ownedByWindow = true;
    return host.release();
}

void Win32DialogHost::WindowDestroyed() {
    m_dialog.Attach(nullptr);
    m_timers.clear();
    if (m_ownedByWindow)
        delete this;
}

ui::DialogHost* Win32DialogHost::CreateModeless(std::unique_ptr<ui::Dialog> dialog) {
    return CreateModelessWindow(std::move(dialog), m_owner ? *m_owner : *this);
}

int Win32DialogHost::RunModal(ui::Dialog& dialog) {
    Win32DialogHost host(dialog, m_owner ? m_owner : this);
    return host.RunModalLoop();
}

// Controls

void Win32DialogHost::EnableControl(int id, bool enable) {
    ::EnableWindow(Control(id), enable ? TRUE : FALSE);
}

void Win32DialogHost::SetControlText(int id, std::string_view text) {
    ::SetDlgItemTextW(Window(), id, WidenUtf8(text).c_str());
}

std::string Win32DialogHost::ControlText(int id) const {
    const HWND control = Control(id);
    if (!control)
        return {};
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    const int length = ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return NarrowUtf8(text);
}

void Win32DialogHost::SetCheck(int id, int state) {
    ::CheckDlgButton(Window(), id, static_cast<UINT>(state));
}

int Win32DialogHost::Check(int id) const {
    const HWND control = Control(id);
    wchar_t className[16] = {};
    // Only buttons have a check state: a picker or static in a radio group's
    // range must not be asked (BM_GETCHECK means something else to them).
    if (!control || !::GetClassNameW(control, className, 16) ||
        ::lstrcmpiW(className, WC_BUTTONW) != 0)
        return ui::kUnchecked;
    return static_cast<int>(::SendMessageW(control, BM_GETCHECK, 0, 0));
}

void Win32DialogHost::CheckRadioButton(int first, int last, int checked) {
    ::CheckRadioButton(Window(), first, last, checked);
}

TargetTime Win32DialogHost::PickerTime(int id) const {
    SYSTEMTIME time{};
    if (::SendMessageW(Control(id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) !=
        GDT_VALID)
        return {};
    return {time.wHour, time.wMinute, time.wSecond};
}

void Win32DialogHost::SetPickerTime(int id, const TargetTime& time) {
    // The picker only takes a valid time of day; it keeps its value otherwise.
    if (!IsValidTimeOfDay(time))
        return;
    const HWND picker = Control(id);
    SYSTEMTIME value{};
    if (::SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value)) != GDT_VALID)
        ::GetLocalTime(&value);
    value.wHour = static_cast<WORD>(time.hour);
    value.wMinute = static_cast<WORD>(time.minute);
    value.wSecond = static_cast<WORD>(time.second);
    value.wMilliseconds = 0;
    ::SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
}

void Win32DialogHost::SetSpinBase(int id, int base) {
    ::SendMessageW(Control(id), UDM_SETBASE, static_cast<WPARAM>(base), 0);
}

void Win32DialogHost::SetSpinRange(int id, int lower, int upper) {
    ::SendMessageW(Control(id), UDM_SETRANGE32, static_cast<WPARAM>(lower), upper);
}

void Win32DialogHost::SetSpinPos(int id, int pos) {
    ::SendMessageW(Control(id), UDM_SETPOS32, 0, pos);
}

void Win32DialogHost::SetFocus(int id) {
    ::SetFocus(id == 0 ? Window() : Control(id));
}

// Timers

void Win32DialogHost::SetTimer(int id, std::chrono::milliseconds period, ui::TimerPacing pacing) {
    Timer& timer = m_timers[id];
    timer.pacer.reset();
    UINT delay = static_cast<UINT>(period.count());
    if (pacing == ui::TimerPacing::WallSecond) {
        timer.pacer.emplace();
        delay = static_cast<UINT>(timer.pacer->Start(std::chrono::system_clock::now()).count());
    }
    ::SetTimer(Window(), static_cast<UINT_PTR>(id), delay, nullptr);
}

void Win32DialogHost::KillTimer(int id) {
    ::KillTimer(Window(), static_cast<UINT_PTR>(id));
    m_timers.erase(id);
}

void Win32DialogHost::TimerTick(int id) {
    const auto found = m_timers.find(id);
    if (found == m_timers.end())
        return; // a tick already queued when the timer was stopped
    // A paced timer is re-aimed on every delivery, just past the next
    // wall-clock second.
    const auto aim = [this, id](std::chrono::milliseconds delay) {
        ::SetTimer(Window(), static_cast<UINT_PTR>(id), static_cast<UINT>(delay.count()), nullptr);
    };
    if (found->second.pacer && !found->second.pacer->Deliver(std::chrono::system_clock::now(), aim))
        return;
    m_dialog.OnTimer(id);
}

} // namespace lumivar::win32
