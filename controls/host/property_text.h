// The plain-text form of a saved property set: UTF-8, one `Name = value` line per entry, in the
// set's order. Blank lines and lines starting with '#' are ignored when reading; CR LF line ends and
// a leading byte-order mark are accepted.
//
// Values:
//   Boolean   True | False                       (letter case ignored when reading)
//   number    -123                             (32-bit signed)
//   colour    &H8000000F&                      (1 to 8 hex digits; system-colour codes included)
//   string    "text"   escapes \\ \" \n \r \t and \u{hex} (any other character as UTF-8)
//   font      Font("MS Sans Serif", 8.25, Bold, Italic, Underline, Strikethrough, Charset=0)
//             (the flags that are set, in any order; Charset only when not 0)
//   picture   Picture()  (none)  |  Picture(<base64 of a 24-bit .bmp file>)
//
// Reading is all or nothing: malformed text gives an error that names its line, and no set.
#pragma once

#include "controls/host/property_bag.h"

#include <optional>
#include <string>
#include <string_view>

namespace host {

std::string PropertyText(const PropertyBag& bag);

struct PropertyTextResult {
    std::optional<PropertyBag> bag; // set only when the whole text was read
    int line = 0;                   // 1-based line of the first fault
    std::wstring error;             // "Línea N: ..." (Spanish, for the user)
    explicit operator bool() const { return bag.has_value(); }
};

PropertyTextResult ParsePropertyText(std::string_view text);

} // namespace host
