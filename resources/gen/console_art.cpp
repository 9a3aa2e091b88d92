#include "resources/gen/console_art.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace gen {
namespace {

constexpr Rgb kM = kConsoleTransparent;

std::uint8_t Mix(int a, int b, double t) {
    return static_cast<std::uint8_t>(std::lround(a + (b - a) * t));
}
Rgb Mix(Rgb a, Rgb b, double t) {
    return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t)};
}

void Put(Raster& r, int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < r.width && y < r.height)
        r.At(x, y) = c;
}

void FillRect(Raster& r, int x0, int y0, int x1, int y1, Rgb c) { // inclusive corners
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            Put(r, x, y, c);
}

// Every pixel whose centre lies within the shape; hard edges, so the magenta mask stays exact.
template <typename Inside> void FillShape(Raster& r, Rgb c, Inside inside) {
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x)
            if (inside(x + 0.5, y + 0.5))
                r.At(x, y) = c;
}

void Disc(Raster& r, double cx, double cy, double radius, Rgb c) {
    FillShape(r, c, [&](double x, double y) { return std::hypot(x - cx, y - cy) <= radius; });
}

void Ring(Raster& r, double cx, double cy, double inner, double outer, Rgb c) {
    FillShape(r, c, [&](double x, double y) {
        const double d = std::hypot(x - cx, y - cy);
        return d >= inner && d <= outer;
    });
}

void Line(Raster& r, double x0, double y0, double x1, double y1, double width, Rgb c) {
    FillShape(r, c, [&](double x, double y) {
        const double dx = x1 - x0, dy = y1 - y0;
        const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2;
    });
}

void Polygon(Raster& r, const std::vector<std::pair<double, double>>& points, Rgb c) {
    FillShape(r, c, [&](double x, double y) { // even-odd rule
        bool in = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const auto [xi, yi] = points[i];
            const auto [xj, yj] = points[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
                in = !in;
        }
        return in;
    });
}

// One 15 x 23 frame tile at x: a border with clipped corners around a vertical gradient.
void FrameTile(Raster& r, int x, Rgb border, Rgb top, Rgb bottom) {
    for (int y = 0; y < 23; ++y)
        for (int i = 0; i < 15; ++i) {
            const bool edgeX = i == 0 || i == 14, edgeY = y == 0 || y == 22;
            Rgb c = Mix(top, bottom, y / 22.0);
            if (edgeX || edgeY)
                c = border;
            if (edgeX && edgeY)
                c = kM; // rounded look: the corner pixels let the background through
            r.At(x + i, y) = c;
        }
}

void Arrow(Raster& r, int x, int y, Rgb c) { // a 5-3-1 triangle pointing down in a 7 x 7 cell
    for (int row = 0; row < 3; ++row)
        for (int i = row; i < 5 - row; ++i)
            r.At(x + 1 + i, y + 2 + row) = c;
}

// 5 x 7 glyph of "Z".
const char* const kZ = "11111"
                       "00001"
                       "00010"
                       "00100"
                       "01000"
                       "10000"
                       "11111";

} // namespace

Raster ToolbarSkin() {
    Raster r(216, 23, kM);
    struct State {
        Rgb border, top, bottom;
    };
    // Hot and pressed in blue (pressed darker, its light at the bottom as if pushed in); checked in
    // amber, so a checked button never reads as one under the pointer.
    const State states[4] = {
        {{51, 94, 168}, {236, 244, 254}, {190, 214, 246}},  // hot
        {{33, 66, 130}, {140, 172, 224}, {196, 214, 242}},  // pressed
        {{196, 140, 40}, {255, 246, 214}, {255, 222, 150}}, // checked
        {{160, 104, 20}, {255, 222, 150}, {250, 184, 92}},  // checked and hot
    };
    for (int g = 0; g < 12; g += 4)
        for (int s = 0; s < 4; ++s)
            FrameTile(r, 15 * (g + s), states[s].border, states[s].top, states[s].bottom);

    Arrow(r, 180, 0, {0, 0, 0});
    Arrow(r, 180, 7, {128, 128, 128});

    // Separator: an etched vertical line, with its ends faded into the background.
    for (int y = 3; y <= 19; ++y) {
        r.At(190, y) = {166, 166, 160};
        r.At(191, y) = {255, 255, 255};
    }

    // Background: a light vertical gradient with a darker bottom line.
    for (int y = 0; y < 23; ++y)
        for (int x = 195; x < 210; ++x)
            r.At(x, y) = y == 22 ? Rgb{197, 194, 184} : Mix(Rgb{252, 252, 249}, Rgb{221, 218, 206}, y / 21.0);

    r.At(215, 0) = kSkinTextNormal;
    r.At(215, 6) = kSkinTextDown;
    r.At(215, 10) = kSkinTextDisabled;
    return r;
}

