#include "resources/gen/button_skins.h"

#include "controls/button/paint_rules.h"
#include "controls/button/skin_palette.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>

namespace gen {
namespace {

struct Colour {
    double r = 0, g = 0, b = 0;
};

Colour FromNumber(std::uint32_t c) {
    return {static_cast<double>(c & 0xFF), static_cast<double>((c >> 8) & 0xFF), static_cast<double>((c >> 16) & 0xFF)};
}
Colour Mix(Colour a, Colour b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Colour Lighten(Colour c, double t) {
    return Mix(c, {255, 255, 255}, t);
}
Colour Darken(Colour c, double t) {
    return Mix(c, {0, 0, 0}, t);
}
double Luma(Colour c) {
    return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
}
Rgb ToRgb(Colour c) {
    auto byte = [](double v) { return static_cast<std::uint8_t>(std::clamp(v + 0.5, 0.0, 255.0)); };
    return {byte(c.r), byte(c.g), byte(c.b)};
}

// How one state frame is painted: a face that is lit from above (or, pressed and checked, from below)
// and settles on the state's face colour towards the middle, an inner line just inside the border,
// and the one-pixel border with softened corners.
struct FrameLook {
    Colour face;
    double topLight = 0;    // at the first inner row: > 0 lightens, < 0 darkens; none by row 12
    double bottomLight = 0; // the same from row 12 down to the last inner row
    Colour inner;           // along the inside of the top and left edges
    Colour innerLow;        // along the inside of the bottom and right edges
    Colour border;
};

Colour Lit(Colour c, double amount) {
    return amount >= 0 ? Lighten(c, amount) : Darken(c, -amount);
}

constexpr int kMiddleRow = 12; // where the lighting has faded out
constexpr int kCentreRow = 11;

Colour RowColour(const FrameLook& look, int y) {
    const double amount = y <= kMiddleRow
                              ? look.topLight * (kMiddleRow - y) / (kMiddleRow - 1.0)
                              : look.bottomLight * (y - kMiddleRow) / (kButtonSkinHeight - 2.0 - kMiddleRow);
    return Lit(look.face, amount);
}

std::array<FrameLook, 7> Looks(const skinbutton::SkinColours& palette) {
    const Colour face = FromNumber(palette.backDefault);
    const Colour edge = FromNumber(palette.borderDefault);
    // The accent marks hot, pressed and checked: darker than a light skin, lighter than a dark one, so
    // every state stays apart from the normal face whatever the skin's tone.
    const bool light = Luma(face) > 128;
    const Colour accent = light ? Darken(edge, 0.5) : Lighten(edge, 0.5);
    const Colour border = light ? Darken(edge, 0.3) : Lighten(edge, 0.15);

    std::array<FrameLook, 7> looks{};
    looks[skinbutton::kStateNormal] = {face, 0.55, 0, Lighten(face, 0.8), Darken(face, 0.06), border};
    const Colour hot = Mix(face, accent, 0.12);
    looks[skinbutton::kStateHot] = {hot, 0.7, 0, Lighten(hot, 0.9), edge, accent};
    const Colour checkedHot = Mix(face, accent, 0.24);
    looks[skinbutton::kStateCheckedHot] = {checkedHot,         0.45, 0, Lighten(accent, 0.55), Darken(checkedHot, 0.1),
                                           Darken(accent, 0.2)};
    const Colour checked = Mix(face, accent, 0.36);
    looks[skinbutton::kStateChecked] = {checked, -0.12, 0.15, Darken(checked, 0.2), Lighten(checked, 0.4), accent};
    const Colour down = Mix(face, accent, 0.5);
    looks[skinbutton::kStatePressed] = {down, -0.25, 0.25, Darken(down, 0.35), Lighten(down, 0.4), Darken(accent, 0.3)};
    // Disabled frames are plain greys that keep the skin's disabled text readable (at least 45 levels
    // apart): the lightest such grey that stands clearly apart from the frames already made, so a
    // disabled button never passes for an enabled one (failing that, the one furthest from them).
    const int text = static_cast<int>(Luma(FromNumber(palette.foreDisabled)));
    const bool lightOnly = text + 45 <= 250;
    auto distinctGrey = [&](std::initializer_list<int> others) {
        double best = -1, farthest = 0;
        for (int g = 250; g >= 0; --g) {
            if (lightOnly ? g < text + 45 : g > text - 45)
                continue;
            double nearest = 1e9;
            for (int frame : others) {
                const Colour c = RowColour(looks[static_cast<std::size_t>(frame)], kCentreRow);
                nearest = std::min(nearest, std::abs(c.r - g) + std::abs(c.g - g) + std::abs(c.b - g));
            }
            if (nearest >= 30)
                return Colour{static_cast<double>(g), static_cast<double>(g), static_cast<double>(g)};
            if (nearest > best) {
                best = nearest;
                farthest = g;
            }
        }
        return Colour{farthest, farthest, farthest};
    };
    using namespace skinbutton;
    const Colour off = distinctGrey({kStateHot, kStatePressed, kStateChecked, kStateCheckedHot, kStateNormal});
    looks[kStateDisabled] = {off, 0, 0, Lighten(off, 0.6), Darken(off, 0.04), Darken(off, 0.25)};
    const Colour offChecked =
        distinctGrey({kStateHot, kStatePressed, kStateChecked, kStateCheckedHot, kStateNormal, kStateDisabled});
    looks[kStateDisabledChecked] = {
        offChecked, 0, 0, Darken(offChecked, 0.12), Lighten(offChecked, 0.3), Darken(offChecked, 0.3)};
    return looks;
}

void PaintFrame(Raster& raster, int left, const FrameLook& look) {
    const int w = kButtonFrameWidth, h = kButtonSkinHeight;
    for (int y = 0; y < h; ++y) {
        const Colour row = RowColour(look, y);
        for (int x = 0; x < w; ++x) {
            Colour c = row;
            if (x == 0 || y == 0 || x == w - 1 || y == h - 1)
                c = look.border;
            else if (x == 1 || y == 1)
                c = look.inner;
            else if (x == w - 2 || y == h - 2)
                c = look.innerLow;
            raster.At(left + x, y) = ToRgb(c);
        }
    }
    // Rounded corners: the corner pixel fades out, its neighbours halfway.
    const Colour inside = Lit(look.face, look.topLight);
    for (int cx : {0, w - 1}) {
        for (int cy : {0, h - 1}) {
            raster.At(left + cx, cy) = ToRgb(Mix(look.border, Lighten(inside, 0.5), 0.7));
            const int nx = cx == 0 ? 1 : w - 2, ny = cy == 0 ? 1 : h - 2;
            raster.At(left + nx, cy) = ToRgb(Mix(look.border, inside, 0.35));
            raster.At(left + cx, ny) = ToRgb(Mix(look.border, inside, 0.35));
        }
    }
}

} // namespace

Raster ButtonSkin(int skin) {
    const skinbutton::SkinColours* palette = skinbutton::BuiltInSkinColours(skin);
    if (!palette)
        return {};
    Raster raster(kButtonSkinWidth, kButtonSkinHeight);
    const auto looks = Looks(*palette);
    for (int frame = 0; frame < skinbutton::kStateCount; ++frame)
        PaintFrame(raster, frame * kButtonFrameWidth, looks[static_cast<std::size_t>(frame)]);
    return raster;
}

std::string ButtonSkinFile(int skin) {
    return "button_skins/skin" + std::to_string(skinbutton::kFirstSkinResource + skin) + ".bmp";
}

} // namespace gen
