// The text form of saved property sets: every kind round-trips, and bad text is refused whole with
// its line named.
#include "controls/host/base64.h"
#include "controls/host/property_text.h"

#include <gtest/gtest.h>

#include <climits>

using host::ParsePropertyText;
using host::PropertyBag;
using host::PropertyText;

namespace {

host::Picture Checkerboard(int w, int h) {
    host::Picture p{gen::Raster(w, h)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.raster.At(x, y) = gen::Rgb{static_cast<std::uint8_t>(x * 17), static_cast<std::uint8_t>(y * 9),
                                         static_cast<std::uint8_t>((x + y) % 2 ? 255 : 0)};
    return p;
}

PropertyBag RoundTrip(const PropertyBag& bag) {
    const auto result = ParsePropertyText(PropertyText(bag));
    EXPECT_TRUE(result) << std::string(result.error.begin(), result.error.end());
    return result.bag.value_or(PropertyBag{});
}

} // namespace

TEST(PropertyText, EveryKindRoundTrips) {
    PropertyBag bag;
    bag.WriteBool(L"Enabled", false);
    bag.WriteBool(L"Value", true);
    bag.WriteLong(L"Skin", 0);
    bag.WriteLong(L"Min", INT32_MIN);
    bag.WriteLong(L"Max", INT32_MAX);
    bag.WriteColour(L"ForeColorNormal", 0x80000012);
    bag.WriteColour(L"ForeColorUp", 0xFF0000);
    bag.WriteColour(L"White", 0xFFFFFFFF);
    host::FontDesc font{L"Verdana", 8.25, true, false, true, false, 0};
    bag.WriteFont(L"Font", font);
    host::FontDesc odd{L"Tahoma \"Ñ\"", 11.333333333333334, false, true, false, true, 204};
    bag.WriteFont(L"Font2", odd);
    bag.WritePicture(L"SkinCustomPicture", Checkerboard(15, 23));
    bag.WritePicture(L"Odd", Checkerboard(5, 3)); // rows padded in the .bmp form
    bag.WritePicture(L"PictureTexture", host::Picture{});
    const PropertyBag back = RoundTrip(bag);
    EXPECT_EQ(back, bag);
    EXPECT_EQ(back.ReadFont(L"font2", {}).size, 11.333333333333334);
}

TEST(PropertyText, StringsWithAnyCharactersRoundTrip) {
    std::wstring every;
    for (wchar_t c = 0; c < 0x300; ++c)
        every += c;
    every += L"\"\\\\n = # Conexión €";
    every += static_cast<wchar_t>(0xD800); // a lone surrogate
    every += L"x";
    every += static_cast<wchar_t>(0xDFFF);
    every += static_cast<wchar_t>(0xFFFF);
    if constexpr (sizeof(wchar_t) == 2) {
        every += static_cast<wchar_t>(0xD83D); // 😀 as a pair
        every += static_cast<wchar_t>(0xDE00);
    } else {
        every += static_cast<wchar_t>(0x1F600);
    }
    PropertyBag bag;
    bag.WriteString(L"Caption", every);
    bag.WriteString(L"Empty", L"");
    bag.WriteString(L"Spaces", L"  a  ");
    const std::string text = PropertyText(bag);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << "one line per entry, whatever the text holds";
    EXPECT_NE(text.find("Conexión €"), std::string::npos) << "readable characters stay readable";
    EXPECT_EQ(RoundTrip(bag), bag);
}

TEST(PropertyText, ReadsTheFormAPersonWrites) {
    const char* text = "\xEF\xBB\xBF# status bar of Principal\r\n"
                       "\r\n"
                       "  skin=5  \r\n"
                       "Enabled = false\n"
                       "BackColor = &hff&\n"
                       "Caption = \"Línea\\t1\\u{41}\"\n"
                       "Font = Font( \"MS Sans Serif\" , 8 , italic, charset = 2 )\n"
                       "Big = +12";
    const auto r = ParsePropertyText(text);
    ASSERT_TRUE(r) << std::string(r.error.begin(), r.error.end());
    const PropertyBag& bag = *r.bag;
    EXPECT_EQ(bag.Size(), 6u);
    EXPECT_EQ(bag.ReadLong(L"Skin", 16), 5);
    EXPECT_FALSE(bag.ReadBool(L"Enabled", true));
    EXPECT_EQ(bag.ReadColour(L"BackColor", 0), 0xFFu);
    EXPECT_EQ(bag.ReadString(L"Caption", L""), L"Línea\t1A");
    const host::FontDesc f = bag.ReadFont(L"Font", {});
    EXPECT_EQ(f.name, L"MS Sans Serif");
    EXPECT_EQ(f.size, 8.0);
    EXPECT_TRUE(f.italic);
    EXPECT_FALSE(f.bold);
    EXPECT_EQ(f.charset, 2);
    EXPECT_EQ(bag.ReadLong(L"Big", 0), 12);
    EXPECT_TRUE(ParsePropertyText(""));
}

TEST(PropertyText, MalformedTextNamesItsLineAndLoadsNothing) {
    struct Case {
        const char* text;
        int line;
        const wchar_t* fragment;
    };
    const Case cases[] = {
        {"Skin = 1\nEnabled True\n", 2, L"falta el signo '='"},
        {"Skin = 1\n\n = 3\n", 3, L"falta el nombre"},
        {"Skin = 1\nskin = 2\n", 2, L"más de una vez"},
        {"Skin = 2147483648\n", 1, L"fuera del intervalo"},
        {"Skin = -\n", 1, L"número no válido"},
        {"Skin = 12 13\n", 1, L"sobra texto"},
        {"A = 1\nCaption = \"abc\n", 2, L"comillas de cierre"},
        {"Caption = \"a\\qb\"\n", 1, L"escape"},
        {"Caption = \"\\u{110000}\"\n", 1, L"escape"},
        {"Caption = \"\xC3\x28\"\n", 1, L"UTF-8"},
        {"Caption = \"\xE0\x80\xAF\"\n", 1, L"UTF-8"}, // overlong '/'
        {"Color = &H123456789&\n", 1, L"color"},
        {"Color = &H12\n", 1, L"color"},
        {"Enabled = yes\n", 1, L"valor no reconocido"},
        {"Enabled =\n", 1, L"falta el valor"},
        {"Font = Font(\"Arial\")\n", 1, L"fuente"},
        {"Font = Font(\"Arial\", 0)\n", 1, L"fuente"},
        {"Font = Font(\"Arial\", 8, Heavy)\n", 1, L"fuente"},
        {"P = Picture(QUJD)\n", 1, L"imagen"}, // valid base64, not a bitmap
        {"P = Picture(@@@@)\n", 1, L"imagen"},
        {"P = Picture(Qk0\n", 1, L"imagen"},
        {"bad name = 1\n", 1, L"no es válido"},
    };
    for (const Case& c : cases) {
        const auto r = ParsePropertyText(c.text);
        EXPECT_FALSE(r.bag.has_value()) << c.text;
        EXPECT_EQ(r.line, c.line) << c.text;
        EXPECT_EQ(r.error.rfind(L"Línea " + std::to_wstring(c.line) + L": ", 0), 0u) << c.text;
        EXPECT_NE(r.error.find(c.fragment), std::wstring::npos) << c.text;
    }
}

TEST(PropertyText, APictureCutShortIsRefused) {
    PropertyBag bag;
    bag.WritePicture(L"P", Checkerboard(8, 8));
    std::string text = PropertyText(bag);
    const std::size_t close = text.find(')');
    ASSERT_NE(close, std::string::npos);
    text.erase(close - 8, 8); // drop some pixel data, keeping base64 length valid
    const auto r = ParsePropertyText(text);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.line, 1);
}

TEST(Base64, EncodesKnownVectorsAndRefusesMalformedText) {
    auto bytes = [](std::string s) { return std::vector<std::uint8_t>(s.begin(), s.end()); };
    EXPECT_EQ(host::Base64Encode(bytes("")), "");
    EXPECT_EQ(host::Base64Encode(bytes("f")), "Zg==");
    EXPECT_EQ(host::Base64Encode(bytes("fo")), "Zm8=");
    EXPECT_EQ(host::Base64Encode(bytes("foobar")), "Zm9vYmFy");
    EXPECT_EQ(host::Base64Decode("Zm8="), bytes("fo"));
    EXPECT_EQ(host::Base64Decode("Zg=="), bytes("f"));
    std::vector<std::uint8_t> all(256);
    for (int i = 0; i < 256; ++i)
        all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(host::Base64Decode(host::Base64Encode(all)), all);
    EXPECT_FALSE(host::Base64Decode("Zg="));
    EXPECT_FALSE(host::Base64Decode("Z=g="));
    EXPECT_FALSE(host::Base64Decode("Zg==Zg=="));
    EXPECT_FALSE(host::Base64Decode("Zm9v YmFy"));
}
