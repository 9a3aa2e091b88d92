#include "win/dib.h"

#include <cstring>
#include <vector>

namespace win {

Bitmap DibSection(const bmp::Layout& layout, std::span<const std::uint8_t> file) {
    // A 40-byte header whatever the file had, then the masks or the colour table, as CreateDIBSection
    // takes them; copied so they are suitably aligned.
    const std::size_t tableBytes = 4 * layout.tableEntries;
    std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 12 + tableBytes);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = layout.width;
    header.biHeight = layout.height;
    header.biPlanes = 1;
    header.biBitCount = layout.bitCount;
    header.biCompression = layout.compression;
    header.biClrUsed = static_cast<DWORD>(layout.tableEntries);
    std::memcpy(info.data(), &header, sizeof(header));
    std::uint8_t* after = info.data() + sizeof(header);
    if (layout.compression == BI_BITFIELDS)
        std::memcpy(after, layout.masks, sizeof(layout.masks));
    else if (tableBytes)
        std::memcpy(after, file.data() + layout.tableOffset, tableBytes);
    void* bits = nullptr;
    Bitmap bitmap(
        CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        return {};
    std::memcpy(bits, file.data() + layout.bitsOffset, layout.bitsSize);
    GdiFlush();
    return bitmap;
}

} // namespace win
