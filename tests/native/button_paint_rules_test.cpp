// The paint decisions of the skinned button: state table, caption colour and position, flat colours,
// the per-skin rows and the skin row read by GetSkinsColors.
#include "controls/button/paint_rules.h"
#include "controls/button/skin_palette.h"
#include "win/units.h"

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

TEST(ButtonCaption, ColourFollowsModeCheckAndEnabled) {
    const TextColours c{1, 2, 3, 4, 5};
    EXPECT_EQ(CaptionColour(c, true, kCaptionNormal, false), 1u);
    EXPECT_EQ(CaptionColour(c, true, kCaptionNormal, true), 5u);
    EXPECT_EQ(CaptionColour(c, true, kCaptionHot, false), 2u);
    EXPECT_EQ(CaptionColour(c, true, kCaptionHot, true), 5u);
    EXPECT_EQ(CaptionColour(c, true, kCaptionPressed, true), 3u);
    EXPECT_EQ(CaptionColour(c, false, kCaptionPressed, true), 4u);
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

TEST(ButtonFlatStyle, ColoursByStateAndDisabled) {
    FlatColours c;
    c.back = 1, c.backOver = 2, c.backDown = 3, c.backCheck = 4, c.backDisabled = 5;
    c.borderNormal = 11, c.borderOver = 12, c.borderDown = 13, c.borderCheck = 14, c.borderDisabled = 15;
    auto look = [&](bool enabled, int state) {
        auto l = ChooseFlatLook(c, enabled, state);
        return l ? std::pair<int, int>(static_cast<int>(l->back), static_cast<int>(l->border))
                 : std::pair<int, int>(-1, -1);
    };
    EXPECT_EQ(look(true, kStateHot), std::make_pair(2, 12));
    EXPECT_EQ(look(true, kStatePressed), std::make_pair(3, 13));
    EXPECT_EQ(look(true, kStateChecked), std::make_pair(4, 14));
    EXPECT_EQ(look(true, kStateCheckedHot), std::make_pair(4, 12));
    EXPECT_EQ(look(true, kStateNormal), std::make_pair(1, 11));
    EXPECT_EQ(look(true, kStateDisabled), std::make_pair(-1, -1)) << "keeps the previous background";
    EXPECT_EQ(look(true, kStateDisabledChecked), std::make_pair(-1, -1));
    EXPECT_EQ(look(false, kStateHot), std::make_pair(5, 15));
    EXPECT_EQ(look(false, kStateDisabledChecked), std::make_pair(5, 15));
    EXPECT_EQ(look(true, 7), std::make_pair(-1, -1)) << "a state that does not exist draws nothing";
    EXPECT_EQ(look(true, -1), std::make_pair(-1, -1));
}

TEST(ButtonSkins, RowsAndTheColumnRule) {
    ASSERT_NE(BuiltInSkinColours(16), nullptr);
    EXPECT_EQ(BuiltInSkinColours(16)->foreNormal, win::Rgb(23, 51, 96));
    EXPECT_EQ(BuiltInSkinColours(16)->backDefault, win::Rgb(240, 244, 255));
    EXPECT_EQ(BuiltInSkinColours(0)->foreDisabled, win::Rgb(144, 144, 144));
    EXPECT_EQ(BuiltInSkinColours(21)->borderDefault, win::Rgb(178, 182, 197));
    EXPECT_EQ(BuiltInSkinColours(19)->foreUp, win::Rgb(255, 255, 255));
    EXPECT_EQ(BuiltInSkinColours(22), nullptr);
    EXPECT_EQ(BuiltInSkinColours(23), nullptr);
    EXPECT_EQ(BuiltInSkinColours(-1), nullptr);
    EXPECT_EQ(SkinsColorsRow(15), 22);
    EXPECT_EQ(SkinsColorsRow(60), 22);
    EXPECT_EQ(SkinsColorsRow(75), 5);
    EXPECT_EQ(SkinsColorsRow(16), 5);
}
