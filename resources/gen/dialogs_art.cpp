#include "resources/gen/dialogs_art.h"

#include <cmath>
#include <string_view>

namespace gen {
namespace {

// 5 x 7 block letters for the few words the pictures spell.
const char* Glyph(char c) {
    switch (c) {
    case 'Z': return "11111" "00001" "00010" "00100" "01000" "10000" "11111";
    case 'E': return "11111" "10000" "10000" "11110" "10000" "10000" "11111";
    case 'V': return "10001" "10001" "10001" "10001" "10001" "01010" "00100";
    case 'A': return "01110" "10001" "10001" "11111" "10001" "10001" "10001";
    case 'N': return "10001" "11001" "10101" "10011" "10001" "10001" "10001";
    case 'T': return "11111" "00100" "00100" "00100" "00100" "00100" "00100";
    case 'O': return "01110" "10001" "10001" "10001" "10001" "10001" "01110";
    case 'R': return "11110" "10001" "10001" "11110" "10100" "10010" "10001";
    case 'C': return "01110" "10001" "10000" "10000" "10000" "10001" "01110";
    case 'F': return "11111" "10000" "10000" "11110" "10000" "10000" "10000";
    case 'I': return "01110" "00100" "00100" "00100" "00100" "00100" "01110";
    case 'G': return "01110" "10001" "10000" "10111" "10001" "10001" "01111";
    default: return "00000" "00000" "00000" "00000" "00000" "00000" "00000";
    }
}

void Text(Raster& r, int x, int y, std::string_view text, int scale, Rgb colour) {
    for (char c : text) {
        const char* g = Glyph(c);
        for (int gy = 0; gy < 7; ++gy)
            for (int gx = 0; gx < 5; ++gx)
                if (g[gy * 5 + gx] == '1')
                    for (int sy = 0; sy < scale; ++sy)
                        for (int sx = 0; sx < scale; ++sx) {
                            const int px = x + gx * scale + sx, py = y + gy * scale + sy;
                            if (px >= 0 && py >= 0 && px < r.width && py < r.height)
                                r.At(px, py) = colour;
                        }
        x += 6 * scale;
    }
}

std::uint8_t Mix(int a, int b, double t) { return static_cast<std::uint8_t>(std::lround(a + (b - a) * t)); }

// Quarter-circle WiFi arcs with their centre at (cx, cy).
void Arcs(Raster& r, int cx, int cy, const int* radii, int count, int thickness, Rgb colour) {
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const int dx = x - cx, dy = cy - y;
            if (dx < 0 || dy < 0)
                continue;
            const double d = std::sqrt(double(dx * dx + dy * dy));
            for (int i = 0; i < count; ++i)
                if (d >= radii[i] && d < radii[i] + thickness)
                    r.At(x, y) = colour;
        }
}

} // namespace

Raster AboutLogo(int dpi) {
    // Laid out at 96 dpi; at a larger dpi every length grows with it, so the letters stay sharp.
    const auto px = [dpi](int v) { return static_cast<int>(std::lround(v * dpi / 96.0)); };
    Raster r(px(197), px(77));
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const double t = (x + y) / double(r.width + r.height);
            r.At(x, y) = Rgb{Mix(18, 60, t), Mix(52, 130, t), Mix(110, 200, t)};
        }
    const int radii[] = {px(8), px(16), px(24)};
    Arcs(r, px(150), px(56), radii, 3, px(4), Rgb{255, 196, 64});
    Text(r, px(12), px(10), "ZEV", px(6), Rgb{255, 255, 255});
    Text(r, px(14), px(60), "VANTORO", px(1), Rgb{220, 232, 255});
    for (int y = px(55); y < px(56); ++y)
        for (int x = px(12); x < px(118); ++x)
            r.At(x, y) = Rgb{255, 196, 64};
    return r;
}

// Both icons are drawn in the units of a 16 x 16 one, each pixel taking the cell its centre falls in,
// so the larger sizes are the same picture drawn sharp.
Raster FinderIcon(int size) {
    // A magnifying glass over a small device.
    Raster r(size, size, kIconTransparent);
    const double s = size / 16.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double u = (x + 0.5) / s, v = (y + 0.5) / s;
            const int cu = static_cast<int>(u), cv = static_cast<int>(v);
            if (u >= 1 && u < 9 && v >= 9 && v < 15)
                r.At(x, y) = (v < 10 || v >= 14 || u < 2 || u >= 8) ? Rgb{30, 40, 60} : Rgb{80, 140, 220};
            const double d = std::hypot(u - 10, v - 6);
            if (d >= 3.2 && d < 4.8)
                r.At(x, y) = Rgb{40, 40, 40};
            else if (d < 3.2)
                r.At(x, y) = Rgb{200, 230, 255};
            if (cv >= 9 && cv <= 11 && (cu - cv == 3 || cu - cv == 4))
                r.At(x, y) = Rgb{90, 60, 30}; // the handle
        }
    return r;
}

Raster AboutIcon(int size) {
    // A blue disc with a white "i".
    Raster r(size, size, kIconTransparent);
    const double s = size / 16.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double u = (x + 0.5) / s, v = (y + 0.5) / s;
            if (std::hypot(u - 8, v - 8) < 7.6)
                r.At(x, y) = Rgb{30, 90, 190};
            if (u >= 7 && u < 9 && ((v >= 3 && v < 5) || (v >= 6 && v < 13)))
                r.At(x, y) = Rgb{255, 255, 255};
        }
    return r;
}

} // namespace gen
