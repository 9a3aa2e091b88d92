// The status bar's saved property set: names, order and defaults. Platform-neutral.
#pragma once

#include "controls/host/property_bag.h"

#include <optional>

namespace statusbar {

// A saved set without a "Skin" entry gives this skin; a new instance starts with skin 0.
constexpr std::int32_t kSavedSkinDefault = 16;

struct SavedSettings {
    bool Enabled = true;
    std::int32_t Skin = kSavedSkinDefault;
    bool ShowBorderPanels = true;
    std::int32_t BorderMode = 0;
    bool ShowBorderStatusBar = true;
    host::Picture CustomSkin; // none by default
};

// Writes the six entries in their order, each with its default (a default value is not stored).
void WriteSavedSettings(host::PropertyBag& bag, const SavedSettings& settings);

struct LoadedSettings {
    bool Enabled = true;
    bool ShowBorderPanels = true;
    std::int32_t BorderMode = 0;
    bool ShowBorderStatusBar = true;
    host::Picture CustomSkin;         // none when missing or too small to hold one tile
    std::optional<std::int32_t> Skin; // read only when there is no usable custom skin
};
LoadedSettings ReadSavedSettings(const host::PropertyBag& bag);

// A custom skin must hold at least one 15 × 23 tile.
bool IsUsableCustomSkin(const host::Picture& picture);

} // namespace statusbar
