// Where a window goes when it did not place itself: centred over its owner
// or the work area, and kept inside the work area, title bar first.
#include "CentredPlacement.h"

#include <gtest/gtest.h>

namespace lumivar::ui {
namespace {

TEST(CentredPlace, CentresThenKeepsTheWindowInsideTheWorkArea) {
    // A work area below a 30-pixel panel.
    const Rect area{0, 30, 1280, 1024};
    const struct {
        const char* what;
        Size size;
        Rect around;
        Point expected;
    } cases[] = {
        {"in the middle of the work area", {400, 300}, area, {440, 377}},
        {"over its owner", {200, 100}, {100, 100, 500, 400}, {200, 200}},
        {"owner near the right edge: pulled in", {300, 200}, {1100, 500, 1280, 700}, {980, 500}},
        {"owner above the work area: pushed down", {300, 200}, {0, 0, 300, 40}, {0, 30}},
        {"owner off the left edge", {300, 200}, {-400, 300, -100, 500}, {0, 300}},
        {"taller than the area: title bar on top", {400, 2000}, area, {440, 30}},
        {"wider than the area: left edge kept", {1500, 300}, area, {0, 377}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CentredPlace(c.size, c.around, area), c.expected) << c.what;
}

} // namespace
} // namespace lumivar::ui
