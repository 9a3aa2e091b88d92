// The About window: its layout, one instance shown from the toolbar, closed by its button.
#include "console/about.h"
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

using namespace testsupport;
using console::About;

TEST_F(PrincipalSession, AboutIsLaidOutAsDesignedShownOnceAndClosedByItsButton) {
    principal.ShowAbout = [] { About::Show(); };
    principal.Toolbar1_ButtonClick(L"Boton4");
    About* about = About::Instance();
    ASSERT_NE(about, nullptr);
    HWND hwnd = about->Hwnd(), ok = about->cmdOK.Hwnd();
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(std::tuple(WindowText(hwnd), client.right, client.bottom, RectIn(ok, hwnd).left, RectIn(ok, hwnd).top),
              std::tuple(std::wstring(L"Acerca de ZEV Config"), 387L, 204L, 280L, 120L));
    EXPECT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(std::tuple(WindowText(about->lblTitle()), WindowText(ok), about->cmdOK.Skin(), about->cmdOK.FontName()),
              std::tuple(std::wstring(L"ZEV Config"), std::wstring(L"Aceptar"), 0, std::wstring(L"Verdana")));
    PumpMessages(100);
    EXPECT_EQ(std::pair(ScreenPixel(hwnd, 100, 112), ScreenPixel(hwnd, 100, 113)),
              std::pair(RGB(128, 128, 128), RGB(255, 255, 255)))
        << "the etched separator at 1680 twips";
    SaveScreenshot(hwnd, L"about");

    principal.Toolbar1_ButtonClick(L"Boton4");
    EXPECT_EQ(About::Instance()->Hwnd(), hwnd) << "asking again brings the same window";
    EXPECT_EQ(std::pair(FindWindowW(nullptr, L"Acerca de ZEV Config"),
                        FindWindowExW(nullptr, hwnd, nullptr, L"Acerca de ZEV Config")),
              std::pair(hwnd, HWND{}))
        << "and no second one, above or below it";
    SendMessageW(ok, BM_CLICK, 0, 0);
    EXPECT_EQ(std::pair(About::Instance(), IsWindow(hwnd)), std::pair(static_cast<About*>(nullptr), FALSE));
    principal.Toolbar1_ButtonClick(L"Boton4");
    ASSERT_NE(About::Instance(), nullptr) << "created afresh";
    About::CloseInstance();
}
