// Guards the repository, not the program: every picture committed under resources/ must be what its
// generator writes today (a generator changed without regenerating fails here), and the generators' own
// file helpers must report a failed write or read.
#include "controls/button/skin_palette.h"
#include "resources/gen/button_skins.h"
#include "resources/gen/console_art.h"
#include "resources/gen/dialogs_art.h"
#include "resources/gen/statusbar_strip.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <iterator>

using Bytes = std::vector<std::uint8_t>;

namespace {

template <std::size_t N> Bytes Icon(const int (&sizes)[N], bmp::Raster (*draw)(int), bmp::Rgb transparent) {
    std::vector<bmp::Raster> images;
    for (int size : sizes)
        images.push_back(draw(size));
    return bmp::EncodeIcon(images, transparent);
}

} // namespace

TEST(RepositoryArt, CommittedPicturesAreWhatTheirGeneratorsWriteToday) {
    std::vector<std::pair<std::string, Bytes>> files = {
        {"statusbar_skins.bmp", bmp::Encode(gen::BuildStatusBarSkinStrip())},
        {"console/Skin_VBNET.bmp", bmp::Encode(gen::ToolbarSkin())},
        {"console/principal.ico", Icon(gen::kPrincipalIconSizes, gen::PrincipalIcon, gen::kConsoleTransparent)},
        {"dialogs/about_logo.bmp", bmp::Encode(gen::AboutLogo(96))},
        {"dialogs/about_logo_144.bmp", bmp::Encode(gen::AboutLogo(144))},
        {"dialogs/finder.ico", Icon(gen::kDialogIconSizes, gen::FinderIcon, gen::kIconTransparent)},
        {"dialogs/about.ico", Icon(gen::kDialogIconSizes, gen::AboutIcon, gen::kIconTransparent)},
    };
    for (int skin = 0; skin < skinbutton::kBuiltInSkinCount; ++skin)
        files.emplace_back(gen::ButtonSkinFile(skin), bmp::Encode(gen::ButtonSkin(skin)));
    const char* tools[4] = {"tool_dispositivos", "tool_desconectar", "tool_borrar", "tool_acerca"};
    for (int i = 0; i < 4; ++i) {
        files.emplace_back("console/" + std::string(tools[i]) + ".bmp", bmp::Encode(gen::ToolImage(i, 32)));
        files.emplace_back("console/" + std::string(tools[i]) + "_48.bmp", bmp::Encode(gen::ToolImage(i, 48)));
    }
    for (const auto& [name, generated] : files)
        EXPECT_EQ(gen::ReadFile(std::string(ZEV_RESOURCES_DIR) + "/" + name), generated)
            << name << " differs or is missing: run scripts/generate-resources.sh";
    EXPECT_EQ(gen::ButtonSkin(skinbutton::kBuiltInSkinCount).width, 0) << "no picture past the built-in skins";
}

TEST(GeneratorTool, FileHelpersReadBackWhatTheyWroteAndReportFailures) {
    const std::string path = testing::TempDir() + "zev_generator_file.bin";
    const Bytes bytes(70000, 7); // more than one read's buffer
    auto openFiles = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
    const auto filesBefore = openFiles();
    ASSERT_TRUE(gen::WriteFile(path, bytes));
    EXPECT_EQ(gen::ReadFile(path), bytes);
    EXPECT_EQ(openFiles(), filesBefore) << "written and read, the file is closed again";
    std::remove(path.c_str());
    EXPECT_FALSE(gen::ReadFile(path));
    EXPECT_FALSE(gen::WriteFile(testing::TempDir() + "no/such/folder/file.bin", bytes));
    EXPECT_FALSE(gen::WriteFile("/dev/full", bytes)) << "a write the device refuses when the file is closed";
}
