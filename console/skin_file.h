// The toolbar's skin picture: "imagenes\Skin_VBNET.bmp" in the program's folder, read once at
// start-up. A missing or unusable file stops start-up, so the reason is put into words here.
#pragma once

#include "win/gdi.h"

#include <string>

namespace console {

// Smallest skin picture the toolbar painter can take its tiles and colours from.
constexpr int kSkinMinWidth = 216;
constexpr int kSkinMinHeight = 23;

// folder + "\imagenes\Skin_VBNET.bmp" (one backslash between folder and "imagenes").
std::wstring SkinFilePath(const std::wstring& programFolder);

struct SkinLoadResult {
    win::Bitmap picture; // set on success
    std::wstring reason; // on failure: why, in the user's words
};
SkinLoadResult LoadSkinPicture(const std::wstring& path);

// The message start-up ends with when the skin cannot be loaded: the file and the reason.
std::wstring SkinFailureMessage(const std::wstring& path, const std::wstring& reason);

} // namespace console
