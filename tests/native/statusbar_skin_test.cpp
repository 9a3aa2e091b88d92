// The status bar's skin: the committed strip equals the generator's output and shows the sampled
// colours; colour rules, tile offsets, the nine-piece stretch and the saved settings.
#include "controls/statusbar/saved_settings.h"
#include "controls/statusbar/skin_colours.h"
#include "resources/gen/statusbar_strip.h"

#include <gtest/gtest.h>

#include <climits>

using namespace statusbar;

namespace {

std::uint32_t Num(gen::Rgb c) {
    return Rgb(c.r, c.g, c.b);
}

} // namespace

TEST(SkinStrip, CommittedBitmapIsTheGeneratorsOutput) {
    const auto bytes = gen::ReadFile(std::string(ZEV_RESOURCES_DIR) + "/statusbar_skins.bmp");
    ASSERT_TRUE(bytes) << "resources/statusbar_skins.bmp is missing: run scripts/generate-resources.sh";
    EXPECT_EQ(*bytes, gen::EncodeBmp(gen::BuildStatusBarSkinStrip()));
}

TEST(SkinStrip, EveryTileShowsItsSampledColoursInsideAOnePixelFrame) {
    const gen::Raster strip = gen::BuildStatusBarSkinStrip();
    ASSERT_EQ(strip.width, 330);
    ASSERT_EQ(strip.height, 23);
    // A few rows of the table spelled out, so a slip in the shared table shows up here too.
    EXPECT_EQ(Num(strip.At(0, 0)), Rgb(0, 0, 128));
    EXPECT_EQ(Num(strip.At(7, 10)), Rgb(205, 226, 252));
    EXPECT_EQ(Num(strip.At(15 * 16 + 7, 21)), Rgb(207, 240, 255));
    EXPECT_EQ(Num(strip.At(15 * 21, 0)), Rgb(121, 129, 141));
    for (int k = 0; k < 22; ++k) {
        const auto& s = gen::kStatusBarTileSamples[static_cast<std::size_t>(k)];
        const int x0 = 15 * k;
        EXPECT_EQ(strip.At(x0, 0), s.frame) << k;
        EXPECT_EQ(strip.At(x0 + 7, 1), s.row1) << k;
        EXPECT_EQ(strip.At(x0 + 7, 10), s.fill) << k;
        EXPECT_EQ(strip.At(x0 + 7, 21), s.row21) << k;
        for (int x = 3; x < 12; ++x) {
            EXPECT_EQ(strip.At(x0 + x, 0), s.frame) << k;
            EXPECT_EQ(strip.At(x0 + x, 22), s.frame) << k;
        }
        for (int y = 3; y < 20; ++y) {
            EXPECT_EQ(strip.At(x0, y), s.frame) << k;
            EXPECT_EQ(strip.At(x0 + 14, y), s.frame) << k;
            EXPECT_EQ(strip.At(x0 + 1, y), strip.At(x0 + 13, y)) << "one colour per row, skin " << k;
        }
    }
}

TEST(SkinStrip, GlassTilesStepBetweenRowsNineAndTwelve) {
    const gen::Raster strip = gen::BuildStatusBarSkinStrip();
    auto lum = [&](int k, int y) {
        const gen::Rgb c = strip.At(15 * k + 7, y);
        return c.r + c.g + c.b;
    };
    for (int k = 0; k < 22; ++k) {
        int largest = 0, at = 0;
        for (int y = 2; y <= 20; ++y) {
            const int step = std::abs(lum(k, y) - lum(k, y - 1));
            if (step > largest)
                largest = step, at = y;
        }
        if (gen::StatusBarTileIsGlass(k)) {
            EXPECT_GE(at, 10) << k;
            EXPECT_LE(at, 12) << k;
        } else if (!gen::StatusBarTileHasEdgeRows(k)) {
            EXPECT_LE(largest, 60) << "a gradual tile, skin " << k;
        }
    }
    EXPECT_NE(strip.At(15 * 10 + 1, 1), strip.At(15 * 10 + 7, 1)) << "tile 10 turns its corner";
    EXPECT_EQ(strip.At(15 * 11 + 1, 1), strip.At(15 * 11 + 7, 1)) << "tile 11 is square";
}

