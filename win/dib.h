// A checked .bmp file (bmp/bmp_file.h) as a GDI bitmap. The system's own file loader reads past the
// end of a truncated file, so pictures from files reach GDI only through here.
#pragma once

#include "bmp/bmp_file.h"
#include "win/gdi.h"

namespace win {

// A DIB section with the file's pixels; empty when GDI has no memory for it.
Bitmap DibSection(const bmp::Layout& layout, std::span<const std::uint8_t> file);

} // namespace win
