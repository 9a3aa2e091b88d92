// One real button driven through its seven states in each of the 22 skins: every look is drawn from
// its skin frame, on screen as well as on the button's surface.
#include "tests/wine/support/button_form.h"

#include <array>
#include <climits>

using namespace skinbutton;
using namespace testsupport;

namespace {

// The four corner blocks of a 100 × 30 surface are the frame's own, unscaled; the middle (above the
// caption) is nearest to the frame's middle.
void ExpectFrame(const SkinButton& b, const SkinImage& skin, int frame) {
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            ASSERT_EQ((std::array{At(b, x, y), At(b, 95 + x, y), At(b, x, 25 + y), At(b, 95 + x, 25 + y)}),
                      (std::array{skin.At(frame, x, y), skin.At(frame, 10 + x, y), skin.At(frame, x, 18 + y),
                                  skin.At(frame, 10 + x, 18 + y)}))
                << "corners at " << x << "," << y;
        }
    }
    int nearest = -1, best = INT_MAX;
    for (int f = 0; f < kStateCount; ++f) {
        const COLORREF a = At(b, 50, 5), c = skin.At(f, 7, 5);
        const int d = std::abs(GetRValue(a) - GetRValue(c)) + std::abs(GetGValue(a) - GetGValue(c)) +
                      std::abs(GetBValue(a) - GetBValue(c));
        if (d < best)
            best = d, nearest = f;
    }
    EXPECT_EQ(nearest, frame) << "middle";
}

} // namespace

TEST_F(ButtonTest, EveryStateOfEverySkinIsDrawnFromItsFrame) {
    SkinButton b;
    ASSERT_TRUE(Place(b, L"Aceptar"));
    for (int skin = 0; skin < kBuiltInSkinCount; ++skin) {
        SCOPED_TRACE(skin);
        const SkinImage image(skin);
        ASSERT_TRUE(image.Loaded());
        b.SetEnabled(true);
        b.SetButtonType(kPushButton);
        b.SetValue(false);
        b.SetSkin(skin);
        ExpectFrame(b, image, kStateNormal);
        Send(b, "m 50 15");
        ExpectFrame(b, image, kStateHot);
        Send(b, "p 50 15");
        ExpectFrame(b, image, kStatePressed);
        Send(b, "r 500 500"); // released outside: no click
        b.SetButtonType(kCheckButton);
        b.SetValue(true);
        ExpectFrame(b, image, kStateCheckedHot);
        Away();
        ASSERT_TRUE(PumpUntil([&] { return FrameShown(b, image) == kStateChecked; }, 1000)) << "the pointer left";
        ExpectFrame(b, image, kStateChecked);
        b.SetEnabled(false);
        ExpectFrame(b, image, kStateDisabledChecked);
        b.SetValue(false);
        ExpectFrame(b, image, kStateDisabled);
    }
    PumpMessages(30);
    EXPECT_EQ(ScreenPixel(b.hwnd(), 2, 2), SkinImage(21).At(kStateDisabled, 2, 2))
        << "on screen, not only in the buffer";
    SaveScreenshot(form.Hwnd(), L"button_skin21_disabled");
    EXPECT_TRUE(notices.notices.empty());
}
