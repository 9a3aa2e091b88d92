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

std::vector<std::uint8_t> EncodeIco(const std::vector<Raster>& images, std::optional<Rgb> transparent) {
    std::vector<std::vector<std::uint8_t>> entries;
    for (const Raster& image : images) {
        // Each entry is a DIB with twice the height: the colour rows, then the 1-bit AND mask.
        const std::uint32_t stride = (static_cast<std::uint32_t>(image.width) * 3 + 3) & ~3u;
        const std::uint32_t maskStride = ((static_cast<std::uint32_t>(image.width) + 31) / 32) * 4;
        std::vector<std::uint8_t> dib;
        Put32(dib, 40);
        Put32(dib, static_cast<std::uint32_t>(image.width));
        Put32(dib, static_cast<std::uint32_t>(image.height) * 2);
        Put16(dib, 1);
        Put16(dib, 24);
        Put32(dib, 0);
        Put32(dib, (stride + maskStride) * static_cast<std::uint32_t>(image.height));
        for (int i = 0; i < 4; ++i)
            Put32(dib, 0);
        for (int y = image.height - 1; y >= 0; --y) {
            std::uint32_t row = 0;
            for (int x = 0; x < image.width; ++x, row += 3) {
                const Rgb& p = image.At(x, y);
                const bool clear = transparent && p == *transparent;
                dib.push_back(clear ? 0 : p.b);
                dib.push_back(clear ? 0 : p.g);
                dib.push_back(clear ? 0 : p.r);
            }
            for (; row < stride; ++row)
                dib.push_back(0);
        }
        for (int y = image.height - 1; y >= 0; --y) {
            std::vector<std::uint8_t> mask(maskStride, 0);
            for (int x = 0; x < image.width; ++x)
                if (transparent && image.At(x, y) == *transparent)
                    mask[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            dib.insert(dib.end(), mask.begin(), mask.end());
        }
        entries.push_back(std::move(dib));
    }
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1); // icon
    Put16(out, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(images[i].width >= 256 ? 0 : images[i].width));
        out.push_back(static_cast<std::uint8_t>(images[i].height >= 256 ? 0 : images[i].height));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 24);
        Put32(out, static_cast<std::uint32_t>(entries[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(entries[i].size());
    }
    for (const auto& e : entries)
        out.insert(out.end(), e.begin(), e.end());
    return out;
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
