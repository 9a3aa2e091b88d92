// The status bar's panel table: placement, removal rebuilds, getters, mouse columns, labels and
// foreign controls placed in panels.
#include "controls/statusbar/panel_table.h"

#include <gtest/gtest.h>

#include <climits>

using namespace statusbar;

namespace {

PanelTable MainWindowPanels(double innerHeight = 17) {
    PanelTable t;
    EXPECT_FALSE(t.Add({L"", L"Skins", 350}, innerHeight));
    EXPECT_FALSE(t.Add({L"06/12/2026", L"Date", 80}, innerHeight));
    EXPECT_FALSE(t.Add({L"10:00:00", L"Time", 80}, innerHeight));
    return t;
}

} // namespace

TEST(PanelTable, PanelsFollowEachOtherTwoPixelsApartAndAreTwoPixelsNarrowerThanAsked) {
    const PanelTable t = MainWindowPanels();
    ASSERT_EQ(t.Count(), 3);
    EXPECT_EQ(t.At(1).Left, 2);
    EXPECT_EQ(t.At(1).Right, 350);
    EXPECT_EQ(t.At(2).Left, 352);
    EXPECT_EQ(t.At(2).Right, 430);
    EXPECT_EQ(t.At(3).Left, 432);
    EXPECT_EQ(t.At(3).Right, 510);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(t.At(i).Top, 2);
        EXPECT_EQ(t.At(i).Bottom, 14) << "inner height 17 less 3";
        EXPECT_EQ(t.At(i).Index, i);
        EXPECT_EQ(t.GetWidth(i), t.At(i).Width - 2);
    }
    EXPECT_EQ(t.At(0), tPanel{}) << "element 0 stays empty";
    PanelTable odd;
    odd.Add({}, 22.5); // rounded, halves to even
    EXPECT_EQ(odd.At(1).Bottom, 19);
}

TEST(PanelTable, DefaultsAndTheGettersRules) {
    PanelTable t;
    EXPECT_EQ(t.Count(), 0);
    EXPECT_EQ(t.GetLeft(1), -1);
    EXPECT_EQ(t.GetLeft(0), 0) << "element 0 answers 0";
    EXPECT_EQ(t.GetWidth(0), 0);
    t.Add(PanelSpec{}, 24);
    const tPanel& p = t.At(1);
    EXPECT_EQ(p.Width, 96);
    EXPECT_EQ(p.Text, L"");
    EXPECT_EQ(p.ForeColor, -1);
    EXPECT_EQ(p.BackColor, -1);
    EXPECT_EQ(p.BorderColor, -1);
    EXPECT_FALSE(p.Bold);
    EXPECT_EQ(t.GetLeft(1), 2);
    EXPECT_EQ(t.GetTop(1), 2);
    EXPECT_EQ(t.GetWidth(1), 94);
    EXPECT_EQ(t.GetHeight(1), 19);
    EXPECT_EQ(t.GetHeight(2), -1);
    EXPECT_EQ(t.GetTop(-1), -1);
    EXPECT_EQ(t.GetLeft(INT64_MAX), -1);
}

TEST(PanelTable, EdgesThatOverflowOrANegativeWidthAddNothing) {
    PanelTable t;
    ASSERT_FALSE(t.Add({L"a", L"", INT32_MAX - 1}, 24));
    const auto overflow = t.Add({L"b", L"", 10}, 24);
    ASSERT_TRUE(overflow);
    EXPECT_EQ(overflow->number, 6);
    EXPECT_EQ(t.Count(), 1) << "no half-made panel is left in the table";
    const auto negative = t.Add({L"c", L"", -5}, 24);
    ASSERT_TRUE(negative);
    EXPECT_EQ(negative->number, 380);
    EXPECT_EQ(t.Count(), 1);
    PanelTable fresh;
    EXPECT_FALSE(fresh.Add({L"d", L"", 0}, 24)) << "a zero width is odd but harmless";
}

TEST(PanelTable, RemovingAPanelRebuildsTheOthersWithDefaultBorderAndWeight) {
    PanelTable t;
    t.Add({L"uno", L"a", 100, 0xFF, 0xFF00, 0xFF0000, true}, 24);
    t.Add({L"dos", L"b", 60, 1, 2, 3, true}, 24);
    t.Add({L"tres", L"c", 70, 4, 5, 6, true}, 24);
    const auto kept = t.KeptWithoutIndex(2);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[1].text, L"tres");
    EXPECT_EQ(kept[1].width, 70);
    EXPECT_EQ(kept[1].foreColor, 4);
    EXPECT_EQ(kept[1].backColor, 5);
    EXPECT_EQ(kept[1].borderColor, -1);
    EXPECT_FALSE(kept[1].bold);
    PanelTable rebuilt;
    for (const auto& s : kept)
        rebuilt.Add(s, 24);
    EXPECT_EQ(rebuilt.At(2).Left, t.At(2).Left) << "the former panel 3 starts where panel 2 did";
    EXPECT_EQ(rebuilt.At(2).Index, 2);
    EXPECT_EQ(t.KeptWithoutIndex(9).size(), 3u);
}

