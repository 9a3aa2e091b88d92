// The toolbar skinning's neutral rules: the hook's message tables and what the painter draws.
#include "controls/toolbar/message_table.h"
#include "controls/toolbar/paint_rules.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace toolbarskin;

TEST(HookMessageTable, EditsFromTheirTableWhatATableHoldsAndTheTexts) {
    // "+15" adds, "-15" deletes, "*" is every message, "+1..32" adds 1 to 32. The last outcome counts.
    const struct {
        const char* ops;
        std::int32_t count;
        std::vector<std::int32_t> first;
        TableEdit last;
    } rows[] = {
        {"+15 +20 +15", 2, {15, 20}, TableEdit::Unchanged},
        {"+15 +20 -15 +30", 2, {30, 20}, TableEdit::Changed},  // the free entry is reused
        {"+15 +20 -15 +20", 2, {0, 20}, TableEdit::Unchanged}, // present after a free entry: no copy
        {"+15 +*", -1, {15}, TableEdit::Changed},
        {"+15 +* +40", 1, {40}, TableEdit::Changed}, // from every message to one
        {"+15 -99", 1, {15}, TableEdit::NotFound},
        {"+15 -*", 0, {}, TableEdit::Changed},
        {"+15 -* +7", 1, {7}, TableEdit::Changed},
        {"+* -5", -1, {}, TableEdit::NotFound},
        {"+1..32 +99", 32, {1, 2}, TableEdit::Overflow},
        {"+1..32 -5 +99", 32, {1, 2, 3, 4, 0, 6}, TableEdit::Overflow}, // a free entry, but the count is full
        {"+1..32 -5 +*", -1, {}, TableEdit::Changed},
    };
    for (const auto& row : rows) {
        MessageTable t;
        std::istringstream in(row.ops);
        TableEdit last = TableEdit::Unchanged;
        for (std::string op; in >> op;) {
            const std::string arg = op.substr(1);
            const int from = arg == "*" ? kAllMessages : std::stoi(arg);
            const int to = arg.find("..") != std::string::npos ? std::stoi(arg.substr(arg.find("..") + 2)) : from;
            for (int m = from; m <= to; ++m)
                last = op[0] == '+' ? AddTableEntry(t, m) : DeleteTableEntry(t, m);
        }
        EXPECT_EQ(last, row.last) << row.ops;
        EXPECT_EQ(t.count, row.count) << row.ops;
        EXPECT_TRUE(std::equal(row.first.begin(), row.first.end(), t.entries.begin())) << row.ops;
    }

    MessageTable t{2, {0, 20}};
    EXPECT_TRUE(TableHolds(t, 20));
    EXPECT_FALSE(TableHolds(t, 0)) << "a free entry is not WM_NULL";
    t.count = 0;
    EXPECT_FALSE(TableHolds(t, 20)) << "only counted entries";
    t.count = kAllMessages;
    EXPECT_TRUE(TableHolds(t, 0) && TableHolds(t, 0xC123));
    EXPECT_EQ(HookKey(0x1'0000'0000ull), L"h4294967296") << "pointer-sized";
    EXPECT_EQ(NotFoundText(0xC0DE), L"Message &HC0DE not found in table");
    EXPECT_EQ(MissingRecordText(0x1'0000'0000ull), L"Hook record for window 4294967296 does not exist");
}

