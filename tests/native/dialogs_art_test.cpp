// The committed finder and About pictures are exactly what the generator draws.
#include "resources/gen/dialogs_art.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> Committed(const char* name) {
    auto bytes = gen::ReadFile(std::string(ZEV_RESOURCES_DIR) + "/dialogs/" + name);
    EXPECT_TRUE(bytes) << name << " missing: run scripts/generate-resources.sh";
    return bytes.value_or(std::vector<std::uint8_t>{});
}

} // namespace

TEST(DialogPictures, CommittedFilesEqualTheGeneratorsOutput) {
    const auto logo = bmp::Decode(Committed("about_logo.bmp"));
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->width, 197);
    EXPECT_EQ(logo->height, 77);
    EXPECT_EQ(*logo, gen::AboutLogo());
    EXPECT_EQ(Committed("finder.ico"), bmp::EncodeIcon({gen::FinderIcon()}, gen::kIconTransparent));
    EXPECT_EQ(Committed("about.ico"), bmp::EncodeIcon({gen::AboutIcon()}, gen::kIconTransparent));
}
