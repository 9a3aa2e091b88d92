// The skinned button's drawing on real windows: skins, the flat style, the underline while drawing, the
// textured caption, custom skins, and the formatted caption (its layout is native-tested).
#include "bmp/bmp_file.h"
#include "controls/host/picture_win.h"
#include "tests/wine/support/button_form.h"

#include <filesystem>
#include <fstream>
#include <tuple>
#include <utility>
#include <vector>

using namespace skinbutton;
using namespace testsupport;
using ButtonRender = ButtonTest;

TEST_F(ButtonRender, EverySkinIsDrawnFromItsOwnBitmap) {
    SkinButton b;
    ASSERT_TRUE(Place(b, L"Aceptar"));
    // Two opposite corners tell the skin; where the other pieces go is the nine-slice layout's own test.
    for (int skin = 0; skin < kBuiltInSkinCount; ++skin) {
        b.SetSkin(skin);
        const SkinImage image(skin);
        EXPECT_EQ(std::pair(At(b, 1, 1), At(b, 98, 28)),
                  std::pair(image.At(kStateNormal, 1, 1), image.At(kStateNormal, 13, 21)))
            << "skin " << skin;
    }
    b.SetEnabled(false);
    PumpMessages(30);
    EXPECT_EQ(ScreenPixel(b.hwnd(), 2, 2), SkinImage(21).At(kStateDisabled, 2, 2))
        << "on screen, not only in the buffer";
    SaveScreenshot(form.Hwnd(), L"button_skin21_disabled");
}

TEST_F(ButtonRender, FlatColoursAndTheUnderlineWhileDrawing) {
    // Which colours, underline and place each state and alignment take is the paint table's test: here
    // the window applies them. Black on white, so the caption's ink can be counted.
    SkinButton b;
    ASSERT_TRUE(Place(b, L"Conectar", 200));
    b.SetSkinEnabled(false);
    for (auto set : {&SkinButton::SetBackColor, &SkinButton::SetBackColorOver, &SkinButton::SetBackColorDown,
                     &SkinButton::SetBorderColorDown})
        (b.*set)(RGB(255, 255, 255));
    for (auto set : {&SkinButton::SetForeColorNormal, &SkinButton::SetForeColorUp, &SkinButton::SetForeColorDown})
        (b.*set)(0);
    for (auto set : {&SkinButton::SetBorderColorNormal, &SkinButton::SetBorderColorOver})
        (b.*set)(RGB(200, 0, 0));
    EXPECT_EQ(std::pair(At(b, 199, 29), At(b, 1, 1)), std::pair(RGB(200, 0, 0), RGB(255, 255, 255))) << "one pixel";

    const int plain = InkOf(b, 200, 30, 0).count;
    b.SetUseUnderLineMouseUp(true);
    Send(b, "m 100 15");
    EXPECT_GT(InkOf(b, 200, 30, 0).count, plain + 20) << "hot with UseUnderLineMouseUp";
    EXPECT_FALSE(b.FontUnderline()) << "the font's own flag is back after the paint";
}

TEST_F(ButtonRender, TexturedCaptionPaintsThroughTheLetters) {
    SkinButton b;
    ASSERT_TRUE(Place(b, L"Textura", 200, 40));
    // A green texture big enough: the letters show green, the rest stays the skin.
    win::Bitmap texture = host::BitmapFromPicture({bmp::Raster(300, 60, {0, 255, 0})});
    b.SetFont({L"MS Sans Serif", 8.25});
    b.SetPictureTexture(texture.Get());
    EXPECT_GT(InkOf(b, 200, 40, RGB(0, 255, 0)).count, 0) << "the texture shows through the letters";
    const SkinImage skin(16);
    // (The band is stretched with filtering, whose rounding differs by a unit between builds.)
    const COLORREF outside = At(b, 2, 20), skinned = skin.At(kStateNormal, 2, 11);
    for (const int shift : {0, 8, 16})
        EXPECT_NEAR((outside >> shift) & 0xFF, (skinned >> shift) & 0xFF, 2) << "and nowhere else";
    // The clip does not outlive the caption: the next paint covers the whole surface.
    b.SetPictureTexture(nullptr);
    EXPECT_EQ(std::pair(InkOf(b, 200, 40, RGB(0, 255, 0)).count, At(b, 0, 0)),
              std::pair(0, skin.At(kStateNormal, 0, 0)));
}

namespace {

// Windows will not delete a bitmap still selected into a device context (Wine does): counts the
// bitmaps released while the watched button still has them selected.
const SkinButton* g_watched = nullptr;
int g_released = 0, g_releasedSelected = 0;
void WatchRelease(HGDIOBJ object) {
    g_released += GetObjectType(object) == OBJ_BITMAP;
    for (HDC dc : {g_watched->SkinContext(), g_watched->hdc()})
        g_releasedSelected += dc && GetCurrentObject(dc, OBJ_BITMAP) == object;
}

} // namespace

TEST_F(ButtonRender, ACustomSkinLeavesTheSkinContextBeforeItIsReleasedAndIsNeverShared) {
    // Loaded from a saved set, the button owns its custom skin's bitmap: replacing or clearing the skin
    // releases it.
    host::PropertyBag saved;
    saved.WritePicture(L"SkinCustomPicture", host::Picture{bmp::Raster(105, 23, {10, 200, 30})});
    saved.WriteLong(L"Skin", kSkinCustom);
    SkinButton one, two;
    win::Bitmap other(CreateBitmap(105, 23, 1, 32, nullptr));
    for (HBITMAP replacement : {other.Get(), HBITMAP{}}) {
        SkinButton b;
        ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, saved));
        EXPECT_EQ(std::pair(At(b, 2, 2), COLORREF{b.GetSkinsColors(0)}), std::pair(RGB(10, 200, 30), RGB(10, 200, 30)))
            << "drawn from the custom skin";
        g_watched = &b;
        g_released = g_releasedSelected = 0;
        b.SetBackColor(RGB(50, 60, 70));
        win::WatchDeletes() = &WatchRelease;
        b.SetSkinCustomPicture(replacement);
        win::WatchDeletes() = nullptr;
        EXPECT_EQ(std::pair(g_released, g_releasedSelected), std::pair(1, 0)) << "released, and not while selected";
        EXPECT_TRUE(replacement || At(b, 50, 15) == RGB(50, 60, 70)) << "cleared, the flat look";
    }
    // A bitmap sits in one context at a time: another button's skin is refused, as the status bar does.
    ASSERT_TRUE(Place(one) && Place(two, L"", 100, 30, 2));
    ASSERT_FALSE(one.SetSkinCustomPicture(other.Get()));
    const auto refused = two.SetSkinCustomPicture(other.Get());
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->number, 481);
    EXPECT_EQ(FrameShown(two), kStateNormal) << "still its own skin";
}

// A file in the temporary folder of the test prefix; each run writes the same names again.
static std::wstring Write(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.wstring();
}

TEST_F(ButtonRender, RunsFillsAndPictures) {
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
    b.SetEnabledFormatText(true);
    auto ink = [&](COLORREF c) { return InkOf(b, 240, 60, c).count; };
    EXPECT_GT(ink(RGB(255, 0, 0)), 10) << "the red run";
    EXPECT_EQ(ink(RGB(0, 0, 255)), 36) << "the picture's blue square, whole";
    EXPECT_EQ(ink(RGB(255, 0, 255)), 0) << "its top-left colour is transparent";
    EXPECT_GT(ink(RGB(0, 255, 0)), 20) << "the fill behind the last run";
}

TEST_F(ButtonRender, AnUnreadablePictureIsReportedAndAddsNothing) {
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
