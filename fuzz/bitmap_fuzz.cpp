// Bitmap files: the skin check and the decoder take any bytes without reading outside them, and a
// decoded raster encodes and decodes to itself.
#include "console/bmp_check.h"
#include "resources/gen/bitmap.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring reason;
    (void)console::CheckBmp(std::span<const std::uint8_t>(data, size), &reason);
    const std::vector<std::uint8_t> bytes(data, data + size);
    if (const auto raster = gen::DecodeBmp(bytes)) {
        const auto back = gen::DecodeBmp(gen::EncodeBmp(*raster));
        if (!back || !(*back == *raster))
            std::abort();
    }
    return 0;
}
