// The formatted caption of a SkinButton: runs of text in their own fonts and colours, line breaks,
// paragraphs, inline pictures and horizontal rules, wrapped word by word to the button's width.
// This part splits the added text into items, lays them out over a text-measuring interface and
// turns them into drawing steps; the Win32 side measures with GDI and carries the steps out.
// Platform-neutral.
#pragma once

#include "controls/button/button_picture.h"
#include "controls/host/property_value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace skinbutton {

struct CaptionItem {
    enum class Type { Picture = 1, Text = 2, Rule = 3 };
    Type type = Type::Text;
    std::wstring text; // a word with its trailing space; "" for line breaks and rules; " " for pictures
    host::FontDesc font;
    std::optional<std::uint32_t> colour;
    std::optional<std::uint32_t> backColour;
    PictureRef picture;
    int ruleWidth = 1, ruleStyle = 0;
    int alignment = 0; // 0 left, 1 centre, 2 right
    bool startsLine = false;
};

struct TextMetrics {
    int width = 0, height = 0, ascent = 0, descent = 0;
};

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual TextMetrics Measure(const host::FontDesc& font, const std::wstring& text) = 0;
};

struct LineRecord {
    int height = 0, ascent = 0, width = 0;
    bool operator==(const LineRecord&) const = default;
};

// One drawing step of the draw pass, in surface pixels.
struct CaptionDrawStep {
    enum class Kind { Fill, Picture, Rule, Text };
    Kind kind = Kind::Text;
    int left = 0, top = 0, right = 0, bottom = 0; // Fill and Text: the rectangle; Picture: its top left;
                                                  // Rule: from (left, top) to (right, top)
    std::uint32_t colour = 0;                     // fill, rule or text colour (a colour number)
    const CaptionItem* item = nullptr;            // font, text, picture, pen of the step
};

struct CaptionRender {
    std::vector<LineRecord> lines;
    std::vector<CaptionDrawStep> steps;
    std::optional<host::FontDesc> lastFont; // the surface's font after the pass: the last item measured
};

// What FormatTextAdd may override for one call; each given value applies to that call only.
struct TextRunOptions {
    std::optional<std::wstring> fontName;
    std::optional<double> fontSize;
    std::optional<std::uint32_t> foreColor;
    std::optional<std::uint32_t> backColor;
    std::optional<bool> italic, bold, underline, strikethru;
};

class FormattedText {
public:
    FormattedText();

    // Empties the items and resets the current colours, alignment and rule pen; the layout values stay.
    void Clear();
    void Setup(int margin, int spacingLine, int top);
    void Add(const std::wstring& text, const host::FontDesc& baseFont, const TextRunOptions& options = {});
    void AddNewLine();
    void AddParagraph(int alignment);
    void AddPicture(PictureRef picture);
    void AddRule(std::uint32_t colour, int style = 0, int width = 0);

    // Lays the items out for a surface of the given width and lists the drawing steps. Margin and top
    // may be shifted for one pass (the pressed look) without changing the stored values. Items that
    // have to wrap keep starting a line in later passes.
    CaptionRender Render(TextMeasurer& measurer, int surfaceWidth, bool enabled, std::uint32_t disabledColour,
                         int marginShift = 0, int topShift = 0);

    bool Empty() const { return items_.size() <= 1; }
    // Index 0 is a placeholder that is never drawn.
    const std::vector<CaptionItem>& Items() const { return items_; }
    int Margin() const { return margin_; }
    int SpacingLine() const { return spacingLine_; }
    int Top() const { return top_; }
    int CurrentAlignment() const { return alignment_; }

private:
    CaptionItem LineBreak() const;

    std::vector<CaptionItem> items_;
    int margin_ = 6, spacingLine_ = 2, top_ = 3;
    int alignment_ = 0;
    int ruleWidth_ = 1, ruleStyle_ = 0;
    std::uint32_t textColour_ = 0;
    std::optional<std::uint32_t> backColour_;
};

// Line breaks, pictures and rules are measured in this font.
host::FontDesc PlainItemFont();

} // namespace skinbutton