TEST(PanelTable, KeysMatchRegardlessOfCaseAndSurroundingBlanks) {
    const PanelTable t = MainWindowPanels();
    const auto kept = t.KeptWithoutKey(L"date ");
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].key, L"Skins");
    EXPECT_EQ(kept[1].key, L"Time");
    EXPECT_EQ(t.KeptWithoutKey(L"nada").size(), 3u);
    PanelTable twice;
    twice.Add({L"", L" Ñu"}, 24);
    twice.Add({L"", L"x"}, 24);
    twice.Add({L"", L"ñU  "}, 24);
    EXPECT_EQ(twice.KeptWithoutKey(L"ÑU").size(), 1u) << "every panel with the key goes";
    EXPECT_EQ(NormaliseKey(L"  Fecha Y Hora  "), L"fecha y hora");
    EXPECT_EQ(NormaliseKey(L"   "), L"");
}

TEST(PanelTable, MouseColumnsBetweenPanelsBelongToNoPanel) {
    const PanelTable t = MainWindowPanels();
    EXPECT_EQ(t.PanelFromX(2), 0) << "Left itself is outside";
    EXPECT_EQ(t.PanelFromX(3), 1);
    EXPECT_EQ(t.PanelFromX(349), 1);
    for (int x = 350; x <= 352; ++x)
        EXPECT_EQ(t.PanelFromX(x), 0) << x;
    EXPECT_EQ(t.PanelFromX(353), 2);
    EXPECT_EQ(t.PanelFromX(352.5), 0) << "352.5 rounds to the even 352";
    EXPECT_EQ(t.PanelFromX(353.5), 2) << "353.5 rounds to 354";
    EXPECT_EQ(t.PanelFromX(509), 3);
    EXPECT_EQ(t.PanelFromX(510), 0);
    EXPECT_EQ(t.PanelFromX(900), 0);
    EXPECT_EQ(t.PanelFromX(-3), 0);
}

TEST(PanelLabels, SitFourPixelsInAndAreCentredWithHalvesToEven) {
    PanelTable t;
    t.Add({L"", L"", 100}, 24); // Top 2, Bottom 21
    const tPanel& p = t.At(1);
    EXPECT_EQ(LabelLeft(p), 6);
    EXPECT_EQ(LabelRoom(p), 90);
    EXPECT_EQ(LabelTop(p, 13), 5); // (21 − 15) / 2 = 3, + 2
    EXPECT_EQ(LabelTop(p, 14), 4); // 2.5 → 2, + 2
    EXPECT_EQ(LabelTop(p, 12), 6); // 3.5 → 4, + 2
    PanelTable narrow;
    narrow.Add({L"", L"", 5}, 24);
    EXPECT_EQ(LabelRoom(narrow.At(1)), 0) << "a panel narrower than its margins leaves no room, not a negative width";
}

TEST(ForeignControls, AutomaticAndManualPlacementStayInsideThePanel) {
    PanelTable t;
    t.Add({L"", L"", 100}, 24);
    t.Add({L"", L"", 80}, 24); // Left 102, Right 180, Top 2, Bottom 21
    const tPanel& p = t.At(2);
    EXPECT_EQ(AutoPlacement(p), (Placement{104, 4, 74, 17}));
    // Window's own size kept when -1; offsets added as given (left out they are -1).
    EXPECT_EQ(ManualPlacement(p, 3, 5, -1, -1, 20, 10), (Placement{107, 5, 20, 10}));
    EXPECT_EQ(ManualPlacement(p, -1, -1, -1, -1, 20, 10), (Placement{101, 1, 20, 10}));
    // Larger than the panel: cut to it.
    EXPECT_EQ(ManualPlacement(p, 0, 0, 500, 500, 1, 1), (Placement{102, 2, 78, 19}));
    // Pushed past the right and bottom edges: shortened.
    EXPECT_EQ(ManualPlacement(p, 15, 70, 30, 10, 1, 1), (Placement{172, 17, 8, 4}));
    // Pushed beyond the panel entirely: no negative size.
    EXPECT_EQ(ManualPlacement(p, 0, 200, 30, 10, 1, 1).width, 0);
    EXPECT_EQ(ManualPlacement(p, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 1, 1).width, 0);
}
