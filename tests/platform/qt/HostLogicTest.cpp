// The Qt host's pure decisions: dialog-unit arithmetic, static texts, the
// uptime file, tray activations and the choice of display.
#include "ControlFactory.h"
#include "DialogUnits.h"
#include "DisplayEnvironment.h"
#include "SystemUptime.h"
#include "TrayIcons.h"
#include "WinConstants.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace lumivar::qt {
namespace {

TEST(DialogUnitsTest, MulDivRoundsHalvesAwayFromZeroAsWindowsDoes) {
    EXPECT_EQ(MulDiv(179, 7, 4), 313); // 313.25
    EXPECT_EQ(MulDiv(222, 7, 4), 389); // 388.5
    EXPECT_EQ(MulDiv(-222, 7, 4), -389);
    EXPECT_EQ(MulDiv(213, 14, 8), 373); // 372.75
    EXPECT_EQ(MulDiv(9, 96, 72), 12);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    // No overflow in the product.
    EXPECT_EQ(MulDiv(2'000'000'000, 3, 4), 1'500'000'000);
}

TEST(DialogUnitsTest, TahomaTenSizesTheCountdownToItsPicture) {
    ui::DialogTemplate notice{};
    notice.fontFace = "Tahoma";
    notice.fontPoints = 10;
    const BaseUnits units = TemplateBaseUnits(notice, QFont());
    EXPECT_EQ(units, (BaseUnits{7, 16}));
    EXPECT_EQ(DialogToPixels(179, 99, units), QSize(313, 198));
}

TEST(DialogUnitsTest, ControlRectsConvertEachFieldOnItsOwn) {
    // Windows converts x and width apart, so a control's right edge is not
    // always x + width converted together.
    EXPECT_EQ(DialogToPixels(87, 83, 55, 14, {6, 12}), QRect(131, 125, 83, 21));
    EXPECT_EQ(DialogToPixels(1, 1, 1, 1, {7, 14}), QRect(2, 2, 2, 2));
}

TEST(StaticTextTest, AmpersandsFollowThePrefixRule) {
    EXPECT_EQ(StaticText("关于 Lumivar(&A)...", false), QStringLiteral("关于 Lumivar(A)..."));
    EXPECT_EQ(StaticText("A && B", false), QStringLiteral("A & B"));
    EXPECT_EQ(StaticText("trailing&", false), QStringLiteral("trailing"));
    EXPECT_EQ(StaticText("A && B", true), QStringLiteral("A && B"));
}

TEST(SystemUptimeTest, ProcUptimeReadsSecondsAndMilliseconds) {
    EXPECT_EQ(ParseProcUptime("7509.00 1234.56\n"), 7509000u);
    EXPECT_EQ(ParseProcUptime("12.345 1.0"), 12345u);
    EXPECT_EQ(ParseProcUptime("12.3"), 12300u);
    EXPECT_EQ(ParseProcUptime("12.34567"), 12345u);
    EXPECT_EQ(ParseProcUptime("5"), 5000u);
    EXPECT_FALSE(ParseProcUptime("").has_value());
    EXPECT_FALSE(ParseProcUptime("x 1.0").has_value());
}

TEST(SystemUptimeTest, TickCountFollowsTheSystemUptime) {
    const std::uint32_t before = TickCountSinceBoot();
    const std::uint32_t after = TickCountSinceBoot();
    EXPECT_GT(before, 0u);
    EXPECT_LT(static_cast<std::uint32_t>(after - before), 1000u); // wraps like the Windows count
}

TEST(TrayMouseMessageTest, ActivationsStandForTheShellsMouseMessages) {
    for (const bool sni : {false, true}) {
        EXPECT_EQ(TrayMouseMessage(QSystemTrayIcon::DoubleClick, sni, true), ui::kWmLButtonDblClk);
        EXPECT_EQ(TrayMouseMessage(QSystemTrayIcon::Context, sni, false), ui::kWmRButtonDown);
        EXPECT_EQ(TrayMouseMessage(QSystemTrayIcon::MiddleClick, sni, true), 0u);
    }
    // On an XEmbed tray the icon's own menu is open already: the window must
    // not open a second. A StatusNotifierItem host asks only when it shows none.
    EXPECT_EQ(TrayMouseMessage(QSystemTrayIcon::Context, false, true), 0u);
    EXPECT_EQ(TrayMouseMessage(QSystemTrayIcon::Context, true, true), ui::kWmRButtonDown);
    // A single click does nothing, except where it is all Qt reports.
    EXPECT_EQ(TrayMouseMessage(QSystemTrayIcon::Trigger, false, true), 0u);
    EXPECT_EQ(TrayMouseMessage(QSystemTrayIcon::Trigger, true, true), ui::kWmLButtonDblClk);
}

TEST(DisplayChoiceTest, AnXDisplayWinsUnlessAPlatformArgumentIsGiven) {
    const struct {
        DisplayEnvironment environment;
        DisplayChoice choice;
    } cases[] = {
        {{.x11 = true, .wayland = true}, DisplayChoice::UseXcb},
        {{.x11 = true, .wayland = true, .platformVariable = "wayland"}, DisplayChoice::UseXcb},
        {{.x11 = true, .platformVariable = "offscreen"}, DisplayChoice::UseXcb},
        {{.x11 = true, .wayland = true, .platformArgument = true}, DisplayChoice::AsGiven},
        {{.wayland = true}, DisplayChoice::AsGiven},
        {{.wayland = true, .platformVariable = "wayland"}, DisplayChoice::AsGiven},
        {{.wayland = true, .waylandPlugin = false}, DisplayChoice::NoWaylandPlugin},
        {{.wayland = true, .platformVariable = "wayland;xcb", .waylandPlugin = false},
         DisplayChoice::NoWaylandPlugin},
        {{}, DisplayChoice::NoDisplay},
        {{.platformVariable = "wayland"}, DisplayChoice::NoDisplay},
        {{.platformVariable = "offscreen"}, DisplayChoice::AsGiven},
        {{.platformArgument = true}, DisplayChoice::AsGiven},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseDisplay(c.environment), c.choice)
            << "DISPLAY " << c.environment.x11 << ", WAYLAND_DISPLAY " << c.environment.wayland
            << ", -platform " << c.environment.platformArgument << ", QT_QPA_PLATFORM "
            << c.environment.platformVariable << ", plugin " << c.environment.waylandPlugin;
}

class DisplayEnvironmentTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            if (const char* value = std::getenv(name))
                m_saved.emplace_back(name, value);
            unsetenv(name);
        }
    }
    void TearDown() override {
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            unsetenv(name);
        for (const auto& [name, value] : m_saved)
            setenv(name.c_str(), value.c_str(), 1);
    }
    static DisplayEnvironment Read(std::vector<std::string> args) {
        args.insert(args.begin(), "lumivar");
        return ReadDisplayEnvironment(args);
    }

    std::vector<std::pair<std::string, std::string>> m_saved;
};

TEST_F(DisplayEnvironmentTest, ReadsTheVariablesIgnoringEmptyOnes) {
    setenv("DISPLAY", ":1", 1);
    setenv("WAYLAND_DISPLAY", "", 1);
    const DisplayEnvironment environment = Read({});
    EXPECT_TRUE(environment.x11);
    EXPECT_FALSE(environment.wayland);
    EXPECT_EQ(environment.platformVariable, "");
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    EXPECT_EQ(Read({}).platformVariable, "offscreen");
}

TEST_F(DisplayEnvironmentTest, PlatformOptionsCountWithOneDashOrTwo) {
    EXPECT_TRUE(Read({"-platform", "offscreen"}).platformArgument);
    EXPECT_TRUE(Read({"--platform=offscreen"}).platformArgument);
    EXPECT_TRUE(Read({"--dry-run", "-display", ":3"}).platformArgument);
    EXPECT_FALSE(Read({"--dry-run", "platform"}).platformArgument);
    EXPECT_FALSE(Read({"-platformish"}).platformArgument);
    EXPECT_FALSE(Read({"--", "-platform", "xcb"}).platformArgument);
}

} // namespace
} // namespace lumivar::qt
