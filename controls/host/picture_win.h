// Pictures between GDI bitmaps and saved property sets, and the picture-valued property of a
// control: none, a bitmap the caller keeps owning (it must outlive its use), or a bitmap the control
// made itself from a saved set (freed with the property).
#pragma once

#include "controls/host/property_value.h"
#include "win/gdi.h"

#include <windows.h>

#include <optional>

namespace host {

// The bitmap's pixels at 24 bits; nothing when the handle is not a bitmap GDI can read.
std::optional<Picture> PictureFromBitmap(HBITMAP bitmap);
// A new DIB-section bitmap with the picture's pixels; an empty owner for none or on failure.
win::Bitmap BitmapFromPicture(const Picture& picture);
// Width and height of a bitmap; {0, 0} when it is not one.
SIZE BitmapSize(HBITMAP bitmap);

class PictureProperty {
public:
    PictureProperty() = default;
    PictureProperty(const PictureProperty&) = delete;
    PictureProperty& operator=(const PictureProperty&) = delete;

    HBITMAP Handle() const { return handle_; }
    bool IsNone() const { return handle_ == nullptr; }
    // The caller's bitmap (null = none). Any bitmap made from a saved set is freed.
    void SetBorrowed(HBITMAP bitmap);
    // A bitmap from a saved picture, owned from now on; false (and none) when it cannot be made.
    bool SetFromPicture(const Picture& picture);
    // A bitmap the property owns from now on (null = none).
    void SetOwned(win::Bitmap bitmap);
    void Clear() { SetBorrowed(nullptr); }
    // What a saved set stores: the pixels, or none.
    Picture ToPicture() const;

private:
    HBITMAP handle_ = nullptr;
    win::Bitmap owned_;
};

} // namespace host
