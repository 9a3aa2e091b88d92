// The committed finder and About pictures are exactly what the generator draws.
#include "resources/gen/dialogs_art.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <iterator>
#include <tuple>

namespace {

std::vector<std::uint8_t> Committed(const char* name) {
    auto bytes = gen::ReadFile(std::string(ZEV_RESOURCES_DIR) + "/dialogs/" + name);
    EXPECT_TRUE(bytes) << name << " missing: run scripts/generate-resources.sh";
    return bytes.value_or(std::vector<std::uint8_t>{});
}

} // namespace

TEST(DialogPictures, CommittedFilesEqualTheGeneratorsOutput) {
    for (const auto& [name, dpi, w, h] : {std::tuple{"about_logo.bmp", 96, 197, 77}, {"about_logo_144.bmp", 144, 296, 116}}) {
        const auto logo = bmp::Decode(Committed(name));
        ASSERT_TRUE(logo) << name;
        EXPECT_EQ(std::pair(logo->width, logo->height), std::pair(w, h)) << name;
        EXPECT_EQ(*logo, gen::AboutLogo(dpi)) << name;
    }
    std::vector<gen::Raster> finder, about;
    for (int size : gen::kDialogIconSizes) {
        finder.push_back(gen::FinderIcon(size));
        about.push_back(gen::AboutIcon(size));
    }
    EXPECT_EQ(Committed("finder.ico"), bmp::EncodeIcon(finder, gen::kIconTransparent));
    EXPECT_EQ(Committed("about.ico"), bmp::EncodeIcon(about, gen::kIconTransparent));
}

TEST(GeneratorFiles, WrittenBytesReadBackAndFailuresAreReported) {
    const std::string path = testing::TempDir() + "zev_generator_file.bin";
    const std::vector<std::uint8_t> bytes(70000, 7); // more than one read's buffer
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
