// .ico files: the icons the generators write, and the image of an icon file the button shows.
// Platform-neutral.
#pragma once

#include "bmp/bmp_file.h"

namespace bmp {

// The first image of an icon file: its bytes are [offset, offset + size), wholly inside the file.
struct IconImage {
    std::size_t offset = 0, size = 0;
    int width = 0, height = 0; // pixels
};
std::optional<IconImage> ReadIcon(std::span<const std::uint8_t> file);

// The bytes of a .ico file holding the given images (each at most 256 x 256), 24-bit colour; pixels
// equal to `transparent` (when given) are masked out.
std::vector<std::uint8_t> EncodeIcon(const std::vector<Raster>& images, std::optional<Rgb> transparent = std::nullopt);

} // namespace bmp
