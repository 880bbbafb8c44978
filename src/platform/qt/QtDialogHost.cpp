// The Qt dialog host: creating a window from its template, its controls, its
// timers and its modal runs. Window state, painting, the tray and menus are
// in QtDialogHostWindow.cpp.
#include "QtDialogHost.h"

#include "Dialog.h"
#include "DisplayEnvironment.h"
#include "FontFaces.h"
#include "QtMessageBox.h"
#include "QtText.h"
#include "TrayIcons.h"
#include "UpDownControl.h"
#include "WallSecondTimer.h"
#include "WindowStyles.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTimer>

#include <algorithm>

namespace lumivar::qt {

namespace style = ui::style;

struct QtDialogHost::Timer {
    QTimer periodic;
    std::unique_ptr<WallSecondTimer> wallSecond;
};

struct QtDialogHost::OwnedWindow {
    std::unique_ptr<ui::Dialog> dialog;
    std::unique_ptr<QtDialogHost> host; // declared last: it goes first
};

namespace {

// Windows never runs a timer faster than USER_TIMER_MINIMUM.
constexpr std::chrono::milliseconds kShortestPeriod{10};

Qt::WindowFlags FlagsFor(const ui::DialogTemplate& source, bool owned) {
    Qt::WindowFlags flags;
    const bool appWindow = source.exStyle & style::kExAppWindow;
    if ((source.style & style::kCaption) != style::kCaption) {
        // A pop-up without a caption has no frame and no taskbar button.
        flags = (appWindow ? Qt::Window : Qt::Tool) | Qt::FramelessWindowHint;
    } else {
        flags = (owned && !appWindow ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint |
                Qt::WindowTitleHint;
        if (source.style & style::kSysMenu)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (source.style & style::kMinimizeBox)
            flags |= Qt::WindowMinimizeButtonHint;
        if (source.style & style::kMaximizeBox)
            flags |= Qt::WindowMaximizeButtonHint;
    }
    if (source.exStyle & style::kExTopmost)
        flags |= Qt::WindowStaysOnTopHint;
    return flags;
}

// BM_SETCHECK: sets a check state even where an exclusive group would refuse
// to clear its last checked button (Windows lets a group have none).
void SetButtonChecked(QAbstractButton& button, bool checked) {
    QButtonGroup* group = button.group();
    const bool exclusive = group && group->exclusive();
    if (exclusive && !checked)
        group->setExclusive(false);
    button.setChecked(checked);
    if (exclusive && !checked)
        group->setExclusive(true);
    if (qobject_cast<QRadioButton*>(&button))
        SetRadioTabStop(button, checked); // even when the state stays as it was
}

} // namespace

std::unique_ptr<QtDialogHost> QtDialogHost::Create(ui::Dialog& dialog, QtDialogHost* owner,
                                                   Run run) {
    const ui::DialogTemplate* source = ui::FindDialogTemplate(dialog.TemplateId());
    if (!source)
        return nullptr;
    std::unique_ptr<QtDialogHost> host(new QtDialogHost(dialog, *source, owner, run));
    host->Initialise();
    return host;
}

QtDialogHost::QtDialogHost(ui::Dialog& dialog, const ui::DialogTemplate& source,
                           QtDialogHost* owner, Run run)
    : m_dialog(dialog), m_template(source), m_owner(owner), m_run(run) {
    // A Wayland compositor shows no window whose owner is minimised or
    // hidden, and the countdown must be seen while the main window sits in
    // the tray: there the modeless windows go without an owner.
    const bool owned = owner && !(run == Run::Modeless && NativeWayland());
    QWidget* parent = owned ? &owner->Window() : nullptr;
    WindowEvents& events = *this;
    m_window = std::make_unique<DialogWindow>(events, parent, FlagsFor(source, owner != nullptr));
    m_window->setObjectName(QStringLiteral("dialog%1").arg(source.id));
    m_window->setWindowTitle(FromUtf8(source.title));
    const QFont font = DialogFont(source.fontFace, source.fontPoints, Dpi());
    m_window->setFont(font);
    m_units = TemplateBaseUnits(source, font);
    const QSize client = DialogToPixels(source.width, source.height, m_units);
    if (source.style & style::kThickFrame)
        m_window->resize(client);
    else
        m_window->setFixedSize(client);

    m_controls = BuildControls(source, *m_window, m_units);
    m_window->SetDefaultCommandControl(Control(ui::kIdOk));
    ConnectControls();
    m_tray = new TrayIcons(
        m_window.get(),
        [this](unsigned message, unsigned id, unsigned mouse) {
            if (m_alive)
                m_dialog.OnMessage(message, id, mouse);
        },
        [this](int id) { PostCommand(id); },
        [this] {
            if (m_alive)
                m_dialog.OnNotificationAreaReset();
        });
}

void QtDialogHost::Initialise() {
    m_dialog.Attach(this);
    if (!m_dialog.OnInitDialog())
        return;
    // The focus goes to the first control a Tab would reach.
    for (const DialogControl& control : m_controls) {
        QWidget& widget = *control.widget;
        if ((widget.focusPolicy() & Qt::TabFocus) && widget.isEnabledTo(m_window.get()) &&
            !widget.isHidden()) {
            widget.setFocus();
            break;
        }
    }
}

QtDialogHost::~QtDialogHost() {
    m_alive = false;
    m_window->Detach();
    m_ownedWindows.clear(); // their windows are children of ours
    m_timers.clear();
    m_dialog.Attach(nullptr);
    m_window.reset();
}

void QtDialogHost::ConnectControls() {
    for (const DialogControl& control : m_controls) {
        const int id = control.source->id;
        if (auto* button = qobject_cast<QAbstractButton*>(control.widget)) {
            // clicked comes after an auto check box or radio button toggled
            // itself, as BN_CLICKED does.
            QObject::connect(button, &QAbstractButton::clicked, m_window.get(),
                             [this, id] { Command(id); });
        } else if (auto* upDown = qobject_cast<UpDownControl*>(control.widget)) {
            QObject::connect(upDown, &UpDownControl::stepRequested, m_window.get(),
                             [this, id](int delta) { Spin(id, delta); });
        }
    }
}

int QtDialogHost::RunMainWindow() {
    if (!m_endResult) {
        if (m_template.style & style::kVisible) {
            m_window->show();
            m_window->raise();
            m_window->activateWindow();
        }
        // Not QDialog::exec: an application-modal window would block the
        // tray icon, whose window is not one of ours.
        QEventLoop loop;
        m_loop = &loop;
        const int code = loop.exec();
        m_loop = nullptr;
        if (!m_endResult)
            return code; // the application was told to quit
    }
    return *m_endResult;
}

int QtDialogHost::Exec() {
    if (m_endResult)
        return *m_endResult;
    // Modal to its owner only, like a Windows dialog that disables its owner.
    m_window->setWindowModality(m_owner ? Qt::WindowModal : Qt::ApplicationModal);
    m_execRunning = true;
    const int result = m_window->exec();
    m_execRunning = false;
    return m_endResult.value_or(result);
}

void QtDialogHost::EndDialog(int result) {
    m_endResult = result;
    if (m_run == Run::Modeless) {
        m_window->hide(); // a modeless dialog only hides; it lives on
    } else if (m_loop) {
        m_window->hide();
        m_loop->exit(result);
    } else if (m_execRunning) {
        m_window->done(result);
    } else {
        m_window->hide(); // ended before its run began, which then returns at once
    }
}

QWidget* QtDialogHost::Control(int id) const {
    const auto found = std::find_if(m_controls.begin(), m_controls.end(),
                                    [id](const DialogControl& c) { return c.source->id == id; });
    return found == m_controls.end() ? nullptr : found->widget;
}

QAbstractButton* QtDialogHost::Button(int id) const {
    return qobject_cast<QAbstractButton*>(Control(id));
}

UpDownControl* QtDialogHost::UpDown(int id) const {
    return qobject_cast<UpDownControl*>(Control(id));
}

void QtDialogHost::Command(int id) {
    if (m_alive)
        m_dialog.OnCommand(id);
}

void QtDialogHost::Spin(int id, int delta) {
    if (!m_alive)
        return;
    // The dialog may forbid the step; it is asked before the position moves.
    if (m_dialog.OnSpinDelta(id, delta) == 0)
        if (UpDownControl* upDown = UpDown(id))
            upDown->Offset(delta);
}

void QtDialogHost::EnableControl(int id, bool enable) {
    if (QWidget* control = Control(id))
        control->setEnabled(enable);
}

void QtDialogHost::SetControlText(int id, std::string_view text) {
    const auto found = std::find_if(m_controls.begin(), m_controls.end(),
                                    [id](const DialogControl& c) { return c.source->id == id; });
    if (found == m_controls.end())
        return;
    QWidget* widget = found->widget;
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(StaticText(text, found->source->style & style::kStaticNoPrefix));
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(FromUtf8(text));
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(FromUtf8(text));
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(FromUtf8(text));
}

std::string QtDialogHost::ControlText(int id) const {
    const QWidget* widget = Control(id);
    QString text;
    if (auto* label = qobject_cast<const QLabel*>(widget))
        text = label->text();
    else if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        text = button->text();
    else if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        text = edit->text();
    else if (auto* group = qobject_cast<const QGroupBox*>(widget))
        text = group->title();
    else if (auto* spin = qobject_cast<const QAbstractSpinBox*>(widget))
        text = spin->text();
    return text.toStdString();
}

void QtDialogHost::SetCheck(int id, int state) {
    if (QAbstractButton* button = Button(id); button && button->isCheckable())
        SetButtonChecked(*button, state != ui::kUnchecked);
}

int QtDialogHost::Check(int id) const {
    const QAbstractButton* button = Button(id);
    return button && button->isChecked() ? ui::kChecked : ui::kUnchecked;
}

void QtDialogHost::CheckRadioButton(int first, int last, int checked) {
    for (const DialogControl& control : m_controls) {
        const int id = control.source->id;
        auto* button = qobject_cast<QAbstractButton*>(control.widget);
        if (id >= first && id <= last && button && button->isCheckable())
            SetButtonChecked(*button, id == checked);
    }
}

TargetTime QtDialogHost::PickerTime(int id) const {
    const auto* picker = qobject_cast<const QTimeEdit*>(Control(id));
    if (!picker)
        return {};
    const QTime time = picker->time();
    return {time.hour(), time.minute(), time.second()};
}

void QtDialogHost::SetPickerTime(int id, const TargetTime& time) {
    // A time the picker cannot show is refused and the picker keeps its own.
    if (auto* picker = qobject_cast<QTimeEdit*>(Control(id)); picker && IsValidTimeOfDay(time))
        picker->setTime(QTime(time.hour, time.minute, time.second));
}

void QtDialogHost::SetSpinRange(int id, int lower, int upper) {
    if (UpDownControl* upDown = UpDown(id))
        upDown->SetRange(lower, upper);
}

void QtDialogHost::SetSpinPos(int id, int pos) {
    if (UpDownControl* upDown = UpDown(id))
        upDown->SetPos(pos);
}

void QtDialogHost::SetTimer(int id, std::chrono::milliseconds period, ui::TimerPacing pacing) {
    std::unique_ptr<Timer>& timer = m_timers[id];
    if (!timer) {
        timer = std::make_unique<Timer>();
        timer->periodic.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer->periodic, &QTimer::timeout, m_window.get(),
                         [this, id] { TimerTick(id); });
    }
    // Stopped, never destroyed: KillTimer may come from the timer's own tick.
    timer->periodic.stop();
    if (timer->wallSecond)
        timer->wallSecond->Stop();
    if (pacing == ui::TimerPacing::WallSecond) {
        if (!timer->wallSecond) {
            timer->wallSecond = std::make_unique<WallSecondTimer>();
            QObject::connect(timer->wallSecond.get(), &WallSecondTimer::tick, m_window.get(),
                             [this, id] { TimerTick(id); });
        }
        timer->wallSecond->Start();
    } else {
        timer->periodic.start(std::max(period, kShortestPeriod));
    }
}

void QtDialogHost::KillTimer(int id) {
    const auto found = m_timers.find(id);
    if (found == m_timers.end())
        return;
    found->second->periodic.stop();
    if (found->second->wallSecond)
        found->second->wallSecond->Stop();
}

void QtDialogHost::TimerTick(int id) {
    if (m_alive)
        m_dialog.OnTimer(id);
}

int QtDialogHost::MessageBox(std::string_view text, std::string_view caption, unsigned type) {
    return ShowMessageBox(&MainHost().Window(), {FromUtf8(text), FromUtf8(caption), type});
}

ui::DialogHost* QtDialogHost::CreateModeless(std::unique_ptr<ui::Dialog> dialog) {
    QtDialogHost& main = MainHost();
    auto owned = std::make_unique<OwnedWindow>();
    owned->dialog = std::move(dialog);
    owned->host = Create(*owned->dialog, &main, Run::Modeless);
    if (!owned->host)
        return nullptr;
    QtDialogHost* host = owned->host.get();
    main.m_ownedWindows.push_back(std::move(owned));
    return host;
}

int QtDialogHost::RunModal(ui::Dialog& dialog) {
    const std::unique_ptr<QtDialogHost> host = Create(dialog, &MainHost(), Run::Modal);
    return host ? host->Exec() : -1;
}

} // namespace lumivar::qt
