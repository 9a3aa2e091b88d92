// Checks a picture file's bytes before any decoder sees them: an uncompressed .bmp or an .ico whose
// headers, palette and pixel data all lie inside the file. Anything else (truncated, compressed,
// absurd sizes, another format) is refused, so a bad file gives a message instead of a crash.
// Platform-neutral.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace skinbutton {

struct PictureFileLayout {
    enum class Kind { Bitmap, Icon };
    Kind kind = Kind::Bitmap;
    // Bitmap: the info header (with its masks and palette) starts here, the pixels at bitsOffset.
    // Icon: the chosen image's bytes are [imageOffset, imageOffset + imageSize).
    std::size_t infoOffset = 0, bitsOffset = 0, bitsSize = 0;
    std::size_t imageOffset = 0, imageSize = 0;
    int width = 0, height = 0; // pixels
};

constexpr int kMaxPictureSide = 16384;

std::optional<PictureFileLayout> CheckPictureFile(const std::vector<std::uint8_t>& bytes);

} // namespace skinbutton
