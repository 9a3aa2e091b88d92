// A 24-bit RGB raster and its .bmp file form: what the bitmap generators write and what the tests
// read back to compare. Platform-neutral.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gen {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Raster {
    int width = 0, height = 0;
    std::vector<Rgb> pixels; // row-major, top row first

    Raster() = default;
    Raster(int w, int h, Rgb fill = {}) : width(w), height(h), pixels(static_cast<std::size_t>(w * h), fill) {}
    Rgb& At(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
    const Rgb& At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    bool operator==(const Raster&) const = default;
};

// The bytes of an uncompressed bottom-up 24-bit .bmp file.
std::vector<std::uint8_t> EncodeBmp(const Raster& raster);
// Reads an uncompressed 24-bit .bmp (bottom-up or top-down); nothing for anything else or a
// truncated file.
std::optional<Raster> DecodeBmp(const std::vector<std::uint8_t>& bytes);

// The bytes of a .ico file holding the given images (each at most 256 x 256), 24-bit colour; pixels
// equal to `transparent` (when given) are masked out.
std::vector<std::uint8_t> EncodeIco(const std::vector<Raster>& images, std::optional<Rgb> transparent = std::nullopt);

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path);

} // namespace gen
