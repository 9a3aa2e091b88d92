// Connecting, disconnecting, clearing and closing the main window against the simulated device,
// and the mends: a failed write and a vanished device show the disconnected state.
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

using namespace testsupport;

using PrincipalConnection = PrincipalSession;

TEST_F(PrincipalConnection, ConnectSendsListTheTimerBringsRepliesAndHelpLeavesAScreenshot) {
    Connect(/*runTimer=*/true);
    EXPECT_EQ(Written(), "LIST\r") << "LIST goes out at once, without a click";
    EXPECT_EQ(GetFocus(), principal.txtConsole());
    EXPECT_TRUE(principal.TimerRxEnabled());
    ExpectConnected();
    // The timer alone brings the echo, the reply and the new prompt.
    auto shows = [&](const wchar_t* reply) {
        return PumpUntil([&] {
            const std::wstring t = principal.ConsoleText();
            return t.find(reply) != std::wstring::npos && t.back() == L'>';
        });
    };
    ASSERT_TRUE(shows(L"puerto=23")) << Narrow(principal.ConsoleText());
    EXPECT_EQ(principal.ConsoleText().rfind(L">LIST\r\nConfiguracion guardada:\r\n", 0), 0u);
    EXPECT_EQ(principal.ConsoleSelStart(), static_cast<int>(principal.ConsoleText().size()));
    principal.Command1_Click(3);
    ASSERT_TRUE(shows(L"HELP    esta ayuda")) << Narrow(principal.ConsoleText());
    EXPECT_EQ(Written(), "LIST\rHELP\r");
    EXPECT_NE(principal.ConsoleText().find(L">HELP\r\nComandos disponibles:\r\n"), std::wstring::npos);
    SaveScreenshot(principal.Hwnd(), L"principal_help");
}

