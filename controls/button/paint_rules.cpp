#include "controls/button/paint_rules.h"

#include <cmath>

namespace skinbutton {

PaintChoice ChoosePaint(bool enabled, int mode, bool mouseIn, bool checked, bool underlineMouseUp,
                        bool underlineMouseCheck) {
    if (!enabled) {
        if (!checked)
            return {kStateDisabled, std::nullopt, kCaptionNormal};
        // A disabled checked caption only ever gains the underline; it is never taken away here.
        return {kStateDisabledChecked, underlineMouseCheck ? std::optional<bool>(true) : std::nullopt, kCaptionNormal};
    }
    if (mode == kPaintDown)
        return {kStatePressed, underlineMouseCheck, kCaptionPressed};
    if (mouseIn)
        return checked ? PaintChoice{kStateCheckedHot, underlineMouseCheck, kCaptionHot}
                       : PaintChoice{kStateHot, underlineMouseUp, kCaptionHot};
    return checked ? PaintChoice{kStateChecked, underlineMouseCheck, kCaptionNormal}
                   : PaintChoice{kStateNormal, std::nullopt, kCaptionNormal};
}

std::uint32_t CaptionColour(const TextColours& colours, bool enabled, int captionMode, bool checked) {
    if (!enabled)
        return colours.disabled;
    switch (captionMode) {
    case kCaptionHot:
        return checked ? colours.check : colours.up;
    case kCaptionPressed:
        return colours.down;
    default:
        return checked ? colours.check : colours.normal;
    }
}

int RoundHalfEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    double result = lower;
    if (fraction > 0.5)
        result = lower + 1;
    else if (fraction == 0.5)
        result = std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
    return static_cast<int>(result);
}

Box PlaceCaption(int align, int margin, int surfaceWidth, int surfaceHeight, int textWidth, int textHeight,
                 int captionMode) {
    int left = 0;
    switch (align) {
    case 0:
        left = RoundHalfEven((surfaceWidth - textWidth) / 2.0);
        break;
    case 1:
        left = margin;
        break;
    case 2:
        left = surfaceWidth - textWidth - margin;
        break;
    default:
        break;
    }
    int top = RoundHalfEven((surfaceHeight - textHeight) / 2.0);
    if (captionMode == kCaptionPressed) {
        ++left;
        ++top;
    }
    return {left, top, left + textWidth, top + textHeight};
}

std::optional<FlatLook> ChooseFlatLook(const FlatColours& c, bool enabled, int state) {
    if (state < 0 || state >= kStateCount)
        return std::nullopt;
    if (!enabled)
        return FlatLook{c.backDisabled, c.borderDisabled};
    switch (state) {
    case kStateHot:
        return FlatLook{c.backOver, c.borderOver};
    case kStatePressed:
        return FlatLook{c.backDown, c.borderDown};
    case kStateChecked:
        return FlatLook{c.backCheck, c.borderCheck};
    case kStateCheckedHot:
        return FlatLook{c.backCheck, c.borderOver};
    case kStateNormal:
        return FlatLook{c.back, c.borderNormal};
    default:
        return std::nullopt;
    }
}

int SkinsColorsRow(int column) {
    switch (column) {
    case 0:
    case 15:
    case 30:
    case 45:
    case 60:
        return 22;
    default:
        return 5;
    }
}

} // namespace skinbutton
