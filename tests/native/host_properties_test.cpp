// Saved property sets and their text form; the host's site.
#include "controls/host/ambient.h"
#include "controls/host/base64.h"
#include "controls/host/property_bag.h"
#include "controls/host/property_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

using host::ParsePropertyText;
using host::PropertyBag;
using host::PropertyText;

namespace {

host::Picture Checkerboard(int w, int h) {
    host::Picture p{bmp::Raster(w, h)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.raster.At(x, y) = bmp::Rgb{static_cast<std::uint8_t>(x * 17), static_cast<std::uint8_t>(y * 9),
                                         static_cast<std::uint8_t>((x + y) % 2 ? 255 : 0)};
    return p;
}

} // namespace

TEST(PropertyBag, NamesMatchWithoutRegardToCaseAndKeepTheFirstSpelling) {
    PropertyBag bag;
    ASSERT_TRUE(bag.WriteLong(L"ForeColorNormal", 5));
    EXPECT_EQ(bag.ReadLong(L"FORECOLORNORMAL", 0), 5);
    ASSERT_TRUE(bag.WriteLong(L"forecolornormal", 7));
    ASSERT_EQ(bag.Size(), 1u) << "a second write under another spelling replaces the entry";
    EXPECT_EQ(bag.Entries()[0].name, L"ForeColorNormal");
    EXPECT_EQ(bag.ReadLong(L"ForeColorNormal", 0), 7);
    bag.WriteBool(L"AÑOÀÞ", true); // Spanish names fold their accented capitals too
    EXPECT_TRUE(bag.ReadBool(L"añoàþ", false));
    EXPECT_TRUE(bag.Remove(L"añoàþ"));
    EXPECT_FALSE(host::SamePropertyName(L"Skin", L"Skin2"));
}

TEST(PropertyBag, DefaultsAreNotStoredAndMissingOrOtherKindsReadAsTheDefault) {
    PropertyBag bag;
    bag.WriteLong(L"Skin", 16, 16);
    EXPECT_FALSE(bag.Contains(L"Skin"));
    bag.WriteLong(L"Skin", 0, 16);
    EXPECT_EQ(bag.ReadLong(L"Skin", 16), 0) << "0 differs from the default, so it is stored";
    bag.WriteLong(L"skin", 16, 16);
    EXPECT_FALSE(bag.Contains(L"Skin")) << "writing the default again must not leave the old 0 behind";

    bag.WriteBool(L"Enabled", true); // no default: always stored
    EXPECT_TRUE(bag.Contains(L"Enabled"));
    bag.WriteColour(L"BackColor", 0x8000000F, 0x8000000F);
    bag.WriteString(L"Caption", L"", L"");
    bag.WriteFont(L"Font", host::FontDesc{}, host::FontDesc{});
    bag.WritePicture(L"PictureTexture", host::Picture{}, host::Picture{});
    EXPECT_EQ(bag.Size(), 1u) << "only Enabled";

    PropertyBag other;
    other.WriteString(L"Skin", L"dieciséis");
    other.WriteColour(L"ForeColorNormal", 0x80000012);
    other.WriteLong(L"Count", -3);
    EXPECT_EQ(
        std::tuple(other.ReadLong(L"Skin", 16), other.ReadBool(L"Nothing", true), other.ReadString(L"Nothing", L"x")),
        std::tuple(16, true, L"x"));
    EXPECT_EQ(other.ReadPicture(L"Skin"), host::Picture{});
    // Numbers and colours are both 32-bit numbers.
    EXPECT_EQ(other.ReadColour(L"Count", 0), 0xFFFFFFFDu);
    EXPECT_EQ(other.ReadLong(L"ForeColorNormal", 0), static_cast<std::int32_t>(0x80000012u));
    EXPECT_FALSE(other.ReadBool(L"Count", false)) << "a number is not a Boolean";
}

TEST(PropertyBag, RefusesNamesAndValuesTheTextFormCouldNotCarryBack) {
    PropertyBag bag;
    for (const std::wstring& name :
         {std::wstring(), std::wstring(L"a b"), std::wstring(L"a=b"), std::wstring(L"#x"), std::wstring(256, L'a')})
        EXPECT_FALSE(bag.WriteLong(name, 1)) << name.size();
    EXPECT_TRUE(bag.WriteLong(std::wstring(255, L'a'), 1));
    EXPECT_TRUE(bag.WriteString(L"az_AZ.09-\u00A0", L"x", L""));
    for (const wchar_t* refused : {L"a\u009F", L"a\uFEFF", L"a/"})
        EXPECT_FALSE(bag.WriteLong(refused, 1)) << "C1 controls, the byte-order mark, punctuation";
    EXPECT_FALSE(bag.WriteString(L"a b", L"x", L""));
    host::Picture broken;
    broken.raster.width = 4;
    broken.raster.height = 4;
    broken.raster.pixels.resize(3); // fewer pixels than its size says
    EXPECT_FALSE(bag.WritePicture(L"P", broken));
    // Pictures travel as .bmp files: a side the bitmap reader would refuse is refused here already.
    EXPECT_FALSE(bag.WritePicture(L"P", host::Picture{bmp::Raster(bmp::kMaxSide + 1, 1)}));
    EXPECT_FALSE(bag.WritePicture(L"P", host::Picture{bmp::Raster(1, bmp::kMaxSide + 1)}));
    EXPECT_EQ(bag.Size(), 2u);
}

TEST(ControlSite, ReportsAmbientChangesByNameAndKeepsThem) {
    host::ControlSite site; // property change notices are shown through the status bar's setters
    std::vector<std::wstring> toControl;
    site.AmbientChanged = [&](const std::wstring& n) { toControl.push_back(n); };
    EXPECT_TRUE(site.UserMode());
    site.SetUserMode(false);
    EXPECT_TRUE(site.DesignMode());
    site.SetUserMode(false); // no change, no notice
    site.SetBackColor(0xFF);
    site.SetFont({L"Arial", 9});
    host::AmbientProperties a = site.Ambient();
    a.DisplayName = L"Command1";
    a.UserMode = true;
    a.BackColor = 0xFE;
    a.Font.bold = true;
    site.SetAmbient(a);
    EXPECT_EQ(toControl, (std::vector<std::wstring>{L"UserMode", L"BackColor", L"Font", L"UserMode", L"BackColor",
                                                    L"Font", L"DisplayName"}));
    EXPECT_EQ(
        std::tuple(site.Ambient().UserMode, site.Ambient().BackColor, site.Ambient().Font, site.Ambient().DisplayName),
        std::tuple(true, 0xFEu, host::FontDesc{L"Arial", 9, true}, std::wstring(L"Command1")));
}

TEST(PropertyText, EveryKindAndStringsWithAnyCharactersRoundTrip) {
    std::wstring every;
    for (wchar_t c = 0; c < 0x300; ++c)
        every += c;
    every += L"\"\\\\n = # Conexión €";
    for (wchar_t c : {wchar_t(0xD800), L'x', wchar_t(0xDFFF), wchar_t(0xFFFF)}) // lone surrogates and a non-character
        every += c;
    every += sizeof(wchar_t) == 2 ? std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)} : std::wstring(1, wchar_t(0x1F600));
    PropertyBag bag;
    bag.WriteString(L"Caption", every);
    bag.WriteString(L"Spaces", L"  a  ");
    bag.WriteBool(L"Enabled", false);
    bag.WriteBool(L"Value", true);
    bag.WriteLong(L"Min", INT32_MIN);
    bag.WriteLong(L"Max", INT32_MAX);
    bag.WriteColour(L"ForeColorNormal", 0x80000012);
    bag.WriteColour(L"White", 0xFFFFFFFF);
    bag.WriteFont(L"Font", {L"Verdana", 8.25, true, false, true, false, 0});
    bag.WriteFont(L"Font2", {L"Tahoma \"Ñ\"", 11.333333333333334, false, true, false, true, 204});
    bag.WritePicture(L"SkinCustomPicture", Checkerboard(15, 23));
    bag.WritePicture(L"PictureTexture", host::Picture{});
    const std::string text = PropertyText(bag);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 12) << "one line per entry, whatever the text holds";
    EXPECT_NE(text.find("Conexión €"), std::string::npos) << "readable characters stay readable";
    EXPECT_NE(text.find("\\u{1F} !"), std::string::npos) << "only control characters are escaped";
    EXPECT_NE(text.find("~\\u{7F}"), std::string::npos);
    EXPECT_NE(text.find("\\u{9F}\u00A0"), std::string::npos);
    const auto back = ParsePropertyText(text);
    ASSERT_TRUE(back) << std::string(back.error.begin(), back.error.end());
    EXPECT_EQ(*back.bag, bag);
}

