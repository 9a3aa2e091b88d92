// The formatted caption on a real button (where each item goes, and which font the surface keeps, is
// the layout's native test): runs, fills, rules and pictures (their top-left colour transparent),
// icons, the disabled colour and unreadable picture files.
#include "bmp/ico_file.h"
#include "tests/wine/support/button_form.h"

#include <filesystem>
#include <fstream>

using namespace skinbutton;
using namespace testsupport;

using ButtonCaption = ButtonTest;

// A file in the temporary folder of the test prefix; each run writes the same names again.
static std::wstring Write(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.wstring();
}

TEST_F(ButtonCaption, RunsFillsPicturesIconsRulesAndTheDisabledColour) {
    bmp::Raster square(16, 16, {255, 0, 255}); // a blue 6 × 6 square on magenta
    for (int i = 0; i < 36; ++i)
        square.At(5 + i % 6, 5 + i / 6) = {0, 0, 255};
    SkinButton b;
    ASSERT_TRUE(Place(b, L"plain", 240, 60));
    TextRunOptions red, fill;
    red.foreColor = RGB(255, 0, 0);
    fill.backColor = RGB(0, 255, 0);
    b.FormatTextAdd(L"Hola ", red);
    ASSERT_TRUE(b.FormatTextAddPicture(Write(L"zev_button_picture.bmp", bmp::Encode(square))));
    b.FormatTextAdd(L" fondo", fill);
    b.FormatTextDrawLine(RGB(128, 0, 128));
    b.SetEnabledFormatText(true);
    auto ink = [&](COLORREF c) { return InkOf(b, 240, 60, c).count; };
    EXPECT_GT(ink(RGB(255, 0, 0)), 10) << "the red run";
    EXPECT_EQ(ink(RGB(0, 0, 255)), 36) << "the picture's blue square, whole";
    EXPECT_EQ(ink(RGB(255, 0, 255)), 0) << "its top-left colour is transparent";
    EXPECT_GT(ink(RGB(0, 255, 0)), 20) << "the fill behind the last run";
    const RECT rule = InkOf(b, 240, 60, RGB(128, 0, 128)).box;
    EXPECT_EQ(rule, (RECT{3, rule.top, 240 - 3 - 1, rule.top})) << "one pixel, to the mirrored margin";

    b.SetEnabled(false);
    EXPECT_EQ(ink(RGB(255, 0, 0)), 0) << "the runs take the disabled colour";
    EXPECT_GT(ink(BuiltInSkinColours(16)->foreDisabled), 10);

    b.FormatTextClear();
    ASSERT_TRUE(b.FormatTextAddPicture(Write(L"zev_icon.ico", bmp::EncodeIcon({bmp::Raster(16, 16, {0, 0, 255})}))));
    b.FormatTextDraw();
    EXPECT_GT(ink(RGB(0, 0, 255)), 200) << "an icon is drawn";
}

TEST_F(ButtonCaption, AnUnreadablePictureIsReportedAndAddsNothing) {
    SkinButton b;
    ASSERT_TRUE(Place(b));
    const std::wstring missing = (std::filesystem::temp_directory_path() / L"zev_no_such_picture.bmp").wstring();
    // Which files are malformed is the bitmap reader's native test; the window tells the reason.
    EXPECT_FALSE(b.FormatTextAddPicture(missing));
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_EQ(
        std::tuple(notices.notices[0].text, notices.notices[0].title, notices.notices[0].flags),
        std::tuple(L"No se pudo cargar la imagen: " + missing, std::wstring(L"Error"), UINT(MB_OK | MB_ICONERROR)));
    EXPECT_TRUE(b.FormattedCaption().Empty());
}
