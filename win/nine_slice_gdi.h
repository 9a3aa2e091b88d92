// Carrying out nine-slice (or any piece-wise) copies with GDI.
#pragma once

#include "win/nine_slice.h"

#include <windows.h>

#include <cstddef>

namespace win {

// A piece of its source's size is copied, any other stretched (the stretch mode is the caller's);
// a piece without room (a result smaller than its fixed parts) is left out.
inline void DrawPieces(HDC dc, HDC source, const Piece* pieces, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const Piece& p = pieces[i];
        if (p.dw <= 0 || p.dh <= 0)
            continue;
        if (p.dw == p.sw && p.dh == p.sh)
            BitBlt(dc, p.dx, p.dy, p.dw, p.dh, source, p.sx, p.sy, SRCCOPY);
        else
            StretchBlt(dc, p.dx, p.dy, p.dw, p.dh, source, p.sx, p.sy, p.sw, p.sh, SRCCOPY);
    }
}

} // namespace win