TEST(PropertyText, ReadsTheFormAPersonWrites) {
    const char* text = "\xEF\xBB\xBF# status bar of Principal\r\n"
                       "\r\n"
                       "  skin=5  \r\n"
                       "Enabled = false\n"
                       "BackColor = &hff&\n"
                       "Caption = \"Línea\\t1\\u{41}\\u{10FFFF}\\u{dc00}\\r\\n\\\\\\\"\"\n"
                       "Font = Font( \"MS Sans Serif\" , 8 , italic, charset = 2 )\n"
                       "Big = +12";
    const auto r = ParsePropertyText(text);
    ASSERT_TRUE(r) << std::string(r.error.begin(), r.error.end());
    const PropertyBag& bag = *r.bag;
    EXPECT_EQ(bag.Size(), 6u);
    EXPECT_EQ(bag.ReadLong(L"Skin", 16), 5);
    EXPECT_FALSE(bag.ReadBool(L"Enabled", true));
    EXPECT_EQ(bag.ReadColour(L"BackColor", 0), 0xFFu);
    const std::wstring beyond = sizeof(wchar_t) == 2 ? std::wstring{wchar_t(0xDBFF), wchar_t(0xDFFF)} : L"\U0010FFFF";
    EXPECT_EQ(bag.ReadString(L"Caption", L""), L"Línea\t1A" + beyond + wchar_t(0xDC00) + L"\r\n\\\"")
        << "six digits at most; a surrogate named by an escape is kept as it stands";
    EXPECT_EQ(bag.ReadFont(L"Font", {}), (host::FontDesc{L"MS Sans Serif", 8.0, false, true, false, false, 2}));
    EXPECT_EQ(bag.ReadLong(L"Big", 0), 12);
}

