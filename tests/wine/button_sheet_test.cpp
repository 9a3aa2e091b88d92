// One real button in each of the 22 skins: every skin is drawn from its own bitmap, on screen as well
// as on the button's surface.
#include "tests/wine/support/button_form.h"

using namespace skinbutton;
using namespace testsupport;

TEST_F(ButtonTest, EverySkinIsDrawnFromItsOwnBitmap) {
    SkinButton b;
    ASSERT_TRUE(Place(b, L"Aceptar"));
    // Two opposite corners tell the skin; which frame each state takes is the input test's, where the
    // other pieces go is the nine-slice layout's own test.
    for (int skin = 0; skin < kBuiltInSkinCount; ++skin) {
        b.SetSkin(skin);
        const SkinImage image(skin);
        EXPECT_EQ(std::pair(At(b, 1, 1), At(b, 98, 28)),
                  std::pair(image.At(kStateNormal, 1, 1), image.At(kStateNormal, 13, 21)))
            << "skin " << skin;
    }
    b.SetEnabled(false);
    PumpMessages(30);
    EXPECT_EQ(ScreenPixel(b.hwnd(), 2, 2), SkinImage(21).At(kStateDisabled, 2, 2))
        << "on screen, not only in the buffer";
    SaveScreenshot(form.Hwnd(), L"button_skin21_disabled");
    EXPECT_TRUE(notices.notices.empty());
}
