// The formatted caption and the properties on a real button: runs, fills, rules and pictures (their
// top-left colour transparent), the disabled colour, the font carry-over, unreadable picture files,
// and the property messages and saved sets through the window.
#include "controls/button/button_messages.h"
#include "controls/button/skin_button.h"
#include "controls/button/skin_palette.h"
#include "controls/host/control_error.h"
#include "controls/host/property_text.h"
#include "resources/gen/bitmap.h"
#include "tests/wine/support/button_form.h"
#include "tests/wine/support/window_test.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace skinbutton;
using namespace testsupport;

namespace {

std::wstring TempFile(const std::wstring& name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

std::string Narrow(const std::wstring& w) {
    return std::filesystem::path(w).string();
}

int Count(const SkinButton& b, int w, int h, COLORREF c) {
    int n = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            n += GetPixel(b.hdc(), x, y) == c;
    return n;
}

RECT Box(const SkinButton& b, int w, int h, COLORREF c) {
    RECT r{w, h, -1, -1};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (GetPixel(b.hdc(), x, y) == c) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x);
                r.bottom = std::max<LONG>(r.bottom, y);
            }
    return r;
}

class ButtonCaption : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(1200, 1000);
        ASSERT_TRUE(form.Open(40, 40, 420, 220));
        // A 16 × 16 magenta picture with a blue 6 × 6 square in it.
        gen::Raster r(16, 16, {255, 0, 255});
        for (int y = 5; y < 11; ++y)
            for (int x = 5; x < 11; ++x)
                r.At(x, y) = {0, 0, 255};
        picture = TempFile(L"zev_button_picture.bmp");
        ASSERT_TRUE(gen::WriteFile(Narrow(picture), gen::EncodeBmp(r)));
    }
    void TearDown() override { DeleteFileW(picture.c_str()); }
    NoticeRecorder notices;
    ButtonForm form;
    std::wstring picture;
};

} // namespace

TEST_F(ButtonCaption, RunsFillsPicturesAndTheDisabledColour) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 250, 70}, L"plain"));
    TextRunOptions red;
    red.foreColor = RGB(255, 0, 0);
    red.fontSize = 12;
    red.bold = true;
    b.FormatTextAdd(L"Hola ", red);
    ASSERT_TRUE(b.FormatTextAddPicture(picture));
    TextRunOptions fill;
    fill.backColor = RGB(0, 255, 0);
    b.FormatTextAdd(L" fondo", fill);
    b.FormatTextDrawLine(RGB(128, 0, 128));
    b.SetEnabledFormatText(true);

    EXPECT_GT(Count(b, 240, 60, RGB(255, 0, 0)), 10) << "the red run";
    EXPECT_EQ(Count(b, 240, 60, RGB(0, 0, 255)), 36) << "the picture's blue square, whole";
    EXPECT_EQ(Count(b, 240, 60, RGB(255, 0, 255)), 0) << "its top-left colour is transparent";
    EXPECT_GT(Count(b, 240, 60, RGB(0, 255, 0)), 20) << "the fill behind the last run";
    const RECT rule = Box(b, 240, 60, RGB(128, 0, 128));
    EXPECT_EQ(rule.left, 3);
    EXPECT_EQ(rule.right, 240 - 3 - 1) << "to the mirror position (a line leaves out its end point)";
    EXPECT_EQ(rule.top, rule.bottom) << "one pixel wide";

    b.SetEnabled(false);
    const COLORREF disabled = BuiltInSkinColours(16)->foreDisabled;
    EXPECT_EQ(b.ForeColorDisabled(), disabled);
    EXPECT_EQ(Count(b, 240, 60, RGB(255, 0, 0)), 0) << "every run in the disabled colour";
    EXPECT_EQ(Count(b, 240, 60, RGB(128, 0, 128)), 0) << "the rule too";
    EXPECT_GT(Count(b, 240, 60, disabled), 10);
    EXPECT_GT(Count(b, 240, 60, RGB(0, 255, 0)), 20) << "fills keep their colour";
    EXPECT_TRUE(notices.notices.empty());

    // Pressed: the margin grows by 3 and the top by 1.
    b.SetEnabled(true);
    const RECT normal = Box(b, 240, 60, RGB(0, 0, 255));
    SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    const RECT pressed = Box(b, 240, 60, RGB(0, 0, 255));
    EXPECT_EQ(pressed.top, normal.top + 1);
    EXPECT_EQ(pressed.left, normal.left + 1) << "left margin 9 / 2 = 4.5 rounds to 4, one more than 3";
    SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
}

TEST_F(ButtonCaption, TheLastMeasuredFontStaysForTheNextRun) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 250, 70}, L""));
    TextRunOptions big;
    big.fontName = L"Courier New";
    big.fontSize = 14;
    b.FormatTextAdd(L"uno", big);
    EXPECT_EQ(b.Font().name, L"Verdana") << "adding does not change the button's font";
    b.SetEnabledFormatText(true);
    EXPECT_EQ(b.Font().name, L"Courier New") << "drawing leaves the last item's font";
    b.FormatTextAdd(L"dos");
    EXPECT_EQ(b.FormattedCaption().Items().back().font.name, L"Courier New");
    EXPECT_EQ(b.FormattedCaption().Items().back().font.size, 14);
}

