// The status bar's rules: the panel table, its saved set, and the skin (published samples and
// colours, blending, tile offsets, the nine pieces).
#include "controls/host/property_text.h"
#include "controls/statusbar/panel_table.h"
#include "controls/statusbar/saved_settings.h"
#include "controls/statusbar/skin_colours.h"
#include "resources/gen/statusbar_strip.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <tuple>

using namespace statusbar;

namespace {

PanelTable MainWindowPanels() {
    PanelTable t;
    for (const PanelSpec& s : {PanelSpec{L"", L"Skins", 350}, {L"06/12/2026", L"Date", 80}, {L"10:00", L"Time", 80}})
        EXPECT_FALSE(t.Add(s, 17));
    return t;
}

host::Picture Tile(int width, int height) {
    return {bmp::Raster(width, height, {1, 2, 3})};
}

auto Loaded(const host::PropertyBag& bag) {
    const LoadedSettings s = ReadSavedSettings(bag);
    return std::tuple(s.Enabled, s.Skin, s.ShowBorderPanels, s.BorderMode, s.ShowBorderStatusBar, s.CustomSkin);
}

} // namespace

TEST(PanelTable, PlacementDefaultsGettersAndMouseColumns) {
    const PanelTable t = MainWindowPanels();
    ASSERT_EQ(t.Count(), 3);
    // 2 pixels apart, 2 narrower than asked; Bottom is the inner height 17 less 3.
    EXPECT_EQ(t.At(1), (tPanel{2, 2, 350, 14, L"Skins", L"", -1, -1, -1, 1, 350, false}));
    EXPECT_EQ(t.At(2), (tPanel{352, 2, 430, 14, L"Date", L"06/12/2026", -1, -1, -1, 2, 80, false}));
    EXPECT_EQ(t.At(3), (tPanel{432, 2, 510, 14, L"Time", L"10:00", -1, -1, -1, 3, 80, false}));
    EXPECT_EQ(t.GetLeft(0), 0) << "element 0 answers 0";
    for (const std::int64_t bad : {std::int64_t{4}, std::int64_t{-1}, std::int64_t{INT64_MAX}})
        EXPECT_EQ(std::tuple(t.GetLeft(bad), t.GetTop(bad), t.GetWidth(bad), t.GetHeight(bad)),
                  std::tuple(-1, -1, -1, -1))
            << bad;
    // x and the panel it falls in (0: none); 352.5 rounds to the even 352, 353.5 to 354.
    const std::pair<double, int> cases[] = {{-3, 0},  {2, 0},     {3, 1},     {349, 1}, {350, 0}, {351, 0}, {352, 0},
                                            {353, 2}, {352.5, 0}, {353.5, 2}, {509, 3}, {510, 0}, {900, 0}};
    for (const auto& [x, panel] : cases)
        EXPECT_EQ(t.PanelFromX(x), panel) << x;
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
    EXPECT_TRUE(t.Add({L"f", L"", 1}, 24)) << "the left edge alone past the range";
    EXPECT_TRUE(PanelTable{}.Add({L"g", L"", 10}, 1e12)) << "a height past the range";
}

TEST(PanelTable, RemovalReAddsTheOthersWithTheirColoursAndKeysIgnoreCaseAndBlanks) {
    PanelTable t = MainWindowPanels();
    t.Add({L"t", L"k", 70, 1, 2, 3, true}, 24);
    EXPECT_EQ(t.KeptWithoutIndex(1).size(), 3u) << "the last panel is kept";
    const PanelSpec kept = t.KeptWithoutIndex(2).back();
    EXPECT_EQ(std::tuple(kept.text, kept.key, kept.width, kept.foreColor, kept.backColor, kept.borderColor, kept.bold),
              std::tuple(L"t", L"k", 70, 1, 2, -1, false));

    PanelTable keys;
    for (const wchar_t* key : {L" Ñu", L"Date", L"ñU  "})
        keys.Add({L"", key}, 24);
    const auto left = keys.KeptWithoutKey(L"ÑU");
    ASSERT_EQ(left.size(), 1u) << "every panel with the key goes";
    EXPECT_EQ(left[0].key, L"Date");
    EXPECT_EQ(NormaliseKey(L"  Fecha Y Hora AZ  "), L"fecha y hora az");
}

