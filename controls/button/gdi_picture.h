// Pictures the button draws: bitmaps (the caller's, or its own made from a saved set or a file) and
// icons loaded from files.
#pragma once

#include "controls/button/button_picture.h"
#include "win/gdi.h"

#include <windows.h>

#include <string>

namespace skinbutton {

class GdiPicture : public ButtonPicture {
public:
    // The caller's bitmap: it stays theirs and must outlive its use.
    static PictureRef Borrow(HBITMAP bitmap);
    static PictureRef Own(win::Bitmap bitmap);
    static PictureRef OwnIcon(HICON icon, int width, int height);
    ~GdiPicture() override;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    host::Picture Pixels() const override;
    HBITMAP Bitmap() const { return bitmap_; }
    HICON Icon() const { return icon_; }

private:
    GdiPicture() = default;
    HBITMAP bitmap_ = nullptr;
    win::Bitmap owned_;
    HICON icon_ = nullptr;
    int width_ = 0, height_ = 0;
};

// The bitmap behind a picture, or null (none, or an icon).
HBITMAP BitmapOf(const PictureRef& picture);

// A .bmp or .ico file; null when it cannot be read or is not a picture we can show.
PictureRef LoadPictureFile(const std::wstring& path);

} // namespace skinbutton
