// The paint decisions of the skinned button that its pictures cannot show exactly: the underline and
// caption mode of each state, and where the caption goes with its halves rounded to even.
#include "controls/button/paint_rules.h"

#include <gtest/gtest.h>

using namespace skinbutton;

TEST(ButtonPaintTable, EveryRowOfTheStateTable) {
    struct Row {
        bool enabled;
        int mode;
        bool mouseIn, checked;
        int state;
        std::optional<bool> underline;
        int captionMode;
    };
    // Underline options: on when the pointer is over, off when checked, so each row shows which one it reads.
    const Row rows[] = {
        {false, 0, true, false, kStateDisabled, std::nullopt, kCaptionNormal},
        {false, 2, false, true, kStateDisabledChecked, std::nullopt, kCaptionNormal},
        {true, 0, true, false, kStateHot, true, kCaptionHot},
        {true, 0, true, true, kStateCheckedHot, false, kCaptionHot},
        {true, 0, false, false, kStateNormal, std::nullopt, kCaptionNormal},
        {true, 0, false, true, kStateChecked, false, kCaptionNormal},
        {true, 2, true, true, kStatePressed, false, kCaptionPressed},
        {true, 2, false, false, kStatePressed, false, kCaptionPressed},
    };
    for (const Row& r : rows) {
        const PaintChoice c = ChoosePaint(r.enabled, r.mode, r.mouseIn, r.checked, true, false);
        EXPECT_EQ(c.state, r.state);
        EXPECT_EQ(c.underline, r.underline) << "state " << r.state;
        EXPECT_EQ(c.captionMode, r.captionMode) << "state " << r.state;
    }
    // Disabled and checked gains the underline only when the check option asks for it.
    EXPECT_EQ(ChoosePaint(false, 0, false, true, false, true).underline, std::optional<bool>(true));
    EXPECT_FALSE(IsChecked(kPushButton, true)) << "a push button is never drawn checked";
    EXPECT_TRUE(IsChecked(7, true)) << "an unknown button type is drawn checked while its Value is true";
}

TEST(ButtonCaption, PlacementForEachAlignmentWithHalvesToEven) {
    // Right alignment, margin 10, 80-pixel button, 40-pixel caption: left edge 30; pressed 31, one lower.
    EXPECT_EQ(PlaceCaption(2, 10, 80, 25, 40, 13, kCaptionNormal), (Box{30, 6, 70, 19}));
    EXPECT_EQ(PlaceCaption(2, 10, 80, 25, 40, 13, kCaptionPressed), (Box{31, 7, 71, 20}));
    EXPECT_EQ(PlaceCaption(1, 10, 80, 25, 40, 13, kCaptionNormal).left, 10);
    EXPECT_EQ(PlaceCaption(9, 10, 80, 25, 40, 13, kCaptionNormal).left, 0);
    EXPECT_EQ(PlaceCaption(0, 10, 81, 24, 40, 13, kCaptionNormal).left, 20) << "20.5 rounds to 20";
    EXPECT_EQ(PlaceCaption(0, 10, 83, 24, 40, 13, kCaptionNormal).left, 22) << "21.5 rounds to 22";
    EXPECT_EQ(PlaceCaption(0, 10, 83, 24, 40, 13, kCaptionNormal).top, 6) << "5.5 rounds to 6";
    EXPECT_EQ(PlaceCaption(0, 0, 30, 10, 41, 10, kCaptionNormal).left, -6) << "-5.5 rounds to -6";
    EXPECT_EQ(RoundHalfEven(-4.5), -4);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3);
}
