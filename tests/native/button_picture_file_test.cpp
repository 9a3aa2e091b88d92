// Picture files checked before decoding: well-formed bitmaps and icons pass with their layout; cut,
// compressed, oversized or foreign files are refused without reading past their end.
#include "controls/button/picture_file_check.h"
#include "resources/gen/bitmap.h"

#include <gtest/gtest.h>

using namespace skinbutton;

namespace {

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::vector<std::uint8_t> Icon(std::uint32_t size, std::uint32_t offset, std::size_t total) {
    std::vector<std::uint8_t> b(total, 0);
    b[2] = 1, b[4] = 1;  // icon, one image
    b[6] = 0, b[7] = 32; // 256 wide, 32 high
    Put32(b, 6 + 8, size);
    Put32(b, 6 + 12, offset);
    return b;
}

} // namespace

TEST(PictureFile, AcceptsWellFormedBitmapsWithTheirLayout) {
    const auto bytes = gen::EncodeBmp(gen::Raster(5, 3, {1, 2, 3}));
    const auto layout = CheckPictureFile(bytes);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->kind, PictureFileLayout::Kind::Bitmap);
    EXPECT_EQ(layout->width, 5);
    EXPECT_EQ(layout->height, 3);
    EXPECT_EQ(layout->infoOffset, 14u);
    EXPECT_EQ(layout->bitsOffset, 54u);
    EXPECT_EQ(layout->bitsSize, 16u * 3u);

    // Top-down (negative height) is fine too.
    auto topDown = bytes;
    Put32(topDown, 22, static_cast<std::uint32_t>(-3));
    ASSERT_TRUE(CheckPictureFile(topDown));
    EXPECT_EQ(CheckPictureFile(topDown)->height, 3);
}

TEST(PictureFile, RefusesBitmapsThatDoNotHoldWhatTheyClaim) {
    const auto good = gen::EncodeBmp(gen::Raster(8, 8, {9, 9, 9}));
    for (std::size_t cut = 0; cut < good.size(); cut += 7) {
        std::vector<std::uint8_t> shorter(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_FALSE(CheckPictureFile(shorter)) << cut;
    }
    auto edit = [&](std::size_t at, std::uint32_t v) {
        auto b = good;
        Put32(b, at, v);
        return CheckPictureFile(b).has_value();
    };
    EXPECT_FALSE(edit(10, 0xFFFFFFF0u)) << "pixels beyond the end";
    EXPECT_FALSE(edit(10, 20)) << "pixels inside the header";
    EXPECT_FALSE(edit(14, 12)) << "the old core header";
    EXPECT_FALSE(edit(14, 0x7FFFFFFF)) << "a header larger than the file";
    EXPECT_FALSE(edit(18, 0)) << "no width";
    EXPECT_FALSE(edit(18, 100000)) << "absurd width";
    EXPECT_FALSE(edit(22, 0x80000000u)) << "the most negative height";
    EXPECT_FALSE(edit(30, 1)) << "run-length compressed";
    EXPECT_FALSE(edit(30, 4)) << "JPEG inside";
    {
        auto b = good;
        b[28] = 8; // 8 bits with a full palette that is not there
        EXPECT_FALSE(CheckPictureFile(b));
        b[28] = 7;
        EXPECT_FALSE(CheckPictureFile(b)) << "no such depth";
        b[26] = 2;
        EXPECT_FALSE(CheckPictureFile(b)) << "two planes";
    }
    EXPECT_FALSE(edit(46, 100000)) << "more palette entries than there could be";
    EXPECT_FALSE(CheckPictureFile({}));
    EXPECT_FALSE(CheckPictureFile({'B', 'M'}));
    EXPECT_FALSE(CheckPictureFile({'G', 'I', 'F', '8', '9', 'a'}));
}

TEST(PictureFile, IconsNeedTheirImageInsideTheFile) {
    const auto good = Icon(40, 22, 62);
    const auto layout = CheckPictureFile(good);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->kind, PictureFileLayout::Kind::Icon);
    EXPECT_EQ(layout->width, 256) << "0 in the directory means 256";
    EXPECT_EQ(layout->height, 32);
    EXPECT_EQ(layout->imageOffset, 22u);
    EXPECT_EQ(layout->imageSize, 40u);
    EXPECT_FALSE(CheckPictureFile(Icon(41, 22, 62))) << "one byte short";
    EXPECT_FALSE(CheckPictureFile(Icon(40, 0xFFFFFFF0u, 62))) << "offset past the end";
    EXPECT_FALSE(CheckPictureFile(Icon(0xFFFFFFFFu, 22, 62))) << "size that would wrap";
    EXPECT_FALSE(CheckPictureFile(Icon(40, 2, 62))) << "image inside the directory";
    auto none = good;
    none[4] = 0;
    EXPECT_FALSE(CheckPictureFile(none)) << "no images";
    auto many = good;
    many[4] = 200;
    EXPECT_FALSE(CheckPictureFile(many)) << "a directory longer than the file";
}
