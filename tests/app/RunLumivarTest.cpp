// The program's run as each main starts it: what ends it with an error.
#include "RunLumivar.h"
#include "RecordingPowerOff.h"

#include <gtest/gtest.h>

namespace lumivar {
namespace {

class NoWindows final : public ui::ApplicationHost {
    int RunMainDialog(ui::Dialog& /*dialog*/) override { return ui::kMainDialogNotCreated; }
};

TEST(RunLumivar, AMainWindowThatCannotBeCreatedIsReportedAndEndsTheProcessWithAnError) {
    NoWindows host;
    test::RecordingIdleSleep idleSleep;
    std::string reported;
    const PlatformServices platform{[] { return std::make_unique<test::RecordingPowerOff>(); },
                                    idleSleep, [&](std::string_view text) { reported += text; }};
    EXPECT_EQ(RunLumivar(host, {}, platform), 1);
    EXPECT_EQ(reported, "The main window could not be created.");
}

} // namespace
} // namespace lumivar
