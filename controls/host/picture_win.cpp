#include "controls/host/picture_win.h"

#include <vector>

namespace host {

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap, sizeof(info), &info) != sizeof(info))
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

std::optional<Picture> PictureFromBitmap(HBITMAP bitmap) {
    const SIZE size = BitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0 || size.cx > (1 << 16) || size.cy > (1 << 16))
        return std::nullopt;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = size.cx;
    bi.bmiHeader.biHeight = -size.cy; // top row first, as a Raster keeps them
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    const std::size_t stride = (static_cast<std::size_t>(size.cx) * 3 + 3) & ~std::size_t{3};
    std::vector<std::uint8_t> bits(stride * static_cast<std::size_t>(size.cy));
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.cy), bits.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != size.cy)
        return std::nullopt;
    Picture picture{bmp::Raster(size.cx, size.cy)};
    for (int y = 0; y < size.cy; ++y) {
        const std::uint8_t* row = bits.data() + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < size.cx; ++x)
            picture.raster.At(x, y) = bmp::Rgb{row[x * 3 + 2], row[x * 3 + 1], row[x * 3]};
    }
    return picture;
}

win::Bitmap BitmapFromPicture(const Picture& picture) {
    const bmp::Raster& r = picture.raster;
    if (picture.IsNone() || r.pixels.size() != static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height))
        return {};
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = r.width;
    bi.bmiHeader.biHeight = -r.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win::Bitmap bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        return {};
    const std::size_t stride = (static_cast<std::size_t>(r.width) * 3 + 3) & ~std::size_t{3};
    auto* out = static_cast<std::uint8_t*>(bits);
    for (int y = 0; y < r.height; ++y) {
        std::uint8_t* row = out + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < r.width; ++x) {
            const bmp::Rgb& p = r.At(x, y);
            row[x * 3] = p.b;
            row[x * 3 + 1] = p.g;
            row[x * 3 + 2] = p.r;
        }
    }
    GdiFlush();
    return bitmap;
}

void PictureProperty::SetBorrowed(HBITMAP bitmap) {
    handle_ = bitmap;
    if (owned_.Get() != bitmap)
        owned_.Reset();
}

void PictureProperty::SetOwned(win::Bitmap bitmap) {
    handle_ = bitmap.Get();
    owned_ = std::move(bitmap);
}

bool PictureProperty::SetFromPicture(const Picture& picture) {
    SetOwned(BitmapFromPicture(picture));
    return handle_ != nullptr;
}

Picture PictureProperty::ToPicture() const {
    if (!handle_)
        return {};
    auto picture = PictureFromBitmap(handle_);
    return picture ? std::move(*picture) : Picture{};
}

} // namespace host
