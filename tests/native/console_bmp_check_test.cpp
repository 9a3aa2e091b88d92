// The skin file check: what a well-formed picture yields, and that every truncated or
// inconsistent file is refused with a reason instead of being read past its end.
#include "console/bmp_check.h"
#include "resources/gen/bitmap.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <tuple>

using console::CheckBmp;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Put32(Bytes b, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    return b;
}

// A picture of the given depth with `extra` bytes (colour table or masks) between headers and pixels.
Bytes Picture(int bits, int width, int height, std::uint32_t extra) {
    const std::size_t stride = (static_cast<std::size_t>(width * bits) + 31) / 32 * 4;
    Bytes b(54 + extra + stride * static_cast<std::size_t>(std::abs(height)), 0);
    b[0] = 'B', b[1] = 'M', b[26] = 1, b[28] = static_cast<std::uint8_t>(bits);
    b = Put32(Put32(Put32(b, 2, static_cast<std::uint32_t>(b.size())), 10, 54 + extra), 14, 40);
    return Put32(Put32(b, 18, static_cast<std::uint32_t>(width)), 22, static_cast<std::uint32_t>(height));
}
Bytes EightBit(int width, int height, std::uint32_t colours) {
    return Put32(Picture(8, width, height, 4 * colours), 46, colours);
}
// 32 bits with red, green and blue masks.
Bytes Masked() {
    return Put32(Put32(Put32(Put32(Picture(32, 2, 2, 12), 30, 3), 54, 0xFF0000), 58, 0xFF00), 62, 0xFF);
}

} // namespace

TEST(ConsoleBmpCheck, AcceptsWellFormedPicturesAndRefusesEveryTruncationWithAReason) {
    const struct {
        Bytes file;
        std::int32_t width, height;
        std::size_t bitsOffset, bitsSize, colourTable;
    } pictures[] = {
        {gen::EncodeBmp(gen::Raster(216, 23, {1, 2, 3})), 216, 23, 54, 23 * 648, 0}, // as the generator writes it
        {EightBit(5, -3, 16), 5, -3, 54 + 64, 3 * 8, 64},                            // paletted, top-down
        {EightBit(7, 7, 256), 7, 7, 54 + 1024, 7 * 8, 1024},
        {Masked(), 2, 2, 54 + 12, 2 * 8, 0},
    };
    for (const auto& p : pictures) {
        std::wstring reason;
        const auto bmp = CheckBmp(p.file, &reason);
        ASSERT_TRUE(bmp) << std::string(reason.begin(), reason.end());
        EXPECT_EQ(std::tuple(bmp->width, bmp->height, bmp->bitsOffset, bmp->bitsSize, bmp->colourTable.size()),
                  std::tuple(p.width, p.height, p.bitsOffset, p.bitsSize, p.colourTable));
        for (std::size_t n = 0; n < p.file.size(); ++n) {
            // A copy of exactly n bytes, so the sanitizer sees any read past the end.
            const Bytes cut(p.file.begin(), p.file.begin() + static_cast<std::ptrdiff_t>(n));
            ASSERT_FALSE(CheckBmp(cut, &reason)) << n;
            ASSERT_EQ(reason, L"el archivo no es un mapa de bits válido") << n;
        }
    }
    const auto masked = CheckBmp(Masked(), nullptr);
    EXPECT_EQ((std::array{masked->masks[0], masked->masks[1], masked->masks[2]}),
              (std::array<std::uint32_t, 3>{0xFF0000, 0xFF00, 0xFF}));
    EXPECT_FALSE(CheckBmp(EightBit(4, 4, 0), nullptr)) << "no count means 256 entries: no room for them";
}

TEST(ConsoleBmpCheck, InconsistentHeadersAreRefused) {
    const Bytes good = gen::EncodeBmp(gen::Raster(4, 4, {1, 1, 1}));
    ASSERT_TRUE(CheckBmp(good, nullptr));
    const std::pair<std::size_t, std::uint32_t> broken[] = {
        {10, 0xFFFFFFF0u}, {10, 20},                             // pixel offset far past the end, or inside the headers
        {14, 12},          {14, 0xFFFFFFFFu},                    // unknown header sizes
        {18, 0},           {18, 0x80000000u}, {18, 0x7FFFFFFFu}, // no, negative or absurd width
        {22, 0},           {22, 0x80000001u},                    // no or absurd top-down height
        {26, 0x00180002u}, {28, 7},                              // two planes, seven bits
    };
    for (auto [at, value] : broken)
        EXPECT_FALSE(CheckBmp(Put32(good, at, value), nullptr)) << at << " = " << value;
    Bytes notBm = good;
    notBm[0] = 'P';
    EXPECT_FALSE(CheckBmp(notBm, nullptr));
    EXPECT_FALSE(CheckBmp(EightBit(4, 4, 300), nullptr)) << "more colours than 8 bits can name";
    std::wstring reason;
    EXPECT_FALSE(CheckBmp(Put32(EightBit(4, 4, 2), 30, 1), &reason));
    EXPECT_EQ(reason, L"el mapa de bits está comprimido y no se admite");
}
