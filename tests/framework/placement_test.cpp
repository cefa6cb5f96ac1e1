#include "framework/Placement.h"

#include <gtest/gtest.h>

namespace {

bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }

TEST(Placement, ADialogIsCentredOverItsOwnerAndKeptInsideTheOwnersMonitor) {
    const RECT primary{0, 0, 1920, 1040};
    // Centred, the odd pixel to the left and top.
    EXPECT_TRUE(afx::CentredWithin({100, 100, 501, 401}, 200, 100, primary) == (POINT{200, 200}));
    // A monitor left of and above the primary one: its negative coordinates stay.
    const RECT leftAbove{-1600, -900, 0, -40};
    EXPECT_TRUE(afx::CentredWithin({-1200, -700, -600, -300}, 300, 200, leftAbove) == (POINT{-1050, -600}));
    // An owner partly off its monitor's right and bottom edges: the dialog moves back inside.
    EXPECT_TRUE(afx::CentredWithin({1800, 950, 2200, 1150}, 300, 200, primary) == (POINT{1620, 840}));
    // Partly off the left and top edges of a monitor left of and above the primary one.
    EXPECT_TRUE(afx::CentredWithin({-1700, -1000, -1500, -800}, 300, 200, leftAbove) == (POINT{-1600, -900}));
    // A dialog larger than the area keeps its top left corner in it.
    EXPECT_TRUE(afx::CentredWithin({0, 0, 100, 100}, 2000, 1100, primary) == (POINT{0, 0}));
}

}  // namespace
