// The .bmp form of the generated bitmaps: round trip, padding, and refusal of bad files.
#include "resources/gen/bitmap.h"

#include <gtest/gtest.h>

TEST(Bitmap, RoundTripsOddWidthsWithRowPadding) {
    gen::Raster r(5, 3, {1, 2, 3});
    r.At(4, 0) = {255, 0, 0};
    r.At(0, 2) = {0, 0, 255};
    const auto bytes = gen::EncodeBmp(r);
    EXPECT_EQ(bytes.size(), 54u + 16u * 3u); // 5 pixels = 15 bytes, padded to 16
    const auto back = gen::DecodeBmp(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, r);
    // Bottom-up storage: the first stored row is the bottom one.
    EXPECT_EQ(bytes[54], 255); // blue of pixel (0,2)
}

TEST(Bitmap, RefusesTruncatedOrForeignFiles) {
    gen::Raster r(4, 4, {9, 9, 9});
    auto bytes = gen::EncodeBmp(r);
    auto cut = bytes;
    cut.resize(bytes.size() - 1);
    EXPECT_FALSE(gen::DecodeBmp(cut));
    auto eightBit = bytes;
    eightBit[28] = 8;
    EXPECT_FALSE(gen::DecodeBmp(eightBit));
    EXPECT_FALSE(gen::DecodeBmp({'B', 'M'}));
    auto huge = bytes;
    huge[18] = 0xFF, huge[19] = 0xFF, huge[20] = 0xFF, huge[21] = 0x7F;
    EXPECT_FALSE(gen::DecodeBmp(huge));
}

TEST(Icon, DirectoryPointsAtEachImageWithItsMask) {
    gen::Raster small(16, 16, {255, 0, 255});
    small.At(3, 4) = {10, 20, 30};
    gen::Raster large(32, 32, {1, 1, 1});
    const auto ico = gen::EncodeIco({small, large}, gen::Rgb{255, 0, 255});
    ASSERT_GE(ico.size(), 6u + 32u);
    EXPECT_EQ(ico[2], 1);  // type icon
    EXPECT_EQ(ico[4], 2);  // two images
    EXPECT_EQ(ico[6], 16); // first entry 16 x 16
    EXPECT_EQ(ico[22], 32);
    const std::uint32_t size0 = ico[14] | (ico[15] << 8), offset0 = ico[18] | (ico[19] << 8);
    EXPECT_EQ(offset0, 38u);
    EXPECT_EQ(size0, 40u + 16u * 48u + 16u * 4u);
    // The DIB says twice the height (colour rows plus mask rows).
    EXPECT_EQ(ico[offset0 + 8], 32);
    // Mask row of y = 4 (stored bottom-up): bit of x = 3 is clear, the rest set.
    const std::size_t maskStart = offset0 + 40 + 16 * 48;
    const std::size_t row = maskStart + (15 - 4) * 4;
    EXPECT_EQ(ico[row], 0xEF);
    EXPECT_EQ(ico[row + 1], 0xFF);
}
