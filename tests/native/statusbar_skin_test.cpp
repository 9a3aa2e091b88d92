// The status bar's skin: the committed strip equals the generator's output and shows the sampled
// colours; colour rules, tile offsets and the nine-piece stretch.
#include "controls/statusbar/skin_colours.h"
#include "resources/gen/statusbar_strip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

using namespace statusbar;

TEST(SkinStrip, CommittedBitmapIsTheGeneratorsOutput) {
    const auto bytes = gen::ReadFile(std::string(ZEV_RESOURCES_DIR) + "/statusbar_skins.bmp");
    ASSERT_TRUE(bytes) << "resources/statusbar_skins.bmp is missing: run scripts/generate-resources.sh";
    EXPECT_EQ(*bytes, gen::EncodeBmp(gen::BuildStatusBarSkinStrip()));
}

TEST(SkinStrip, EveryTileShowsItsSampledColoursInsideAOnePixelFrame) {
    const gen::Raster strip = gen::BuildStatusBarSkinStrip();
    ASSERT_EQ(strip.width, 330);
    ASSERT_EQ(strip.height, 23);
    // Rows of the table spelled out, so a slip in the shared table shows up here too (the drawing
    // tests spell out skins 0 and 16 through the control).
    EXPECT_EQ(strip.At(15 * 16 + 7, 21), (gen::Rgb{207, 240, 255}));
    EXPECT_EQ(strip.At(15 * 21, 0), (gen::Rgb{121, 129, 141}));
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

TEST(SkinColours, BlendPerSkinColoursAndTileOffsets) {
    EXPECT_EQ(BlendRgb(Rgb(255, 255, 255), Rgb(0, 0, 0), 170), Rgb(170, 170, 170));
    EXPECT_EQ(BlendRgb(Rgb(10, 20, 30), Rgb(200, 100, 0), 255), Rgb(10, 20, 30));
    EXPECT_EQ(BlendRgb(Rgb(10, 20, 30), Rgb(200, 100, 0), 0), Rgb(200, 100, 0));
    EXPECT_EQ(BlendRgb(Rgb(1, 0, 0), Rgb(0, 0, 0), 128), Rgb(1, 0, 0)) << "0.502 rounds up";
    EXPECT_EQ(BlendRgb(Rgb(1, 0, 0), Rgb(0, 0, 0), 127), Rgb(0, 0, 0)) << "0.498 rounds down";
    const std::uint32_t frame = Rgb(0, 0, 128), fill = Rgb(205, 226, 252);
    const std::uint32_t mix = Rgb(45, 45, 131); // the frame mixed with grey: any other skin
    struct Case {
        std::int32_t skin;
        std::uint32_t text, border;
    };
    const Case cases[] = {{0, Rgb(0, 0, 0), Rgb(176, 204, 243)},
                          {1, Rgb(0, 0, 0), frame},
                          {2, Rgb(0, 0, 255), Rgb(205, 205, 207)},
                          {9, Rgb(93, 93, 93), fill},
                          {16, Rgb(81, 115, 155), Rgb(158, 210, 250)},
                          {21, Rgb(50, 50, 89), Rgb(176, 187, 189)},
                          {22, mix, mix},
                          {-1, mix, mix},
                          {INT32_MIN, mix, mix},
                          {INT32_MAX, mix, mix}};
    for (const Case& c : cases) {
        EXPECT_EQ(SkinTextColour(c.skin, frame), c.text) << c.skin;
        EXPECT_EQ(SkinPanelBorderColour(c.skin, frame, fill), c.border) << c.skin;
    }
    // Tiles are never read outside the strip: a skin past it, or a custom skin, uses the first tile.
    EXPECT_EQ(TileOffset(21, false, 330), 315);
    EXPECT_EQ(TileOffset(5, true, 330), 0);
    for (std::int32_t skin : {22, -1, INT32_MIN, INT32_MAX})
        EXPECT_EQ(TileOffset(skin, false, 330), 0) << skin;
    EXPECT_EQ(TileOffset(3, false, 45), 0) << "a shorter strip than usual";
    EXPECT_EQ(TileOffset(2, false, 45), 30);
}

TEST(SkinColours, NinePiecesCoverTheRectangleWithoutGapsOrOverlapAtEveryCornerSize) {
    const auto pieces = NinePieces(30, 100, 24);
    EXPECT_EQ(pieces[0], (Piece{30, 0, 5, 5, 0, 0, 5, 5}));
    EXPECT_EQ(pieces[4], (Piece{35, 5, 5, 13, 5, 5, 90, 14}));
    EXPECT_EQ(pieces[8], (Piece{40, 18, 5, 5, 95, 19, 5, 5}));
    // At 144 dpi the corners are 8 x 8 made from the whole 5 x 5 source corner.
    EXPECT_EQ(NinePieces(30, 150, 36, 8)[8], (Piece{40, 18, 5, 5, 142, 28, 8, 8}));
    for (const int corner : {5, 8, 10}) {
        const int w = 20 * corner, h = 5 * corner;
        std::vector<int> covered(static_cast<std::size_t>(w * h), 0);
        for (const Piece& p : NinePieces(30, w, h, corner)) {
            EXPECT_GE(p.sx, 30);
            EXPECT_LE(p.sx + p.sw, 45) << "inside the tile";
            EXPECT_LE(p.sy + p.sh, 23);
            for (int y = p.dy; y < p.dy + p.dh; ++y)
                for (int x = p.dx; x < p.dx + p.dw; ++x)
                    ++covered[static_cast<std::size_t>(y * w + x)];
        }
        EXPECT_EQ(std::count(covered.begin(), covered.end(), 1), w * h) << "corner " << corner;
    }
}
