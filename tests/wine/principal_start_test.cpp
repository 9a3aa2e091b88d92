// The main window as it starts: layout, texts, the start state, the running clock, and start-up ending
// cleanly when the toolbar's skin picture cannot be read or the window cannot be built.
#include "console/clock_text.h"
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string_view>

using namespace testsupport;

namespace {

LRESULT CALLBACK RefuseStatusBar(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t cls[64] = {};
    if (code == HCBT_CREATEWND && GetClassNameW(reinterpret_cast<HWND>(wParam), cls, 64) &&
        std::wstring_view(cls) == statusbar::SkinStatusBar::kClassName)
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

using PrincipalStart = PrincipalSession;

TEST(PrincipalBuild, AWindowThatCannotBeBuiltSaysSoWithNoQuitPendingToCloseTheMessage) {
    // A quit message waiting in the queue would end the message box's own loop before the user saw it.
    console::AppContext app;
    console::Principal principal(app, {.programFolder = {}, .quitOnClose = true});
    std::vector<bool> quitPending;
    const auto previous = win::SetNoticeHandler([&](const win::Notice&) {
        MSG msg;
        quitPending.push_back(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
        return IDOK;
    });
    HHOOK hook = SetWindowsHookExW(WH_CBT, &RefuseStatusBar, nullptr, GetCurrentThreadId());
    EXPECT_FALSE(principal.Open());
    UnhookWindowsHookEx(hook);
    win::SetNoticeHandler(previous);
    EXPECT_EQ(quitPending, std::vector<bool>{false});
}

TEST_F(PrincipalStart, FrameIconLayoutToolbarAndPanelsRoom) {
    HWND hwnd = principal.Hwnd();
    EXPECT_EQ(WindowText(hwnd), L"ZEV Config  -  Vantoro ");
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_STYLE) &
                  (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              WS_CAPTION | WS_SYSMENU);
    EXPECT_TRUE(GetClassLongPtrW(hwnd, GCLP_HICON) && GetClassLongPtrW(hwnd, GCLP_HICONSM)) << "an icon of its own";
    // System colour 19 behind everything, Frame1 included.
    EXPECT_EQ(std::pair(ScreenPixel(hwnd, 484, 300), ScreenPixel(hwnd, 12, 300)),
              std::pair(GetSysColor(COLOR_INACTIVECAPTIONTEXT), GetSysColor(COLOR_INACTIVECAPTIONTEXT)));

    // Twips to pixels at 15 per pixel (client size and fonts: the dpi change test).
    const std::pair<HWND, RECT> places[] = {{principal.Frame1(), {8, 48, 481, 481}},
                                            {principal.txtConsole(), {16, 64, 473, 473}},
                                            {principal.StatusBar1().Hwnd(), {0, 521, 488, 538}},
                                            {principal.Toolbar().Hwnd(), {0, 0, 488, 56}},
                                            {principal.Command1(0), {8, 488, 121, 513}}};
    for (const auto& [control, at] : places)
        EXPECT_EQ(RectIn(control, hwnd), at) << Narrow(WindowText(control));
    for (HWND control : {principal.txtConsole(), principal.Command1(0)}) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
        EXPECT_STREQ(font.lfFaceName, L"Courier New");
    }

    HWND toolbar = principal.Toolbar().ToolbarWindow();
    ASSERT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 4);
    const wchar_t* tools[4] = {L"Dispositivos", L"Desconectar", L"Borrar     ", L"Acerca de  "};
    for (int i = 0; i < 4; ++i) {
        TBBUTTON b{};
        SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
        wchar_t text[64] = {};
        SendMessageW(toolbar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(b.idCommand), reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::pair(b.iBitmap, std::wstring(text)), std::pair(i, std::wstring(tools[i])));
    }
    SaveScreenshot(hwnd, L"principal_start");

    // The widest date and time fit their panels: two-digit day, month and hour, and the English afternoon.
    for (const auto& [panel, text] : {std::pair{2, L"28/12/2026"}, std::pair{3, L"10:58:58 PM"}}) {
        principal.StatusBar1().ChangeTextPanel(text, panel);
        ExpectFits(principal.StatusBar1().PanelLabel(panel));
    }
}

