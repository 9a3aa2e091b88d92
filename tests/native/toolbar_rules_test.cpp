// The toolbar skinning's neutral rules: the hook's message tables and keys, and what the painter
// draws for each button (frame tiles, state look, layout with its halves to even, the copies).
#include "controls/toolbar/message_table.h"
#include "controls/toolbar/paint_rules.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace toolbarskin;

namespace {

// Runs "+15 -15 +*" style edits (+ adds, - deletes, * is every message); returns the last outcome.
TableEdit Edit(MessageTable& table, const std::string& ops) {
    std::istringstream in(ops);
    std::string op;
    TableEdit last = TableEdit::Unchanged;
    while (in >> op) {
        const std::int32_t m = op.substr(1) == "*" ? kAllMessages : std::stoi(op.substr(1));
        last = op[0] == '+' ? AddTableEntry(table, m) : DeleteTableEntry(table, m);
    }
    return last;
}

} // namespace

TEST(HookMessageTable, EditsFromTheirTable) {
    const struct {
        const char* ops;
        std::int32_t count;
        std::vector<std::int32_t> first;
        TableEdit last;
    } rows[] = {
        {"+15 +20 +15", 2, {15, 20}, TableEdit::Unchanged},
        {"+15 +20 -15 +30", 2, {30, 20}, TableEdit::Changed},      // the free entry is reused
        {"+15 +20 -15 +20", 2, {0, 20}, TableEdit::Unchanged},     // present after a free entry: no copy
        {"+15 +*", -1, {15}, TableEdit::Changed},                  // every message
        {"+15 +* +40", 1, {40, 0}, TableEdit::Changed},            // from every message to one
        {"+15 -99", 1, {15}, TableEdit::NotFound},
        {"+15 -* +7", 1, {7}, TableEdit::Changed},
        {"-* -5", 0, {}, TableEdit::NotFound},
        {"+* -5", -1, {}, TableEdit::NotFound},
    };
    for (const auto& row : rows) {
        MessageTable t;
        EXPECT_EQ(Edit(t, row.ops), row.last) << row.ops;
        EXPECT_EQ(t.count, row.count) << row.ops;
        EXPECT_TRUE(std::equal(row.first.begin(), row.first.end(), t.entries.begin())) << row.ops;
    }
}

TEST(HookMessageTable, ThirtyTwoEntriesAndNoMoreEvenAfterADeletion) {
    MessageTable t;
    for (int m = 1; m <= kTableSize; ++m)
        ASSERT_EQ(AddTableEntry(t, m), TableEdit::Changed);
    const MessageTable full = t;
    EXPECT_EQ(AddTableEntry(t, 99), TableEdit::Overflow);
    EXPECT_EQ(t, full);
    EXPECT_EQ(Edit(t, "-5 +99"), TableEdit::Overflow);
    EXPECT_EQ(t.entries[4], 0);
    EXPECT_EQ(AddTableEntry(t, kAllMessages), TableEdit::Changed) << "every message is always possible";
}

TEST(HookMessageTable, WhatATableHolds) {
    MessageTable t;
    Edit(t, "+15 +20 -15");
    EXPECT_TRUE(TableHolds(t, 20));
    EXPECT_FALSE(TableHolds(t, 15));
    EXPECT_FALSE(TableHolds(t, 0)) << "a free entry is not WM_NULL";
    t.count = 1;
    EXPECT_FALSE(TableHolds(t, 20)) << "only counted entries";
    Edit(t, "+*");
    EXPECT_TRUE(TableHolds(t, 0));
    EXPECT_TRUE(TableHolds(t, 0xC123));
}

TEST(HookMessageTable, KeysAndTexts) {
    EXPECT_EQ(HookKey(0x10062), L"h65634");
    EXPECT_EQ(HookKey(0x1'0000'0000ull), L"h4294967296") << "pointer-sized";
    EXPECT_EQ(NotFoundText(0xC0DE), L"Message &HC0DE not found in table");
    EXPECT_EQ(NotFoundText(-2), L"Message &HFFFFFFFE not found in table");
    EXPECT_EQ(MissingRecordText(1234), L"Hook record for window 1234 does not exist");
}

