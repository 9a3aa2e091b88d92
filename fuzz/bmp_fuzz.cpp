// Bitmap and icon files: the readers take any bytes without reading outside them, every layout they
// accept lies inside the file, and a decoded picture encodes and decodes to itself.
#include "bmp/ico_file.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    if (const auto layout = bmp::ReadLayout(file)) {
        if (layout->bitsOffset + layout->bitsSize > size || layout->tableOffset + 4 * layout->tableEntries > size)
            std::abort();
    }
    if (const auto raster = bmp::Decode(file)) {
        const auto back = bmp::Decode(bmp::Encode(*raster));
        if (!back || !(*back == *raster))
            std::abort();
    }
    if (const auto icon = bmp::ReadIcon(file)) {
        if (icon->offset + icon->size > size)
            std::abort();
    }
    return 0;
}
