// What the skinned button decides without drawing, and each built-in skin's published colours.
#include "controls/button/accessible_rules.h"
#include "controls/button/paint_rules.h"
#include "controls/button/skin_palette.h"

#include <gtest/gtest.h>

#include <array>

using namespace skinbutton;

TEST(ButtonPaintTable, StateTableCaptionColoursFlatColoursAndCaptionPlacementWithHalvesToEven) {
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

    const TextColours text{1, 2, 3, 4, 5}; // normal, up, down, disabled, check
    const struct {
        bool enabled;
        int mode;
        bool checked;
        std::uint32_t colour;
    } captions[] = {{false, kCaptionHot, false, 4},    {false, kCaptionPressed, true, 4},
                    {true, kCaptionNormal, false, 1},  {true, kCaptionNormal, true, 5},
                    {true, kCaptionHot, false, 2},     {true, kCaptionHot, true, 5},
                    {true, kCaptionPressed, false, 3}, {true, kCaptionPressed, true, 3}};
    for (const auto& c : captions)
        EXPECT_EQ(CaptionColour(text, c.enabled, c.mode, c.checked), c.colour) << &c - captions;

    const FlatColours flat{1, 2, 3, 4, 5, 11, 12, 13, 14, 15}; // backs, then borders: normal, over, down, check, off
    // Back and border colour of each state, 0 where the state has no flat look.
    const std::tuple<bool, int, std::uint32_t, std::uint32_t> looks[] = {{true, kStateHot, 2, 12},
                                                                         {true, kStatePressed, 3, 13},
                                                                         {true, kStateChecked, 4, 14},
                                                                         {true, kStateCheckedHot, 4, 12},
                                                                         {true, kStateNormal, 1, 11},
                                                                         {true, kStateDisabled, 0, 0},
                                                                         {true, kStateDisabledChecked, 0, 0},
                                                                         {true, 7, 0, 0},
                                                                         {true, -1, 0, 0},
                                                                         {false, kStateHot, 5, 15},
                                                                         {false, 7, 0, 0}};
    for (const auto& [enabled, state, back, border] : looks) {
        const auto look = ChooseFlatLook(flat, enabled, state);
        EXPECT_EQ(look ? std::pair(look->back, look->border) : std::pair(0u, 0u), std::pair(back, border)) << state;
    }
    for (int column : {0, 15, 30, 45, 60})
        EXPECT_EQ(SkinsColorsRow(column), 22) << column;
    for (int column : {1, 14, 16, 75, 90})
        EXPECT_EQ(SkinsColorsRow(column), 5) << column;

    // Right alignment, margin 10, 80-pixel button, 40-pixel caption: left edge 30; pressed 31, one lower.
    EXPECT_EQ(PlaceCaption(2, 10, 80, 25, 40, 13, kCaptionNormal), (Box{30, 6, 70, 19}));
    EXPECT_EQ(PlaceCaption(2, 10, 80, 25, 40, 13, kCaptionPressed), (Box{31, 7, 71, 20}));
    EXPECT_EQ(PlaceCaption(1, 10, 80, 25, 40, 13, kCaptionNormal).left, 10);
    EXPECT_EQ(PlaceCaption(0, 10, 81, 24, 40, 13, kCaptionNormal).left, 20) << "20.5 rounds to 20";
    EXPECT_EQ(PlaceCaption(0, 10, 83, 24, 40, 13, kCaptionNormal).left, 22) << "21.5 rounds to 22";
    EXPECT_EQ(RoundHalfEven(-4.5), -4);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3);
}