TEST(ToolbarFrame, EveryRowOfTheFrameTable) {
    const struct {
        bool hot;
        int style, state;
        bool overStrip, menu;
        Frame frame;
    } rows[] = {
        {true, 0, 4, false, false, {0}},    {true, 2, 36, false, false, {0}}, {true, 0, 6, false, false, {1}},
        {true, 0, 38, false, false, {1}},   {true, 2, 5, false, false, {3}},  {true, 2, 7, false, false, {1}},
        {true, 6, 7, false, false, {3}},    {true, 0, 0, false, false, {}},   {true, 0, 12, false, false, {}},
        {true, 8, 0, true, true, {}},       {true, 8, 4, false, true, {4, 8}}, {true, 8, 4, true, false, {4, 8}},
        {true, 8, 4, true, true, {4, 9}},   {true, 8, 6, false, false, {5, 9}}, {true, 8, 5, false, false, {}},
        {false, 8, 5, false, false, {2}},   {false, 0, 7, false, false, {2}}, {false, 0, 4, false, false, {}},
        {false, 0, 6, false, false, {}},    {true, 1, 4, false, false, {}},   {false, 1, 5, false, false, {}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ChooseFrame(r.hot, r.style, r.state, r.overStrip, r.menu), r.frame)
            << r.hot << " style " << r.style << " state " << r.state << " strip " << r.overStrip << r.menu;
}

TEST(ToolbarFrame, StateLookAndHiddenButtons) {
    using C = TextColour;
    const std::pair<int, StateLook> rows[] = {
        {5, {1, C::Normal, 2}}, {6, {1, C::Down, 2}},   {7, {1, C::Down, 2}},    {4, {0, C::Normal, 1}},
        {9, {0, C::Normal, 1}}, {36, {0, C::Normal, 1}}, {3, {0, C::Disabled, 0}}, {0, {0, C::Disabled, 0}},
    };
    for (const auto& [state, look] : rows)
        EXPECT_EQ(LookOf(state), look) << state;
    EXPECT_EQ(ImageMode(LookOf(4), true), kImageHot);
    EXPECT_EQ(ImageMode(LookOf(4), false), kImageNormal);
    EXPECT_EQ(ImageMode(LookOf(0), true), kImageDisabled) << "a disabled button never looks hot";
    for (int state : {8, 12})
        EXPECT_TRUE(IsHidden(state));
    for (int state : {0, 4, 9, 13})
        EXPECT_FALSE(IsHidden(state));
}

TEST(ToolbarLayout, BothLayoutsWithTheirHalvesToEven) {
    // Text right: image at l + 4 + o, middle 20.5 - 16 - 1 = 3.5 -> 4; text top 20.5 - 6.5 = 14.
    EXPECT_EQ(LayOut(true, {10, 3, 110, 38}, 32, 32, 13, 0, false), (ButtonLayout{{14, 4}, {10, 14, 106, 38}, true}));
    // Pressed: 4.5 -> 4 and 15 -> 15, right edge one further; a dropdown keeps off its strip.
    EXPECT_EQ(LayOut(true, {10, 3, 110, 38}, 32, 32, 13, 1, true), (ButtonLayout{{15, 4}, {10, 15, 94, 38}, true}));
    EXPECT_EQ(LayOut(true, {0, 0, 50, 21}, 16, 16, 14, 0, false).text.top, 4) << "3.5 -> 4";
    // Text below: image x = l + (w + a)/2 - cx/2 + 2o; 10 + 22.5 - 16 = 16.5 -> 16.
    EXPECT_EQ(LayOut(false, {10, 3, 55, 60}, 32, 32, 13, 0, false), (ButtonLayout{{16, 5}, {10, 41, 55, 60}, false}));
    EXPECT_EQ(LayOut(false, {11, 3, 56, 60}, 32, 32, 13, 0, false).image.x, 18) << "17.5 -> 18";
    EXPECT_EQ(LayOut(false, {10, 3, 55, 60}, 32, 32, 13, 1, true), (ButtonLayout{{12, 6}, {12, 42, 42, 60}, false}));
    EXPECT_EQ(ArrowAt(10, 0, 36), (Point{12, 15})) << "12.5 -> 12";
    EXPECT_EQ(ArrowAt(11, 0, 35), (Point{14, 14})) << "13.5 -> 14, 14.5 -> 14";
    EXPECT_EQ(Nearest(-2.5), -2);
}

TEST(ToolbarPieces, TilesBackgroundAndSeparator) {
    const std::vector<Piece> tile = TilePieces(9, 30, 40);
    ASSERT_EQ(tile.size(), 9u);
    EXPECT_EQ(tile[0], (Piece{135, 0, 5, 5, 0, 0, 5, 5}));
    EXPECT_EQ(tile[4], (Piece{140, 5, 5, 13, 5, 5, 20, 30}));
    EXPECT_EQ(TilePieces(0, 10, 12).size(), 6u) << "no room for the bands across";
    EXPECT_EQ(BackgroundPieces(300, 40), (std::vector<Piece>{{195, 0, 15, 5, 0, 0, 300, 5},
                                                             {195, 5, 15, 13, 0, 5, 300, 30},
                                                             {195, 18, 15, 5, 0, 35, 300, 5}}));
    EXPECT_EQ(BackgroundPieces(300, 10).size(), 2u);
    EXPECT_EQ(SeparatorPieces(50, 2, 8, 36, 216), (std::vector<Piece>{{187, 0, 8, 7, 50, 2, 8, 7},
                                                                      {187, 7, 8, 9, 50, 9, 8, 22},
                                                                      {187, 16, 8, 7, 50, 31, 8, 7}}));
    EXPECT_EQ(SeparatorPieces(0, 0, 40, 23, 216)[0].sw, 29) << "never read past the picture";
    EXPECT_EQ(SeparatorPieces(0, 0, 8, 14, 216).size(), 2u);
}

TEST(ToolbarText, ReadOnlyWhatFitsTheBuffer) {
    for (long long n : {0, 31})
        EXPECT_TRUE(TextFits(n)) << n;
    for (long long n : {-1, 32, 33})
        EXPECT_FALSE(TextFits(n)) << n;
    const char held[4] = {'a', 'b', '\0', 'c'}, whole[3] = {'a', 'b', 'c'};
    EXPECT_EQ(CutAtNul(held, 4), "ab");
    EXPECT_EQ(CutAtNul(whole, 3), "") << "no NUL: nothing";
}
