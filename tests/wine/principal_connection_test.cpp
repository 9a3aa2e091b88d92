// Connecting, disconnecting, clearing and closing the main window against the simulated device,
// and the mends: a failed write and a vanished device show the disconnected state.
#include "console/principal.h"
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

class PrincipalConnection : public PrincipalSession {
protected:
    void ExpectConnectedControls() {
        EXPECT_FALSE(ToolEnabled(1)) << "find";
        EXPECT_TRUE(ToolEnabled(2)) << "disconnect";
        EXPECT_TRUE(ToolEnabled(3)) << "clear";
        EXPECT_TRUE(ToolEnabled(4)) << "about";
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(CommandEnabled(i)) << i;
        EXPECT_TRUE(principal.ConsoleEnabled());
        EXPECT_EQ(Panel(1), std::wstring(L"Conectado con ") + kItem);
    }
    // The third column of the state table: after a disconnect.
    void ExpectDisconnectedControls() {
        EXPECT_TRUE(ToolEnabled(1)) << "find";
        EXPECT_TRUE(ToolEnabled(2)) << "disconnect";
        EXPECT_FALSE(ToolEnabled(3)) << "clear";
        EXPECT_TRUE(ToolEnabled(4)) << "about";
        for (int i = 0; i < 4; ++i)
            EXPECT_FALSE(CommandEnabled(i)) << i;
        EXPECT_TRUE(principal.ConsoleEnabled()) << "the console stays enabled";
        EXPECT_EQ(Panel(1), L"Desconectado");
    }
};

} // namespace

TEST_F(PrincipalConnection, ConnectSendsListAndTheReplyAppearsThroughTheTimer) {
    Connect(/*runTimer=*/true);
    EXPECT_EQ(Written(), "LIST\r") << "LIST goes out at once, without a click";
    EXPECT_EQ(GetFocus(), principal.txtConsole());
    EXPECT_TRUE(principal.TimerRxEnabled());
    ExpectConnectedControls();
    // The timer alone brings the echo, the reply and the new prompt.
    ASSERT_TRUE(PumpUntil(
        [&] {
            const std::wstring t = principal.ConsoleText();
            return t.find(L"puerto=23") != std::wstring::npos && t.back() == L'>';
        },
        3000))
        << Narrow(principal.ConsoleText());
    EXPECT_EQ(principal.ConsoleText().rfind(L">LIST\r\nConfiguracion guardada:\r\n", 0), 0u);
    EXPECT_EQ(principal.ConsoleSelStart(), static_cast<int>(principal.ConsoleText().size()));
}

TEST_F(PrincipalConnection, HelpExchangeLeavesAScreenshot) {
    Connect(true);
    ASSERT_TRUE(WaitForReply(L"puerto=23"));
    principal.Command1_Click(3);
    ASSERT_TRUE(WaitForReply(L"HELP    esta ayuda")) << Narrow(principal.ConsoleText());
    EXPECT_EQ(Written(), "LIST\rHELP\r");
    const std::wstring text = principal.ConsoleText();
    EXPECT_NE(text.find(L">HELP\r\nComandos disponibles:\r\n"), std::wstring::npos);
    SaveScreenshot(principal.Hwnd(), L"principal_help");
}

TEST_F(PrincipalConnection, ClearReplacesTheTextAndSendsNothing) {
    Connect();
    ASSERT_TRUE(WaitForReply(L"puerto=23"));
    const unsigned long writes = sim.Calls("FT_Write");
    principal.Toolbar1_ButtonClick(L"Boton3");
    EXPECT_EQ(principal.ConsoleText(), L">");
    EXPECT_EQ(principal.ConsoleSelStart(), 1);
    EXPECT_EQ(sim.Calls("FT_Write"), writes);
    EXPECT_EQ(Written(), "LIST\r");
    // A mouse click on the toolbar's third button does the same.
    principal.Command1_Click(0);
    ASSERT_TRUE(WaitForReply(L"redes encontradas"));
    HWND toolbar = principal.Toolbar().ToolbarWindow();
    RECT item{};
    ASSERT_TRUE(SendMessageW(toolbar, TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item)));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(toolbar, WM_MOUSEMOVE, 0, at);
    SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(toolbar, WM_LBUTTONUP, 0, at);
    PumpMessages(20);
    EXPECT_EQ(principal.ConsoleText(), L">");
    EXPECT_EQ(Written(), "LIST\rSCAN\r");
}

