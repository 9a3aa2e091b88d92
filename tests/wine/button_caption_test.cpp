// The formatted caption and the properties on a real button: runs, fills, rules and pictures (their
// top-left colour transparent), the disabled colour, the font carry-over, unreadable picture files,
// and the property messages and saved sets through the window.
#include "controls/button/button_messages.h"
#include "controls/host/control_error.h"
#include "controls/host/property_text.h"
#include "resources/gen/bitmap.h"
#include "tests/wine/support/button_form.h"

#include <filesystem>

using namespace skinbutton;
using namespace testsupport;

namespace {

// Files written into the temporary folder are removed with the fixture.
class ButtonCaption : public ButtonTest {
protected:
    static std::wstring Path(const std::wstring& name) {
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        return folder + name;
    }
    std::wstring Write(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
        files.push_back(Path(name));
        EXPECT_TRUE(gen::WriteFile(std::filesystem::path(files.back()).string(), bytes));
        return files.back();
    }
    void TearDown() override {
        for (const auto& f : files)
            DeleteFileW(f.c_str());
    }
    std::vector<std::wstring> files;
};

} // namespace

TEST_F(ButtonCaption, RunsFillsPicturesRulesTheDisabledColourAndTheFontCarryOver) {
    // A 16 × 16 magenta picture with a blue 6 × 6 square in it.
    gen::Raster square(16, 16, {255, 0, 255});
    for (int y = 5; y < 11; ++y)
        for (int x = 5; x < 11; ++x)
            square.At(x, y) = {0, 0, 255};
    const std::wstring picture = Write(L"zev_button_picture.bmp", gen::EncodeBmp(square));
    SkinButton b;
    ASSERT_TRUE(Place(b, L"plain", 240, 60));
    TextRunOptions red;
    red.foreColor = RGB(255, 0, 0);
    red.fontName = L"Courier New";
    red.fontSize = 12;
    red.bold = true;
    b.FormatTextAdd(L"Hola ", red);
    ASSERT_TRUE(b.FormatTextAddPicture(picture));
    TextRunOptions fill;
    fill.backColor = RGB(0, 255, 0);
    b.FormatTextAdd(L" fondo", fill);
    b.FormatTextDrawLine(RGB(128, 0, 128));
    EXPECT_EQ(b.Font().name, L"Verdana") << "adding does not change the button's font";
    b.SetEnabledFormatText(true);

    EXPECT_GT(InkOf(b, 240, 60, RGB(255, 0, 0)).count, 10) << "the red run";
    EXPECT_EQ(InkOf(b, 240, 60, RGB(0, 0, 255)).count, 36) << "the picture's blue square, whole";
    EXPECT_EQ(InkOf(b, 240, 60, RGB(255, 0, 255)).count, 0) << "its top-left colour is transparent";
    EXPECT_GT(InkOf(b, 240, 60, RGB(0, 255, 0)).count, 20) << "the fill behind the last run";
    const RECT rule = InkOf(b, 240, 60, RGB(128, 0, 128)).box;
    EXPECT_EQ(rule.left, 3);
    EXPECT_EQ(rule.right, 240 - 3 - 1) << "to the mirror position (a line leaves out its end point)";
    EXPECT_EQ(rule.top, rule.bottom) << "one pixel wide";

    b.SetEnabled(false);
    const COLORREF disabled = BuiltInSkinColours(16)->foreDisabled;
    EXPECT_EQ(InkOf(b, 240, 60, RGB(255, 0, 0)).count + InkOf(b, 240, 60, RGB(128, 0, 128)).count, 0)
        << "every run and the rule in the disabled colour";
    EXPECT_GT(InkOf(b, 240, 60, disabled).count, 10);
    EXPECT_GT(InkOf(b, 240, 60, RGB(0, 255, 0)).count, 20) << "fills keep their colour";
    EXPECT_TRUE(notices.notices.empty());

    // Pressed: the margin grows by 3 and the top by 1.
    b.SetEnabled(true);
    const RECT normal = InkOf(b, 240, 60, RGB(0, 0, 255)).box;
    Send(b, "p 5 5");
    const RECT pressed = InkOf(b, 240, 60, RGB(0, 0, 255)).box;
    EXPECT_EQ(pressed.top, normal.top + 1);
    EXPECT_EQ(pressed.left, normal.left + 1) << "left margin 9 / 2 = 4.5 rounds to 4, one more than 3";
    Send(b, "r 500 5");

    // Drawing leaves the last item's font on the surface, and the next run takes it.
    b.FormatTextClear();
    b.FormatTextAdd(L"uno", red);
    b.FormatTextDraw();
    EXPECT_EQ(b.Font().name, L"Courier New");
    b.FormatTextAdd(L"dos");
    EXPECT_EQ(b.FormattedCaption().Items().back().font, (host::FontDesc{L"Courier New", 12, true}));
}

