// The windows on a display at 144 dpi (this test runs in a prefix shown at that scale): each is 1.5
// times its 96-dpi size, no text is cut by its control (nor the widest date and time of Spain's format;
// the United States' is the main window's clock test), pictures and icons come at the matching size,
// and the toolbar's stretched frames keep the skin's transparent colour out. Leaves screenshots for the
// README's side-by-side pictures.
#include "controls/host/font_win.h"
#include "resources/gen/console_art.h"
#include "tests/wine/support/principal_session.h"
#include "win/dpi.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testsupport;

namespace {

constexpr int kDpi = 144;

void ExpectScaled(HWND hwnd, SIZE at96) {
    RECT size{};
    GetClientRect(hwnd, &size);
    EXPECT_NEAR(size.right, at96.cx * 1.5, 2) << Narrow(WindowText(hwnd));
    EXPECT_NEAR(size.bottom, at96.cy * 1.5, 2) << Narrow(WindowText(hwnd));
}

using Scale144 = PrincipalSession;

} // namespace

TEST_F(Scale144, MainWindowFinderAndAboutAreOneAndAHalfTimesLargerWithNoTextCutNorMagentaFringe) {
    ASSERT_EQ(win::DpiOf(principal.Hwnd()), kDpi) << "the prefix is not shown at 144 dpi";
    ASSERT_EQ(principal.Dpi(), kDpi);

    // Main window: client area, quick commands, toolbar texts beside their images, the clock's panels.
    ExpectScaled(principal.Hwnd(), {488, 538});
    for (int i = 0; i < 4; ++i)
        ExpectFits(principal.Command1(i), 4, 2);
    HWND toolbar = principal.Toolbar().ToolbarWindow();
    win::WindowDc dc(toolbar);
    win::SelectGuard font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(toolbar, WM_GETFONT, 0, 0)));
    for (int i = 0; i < 4; ++i) {
        const wchar_t* caption = console::kToolButtons[i].caption;
        RECT item{};
        SIZE text{};
        SendMessageW(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        GetTextExtentPoint32W(dc.Get(), caption, static_cast<int>(wcslen(caption)), &text);
        EXPECT_LE(48 + text.cx, item.right - item.left) << Narrow(caption);
    }
    SaveScreenshot(principal.Hwnd(), L"principal_start_144");
    ExpectWidestClockFits(principal.StatusBar1());
    // A real pointer makes the button hot, then it is pressed: each frame drawn from its skin tile (the top
    // edge's colour exactly), and no pixel a blend of the tile's transparent magenta, which would show as a
    // pink fringe (red and blue both 60 above green: no colour of the skin's own).
    RECT first{};
    SendMessageW(toolbar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    POINT over{first.left + 4, first.top + 4};
    ClientToScreen(toolbar, &over);
    SetCursorPos(over.x, over.y);
    const auto tinted = [](COLORREF c) {
        return GetRValue(c) >= GetGValue(c) + 60 && GetBValue(c) >= GetGValue(c) + 60;
    };
    for (const BYTE state : {TBSTATE_ENABLED, TBSTATE_ENABLED | TBSTATE_PRESSED}) {
        SCOPED_TRACE(int{state});
        SendMessageW(toolbar, TB_SETSTATE, static_cast<WPARAM>(console::Toolbar1::CommandOf(1)), MAKELPARAM(state, 0));
        // The middle of the top edge of tile 0 (hot) or 1 (pressed), each 15 pixels wide.
        const gen::Rgb edge = gen::ToolbarSkin().At(state & TBSTATE_PRESSED ? 22 : 7, 0);
        const POINT top{(first.left + first.right) / 2, first.top};
        EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(toolbar, top.x, top.y) == RGB(edge.r, edge.g, edge.b); }));
        EXPECT_EQ(std::ranges::count_if(Shot(toolbar).px, tinted), 0);
    }
    SaveScreenshot(principal.Hwnd(), L"principal_toolbar_pressed_144");

    // Each dialog alone, so its screenshot shows it whole.
    finder::Dispositivos* f = console::OpenFinder(app, principal);
    ASSERT_TRUE(f);
    ExpectScaled(f->Hwnd(), {340, 207});
    EXPECT_EQ(IconSizes(f->Hwnd()), std::pair(48, 24));
    // A group box's caption sits a little in from its left edge.
    ExpectFits(f->Frame1(), 2 * win::ScaleToDpi(8, kDpi));
    const auto expectCaptionFits = [](skinbutton::SkinButton& b) {
        const win::Font font = host::CreateFontFromDesc(b.Font(), kDpi);
        ExpectFits(b.Hwnd(), 2 * win::ScaleToDpi(b.CaptionMargin(), kDpi), 4, font.Get());
    };
    expectCaptionFits(f->btnConectar);
    expectCaptionFits(f->btnCancelar);
    SaveScreenshot(f->Hwnd(), L"finder_144");
    finder::Dispositivos::CloseInstance();

    console::About* about = console::About::Show();
    ASSERT_TRUE(about);
    ExpectScaled(about->Hwnd(), {387, 204});
    ExpectFits(about->lblTitle());
    ExpectFits(about->lblDescription());
    expectCaptionFits(about->cmdOK);
    HBITMAP logo = reinterpret_cast<HBITMAP>(SendMessageW(about->picIcon(), STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(logo, sizeof(info), &info));
    EXPECT_EQ((std::pair{info.bmWidth, info.bmHeight}), (std::pair{296L, 116L})) << "the logo at 150 %";
    SaveScreenshot(about->Hwnd(), L"about_144");
}
