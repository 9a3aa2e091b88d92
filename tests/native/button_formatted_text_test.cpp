// The formatted caption over a measurer of 7 pixels a character, lines twice the point size high.
#include "controls/button/formatted_text.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace skinbutton;
using Words = std::vector<std::wstring>;

namespace {

class FakeMeasurer : public TextMeasurer {
public:
    TextMetrics Measure(const host::FontDesc& font, const std::wstring& text) override {
        const int height = static_cast<int>(font.size * 2 + 0.5), ascent = height * 3 / 4;
        return {static_cast<int>(text.size()) * 7, height, ascent, height - ascent};
    }
};

class FakePicture : public ButtonPicture {
public:
    int Width() const override { return 16; }
    int Height() const override { return 30; }
};

host::FontDesc Font(double size = 10) {
    return {L"Arial", size};
}

Words Texts(const FormattedText& t) {
    Words out;
    for (std::size_t i = 1; i < t.Items().size(); ++i)
        out.push_back(t.Items()[i].startsLine && t.Items()[i].text.empty() ? L"<br>" : t.Items()[i].text);
    return out;
}

// The lines (height/ascent/width) and the drawing steps of a pass, colours in hex.
std::string Describe(const CaptionRender& r) {
    std::ostringstream out;
    out << "lines";
    for (const auto& l : r.lines)
        out << " " << l.height << "/" << l.ascent << "/" << l.width;
    const char* kinds[] = {"fill", "pic", "rule", "text"};
    for (const auto& s : r.steps)
        out << "; " << kinds[static_cast<int>(s.kind)] << " " << s.left << "," << s.top << "," << s.right << ","
            << s.bottom << " " << std::hex << s.colour << std::dec;
    return out.str();
}

} // namespace

TEST(FormattedTextItems, SplitsWordsCutsLinesAtCrLfOverridesParagraphsRulesAndClear) {
    const struct {
        const wchar_t* text;
        Words items;
    } cases[] = {
        // Two spaces give an item of one space; a line ending in a space adds no empty item; a tab is
        // three spaces; CR LF is a line break.
        {L"a  b \r\nc\td", {L"a ", L" ", L"b ", L"<br>", L"c ", L" ", L" ", L"d"}},
    };
    for (const auto& c : cases) {
        FormattedText t;
        t.Add(c.text, Font());
        EXPECT_EQ(Texts(t), c.items) << c.text;
    }

    FormattedText t;
    t.AddParagraph(1);
    t.AddRule(255);
    EXPECT_TRUE(t.Empty()) << "a paragraph or a rule on an empty list adds nothing";
    TextRunOptions red;
    red.foreColor = 255;
    red.backColor = 0x00FF00;
    red.bold = true;
    red.fontSize = 14;
    t.Add(L"uno\r\n", Font(), red);
    t.Add(L"dos", Font());
    using Colour = std::optional<std::uint32_t>;
    const auto look = [&t](std::size_t i) {
        const CaptionItem& item = t.Items().at(i);
        return std::tuple(item.font, item.colour, item.backColour, item.alignment);
    };
    EXPECT_EQ(look(1), std::tuple(host::FontDesc{L"Arial", 14, true}, Colour(255), Colour(0x00FF00), 1))
        << "the paragraph set the alignment";
    EXPECT_EQ(look(2), std::tuple(PlainItemFont(), Colour(), Colour(), 0)) << "line breaks use the plain font";
    EXPECT_EQ(look(3), std::tuple(Font(), Colour(0), Colour(), 1)) << "what one call overrides does not stay";

    t.AddParagraph(2);
    t.Add(L"derecha", Font());
    EXPECT_EQ(Texts(t), (Words{L"uno", L"<br>", L"dos", L"<br>", L"<br>", L"derecha"}));
    EXPECT_EQ(t.Items().back().alignment, 2);

    t.Setup(10, 4, 7);
    t.Clear();
    EXPECT_EQ(std::tuple(t.Empty(), t.CurrentAlignment(), t.Margin(), t.Top()), std::tuple(true, 0, 10, 7))
        << "the layout values survive Clear";
}