TEST_F(ButtonCaption, NothingFormattedInDesignMode) {
    SkinButton b;
    b.Ambient().SetUserMode(false);
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 250, 70}, L""));
    TextRunOptions red;
    red.foreColor = RGB(255, 0, 0);
    b.FormatTextAdd(L"Hola", red);
    b.SetEnabledFormatText(true);
    EXPECT_EQ(Count(b, 240, 60, RGB(255, 0, 0)), 0);
}

TEST_F(ButtonCaption, UnreadablePicturesAreReportedAndAddNothing) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 250, 70}, L""));
    const std::wstring missing = TempFile(L"zev_no_such_picture.bmp");
    EXPECT_FALSE(b.FormatTextAddPicture(missing));
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_EQ(notices.notices[0].text, L"No se pudo cargar la imagen: " + missing);
    EXPECT_EQ(notices.notices[0].title, L"Error");
    EXPECT_EQ(notices.notices[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));

    // A bitmap cut short, and a file that is no picture at all.
    const std::wstring cut = TempFile(L"zev_cut.bmp");
    auto bytes = gen::EncodeBmp(gen::Raster(40, 40, {1, 2, 3}));
    bytes.resize(bytes.size() / 2);
    ASSERT_TRUE(gen::WriteFile(Narrow(cut), bytes));
    EXPECT_FALSE(b.FormatTextAddPicture(cut));
    const std::wstring text = TempFile(L"zev_text.bmp");
    ASSERT_TRUE(gen::WriteFile(Narrow(text), {'h', 'o', 'l', 'a'}));
    EXPECT_FALSE(b.FormatTextAddPicture(text));
    EXPECT_EQ(notices.notices.size(), 3u);
    EXPECT_TRUE(b.FormattedCaption().Empty());
    DeleteFileW(cut.c_str());
    DeleteFileW(text.c_str());

    // An icon file is a picture too.
    std::vector<std::uint8_t> ico = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0};
    const std::uint32_t size = 40 + 16 * 16 * 4 + 16 * 4, offset = 22;
    for (int i = 0; i < 4; ++i)
        ico.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
    for (int i = 0; i < 4; ++i)
        ico.push_back(static_cast<std::uint8_t>(offset >> (8 * i)));
    std::vector<std::uint8_t> image(size, 0);
    image[0] = 40, image[4] = 16, image[8] = 32, image[12] = 1, image[14] = 32;
    for (int p = 0; p < 256; ++p)
        image[40 + p * 4 + 0] = 255, image[40 + p * 4 + 3] = 255; // opaque blue
    ico.insert(ico.end(), image.begin(), image.end());
    const std::wstring icon = TempFile(L"zev_icon.ico");
    ASSERT_TRUE(gen::WriteFile(Narrow(icon), ico));
    EXPECT_TRUE(b.FormatTextAddPicture(icon));
    b.SetEnabledFormatText(true);
    EXPECT_GT(Count(b, 240, 60, RGB(0, 0, 255)), 200) << "the icon is drawn";
    DeleteFileW(icon.c_str());
}

TEST_F(ButtonCaption, DesignModeRefusalsShowTheirMessagesWithTheApplicationTitle) {
    SkinButton b;
    b.Ambient().SetUserMode(false);
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, L"x"));
    b.SetForeColorNormal(RGB(1, 2, 3));
    b.SetColorSchemas(5);
    ASSERT_EQ(notices.notices.size(), 2u);
    EXPECT_EQ(notices.notices[0].text, kMsgColorSchemasUseSkins);
    EXPECT_EQ(notices.notices[0].title, host::ApplicationTitle());
    EXPECT_EQ(notices.notices[0].title, L"ZEV Config");
    EXPECT_EQ(notices.notices[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(notices.notices[1].text, kMsgColorSchemasCustom);
    EXPECT_EQ(notices.notices[1].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(notices.notices[0].owner, b.hwnd());
}

TEST_F(ButtonCaption, AButtonMadeFromASavedSetLooksAndActsAsSaved) {
    // The device finder's Conectar, as its window keeps it.
    const char* saved = "Caption = \"Conectar\"\n"
                        "Skin = 16\n"
                        "ColorSchemas = 1\n"
                        "Font = Font(\"Verdana\", 8.25)\n"
                        "BackColor = &H80000013&\n"
                        "CaptionMargin = 10\n";
    const auto parsed = host::ParsePropertyText(saved);
    ASSERT_TRUE(parsed) << Narrow(parsed.error);
    SkinButton b;
    std::vector<std::wstring> changed;
    b.Ambient().OnPropertyChanged = [&](const std::wstring& n) { changed.push_back(n); };
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 83, 35}, *parsed.bag));
    EXPECT_TRUE(IsWindowVisible(b.hwnd()));
    EXPECT_EQ(WindowText(b.hwnd()), L"Conectar");
    EXPECT_EQ(b.ForeColorNormal(), BuiltInSkinColours(16)->foreNormal);
    EXPECT_EQ(b.BackColor(), 0x80000013u);
    EXPECT_FALSE(b.Ambient().SavedSetOutOfDate());
    int clicks = 0;
    b.Click = [&] { ++clicks; };
    SendMessageW(b.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    host::PropertyBag again;
    b.Save(again);
    EXPECT_EQ(again.ReadString(L"caption", L""), L"Conectar");
    EXPECT_EQ(again.ReadLong(L"skin", 0), 16);
    EXPECT_TRUE(notices.notices.empty());
}