TEST(PanelTable, LabelsAndForeignControlsStayInsideThePanel) {
    PanelTable t;
    t.Add({L"", L"", 100}, 24); // Left 2, Right 100, Top 2, Bottom 21
    t.Add({L"", L"", 80}, 24);  // Left 102, Right 180
    const tPanel& p1 = t.At(1);
    EXPECT_EQ(LabelLeft(p1), 6);
    EXPECT_EQ(LabelRoom(p1), 90);
    EXPECT_EQ(LabelTop(p1, 14), 4); // 2.5 → 2, + 2
    EXPECT_EQ(LabelTop(p1, 12), 6); // 3.5 → 4, + 2

    const tPanel& p = t.At(2);
    EXPECT_EQ(AutoPlacement(p), (Placement{104, 4, 74, 17}));
    PanelTable low;
    low.Add({L"", L"", 100}, 7); // Bottom 4: no room left for a control's height
    EXPECT_EQ(AutoPlacement(low.At(1)), (Placement{4, 4, 94, 0}));
    // Window's own size kept when -1; offsets added as given (left out they are -1).
    EXPECT_EQ(ManualPlacement(p, 3, 5, -1, -1, 20, 10), (Placement{107, 5, 20, 10}));
    EXPECT_EQ(ManualPlacement(p, -1, -1, -1, -1, 20, 10), (Placement{101, 1, 20, 10}));
    EXPECT_EQ(ManualPlacement(p, 0, 0, 500, 500, 1, 1), (Placement{102, 2, 78, 19})) << "cut to the panel";
    EXPECT_EQ(ManualPlacement(p, -1, -1, 500, 500, 1, 1), (Placement{101, 1, 78, 19})) << "its size, not its edge";
    EXPECT_EQ(ManualPlacement(p, 15, 70, 30, 10, 1, 1), (Placement{172, 17, 8, 4})) << "shortened at the edges";
}

TEST(StatusBarSettings, WrittenInOrderWithoutDefaultsAndReadBack) {
    host::PropertyBag bag;
    WriteSavedSettings(bag, SavedSettings{});
    EXPECT_EQ(bag.Size(), 0u) << "every value equals its default";
    EXPECT_EQ(Loaded(bag), std::tuple(true, std::optional(16), true, 0, true, host::Picture{}));
    WriteSavedSettings(bag, SavedSettings{false, 0, false, 1, false, {}});
    EXPECT_EQ(host::PropertyText(bag),
              "Enabled = False\nSkin = 0\nShowBorderPanels = False\nBorderMode = 1\nShowBorderStatusBar = False\n");
    EXPECT_EQ(Loaded(bag), std::tuple(false, std::optional(0), false, 1, false, host::Picture{}));

    // A custom skin hides the Skin entry; one too small for a 15 × 23 tile is left out.
    for (const auto& [custom, usable] : {std::pair(Tile(15, 23), true), std::pair(Tile(14, 23), false),
                                         std::pair(Tile(15, 22), false), std::pair(host::Picture{}, false)}) {
        WriteSavedSettings(bag, SavedSettings{true, 7, true, 0, true, custom});
        EXPECT_EQ(IsUsableCustomSkin(custom), usable);
        const LoadedSettings s = ReadSavedSettings(bag);
        EXPECT_EQ(s.CustomSkin, usable ? custom : host::Picture{}) << custom.raster.width;
        EXPECT_EQ(s.Skin, usable ? std::nullopt : std::optional(7)) << custom.raster.width;
    }
}