TEST_F(PrincipalConnection, DisconnectTwiceClosesOnceAndKeepsTheConsoleAndPoll) {
    Connect(true);
    ASSERT_TRUE(WaitForReply(L"puerto=23"));
    const std::wstring shown = principal.ConsoleText();
    principal.Toolbar1_ButtonClick(L"Boton2");
    EXPECT_FALSE(sim.IsOpen(kZev));
    EXPECT_EQ(sim.Calls("FT_Close"), 1u);
    ExpectDisconnectedControls();
    EXPECT_EQ(principal.ConsoleText(), shown) << "text kept";
    EXPECT_TRUE(principal.TimerRxEnabled()) << "the poll keeps running";
    principal.Toolbar1_ButtonClick(L"Boton2");
    EXPECT_EQ(sim.Calls("FT_Close"), 1u) << "a closed link is never closed again";
    ExpectDisconnectedControls();
    // The running poll and typing make no driver call on the closed link.
    const unsigned long queries = sim.Calls("FT_GetQueueStatus"), writes = sim.Calls("FT_Write");
    PumpMessages(350);
    TypeChar(L'x');
    principal.Command1_Click(1);
    EXPECT_EQ(sim.Calls("FT_GetQueueStatus"), queries);
    EXPECT_EQ(sim.Calls("FT_Write"), writes);
    // Closing the window after a disconnect closes nothing.
    SendMessageW(principal.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(principal.Hwnd(), nullptr);
    EXPECT_EQ(sim.Calls("FT_Close"), 1u);
}

TEST_F(PrincipalConnection, DisconnectBeforeAnyConnectOnlySwitchesTheControls) {
    principal.Toolbar1_ButtonClick(L"Boton2");
    EXPECT_EQ(sim.Calls("FT_Close"), 0u);
    EXPECT_TRUE(ToolEnabled(1));
    EXPECT_FALSE(ToolEnabled(3));
    EXPECT_FALSE(principal.ConsoleEnabled());
    EXPECT_EQ(Panel(1), L"Desconectado");
}

TEST_F(PrincipalConnection, ConnectingAgainAfterADisconnectWorks) {
    Connect();
    ASSERT_TRUE(WaitForReply(L"puerto=23"));
    principal.Toolbar1_ButtonClick(L"Boton2");
    sim.ClearWritten(kZev);
    Connect();
    EXPECT_EQ(Written(), "LIST\r");
    ExpectConnectedControls();
    ASSERT_TRUE(WaitForReply(L"puerto=23"));
}

TEST_F(PrincipalConnection, ClosingWhileConnectedClosesTheLink) {
    Connect(true);
    ASSERT_TRUE(WaitForReply(L"puerto=23"));
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

TEST_F(PrincipalConnection, ClosingWithoutAConnectionTouchesNoDriver) {
    // Closing before any connection makes no driver call. The close looks only at the console:
    // a link the finder opened but had not yet shown is left to it.
    SendMessageW(principal.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(sim.Calls("FT_Close"), 0u);
    console::Principal second(app);
    ASSERT_TRUE(second.Open());
    ASSERT_TRUE(app.link.OpenLink(kZev));
    SendMessageW(second.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(sim.Calls("FT_Close"), 0u);
    app.link.CloseLink();
}

TEST_F(PrincipalConnection, AFailedWriteClosesTheLinkAndShowsTheDisconnectedState) {
    Connect();
    ASSERT_TRUE(WaitForReply(L"puerto=23"));
    sim.Fail("FT_Write", d2xx::FT_IO_ERROR, 1, 1);
    principal.Command1_Click(1);
    EXPECT_FALSE(sim.IsOpen(kZev));
    EXPECT_EQ(sim.Calls("FT_Close"), 1u);
    ExpectDisconnectedControls();
    EXPECT_EQ(GetFocus(), principal.txtConsole()) << "the console still gets the focus";
    // From now on nothing reaches the driver, and a disconnect closes nothing more.
    const unsigned long writes = sim.Calls("FT_Write");
    TypeChar(L'a');
    principal.Command1_Click(0);
    principal.Toolbar1_ButtonClick(L"Boton2");
    principal.TimerRx_Timer();
    EXPECT_EQ(sim.Calls("FT_Write"), writes);
    EXPECT_EQ(sim.Calls("FT_Close"), 1u);
    EXPECT_TRUE(notices.notices.empty()) << "no message";
}

TEST_F(PrincipalConnection, AFailedKeyWriteDoesTheSame) {
    Connect();
    ASSERT_TRUE(WaitForReply(L"puerto=23"));
    sim.Fail("FT_Write", d2xx::FT_OTHER_ERROR, 1, 1);
    TypeChar(L'q');
    EXPECT_FALSE(sim.IsOpen(kZev));
    ExpectDisconnectedControls();
}

TEST_F(PrincipalConnection, AnUnpluggedDeviceShowsTheDisconnectedState) {
    Connect(true);
    ASSERT_TRUE(WaitForReply(L"puerto=23"));
    const std::wstring shown = principal.ConsoleText();
    ASSERT_TRUE(sim.Unplug(kZev));
    ASSERT_TRUE(PumpUntil([&] { return CommandEnabled(0) == false; }, 2000));
    ExpectDisconnectedControls();
    EXPECT_EQ(sim.Calls("FT_Close"), 1u);
    EXPECT_EQ(principal.ConsoleText(), shown);
    // The poll goes on without touching the driver.
    const unsigned long queries = sim.Calls("FT_GetQueueStatus");
    PumpMessages(300);
    EXPECT_EQ(sim.Calls("FT_GetQueueStatus"), queries);
    // Plugged again, it can be connected again.
    sim.Plug(kZev, SimDriver::kZevDescription);
    Connect();
    ASSERT_TRUE(WaitForReply(L"puerto=23"));
}

TEST_F(PrincipalConnection, QueueQueryFailuresThatLeaveTheDeviceKeepTheLink) {
    Connect();
    ASSERT_TRUE(WaitForReply(L"puerto=23"));
    sim.Fail("FT_GetQueueStatus", d2xx::FT_OTHER_ERROR, 1, 1);
    principal.TimerRx_Timer();
    EXPECT_EQ(app.link.lLastStatus, static_cast<std::int32_t>(d2xx::FT_OTHER_ERROR));
    EXPECT_TRUE(sim.IsOpen(kZev));
    ExpectConnectedControls();
    for (d2xx::FT_STATUS gone : {d2xx::FT_DEVICE_NOT_FOUND, d2xx::FT_DEVICE_NOT_OPENED, d2xx::FT_INVALID_HANDLE}) {
        sim.Fail("FT_GetQueueStatus", gone, 1, 1);
        principal.TimerRx_Timer();
        EXPECT_FALSE(sim.IsOpen(kZev)) << gone;
        ExpectDisconnectedControls();
        Connect();
        ASSERT_TRUE(WaitForReply(L"puerto=23"));
    }
}

TEST_F(PrincipalConnection, ToolbarKeysMatchExactly) {
    int finder = 0, about = 0;
    principal.ShowFinder = [&] { ++finder; };
    principal.ShowAbout = [&] { ++about; };
    Connect();
    ASSERT_TRUE(WaitForReply(L"puerto=23"));
    const std::wstring shown = principal.ConsoleText();
    for (const wchar_t* key : {L"boton2", L"BOTON3", L"Boton5", L"Boton", L"", L"Boton2 ", L"boton1", L"boton4"})
        principal.Toolbar1_ButtonClick(key);
    EXPECT_TRUE(sim.IsOpen(kZev));
    EXPECT_EQ(principal.ConsoleText(), shown);
    EXPECT_EQ(finder + about, 0);
    ExpectConnectedControls();
    principal.Toolbar1_ButtonClick(L"Boton1");
    principal.Toolbar1_ButtonClick(L"Boton4");
    EXPECT_EQ(finder, 1);
    EXPECT_EQ(about, 1);
}
