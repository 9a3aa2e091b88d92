// Connected, disconnected, cleared and closed against the simulated device, and the mends: a failed
// write and a vanished device show the disconnected state.
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

using namespace testsupport;

using PrincipalConnection = PrincipalSession;

TEST_F(PrincipalConnection, ClosingLooksOnlyAtTheConsoleAndClosesTheLinkAfterTheUnloadHook) {
    // A link the finder opened but had not yet shown is left to it.
    ASSERT_TRUE(app.link.OpenLink(kZev));
    SendMessageW(principal.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(sim.Calls("FT_Close"), 0u);
    app.link.CloseLink();

    ASSERT_TRUE(principal.Open());
    Connect();
    bool unloaded = false;
    principal.Unloading = [&] { unloaded = sim.IsOpen(kZev); };
    SendMessageW(principal.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(unloaded) << "the unload hook runs while the link is still open";
    EXPECT_EQ(std::tuple(sim.IsOpen(kZev), sim.Calls("FT_Close"), console::Principal::Instance()),
              std::tuple(false, 2ul, static_cast<console::Principal*>(nullptr)));
}

// A disconnect, a failed write (keys share the quick commands' sending path) and an unplug each close
// the link once and keep the console; then the user connects again.
TEST_F(PrincipalConnection, ADisconnectAFailedWriteOrAnUnplugClosesTheLinkOnceAndKeepsTheConsole) {
    for (int way = 0; way < 3; ++way) {
        Connect();
        const unsigned long closes = sim.Calls("FT_Close");
        if (way == 0) { // a reply shown first, so that keeping the console's text means something
            principal.Command1_Click(3);
            ASSERT_TRUE(WaitForReply(L"HELP    esta ayuda"));
            SaveScreenshot(principal.Hwnd(), L"principal_help");
        }
        const std::wstring shown = principal.ConsoleText();
        if (way == 0) {
            principal.Toolbar1_ButtonClick(L"Boton2");
        } else if (way == 1) {
            sim.Fail("FT_Write", d2xx::FT_IO_ERROR, 1, 1);
            principal.Command1_Click(1);
        } else {
            sim.Fail("FT_GetQueueStatus", d2xx::FT_OTHER_ERROR, 1, 1); // not a sign of a vanished device
            principal.TimerRx_Timer();
            ExpectControls(true);
            ASSERT_TRUE(sim.Unplug(kZev));
            ASSERT_TRUE(PumpUntil([&] { return !IsWindowEnabled(principal.Command1(0)); }, 2000));
            sim.Plug(kZev, SimDriver::kZevDescription);
        }
        EXPECT_EQ(std::pair(sim.IsOpen(kZev), sim.Calls("FT_Close")), std::pair(false, closes + 1)) << way;
        ExpectControls(false);
        EXPECT_EQ(std::tuple(principal.ConsoleText(), principal.TimerRxEnabled(), GetFocus()),
                  std::tuple(shown, true, principal.txtConsole()))
            << way << ": the console keeps its text and the focus; the poll runs on for the next connection";
        // From now on nothing reaches the driver, and a disconnect or closing closes nothing more.
        const unsigned long calls = sim.Calls("FT_GetQueueStatus") + sim.Calls("FT_Write");
        PumpMessages(way == 0 ? 350 : 0);
        TypeChar(L'a');
        principal.Command1_Click(0);
        principal.Toolbar1_ButtonClick(L"Boton2");
        principal.TimerRx_Timer();
        EXPECT_EQ(std::pair(sim.Calls("FT_GetQueueStatus") + sim.Calls("FT_Write"), sim.Calls("FT_Close")),
                  std::pair(calls, closes + 1));
    }
    SendMessageW(principal.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(std::pair(principal.Hwnd(), sim.Calls("FT_Close")), std::pair(HWND{}, 3ul)) << "nothing more to close";
    EXPECT_TRUE(notices.notices.empty()) << "no message";
}

TEST_F(PrincipalConnection, ToolbarKeysMatchExactlyAndClearSendsNothing) {
    int finder = 0, about = 0;
    Connect();
    principal.ShowFinder = [&] { ++finder; };
    principal.ShowAbout = [&] { ++about; };
    const std::wstring shown = principal.ConsoleText();
    for (const wchar_t* key : {L"boton2", L"BOTON3", L"Boton5", L"Boton2 ", L"boton1", L"boton4"})
        principal.Toolbar1_ButtonClick(key);
    EXPECT_EQ(std::tuple(principal.ConsoleText(), finder, about), std::tuple(shown, 0, 0));
    ExpectControls(true);
    principal.Toolbar1_ButtonClick(L"Boton1");
    principal.Toolbar1_ButtonClick(L"Boton4");
    EXPECT_EQ(std::pair(finder, about), std::pair(1, 1));

    // Clear empties the console to its prompt and sends nothing (a real click on a tool reaches its
    // key: the end-to-end test).
    principal.Command1_Click(0);
    ASSERT_TRUE(WaitForReply(L"redes encontradas"));
    principal.Toolbar1_ButtonClick(L"Boton3");
    EXPECT_EQ(std::pair(principal.ConsoleText(), principal.ConsoleSelStart()), std::pair(std::wstring(L">"), 1));
    EXPECT_EQ(Written(), "LIST\rSCAN\r");
}
