// The formatted caption: item splitting, layout and the draw pass, over a measurer whose sizes are
// known (7 pixels a character, line height twice the point size).
#include "controls/button/formatted_text.h"

#include <gtest/gtest.h>

using namespace skinbutton;

namespace {

class FakeMeasurer : public TextMeasurer {
public:
    TextMetrics Measure(const host::FontDesc& font, const std::wstring& text) override {
        ++calls;
        lastFont = font;
        const int height = static_cast<int>(font.size * 2 + 0.5);
        const int ascent = height * 3 / 4;
        return {static_cast<int>(text.size()) * 7, height, ascent, height - ascent};
    }
    int calls = 0;
    host::FontDesc lastFont;
};

class FakePicture : public ButtonPicture {
public:
    FakePicture(int w, int h) : w_(w), h_(h) {}
    int Width() const override { return w_; }
    int Height() const override { return h_; }

private:
    int w_, h_;
};

host::FontDesc Font(double size = 10) {
    host::FontDesc f;
    f.name = L"Arial";
    f.size = size;
    return f;
}

std::vector<std::wstring> Texts(const FormattedText& t) {
    std::vector<std::wstring> out;
    for (std::size_t i = 1; i < t.Items().size(); ++i)
        out.push_back(t.Items()[i].startsLine && t.Items()[i].text.empty() ? L"<br>" : t.Items()[i].text);
    return out;
}

std::vector<CaptionDrawStep> StepsOf(const CaptionRender& r, CaptionDrawStep::Kind kind) {
    std::vector<CaptionDrawStep> out;
    for (const auto& s : r.steps)
        if (s.kind == kind)
            out.push_back(s);
    return out;
}

} // namespace

TEST(FormattedTextItems, SplitsWordsKeepingTheirSpacesAndCutsLinesAtCrLf) {
    FormattedText t;
    t.Add(L"Hola mundo", Font());
    EXPECT_EQ(Texts(t), (std::vector<std::wstring>{L"Hola ", L"mundo"}));

    t.Clear();
    t.Add(L"a  b \r\nc\td", Font());
    // Two spaces give an item of one space; a line ending in a space adds no empty item; a tab is three
    // spaces; CR LF becomes a line break.
    EXPECT_EQ(Texts(t), (std::vector<std::wstring>{L"a ", L" ", L"b ", L"<br>", L"c ", L" ", L" ", L"d"}));

    t.Clear();
    t.Add(L"\r\nx", Font());
    EXPECT_EQ(Texts(t), (std::vector<std::wstring>{L"<br>", L"x"}));
    t.Clear();
    t.Add(L"", Font());
    t.Add(L"lone\r", Font()); // a CR without LF is an ordinary character
    EXPECT_EQ(Texts(t), (std::vector<std::wstring>{L"lone\r"}));
}

TEST(FormattedTextItems, OverridesApplyToOneCallAndLineBreaksUseThePlainFont) {
    FormattedText t;
    TextRunOptions red;
    red.foreColor = 255;
    red.backColor = 0x00FF00;
    red.bold = true;
    red.fontSize = 14;
    t.Add(L"uno\r\n", Font(), red);
    t.Add(L"dos", Font());
    const auto& items = t.Items();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[1].colour, 255u);
    EXPECT_EQ(items[1].backColour, 0x00FF00u);
    EXPECT_TRUE(items[1].font.bold);
    EXPECT_EQ(items[1].font.size, 14);
    EXPECT_EQ(items[1].font.name, L"Arial");
    EXPECT_EQ(items[2].font, PlainItemFont());
    EXPECT_EQ(items[2].font.size, 8);
    EXPECT_EQ(items[2].alignment, 0);
    EXPECT_EQ(items[3].colour, 0u) << "the colour given to one call does not stay";
    EXPECT_FALSE(items[3].backColour);
    EXPECT_FALSE(items[3].font.bold);
}

