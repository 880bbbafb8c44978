// The generated resource tables: the ids the program's code relies on, the
// tab order and radio group of the main window, and the fixed style values.
#include "LumivarVersion.h"
#include "MainDialogIds.h"
#include "ResourceTemplates.h"
#include "WindowStyles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lumivar::ui {
namespace {

constexpr std::uint32_t kWsChild = style::kChild;
constexpr std::uint32_t kWsVisible = style::kVisible;
constexpr std::uint32_t kWsGroup = style::kGroup;
constexpr std::uint32_t kWsTabStop = style::kTabStop;
constexpr std::uint32_t kWsExTransparent = style::kExTransparent;
constexpr std::uint32_t kBsTypeMask = style::kButtonKindMask;
constexpr std::uint32_t kBsAutoRadioButton = style::kAutoRadioButton;
constexpr std::uint32_t kSsIcon = style::kStaticIcon;
constexpr std::uint32_t kEsReadOnly = style::kEditReadOnly;
constexpr std::uint32_t kDtsTimeFormat = style::kDateTimeTimeFormat;
constexpr std::uint32_t kUdsSetBuddyInt = style::kUpDownSetBuddyInt;
constexpr std::uint32_t kUdsAutoBuddy = style::kUpDownAutoBuddy;
constexpr int kNoId = 0xFFFF;

const DialogTemplate& Dialog(int id) {
    const DialogTemplate* dialog = FindDialogTemplate(id);
    if (!dialog)
        throw std::runtime_error("no dialog template " + std::to_string(id));
    return *dialog;
}

std::vector<const ControlTemplate*> ControlsWithId(const DialogTemplate& dialog, int id) {
    std::vector<const ControlTemplate*> found;
    for (const ControlTemplate& control : dialog.controls) {
        if (control.id == id)
            found.push_back(&control);
    }
    return found;
}

const ControlTemplate& Control(const DialogTemplate& dialog, int id) {
    const auto found = ControlsWithId(dialog, id);
    if (found.size() != 1)
        throw std::runtime_error("not exactly one control " + std::to_string(id));
    return *found.front();
}

TEST(MainDialog, EveryIdTheCodeUsesIsOneControlOfTheRightClass) {
    struct Expected {
        int id;
        std::string_view className;
    };
    const Expected ids[] = {
        {IDC_ARM, "Button"},
        {IDC_HIDDEN_CANCEL, "Button"},
        {IDC_SET_DEFAULT_WORK, "Button"},
        {IDC_SET_DEFAULT_REST, "Button"},
        {IDC_SET_DEFAULT_USER, "Button"},
        {IDC_REFRESH_TOGGLE, "Button"},
        {IDC_CANCEL_POWER_OFF, "Button"},
        {IDC_SEND_TO_TRAY, "Button"},
        {IDC_INSTRUCTIONS, "Button"},
        {IDC_MODE_WORK, "Button"},
        {IDC_MODE_REST, "Button"},
        {IDC_MODE_USER, "Button"},
        {IDC_TIME_WORK, "SysDateTimePick32"},
        {IDC_TIME_REST, "SysDateTimePick32"},
        {IDC_TIME_USER, "SysDateTimePick32"},
        {IDC_DATE_TIME_TEXT, "Static"},
        {IDC_UPTIME_TEXT, "Static"},
        {IDC_REFRESH_PERIOD, "Edit"},
        {IDC_REFRESH_SPIN, "msctls_updown32"},
        {IDC_NOTICE_CHECK, "Button"},
    };
    const DialogTemplate& main = Dialog(IDD_LUMIVAR_DIALOG);
    for (const Expected& expected : ids) {
        const auto found = ControlsWithId(main, expected.id);
        ASSERT_EQ(found.size(), 1u) << "control " << expected.id;
        EXPECT_EQ(found.front()->className, expected.className) << "control " << expected.id;
        EXPECT_TRUE(found.front()->style & kWsChild) << "control " << expected.id;
    }
}

TEST(MainDialog, TemplateOrderIsTheTabOrder) {
    const int order[] = {kNoId, 1000,  1001, 1002,  1003,  1006, 1007,  3,    4,
                         5,     kNoId, 1005, 1,     2,     1008, kNoId, 1009, 1010,
                         7,     8,     1014, kNoId, kNoId, 6,    kNoId, 1016};
    const DialogTemplate& main = Dialog(IDD_LUMIVAR_DIALOG);
    ASSERT_EQ(main.controls.size(), std::size(order));
    for (std::size_t i = 0; i < std::size(order); ++i)
        EXPECT_EQ(main.controls[i].id, order[i]) << "position " << i;
}

TEST(MainDialog, TheThreeModeButtonsFormOneRadioGroup) {
    // A group runs from a WS_GROUP control to the next one; the auto radio
    // buttons inside it exclude each other.
    const DialogTemplate& main = Dialog(IDD_LUMIVAR_DIALOG);
    const auto first = std::find_if(main.controls.begin(), main.controls.end(),
                                    [](const ControlTemplate& c) { return c.id == IDC_MODE_WORK; });
    ASSERT_NE(first, main.controls.end());
    EXPECT_TRUE(first->style & kWsGroup);
    std::vector<int> radios{first->id};
    auto next = first + 1;
    for (; next != main.controls.end() && !(next->style & kWsGroup); ++next) {
        if (next->className == "Button" && (next->style & kBsTypeMask) == kBsAutoRadioButton)
            radios.push_back(next->id);
    }
    EXPECT_EQ(radios, (std::vector<int>{IDC_MODE_WORK, IDC_MODE_REST, IDC_MODE_USER}));
    ASSERT_NE(next, main.controls.end());
    EXPECT_EQ(next->id, IDC_DATE_TIME_TEXT);
    for (int id : {IDC_MODE_REST, IDC_MODE_USER})
        EXPECT_EQ(Control(main, id).style & kBsTypeMask, kBsAutoRadioButton) << id;
    // No radio button is a tab stop in the template: checking one makes it
    // the group's tab stop at run time.
    for (int id : radios)
        EXPECT_FALSE(Control(main, id).style & kWsTabStop) << id;
}

TEST(MainDialog, OnlyTheTwoCommandCarriersAreHidden) {
    for (const ControlTemplate& control : Dialog(IDD_LUMIVAR_DIALOG).controls) {
        const bool hidden = control.id == IDC_HIDDEN_CANCEL || control.id == IDC_SEND_TO_TRAY;
        EXPECT_EQ((control.style & kWsVisible) == 0, hidden) << "control " << control.id;
    }
}

TEST(MainDialog, WindowAndControlStyles) {
    const DialogTemplate& main = Dialog(IDD_LUMIVAR_DIALOG);
    // Pop-up, visible, caption, system menu, minimise box, modal frame,
    // DS_SETFONT: no maximise box and no sizing border.
    EXPECT_EQ(main.style, 0x90CA00C0u);
    EXPECT_EQ(main.exStyle, 0x00040000u); // WS_EX_APPWINDOW: a taskbar button
    EXPECT_EQ(main.title, "Tarnholt定时关机管理程序");
    EXPECT_EQ(main.fontFace, "宋体");
    EXPECT_EQ(main.fontPoints, 9);

    for (int id : {IDC_TIME_WORK, IDC_TIME_REST, IDC_TIME_USER}) {
        const ControlTemplate& picker = Control(main, id);
        EXPECT_EQ(picker.style & kDtsTimeFormat, kDtsTimeFormat) << id;
        EXPECT_TRUE(picker.style & kWsTabStop) << id;
    }
    const ControlTemplate& period = Control(main, IDC_REFRESH_PERIOD);
    EXPECT_TRUE(period.style & kEsReadOnly);
    EXPECT_FALSE(period.style & kWsTabStop);
    // The up-down control takes the control before it as its buddy, and must
    // not write the buddy's text: the step handler does.
    const ControlTemplate& spin = Control(main, IDC_REFRESH_SPIN);
    EXPECT_EQ(&spin - 1, &period);
    EXPECT_TRUE(spin.style & kUdsAutoBuddy);
    EXPECT_FALSE(spin.style & kUdsSetBuddyInt);
}

TEST(Dialogs, EveryControlLiesInsideItsDialog) {
    for (int id : {IDD_LUMIVAR_DIALOG, 132, 100}) {
        const DialogTemplate& dialog = Dialog(id);
        for (const ControlTemplate& c : dialog.controls) {
            EXPECT_TRUE(c.x >= 0 && c.y >= 0 && c.x + c.width <= dialog.width &&
                        c.y + c.height <= dialog.height)
                << "dialog " << id << " control " << c.id << " at " << c.x << "," << c.y;
        }
    }
}

TEST(NoticeDialog, BorderlessWithOneInvisibleStatic) {
    const DialogTemplate& notice = Dialog(132);
    EXPECT_TRUE(notice.extended);
    EXPECT_EQ(notice.style, 0x80000240u);
    EXPECT_EQ(notice.exStyle, 0u);
    EXPECT_EQ(notice.title, "");
    ASSERT_EQ(notice.controls.size(), 1u);
    const ControlTemplate& count = notice.controls[0];
    EXPECT_EQ(count.id, 1011);
    EXPECT_EQ(count.className, "Static");
    EXPECT_EQ(count.style, 0x40020000u);
    EXPECT_EQ(count.exStyle, kWsExTransparent);
    EXPECT_EQ(count.text, "离关机还有 30 秒");
}

TEST(AboutDialog, PlainTemplateWithIconTextsAndOk) {
    const DialogTemplate& about = Dialog(100);
    EXPECT_FALSE(about.extended);
    EXPECT_EQ(about.style, 0x80C800C0u);
    EXPECT_EQ(about.title, "关于 Lumivar");
    ASSERT_EQ(about.controls.size(), 4u);
    const std::uint32_t styles[] = {0x50000003, 0x50020080, 0x50020000, 0x50030001};
    const int ids[] = {kNoId, kNoId, kNoId, 1};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(about.controls[i].style, styles[i]) << "control " << i;
        EXPECT_EQ(about.controls[i].id, ids[i]) << "control " << i;
    }
    EXPECT_EQ(about.controls[0].style & 0x1F, kSsIcon);
    EXPECT_EQ(about.controls[0].imageId, 128);
    EXPECT_EQ(about.controls[1].text, "Lumivar " LUMIVAR_VERSION " 版");
    EXPECT_FALSE(about.controls[2].text.empty());
    EXPECT_EQ(about.controls[3].text, "确定");
}

TEST(TrayMenu, OnePopupWithThreeCommandsBetweenSeparators) {
    const MenuTemplate* menu = FindMenuTemplate(136);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->popups.size(), 1u);
    EXPECT_EQ(menu->popups[0].title, "菜单");
    const auto& items = menu->popups[0].items;
    ASSERT_EQ(items.size(), 5u);
    const int ids[] = {32771, 0, 32772, 0, 32773};
    const std::string_view texts[] = {"显示窗体(&S)", "", "关于程式(&A)", "", "退出程序(&E)"};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(items[i].id, ids[i]) << "position " << i;
        EXPECT_EQ(items[i].text, texts[i]) << "position " << i;
    }
}

TEST(Lookup, FindsOnlyWhatExists) {
    EXPECT_EQ(FindString(101), "关于 Lumivar(&A)...");
    EXPECT_TRUE(FindString(102).empty());
    EXPECT_EQ(FindDialogTemplate(133), nullptr);
    EXPECT_EQ(FindMenuTemplate(102), nullptr);
    for (int id : {100, 102, 132})
        EXPECT_EQ(Dialog(id).id, id);
}

} // namespace
} // namespace lumivar::ui