TEST(PropertyText, MalformedTextNamesItsLineAndLoadsNothing) {
    const struct {
        int line;
        const wchar_t* fragment;
        std::vector<std::string> texts;
    } cases[] = {
        {2, L"falta el signo '='", {"Skin = 1\nEnabled True\n"}},
        {3, L"falta el nombre", {"Skin = 1\n\n = 3\n"}},
        {2, L"más de una vez", {"Skin = 1\nskin = 2\n"}},
        {1, L"fuera del intervalo", {"Skin = 2147483648\n"}},
        {1, L"número no válido", {"Skin = -\n"}},
        {1, L"sobra texto", {"Skin = 12 13\n"}},
        {2, L"comillas de cierre", {"A = 1\nCaption = \"abc\n"}},
        // Unknown, past U+10FFFF, seven digits, none, unclosed, without braces, cut off.
        {1,
         L"escape",
         {"Caption = \"a\\qb\"\n", "Caption = \"\\u{110000}\"\n", "Caption = \"\\u{0000041}\"\n",
          "Caption = \"\\u{}\"\n", "Caption = \"\\u{41\"\n", "Caption = \"\\u41\"\n", "Caption = \"abc\\"}},
        // Not UTF-8, a continuation byte on its own, an overlong '/'.
        {1, L"UTF-8", {"Caption = \"\xC3\x28\"\n", "Caption = \"\x80\"\n", "Caption = \"\xE0\x80\xAF\"\n"}},
        {1, L"color", {"Color = &H123456789&\n", "Color = &H12\n"}},
        {1, L"valor no reconocido", {"Enabled = yes\n"}},
        {1, L"falta el valor", {"Enabled =\n"}},
        {1,
         L"fuente",
         {"Font = Font(\"Arial\")\n", "Font = Font(\"Arial\", 0)\n", "Font = Font(\"Arial\", 8.5.5)\n",
          "Font = Font(\"Arial\", 8, Heavy)\n"}},
        // Valid base64 but not a bitmap, not base64, unclosed.
        {1, L"imagen", {"P = Picture(QUJD)\n", "P = Picture(@@@@)\n", "P = Picture(Qk0\n"}},
        {1, L"no es válido", {"bad name = 1\n"}},
    };
    for (const auto& c : cases) {
        for (const std::string& text : c.texts) {
            const auto r = ParsePropertyText(text);
            EXPECT_FALSE(r.bag.has_value()) << text;
            EXPECT_EQ(r.line, c.line) << text;
            EXPECT_EQ(r.error.rfind(L"Línea " + std::to_wstring(c.line) + L": ", 0), 0u) << text;
            EXPECT_NE(r.error.find(c.fragment), std::wstring::npos) << text;
        }
    }
}

TEST(Base64, TheStandardVectorsEveryDigitAndWhatIsRefused) {
    const std::pair<std::string, std::string> vectors[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"\xFB\xEF\xFF", "++//"}};
    for (const auto& [plain, coded] : vectors) {
        const std::vector<std::uint8_t> bytes(plain.begin(), plain.end());
        EXPECT_EQ(host::Base64Encode(bytes), coded);
        EXPECT_EQ(host::Base64Decode(coded), bytes) << coded;
    }
    std::vector<std::uint8_t> all(256);
    for (int i = 0; i < 256; ++i)
        all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(255 - i);
    EXPECT_EQ(host::Base64Decode(host::Base64Encode(all)), all);
    for (const char* bad : {"Zg=", "Z===", "Zg=a", "Zm9v!A==", "Zg==Zg==", "Zm 9"})
        EXPECT_FALSE(host::Base64Decode(bad)) << bad;
}
