#include "controls/button/gdi_picture.h"

#include "bmp/ico_file.h"
#include "controls/host/picture_win.h"
#include "win/dib.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace skinbutton {

PictureRef GdiPicture::Borrow(HBITMAP bitmap) {
    const SIZE size = host::BitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0)
        return nullptr;
    std::shared_ptr<GdiPicture> p(new GdiPicture);
    p->bitmap_ = bitmap;
    p->width_ = size.cx;
    p->height_ = size.cy;
    return p;
}

PictureRef GdiPicture::Own(win::Bitmap bitmap) {
    const SIZE size = host::BitmapSize(bitmap.Get());
    if (size.cx <= 0 || size.cy <= 0)
        return nullptr;
    std::shared_ptr<GdiPicture> p(new GdiPicture);
    p->bitmap_ = bitmap.Get();
    p->owned_ = std::move(bitmap);
    p->width_ = size.cx;
    p->height_ = size.cy;
    return p;
}

PictureRef GdiPicture::OwnIcon(HICON icon, int width, int height) {
    if (!icon)
        return nullptr;
    std::shared_ptr<GdiPicture> p(new GdiPicture);
    p->icon_ = icon;
    p->width_ = width;
    p->height_ = height;
    return p;
}

GdiPicture::~GdiPicture() {
    if (icon_)
        DestroyIcon(icon_);
}

host::Picture GdiPicture::Pixels() const {
    if (!bitmap_)
        return {};
    auto picture = host::PictureFromBitmap(bitmap_);
    return picture ? std::move(*picture) : host::Picture{};
}

HBITMAP BitmapOf(const PictureRef& picture) {
    const auto* gdi = dynamic_cast<const GdiPicture*>(picture.get());
    return gdi ? gdi->Bitmap() : nullptr;
}

namespace {

constexpr std::streamoff kMaxPictureFile = 64 * 1024 * 1024;

std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in)
        return {};
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size <= 0 || size > kMaxPictureFile)
        return {};
    in.seekg(0);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    return in ? bytes : std::vector<std::uint8_t>{};
}

} // namespace

PictureRef LoadPictureFile(const std::wstring& path) {
    // Checked before any decoder sees the bytes: a bad file gives a message, not a crash.
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    if (const auto layout = bmp::ReadLayout(bytes))
        return GdiPicture::Own(win::DibSection(*layout, bytes));
    const auto icon = bmp::ReadIcon(bytes);
    if (!icon)
        return nullptr;
    HICON handle =
        CreateIconFromResourceEx(const_cast<std::uint8_t*>(bytes.data() + icon->offset), static_cast<DWORD>(icon->size),
                                 TRUE, 0x00030000, icon->width, icon->height, LR_DEFAULTCOLOR);
    return GdiPicture::OwnIcon(handle, icon->width, icon->height);
}

} // namespace skinbutton
