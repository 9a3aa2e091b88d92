// Picture files checked before decoding: well-formed bitmaps and icons pass with their layout; cut,
// compressed, oversized or foreign files are refused without reading past their end.
#include "controls/button/picture_file_check.h"
#include "resources/gen/bitmap.h"

#include <gtest/gtest.h>

using namespace skinbutton;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes With(Bytes b, std::size_t at, std::uint32_t v, int width = 4) {
    for (int i = 0; i < width; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    return b;
}

// One 256 × 32 image of the given size at the given offset, in a file of the given length.
Bytes Icon(std::uint32_t size, std::uint32_t offset, std::size_t total = 62) {
    Bytes b(total, 0);
    b[2] = 1, b[4] = 1, b[7] = 32;
    return With(With(b, 14, size), 18, offset);
}

} // namespace

TEST(PictureFile, AcceptsWellFormedBitmapsAndIconsWithTheirLayout) {
    const auto bytes = gen::EncodeBmp(gen::Raster(5, 3, {1, 2, 3}));
    auto layout = CheckPictureFile(bytes);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->kind, PictureFileLayout::Kind::Bitmap);
    EXPECT_EQ(layout->width, 5);
    EXPECT_EQ(layout->height, 3);
    EXPECT_EQ(layout->infoOffset, 14u);
    EXPECT_EQ(layout->bitsOffset, 54u);
    EXPECT_EQ(layout->bitsSize, 16u * 3u);
    layout = CheckPictureFile(With(bytes, 22, static_cast<std::uint32_t>(-3)));
    ASSERT_TRUE(layout) << "top-down (negative height) is fine too";
    EXPECT_EQ(layout->height, 3);

    layout = CheckPictureFile(Icon(40, 22));
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->kind, PictureFileLayout::Kind::Icon);
    EXPECT_EQ(layout->width, 256) << "0 in the directory means 256";
    EXPECT_EQ(layout->height, 32);
    EXPECT_EQ(layout->imageOffset, 22u);
    EXPECT_EQ(layout->imageSize, 40u);
}

TEST(PictureFile, RefusesFilesThatDoNotHoldWhatTheyClaim) {
    const auto good = gen::EncodeBmp(gen::Raster(8, 8, {9, 9, 9}));
    for (std::size_t cut = 0; cut < good.size(); cut += 7)
        EXPECT_FALSE(CheckPictureFile(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)))) << cut;
    const struct {
        Bytes bytes;
        const char* why;
    } bad[] = {
        {With(good, 10, 0xFFFFFFF0u), "pixels beyond the end"},
        {With(good, 10, 20), "pixels inside the header"},
        {With(good, 14, 12), "the old core header"},
        {With(good, 14, 0x7FFFFFFF), "a header larger than the file"},
        {With(good, 18, 0), "no width"},
        {With(good, 18, 100000), "absurd width"},
        {With(good, 22, 0x80000000u), "the most negative height"},
        {With(good, 30, 1), "run-length compressed"},
        {With(good, 30, 4), "JPEG inside"},
        {With(good, 28, 8, 1), "8 bits with a full palette that is not there"},
        {With(good, 28, 7, 1), "no such depth"},
        {With(good, 26, 2, 1), "two planes"},
        {With(good, 46, 100000), "more palette entries than there could be"},
        {{}, "empty"},
        {{'B', 'M'}, "only the mark"},
        {{'G', 'I', 'F', '8', '9', 'a'}, "another format"},
        {Icon(41, 22), "an icon one byte short"},
        {Icon(40, 0xFFFFFFF0u), "an icon offset past the end"},
        {Icon(0xFFFFFFFFu, 22), "an icon size that would wrap"},
        {Icon(40, 2), "an icon image inside the directory"},
        {With(Icon(40, 22), 4, 0, 1), "no images"},
        {With(Icon(40, 22), 4, 200, 1), "a directory longer than the file"},
    };
    for (const auto& b : bad)
        EXPECT_FALSE(CheckPictureFile(b.bytes)) << b.why;
}
