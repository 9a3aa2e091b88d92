// What the skinned button decides without drawing, each built-in skin's published colours, and the
// formatted caption over a measurer of 7 pixels a character, lines twice the point size high.
#include "controls/button/accessible_rules.h"
#include "controls/button/formatted_text.h"
#include "controls/button/paint_rules.h"
#include "controls/button/skin_palette.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>

using namespace skinbutton;
using Words = std::vector<std::wstring>;

TEST(ButtonPaintTable, StateTableCaptionColoursFlatColoursAndCaptionPlacementWithHalvesToEven) {
    struct Row {
        bool enabled;
        int mode;
        bool mouseIn, checked;
        int state;
        std::optional<bool> underline;
        int captionMode;
    };
    // Underline options: on when the pointer is over, off when checked, so each row shows which one it reads.
    const Row rows[] = {
        {false, 0, true, false, kStateDisabled, std::nullopt, kCaptionNormal},
        {false, 2, false, true, kStateDisabledChecked, std::nullopt, kCaptionNormal},
        {true, 0, true, false, kStateHot, true, kCaptionHot},
        {true, 0, true, true, kStateCheckedHot, false, kCaptionHot},
        {true, 0, false, false, kStateNormal, std::nullopt, kCaptionNormal},
        {true, 0, false, true, kStateChecked, false, kCaptionNormal},
        {true, 2, true, true, kStatePressed, false, kCaptionPressed},
        {true, 2, false, false, kStatePressed, false, kCaptionPressed},
    };
    for (const Row& r : rows) {
        const PaintChoice c = ChoosePaint(r.enabled, r.mode, r.mouseIn, r.checked, true, false);
        EXPECT_EQ(c.state, r.state);
        EXPECT_EQ(c.underline, r.underline) << "state " << r.state;
        EXPECT_EQ(c.captionMode, r.captionMode) << "state " << r.state;
    }
    // Disabled and checked gains the underline only when the check option asks for it.
    EXPECT_EQ(ChoosePaint(false, 0, false, true, false, true).underline, std::optional<bool>(true));
    EXPECT_FALSE(IsChecked(kPushButton, true)) << "a push button is never drawn checked";

    const TextColours text{1, 2, 3, 4, 5}; // normal, up, down, disabled, check
    const struct {
        bool enabled;
        int mode;
        bool checked;
        std::uint32_t colour;
    } captions[] = {{false, kCaptionHot, false, 4},    {false, kCaptionPressed, true, 4},
                    {true, kCaptionNormal, false, 1},  {true, kCaptionNormal, true, 5},
                    {true, kCaptionHot, false, 2},     {true, kCaptionHot, true, 5},
                    {true, kCaptionPressed, false, 3}, {true, kCaptionPressed, true, 3}};
    for (const auto& c : captions)
        EXPECT_EQ(CaptionColour(text, c.enabled, c.mode, c.checked), c.colour) << &c - captions;

    const FlatColours flat{1, 2, 3, 4, 5, 11, 12, 13, 14, 15}; // backs, then borders: normal, over, down, check, off
    // Back and border colour of each state, 0 where the state has no flat look.
    const std::tuple<bool, int, std::uint32_t, std::uint32_t> looks[] = {{true, kStateHot, 2, 12},
                                                                         {true, kStatePressed, 3, 13},
                                                                         {true, kStateChecked, 4, 14},
                                                                         {true, kStateCheckedHot, 4, 12},
                                                                         {true, kStateNormal, 1, 11},
                                                                         {true, kStateDisabled, 0, 0},
                                                                         {true, kStateDisabledChecked, 0, 0},
                                                                         {true, 7, 0, 0},
                                                                         {true, -1, 0, 0},
                                                                         {false, kStateHot, 5, 15},
                                                                         {false, 7, 0, 0}};
    for (const auto& [enabled, state, back, border] : looks) {
        const auto look = ChooseFlatLook(flat, enabled, state);
        EXPECT_EQ(look ? std::pair(look->back, look->border) : std::pair(0u, 0u), std::pair(back, border)) << state;
    }
    for (int column : {0, 15, 30, 45, 60})
        EXPECT_EQ(SkinsColorsRow(column), 22) << column;
    for (int column : {1, 14, 16, 75, 90})
        EXPECT_EQ(SkinsColorsRow(column), 5) << column;

    // Right alignment, margin 10, 80-pixel button, 40-pixel caption: left edge 30; pressed 31, one lower.
    EXPECT_EQ(PlaceCaption(2, 10, 80, 25, 40, 13, kCaptionNormal), (Box{30, 6, 70, 19}));
    EXPECT_EQ(PlaceCaption(2, 10, 80, 25, 40, 13, kCaptionPressed), (Box{31, 7, 71, 20}));
    EXPECT_EQ(PlaceCaption(1, 10, 80, 25, 40, 13, kCaptionNormal).left, 10);
    EXPECT_EQ(PlaceCaption(0, 10, 81, 24, 40, 13, kCaptionNormal).left, 20) << "20.5 rounds to 20";
    EXPECT_EQ(PlaceCaption(0, 10, 83, 24, 40, 13, kCaptionNormal).left, 22) << "21.5 rounds to 22";
    EXPECT_EQ(RoundHalfEven(-4.5), -4);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3);
}

TEST(ButtonAccessible, RoleActionStateBitsAndName) {
    struct Row {
        int type;
        bool checked;
        long role;
        const wchar_t* action;
    };
    const Row rows[] = {
        {kPushButton, false, kRolePushButton, L"Presionar"},
        {kCheckButton, false, kRoleCheckButton, L"Activar"},
        {kCheckButton, true, kRoleCheckButton, L"Desactivar"},
        {kOptionButton, true, kRoleRadioButton, L"Activar"},
        {9, false, kRolePushButton, L"Presionar"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(AccessibleRole(r.type), r.role) << r.type;
        EXPECT_EQ(AccessibleDefaultAction(r.type, r.checked), r.action) << r.type;
    }
    const std::pair<AccessibleFacts, long> states[] = {
        {{}, kStateFocusable},
        {{false, true, true, true, true}, kStateFocusable | kStateUnavailable | kStateCheckedBit | kStateFocused},
        {{true, true, false, false, true}, kStateFocusable | kStatePressedBit},
        {{true, false, false, false, true}, kStateFocusable | kStateHotTracked},
    };
    for (const auto& [facts, state] : states)
        EXPECT_EQ(AccessibleState(facts), state) << std::hex << state;

    FormattedText formatted;
    const host::FontDesc font{L"Arial", 10};
    formatted.Add(L"Conectar ", font, {});
    formatted.AddNewLine();
    formatted.Add(L"  al  equipo  ", font, {});
    EXPECT_EQ(AccessibleName(L"Caption", true, formatted), L"Conectar al equipo");
    EXPECT_EQ(AccessibleName(L"Caption", false, formatted), L"Caption") << "formatting not shown";
    EXPECT_EQ(AccessibleName(L"Caption", true, FormattedText{}), L"Caption") << "nothing formatted";
}

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
    FormattedText t;
    // Two spaces give an item of one space; a line ending in a space adds no empty item; a tab is three
    // spaces; CR LF is a line break.
    t.Add(L"a  b \r\nc\td", Font());
    EXPECT_EQ(Texts(t), (Words{L"a ", L" ", L"b ", L"<br>", L"c ", L" ", L" ", L"d"}));
    t.Clear();
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
