#include "bmp/ico_file.h"

#include "bmp/le_bytes.h"

namespace bmp {

using namespace detail;

std::optional<IconImage> ReadIcon(std::span<const std::uint8_t> file) {
    // Reserved 0, type 1 (icon), then the directory of 16-byte entries.
    if (file.size() < 6 || U16(file, 0) != 0 || U16(file, 2) != 1)
        return std::nullopt;
    const std::size_t count = U16(file, 4);
    const std::size_t directoryEnd = 6 + 16 * count;
    if (count == 0 || file.size() < directoryEnd)
        return std::nullopt;
    const std::size_t size = U32(file, 6 + 8), offset = U32(file, 6 + 12);
    // An image smaller than its own information header cannot be one.
    if (size < 40 || offset < directoryEnd || offset > file.size() || file.size() - offset < size)
        return std::nullopt;
    return IconImage{offset, size, file[6] ? file[6] : 256, file[7] ? file[7] : 256};
}

std::vector<std::uint8_t> EncodeIcon(const std::vector<Raster>& images, std::optional<Rgb> transparent) {
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

} // namespace bmp
