// Screen units at a display scale; at 96 dpi every result is what the layouts always were.
#include "win/units.h"

#include <gtest/gtest.h>

TEST(DpiUnits, ConversionsRoundHalvesAwayFromZeroAtEveryScale) {
    struct Row {
        int value, dpi, twips, scaled;
    };
    const Row rows[] = {
        {7, 96, 0, 7},          {8, 96, 1, 8},       {-8, 96, -1, -8},    {5805, 96, 387, 5805},
        {3060, 144, 306, 4590}, {375, 144, 38, 563}, {-15, 144, -2, -23}, {1, 120, 0, 1},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(win::TwipsToPixels(r.value, r.dpi), r.twips) << r.value << " twips at " << r.dpi;
        EXPECT_EQ(win::ScaleToDpi(r.value, r.dpi), r.scaled) << r.value << " px at " << r.dpi;
    }
    EXPECT_EQ(win::PointsToPixels(8.25, 96), 11);
    EXPECT_EQ(win::PointsToPixels(8.25, 144), 17);
    EXPECT_EQ(win::LineWidthForDpi(2, 144), 3);
}
