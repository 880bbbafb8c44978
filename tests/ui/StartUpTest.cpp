// The main window as it opens, for each stored mode and for damaged values.
#include "MainWindowFixture.h"

namespace lumivar::test {
namespace {

using namespace std::chrono_literals;

struct ModeCase {
    const char* name;
    const char* setupIni;
    int checkedRadio;
    int enabledPicker;
    int enabledButton;
};

void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << c.name;
}

class StartUpByMode : public MainWindowTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(StartUpByMode, EnablesOnlyTheStoredSlot) {
    const ModeCase& c = GetParam();
    FakeHost& window = Start(c.setupIni);
    EXPECT_EQ(window.CheckedRadioButton(IDC_MODE_FIRST, IDC_MODE_LAST), c.checkedRadio);
    for (const ui::SlotControls& slot : ui::kSlotControls) {
        EXPECT_EQ(window.IsControlEnabled(slot.pickerId), slot.pickerId == c.enabledPicker)
            << slot.pickerId;
        EXPECT_EQ(window.IsControlEnabled(slot.defaultButtonId),
                  slot.defaultButtonId == c.enabledButton)
            << slot.defaultButtonId;
    }
    for (int id : {IDC_ARM, IDC_REFRESH_TOGGLE, IDC_INSTRUCTIONS, IDC_MODE_WORK, IDC_MODE_REST,
                   IDC_MODE_USER, IDC_NOTICE_CHECK})
        EXPECT_TRUE(window.IsControlEnabled(id)) << id;
    EXPECT_FALSE(window.IsControlEnabled(IDC_CANCEL_POWER_OFF));
    EXPECT_FALSE(window.TimerRunning(ui::kScheduleTimer)) << "nothing is armed at start-up";
}

const ModeCase kModes[] = {
    {"NoFile", "", IDC_MODE_WORK, IDC_TIME_WORK, IDC_SET_DEFAULT_WORK},
    {"Work", "[MODE]\r\nMode=1000\r\n", IDC_MODE_WORK, IDC_TIME_WORK, IDC_SET_DEFAULT_WORK},
    {"Rest", "[MODE]\r\nMode=1001\r\n", IDC_MODE_REST, IDC_TIME_REST, IDC_SET_DEFAULT_REST},
    {"User", "[MODE]\r\nMode=1006\r\n", IDC_MODE_USER, IDC_TIME_USER, IDC_SET_DEFAULT_USER},
    {"None", "[MODE]\r\nMode=0\r\n", 0, IDC_TIME_WORK, IDC_SET_DEFAULT_WORK},
    {"PickerIdAsMode", "[MODE]\r\nMode=1002\r\n", 0, IDC_TIME_WORK, IDC_SET_DEFAULT_WORK},
    {"Garbage", "[MODE]\r\nMode=abc\r\n", 0, IDC_TIME_WORK, IDC_SET_DEFAULT_WORK},
};
INSTANTIATE_TEST_SUITE_P(Modes, StartUpByMode, ::testing::ValuesIn(kModes), CaseName());

// Read before any test runs: the arm command is its only writer.
const TargetTime kArmedTargetAtStart = ui::g_armedTarget;
TEST(ArmedTarget, StartsAtMidnight) {
    EXPECT_EQ(kArmedTargetAtStart, TargetTime{});
}

TEST_F(MainWindowTest, WithoutFileShowsDefaultsAndCreatesNoFile) {
    FakeHost& window = Start();
    EXPECT_EQ(window.PickerTime(IDC_TIME_WORK), (TargetTime{22, 59, 0}));
    EXPECT_EQ(window.PickerTime(IDC_TIME_REST), (TargetTime{23, 59, 0}));
    EXPECT_EQ(window.PickerTime(IDC_TIME_USER), (TargetTime{0, 0, 0}));
    EXPECT_EQ(window.Check(IDC_NOTICE_CHECK), 1);
    EXPECT_EQ(window.ControlText(IDC_REFRESH_PERIOD), "1000");
    const FakeControl& spin = window.Control(IDC_REFRESH_SPIN);
    EXPECT_EQ(spin.spinBase, 10);
    EXPECT_EQ(spin.spinLower, 1000);
    EXPECT_EQ(spin.spinUpper, 5000);
    EXPECT_EQ(spin.spinPos, 1000);
    ASSERT_TRUE(window.TimerRunning(ui::kClockTimer));
    EXPECT_EQ(window.Timer(ui::kClockTimer).period, 1000ms);
    EXPECT_FALSE(SetupIniExists());
}

TEST_F(MainWindowTest, StoredValuesFillTheControls) {
    FakeHost& window = Start("[WORK]\r\nHour=6\r\n[USER]\r\nHour=7\r\nMinute=5\r\n"
                             "[NOTICE]\r\nShow=0\r\n");
    EXPECT_EQ(window.PickerTime(IDC_TIME_WORK), (TargetTime{6, 59, 0}));
    EXPECT_EQ(window.PickerTime(IDC_TIME_USER), (TargetTime{7, 5, 0}));
    EXPECT_EQ(window.Check(IDC_NOTICE_CHECK), 0);
}

TEST_F(MainWindowTest, DamagedValuesShowSomethingValid) {
    FakeHost& window = Start("[WORK]\r\nHour=99\r\n[REST]\r\nMinute=-1\r\n[USER]\r\nSecond=60\r\n"
                             "[NOTICE]\r\nShow=2\r\n");
    EXPECT_EQ(window.PickerTime(IDC_TIME_WORK), (TargetTime{22, 59, 0}));
    EXPECT_EQ(window.PickerTime(IDC_TIME_REST), (TargetTime{23, 59, 0}));
    EXPECT_EQ(window.PickerTime(IDC_TIME_USER), (TargetTime{0, 0, 0}));
    EXPECT_EQ(window.Check(IDC_NOTICE_CHECK), 1);
    EXPECT_EQ(SetupIni(), "[WORK]\r\nHour=99\r\n[REST]\r\nMinute=-1\r\n[USER]\r\nSecond=60\r\n"
                          "[NOTICE]\r\nShow=2\r\n")
        << "start-up never writes";
}

TEST_F(MainWindowTest, AddsAboutToTheSystemMenuAndSetsIcons) {
    FakeHost& window = Start();
    EXPECT_EQ(window.systemMenu, (std::vector<std::string>{"separator", "16 关于 Lumivar(&A)..."}));
    EXPECT_NE(std::find(window.log.begin(), window.log.end(), "icon 128 big"), window.log.end());
    EXPECT_NE(std::find(window.log.begin(), window.log.end(), "icon 128 small"), window.log.end());
}

TEST_F(MainWindowTest, NoSystemMenuMeansNoAboutItem) {
    FakeDesktop& d = desktop;
    dialog = std::make_unique<ui::CLumivarDlg>(services);
    d.windows.push_back(std::make_unique<FakeHost>(d, *dialog, nullptr));
    FakeHost& window = *d.windows.back();
    window.hasSystemMenu = false;
    dialog->Attach(&window);
    EXPECT_TRUE(dialog->OnInitDialog());
    EXPECT_TRUE(window.systemMenu.empty());
}

} // namespace
} // namespace lumivar::test