TEST(FormattedTextItems, ParagraphsRulesAndClear) {
    FormattedText t;
    t.AddParagraph(1);
    EXPECT_TRUE(t.Empty()) << "a paragraph on an empty list only sets the alignment";
    EXPECT_EQ(t.CurrentAlignment(), 1);
    t.AddRule(255);
    EXPECT_TRUE(t.Empty()) << "a rule on an empty list does nothing";

    t.Add(L"centro", Font());
    EXPECT_EQ(t.Items()[1].alignment, 1);
    t.AddParagraph(2);
    t.Add(L"derecha", Font());
    EXPECT_EQ(Texts(t), (std::vector<std::wstring>{L"centro", L"<br>", L"<br>", L"derecha"}));
    EXPECT_EQ(t.Items()[4].alignment, 2);

    t.AddRule(0x123456, 2, 0);
    const auto& rule = t.Items()[6];
    EXPECT_EQ(rule.type, CaptionItem::Type::Rule);
    EXPECT_EQ(rule.ruleWidth, 1) << "a width of 0 draws with 1";
    EXPECT_EQ(rule.ruleStyle, 2);
    EXPECT_EQ(rule.colour, 0x123456u);
    EXPECT_TRUE(rule.startsLine);
    EXPECT_EQ(t.Items().size(), 8u) << "a rule sits between two line breaks";

    t.Setup(10, 4, 7);
    t.Clear();
    EXPECT_TRUE(t.Empty());
    EXPECT_EQ(t.CurrentAlignment(), 0);
    EXPECT_EQ(t.Margin(), 10) << "the layout values survive Clear";
    EXPECT_EQ(t.Top(), 7);
}

TEST(FormattedTextLayout, TwoWordsOnAWideButtonStartAtHalfTheMargin) {
    FormattedText t;
    t.Add(L"Hola mundo", Font(10)); // 35 + 35 pixels, height 20, ascent 15
    FakeMeasurer m;
    const CaptionRender r = t.Render(m, 200, true, 0);
    ASSERT_EQ(r.lines.size(), 1u);
    EXPECT_EQ(r.lines[0], (LineRecord{20, 15, 70}));
    const auto texts = StepsOf(r, CaptionDrawStep::Kind::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].left, 3);
    EXPECT_EQ(texts[0].top, 3);
    EXPECT_EQ(texts[0].right, 38);
    EXPECT_EQ(texts[0].bottom, 23);
    EXPECT_EQ(texts[1].left, 38);
    ASSERT_TRUE(r.lastFont);
    EXPECT_EQ(*r.lastFont, Font(10)) << "the surface keeps the last measured font";
}

TEST(FormattedTextLayout, WrapsWordsAndAWrappedItemKeepsStartingALine) {
    FormattedText t;
    t.Add(L"aaaa bbbb", Font(10)); // 35 + 28
    FakeMeasurer m;
    // 35 + 28 + 6 = 69 >= 60: the second word wraps.
    CaptionRender r = t.Render(m, 60, true, 0);
    ASSERT_EQ(r.lines.size(), 2u);
    EXPECT_TRUE(t.Items()[2].startsLine);
    const auto texts = StepsOf(r, CaptionDrawStep::Kind::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].left, 3);
    EXPECT_EQ(texts[1].top, 3 + 20 + 2) << "the next line starts below the line height and the spacing";

    r = t.Render(m, 500, true, 0);
    EXPECT_EQ(r.lines.size(), 2u) << "once wrapped, the word starts a line on a wider button too";

    FormattedText wide;
    wide.Add(L"enormouslylongword", Font(10)); // 126 pixels on a 50-pixel button
    r = wide.Render(m, 50, true, 0);
    ASSERT_EQ(r.lines.size(), 2u) << "an item wider than the button gets a line of its own";
    EXPECT_EQ(r.lines[0].height, 0);
    EXPECT_EQ(r.lines[1].width, 126);
    EXPECT_EQ(StepsOf(r, CaptionDrawStep::Kind::Text)[0].right, 129) << "and overflows to the right";
}

TEST(FormattedTextLayout, LeadingLineBreakLeavesAnEmptyFirstLineThatStillGetsItsSpacing) {
    FormattedText t;
    t.Add(L"\r\nabc", Font(10));
    FakeMeasurer m;
    const CaptionRender r = t.Render(m, 200, true, 0);
    ASSERT_EQ(r.lines.size(), 2u);
    EXPECT_EQ(r.lines[0].height, 0);
    EXPECT_EQ(r.lines[1].height, 20) << "the break (Verdana 8: 16) and the word (20) share line 1";
    const auto texts = StepsOf(r, CaptionDrawStep::Kind::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].top, 3 + 0 + 2);
    EXPECT_EQ(texts[0].left, 3);
}

