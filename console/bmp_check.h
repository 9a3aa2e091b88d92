// Checks a .bmp file's bytes before any of them reach GDI: a truncated or inconsistent file must
// be refused with a reason, never read past its end (the system's own loader does so on a
// truncated file). Platform-neutral.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace console {

struct BmpLayout {
    std::int32_t width = 0;
    std::int32_t height = 0; // negative: rows stored top-down
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;         // 0 uncompressed, 3 with colour masks
    std::uint32_t masks[3] = {0, 0, 0};    // red, green, blue when compression is 3
    std::vector<std::uint8_t> colourTable; // 4 bytes (blue, green, red, 0) per entry
    std::size_t bitsOffset = 0;            // the pixel rows, wholly inside the file
    std::size_t bitsSize = 0;
};

// Uncompressed 1, 4, 8, 16, 24 and 32-bit pictures (16 and 32-bit also with colour masks) with a
// 40, 108 or 124-byte information header. Anything else, or anything that does not fit in the
// file, gives nothing and a reason in the user's words.
std::optional<BmpLayout> CheckBmp(std::span<const std::uint8_t> file, std::wstring* reason);

} // namespace console
