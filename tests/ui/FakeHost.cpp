#include "FakeHost.h"

#include "RecordingPainter.h"
#include "ResourceTemplates.h"
#include "WindowStyles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace lumivar::test {

using namespace std::chrono_literals;

namespace {

namespace style = ui::style;
constexpr int kSpinId = 1010;

bool SameClass(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string Describe(const ui::TrayIconData& d) {
    return std::to_string(d.id) + " flags=" + std::to_string(d.flags) +
           " callback=" + std::to_string(d.callbackMessage) + " icon=" + std::to_string(d.iconId) +
           " menu=" + std::to_string(d.menuId) + "/" + std::to_string(d.menuPopup) +
           " tip=" + d.tip;
}

} // namespace

FakeHost::FakeHost(FakeDesktop& desktop, ui::Dialog& dialog, FakeHost* owner)
    : m_desktop(desktop), m_dialog(dialog), m_owner(owner) {
    const ui::DialogTemplate* dialogTemplate = ui::FindDialogTemplate(dialog.TemplateId());
    if (!dialogTemplate) {
        ADD_FAILURE() << "no template " << dialog.TemplateId();
        return;
    }
    for (const ui::ControlTemplate& c : dialogTemplate->controls) {
        if (c.id == 0xFFFF)
            continue;
        FakeControl& control = m_controls[c.id];
        control.className = c.className;
        control.text = c.text;
        control.visible = (c.style & style::kVisible) != 0;
        control.enabled = (c.style & style::kDisabled) == 0;
        const bool button = SameClass(c.className, "Button");
        const std::uint32_t kind = c.style & style::kButtonKindMask;
        control.radio = button && kind == style::kAutoRadioButton;
        control.checkBox = button && kind == style::kAutoCheckBox;
    }
}

FakeHost::~FakeHost() {
    m_dialog.Attach(nullptr);
}

FakeControl& FakeHost::Control(int id) {
    const auto found = m_controls.find(id);
    if (found == m_controls.end()) {
        ADD_FAILURE() << "window " << m_dialog.TemplateId() << " has no control " << id;
        return m_controls[id];
    }
    return found->second;
}

const FakeControl& FakeHost::Control(int id) const {
    return const_cast<FakeHost*>(this)->Control(id);
}

void FakeHost::Click(int id) {
    FakeControl& control = Control(id);
    if (!control.enabled || !control.visible)
        return; // the user cannot press what is disabled or hidden
    if (control.checkBox)
        control.check = control.check ? 0 : 1;
    if (control.radio) {
        for (auto& [otherId, other] : m_controls)
            if (other.radio)
                other.check = otherId == id ? 1 : 0;
    }
    m_dialog.OnCommand(id);
}

void FakeHost::Command(int id) {
    m_dialog.OnCommand(id);
}

void FakeHost::Spin(int delta) {
    FakeControl& spin = Control(kSpinId);
    if (m_dialog.OnSpinDelta(kSpinId, delta) == 0)
        spin.spinPos = std::clamp(spin.spinPos + delta, spin.spinLower, spin.spinUpper);
}

void FakeHost::TrayMouse(unsigned mouseMessage) {
    ASSERT_TRUE(m_trayIconShown) << "no tray icon to click";
    m_dialog.OnMessage(ui::kWmTrayCallback, 102, static_cast<std::intptr_t>(mouseMessage));
}

bool FakeHost::Close() {
    if (!m_dialog.OnClose())
        m_dialog.OnCommand(ui::kIdCancel);
    return ended;
}

void FakeHost::CheckRadioButton(int first, int last, int checked) {
    for (auto& [id, control] : m_controls)
        if (id >= first && id <= last && control.radio)
            control.check = id == checked ? 1 : 0;
}

int FakeHost::Check(int id) const {
    // As on the real hosts, what is no check box or radio button reads clear:
    // the radio group's range holds pickers, a static and an unused id.
    const auto found = m_controls.find(id);
    const bool checkable =
        found != m_controls.end() && (found->second.radio || found->second.checkBox);
    return checkable ? found->second.check : 0;
}

void FakeHost::SetSpinRange(int id, int lower, int upper) {
    Control(id).spinLower = lower;
    Control(id).spinUpper = upper;
}

void FakeHost::SetTimer(int id, std::chrono::milliseconds period, ui::TimerPacing pacing) {
    FakeTimer timer{period, pacing, {}, {}};
    const WallTime now = m_desktop.clock.Now();
    if (pacing == ui::TimerPacing::WallSecond)
        timer.due = m_desktop.AimWallSecond(now, timer.pacer.Start(now));
    else
        timer.due = now + period;
    m_timers[id] = timer;
}

int FakeHost::MessageBox(std::string_view text, std::string_view caption, unsigned type) {
    messageBoxes.push_back({std::string(text), std::string(caption), type});
    if (whileMessageBoxOpen)
        whileMessageBoxOpen();
    if (answers.empty()) {
        if ((type & 0xF) != ui::kMbOk)
            ADD_FAILURE() << "no answer queued for message box: " << text;
        return ui::kIdOk;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

void FakeHost::ShowWindow(int command) {
    log.push_back("show " + std::to_string(command));
    if (command == ui::kSwHide) {
        visible = false;
    } else if (command == ui::kSwMinimize || command == ui::kSwShowMinNoActive) {
        const bool wasMinimized = minimized;
        minimized = true;
        visible = true;
        if (!wasMinimized) // like Windows, the size notification comes before it returns
            m_dialog.OnSize(ui::kSizeMinimized, 0, 0);
    } else if (command == ui::kSwShowNormal) {
        const bool wasMinimized = minimized;
        minimized = false;
        visible = true;
        if (wasMinimized)
            m_dialog.OnSize(ui::kSizeRestored, clientRect.Width(), clientRect.Height());
    }
}

void FakeHost::SetWindowPosTopmost(int x, int y, int width, int height, unsigned flags) {
    log.push_back("pos " + std::to_string(x) + "," + std::to_string(y) + " " +
                  std::to_string(width) + "x" + std::to_string(height) +
                  " flags=" + std::to_string(flags));
    windowRect = {x, y, x + width, y + height};
    topmost = true;
    if (flags & ui::kSwpShowWindow)
        visible = true;
}

void FakeHost::SetWindowTitle(std::string_view text) {
    title = text;
}

void FakeHost::SetIcon(int iconId, bool big) {
    log.push_back("icon " + std::to_string(iconId) + (big ? " big" : " small"));
}

void FakeHost::EndDialog(int dialogResult) {
    ended = true;
    result = dialogResult;
    visible = false;
}

void FakeHost::RedrawNow() {
    paintLog.push_back("redraw");
    RecordingPainter painter(paintLog);
    m_dialog.OnPaint(painter);
}

std::unique_ptr<ui::Painter> FakeHost::ClientPainter() {
    paintLog.push_back("client");
    return std::make_unique<RecordingPainter>(paintLog);
}

std::string FakeHost::LoadString(int id) const {
    return std::string(ui::FindString(id));
}

void FakeHost::AppendSystemMenuItem(int commandId, std::string_view text) {
    systemMenu.push_back(std::to_string(commandId) + " " + std::string(text));
}

bool FakeHost::AddTrayIcon(const ui::TrayIconData& data) {
    log.push_back("tray add " + Describe(data));
    if (!m_trayIconShown && m_desktop.shellTakesIcons) {
        ++m_desktop.trayIcons; // the shell keeps one icon per (window, id)
        m_trayIconShown = true;
    }
    return m_trayIconShown;
}

void FakeHost::DeleteTrayIcon(const ui::TrayIconData& data) {
    log.push_back("tray delete " + std::to_string(data.id));
    if (m_trayIconShown)
        --m_desktop.trayIcons;
    m_trayIconShown = false;
}

void FakeHost::TrackPopupMenu(int menuId, int popupIndex, ui::Point at, unsigned flags) {
    log.push_back("menu " + std::to_string(menuId) + " popup " + std::to_string(popupIndex) +
                  " at " + std::to_string(at.x) + "," + std::to_string(at.y) +
                  " flags=" + std::to_string(flags));
    const int choice = std::exchange(menuChoice, 0);
    if (choice)
        m_dialog.OnCommand(choice);
}

ui::DialogHost* FakeHost::CreateModeless(std::unique_ptr<ui::Dialog> dialog) {
    ui::Dialog& created = *dialog;
    m_desktop.ownedDialogs.push_back(std::move(dialog));
    auto host = std::make_unique<FakeHost>(m_desktop, created, this);
    host->visible = false;
    host->windowRect = {0, 0, 313, 198};
    host->clientRect = {0, 0, 313, 198};
    FakeHost& window = *host;
    m_desktop.windows.push_back(std::move(host));
    created.Attach(&window);
    created.OnInitDialog();
    return &window;
}

int FakeHost::RunModal(ui::Dialog& dialog) {
    log.push_back("modal " + std::to_string(dialog.TemplateId()));
    FakeHost host(m_desktop, dialog, this);
    dialog.Attach(&host);
    dialog.OnInitDialog();
    dialog.OnCommand(ui::kIdOk); // the user presses OK at once
    return host.result;
}

FakeHost& FakeDesktop::Open(ui::Dialog& dialog) {
    windows.push_back(std::make_unique<FakeHost>(*this, dialog, nullptr));
    FakeHost& host = *windows.back();
    dialog.Attach(&host);
    dialog.OnInitDialog();
    return host;
}

void FakeDesktop::RunFor(std::chrono::milliseconds span) {
    RunUntil(clock.Now() + span);
}

void FakeDesktop::RunUntil(WallTime until) {
    while (FireNext(until)) {
    }
    clock.Set(until);
}

void FakeDesktop::RestartShell() {
    trayIcons = 0;
    for (const auto& window : windows)
        window->m_trayIconShown = false;
    for (const auto& window : windows)
        window->m_dialog.OnNotificationAreaReset();
}

void FakeDesktop::JumpWallClock(std::chrono::milliseconds delta) {
    clock.Advance(delta);
    for (const auto& window : windows)
        for (auto& [id, timer] : window->m_timers)
            timer.due += delta;
}

WallTime FakeDesktop::AimWallSecond(WallTime now, std::chrono::milliseconds delay) const {
    const WallTime due = now + delay + (wallSecondLateness ? wallSecondLateness() : 0ms);
    return std::max(due, now + 1ms); // a timer never fires before it was set
}

bool FakeDesktop::FireNext(WallTime until) {
    FakeHost* next = nullptr;
    int nextId = 0;
    for (const auto& window : windows)
        for (const auto& [id, timer] : window->m_timers)
            if (timer.due <= until && (!next || timer.due < next->m_timers.at(nextId).due)) {
                next = window.get();
                nextId = id;
            }
    if (!next)
        return false;
    FakeTimer& timer = next->m_timers.at(nextId);
    const WallTime now = std::max(clock.Now(), timer.due);
    clock.Set(now);
    if (timer.pacing == ui::TimerPacing::WallSecond) {
        if (!timer.pacer.Deliver(now, [&](auto delay) { timer.due = AimWallSecond(now, delay); }))
            return true;
        next->wallSecondTicks.push_back(now);
    } else {
        // Like WM_TIMER, a late timer fires once, not once for each period missed.
        timer.due = std::max(timer.due + timer.period, now + 1ms);
    }
    next->m_dialog.OnTimer(nextId);
    return true;
}

} // namespace lumivar::test
