// A window moved to a screen of another scale (WM_DPICHANGED): it takes the suggested rectangle and
// lays itself out again with new fonts, panel widths and pictures; moved back, it is exactly as before.
#include "console/about.h"
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

#include <array>

using namespace testsupport;

namespace {

// The window's size with its client area scaled to dpi, sent as Windows sends it.
void MoveToDpi(HWND hwnd, SIZE client96, int dpi) {
    RECT r{0, 0, MulDiv(client96.cx, dpi, 96), MulDiv(client96.cy, dpi, 96)};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    OffsetRect(&r, 10 - r.left, 10 - r.top);
    SendMessageW(hwnd, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
    PumpMessages(20);
}

LONG FontHeight(HWND control) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return lf.lfHeight;
}

// Client size, console and quick-command fonts, a quick command's place, panel widths, toolbar images.
std::array<LONG, 10> MainLayout(console::Principal& p) {
    RECT client{}, command = RectIn(p.Command1(3), p.Hwnd());
    GetClientRect(p.Hwnd(), &client);
    int images = 0, unused = 0;
    ImageList_GetIconSize(p.Toolbar().ImageList1(), &images, &unused);
    const auto& panels = p.StatusBar1().Panels();
    return {client.right,  client.bottom,  FontHeight(p.txtConsole()), FontHeight(p.Command1(0)), command.left,
            command.right, command.bottom, panels.At(1).Width,         panels.At(3).Width,        images};
}

} // namespace

TEST_F(PrincipalSession, MainWindowAndAboutFollowAMoveToAScreenAt144DpiAndBack) {
    const auto at96 = MainLayout(principal);
    EXPECT_EQ(at96, (std::array<LONG, 10>{488, 538, -11, -13, 368, 481, 513, 350, 80, 32}));
    MoveToDpi(principal.Hwnd(), {488, 538}, 144);
    EXPECT_EQ(MainLayout(principal), (std::array<LONG, 10>{732, 807, -17, -20, 552, 722, 770, 525, 120, 48}));
    EXPECT_EQ(std::pair(principal.StatusBar1().Panels().Count(), Panel(1)), std::pair(3, std::wstring(L"Desconectado")))
        << "the panels keep their texts";
    MoveToDpi(principal.Hwnd(), {488, 538}, 96);
    EXPECT_EQ(MainLayout(principal), at96);

    console::About* about = console::About::Show();
    ASSERT_NE(about, nullptr);
    MoveToDpi(about->Hwnd(), {387, 204}, 144);
    EXPECT_EQ(RectIn(about->cmdOK.Hwnd(), about->Hwnd()), (RECT{420, 180, 554, 218}));
    EXPECT_EQ(std::pair(FontHeight(about->lblTitle()), about->cmdOK.Dpi()), std::pair(-17L, 144));
    console::About::CloseInstance();
}
