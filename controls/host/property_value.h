// The kinds of value a control keeps in its saved property set. Platform-neutral.
#pragma once

#include "bmp/bmp_file.h"

#include <cstdint>
#include <string>
#include <variant>

namespace host {

// A font as a form stores it: face name, size in points and the style flags.
struct FontDesc {
    std::wstring name = L"MS Sans Serif";
    double size = 8.25; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int charset = 0;
    bool operator==(const FontDesc&) const = default;
};

// A picture's pixels (24-bit). A picture with no pixels is "none" (or the empty picture: the saved
// form does not tell them apart, and no control needs it to).
struct Picture {
    bmp::Raster raster;
    bool IsNone() const { return raster.width <= 0 || raster.height <= 0; }
    bool operator==(const Picture&) const = default;
};

// A colour number (0x00BBGGRR, or 0x80000000 + a system colour index). Kept apart from plain
// numbers so the saved text shows it as a colour.
struct Colour {
    std::uint32_t value = 0;
    bool operator==(const Colour&) const = default;
};

using PropertyValue = std::variant<bool, std::int32_t, Colour, std::wstring, FontDesc, Picture>;

} // namespace host
