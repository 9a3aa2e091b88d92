// The committed finder and About pictures are exactly what the generator draws.
#include "resources/gen/dialogs_art.h"

#include <gtest/gtest.h>

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
        const auto logo = gen::DecodeBmp(Committed(name));
        ASSERT_TRUE(logo) << name;
        EXPECT_EQ(std::pair(logo->width, logo->height), std::pair(w, h)) << name;
        EXPECT_EQ(*logo, gen::AboutLogo(dpi)) << name;
    }
    std::vector<gen::Raster> finder, about;
    for (int size : gen::kDialogIconSizes) {
        finder.push_back(gen::FinderIcon(size));
        about.push_back(gen::AboutIcon(size));
    }
    EXPECT_EQ(Committed("finder.ico"), gen::EncodeIco(finder, gen::kIconTransparent));
    EXPECT_EQ(Committed("about.ico"), gen::EncodeIco(about, gen::kIconTransparent));
}
