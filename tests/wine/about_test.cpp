// The About window: its layout, the keyboard on its button from the start, one instance at a time (opened
// from the toolbar and closed by its button: the end-to-end test; at 144 dpi: the scale test).
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

using namespace testsupport;
using console::About;

TEST_F(PrincipalSession, AboutIsLaidOutAsDesignedAndShownOnce) {
    About* about = About::Show();
    ASSERT_NE(about, nullptr);
    HWND hwnd = about->Hwnd(), ok = about->cmdOK.Hwnd();
    EXPECT_EQ(GetFocus(), ok) << "opens with the keyboard on its button, as a dialog box does";
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(std::tuple(WindowText(hwnd), client.right, client.bottom, RectIn(ok, hwnd).left, RectIn(ok, hwnd).top),
              std::tuple(std::wstring(L"Acerca de ZEV Config"), 387L, 204L, 280L, 120L));
    EXPECT_EQ(std::tuple(WindowText(about->lblTitle()), WindowText(ok), about->cmdOK.Skin(), about->cmdOK.FontName()),
              std::tuple(std::wstring(L"ZEV Config"), std::wstring(L"Aceptar"), 0, std::wstring(L"Verdana")));
    PumpMessages(100);
    EXPECT_EQ(std::pair(ScreenPixel(hwnd, 100, 112), ScreenPixel(hwnd, 100, 113)),
              std::pair(RGB(128, 128, 128), RGB(255, 255, 255)))
        << "the etched separator at 1680 twips";
    SaveScreenshot(hwnd, L"about");

    const wchar_t* caption = L"Acerca de ZEV Config";
    EXPECT_EQ(std::tuple(About::Show(), FindWindowW(nullptr, caption), FindWindowExW(nullptr, hwnd, nullptr, caption)),
              std::tuple(about, hwnd, HWND{}))
        << "asking again brings the same window and no second one";
}
