// The 22 built-in button skins: the committed bitmaps are the generator's output, and every frame
// looks like the state it stands for.
#include "controls/button/paint_rules.h"
#include "controls/button/skin_palette.h"
#include "resources/gen/button_skins.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

using namespace skinbutton;

namespace {

int Luma(gen::Rgb c) {
    return (299 * c.r + 587 * c.g + 114 * c.b) / 1000;
}
int Distance(gen::Rgb a, gen::Rgb b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}
gen::Rgb Centre(const gen::Raster& r, int frame) {
    return r.At(frame * gen::kButtonFrameWidth + 7, 11);
}
gen::Rgb FromColour(std::uint32_t c) {
    return {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>(c >> 8 & 0xFF),
            static_cast<std::uint8_t>(c >> 16 & 0xFF)};
}

} // namespace

TEST(ButtonSkins, CommittedBitmapsAreTheGeneratorsOutput) {
    for (int skin = 0; skin < kBuiltInSkinCount; ++skin) {
        const std::string path = std::string(ZEV_RESOURCES_DIR) + "/" + gen::ButtonSkinFile(skin);
        const auto bytes = gen::ReadFile(path);
        ASSERT_TRUE(bytes) << path;
        const auto committed = gen::DecodeBmp(*bytes);
        ASSERT_TRUE(committed) << path;
        EXPECT_EQ(committed->width, 105);
        EXPECT_EQ(committed->height, 23);
        EXPECT_TRUE(*committed == gen::ButtonSkin(skin)) << path << " differs: run scripts/generate-resources.sh";
    }
    EXPECT_EQ(gen::ButtonSkinFile(0), "button_skins/skin101.bmp");
    EXPECT_EQ(gen::ButtonSkin(22).width, 0);
}

TEST(ButtonSkins, EachFrameShowsItsState) {
    for (int skin = 0; skin < kBuiltInSkinCount; ++skin) {
        SCOPED_TRACE(skin);
        const gen::Raster r = gen::ButtonSkin(skin);
        // Centres and the corner blocks tell the seven frames apart, so a wrong frame shows.
        for (int a = 0; a < kStateCount; ++a) {
            for (int b = a + 1; b < kStateCount; ++b) {
                EXPECT_GE(Distance(Centre(r, a), Centre(r, b)), 6) << "frames " << a << " and " << b;
                EXPECT_NE(r.At(a * 15 + 2, 2), r.At(b * 15 + 2, 2)) << "frames " << a << " and " << b;
            }
        }
        // Normal and hot are lit from above; pressed and checked from below.
        auto lit = [&](int frame) { return Luma(r.At(frame * 15 + 7, 3)) - Luma(r.At(frame * 15 + 7, 19)); };
        EXPECT_GE(lit(kStateNormal), 0); // a white face cannot be lit any more
        EXPECT_GT(lit(kStateHot), 0);
        EXPECT_LT(lit(kStatePressed), 0);
        EXPECT_LT(lit(kStateChecked), 0);
        EXPECT_NE(r.At(kStateHot * 15 + 7, 0), r.At(kStateNormal * 15 + 7, 0)) << "hot has its own border";
        for (int frame : {kStateDisabled, kStateDisabledChecked}) {
            const gen::Rgb c = Centre(r, frame);
            EXPECT_LE(std::abs(c.r - c.g) + std::abs(c.g - c.b), 2) << "disabled frames are grey";
            EXPECT_GE(std::abs(Luma(c) - Luma(FromColour(BuiltInSkinColours(skin)->foreDisabled))), 44)
                << "the disabled caption stays readable";
        }
        // The face carries the skin's colour: the normal frame's bottom rows are its BackColorSkinDefault.
        EXPECT_LE(Distance(r.At(kStateNormal * 15 + 7, 20), FromColour(BuiltInSkinColours(skin)->backDefault)), 3);
    }
}
