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
    EXPECT_EQ(Committed("Skin_VBNET.bmp"), gen::EncodeBmp(gen::ToolbarSkin()));
    std::vector<gen::Raster> icons;
    for (int size : gen::kPrincipalIconSizes)
        icons.push_back(gen::PrincipalIcon(size));
    EXPECT_EQ(Committed("principal.ico"), gen::EncodeIco(icons, gen::kConsoleTransparent));
    const std::string tools[4] = {"tool_dispositivos", "tool_desconectar", "tool_borrar", "tool_acerca"};
    for (int i = 0; i < 4; ++i)
        for (const auto& [suffix, size] : {std::pair{"", 32}, std::pair{"_48", 48}}) {
            const auto image = gen::DecodeBmp(Committed((tools[i] + suffix + ".bmp").c_str()));
            ASSERT_TRUE(image) << tools[i] << suffix;
            EXPECT_EQ(std::pair(image->width, image->height), std::pair(size, size));
            EXPECT_EQ(*image, gen::ToolImage(i, size)) << tools[i] << suffix;
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