TEST(SkinStrip, SamplesAndColoursOfTheEndSkinsAndOfEachBorderKind) {
    struct C {
        int r, g, b;
    };
    const C kFrame{-1, 0, 0}, kFill{-2, 0, 0}; // the border is the tile's own frame or fill colour
    // The first and last skins and one of each border kind (the committed strip pins every tile's pixels).
    // Frame (0, 0), row 1 (7, 1), fill (7, 10), row 21 (7, 21), text colour, panel border colour.
    const struct {
        int skin;
        C row[6];
    } table[] = {
        {0, {{0, 0, 128}, {225, 238, 255}, {205, 226, 252}, {136, 173, 228}, {0, 0, 0}, {176, 204, 243}}},
        {1, {{230, 232, 87}, {246, 247, 185}, {246, 247, 177}, {245, 247, 175}, {0, 0, 0}, kFrame}},
        {9, {{163, 163, 124}, {248, 247, 243}, {236, 231, 224}, {192, 192, 168}, {93, 93, 93}, kFill}},
        {21, {{121, 129, 141}, {255, 255, 255}, {224, 225, 225}, {223, 238, 238}, {50, 50, 89}, {176, 187, 189}}},
    };
    const bmp::Raster strip = gen::BuildStatusBarSkinStrip();
    ASSERT_EQ(std::pair(strip.width, strip.height), std::pair(kStripWidth, kTileHeight));
    auto pixel = [](const C& c) {
        return bmp::Rgb{static_cast<std::uint8_t>(c.r), static_cast<std::uint8_t>(c.g), static_cast<std::uint8_t>(c.b)};
    };
    for (const auto& [k, row] : table) {
        const int x0 = kTileWidth * k;
        EXPECT_EQ((std::array{strip.At(x0, 0), strip.At(x0 + 7, 1), strip.At(x0 + 7, 10), strip.At(x0 + 7, 21)}),
                  (std::array{pixel(row[0]), pixel(row[1]), pixel(row[2]), pixel(row[3])}))
            << "skin " << k;
        const std::uint32_t frame = Rgb(row[0].r, row[0].g, row[0].b), fill = Rgb(row[2].r, row[2].g, row[2].b);
        const C& b = row[5];
        const std::uint32_t border = b.r == kFrame.r ? frame : b.r == kFill.r ? fill : Rgb(b.r, b.g, b.b);
        EXPECT_EQ(SkinTextColour(k, frame), Rgb(row[4].r, row[4].g, row[4].b)) << "skin " << k;
        EXPECT_EQ(SkinPanelBorderColour(k, frame, fill), border) << "skin " << k;
    }
    // Any other skin: the frame mixed with grey, for text and border alike.
    const std::uint32_t frame = Rgb(0, 0, 128), mix = Rgb(45, 45, 131);
    for (std::int32_t skin : {22, -1, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(SkinTextColour(skin, frame), mix) << skin;
        EXPECT_EQ(SkinPanelBorderColour(skin, frame, 0), mix) << skin;
    }
}

TEST(SkinColours, BlendingTileOffsetsAndNinePieces) {
    EXPECT_EQ(BlendRgb(Rgb(255, 255, 255), Rgb(0, 0, 0), 170), Rgb(170, 170, 170));
    EXPECT_EQ(BlendRgb(Rgb(10, 20, 30), Rgb(200, 100, 0), 300), Rgb(10, 20, 30)) << "weights clamped";
    EXPECT_EQ(BlendRgb(Rgb(10, 20, 30), Rgb(200, 100, 0), -5), Rgb(200, 100, 0));
    EXPECT_EQ(BlendRgb(Rgb(1, 0, 0), Rgb(0, 0, 0), 128), Rgb(1, 0, 0)) << "0.502 rounds up";
    EXPECT_EQ(BlendRgb(Rgb(1, 0, 0), Rgb(0, 0, 0), 127), Rgb(0, 0, 0)) << "0.498 rounds down";
    // Tiles are never read outside the strip: a skin past it, or a custom skin, uses the first tile.
    EXPECT_EQ(TileOffset(21, false, 330), 315);
    EXPECT_EQ(TileOffset(5, true, 330), 0);
    for (std::int32_t skin : {22, -1, INT32_MIN, INT32_MAX})
        EXPECT_EQ(TileOffset(skin, false, 330), 0) << skin;
    EXPECT_EQ(TileOffset(2, false, 45), 30);

    const std::array<Piece, 9> expected = {{
        {30, 0, 5, 5, 0, 0, 5, 5},
        {40, 0, 5, 5, 95, 0, 5, 5},
        {35, 0, 5, 5, 5, 0, 90, 5},
        {30, 5, 5, 13, 0, 5, 5, 14},
        {35, 5, 5, 13, 5, 5, 90, 14},
        {40, 5, 5, 13, 95, 5, 5, 14},
        {30, 18, 5, 5, 0, 19, 5, 5},
        {35, 18, 5, 5, 5, 19, 90, 5},
        {40, 18, 5, 5, 95, 19, 5, 5},
    }};
    EXPECT_EQ(NinePieces(30, 100, 24), expected);
    // At 144 dpi the corners are 8 x 8 made from the whole 5 x 5 source corner.
    EXPECT_EQ(NinePieces(30, 150, 36, 8)[8], (Piece{40, 18, 5, 5, 142, 28, 8, 8}));
}
