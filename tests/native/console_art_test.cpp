// The main window's committed pictures are what the generator draws, and the skin has the layout
// the toolbar painter reads.
#include "resources/gen/console_art.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> Committed(const char* name) {
    auto bytes = gen::ReadFile(std::string(ZEV_RESOURCES_DIR) + "/console/" + name);
    EXPECT_TRUE(bytes) << name << " missing: run scripts/generate-resources.sh";
    return bytes.value_or(std::vector<std::uint8_t>{});
}

} // namespace

TEST(ConsolePictures, CommittedFilesEqualTheGeneratorsOutput) {
    EXPECT_EQ(Committed("Skin_VBNET.bmp"), bmp::Encode(gen::ToolbarSkin()));
    EXPECT_EQ(Committed("principal.ico"),
              bmp::EncodeIcon({gen::PrincipalIcon(32), gen::PrincipalIcon(16)}, gen::kConsoleTransparent));
    const char* const tools[4] = {"tool_dispositivos.bmp", "tool_desconectar.bmp", "tool_borrar.bmp",
                                  "tool_acerca.bmp"};
    for (int i = 0; i < 4; ++i) {
        const auto image = bmp::Decode(Committed(tools[i]));
        ASSERT_TRUE(image) << tools[i];
        EXPECT_EQ(image->width, 32);
        EXPECT_EQ(image->height, 32);
        EXPECT_EQ(*image, gen::ToolImage(i)) << tools[i];
    }
}

TEST(ConsolePictures, TheSkinHasTheToolbarPaintersLayout) {
    const gen::Raster skin = gen::ToolbarSkin();
    ASSERT_EQ(std::pair(skin.width, skin.height), std::pair(216, 23));
    const gen::Rgb magenta = gen::kConsoleTransparent;
    // The three text colours, told apart.
    EXPECT_EQ(skin.At(215, 0), gen::kSkinTextNormal);
    EXPECT_EQ(skin.At(215, 6), gen::kSkinTextDown);
    EXPECT_EQ(skin.At(215, 10), gen::kSkinTextDisabled);
    EXPECT_NE(gen::kSkinTextDown, gen::kSkinTextDisabled);
    // Frame tiles drawn in the middle, transparent in the outer corner; hot and pressed differ.
    for (int t = 0; t < 12; ++t)
        EXPECT_TRUE(skin.At(15 * t + 7, 11) != magenta && skin.At(15 * t, 0) == magenta) << "tile " << t;
    EXPECT_NE(skin.At(7, 11), skin.At(15 + 7, 11));
    // The arrows, enabled and disabled, drawn differently with magenta around.
    EXPECT_TRUE(skin.At(183, 3) != magenta && skin.At(183, 10) != magenta);
    EXPECT_NE(skin.At(183, 3), skin.At(183, 10));
    EXPECT_EQ(skin.At(180, 0), magenta);
    // The background is opaque over its whole 15 x 23 tile.
    for (int y = 0; y < 23; ++y)
        for (int x = 195; x < 210; ++x)
            ASSERT_NE(skin.At(x, y), magenta) << x << "," << y;
}
