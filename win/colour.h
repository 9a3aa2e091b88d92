// Translating colour numbers (which may name system colours) to RGB for drawing.
#pragma once

#include "win/units.h"

#include <windows.h>

namespace win {

// A system colour number becomes the current RGB of that colour; a plain one keeps its low 24 bits.
// An unknown system colour index yields black rather than garbage.
inline COLORREF ToColorRef(std::uint32_t colour) {
    if (IsSystemColour(colour)) {
        const int index = static_cast<int>(colour & 0xFFFFu);
        return index <= COLOR_MENUBAR ? GetSysColor(index) : RGB(0, 0, 0);
    }
    return static_cast<COLORREF>(colour & 0x00FFFFFFu);
}

} // namespace win
