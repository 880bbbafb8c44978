#pragma once

#include "DialogHost.h"
#include "Painter.h"
#include "SecondStart.h"

#include <cassert>
#include <cstdint>

namespace lumivar::ui {

/// A window's behaviour, bound to a numbered dialog template. The host calls
/// these handlers for the window's messages; a handler returning false asks
/// the host for the window system's default handling.
class Dialog {
public:
    explicit Dialog(int templateId) : m_templateId(templateId) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    int TemplateId() const { return m_templateId; }

    /// Called by the host when the window is created, before OnInitDialog,
    /// and with null when the window is destroyed.
    void Attach(DialogHost* host) { m_host = host; }
    bool IsAttached() const { return m_host != nullptr; }

    /// WM_INITDIALOG. True: the host gives the focus to the first tab stop.
    virtual bool OnInitDialog() { return true; }
    /// IDOK: button 1 or Enter. The base ends the dialog with IDOK.
    virtual void OnOK() { Host().EndDialog(kIdOk); }
    /// IDCANCEL: Esc, the close box, Alt+F4. The base ends it with IDCANCEL.
    virtual void OnCancel() { Host().EndDialog(kIdCancel); }
    /// WM_COMMAND from a button click or menu item (ids 1 and 2 included).
    /// The base routes 1 to OnOK and 2 to OnCancel.
    virtual void OnCommand(int id) {
        if (id == kIdOk)
            OnOK();
        else if (id == kIdCancel)
            OnCancel();
    }
    virtual void OnTimer(int /*id*/) {}
    /// WM_PAINT. False: the host paints the window its default way.
    virtual bool OnPaint(Painter& /*painter*/) { return false; }
    /// WM_CLOSE. False: default handling, which sends IDCANCEL.
    virtual bool OnClose() { return false; }
    /// WM_SYSCOMMAND. False: default processing (minimise, close...).
    virtual bool OnSysCommand(unsigned /*command*/) { return false; }
    /// WM_SIZE, after the default size handling.
    virtual void OnSize(int /*type*/, int /*width*/, int /*height*/) {}
    /// WM_NOTIFY UDN_DELTAPOS from an up-down control; the result is returned
    /// to it (0 lets it apply the change).
    virtual int OnSpinDelta(int /*id*/, int /*delta*/) { return 0; }
    /// WM_KILLFOCUS of the window, after the default handling.
    virtual void OnKillFocus() {}
    /// The notification area was made again (the shell restarted) or went
    /// away (its panel quit): it holds none of the icons it held before.
    virtual void OnNotificationAreaReset() {}
    /// Messages the host does not map to a handler above, such as the tray
    /// callback. The host passes each on to its default handling after, but
    /// for the tray callback: its number doubles as a dialog message
    /// (DM_SETDEFID), which would move the default button.
    virtual void OnMessage(unsigned /*message*/, std::uintptr_t /*wParam*/,
                           std::intptr_t /*lParam*/) {}
    /// The program was started again in this desktop session: the new start
    /// opens no window and asks the running copy's main window to come
    /// forward instead.
    virtual void OnBringForward() {}
    /// Whether that new start runs as this copy does, so that it may simply
    /// hand over to this copy. Asked before the answer goes back to it, so
    /// it shows nothing.
    virtual bool AcceptsSecondStart(const StartRequest& /*request*/) const { return true; }
    /// What follows once the new start has its answer (`sameRun`, what
    /// AcceptsSecondStart said): this copy comes forward, and says what runs
    /// here if the new start would have run otherwise.
    virtual void OnSecondStart(const StartRequest& /*request*/, bool /*sameRun*/) {
        OnBringForward();
    }

protected:
    DialogHost& Host() const {
        assert(m_host);
        return *m_host;
    }

private:
    int m_templateId;
    DialogHost* m_host = nullptr;
};

} // namespace lumivar::ui
