#include "controls/button/formatted_text.h"

#include "controls/button/paint_rules.h"

#include <algorithm>

namespace skinbutton {

host::FontDesc PlainItemFont() {
    host::FontDesc font;
    font.name = L"Verdana";
    font.size = 8;
    return font;
}

FormattedText::FormattedText() {
    items_.emplace_back();
}

void FormattedText::Clear() {
    items_.resize(1);
    textColour_ = 0;
    backColour_.reset();
    alignment_ = 0;
    ruleStyle_ = 0;
    ruleWidth_ = 1;
}

void FormattedText::Setup(int margin, int spacingLine, int top) {
    margin_ = margin;
    spacingLine_ = spacingLine;
    top_ = top;
}

CaptionItem FormattedText::LineBreak() const {
    CaptionItem item;
    item.type = CaptionItem::Type::Text;
    item.font = PlainItemFont();
    item.startsLine = true;
    return item;
}

void FormattedText::Add(const std::wstring& text, const host::FontDesc& baseFont, const TextRunOptions& o) {
    host::FontDesc font = baseFont;
    if (o.fontName)
        font.name = *o.fontName;
    if (o.fontSize)
        font.size = *o.fontSize;
    if (o.bold)
        font.bold = *o.bold;
    if (o.italic)
        font.italic = *o.italic;
    if (o.underline)
        font.underline = *o.underline;
    if (o.strikethru)
        font.strikethrough = *o.strikethru;
    // Given colours hold for this call only; the current ones are not changed.
    const std::uint32_t colour = o.foreColor ? *o.foreColor : textColour_;
    const std::optional<std::uint32_t> back = o.backColor ? o.backColor : backColour_;

    std::wstring expanded;
    expanded.reserve(text.size());
    for (wchar_t c : text) {
        if (c == L'\t')
            expanded += L"   ";
        else
            expanded += c;
    }

    auto addWord = [&](std::wstring word) {
        if (word.empty())
            return;
        CaptionItem item;
        item.type = CaptionItem::Type::Text;
        item.text = std::move(word);
        item.font = font;
        item.colour = colour;
        item.backColour = back;
        item.alignment = alignment_;
        items_.push_back(std::move(item));
    };

    std::size_t lineStart = 0;
    while (true) {
        const std::size_t crlf = expanded.find(L"\r\n", lineStart);
        const std::size_t lineEnd = crlf == std::wstring::npos ? expanded.size() : crlf;
        std::size_t wordStart = lineStart;
        while (true) {
            const std::size_t space = expanded.find(L' ', wordStart);
            if (space == std::wstring::npos || space >= lineEnd) {
                addWord(expanded.substr(wordStart, lineEnd - wordStart)); // the last word: as it is
                break;
            }
            addWord(expanded.substr(wordStart, space - wordStart) + L' ');
            wordStart = space + 1;
        }
        if (crlf == std::wstring::npos)
            break;
        items_.push_back(LineBreak());
        lineStart = crlf + 2;
    }
}

void FormattedText::AddNewLine() {
    items_.push_back(LineBreak());
}

void FormattedText::AddParagraph(int alignment) {
    if (!Empty()) {
        items_.push_back(LineBreak());
        items_.push_back(LineBreak());
    }
    alignment_ = alignment;
}

void FormattedText::AddPicture(PictureRef picture) {
    if (!picture)
        return;
    CaptionItem item;
    item.type = CaptionItem::Type::Picture;
    item.text = L" ";
    item.font = PlainItemFont();
    item.picture = std::move(picture);
    item.alignment = alignment_;
    items_.push_back(std::move(item));
}

void FormattedText::AddRule(std::uint32_t colour, int style, int width) {
    if (Empty())
        return;
    items_.push_back(LineBreak());
    ruleStyle_ = style;
    ruleWidth_ = width > 0 ? width : 1;
    CaptionItem rule;
    rule.type = CaptionItem::Type::Rule;
    rule.font = PlainItemFont();
    rule.colour = colour;
    rule.ruleStyle = ruleStyle_;
    rule.ruleWidth = ruleWidth_;
    rule.startsLine = true;
    items_.push_back(std::move(rule));
    items_.push_back(LineBreak());
}

namespace {

TextMetrics MeasureItem(TextMeasurer& measurer, const CaptionItem& item) {
    TextMetrics m = measurer.Measure(item.font, item.text);
    if (item.type == CaptionItem::Type::Picture && item.picture) {
        // The picture stands on the baseline: its height rises above it, the descent stays below.
        const int p = item.picture->Height();
        m.width = item.picture->Width();
        if (m.ascent < p)
            m.ascent = p;
        if (m.height < p)
            m.height = p + m.descent;
    }
    return m;
}

} // namespace

CaptionRender FormattedText::Render(TextMeasurer& measurer, int surfaceWidth, bool enabled,
                                    std::uint32_t disabledColour, int marginShift, int topShift) {
    CaptionRender out;
    if (Empty())
        return out;
    const int margin = margin_ + marginShift;
    const int top = top_ + topShift;

    // Layout pass: which line each item lands on, and each line's height, ascent and width.
    out.lines.push_back({});
    std::vector<std::size_t> lineOf(items_.size(), 0);
    int x = 0;
    for (std::size_t i = 1; i < items_.size(); ++i) {
        CaptionItem& item = items_[i];
        const TextMetrics m = MeasureItem(measurer, item);
        if (item.startsLine || x + m.width + margin >= surfaceWidth) {
            out.lines.push_back({m.height, m.ascent, 0});
            item.startsLine = true;
            x = m.width;
        } else {
            LineRecord& line = out.lines.back();
            line.ascent = std::max(line.ascent, m.ascent);
            line.height = std::max(line.height, m.height);
            x += m.width;
        }
        out.lines.back().width = x;
        lineOf[i] = out.lines.size() - 1;
    }

    // Draw pass.
    int y = top;
    std::size_t next = 1;
    for (std::size_t l = 0; l < out.lines.size(); ++l) {
        const LineRecord& line = out.lines[l];
        x = 0;
        for (; next < items_.size() && lineOf[next] == l; ++next) {
            const CaptionItem& item = items_[next];
            const TextMetrics m = MeasureItem(measurer, item);
            out.lastFont = item.font;
            if (x == 0) {
                switch (item.alignment) {
                case 1:
                    x = RoundHalfEven((surfaceWidth - line.width) / 2.0);
                    break;
                case 2:
                    x = RoundHalfEven(surfaceWidth - line.width - margin / 2.0);
                    break;
                default: // left, and any value without a placement of its own
                    x = RoundHalfEven(margin / 2.0);
                    break;
                }
            }
            const int right = x + m.width;
            const int itemTop = y + line.ascent - m.ascent;
            const int bottom = y + line.height;
            if (item.backColour)
                out.steps.push_back({CaptionDrawStep::Kind::Fill, x, y, right, bottom, *item.backColour, &item});
            const std::uint32_t colour = enabled ? item.colour.value_or(0) : disabledColour;
            switch (item.type) {
            case CaptionItem::Type::Picture:
                out.steps.push_back({CaptionDrawStep::Kind::Picture, x, itemTop, right, itemTop, colour, &item});
                break;
            case CaptionItem::Type::Rule:
                out.steps.push_back(
                    {CaptionDrawStep::Kind::Rule, x, itemTop, surfaceWidth - x, itemTop, colour, &item});
                break;
            case CaptionItem::Type::Text:
                if (!item.text.empty())
                    out.steps.push_back({CaptionDrawStep::Kind::Text, x, itemTop, right, bottom, colour, &item});
                break;
            }
            if (!item.text.empty() && item.type != CaptionItem::Type::Rule)
                x += m.width;
            else
                x = 0;
        }
        y += line.height + spacingLine_;
    }
    return out;
}

} // namespace skinbutton