TEST(FormattedTextLayout, WordsFlowWrapStandOnOneBaselineAndAlignWithHalvesToEven) {
    TextRunOptions back;
    back.backColor = 0xABCDEF;
    back.foreColor = 0xFF;
    const struct {
        const wchar_t* words;
        int width;
        const char* expected;
    } cases[] = {
        {L"Hola mundo", 200, "lines 20/15/70; text 3,3,38,23 0; text 38,3,73,23 0"},
        // 35 + 28 + 6 = 69 >= 69: the second word wraps below the line height and the spacing.
        {L"aaaa bbbb", 69, "lines 20/15/35 20/15/28; text 3,3,38,23 0; text 3,25,31,45 0"},
        {L"aaaa bbbb", 70, "lines 20/15/63; text 3,3,38,23 0; text 38,3,66,23 0"},
        // An item wider than the button gets a line of its own and overflows to the right.
        {L"enormouslylongword", 50, "lines 0/0/0 20/15/126; text 3,5,129,25 0"},
        // A leading break leaves an empty first line that still gets its spacing; the break (Verdana 8:
        // 16) and the word (20) share line 1.
        {L"\r\nabc", 200, "lines 0/0/0 20/15/21; text 3,5,24,25 0"},
    };
    FakeMeasurer m;
    for (const auto& c : cases) {
        FormattedText t;
        t.Add(c.words, Font(10)); // 7 pixels a character, height 20, ascent 15
        EXPECT_EQ(Describe(t.Render(m, c.width, true, 0)), c.expected) << c.words;
    }

    FormattedText t;
    t.Add(L"big ", Font(20)); // height 40, ascent 30
    t.Add(L"small", Font(10), back);
    EXPECT_EQ(Describe(t.Render(m, 300, true, 0)),
              "lines 40/30/63; text 3,3,31,43 0; fill 31,3,66,43 abcdef; text 31,18,66,43 ff");
    // A rule spans between mirrored margins in its colour; disabled, texts and rules take the disabled
    // colour and fills keep theirs.
    t.AddRule(0xFF);
    CaptionRender r = t.Render(m, 120, false, 0x909090);
    EXPECT_EQ(Describe(r), "lines 40/30/63 16/12/0 16/12/0 16/12/0; text 3,3,31,43 909090; fill 31,3,66,43 abcdef; "
                           "text 31,18,66,43 909090; rule 3,63,117,63 909090");
    EXPECT_EQ(r.lastFont, PlainItemFont()) << "the closing line break is measured last";

    // A picture stands on the baseline: its height plus the plain font's descent.
    FormattedText pic;
    pic.Add(L"ab", Font(10));
    pic.AddPicture(std::make_shared<FakePicture>()); // 16 × 30
    EXPECT_EQ(Describe(pic.Render(m, 300, true, 0)), "lines 34/30/30; text 3,18,17,37 0; pic 17,3,33,3 0");

    FormattedText aligned;
    aligned.AddParagraph(1);
    aligned.Add(L"abc", Font(10)); // 21 wide: (100 - 21) / 2 = 39.5 rounds to 40
    aligned.AddParagraph(2);
    aligned.Add(L"abcd", Font(10)); // 28 wide: at 100 - 28 - 6 / 2
    EXPECT_EQ(Describe(aligned.Render(m, 100, true, 0)),
              "lines 20/15/21 16/12/0 20/15/28; text 40,3,61,23 0; text 69,43,97,63 0");
    // Pressed: margin 9, so the right-aligned text sits at 100 - 28 - 4.5 = 67.5, rounded to 68; one lower.
    EXPECT_EQ(Describe(aligned.Render(m, 100, true, 0, 3, 1)),
              "lines 20/15/21 16/12/0 20/15/28; text 40,4,61,24 0; text 68,44,96,64 0");
}