TEST_F(PrincipalStart, EveryControlsStartStateAndTheRunningClock) {
    const std::wstring timeAtStart = Panel(3);
    EXPECT_EQ(std::pair(principal.ConsoleText(), principal.ConsoleSelStart()), std::pair(std::wstring(L">"), 1));
    EXPECT_EQ(GetWindowLongPtrW(principal.txtConsole(), GWL_STYLE) & (ES_MULTILINE | ES_READONLY | WS_VSCROLL),
              ES_MULTILINE | ES_READONLY | WS_VSCROLL);
    principal.Toolbar1_ButtonClick(L"Boton2"); // a disconnect before any connect changes nothing
    ExpectControls(false, /*consoleEnabled=*/false);
    EXPECT_FALSE(principal.TimerRxEnabled());
    EXPECT_EQ(principal.SkinPath(), ExeFolder() + L"imagenes\\Skin_VBNET.bmp");
    EXPECT_TRUE(notices.notices.empty());
    // Nothing touches the driver before a connection, not even a click on a disabled quick command
    // with a link open (Wine still notifies for a disabled button).
    ASSERT_TRUE(app.link.OpenLink(kZev));
    SendMessageW(principal.Command1(3), BM_CLICK, 0, 0);
    // The long time format has seconds: TimerHora rewrites the time panel within a second or so.
    std::wstring before, after = console::LongTimeText(console::LocalNow());
    ASSERT_TRUE(PumpUntil(
        [&] {
            before = std::exchange(after, console::LongTimeText(console::LocalNow()));
            return Panel(3) != timeAtStart;
        },
        2500));
    EXPECT_TRUE(Panel(3) == before || Panel(3) == after) << Narrow(Panel(3));
    EXPECT_EQ(sim.Calls("FT_GetQueueStatus") + sim.Calls("FT_Write"), 0u);
}

// Whether a file is a usable bitmap, and why not, is the bitmap reader's (tested natively); here a
// failure stops start-up with the file and the reason, and leaves no window.
TEST(PrincipalSkinFile, StartUpStopsWithTheFileAndTheReasonAndLeavesNoWindow) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("zev_principal_" + std::to_string(GetCurrentProcessId()));
    const fs::path skin = folder / "imagenes" / "Skin_VBNET.bmp";
    fs::remove_all(folder);
    fs::create_directories(skin.parent_path());
    const std::pair<std::vector<std::uint8_t>, const wchar_t*> cases[] = {
        {{'n', 'o', ' ', 'b', 'm', 'p'}, L"no es un mapa de bits válido"},
        {bmp::Encode(bmp::Raster(216, 23)), nullptr}}; // loads, also from a folder with a trailing backslash
    for (const auto& [file, reason] : cases) {
        std::ofstream(skin, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        NoticeRecorder notices;
        SimDriver sim;
        console::AppContext app;
        console::Principal principal(app, {.programFolder = folder.wstring() + (reason ? L"" : L"\\")});
        ASSERT_EQ(principal.Open(), !reason);
        ASSERT_EQ(std::pair(principal.SkinPath(), notices.notices.size()),
                  std::pair(skin.wstring(), std::size_t(reason != nullptr)));
        if (!reason)
            continue; // the window goes with the object
        EXPECT_FALSE(principal.Hwnd() || console::Principal::Instance() || FindWindowW(L"ZevPrincipal", nullptr))
            << "no half-built window";
        const win::Notice& n = notices.notices[0];
        EXPECT_EQ(std::tuple(n.title, n.flags & MB_ICONERROR, n.text.find(skin.wstring()) != std::wstring::npos,
                             n.text.find(reason) != std::wstring::npos),
                  std::tuple(std::wstring(L"ZEV Config"), UINT(MB_ICONERROR), true, true))
            << "names the file and says why: " << Narrow(n.text);
    }
    fs::remove_all(folder);
}
