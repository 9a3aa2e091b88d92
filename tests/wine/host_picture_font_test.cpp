// The Win32 side of the host services: pictures between GDI and saved property sets.
#include "controls/host/picture_win.h"

#include <gtest/gtest.h>

TEST(HostPicture, BitmapsSavedPicturesAndPropertiesCarryTheSamePixels) {
    host::Picture p{bmp::Raster(7, 3)};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            p.raster.At(x, y) = bmp::Rgb{static_cast<std::uint8_t>(x * 30), static_cast<std::uint8_t>(y * 80), 200};
    win::Bitmap bitmap = host::BitmapFromPicture(p);
    ASSERT_TRUE(bitmap);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap.Get());
    EXPECT_EQ(GetPixel(dc, 6, 0), RGB(180, 0, 200)) << "the raster's top row is the bitmap's top row";
    // Read back while still selected, as a control's skin bitmap is.
    const auto back = host::PictureFromBitmap(bitmap.Get());
    SelectObject(dc, old);
    DeleteDC(dc);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, p);

    // A picture property frees only the bitmaps it made itself.
    win::Bitmap callers = host::BitmapFromPicture(p);
    {
        host::PictureProperty prop;
        ASSERT_TRUE(prop.SetFromPicture(p));
        const HBITMAP made = prop.Handle();
        prop.SetBorrowed(callers.Get());
        EXPECT_EQ(host::BitmapSize(made).cx, 0) << "the bitmap made from the saved set is freed";
    }
    EXPECT_EQ(host::BitmapSize(callers.Get()).cx, 7) << "the caller's bitmap outlives the property";
}
