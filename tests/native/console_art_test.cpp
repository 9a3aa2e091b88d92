// The main window's committed pictures are what the generator draws (the toolbar painter reading the
// skin's layout is proven on the main window's toolbar).
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
    std::vector<gen::Raster> icons;
    for (int size : gen::kPrincipalIconSizes)
        icons.push_back(gen::PrincipalIcon(size));
    EXPECT_EQ(Committed("principal.ico"), bmp::EncodeIcon(icons, gen::kConsoleTransparent));
    const std::string tools[4] = {"tool_dispositivos", "tool_desconectar", "tool_borrar", "tool_acerca"};
    for (int i = 0; i < 4; ++i)
        for (const auto& [suffix, size] : {std::pair{"", 32}, std::pair{"_48", 48}}) {
            const auto image = bmp::Decode(Committed((tools[i] + suffix + ".bmp").c_str()));
            ASSERT_TRUE(image) << tools[i] << suffix;
            EXPECT_EQ(std::pair(image->width, image->height), std::pair(size, size));
            EXPECT_EQ(*image, gen::ToolImage(i, size)) << tools[i] << suffix;
        }
}
