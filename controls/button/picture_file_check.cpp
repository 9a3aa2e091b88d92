#include "controls/button/picture_file_check.h"

namespace skinbutton {
namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

constexpr std::size_t kFileHeader = 14;
constexpr std::uint32_t kBiRgb = 0, kBiBitfields = 3;

std::optional<PictureFileLayout> CheckBitmap(const std::vector<std::uint8_t>& b) {
    if (b.size() < kFileHeader + 40)
        return std::nullopt;
    const std::uint32_t bitsOffset = U32(b, 10);
    const std::uint32_t infoSize = U32(b, 14);
    // The 40-byte header and its V4/V5 successors; the old 12-byte core header is not taken.
    if (infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124)
        return std::nullopt;
    if (kFileHeader + infoSize > b.size())
        return std::nullopt;
    const auto width = static_cast<std::int32_t>(U32(b, 18));
    const auto rawHeight = static_cast<std::int32_t>(U32(b, 22));
    const std::uint16_t planes = U16(b, 26), bitCount = U16(b, 28);
    const std::uint32_t compression = U32(b, 30), coloursUsed = U32(b, 46);
    if (planes != 1 || width <= 0 || width > kMaxPictureSide || rawHeight == 0 || rawHeight < -kMaxPictureSide ||
        rawHeight > kMaxPictureSide)
        return std::nullopt;
    const int height = rawHeight < 0 ? -rawHeight : rawHeight;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return std::nullopt;
    if (compression != kBiRgb && !(compression == kBiBitfields && (bitCount == 16 || bitCount == 32)))
        return std::nullopt;
    // Masks (bitfields in a 40-byte header) and the palette follow the header.
    std::size_t tables = 0;
    if (compression == kBiBitfields && infoSize == 40)
        tables += 12;
    if (bitCount <= 8) {
        const std::uint32_t maxColours = 1u << bitCount;
        if (coloursUsed > maxColours)
            return std::nullopt;
        tables += 4 * static_cast<std::size_t>(coloursUsed ? coloursUsed : maxColours);
    } else if (coloursUsed > 256) {
        return std::nullopt;
    } else {
        tables += 4 * static_cast<std::size_t>(coloursUsed);
    }
    const std::size_t stride = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
    const std::size_t bitsSize = stride * static_cast<std::size_t>(height);
    if (bitsOffset < kFileHeader + infoSize + tables || bitsOffset > b.size() || b.size() - bitsOffset < bitsSize)
        return std::nullopt;
    PictureFileLayout layout;
    layout.kind = PictureFileLayout::Kind::Bitmap;
    layout.infoOffset = kFileHeader;
    layout.bitsOffset = bitsOffset;
    layout.bitsSize = bitsSize;
    layout.width = width;
    layout.height = height;
    return layout;
}

std::optional<PictureFileLayout> CheckIcon(const std::vector<std::uint8_t>& b) {
    const std::uint16_t count = U16(b, 4);
    if (count == 0 || b.size() < 6 + 16 * static_cast<std::size_t>(count))
        return std::nullopt;
    // The first image of the directory; its bytes must lie wholly inside the file.
    const std::uint8_t w = b[6], h = b[7];
    const std::uint32_t size = U32(b, 6 + 8), offset = U32(b, 6 + 12);
    if (size < 40 || offset < 6 + 16 * static_cast<std::size_t>(count) || offset > b.size() || b.size() - offset < size)
        return std::nullopt;
    PictureFileLayout layout;
    layout.kind = PictureFileLayout::Kind::Icon;
    layout.imageOffset = offset;
    layout.imageSize = size;
    layout.width = w ? w : 256;
    layout.height = h ? h : 256;
    return layout;
}

} // namespace

std::optional<PictureFileLayout> CheckPictureFile(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        return CheckBitmap(bytes);
    if (bytes.size() >= 6 && U16(bytes, 0) == 0 && U16(bytes, 2) == 1)
        return CheckIcon(bytes);
    return std::nullopt;
}

} // namespace skinbutton
