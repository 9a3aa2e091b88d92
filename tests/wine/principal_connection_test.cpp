// Connected, disconnected, cleared and closed against the simulated device, and the mends: a failed
// write and a vanished device show the disconnected state.
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

using namespace testsupport;

using PrincipalConnection = PrincipalSession;

TEST_F(PrincipalConnection, TheTimerBringsRepliesAndDisconnectingTwiceClosesOnce) {
    Connect();
    // The timer alone brings the echo, the reply and the new prompt.
    principal.Command1_Click(3);
    ASSERT_TRUE(PumpUntil([&] {
        const std::wstring t = principal.ConsoleText();
        return t.find(L"HELP    esta ayuda") != std::wstring::npos && t.back() == L'>';
    })) << Narrow(principal.ConsoleText());
    EXPECT_EQ(principal.ConsoleText().rfind(L">LIST\r\nConfiguracion guardada:\r\n", 0), 0u);
    EXPECT_EQ(principal.ConsoleSelStart(), static_cast<int>(principal.ConsoleText().size()));
    SaveScreenshot(principal.Hwnd(), L"principal_help");
    const std::wstring shown = principal.ConsoleText();
    for (int click = 0; click < 2; ++click) {
        principal.Toolbar1_ButtonClick(L"Boton2");
        EXPECT_EQ(sim.Calls("FT_Close"), 1u) << "a closed link is never closed again";
        ExpectControls(false);
        EXPECT_EQ(principal.ConsoleText(), shown) << "text kept";
        EXPECT_TRUE(principal.TimerRxEnabled()) << "the poll keeps running";
    }
    // The running poll, typing and quick commands make no driver call on the closed link; nor does closing.
    const unsigned long calls = sim.Calls("FT_GetQueueStatus") + sim.Calls("FT_Write");
    PumpMessages(350);
    TypeChar(L'x');
    principal.Command1_Click(1);
    SendMessageW(principal.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(principal.Hwnd(), nullptr);
    EXPECT_EQ(sim.Calls("FT_GetQueueStatus") + sim.Calls("FT_Write") + sim.Calls("FT_Close"), calls + 1);
}

TEST_F(PrincipalConnection, WithTheLinkClosedThePollRestsUntilTheNextConnection) {
    Connect();
    principal.Toolbar1_ButtonClick(L"Boton2");
    PumpMessages(250); // the first tick on the closed link lets the timer rest
    int timerMessages = 0;
    for (const DWORD end = GetTickCount() + 600; GetTickCount() < end; Sleep(10)) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            timerMessages += msg.message == WM_TIMER && msg.hwnd == principal.Hwnd();
            DispatchMessageW(&msg);
        }
    }
    EXPECT_LE(timerMessages, 1) << "only the clock may tick in 600 ms";
    EXPECT_TRUE(principal.TimerRxEnabled());
    SendMessageW(OpenFinder()->btnConectar.Hwnd(), BM_CLICK, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return principal.ConsoleText().find(L"puerto=23") != std::wstring::npos; }))
        << "the timer runs again and brings the reply";
}

