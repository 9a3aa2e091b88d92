// Bitmap and icon files: every accepted kind, every truncation and inconsistency refused in bounds.
#include "bmp/ico_file.h"

#include <gtest/gtest.h>

#include <tuple>

using Bytes = std::vector<std::uint8_t>;
using bmp::Fault;

namespace {

Bytes Put(Bytes b, std::size_t at, std::uint32_t v, int width = 4) {
    for (int i = 0; i < width; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    return b;
}

// A picture with the given header size, compression, colour count and palette entries; masks for compression 3.
Bytes Picture(int bits, int width, int height, std::uint32_t header = 40, std::uint32_t compression = 0,
              std::uint32_t colours = 0, std::size_t entries = 0) {
    const std::size_t masks = compression == 3 && header == 40 ? 12 : 0;
    const std::size_t offset = 14 + header + masks + 4 * entries;
    const std::size_t stride = (static_cast<std::size_t>(width * bits) + 31) / 32 * 4;
    Bytes b(offset + stride * static_cast<std::size_t>(std::abs(height)), 0);
    b[0] = 'B', b[1] = 'M';
    b = Put(Put(Put(Put(Put(b, 10, static_cast<std::uint32_t>(offset)), 14, header), 18, width), 22, height), 26, 1);
    b = Put(Put(Put(b, 28, bits), 30, compression), 46, colours);
    return compression == 3 ? Put(Put(Put(b, 54, 0xF800), 58, 0x7E0), 62, 0x1F) : b;
}

std::tuple<int, int, int, std::size_t, std::size_t, std::size_t, std::size_t> Where(const bmp::Layout& l) {
    return {l.width, l.height, l.bitCount, l.tableOffset, l.tableEntries, l.bitsOffset, l.bitsSize};
}

} // namespace

TEST(BmpLayout, EveryKindOfPictureEveryTruncationAndEveryInconsistency) {
    const struct {
        Bytes file;
        std::tuple<int, int, int, std::size_t, std::size_t, std::size_t, std::size_t> where;
    } pictures[] = {
        {bmp::Encode(bmp::Raster(5, 3)), {5, 3, 24, 54, 0, 54, 48}},     // 15 bytes a row, padded to 16
        {Picture(8, 5, -3, 40, 0, 16, 16), {5, -3, 8, 54, 16, 118, 24}}, // top-down, 16 colours
        {Picture(8, 7, 7, 40, 0, 0, 256), {7, 7, 8, 54, 256, 1078, 56}}, // no count: all 256
        {Picture(1, 9, 2, 40, 0, 0, 2), {9, 2, 1, 54, 2, 62, 8}},
        {Picture(4, 3, 1, 40, 0, 16, 16), {3, 1, 4, 54, 16, 118, 4}}, // all 16 named
        {Picture(32, 2, 2, 40, 3), {2, 2, 32, 66, 0, 66, 16}},        // masks after the header
        {Picture(16, 3, 2, 108, 3), {3, 2, 16, 122, 0, 122, 16}},     // masks inside it
        {Picture(16, 2, 1, 52), {2, 1, 16, 66, 0, 66, 4}},
        {Picture(32, 1, 1, 56, 0, 2, 2), {1, 1, 32, 70, 2, 78, 4}}, // an optional palette
        {Picture(24, 1, 1, 124), {1, 1, 24, 138, 0, 138, 4}},
    };
    for (const auto& p : pictures) {
        const auto layout = bmp::ReadLayout(p.file);
        ASSERT_TRUE(layout) << p.file.size();
        EXPECT_EQ(Where(*layout), p.where);
        if (layout->compression == 3) {
            EXPECT_EQ(std::tuple(layout->masks[0], layout->masks[1], layout->masks[2]),
                      std::tuple(0xF800u, 0x7E0u, 0x1Fu));
        }
        for (std::size_t n = 0; n < p.file.size(); ++n) {
            Fault fault = Fault::Compressed;
            // A copy of exactly n bytes, so the sanitizer sees any read past the end.
            ASSERT_FALSE(
                bmp::ReadLayout(Bytes(p.file.begin(), p.file.begin() + static_cast<std::ptrdiff_t>(n)), &fault));
            ASSERT_EQ(fault, Fault::NotABitmap) << n;
        }
    }
    EXPECT_TRUE(bmp::ReadLayout(Picture(1, bmp::kMaxSide, 1, 40, 0, 0, 2)));
    EXPECT_TRUE(bmp::ReadLayout(Picture(1, 1, -bmp::kMaxSide, 40, 0, 0, 2)));

    const Bytes good = bmp::Encode(bmp::Raster(4, 4)), deep = Picture(32, 4, 4);
    const struct {
        Bytes file;
        Fault fault;
    } bad[] = {
        {Put(good, 0, 'P', 1), Fault::NotABitmap},
        {Put(good, 10, 0xFFFFFFF0u), Fault::NotABitmap}, // pixels past the end
        {Put(good, 10, 53), Fault::NotABitmap},          // pixels inside the header
        {Put(good, 14, 12), Fault::NotABitmap},          // the old core header
        {Put(good, 18, 0), Fault::NotABitmap},
        {Put(good, 22, 0), Fault::NotABitmap},
        {Put(good, 22, 0x80000000u), Fault::NotABitmap},
        {Picture(1, bmp::kMaxSide + 1, 1, 40, 0, 0, 2), Fault::NotABitmap},
        {Picture(1, 1, bmp::kMaxSide + 1, 40, 0, 0, 2), Fault::NotABitmap},
        {Picture(1, 1, -bmp::kMaxSide - 1, 40, 0, 0, 2), Fault::NotABitmap},
        {Put(good, 26, 2, 2), Fault::NotABitmap}, // two planes
        {Put(Put(good, 28, 7, 2), 30, 1), Fault::NotABitmap},
        {Put(good, 30, 1), Fault::Compressed},              // run-length
        {Put(good, 30, 3), Fault::Compressed},              // masks are for 16 and 32 bits only
        {Put(deep, 30, 4), Fault::Compressed},              // JPEG inside
        {Picture(8, 4, 4, 40, 0, 0, 0), Fault::NotABitmap}, // no count means 256 entries: not there
        {Picture(8, 4, 4, 40, 0, 257, 257), Fault::NotABitmap},
        {Put(good, 46, 2), Fault::NotABitmap}, // an optional palette that is not there
    };
    for (const auto& b : bad) {
        Fault fault = b.fault == Fault::Compressed ? Fault::NotABitmap : Fault::Compressed;
        EXPECT_FALSE(bmp::ReadLayout(b.file, &fault)) << &b - bad;
        EXPECT_EQ(fault, b.fault) << &b - bad;
    }
}

TEST(BmpPixels, RoundTripBottomUpAndTopDownAndOnlyTwentyFourBits) {
    bmp::Raster r(5, 3, {1, 2, 3});
    r.At(4, 0) = {255, 0, 0};
    r.At(0, 2) = {0, 0, 255};
    const Bytes bytes = bmp::Encode(r);
    EXPECT_EQ(bytes[54], 255) << "the first row stored is the bottom one, blue first";
    EXPECT_EQ(bmp::Decode(bytes), r);
    bmp::Raster flipped = r;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            flipped.At(x, y) = r.At(x, 2 - y);
    EXPECT_EQ(bmp::Decode(Put(bytes, 22, static_cast<std::uint32_t>(-3))), flipped) << "top-down rows";
    EXPECT_FALSE(bmp::Decode(Picture(8, 4, 4, 40, 0, 2, 2)));
}

TEST(Icon, TheFirstImageWhollyInsideTheFileAndNothingElse) {
    // One 256 × 32 image of the given size at the given offset, in a file of the given length.
    auto icon = [](std::uint32_t size, std::uint32_t offset, std::size_t total = 62) {
        return Put(Put(Put(Put(Put(Bytes(total), 2, 1, 2), 4, 1, 2), 7, 32, 1), 14, size), 18, offset);
    };
    const auto image = bmp::ReadIcon(icon(40, 22));
    ASSERT_TRUE(image);
    EXPECT_EQ(std::tuple(image->offset, image->size, image->width, image->height), std::tuple(22u, 40u, 256, 32))
        << "0 in the directory means 256";
    EXPECT_EQ(bmp::ReadIcon(Put(icon(40, 22), 6, 16, 1))->width, 16);
    const Bytes bad[] = {
        icon(41, 22),
        icon(39, 22, 61), // one byte short; smaller than an image header
        icon(40, 0xFFFFFFF0u),
        icon(0xFFFFFFFFu, 22), // past the end; a size that would wrap
        icon(40, 21, 61),
        Put(icon(40, 22), 4, 0, 2), // inside the directory; no images
        Put(icon(40, 22), 4, 3, 2), // a directory longer than the file
        Put(icon(40, 22), 2, 2, 2),
        Put(icon(40, 22), 0, 1, 2), // a cursor; not reserved
        Bytes{},
    };
    for (const Bytes& b : bad)
        EXPECT_FALSE(bmp::ReadIcon(b)) << &b - bad;
    const auto large = bmp::ReadIcon(bmp::EncodeIcon({bmp::Raster(256, 256)}));
    EXPECT_EQ(large ? std::pair(large->width, large->height) : std::pair(0, 0), std::pair(256, 256))
        << "a side of 256 is written as 0";
}
