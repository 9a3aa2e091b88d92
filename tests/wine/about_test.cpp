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
    HWND hwnd = about->Hwnd();
    EXPECT_EQ(WindowText(hwnd), L"Acerca de ZEV Config");
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(387L, 204L));
    EXPECT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(WindowText(about->lblTitle()), L"ZEV Config");
    EXPECT_NE(WindowText(about->lblDescription()).find(L"Vantoro"), std::wstring::npos);
    EXPECT_EQ(WindowText(about->cmdOK.Hwnd()), L"Aceptar");
    EXPECT_EQ(std::pair(about->cmdOK.Skin(), about->cmdOK.FontName()), std::pair(0, std::wstring(L"Verdana")));
    EXPECT_EQ(RectIn(about->cmdOK.Hwnd(), hwnd).left, 280);
    EXPECT_EQ(RectIn(about->cmdOK.Hwnd(), hwnd).top, 120);
    BITMAP logo{};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HBITMAP>(SendMessageW(about->picIcon(), STM_GETIMAGE, IMAGE_BITMAP, 0)),
                           sizeof(logo), &logo));
    EXPECT_EQ(std::pair(logo.bmWidth, logo.bmHeight), std::pair(197L, 77L));
    PumpMessages(100);
    EXPECT_EQ(ScreenPixel(hwnd, 100, 112), RGB(128, 128, 128)) << "the etched separator at 1680 twips";
    EXPECT_EQ(ScreenPixel(hwnd, 100, 113), RGB(255, 255, 255));
    SaveScreenshot(hwnd, L"about");

    principal.Toolbar1_ButtonClick(L"Boton4");
    EXPECT_EQ(About::Instance()->Hwnd(), hwnd) << "asking again brings the same window";
    EXPECT_EQ(FindWindowW(nullptr, L"Acerca de ZEV Config"), hwnd) << "and no second one, above it";
    EXPECT_EQ(FindWindowExW(nullptr, hwnd, nullptr, L"Acerca de ZEV Config"), nullptr) << "nor below";
    SendMessageW(about->cmdOK.Hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(About::Instance(), nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
    principal.Toolbar1_ButtonClick(L"Boton4");
    ASSERT_NE(About::Instance(), nullptr) << "created afresh";
    About::CloseInstance();
}