TEST_F(PrincipalConnection, DisconnectTwiceClosesOnceAndClosingAfterwardsClosesNothing) {
    ConnectAndDrain(true);
    const std::wstring shown = principal.ConsoleText();
    for (int click = 0; click < 2; ++click) {
        principal.Toolbar1_ButtonClick(L"Boton2");
        EXPECT_FALSE(sim.IsOpen(kZev));
        EXPECT_EQ(sim.Calls("FT_Close"), 1u) << "a closed link is never closed again";
        ExpectDisconnected();
        EXPECT_EQ(principal.ConsoleText(), shown) << "text kept";
        EXPECT_TRUE(principal.TimerRxEnabled()) << "the poll keeps running";
    }
    // The running poll and typing make no driver call on the closed link.
    const unsigned long queries = sim.Calls("FT_GetQueueStatus"), writes = sim.Calls("FT_Write");
    PumpMessages(350);
    TypeChar(L'x');
    principal.Command1_Click(1);
    EXPECT_EQ(sim.Calls("FT_GetQueueStatus"), queries);
    EXPECT_EQ(sim.Calls("FT_Write"), writes);
    SendMessageW(principal.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(principal.Hwnd(), nullptr);
    EXPECT_EQ(sim.Calls("FT_Close"), 1u);
}

TEST_F(PrincipalConnection, WithTheLinkClosedThePollRestsUntilTheNextConnection) {
    ConnectAndDrain(true);
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
    Connect(true);
    EXPECT_TRUE(PumpUntil([&] { return principal.ConsoleText().find(L"puerto=23") != std::wstring::npos; }))
        << "the timer runs again and brings the reply";
}

TEST_F(PrincipalConnection, BeforeAnyConnectionDisconnectAndCloseTouchNoDriver) {
    principal.Toolbar1_ButtonClick(L"Boton2");
    ExpectControls(false, /*consoleEnabled=*/false);
    SendMessageW(principal.Hwnd(), WM_CLOSE, 0, 0);
    // The close looks only at the console: a link the finder opened but had not yet shown is
    // left to it.
    console::Principal second(app);
    ASSERT_TRUE(second.Open());
    ASSERT_TRUE(app.link.OpenLink(kZev));
    SendMessageW(second.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(sim.Calls("FT_Close"), 0u);
    app.link.CloseLink();
}

TEST_F(PrincipalConnection, ClosingWhileConnectedClosesTheLinkAfterTheUnloadHook) {
    ConnectAndDrain(true);
    bool unloaded = false;
    principal.Unloading = [&] {
        unloaded = true;
        EXPECT_TRUE(sim.IsOpen(kZev)) << "the unload hook runs before the link closes";
    };
    SendMessageW(principal.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(unloaded);
    EXPECT_EQ(principal.Hwnd(), nullptr);
    EXPECT_FALSE(sim.IsOpen(kZev));
    EXPECT_EQ(sim.Calls("FT_Close"), 1u);
    EXPECT_EQ(console::Principal::Instance(), nullptr);
}

TEST_F(PrincipalConnection, AFailedWriteClosesTheLinkAndShowsTheDisconnectedState) {
    // Through a quick command and through a key; either way the user can connect again.
    for (int way = 0; way < 2; ++way) {
        ConnectAndDrain();
        const unsigned long closes = sim.Calls("FT_Close");
        sim.Fail("FT_Write", way == 0 ? d2xx::FT_IO_ERROR : d2xx::FT_OTHER_ERROR, 1, 1);
        if (way == 0)
            principal.Command1_Click(1);
        else
            TypeChar(L'q');
        EXPECT_FALSE(sim.IsOpen(kZev)) << way;
        EXPECT_EQ(sim.Calls("FT_Close"), closes + 1);
        ExpectDisconnected();
        EXPECT_EQ(GetFocus(), principal.txtConsole()) << "the console still gets the focus";
        // From now on nothing reaches the driver, and a disconnect closes nothing more.
        const unsigned long writes = sim.Calls("FT_Write");
        TypeChar(L'a');
        principal.Command1_Click(0);
        principal.Toolbar1_ButtonClick(L"Boton2");
        principal.TimerRx_Timer();
        EXPECT_EQ(sim.Calls("FT_Write"), writes);
        EXPECT_EQ(sim.Calls("FT_Close"), closes + 1);
    }
    EXPECT_TRUE(notices.notices.empty()) << "no message";
}

TEST_F(PrincipalConnection, UnplugShowsTheDisconnectedStateOtherQueryFailuresDoNot) {
    ConnectAndDrain(true);
    sim.Fail("FT_GetQueueStatus", d2xx::FT_OTHER_ERROR, 1, 1);
    principal.TimerRx_Timer();
    EXPECT_EQ(app.link.lLastStatus, static_cast<std::int32_t>(d2xx::FT_OTHER_ERROR));
    ExpectConnected();
    const std::wstring shown = principal.ConsoleText();
    ASSERT_TRUE(sim.Unplug(kZev));
    ASSERT_TRUE(PumpUntil([&] { return !CommandEnabled(0); }, 2000));
    ExpectDisconnected();
    EXPECT_EQ(sim.Calls("FT_Close"), 1u);
    EXPECT_EQ(principal.ConsoleText(), shown);
    sim.Plug(kZev, SimDriver::kZevDescription);
    ConnectAndDrain();
    ExpectConnected();
}

TEST_F(PrincipalConnection, ToolbarKeysMatchExactlyAndClearByKeyOrMouseSendsNothing) {
    int finder = 0, about = 0;
    principal.ShowFinder = [&] { ++finder; };
    principal.ShowAbout = [&] { ++about; };
    ConnectAndDrain();
    const std::wstring shown = principal.ConsoleText();
    for (const wchar_t* key : {L"boton2", L"BOTON3", L"Boton5", L"Boton", L"", L"Boton2 ", L"boton1", L"boton4"})
        principal.Toolbar1_ButtonClick(key);
    EXPECT_EQ(principal.ConsoleText(), shown);
    EXPECT_EQ(finder + about, 0);
    ExpectConnected();
    principal.Toolbar1_ButtonClick(L"Boton1");
    principal.Toolbar1_ButtonClick(L"Boton4");
    EXPECT_EQ(finder, 1);
    EXPECT_EQ(about, 1);

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
