#include "console/bmp_check.h"

namespace console {
namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;
// Far beyond any skin; keeps every size computation small.
constexpr std::int64_t kMaxSide = 32768;

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

} // namespace

std::optional<BmpLayout> CheckBmp(std::span<const std::uint8_t> file, std::wstring* reason) {
    const std::wstring invalid = L"el archivo no es un mapa de bits válido";
    auto fail = [&](const std::wstring& why) -> std::optional<BmpLayout> {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    if (file.size() < kFileHeader + 40 || file[0] != 'B' || file[1] != 'M')
        return fail(invalid);
    const std::size_t bitsOffset = U32(file, 10);
    const std::uint32_t headerSize = U32(file, kFileHeader);
    if (headerSize != 40 && headerSize != 108 && headerSize != 124)
        return fail(invalid);
    if (file.size() < kFileHeader + headerSize)
        return fail(invalid);

    BmpLayout bmp;
    bmp.width = static_cast<std::int32_t>(U32(file, 18));
    bmp.height = static_cast<std::int32_t>(U32(file, 22));
    const std::uint16_t planes = U16(file, 26);
    bmp.bitCount = U16(file, 28);
    bmp.compression = U32(file, 30);
    const std::uint32_t coloursUsed = U32(file, 46);
    const std::int64_t rows = bmp.height < 0 ? -static_cast<std::int64_t>(bmp.height) : bmp.height;
    if (planes != 1 || bmp.width <= 0 || rows == 0 || bmp.width > kMaxSide || rows > kMaxSide)
        return fail(invalid);
    switch (bmp.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (bmp.compression != kUncompressed)
            return fail(L"el mapa de bits está comprimido y no se admite");
        break;
    case 16:
    case 32:
        if (bmp.compression != kUncompressed && bmp.compression != kBitFields)
            return fail(L"el mapa de bits está comprimido y no se admite");
        break;
    default:
        return fail(invalid);
    }

    std::size_t cursor = kFileHeader + headerSize;
    if (bmp.compression == kBitFields) {
        // The masks follow a short header, and are part of a longer one.
        const std::size_t at = headerSize == 40 ? cursor : kFileHeader + 40;
        if (headerSize == 40) {
            if (file.size() < cursor + 12)
                return fail(invalid);
            cursor += 12;
        }
        for (int i = 0; i < 3; ++i)
            bmp.masks[i] = U32(file, at + 4 * static_cast<std::size_t>(i));
    }
    std::size_t entries = 0;
    if (bmp.bitCount <= 8) {
        const std::size_t most = std::size_t{1} << bmp.bitCount;
        entries = coloursUsed == 0 ? most : coloursUsed;
        if (entries > most)
            return fail(invalid);
    }
    if (entries > 0) {
        if (file.size() < cursor + 4 * entries)
            return fail(invalid);
        bmp.colourTable.assign(file.begin() + static_cast<std::ptrdiff_t>(cursor),
                               file.begin() + static_cast<std::ptrdiff_t>(cursor + 4 * entries));
        cursor += 4 * entries;
    }

    const std::size_t stride = ((static_cast<std::size_t>(bmp.width) * bmp.bitCount + 31) / 32) * 4;
    const std::size_t bitsSize = stride * static_cast<std::size_t>(rows);
    if (bitsOffset < cursor || bitsOffset > file.size() || file.size() - bitsOffset < bitsSize)
        return fail(invalid);
    bmp.bitsOffset = bitsOffset;
    bmp.bitsSize = bitsSize;
    return bmp;
}

} // namespace console
