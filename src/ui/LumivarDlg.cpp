// Main window: start-up, data exchange and command routing.
#include "LumivarDlg.h"

#include "MainDialogIds.h"
#include "ResourceIds.h"
#include "TextFormat.h"
#include "UiTexts.h"

#include <charconv>

namespace lumivar::ui {

bool g_refreshing = true;

namespace {

constexpr std::chrono::milliseconds kClockPeriod{1000};

TargetTime TimeOfDay(const Clock& clock) {
    const LocalTime now = ToLocalTime(clock.Now());
    return {now.hour, now.minute, now.second};
}

// A stored slot time the pickers cannot show falls back to the slot's default.
TargetTime Showable(const TargetTime& stored, const Slot& slot) {
    return IsValidTimeOfDay(stored) ? stored : slot.defaultTime;
}

// Integer text as the data exchange accepts it: optional blanks and sign,
// digits, optional trailing blanks, nothing else.
bool ParseInteger(std::string_view text, int& value) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

} // namespace

CLumivarDlg::CLumivarDlg(const MainWindowServices& services)
    : Dialog(IDD_LUMIVAR_DIALOG), m_services(services), m_hIcon(IDI_LUMIVAR) {
    // The icon's identity is set from the start: an exit before the first
    // add still names the same icon when it deletes it.
    m_trayIcon.id = IDC_TRAY_ICON;
    const TargetTime now = TimeOfDay(m_services.clock);
    m_timeRest = m_timeUser = m_timeWork = now;
}

CLumivarDlg::~CLumivarDlg() {
    // The power-off and the inhibitor outlive this window.
    m_services.powerOff.SetFailureHandler({});
    if (m_services.idleSleep)
        m_services.idleSleep->Release();
}

bool CLumivarDlg::OnInitDialog() {
    UpdateData(false);
    m_services.powerOff.SetFailureHandler(
        [this](const Failure& failure) { OnPowerOffFailed(failure); });

    if (Host().HasSystemMenu()) {
        const std::string about = Host().LoadString(IDS_ABOUTBOX);
        if (!about.empty()) {
            Host().AppendSystemMenuSeparator();
            Host().AppendSystemMenuItem(IDM_ABOUTBOX, about);
        }
    }
    Host().SetIcon(m_hIcon, true);
    Host().SetIcon(m_hIcon, false);
    if (m_services.dryRun)
        Host().SetWindowTitle(Title());

    // The first slot is chosen until the settings say otherwise.
    Host().CheckRadioButton(IDC_MODE_FIRST, IDC_MODE_LAST, kSlotControls[kWorkSlot].radioId);
    SelectMode(kSlotControls[kWorkSlot]);
    Host().EnableControl(IDC_CANCEL_POWER_OFF, false);

    const ScheduleSettings settings = m_services.settings.Load();
    for (std::size_t i = 0; i < kSlots.size(); ++i)
        m_times[i] = Showable(settings.*kSlots[i].field, kSlots[i]);

    Host().SetSpinBase(IDC_REFRESH_SPIN, 10);
    Host().SetSpinRange(IDC_REFRESH_SPIN, kPeriodMin, kPeriodMax);
    Host().SetSpinPos(IDC_REFRESH_SPIN, kPeriodMin);
    m_refreshPeriod = kPeriodMin;
    // Any stored value other than 0 shows as checked: the safer reading of a
    // damaged file is that the warning is wanted.
    Host().SetCheck(IDC_NOTICE_CHECK, settings.noticeShow != 0 ? kChecked : kUnchecked);

    // The stored mode is the id of the radio button to check (SlotControls.h).
    Host().CheckRadioButton(IDC_MODE_FIRST, IDC_MODE_LAST, settings.mode);
    if (const SlotControls* slot = FindSlotControls(&SlotControls::radioId, settings.mode))
        SelectMode(*slot);

    Host().SetTimer(kClockTimer, kClockPeriod);
    UpdateData(false);
    return true;
}

bool CLumivarDlg::UpdateData(bool saveAndValidate) {
    if (!saveAndValidate) {
        for (const SlotControls& slot : kSlotControls)
            Host().SetPickerTime(slot.pickerId, m_times[slot.slot]);
        Host().SetControlText(IDC_REFRESH_PERIOD, std::to_string(m_refreshPeriod));
        return true;
    }
    for (const SlotControls& slot : kSlotControls)
        m_times[slot.slot] = Host().PickerTime(slot.pickerId);
    int period = 0;
    std::string_view problem;
    if (!ParseInteger(Host().ControlText(IDC_REFRESH_PERIOD), period))
        problem = texts::kNotAnInteger;
    else if (period < kPeriodMin || period > kPeriodMax)
        problem = texts::kPeriodOutOfRange;
    if (!problem.empty()) {
        Host().MessageBox(problem, texts::kNoticeCaption, kMbOk | kMbIconExclamation);
        Host().SetFocus(IDC_REFRESH_PERIOD);
        return false;
    }
    m_refreshPeriod = period;
    return true;
}

void CLumivarDlg::OnCommand(int id) {
    if (const SlotControls* slot = FindSlotControls(&SlotControls::radioId, id))
        return SelectMode(*slot);
    if (const SlotControls* slot = FindSlotControls(&SlotControls::defaultButtonId, id))
        return SetDefaultTime(*slot);
    switch (id) {
    case IDC_REFRESH_TOGGLE:
        return ToggleRefresh();
    case IDC_CANCEL_POWER_OFF:
        return CancelPowerOff();
    case IDC_SEND_TO_TRAY:
        return SendToTray();
    case IDC_NOTICE_CHECK:
        return StoreNoticeOption();
    case ID_TRAY_ABOUT:
        return ShowAbout();
    case ID_TRAY_EXIT:
        return OnCancel();
    case ID_TRAY_SHOW:
        return RestoreFromTray();
    case IDC_INSTRUCTIONS:
        return ShowInstructions();
    default:
        return Dialog::OnCommand(id); // 1: arm, 2: exit prompt
    }
}

void CLumivarDlg::OnTimer(int id) {
    if (id == kClockTimer)
        RefreshClock();
    else if (id == kScheduleTimer)
        ScheduleTick();
}

} // namespace lumivar::ui