TEST_F(ButtonCaption, UnreadablePicturesAreReportedAndAddNothingAndIconsAreDrawn) {
    SkinButton b;
    ASSERT_TRUE(Place(b, L"", 240, 60));
    const std::wstring missing = Path(L"zev_no_such_picture.bmp");
    EXPECT_FALSE(b.FormatTextAddPicture(missing));
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_EQ(notices.notices[0].text, L"No se pudo cargar la imagen: " + missing);
    EXPECT_EQ(notices.notices[0].title, L"Error");
    EXPECT_EQ(notices.notices[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    // A file that is no picture at all (the checks of malformed files are tested natively).
    EXPECT_FALSE(b.FormatTextAddPicture(Write(L"zev_text.bmp", {'h', 'o', 'l', 'a'})));
    EXPECT_EQ(notices.notices.size(), 2u);
    EXPECT_TRUE(b.FormattedCaption().Empty());

    // A 16 × 16 32-bit icon, opaque blue.
    const std::uint32_t size = 40 + 16 * 16 * 4 + 16 * 4;
    std::vector<std::uint8_t> ico = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 22, 0, 0, 0};
    ico[14] = size & 0xFF, ico[15] = size >> 8;
    ico.resize(22 + size);
    ico[22] = 40, ico[26] = 16, ico[30] = 32, ico[34] = 1, ico[36] = 32;
    for (int p = 0; p < 256; ++p)
        ico[62 + p * 4] = 255, ico[62 + p * 4 + 3] = 255;
    EXPECT_TRUE(b.FormatTextAddPicture(Write(L"zev_icon.ico", ico)));
    b.SetEnabledFormatText(true);
    EXPECT_GT(InkOf(b, 240, 60, RGB(0, 0, 255)).count, 200) << "the icon is drawn";
}

TEST_F(ButtonCaption, DesignModeShowsNoFormattedTextAndRefusesWithTheApplicationTitle) {
    SkinButton b;
    b.Ambient().SetUserMode(false);
    ASSERT_TRUE(Place(b, L"", 240, 60));
    TextRunOptions red;
    red.foreColor = RGB(255, 0, 0);
    b.FormatTextAdd(L"Hola", red);
    b.SetEnabledFormatText(true);
    EXPECT_EQ(InkOf(b, 240, 60, RGB(255, 0, 0)).count, 0);
    b.SetEnabledFormatText(false);
    b.SetForeColorNormal(RGB(1, 2, 3));
    b.SetColorSchemas(5);
    ASSERT_EQ(notices.notices.size(), 2u);
    EXPECT_EQ(notices.notices[0].text, kMsgColorSchemasUseSkins);
    EXPECT_EQ(notices.notices[0].title, host::ApplicationTitle());
    EXPECT_EQ(notices.notices[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(notices.notices[0].owner, b.hwnd());
    EXPECT_EQ(notices.notices[1].text, kMsgColorSchemasCustom);
    EXPECT_EQ(notices.notices[1].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
}

TEST_F(ButtonCaption, AButtonMadeFromASavedSetLooksAndActsAsSaved) {
    // The device finder's Conectar, as its window keeps it.
    const auto parsed = host::ParsePropertyText("Caption = \"Conectar\"\nSkin = 16\nColorSchemas = 1\n"
                                                "Font = Font(\"Verdana\", 8.25)\nBackColor = &H80000013&\n"
                                                "CaptionMargin = 10\n");
    ASSERT_TRUE(parsed);
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 83, 35}, *parsed.bag));
    EXPECT_EQ(WindowText(b.hwnd()), L"Conectar");
    EXPECT_EQ(b.ForeColorNormal(), BuiltInSkinColours(16)->foreNormal);
    EXPECT_EQ(b.BackColor(), 0x80000013u);
    EXPECT_FALSE(b.Ambient().SavedSetOutOfDate());
    int clicks = 0;
    b.Click = [&] { ++clicks; };
    SendMessageW(b.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(notices.notices.empty());
}
