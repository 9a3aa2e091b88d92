// The receive pump on the real console, fed by the simulated device: the text rules (tested in full
// natively) reach the console with the caret at the end, reads of 256 and the rest, a failed read loses
// nothing, and a flood keeps the last 5000 characters.
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
    for (const auto& c : cases) {
        for (const std::string& bytes : c.ticks)
            Receive(bytes);
        EXPECT_EQ(principal.ConsoleText(), c.shown) << Narrow(c.shown);
        EXPECT_EQ(principal.ConsoleSelStart(), static_cast<int>(principal.ConsoleText().size()));
    }
}

TEST_F(ConsolePump, ReadsOf256AndTheRestAFailedReadLosesNothingAndAFloodIsCut) {
    // An empty queue: no read, text and caret left alone.
    SendMessageW(principal.txtConsole(), EM_SETSEL, 0, 0);
    const unsigned long reads = sim.Calls("FT_Read");
    principal.TimerRx_Timer();
    EXPECT_EQ(std::tuple(principal.ConsoleText(), principal.ConsoleSelStart(), sim.Calls("FT_Read")),
              std::tuple(std::wstring(L">"), 0, reads));
    // 300 queued: a read of 256 shows, the second read of the tick fails and the link stays open; the
    // next tick brings the rest.
    std::string bytes;
    for (int i = 0; i < 300; ++i)
        bytes += static_cast<char>('A' + i % 26);
    sim.Fail("FT_Read", d2xx::FT_OTHER_ERROR, 2, 1);
    Receive(bytes);
    EXPECT_EQ(sim.Calls("FT_Read") - reads, 2u);
    EXPECT_EQ(principal.ConsoleText(), L">" + std::wstring(bytes.begin(), bytes.begin() + 256));
    EXPECT_TRUE(sim.IsOpen(kZev));
    principal.TimerRx_Timer();
    EXPECT_EQ(principal.ConsoleText(), L">" + std::wstring(bytes.begin(), bytes.end()));

    ASSERT_TRUE(sim.Flood(kZev, 30000)); // one tick of a 3 Mbaud line
    principal.TimerRx_Timer();
    const std::wstring text = principal.ConsoleText();
    EXPECT_TRUE(text.size() <= 5000u && text.size() > 4900u && text.starts_with(L"\r\n")) << text.size();
    EXPECT_EQ(principal.ConsoleSelStart(), static_cast<int>(text.size()));
    EXPECT_EQ(sim.Queued(kZev), 0u) << "one tick takes all";
}