TEST(ButtonAccessible, RoleActionStateBitsAndName) {
    struct Row {
        int type;
        bool checked;
        long role;
        const wchar_t* action;
    };
    const Row rows[] = {
        {kPushButton, false, kRolePushButton, L"Presionar"},
        {kCheckButton, false, kRoleCheckButton, L"Activar"},
        {kCheckButton, true, kRoleCheckButton, L"Desactivar"},
        {kOptionButton, true, kRoleRadioButton, L"Activar"},
        {9, false, kRolePushButton, L"Presionar"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(AccessibleRole(r.type), r.role) << r.type;
        EXPECT_EQ(AccessibleDefaultAction(r.type, r.checked), r.action) << r.type;
    }
    const std::pair<AccessibleFacts, long> states[] = {
        {{}, kStateFocusable},
        {{false, true, true, true, true}, kStateFocusable | kStateUnavailable | kStateCheckedBit | kStateFocused},
        {{true, true, false, false, true}, kStateFocusable | kStatePressedBit},
        {{true, false, false, false, true}, kStateFocusable | kStateHotTracked},
    };
    for (const auto& [facts, state] : states)
        EXPECT_EQ(AccessibleState(facts), state) << std::hex << state;

    FormattedText formatted;
    const host::FontDesc font{L"Arial", 10};
    formatted.Add(L"Conectar ", font, {});
    formatted.AddNewLine();
    formatted.Add(L"  al  equipo  ", font, {});
    EXPECT_EQ(AccessibleName(L"Caption", true, formatted), L"Conectar al equipo");
    EXPECT_EQ(AccessibleName(L"Caption", false, formatted), L"Caption") << "formatting not shown";
    EXPECT_EQ(AccessibleName(L"Caption", true, FormattedText{}), L"Caption") << "nothing formatted";
}

TEST(ButtonSkins, EachSkinsColoursAsPublished) {
    // As RGB: BackColorSkinDefault, BorderColorSkinDefault, ForeColorNormal, Up, Down, Disabled, Check.
    const std::array<std::uint32_t, 7> table[kBuiltInSkinCount] = {
        {0xEDF4FE, 0xD4E6FD, 0x000000, 0x000000, 0x000000, 0x909090, 0x000000}, // 0
        {0xFBFCE3, 0xEFF29F, 0x000000, 0x000000, 0x000000, 0x939D11, 0x000000}, // 1
        {0xFDFDFF, 0xE8ECFF, 0x000000, 0x000000, 0x000000, 0xBEBEBE, 0x000000}, // 2
        {0xFBFBF8, 0xE6E6DF, 0x000000, 0x000000, 0x000000, 0xBEBEBE, 0x000000}, // 3
        {0xFFF2FF, 0xFFD5FF, 0x000000, 0x000000, 0x000000, 0xFFA6FF, 0x000000}, // 4
        {0x004B79, 0x629EC7, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x000000, 0xFFFFFF}, // 5
        {0x3A404E, 0x606A85, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xBEBEBE, 0xFFFFFF}, // 6
        {0x000000, 0x704127, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xAAAAAA, 0xFFFFFF}, // 7
        {0x000000, 0x006200, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xAAAAAA, 0xFFFFFF}, // 8
        {0xF8F7F3, 0xE3DFD4, 0x000000, 0x000000, 0x000000, 0xBEBEBE, 0x000000}, // 9
        {0xFBFCFF, 0xD6D5D9, 0x000000, 0x000000, 0x000000, 0xBEBEBE, 0xFFFFFF}, // 10
        {0xFFFFFF, 0xECECEE, 0x000000, 0x000000, 0x000000, 0xBEBEBE, 0x000000}, // 11
        {0xF3F3F3, 0xE3E3E3, 0x000000, 0x000000, 0x000000, 0xBEBEBE, 0x000000}, // 12
        {0xE9E9E9, 0xCACACA, 0x000000, 0x000000, 0x000000, 0xB4B4B4, 0xFFFFFF}, // 13
        {0xF0F4FF, 0xBFD1E9, 0x22427D, 0x000000, 0x000000, 0x6592D6, 0xFFFFFF}, // 14
        {0xFBFCFF, 0xD5D6DA, 0x295AAB, 0x295AAB, 0xFFFFFF, 0xA1A192, 0x295AAB}, // 15
        {0xF0F4FF, 0xBFD1E9, 0x173360, 0x173360, 0x173360, 0x739BDD, 0x173360}, // 16
        {0x274B16, 0x425F32, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xA1A192, 0x000000}, // 17
        {0xFBFBFB, 0xD7D7D7, 0x30628B, 0x000000, 0x000000, 0xA1A192, 0x000000}, // 18
        {0xE7EEF5, 0xD2DFEE, 0x000000, 0xFFFFFF, 0xFFFFFF, 0x6F99C8, 0xFFFFFF}, // 19
        {0x3367BD, 0xD2DFEE, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xB4B4B4, 0xFFFFFF}, // 20
        {0xF1F3F8, 0xB2B6C5, 0x053259, 0x053259, 0x053259, 0xD5D8E1, 0x053259}, // 21
    };
    for (int skin = 0; skin < kBuiltInSkinCount; ++skin) {
        const SkinColours* got = BuiltInSkinColours(skin);
        ASSERT_TRUE(got) << skin;
        std::array<std::uint32_t, 7> want = table[skin];
        for (std::uint32_t& c : want) // RGB to the colour number, red in the low byte
            c = (c >> 16) | (c & 0xFF00) | (c & 0xFF) << 16;
        EXPECT_EQ((std::array{got->backDefault, got->borderDefault, got->foreNormal, got->foreUp, got->foreDown,
                              got->foreDisabled, got->foreCheck}),
                  want)
            << "skin " << skin;
    }
    for (int skin : {-1, kSkinLink, kSkinCustom})
        EXPECT_EQ(BuiltInSkinColours(skin), nullptr) << skin;
}
