// The receive pump on the real console, fed by the simulated device: what a tick reads (reads of 256,
// failures, the per-tick bound) and the text rules are tested in full natively; here they reach the
// console through the ANSI code page, with the caret at the end, and an empty queue is not read.
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

class ConsolePump : public PrincipalSession {
protected:
    void SetUp() override {
        PrincipalSession::SetUp();
        Connect();
        principal.ResetConsole();
    }
    // Queues bytes from the device and runs one tick of the pump.
    void Receive(const std::string& bytes) {
        ASSERT_TRUE(sim.Queue(kZev, bytes));
        principal.TimerRx_Timer();
    }
};

} // namespace

TEST_F(ConsolePump, TicksShowOnTheConsoleWithTheCaretAtTheEnd) {
    ASSERT_EQ(GetACP(), 1252u);
    const struct {
        std::vector<std::string> ticks; // what the device sends before each tick
        const wchar_t* shown;
    } cases[] = {
        {{"OK\r\n", "x\n"}, L">OK\r\nx"},
        {{"z\b", " \b"}, L">OK\r\nx"},                            // an erase sequence split across ticks
        {{std::string("a\0b\xE9\x80\xF1", 6)}, L">OK\r\nxabé€ñ"}, // NUL dropped, high bytes through 1252
    };
    const unsigned long reads = sim.Calls("FT_Read");
    principal.TimerRx_Timer();
    EXPECT_EQ(std::pair(principal.ConsoleText(), sim.Calls("FT_Read")), std::pair(std::wstring(L">"), reads));
    for (const auto& c : cases) {
        for (const std::string& bytes : c.ticks)
            Receive(bytes);
        EXPECT_EQ(principal.ConsoleText(), c.shown) << Narrow(c.shown);
        EXPECT_EQ(principal.ConsoleSelStart(), static_cast<int>(principal.ConsoleText().size()));
    }
}
