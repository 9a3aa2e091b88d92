// One real button in each of the 22 skins, and driven through its seven states: every look is drawn
// from its own skin's frame, on screen as well as on the button's surface.
#include "tests/wine/support/button_form.h"

#include <string>

using namespace skinbutton;
using namespace testsupport;

TEST_F(ButtonTest, EverySkinAndEveryStateIsDrawnFromItsFrame) {
    SkinButton b;
    ASSERT_TRUE(Place(b, L"Aceptar"));
    // Two opposite corners tell the skin; where the other pieces go is the nine-slice layout's own test.
    auto expectFrame = [&](const SkinImage& image, int frame, const std::string& what) {
        EXPECT_EQ(std::pair(At(b, 1, 1), At(b, 98, 28)), std::pair(image.At(frame, 1, 1), image.At(frame, 13, 21)))
            << what << " frame " << frame;
    };
    for (int skin = 0; skin < kBuiltInSkinCount; ++skin) {
        b.SetSkin(skin);
        expectFrame(SkinImage(skin), kStateNormal, "skin " + std::to_string(skin));
    }
    const SkinImage image(21);
    const struct {
        const char* actions; // see Send; any other letter makes it a check button: "C" checked,
                             // "U" unchecked, "A" checked with the pointer taken away
        bool enabled;
        int frame;
    } steps[] = {{"", true, kStateNormal},         {"m 50 15", true, kStateHot},
                 {"p 50 15", true, kStatePressed}, {"r 500 500 C", true, kStateCheckedHot},
                 {"A", true, kStateChecked},       {"", false, kStateDisabledChecked},
                 {"U", false, kStateDisabled}};
    for (const auto& s : steps) {
        b.SetEnabled(s.enabled);
        Send(b, s.actions, [&](char a) {
            b.SetButtonType(kCheckButton);
            b.SetValue(a != 'U');
            if (a == 'A') {
                Away();
                PumpUntil([&] { return FrameShown(b, image) == kStateChecked; }, 1000);
            }
        });
        expectFrame(image, s.frame, s.actions);
    }
    PumpMessages(30);
    EXPECT_EQ(ScreenPixel(b.hwnd(), 2, 2), image.At(kStateDisabled, 2, 2)) << "on screen, not only in the buffer";
    SaveScreenshot(form.Hwnd(), L"button_skin21_disabled");
    EXPECT_TRUE(notices.notices.empty());
}
