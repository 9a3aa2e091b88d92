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
