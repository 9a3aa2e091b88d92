#include "controls/statusbar/saved_settings.h"

#include "controls/statusbar/skin_colours.h"

namespace statusbar {

bool IsUsableCustomSkin(const host::Picture& picture) {
    return !picture.IsNone() && picture.raster.width >= kTileWidth && picture.raster.height >= kTileHeight;
}

void WriteSavedSettings(host::PropertyBag& bag, const SavedSettings& s) {
    bag.WriteBool(L"Enabled", s.Enabled, true);
    bag.WriteLong(L"Skin", s.Skin, kSavedSkinDefault);
    bag.WriteBool(L"ShowBorderPanels", s.ShowBorderPanels, true);
    bag.WriteLong(L"BorderMode", s.BorderMode, 0);
    bag.WriteBool(L"ShowBorderStatusBar", s.ShowBorderStatusBar, true);
    bag.WritePicture(L"CustomSkin", s.CustomSkin, host::Picture{});
}

LoadedSettings ReadSavedSettings(const host::PropertyBag& bag) {
    LoadedSettings s;
    s.Enabled = bag.ReadBool(L"Enabled", true);
    s.ShowBorderPanels = bag.ReadBool(L"ShowBorderPanels", true);
    s.ShowBorderStatusBar = bag.ReadBool(L"ShowBorderStatusBar", true);
    s.BorderMode = bag.ReadLong(L"BorderMode", 0);
    host::Picture custom = bag.ReadPicture(L"CustomSkin");
    if (IsUsableCustomSkin(custom))
        s.CustomSkin = std::move(custom);
    else
        s.Skin = bag.ReadLong(L"Skin", kSavedSkinDefault);
    return s;
}

} // namespace statusbar
