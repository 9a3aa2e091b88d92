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
    EXPECT_EQ(Committed("principal.ico"),
              bmp::EncodeIcon({gen::PrincipalIcon(32), gen::PrincipalIcon(16)}, gen::kConsoleTransparent));
    const char* const tools[4] = {"tool_dispositivos.bmp", "tool_desconectar.bmp", "tool_borrar.bmp",
                                  "tool_acerca.bmp"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bmp::Decode(Committed(tools[i])), gen::ToolImage(i)) << tools[i];
    }
}
