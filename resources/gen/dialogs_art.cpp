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

Raster AboutLogo() {
    Raster r(197, 77);
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const double t = (x + y) / double(r.width + r.height);
            r.At(x, y) = Rgb{Mix(18, 60, t), Mix(52, 130, t), Mix(110, 200, t)};
        }
    const int radii[] = {8, 16, 24};
    Arcs(r, 150, 56, radii, 3, 4, Rgb{255, 196, 64});
    Text(r, 12, 10, "ZEV", 6, Rgb{255, 255, 255});
    Text(r, 14, 60, "VANTORO", 1, Rgb{220, 232, 255});
    for (int x = 12; x < 118; ++x)
        r.At(x, 55) = Rgb{255, 196, 64};
    return r;
}

Raster FinderIcon() {
    // A magnifying glass over a small device.
    Raster r(16, 16, kIconTransparent);
    for (int y = 9; y < 15; ++y)
        for (int x = 1; x < 9; ++x)
            r.At(x, y) = (y == 9 || y == 14 || x == 1 || x == 8) ? Rgb{30, 40, 60} : Rgb{80, 140, 220};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const double d = std::hypot(x - 9.5, y - 5.5);
            if (d >= 3.2 && d < 4.8)
                r.At(x, y) = Rgb{40, 40, 40};
            else if (d < 3.2)
                r.At(x, y) = Rgb{200, 230, 255};
        }
    for (int i = 0; i < 3; ++i) {
        r.At(12 + i, 9 + i) = Rgb{90, 60, 30};
        r.At(13 + i, 9 + i) = Rgb{90, 60, 30};
    }
    return r;
}

Raster AboutIcon() {
    // A blue disc with a white "i".
    Raster r(16, 16, kIconTransparent);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (std::hypot(x - 7.5, y - 7.5) < 7.6)
                r.At(x, y) = Rgb{30, 90, 190};
    for (int y = 3; y < 5; ++y)
        for (int x = 7; x < 9; ++x)
            r.At(x, y) = Rgb{255, 255, 255};
    for (int y = 6; y < 13; ++y)
        for (int x = 7; x < 9; ++x)
            r.At(x, y) = Rgb{255, 255, 255};
    return r;
}

} // namespace gen