TEST(ToolbarFrame, EveryRowOfTheFrameTableStateLookAndHiddenButtons) {
    const struct {
        bool hot;
        int style, state;
        bool overStrip, menu;
        Frame frame;
    } rows[] = {
        {true, 0, 4, 0, 0, {0}},    {true, 2, 36, 0, 0, {0}},   {true, 0, 6, 0, 0, {1}},    {true, 0, 38, 0, 0, {1}},
        {true, 2, 5, 0, 0, {3}},    {true, 2, 7, 0, 0, {1}},    {true, 6, 7, 0, 0, {3}},    {true, 0, 0, 0, 0, {}},
        {true, 0, 12, 0, 0, {}},    {true, 8, 0, 1, 1, {}},     {true, 8, 4, 0, 1, {4, 8}}, {true, 8, 4, 1, 0, {4, 8}},
        {true, 8, 4, 1, 1, {4, 9}}, {true, 8, 6, 0, 0, {5, 9}}, {true, 8, 5, 0, 0, {}},     {false, 8, 5, 0, 0, {2}},
        {false, 0, 7, 0, 0, {2}},   {false, 0, 4, 0, 0, {}},    {false, 0, 6, 0, 0, {}},    {true, 1, 4, 0, 0, {}},
        {false, 1, 5, 0, 0, {}}, // a separator is never framed
    };
    for (const auto& r : rows)
        EXPECT_EQ(ChooseFrame(r.hot, r.style, r.state, r.overStrip, r.menu), r.frame)
            << r.hot << " style " << r.style << " state " << r.state << " strip " << r.overStrip << r.menu;

    using C = TextColour;
    const std::pair<int, StateLook> looks[] = {
        {5, {1, C::Normal, 2}}, {6, {1, C::Down, 2}},    {7, {1, C::Down, 2}},     {4, {0, C::Normal, 1}},
        {9, {0, C::Normal, 1}}, {36, {0, C::Normal, 1}}, {3, {0, C::Disabled, 0}}, {0, {0, C::Disabled, 0}},
    };
    for (const auto& [state, look] : looks)
        EXPECT_EQ(LookOf(state), look) << state;
    EXPECT_EQ(ImageMode(LookOf(4), true), kImageHot);
    EXPECT_EQ(ImageMode(LookOf(0), true), kImageDisabled) << "a disabled button never looks hot";
    EXPECT_TRUE(IsHidden(8) && IsHidden(12));
    EXPECT_FALSE(IsHidden(4) || IsHidden(9) || IsHidden(13));
}

TEST(ToolbarLayout, BothLayoutsWithTheirHalvesToEvenTilesBackgroundSeparatorAndTexts) {
    // Text right: image at l + 4 + o, middle 20.5 - 16 - 1 = 3.5 -> 4; text top 20.5 - 6.5 = 14.
    EXPECT_EQ(LayOut(true, {10, 3, 110, 38}, 32, 32, 13, 0, false), (ButtonLayout{{14, 4}, {10, 14, 106, 38}, true}));
    // Pressed: 4.5 -> 4 and 15 -> 15, right edge one further; a dropdown keeps off its strip.
    EXPECT_EQ(LayOut(true, {10, 3, 110, 38}, 32, 32, 13, 1, true), (ButtonLayout{{15, 4}, {10, 15, 94, 38}, true}));
    // Text below: image x = l + (w + a)/2 - cx/2 + 2o; 10 + 22.5 - 16 = 16.5 -> 16.
    EXPECT_EQ(LayOut(false, {10, 3, 55, 60}, 32, 32, 13, 0, false), (ButtonLayout{{16, 5}, {10, 41, 55, 60}, false}));
    EXPECT_EQ(LayOut(false, {10, 3, 55, 60}, 32, 32, 13, 1, true), (ButtonLayout{{12, 6}, {12, 42, 42, 60}, false}));
    EXPECT_EQ(ArrowAt(10, 0, 36), (Point{12, 15})) << "12.5 -> 12";
    EXPECT_EQ(ArrowAt(11, 0, 35), (Point{14, 14})) << "13.5 -> 14, 14.5 -> 14";

    const std::vector<Piece> tile = TilePieces(9, 30, 40);
    ASSERT_EQ(tile.size(), 9u);
    EXPECT_EQ(tile[4], (Piece{140, 5, 5, 13, 5, 5, 20, 30}));
    EXPECT_EQ(TilePieces(0, 10, 12).size(), 6u) << "no room for the bands across";
    EXPECT_EQ(BackgroundPieces(1, 10).size(), 2u) << "nor for the middle band";
    EXPECT_EQ(BackgroundPieces(300, 40),
              (std::vector<Piece>{
                  {195, 0, 15, 5, 0, 0, 300, 5}, {195, 5, 15, 13, 0, 5, 300, 30}, {195, 18, 15, 5, 0, 35, 300, 5}}));
    EXPECT_EQ(
        SeparatorPieces(8, 36, 216),
        (std::vector<Piece>{{187, 0, 8, 7, 0, 0, 8, 7}, {187, 7, 8, 9, 0, 7, 8, 22}, {187, 16, 8, 7, 0, 29, 8, 7}}));
    EXPECT_EQ(SeparatorPieces(40, 23, 216)[0].sw, 29) << "never read past the picture";
    EXPECT_TRUE(TextFits(0) && TextFits(31));
    EXPECT_FALSE(TextFits(-1) || TextFits(32));
    EXPECT_EQ(CutAtNul("ab\0c", 4), "ab");
    EXPECT_EQ(CutAtNul("abc", 3), "") << "no NUL: nothing";
}
