// The windows on a display at 144 dpi (this test runs in a prefix shown at that scale): each is 1.5
// times its 96-dpi size, no text is cut by its control, and pictures come at the matching size.
// Leaves screenshots for the README's side-by-side pictures.
#include "console/about.h"
#include "controls/host/font_win.h"
#include "finder/dispositivos.h"
#include "tests/wine/support/principal_session.h"
#include "win/dpi.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

constexpr int kDpi = 144;

SIZE ClientSize(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return {r.right, r.bottom};
}

// The room the text needs in the font (each line of it; no wrapping).
SIZE TextNeed(const std::wstring& text, HFONT font) {
    win::WindowDc dc(nullptr);
    win::SelectGuard select(dc.Get(), font);
    RECT r{};
    DrawTextW(dc.Get(), text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX);
    return {r.right, r.bottom};
}

HFONT FontOf(HWND control) {
    return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

// The control shows all of its text: its client area holds the text plus the given margins.
void ExpectFits(HWND control, const std::wstring& text, HFONT font, int marginX, int marginY) {
    const SIZE need = TextNeed(text, font), room = ClientSize(control);
    EXPECT_LE(need.cx + marginX, room.cx) << Narrow(text);
    EXPECT_LE(need.cy + marginY, room.cy) << Narrow(text);
}

void ExpectScaled(HWND hwnd, SIZE at96) {
    const SIZE size = ClientSize(hwnd);
    EXPECT_NEAR(size.cx, at96.cx * 1.5, 2) << Narrow(WindowText(hwnd));
    EXPECT_NEAR(size.cy, at96.cy * 1.5, 2) << Narrow(WindowText(hwnd));
}

class Scale144 : public PrincipalSession {
protected:
    void TearDown() override {
        finder::Dispositivos::CloseInstance();
        console::About::CloseInstance();
        PrincipalSession::TearDown();
    }
};

} // namespace

TEST_F(Scale144, MainWindowFinderAndAboutAreOneAndAHalfTimesLargerWithNoTextCut) {
    ASSERT_EQ(win::DpiOf(principal.Hwnd()), kDpi) << "the prefix is not shown at 144 dpi";
    ASSERT_EQ(principal.Dpi(), kDpi);

    // Main window: client area, quick commands, toolbar images and texts, status panels.
    ExpectScaled(principal.Hwnd(), {488, 538});
    for (int i = 0; i < 4; ++i)
        ExpectFits(principal.Command1(i), WindowText(principal.Command1(i)), FontOf(principal.Command1(i)), 4, 2);
    HWND toolbar = principal.Toolbar().ToolbarWindow();
    int cx = 0, cy = 0;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0)), &cx, &cy);
    EXPECT_EQ((std::pair{cx, cy}), (std::pair{48, 48}));
    for (int i = 0; i < 4; ++i) {
        TBBUTTON b{};
        RECT item{};
        wchar_t text[64] = {};
        SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
        SendMessageW(toolbar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(b.idCommand), reinterpret_cast<LPARAM>(text));
        SendMessageW(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        EXPECT_LE(cx + TextNeed(text, FontOf(toolbar)).cx, item.right - item.left) << Narrow(text);
    }
    for (int i = 1; i <= 3; ++i) {
        HWND label = principal.StatusBar1().PanelLabel(i);
        ExpectFits(label, WindowText(label), FontOf(label), 0, 0);
    }

    SaveScreenshot(principal.Hwnd(), L"principal_start_144");

    // Each dialog alone, so its screenshot shows it whole.
    finder::Dispositivos* f = finder::Dispositivos::Show(app);
    ASSERT_TRUE(f);
    PumpMessages(100);
    ExpectScaled(f->Hwnd(), {340, 207});
    // A group box's caption sits a little in from its left edge.
    ExpectFits(f->Frame1(), WindowText(f->Frame1()), FontOf(f->Frame1()), 2 * win::ScaleToDpi(8, kDpi), 0);
    const auto expectCaptionFits = [](skinbutton::SkinButton& b) {
        const win::Font font = host::CreateFontFromDesc(b.Font(), kDpi);
        ExpectFits(b.Hwnd(), b.Caption(), font.Get(), 2 * win::ScaleToDpi(b.CaptionMargin(), kDpi), 4);
    };
    expectCaptionFits(f->btnConectar);
    expectCaptionFits(f->btnCancelar);
    SaveScreenshot(f->Hwnd(), L"finder_144");
    finder::Dispositivos::CloseInstance();

    console::About* about = console::About::Show();
    ASSERT_TRUE(about);
    PumpMessages(100);
    ExpectScaled(about->Hwnd(), {387, 204});
    for (HWND label : {about->lblTitle(), about->lblDescription()})
        ExpectFits(label, WindowText(label), FontOf(label), 0, 0);
    expectCaptionFits(about->cmdOK);
    HBITMAP logo = reinterpret_cast<HBITMAP>(SendMessageW(about->picIcon(), STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(logo, sizeof(info), &info));
    EXPECT_EQ((std::pair{info.bmWidth, info.bmHeight}), (std::pair{296L, 116L})) << "the logo at 150 %";
    SaveScreenshot(about->Hwnd(), L"about_144");
}