TEST(FormattedTextLayout, AlignmentsUseTheLineWidthAndRoundHalvesToEven) {
    FormattedText t;
    t.AddParagraph(1);
    t.Add(L"abc", Font(10)); // 21 wide
    t.AddParagraph(2);
    t.Add(L"abcd", Font(10)); // 28 wide
    FakeMeasurer m;
    const CaptionRender r = t.Render(m, 100, true, 0);
    const auto texts = StepsOf(r, CaptionDrawStep::Kind::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].left, 40) << "(100 - 21) / 2 = 39.5 rounds to 40";
    EXPECT_EQ(texts[1].left, 100 - 28 - 3);
    // Pressed: margin 9, so the right-aligned text sits at 100 - 28 - 4.5 = 67.5, rounded to 68.
    const CaptionRender pressed = t.Render(m, 100, true, 0, 3, 1);
    EXPECT_EQ(StepsOf(pressed, CaptionDrawStep::Kind::Text)[1].left, 68);
    EXPECT_EQ(StepsOf(pressed, CaptionDrawStep::Kind::Text)[0].top, 4);
}

TEST(FormattedTextLayout, ItemsShareABaselineAndFillsCoverTheLineHeight) {
    FormattedText t;
    t.Add(L"big ", Font(20)); // height 40, ascent 30
    TextRunOptions back;
    back.backColor = 0xABCDEF;
    t.Add(L"small", Font(10), back); // height 20, ascent 15
    FakeMeasurer m;
    const CaptionRender r = t.Render(m, 300, true, 0);
    const auto texts = StepsOf(r, CaptionDrawStep::Kind::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].top, 3);
    EXPECT_EQ(texts[1].top, 3 + 30 - 15);
    const auto fills = StepsOf(r, CaptionDrawStep::Kind::Fill);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].top, 3);
    EXPECT_EQ(fills[0].bottom, 3 + 40);
    EXPECT_EQ(fills[0].colour, 0xABCDEFu);
}

TEST(FormattedTextLayout, PicturesStandOnTheBaseline) {
    FormattedText t;
    t.Add(L"ab", Font(10)); // height 20, ascent 15, descent 5
    t.AddPicture(std::make_shared<FakePicture>(16, 30));
    FakeMeasurer m;
    const CaptionRender r = t.Render(m, 300, true, 0);
    ASSERT_EQ(r.lines.size(), 1u);
    EXPECT_EQ(r.lines[0].ascent, 30);
    EXPECT_EQ(r.lines[0].height, 30 + 4) << "picture height plus the plain font's descent";
    const auto pictures = StepsOf(r, CaptionDrawStep::Kind::Picture);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].left, 3 + 14);
    EXPECT_EQ(pictures[0].top, 3);
    EXPECT_EQ(r.lines[0].width, 14 + 16);
}

TEST(FormattedTextLayout, RuleSpansBetweenMirroredMarginsInItsColourOrTheDisabledOne) {
    FormattedText t;
    TextRunOptions back;
    back.backColor = 0x00FF00;
    back.foreColor = 0x0000FF;
    t.Add(L"x", Font(10), back);
    t.AddRule(255);
    FakeMeasurer m;
    CaptionRender r = t.Render(m, 120, true, 0);
    auto rules = StepsOf(r, CaptionDrawStep::Kind::Rule);
    ASSERT_EQ(rules.size(), 1u);
    EXPECT_EQ(rules[0].left, 3);
    EXPECT_EQ(rules[0].right, 117);
    EXPECT_EQ(rules[0].colour, 255u);
    EXPECT_EQ(rules[0].item->ruleWidth, 1);

    r = t.Render(m, 120, false, 0x909090);
    rules = StepsOf(r, CaptionDrawStep::Kind::Rule);
    ASSERT_EQ(rules.size(), 1u);
    EXPECT_EQ(rules[0].colour, 0x909090u);
    EXPECT_EQ(StepsOf(r, CaptionDrawStep::Kind::Text)[0].colour, 0x909090u);
    EXPECT_EQ(StepsOf(r, CaptionDrawStep::Kind::Fill)[0].colour, 0x00FF00u) << "fills keep their colour";
    ASSERT_TRUE(r.lastFont);
    EXPECT_EQ(*r.lastFont, PlainItemFont()) << "the closing line break is measured last";
}

TEST(FormattedTextLayout, NothingToDrawLeavesTheSurfaceAlone) {
    FormattedText t;
    FakeMeasurer m;
    const CaptionRender r = t.Render(m, 100, true, 0);
    EXPECT_TRUE(r.lines.empty());
    EXPECT_TRUE(r.steps.empty());
    EXPECT_FALSE(r.lastFont);
    EXPECT_EQ(m.calls, 0);
}
