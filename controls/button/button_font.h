// A font as the button and its formatted caption describe it: what a GDI font is made from.
// Platform-neutral.
#pragma once

#include <string>

namespace skinbutton {

struct FontSpec {
    std::wstring name = L"Verdana";
    double size = 8.25; // points
    bool bold = false, italic = false, underline = false, strikethrough = false;
    bool operator==(const FontSpec&) const = default;
};

} // namespace skinbutton
