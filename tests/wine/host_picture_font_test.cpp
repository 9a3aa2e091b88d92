// The Win32 side of the host services: pictures and fonts between GDI and saved property sets.
#include "controls/host/font_win.h"
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
    // Orientation: the raster's top row is the bitmap's top row.
    EXPECT_EQ(GetPixel(dc, 6, 0), RGB(180, 0, 200));
    EXPECT_EQ(GetPixel(dc, 0, 2), RGB(0, 160, 200));
    // Read back while still selected, as a control's skin bitmap is.
    const auto back = host::PictureFromBitmap(bitmap.Get());
    SelectObject(dc, old);
    DeleteDC(dc);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, p);
    EXPECT_FALSE(host::PictureFromBitmap(nullptr));

    // A picture property frees only the bitmaps it made itself.
    win::Bitmap callers = host::BitmapFromPicture(p);
    {
        host::PictureProperty prop;
        ASSERT_TRUE(prop.SetFromPicture(p));
        const HBITMAP made = prop.Handle();
        EXPECT_EQ(prop.ToPicture(), p);
        prop.SetBorrowed(callers.Get());
        EXPECT_EQ(host::BitmapSize(made).cx, 0) << "the bitmap made from the saved set is freed";
        EXPECT_EQ(prop.Handle(), callers.Get());
    }
    EXPECT_EQ(host::BitmapSize(callers.Get()).cx, 7) << "the caller's bitmap outlives the property";
}

TEST(HostFont, FontsRoundTripThroughGdi) {
    const host::FontDesc d{L"Verdana", 8.25, true, true, false, true, 0};
    win::Font font = host::CreateFontFromDesc(d, 96);
    LOGFONTW lf{};
    GetObjectW(font.Get(), sizeof(lf), &lf);
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_EQ(host::FontDescFromHandle(font.Get(), 96), d);
}
