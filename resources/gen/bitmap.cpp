#include "resources/gen/bitmap.h"

#include <cstdio>
#include <cstring>

namespace gen {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
std::uint32_t Get32(const std::vector<std::uint8_t>& in, std::size_t at) {
    return static_cast<std::uint32_t>(in[at]) | (static_cast<std::uint32_t>(in[at + 1]) << 8) |
           (static_cast<std::uint32_t>(in[at + 2]) << 16) | (static_cast<std::uint32_t>(in[at + 3]) << 24);
}
std::uint16_t Get16(const std::vector<std::uint8_t>& in, std::size_t at) {
    return static_cast<std::uint16_t>(in[at] | (in[at + 1] << 8));
}

} // namespace

std::vector<std::uint8_t> EncodeBmp(const Raster& raster) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(raster.width) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(raster.height);
    std::vector<std::uint8_t> out;
    out.reserve(54 + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + imageSize);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(raster.width));
    Put32(out, static_cast<std::uint32_t>(raster.height));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0); // BI_RGB
    Put32(out, imageSize);
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = raster.height - 1; y >= 0; --y) {
        std::size_t row = 0;
        for (int x = 0; x < raster.width; ++x, row += 3) {
            const Rgb& p = raster.At(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        for (; row < stride; ++row)
            out.push_back(0);
    }
    return out;
}

std::optional<Raster> DecodeBmp(const std::vector<std::uint8_t>& in) {
    if (in.size() < 54 || in[0] != 'B' || in[1] != 'M')
        return std::nullopt;
    const std::uint32_t offset = Get32(in, 10);
    const std::uint32_t headerSize = Get32(in, 14);
    const auto width = static_cast<std::int32_t>(Get32(in, 18));
    const auto height = static_cast<std::int32_t>(Get32(in, 22));
    if (headerSize < 40 || Get16(in, 26) != 1 || Get16(in, 28) != 24 || Get32(in, 30) != 0)
        return std::nullopt;
    if (width <= 0 || height == 0 || width > 1 << 16 || height > 1 << 16 || height < -(1 << 16))
        return std::nullopt;
    const bool topDown = height < 0;
    const int rows = topDown ? -height : height;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    if (offset > in.size() || (in.size() - offset) / stride < static_cast<std::size_t>(rows))
        return std::nullopt;
    Raster raster(width, rows);
    for (int row = 0; row < rows; ++row) {
        const int y = topDown ? row : rows - 1 - row;
        const std::uint8_t* src = in.data() + offset + static_cast<std::size_t>(row) * stride;
        for (int x = 0; x < width; ++x, src += 3)
            raster.At(x, y) = Rgb{src[2], src[1], src[0]};
    }
    return raster;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return bytes;
}

} // namespace gen
