// The decisions behind one repaint of a SkinButton: which skin frame stands for the button's state,
// how the caption is underlined and coloured, where the caption goes and which flat colours apply.
// Platform-neutral, so the tables are tested natively.
#pragma once

#include <cstdint>
#include <optional>

namespace skinbutton {

// ButtonState values: also the frame index inside a skin bitmap.
enum : int {
    kStateHot = 0,
    kStatePressed = 1,
    kStateChecked = 2,
    kStateCheckedHot = 3,
    kStateNormal = 4,
    kStateDisabled = 5,
    kStateDisabledChecked = 6,
    kStateCount = 7,
};

// Paint modes and caption modes.
enum : int { kPaintUp = 0, kPaintDown = 2 };
enum : int { kCaptionNormal = 0, kCaptionHot = 1, kCaptionPressed = 2 };

// ButtonType values.
enum : int { kPushButton = 0, kCheckButton = 1, kOptionButton = 2 };

// A push button is never drawn checked, whatever its Value.
constexpr bool IsChecked(int buttonType, bool value) {
    return buttonType != kPushButton && value;
}

struct PaintChoice {
    int state = kStateNormal;
    std::optional<bool> underline; // the font's underline while the caption is drawn; empty: unchanged
    int captionMode = kCaptionNormal;
};

// Any mode other than down paints as up.
PaintChoice ChoosePaint(bool enabled, int mode, bool mouseIn, bool checked, bool underlineMouseUp,
                        bool underlineMouseCheck);

struct TextColours {
    std::uint32_t normal = 0, up = 0, down = 0, disabled = 0, check = 0;
};
std::uint32_t CaptionColour(const TextColours& colours, bool enabled, int captionMode, bool checked);

// Rounds to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double value);

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Box&) const = default;
};
// Where the one-line caption of textWidth × textHeight goes on a surface of surfaceWidth × surfaceHeight.
// Alignment 0 centres, 1 puts the text at margin from the left, 2 at margin from the right, anything
// else at 0. The pressed caption moves one pixel right and down.
Box PlaceCaption(int align, int margin, int surfaceWidth, int surfaceHeight, int textWidth, int textHeight,
                 int captionMode);

struct FlatColours {
    std::uint32_t back = 0, backOver = 0, backDown = 0, backCheck = 0, backDisabled = 0;
    std::uint32_t borderNormal = 0, borderOver = 0, borderDown = 0, borderCheck = 0, borderDisabled = 0;
};
struct FlatLook {
    std::uint32_t back = 0, border = 0;
};
// The background and border of the flat (skin-less) style; empty where the surface keeps what it has
// (an enabled button in a disabled state, or a state that does not exist).
std::optional<FlatLook> ChooseFlatLook(const FlatColours& colours, bool enabled, int state);

// The skin row GetSkinsColors reads for a column: the bottom row at the left edge of frames 0 to 4,
// else row 5.
int SkinsColorsRow(int column);

} // namespace skinbutton
