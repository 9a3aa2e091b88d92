// The .bmp file format, read and written with every offset and size checked against the bytes at
// hand: the toolbar's skin picture, the button's picture files, pictures kept in saved property
// sets and the generated artwork all go through here. Platform-neutral.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace bmp {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// 24-bit pixels, row-major, top row first.
struct Raster {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;

    Raster() = default;
    Raster(int w, int h, Rgb fill = {}) : width(w), height(h), pixels(static_cast<std::size_t>(w * h), fill) {}
    Rgb& At(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
    const Rgb& At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    bool operator==(const Raster&) const = default;
};

// Far beyond any picture the program shows; keeps every size computation small.
constexpr std::int32_t kMaxSide = 32768;

// Where the parts of a checked file lie; all of them wholly inside the file.
struct Layout {
    std::int32_t width = 0;
    std::int32_t height = 0; // negative: rows stored top-down
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;      // 0 uncompressed, 3 with colour masks
    std::uint32_t masks[3] = {0, 0, 0}; // red, green, blue when compression is 3
    std::size_t tableOffset = 0;        // colour table: 4 bytes (blue, green, red, 0) per entry
    std::size_t tableEntries = 0;
    std::size_t bitsOffset = 0; // the pixel rows
    std::size_t bitsSize = 0;
    int Rows() const { return height < 0 ? -height : height; }
};

enum class Fault { NotABitmap, Compressed };

// Uncompressed 1, 4, 8, 16, 24 and 32-bit pictures (16 and 32 bits also with colour masks) with a 40,
// 52, 56, 108 or 124-byte information header and sides up to kMaxSide. Anything else, or anything
// that does not fit in the file, gives nothing and, if asked, why.
std::optional<Layout> ReadLayout(std::span<const std::uint8_t> file, Fault* fault = nullptr);

// The pixels of a 24-bit picture (bottom-up or top-down); nothing for any other file.
std::optional<Raster> Decode(std::span<const std::uint8_t> file);
// The bytes of an uncompressed bottom-up 24-bit .bmp file.
std::vector<std::uint8_t> Encode(const Raster& raster);

} // namespace bmp
