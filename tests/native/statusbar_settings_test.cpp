// The status bar's saved property set: the entries in their order without their defaults, and what is
// read back, a custom skin too small for a tile counting as none.
#include "controls/host/property_text.h"
#include "controls/statusbar/saved_settings.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace statusbar;

namespace {

host::Picture Tile(int width, int height) {
    return {bmp::Raster(width, height, {1, 2, 3})};
}
auto Loaded(const host::PropertyBag& bag) {
    const LoadedSettings s = ReadSavedSettings(bag);
    return std::tuple(s.Enabled, s.Skin, s.ShowBorderPanels, s.BorderMode, s.ShowBorderStatusBar, s.CustomSkin);
}

} // namespace

TEST(StatusBarSettings, WrittenInOrderWithoutDefaultsAndReadBack) {
    host::PropertyBag bag;
    WriteSavedSettings(bag, SavedSettings{});
    EXPECT_EQ(bag.Size(), 0u) << "every value equals its default";
    EXPECT_EQ(Loaded(bag), std::tuple(true, std::optional(16), true, 0, true, host::Picture{}));
    WriteSavedSettings(bag, SavedSettings{false, 0, false, 1, false, {}});
    EXPECT_EQ(host::PropertyText(bag),
              "Enabled = False\nSkin = 0\nShowBorderPanels = False\nBorderMode = 1\nShowBorderStatusBar = False\n");
    EXPECT_EQ(Loaded(bag), std::tuple(false, std::optional(0), false, 1, false, host::Picture{}));

    // A custom skin hides the Skin entry; one too small for a 15 × 23 tile is left out.
    for (const auto& [custom, usable] : {std::pair(Tile(15, 23), true), std::pair(Tile(14, 23), false),
                                         std::pair(Tile(15, 22), false), std::pair(host::Picture{}, false)}) {
        WriteSavedSettings(bag, SavedSettings{true, 7, true, 0, true, custom});
        EXPECT_EQ(IsUsableCustomSkin(custom), usable);
        const LoadedSettings s = ReadSavedSettings(bag);
        EXPECT_EQ(s.CustomSkin, usable ? custom : host::Picture{}) << custom.raster.width;
        EXPECT_EQ(s.Skin, usable ? std::nullopt : std::optional(7)) << custom.raster.width;
    }
}
