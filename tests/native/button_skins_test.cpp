// The 22 built-in button skins: the committed bitmaps are the generator's output, and each skin's
// colours are the published ones.
#include "controls/button/skin_palette.h"
#include "resources/gen/button_skins.h"

#include <gtest/gtest.h>

#include <array>

using namespace skinbutton;

TEST(ButtonSkins, CommittedBitmapsAreTheGeneratorsOutput) {
    for (int skin = 0; skin < kBuiltInSkinCount; ++skin) {
        const std::string path = std::string(ZEV_RESOURCES_DIR) + "/" + gen::ButtonSkinFile(skin);
        const auto bytes = gen::ReadFile(path);
        ASSERT_TRUE(bytes) << path;
        const auto committed = bmp::Decode(*bytes);
        ASSERT_TRUE(committed) << path;
        EXPECT_EQ(std::pair(committed->width, committed->height), std::pair(105, 23)) << path;
        EXPECT_TRUE(*committed == gen::ButtonSkin(skin)) << path << " differs: run scripts/generate-resources.sh";
    }
    EXPECT_EQ(gen::ButtonSkinFile(0), "button_skins/skin101.bmp");
    EXPECT_EQ(gen::ButtonSkin(22).width, 0);
}

TEST(ButtonSkins, EachSkinsColoursAsPublished) {
    using C = std::array<int, 3>;
    // BackColorSkinDefault, BorderColorSkinDefault, ForeColorNormal, Up, Down, Disabled, Check.
    const std::array<C, 7> table[kBuiltInSkinCount] = {
        {{{237, 244, 254}, {212, 230, 253}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {144, 144, 144}, {0, 0, 0}}},
        {{{251, 252, 227}, {239, 242, 159}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {147, 157, 17}, {0, 0, 0}}},
        {{{253, 253, 255}, {232, 236, 255}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {190, 190, 190}, {0, 0, 0}}},
        {{{251, 251, 248}, {230, 230, 223}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {190, 190, 190}, {0, 0, 0}}},
        {{{255, 242, 255}, {255, 213, 255}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {255, 166, 255}, {0, 0, 0}}},
        {{{0, 75, 121}, {98, 158, 199}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {0, 0, 0}, {255, 255, 255}}},
        {{{58, 64, 78},
          {96, 106, 133},
          {255, 255, 255},
          {255, 255, 255},
          {255, 255, 255},
          {190, 190, 190},
          {255, 255, 255}}},
        {{{0, 0, 0},
          {112, 65, 39},
          {255, 255, 255},
          {255, 255, 255},
          {255, 255, 255},
          {170, 170, 170},
          {255, 255, 255}}},
        {{{0, 0, 0}, {0, 98, 0}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {170, 170, 170}, {255, 255, 255}}},
        {{{248, 247, 243}, {227, 223, 212}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {190, 190, 190}, {0, 0, 0}}},
        {{{251, 252, 255}, {214, 213, 217}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {190, 190, 190}, {255, 255, 255}}},
        {{{255, 255, 255}, {236, 236, 238}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {190, 190, 190}, {0, 0, 0}}},
        {{{243, 243, 243}, {227, 227, 227}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {190, 190, 190}, {0, 0, 0}}},
        {{{233, 233, 233}, {202, 202, 202}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {180, 180, 180}, {255, 255, 255}}},
        {{{240, 244, 255}, {191, 209, 233}, {34, 66, 125}, {0, 0, 0}, {0, 0, 0}, {101, 146, 214}, {255, 255, 255}}},
        {{{251, 252, 255},
          {213, 214, 218},
          {41, 90, 171},
          {41, 90, 171},
          {255, 255, 255},
          {161, 161, 146},
          {41, 90, 171}}},
        {{{240, 244, 255}, {191, 209, 233}, {23, 51, 96}, {23, 51, 96}, {23, 51, 96}, {115, 155, 221}, {23, 51, 96}}},
        {{{39, 75, 22}, {66, 95, 50}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {161, 161, 146}, {0, 0, 0}}},
        {{{251, 251, 251}, {215, 215, 215}, {48, 98, 139}, {0, 0, 0}, {0, 0, 0}, {161, 161, 146}, {0, 0, 0}}},
        {{{231, 238, 245},
          {210, 223, 238},
          {0, 0, 0},
          {255, 255, 255},
          {255, 255, 255},
          {111, 153, 200},
          {255, 255, 255}}},
        {{{51, 103, 189},
          {210, 223, 238},
          {255, 255, 255},
          {255, 255, 255},
          {255, 255, 255},
          {180, 180, 180},
          {255, 255, 255}}},
        {{{241, 243, 248}, {178, 182, 197}, {5, 50, 89}, {5, 50, 89}, {5, 50, 89}, {213, 216, 225}, {5, 50, 89}}},
    };
    auto number = [](const C& c) { return static_cast<std::uint32_t>(c[0] + 256 * c[1] + 65536 * c[2]); };
    for (int skin = 0; skin < kBuiltInSkinCount; ++skin) {
        const SkinColours* got = BuiltInSkinColours(skin);
        ASSERT_TRUE(got) << skin;
        const auto& row = table[skin];
        EXPECT_EQ((std::array{got->backDefault, got->borderDefault, got->foreNormal, got->foreUp, got->foreDown,
                              got->foreDisabled, got->foreCheck}),
                  (std::array{number(row[0]), number(row[1]), number(row[2]), number(row[3]), number(row[4]),
                              number(row[5]), number(row[6])}))
            << "skin " << skin;
    }
    for (int skin : {-1, kSkinLink, kSkinCustom})
        EXPECT_EQ(BuiltInSkinColours(skin), nullptr) << skin;
}