TEST(SkinColours, BlendAndPerSkinColours) {
    EXPECT_EQ(BlendRgb(Rgb(255, 255, 255), Rgb(0, 0, 0), 170), Rgb(170, 170, 170));
    EXPECT_EQ(BlendRgb(Rgb(10, 20, 30), Rgb(200, 100, 0), 255), Rgb(10, 20, 30));
    EXPECT_EQ(BlendRgb(Rgb(10, 20, 30), Rgb(200, 100, 0), 0), Rgb(200, 100, 0));
    EXPECT_EQ(BlendRgb(Rgb(1, 0, 0), Rgb(0, 0, 0), 128), Rgb(1, 0, 0)) << "0.502 rounds up";
    EXPECT_EQ(BlendRgb(Rgb(1, 0, 0), Rgb(0, 0, 0), 127), Rgb(0, 0, 0)) << "0.498 rounds down";
    const std::uint32_t frame = Rgb(0, 0, 128), fill = Rgb(205, 226, 252);
    EXPECT_EQ(SkinTextColour(0, frame), Rgb(0, 0, 0));
    EXPECT_EQ(SkinPanelBorderColour(0, frame, fill), Rgb(176, 204, 243));
    EXPECT_EQ(SkinPanelBorderColour(1, frame, fill), frame);
    EXPECT_EQ(SkinPanelBorderColour(9, frame, fill), fill);
    EXPECT_EQ(SkinTextColour(2, frame), Rgb(0, 0, 255));
    EXPECT_EQ(SkinTextColour(16, frame), Rgb(81, 115, 155));
    EXPECT_EQ(SkinPanelBorderColour(16, frame, fill), Rgb(158, 210, 250));
    EXPECT_EQ(SkinTextColour(21, frame), Rgb(50, 50, 89));
    // Any other skin: the frame mixed with grey, for text and border alike.
    const std::uint32_t mix = BlendRgb(frame, Rgb(136, 136, 136), 170);
    EXPECT_EQ(mix, Rgb(45, 45, 131));
    for (std::int32_t skin : {22, 25, -1, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(SkinTextColour(skin, frame), mix) << skin;
        EXPECT_EQ(SkinPanelBorderColour(skin, frame, fill), mix) << skin;
    }
}

TEST(SkinColours, TilesAreNeverReadOutsideTheStrip) {
    EXPECT_EQ(TileOffset(0, false, 330), 0);
    EXPECT_EQ(TileOffset(21, false, 330), 315);
    EXPECT_EQ(TileOffset(5, true, 330), 0) << "a custom skin's first tile";
    for (std::int32_t skin : {22, 25, -1, INT32_MIN, INT32_MAX})
        EXPECT_EQ(TileOffset(skin, false, 330), 0) << skin;
    EXPECT_EQ(TileOffset(3, false, 45), 0) << "a shorter strip than usual";
    EXPECT_EQ(TileOffset(2, false, 45), 30);
}

TEST(SkinColours, NinePiecesCoverTheRectangleWithoutGapsOrOverlap) {
    const auto pieces = NinePieces(30, 100, 24);
    EXPECT_EQ(pieces[0], (Piece{30, 0, 5, 5, 0, 0, 5, 5}));
    EXPECT_EQ(pieces[4], (Piece{35, 5, 5, 13, 5, 5, 90, 14}));
    EXPECT_EQ(pieces[8], (Piece{40, 18, 5, 5, 95, 19, 5, 5}));
    std::vector<int> covered(100 * 24, 0);
    for (const Piece& p : pieces) {
        EXPECT_GE(p.sx, 30);
        EXPECT_LE(p.sx + p.sw, 45) << "inside the tile";
        EXPECT_LE(p.sy + p.sh, 23);
        for (int y = p.dy; y < p.dy + p.dh; ++y)
            for (int x = p.dx; x < p.dx + p.dw; ++x)
                ++covered[static_cast<std::size_t>(y * 100 + x)];
    }
    EXPECT_EQ(std::count(covered.begin(), covered.end(), 1), 100 * 24);
}

TEST(SavedSettings, DefaultsAreNotStoredAndAMissingSkinReadsAsSixteen) {
    host::PropertyBag bag;
    SavedSettings s;
    WriteSavedSettings(bag, s);
    EXPECT_TRUE(bag.Empty());
    const LoadedSettings none = ReadSavedSettings(bag);
    EXPECT_TRUE(none.Enabled);
    EXPECT_TRUE(none.ShowBorderPanels);
    EXPECT_TRUE(none.ShowBorderStatusBar);
    EXPECT_EQ(none.BorderMode, 0);
    EXPECT_TRUE(none.CustomSkin.IsNone());
    EXPECT_EQ(none.Skin, 16);

    s.Skin = 0;
    s.Enabled = false;
    s.BorderMode = 1;
    WriteSavedSettings(bag, s);
    ASSERT_EQ(bag.Size(), 3u);
    EXPECT_EQ(bag.Entries()[0].name, L"Enabled");
    EXPECT_EQ(bag.Entries()[1].name, L"Skin");
    EXPECT_EQ(bag.Entries()[2].name, L"BorderMode");
    const LoadedSettings back = ReadSavedSettings(bag);
    EXPECT_EQ(back.Skin, 0) << "skin 0 is stored, so it is not mistaken for the default";
    EXPECT_FALSE(back.Enabled);
    EXPECT_EQ(back.BorderMode, 1);
}

TEST(SavedSettings, ACustomSkinHidesTheSkinEntryUnlessItIsTooSmallForATile) {
    host::PropertyBag bag;
    bag.WriteLong(L"skin", 5);
    bag.WritePicture(L"customskin", host::Picture{gen::Raster(15, 23, {1, 2, 3})});
    const LoadedSettings s = ReadSavedSettings(bag);
    EXPECT_FALSE(s.Skin.has_value());
    EXPECT_EQ(s.CustomSkin.raster.width, 15);
    bag.WritePicture(L"CustomSkin", host::Picture{gen::Raster(14, 23, {1, 2, 3})});
    const LoadedSettings small = ReadSavedSettings(bag);
    EXPECT_TRUE(small.CustomSkin.IsNone()) << "a picture smaller than one tile is not used";
    EXPECT_EQ(small.Skin, 5);
}
