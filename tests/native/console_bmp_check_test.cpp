// The skin file check: what a well-formed picture yields, and that every truncated or
// inconsistent file is refused with a reason instead of being read past its end.
#include "console/bmp_check.h"
#include "resources/gen/bitmap.h"

#include <gtest/gtest.h>

#include <cstring>

using console::CheckBmp;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// An 8-bit picture with a colour table of `colours` entries.
Bytes EightBit(int width, int height, std::uint32_t colours) {
    const std::size_t stride = (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
    const std::size_t offset = 54 + 4 * colours;
    Bytes b(offset + stride * static_cast<std::size_t>(height < 0 ? -height : height), 0);
    b[0] = 'B', b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    Put32(b, 10, static_cast<std::uint32_t>(offset));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    b[26] = 1, b[28] = 8;
    Put32(b, 46, colours);
    return b;
}

} // namespace

TEST(ConsoleBmpCheck, AcceptsTheGeneratedSkinsForm) {
    const Bytes file = gen::EncodeBmp(gen::Raster(216, 23, {1, 2, 3}));
    std::wstring reason;
    const auto bmp = CheckBmp(file, &reason);
    ASSERT_TRUE(bmp) << std::string(reason.begin(), reason.end());
    EXPECT_EQ(bmp->width, 216);
    EXPECT_EQ(bmp->height, 23);
    EXPECT_EQ(bmp->bitCount, 24);
    EXPECT_EQ(bmp->bitsOffset, 54u);
    EXPECT_EQ(bmp->bitsSize, 23u * 648u);
    EXPECT_TRUE(bmp->colourTable.empty());
}

TEST(ConsoleBmpCheck, AcceptsPalettedTopDownAndMaskedPictures) {
    auto paletted = CheckBmp(EightBit(5, -3, 16), nullptr);
    ASSERT_TRUE(paletted);
    EXPECT_EQ(paletted->height, -3);
    EXPECT_EQ(paletted->colourTable.size(), 64u);
    EXPECT_EQ(paletted->bitsSize, 3u * 8u);
    // No count given: the full table of 256 entries.
    auto full = CheckBmp(EightBit(4, 4, 0), nullptr);
    ASSERT_FALSE(full) << "the file has no room for 256 entries";

    Bytes masked(54 + 12 + 2 * 2 * 4, 0);
    masked[0] = 'B', masked[1] = 'M';
    Put32(masked, 10, 66);
    Put32(masked, 14, 40);
    Put32(masked, 18, 2);
    Put32(masked, 22, 2);
    masked[26] = 1, masked[28] = 32;
    Put32(masked, 30, 3);
    Put32(masked, 54, 0xFF0000), Put32(masked, 58, 0xFF00), Put32(masked, 62, 0xFF);
    auto bmp = CheckBmp(masked, nullptr);
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->masks[0], 0xFF0000u);
    EXPECT_EQ(bmp->masks[2], 0xFFu);
}

TEST(ConsoleBmpCheck, EveryTruncationIsRefused) {
    const Bytes file = gen::EncodeBmp(gen::Raster(216, 23, {9, 9, 9}));
    for (std::size_t n = 0; n < file.size(); ++n) {
        // A copy of exactly n bytes, so the sanitizer sees any read past the end.
        const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
        std::wstring reason;
        ASSERT_FALSE(CheckBmp(cut, &reason)) << n;
        ASSERT_EQ(reason, L"el archivo no es un mapa de bits válido") << n;
    }
    const Bytes paletted = EightBit(7, 7, 256);
    for (std::size_t n = 0; n < paletted.size(); ++n)
        ASSERT_FALSE(CheckBmp(Bytes(paletted.begin(), paletted.begin() + static_cast<std::ptrdiff_t>(n)), nullptr))
            << n;
}

TEST(ConsoleBmpCheck, InconsistentHeadersAreRefused) {
    const Bytes good = gen::EncodeBmp(gen::Raster(4, 4, {1, 1, 1}));
    ASSERT_TRUE(CheckBmp(good, nullptr));
    auto broken = [&](std::size_t at, std::uint32_t value) {
        Bytes b = good;
        Put32(b, at, value);
        return CheckBmp(b, nullptr).has_value();
    };
    EXPECT_FALSE(broken(10, 0xFFFFFFF0u)) << "pixel offset far past the end";
    EXPECT_FALSE(broken(10, 20)) << "pixel offset inside the headers";
    EXPECT_FALSE(broken(14, 12)) << "an unknown header size";
    EXPECT_FALSE(broken(14, 0xFFFFFFFFu));
    EXPECT_FALSE(broken(18, 0)) << "no width";
    EXPECT_FALSE(broken(18, 0x80000000u)) << "negative width";
    EXPECT_FALSE(broken(22, 0)) << "no height";
    EXPECT_FALSE(broken(18, 0x7FFFFFFFu)) << "absurd width";
    EXPECT_FALSE(broken(22, 0x80000001u)) << "absurd top-down height";
    Bytes planes = good;
    planes[26] = 2;
    EXPECT_FALSE(CheckBmp(planes, nullptr));
    Bytes depth = good;
    depth[28] = 7;
    EXPECT_FALSE(CheckBmp(depth, nullptr));
    Bytes rle = EightBit(4, 4, 2);
    Put32(rle, 30, 1);
    std::wstring reason;
    EXPECT_FALSE(CheckBmp(rle, &reason));
    EXPECT_EQ(reason, L"el mapa de bits está comprimido y no se admite");
    Bytes notBm = good;
    notBm[0] = 'P';
    EXPECT_FALSE(CheckBmp(notBm, nullptr));
    EXPECT_FALSE(CheckBmp(EightBit(4, 4, 300), nullptr)) << "more colours than 8 bits can name";
}
