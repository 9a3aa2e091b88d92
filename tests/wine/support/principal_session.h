// A main window over the simulated driver, for the console tests: opens Principal in its start
// state and runs the connect sequence the device finder runs after opening the link.
#pragma once

#include "console/app_context.h"
#include "console/principal.h"
#include "tests/wine/support/sim_driver.h"
#include "tests/wine/support/window_test.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

namespace testsupport {

// For failure messages: ASCII stays, the rest shows as "?".
inline std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w)
        s += c < 128 ? static_cast<char>(c) : '?';
    return s;
}

class PrincipalSession : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(principal.Open()) << (notices.notices.empty() ? std::string() : Narrow(notices.notices[0].text));
        PumpMessages(20);
    }
    void TearDown() override {
        if (principal.Hwnd())
            DestroyWindow(principal.Hwnd());
        PumpMessages(10);
    }

    static constexpr const char* kZev = SimDriver::kZevSerial;
    static constexpr const wchar_t* kItem = L"ZEV WiFi Server, NºSerie: ZV100001";

    // What the device finder does after opening the link, in its order. The receive timer runs
    // only when asked, so a test can tick the pump itself.
    void Connect(bool runTimer = false) {
        ASSERT_TRUE(app.link.OpenLink(kZev));
        principal.StatusBar1().ChangeTextPanel(std::wstring(L"Conectado con ") + kItem, 1);
        principal.habilitarBotones(true);
        principal.EnableConsole();
        if (runTimer)
            principal.EnableTimerRx();
        principal.ResetConsole(true);
        principal.Command1_Click(2);
    }
    // Connect, then the device's LIST reply drained.
    void ConnectAndDrain(bool runTimer = false) {
        Connect(runTimer);
        ASSERT_TRUE(WaitForReply(L"puerto=23")) << Narrow(principal.ConsoleText());
    }
    // Ticks the receive pump until the console ends with the prompt after the given text.
    bool WaitForReply(const std::wstring& contains, int timeoutMs = 3000) {
        return PumpUntil(
            [&] {
                principal.TimerRx_Timer();
                const std::wstring text = principal.ConsoleText();
                return text.find(contains) != std::wstring::npos && !text.empty() && text.back() == L'>';
            },
            timeoutMs);
    }
    // Ticks the receive pump until the console shows exactly the text.
    bool TickUntilShown(const std::wstring& text) {
        return PumpUntil([&] {
            principal.TimerRx_Timer();
            return principal.ConsoleText() == text;
        });
    }
    void TypeChar(wchar_t c) { SendMessageW(principal.txtConsole(), WM_CHAR, c, 1); }
    std::string Written() const { return sim.Written(kZev); }

    std::wstring Panel(int index) { return WindowText(principal.StatusBar1().PanelLabel(index)); }
    bool ToolEnabled(int index) { return principal.Toolbar().IsButtonEnabled(index); }
    bool CommandEnabled(int index) { return IsWindowEnabled(principal.Command1(index)) != FALSE; }

    // The state table: connected, or not (at start the console is still disabled, after a
    // disconnect it stays enabled). Find and clear follow the state; disconnect and about never change.
    void ExpectControls(bool connected, bool consoleEnabled) {
        EXPECT_EQ(ToolEnabled(1), !connected) << "find";
        EXPECT_TRUE(ToolEnabled(2)) << "disconnect";
        EXPECT_EQ(ToolEnabled(3), connected) << "clear";
        EXPECT_TRUE(ToolEnabled(4)) << "about";
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(CommandEnabled(i), connected) << "quick command " << i;
        EXPECT_EQ(principal.ConsoleEnabled(), consoleEnabled);
        EXPECT_EQ(Panel(1), connected ? std::wstring(L"Conectado con ") + kItem : L"Desconectado");
    }
    void ExpectConnected() { ExpectControls(true, true); }
    void ExpectDisconnected() { ExpectControls(false, true); }

    NoticeRecorder notices;
    SimDriver sim;
    console::AppContext app;
    console::Principal principal{app};
};

} // namespace testsupport
