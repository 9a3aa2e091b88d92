#include "controls/statusbar/panel_table.h"

#include "win/units.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace statusbar {
namespace {

bool FitsInt32(std::int64_t v) {
    return v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max();
}

std::int32_t Clamp32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

PanelSpec Recreated(const tPanel& p) {
    return PanelSpec{p.Text, p.Key, p.Width, p.ForeColor, p.BackColor, kDefaultColour, false};
}

} // namespace

std::int64_t RoundHalfEven(double v) {
    if (!std::isfinite(v))
        return 0;
    return static_cast<std::int64_t>(std::nearbyint(v)); // default rounding mode: to nearest, ties to even
}

std::wstring NormaliseKey(std::wstring_view key) {
    std::wstring out(key);
    for (wchar_t& c : out) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
        else if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
            c = static_cast<wchar_t>(c + 0x20);
    }
    const std::size_t first = out.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    const std::size_t last = out.find_last_not_of(L' ');
    return out.substr(first, last - first + 1);
}

host::ControlResult PanelTable::Add(const PanelSpec& wanted, double innerHeight) {
    if (wanted.width < 0)
        return host::MakeError(host::kErrInvalidPropertyValue, L"AddPanel");
    const std::int64_t prevRight = panels_.back().Right;
    const std::int64_t left = prevRight + 2;
    const std::int64_t right = prevRight + wanted.width;
    const std::int64_t bottom = RoundHalfEven(innerHeight) - 3;
    if (!FitsInt32(left) || !FitsInt32(right) || !FitsInt32(bottom) ||
        Count() >= std::numeric_limits<std::int32_t>::max())
        return host::MakeError(host::kErrOverflow, L"AddPanel");
    tPanel p;
    p.Width = wanted.width;
    p.Top = 2;
    p.Bottom = static_cast<std::int32_t>(bottom);
    p.Left = static_cast<std::int32_t>(left);
    p.Right = static_cast<std::int32_t>(right);
    p.Key = wanted.key;
    p.Text = wanted.text;
    p.ForeColor = wanted.foreColor;
    p.BackColor = wanted.backColor;
    p.BorderColor = wanted.borderColor;
    p.Bold = wanted.bold;
    p.Index = static_cast<std::int32_t>(panels_.size());
    panels_.push_back(std::move(p));
    return std::nullopt;
}

std::vector<PanelSpec> PanelTable::KeptWithoutIndex(std::int64_t index) const {
    std::vector<PanelSpec> kept;
    for (int i = 1; i <= Count(); ++i)
        if (At(i).Index != index)
            kept.push_back(Recreated(At(i)));
    return kept;
}

std::vector<PanelSpec> PanelTable::KeptWithoutKey(std::wstring_view key) const {
    const std::wstring wanted = NormaliseKey(key);
    std::vector<PanelSpec> kept;
    for (int i = 1; i <= Count(); ++i)
        if (NormaliseKey(At(i).Key) != wanted)
            kept.push_back(Recreated(At(i)));
    return kept;
}

std::vector<PanelSpec> PanelTable::ScaledForDpi(int fromDpi, int toDpi) const {
    std::vector<PanelSpec> kept;
    for (int i = 1; i <= Count(); ++i) {
        const tPanel& p = At(i);
        kept.push_back(PanelSpec{p.Text, p.Key, win::ScaleRounded(p.Width, toDpi, fromDpi), p.ForeColor, p.BackColor,
                                 p.BorderColor, p.Bold});
    }
    return kept;
}

std::int32_t PanelTable::GetLeft(std::int64_t index) const {
    return InTable(index) ? At(static_cast<int>(index)).Left : -1;
}
std::int32_t PanelTable::GetTop(std::int64_t index) const {
    return InTable(index) ? At(static_cast<int>(index)).Top : -1;
}
std::int32_t PanelTable::GetWidth(std::int64_t index) const {
    if (!InTable(index))
        return -1;
    const tPanel& p = At(static_cast<int>(index));
    return Clamp32(std::int64_t{p.Right} - p.Left);
}
std::int32_t PanelTable::GetHeight(std::int64_t index) const {
    if (!InTable(index))
        return -1;
    const tPanel& p = At(static_cast<int>(index));
    return Clamp32(std::int64_t{p.Bottom} - p.Top);
}

int PanelTable::PanelFromX(double x) const {
    const std::int64_t column = RoundHalfEven(x);
    int found = 0;
    for (int i = 1; i <= Count(); ++i)
        if (At(i).Left < column && column < At(i).Right)
            found = i;
    return found;
}

std::int32_t LabelLeft(const tPanel& p) {
    return Clamp32(std::int64_t{p.Left} + 4);
}

std::int32_t LabelTop(const tPanel& p, std::int32_t labelHeight) {
    const double centre = (static_cast<double>(p.Bottom) - (static_cast<double>(labelHeight) + p.Top)) / 2.0;
    return Clamp32(RoundHalfEven(centre) + 2);
}

std::int32_t LabelRoom(const tPanel& p) {
    return Clamp32(std::max<std::int64_t>(0, std::int64_t{p.Right} - p.Left - 8));
}

Placement AutoPlacement(const tPanel& p) {
    return Placement{Clamp32(std::int64_t{p.Left} + 2), Clamp32(std::int64_t{p.Top} + 2),
                     Clamp32(std::max<std::int64_t>(0, std::int64_t{p.Right} - p.Left - 4)),
                     Clamp32(std::max<std::int64_t>(0, std::int64_t{p.Bottom} - p.Top - 2))};
}

Placement ManualPlacement(const tPanel& p, std::int32_t lTop, std::int32_t lLeft, std::int32_t lWidth,
                          std::int32_t lHeight, std::int32_t currentWidth, std::int32_t currentHeight) {
    std::int64_t w = lWidth == -1 ? currentWidth : lWidth;
    std::int64_t h = lHeight == -1 ? currentHeight : lHeight;
    const std::int64_t x = std::int64_t{p.Left} + lLeft;
    const std::int64_t y = std::int64_t{p.Top} + lTop;
    w = std::min<std::int64_t>(w, std::int64_t{p.Right} - p.Left);
    h = std::min<std::int64_t>(h, std::int64_t{p.Bottom} - p.Top);
    if (x + w > p.Right)
        w = p.Right - x;
    if (y + h > p.Bottom)
        h = p.Bottom - y;
    return Placement{Clamp32(x), Clamp32(y), Clamp32(std::max<std::int64_t>(0, w)),
                     Clamp32(std::max<std::int64_t>(0, h))};
}

} // namespace statusbar