TEST_F(PrincipalConnection, ClosingLooksOnlyAtTheConsoleAndClosesTheLinkAfterTheUnloadHook) {
    principal.Toolbar1_ButtonClick(L"Boton2");
    ExpectControls(false, /*consoleEnabled=*/false);
    // A link the finder opened but had not yet shown is left to it.
    ASSERT_TRUE(app.link.OpenLink(kZev));
    SendMessageW(principal.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(sim.Calls("FT_Close"), 0u);
    app.link.CloseLink();

    console::Principal second(app);
    ASSERT_TRUE(second.Open());
    second.ShowFinder = [this] { finder::Dispositivos::Show(app); };
    second.Toolbar1_ButtonClick(L"Boton1");
    PumpMessages(50);
    SendMessageW(finder::Dispositivos::Instance()->btnConectar.Hwnd(), BM_CLICK, 0, 0);
    bool unloaded = false;
    second.Unloading = [&] { unloaded = sim.IsOpen(kZev); };
    SendMessageW(second.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(unloaded) << "the unload hook runs while the link is still open";
    EXPECT_EQ(std::pair(sim.IsOpen(kZev), sim.Calls("FT_Close")), std::pair(false, 2ul));
    EXPECT_EQ(console::Principal::Instance(), nullptr);
}

TEST_F(PrincipalConnection, AFailedWriteClosesTheLinkAndShowsTheDisconnectedState) {
    // Through a quick command and through a key; either way the user can connect again.
    for (int way = 0; way < 2; ++way) {
        Connect();
        const unsigned long closes = sim.Calls("FT_Close");
        sim.Fail("FT_Write", way == 0 ? d2xx::FT_IO_ERROR : d2xx::FT_OTHER_ERROR, 1, 1);
        if (way == 0)
            principal.Command1_Click(1);
        else
            TypeChar(L'q');
        EXPECT_EQ(std::pair(sim.IsOpen(kZev), sim.Calls("FT_Close")), std::pair(false, closes + 1)) << way;
        ExpectControls(false);
        EXPECT_EQ(GetFocus(), principal.txtConsole()) << "the console still gets the focus";
        // From now on nothing reaches the driver, and a disconnect closes nothing more.
        const unsigned long writes = sim.Calls("FT_Write");
        TypeChar(L'a');
        principal.Command1_Click(0);
        principal.Toolbar1_ButtonClick(L"Boton2");
        principal.TimerRx_Timer();
        EXPECT_EQ(std::pair(sim.Calls("FT_Write"), sim.Calls("FT_Close")), std::pair(writes, closes + 1));
    }
    EXPECT_TRUE(notices.notices.empty()) << "no message";
}

TEST_F(PrincipalConnection, UnplugShowsTheDisconnectedStateOtherQueryFailuresDoNot) {
    Connect();
    sim.Fail("FT_GetQueueStatus", d2xx::FT_OTHER_ERROR, 1, 1);
    principal.TimerRx_Timer();
    EXPECT_EQ(app.link.lLastStatus, static_cast<std::int32_t>(d2xx::FT_OTHER_ERROR));
    ExpectControls(true);
    const std::wstring shown = principal.ConsoleText();
    ASSERT_TRUE(sim.Unplug(kZev));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowEnabled(principal.Command1(0)); }, 2000)) << "the timer finds it gone";
    ExpectControls(false);
    EXPECT_EQ(sim.Calls("FT_Close"), 1u);
    EXPECT_EQ(principal.ConsoleText(), shown);
    sim.Plug(kZev, SimDriver::kZevDescription);
    Connect();
    ExpectControls(true);
}

TEST_F(PrincipalConnection, ToolbarKeysMatchExactlyAndClearByKeyOrMouseSendsNothing) {
    int finder = 0, about = 0;
    Connect();
    principal.ShowFinder = [&] { ++finder; };
    principal.ShowAbout = [&] { ++about; };
    const std::wstring shown = principal.ConsoleText();
    for (const wchar_t* key : {L"boton2", L"BOTON3", L"Boton5", L"Boton", L"", L"Boton2 ", L"boton1", L"boton4"})
        principal.Toolbar1_ButtonClick(key);
    EXPECT_EQ(principal.ConsoleText(), shown);
    EXPECT_EQ(finder + about, 0);
    ExpectControls(true);
    principal.Toolbar1_ButtonClick(L"Boton1");
    principal.Toolbar1_ButtonClick(L"Boton4");
    EXPECT_EQ(std::pair(finder, about), std::pair(1, 1));

    principal.Toolbar1_ButtonClick(L"Boton3");
    EXPECT_EQ(principal.ConsoleText(), L">");
    EXPECT_EQ(principal.ConsoleSelStart(), 1);
    principal.Command1_Click(0);
    ASSERT_TRUE(WaitForReply(L"redes encontradas"));
    HWND toolbar = principal.Toolbar().ToolbarWindow();
    RECT item{};
    ASSERT_TRUE(SendMessageW(toolbar, TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item)));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    for (UINT msg : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP})
        SendMessageW(toolbar, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, at);
    PumpMessages(20);
    EXPECT_EQ(principal.ConsoleText(), L">");
    EXPECT_EQ(Written(), "LIST\rSCAN\r") << "clearing sends nothing";
}
