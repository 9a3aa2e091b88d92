#include "bmp/bmp_file.h"

#include "bmp/le_bytes.h"

namespace bmp {

using namespace detail;

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40; // the shortest information header taken
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;

bool KnownHeader(std::uint32_t size) {
    // The 40-byte header and its successors; the old 12-byte core header is not taken.
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

} // namespace

std::optional<Layout> ReadLayout(std::span<const std::uint8_t> file, Fault* fault) {
    auto fail = [&](Fault why) -> std::optional<Layout> {
        if (fault)
            *fault = why;
        return std::nullopt;
    };
    if (file.size() < kFileHeader + kInfoHeader || file[0] != 'B' || file[1] != 'M')
        return fail(Fault::NotABitmap);
    const std::uint32_t headerSize = U32(file, kFileHeader);
    if (!KnownHeader(headerSize) || file.size() < kFileHeader + headerSize)
        return fail(Fault::NotABitmap);

    Layout bmp;
    bmp.width = static_cast<std::int32_t>(U32(file, 18));
    bmp.height = static_cast<std::int32_t>(U32(file, 22));
    bmp.bitCount = U16(file, 28);
    bmp.compression = U32(file, 30);
    const std::int64_t rows = bmp.height < 0 ? -static_cast<std::int64_t>(bmp.height) : bmp.height;
    if (U16(file, 26) != 1 || bmp.width <= 0 || bmp.width > kMaxSide || rows == 0 || rows > kMaxSide)
        return fail(Fault::NotABitmap);
    switch (bmp.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (bmp.compression != kUncompressed)
            return fail(Fault::Compressed);
        break;
    case 16:
    case 32:
        if (bmp.compression != kUncompressed && bmp.compression != kBitFields)
            return fail(Fault::Compressed);
        break;
    default:
        return fail(Fault::NotABitmap);
    }

    std::size_t cursor = kFileHeader + headerSize;
    if (bmp.compression == kBitFields) {
        // The masks follow a 40-byte header and are part of every longer one: either way right after
        // the first 40 bytes.
        if (headerSize == kInfoHeader) {
            if (file.size() < cursor + 12)
                return fail(Fault::NotABitmap);
            cursor += 12;
        }
        for (std::size_t i = 0; i < 3; ++i)
            bmp.masks[i] = U32(file, kFileHeader + kInfoHeader + 4 * i);
    }
    // A palette is required up to 8 bits (no count means all of them) and optional above.
    const std::uint32_t coloursUsed = U32(file, 46);
    const std::uint32_t most = bmp.bitCount <= 8 ? 1u << bmp.bitCount : 256u;
    if (coloursUsed > most)
        return fail(Fault::NotABitmap);
    bmp.tableEntries = coloursUsed != 0 || bmp.bitCount > 8 ? coloursUsed : most;
    bmp.tableOffset = cursor;
    if (file.size() < cursor + 4 * bmp.tableEntries)
        return fail(Fault::NotABitmap);
    cursor += 4 * bmp.tableEntries;

    // 64-bit arithmetic: the largest picture's size does not fit in 32 bits.
    const std::uint64_t stride = (static_cast<std::uint64_t>(bmp.width) * bmp.bitCount + 31) / 32 * 4;
    const std::uint64_t bitsSize = stride * static_cast<std::uint64_t>(rows);
    const std::size_t bitsOffset = U32(file, 10);
    if (bitsOffset < cursor || bitsOffset > file.size() || file.size() - bitsOffset < bitsSize)
        return fail(Fault::NotABitmap);
    bmp.bitsOffset = bitsOffset;
    bmp.bitsSize = static_cast<std::size_t>(bitsSize);
    return bmp;
}

std::optional<Raster> Decode(std::span<const std::uint8_t> file) {
    const auto layout = ReadLayout(file);
    if (!layout || layout->bitCount != 24)
        return std::nullopt;
    const int rows = layout->Rows();
    const std::size_t stride = layout->bitsSize / static_cast<std::size_t>(rows);
    Raster raster(layout->width, rows);
    for (int row = 0; row < rows; ++row) {
        const int y = layout->height < 0 ? row : rows - 1 - row;
        const std::uint8_t* src = file.data() + layout->bitsOffset + static_cast<std::size_t>(row) * stride;
        for (int x = 0; x < layout->width; ++x, src += 3)
            raster.At(x, y) = Rgb{src[2], src[1], src[0]};
    }
    return raster;
}

std::vector<std::uint8_t> Encode(const Raster& raster) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(raster.width) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(raster.height);
    const std::uint32_t offset = kFileHeader + kInfoHeader;
    std::vector<std::uint8_t> out;
    out.reserve(offset + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageSize);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, kInfoHeader);
    Put32(out, static_cast<std::uint32_t>(raster.width));
    Put32(out, static_cast<std::uint32_t>(raster.height));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, kUncompressed);
    Put32(out, imageSize);
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = raster.height - 1; y >= 0; --y) {
        std::uint32_t row = 0;
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

} // namespace bmp