Raster ToolImage(int index) {
    Raster r(32, 32, kM);
    const Rgb ink{32, 40, 56};
    switch (index) {
    case 0: { // find devices: a magnifying glass over a ZEV box
        FillRect(r, 2, 14, 19, 28, ink);
        FillRect(r, 3, 15, 18, 27, {70, 110, 170});
        FillRect(r, 5, 24, 7, 25, {90, 220, 90});     // its link LED
        FillRect(r, 19, 19, 23, 22, {150, 150, 150}); // the USB plug
        Disc(r, 19.5, 11.5, 7.5, {205, 232, 255});
        Ring(r, 19.5, 11.5, 7.5, 10.0, {60, 60, 66});
        Line(r, 26.5, 18.5, 30.0, 29.0, 4.0, {120, 78, 40});
        break;
    }
    case 1: { // disconnect: a plug pulled from its socket, with a red cross
        FillRect(r, 1, 13, 10, 21, {140, 140, 146});
        FillRect(r, 11, 15, 14, 16, {200, 170, 60});
        FillRect(r, 11, 18, 14, 19, {200, 170, 60});
        FillRect(r, 0, 16, 1, 18, ink);
        FillRect(r, 20, 12, 30, 22, {140, 140, 146});
        FillRect(r, 20, 15, 22, 16, ink);
        FillRect(r, 20, 18, 22, 19, ink);
        Line(r, 12.0, 23.0, 22.0, 31.0, 3.5, {210, 30, 30});
        Line(r, 22.0, 23.0, 12.0, 31.0, 3.5, {210, 30, 30});
        break;
    }
    case 2: { // clear: a written page and an eraser wiping it
        FillRect(r, 4, 2, 21, 29, {120, 120, 130});
        FillRect(r, 5, 3, 20, 28, {255, 255, 255});
        for (int y = 7; y <= 23; y += 4)
            FillRect(r, 7, y, 18, y, {150, 160, 190});
        Polygon(r, {{13, 24}, {23, 12}, {31, 19}, {21, 31}}, {236, 120, 140});
        Polygon(r, {{13, 24}, {17, 19}, {25, 26}, {21, 31}}, {80, 110, 200});
        break;
    }
    default: { // about: a blue disc with a white "i"
        Disc(r, 16, 16, 14.5, {30, 90, 190});
        Ring(r, 16, 16, 13.0, 14.5, {20, 60, 140});
        Disc(r, 16, 9, 2.5, {255, 255, 255});
        FillRect(r, 14, 13, 17, 24, {255, 255, 255});
        FillRect(r, 12, 24, 19, 25, {255, 255, 255});
        break;
    }
    }
    return r;
}

Raster PrincipalIcon(int size) {
    Raster r(size, size, kM);
    const double s = size / 32.0;
    // A rounded blue square with a white "Z" and a yellow signal arc.
    FillShape(r, {28, 84, 170}, [&](double x, double y) {
        const double m = 1.0 * s, rad = 6.0 * s, lo = m + rad, hi = size - m - rad;
        const double cx = std::clamp(x, lo, hi), cy = std::clamp(y, lo, hi);
        return std::hypot(x - cx, y - cy) <= rad;
    });
    const int scale = size >= 32 ? 3 : 2;
    const int gx = size >= 32 ? 6 : 2, gy = (size - 7 * scale) / 2;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 5; ++x)
            if (kZ[y * 5 + x] == '1')
                FillRect(r, gx + x * scale, gy + y * scale, gx + x * scale + scale - 1, gy + y * scale + scale - 1,
                         {255, 255, 255});
    if (size < 32)
        return r; // too small for the signal to read
    FillShape(r, {255, 196, 64}, [&](double x, double y) {
        const double d = std::hypot(x - 22.0 * s, y - 22.0 * s);
        return x >= 22.0 * s && y <= 22.0 * s && d >= 5.0 * s && d <= 7.0 * s;
    });
    Disc(r, 23.0 * s, 21.0 * s, 1.6 * s, {255, 196, 64});
    return r;
}

} // namespace gen
