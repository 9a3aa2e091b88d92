// The About window: layout, one instance, closed by its button, the main window usable meanwhile.
#include "console/about.h"
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

using namespace testsupport;
using console::About;

namespace {

class AboutWindow : public PrincipalSession {
protected:
    void SetUp() override {
        principal.ShowAbout = [] { About::Show(); };
        PrincipalSession::SetUp();
    }
    void TearDown() override {
        About::CloseInstance();
        PrincipalSession::TearDown();
    }
    RECT ChildRect(HWND child) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, About::Instance()->Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
};

} // namespace

TEST_F(AboutWindow, IsLaidOutAsDesigned) {
    principal.Toolbar1_ButtonClick(L"Boton4");
    About* about = About::Instance();
    ASSERT_NE(about, nullptr);
    HWND hwnd = about->Hwnd();
    EXPECT_EQ(WindowText(hwnd), L"Acerca de ZEV Config");
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 387);
    EXPECT_EQ(client.bottom, 204);
    EXPECT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(WindowText(about->lblTitle()), L"ZEV Config");
    EXPECT_NE(WindowText(about->lblDescription()).find(L"Vantoro"), std::wstring::npos);
    EXPECT_EQ(WindowText(about->cmdOK.Hwnd()), L"Aceptar");
    EXPECT_EQ(about->cmdOK.Skin(), 0);
    EXPECT_EQ(about->cmdOK.FontName(), L"Verdana");
    const RECT ok = ChildRect(about->cmdOK.Hwnd());
    EXPECT_EQ(ok.left, 280);
    EXPECT_EQ(ok.top, 120);
    // The logo is the generated 197 x 77 picture inside the picture box.
    HBITMAP logo = reinterpret_cast<HBITMAP>(SendMessageW(about->picIcon(), STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(logo, sizeof(info), &info));
    EXPECT_EQ(info.bmWidth, 197);
    EXPECT_EQ(info.bmHeight, 77);
    // The etched separator: grey over white at 1680 twips.
    PumpMessages(100);
    EXPECT_EQ(ScreenPixel(hwnd, 100, 112), RGB(128, 128, 128));
    EXPECT_EQ(ScreenPixel(hwnd, 100, 113), RGB(255, 255, 255));
    SaveScreenshot(hwnd, L"about");
}

TEST_F(AboutWindow, AskingAgainBringsTheSameWindowAndOkClosesIt) {
    principal.Toolbar1_ButtonClick(L"Boton4");
    HWND first = About::Instance()->Hwnd();
    principal.Toolbar1_ButtonClick(L"Boton4");
    EXPECT_EQ(About::Instance()->Hwnd(), first);
    int count = 0;
    EnumWindows([](HWND h, LPARAM lp) -> BOOL {
        if (WindowText(h) == L"Acerca de ZEV Config")
            ++*reinterpret_cast<int*>(lp);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&count));
    EXPECT_EQ(count, 1);
    // The main window stays usable meanwhile.
    EXPECT_TRUE(IsWindowEnabled(principal.Hwnd()));
    principal.Toolbar1_ButtonClick(L"Boton3");
    SendMessageW(About::Instance()->cmdOK.Hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(About::Instance(), nullptr);
    EXPECT_FALSE(IsWindow(first));
    principal.Toolbar1_ButtonClick(L"Boton4");
    ASSERT_NE(About::Instance(), nullptr) << "created afresh";
    EXPECT_NE(About::Instance()->Hwnd(), nullptr);
}
