// The receive pump on the real console, fed by the simulated device: line ends, erase sequences
// across ticks, the ANSI code page, reads of 256 and the rest, the 5000-character limit, and
// failed reads.
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testsupport;

namespace {

class ConsolePump : public PrincipalSession {
protected:
    void SetUp() override {
        PrincipalSession::SetUp();
        ConnectAndDrain();
        principal.ResetConsole();
    }
    // Queues bytes from the device and runs one tick of the pump.
    void Receive(const std::string& bytes) {
        ASSERT_TRUE(sim.Queue(kZev, bytes));
        principal.TimerRx_Timer();
    }
};

struct PumpCase {
    const wchar_t* console;         // the text before the first tick
    std::vector<std::string> ticks; // what the device sends before each tick
    const wchar_t* shown;
};

} // namespace

TEST_F(ConsolePump, EdgeCasesOfTheTickShowOnTheConsoleWithTheCaretAtTheEnd) {
    ASSERT_EQ(GetACP(), 1252u);
    const PumpCase cases[] = {
        {L">", {"OK\r\n"}, L">OK\r\n"},
        {L">", {"OK\r"}, L">OK\r\n"},
        {L">", {"OK\n"}, L">OK"},
        {L">", {"x\b \b"}, L">"},
        {L">", {"y", "\b \b"}, L">"},
        {L">", {"z\b", " \b"}, L">"},                            // a sequence split across ticks
        {L">", {"ab\r\n\b \b"}, L">ab\r"},                       // after a line break only its LF goes
        {L">", {"abc\b \b\b \b", "q\bw"}, L">aq\bw"},            // a lone BS stays
        {L"", {"\b \bok"}, L"ok"},                               // at the very start only the sequence goes
        {L">", {std::string("a\0b\xE9\x80\xF1", 6)}, L">abé€ñ"}, // NUL dropped, high bytes through 1252
    };
    for (const PumpCase& c : cases) {
        SetWindowTextW(principal.txtConsole(), c.console);
        for (const std::string& bytes : c.ticks)
            Receive(bytes);
        EXPECT_EQ(principal.ConsoleText(), c.shown) << Narrow(c.shown);
        EXPECT_EQ(principal.ConsoleSelStart(), static_cast<int>(principal.ConsoleText().size()));
    }
}

TEST_F(ConsolePump, ReadsOf256AndTheRestAndAFailedReadLosesNothing) {
    // An empty queue: no read, text and caret left alone.
    SendMessageW(principal.txtConsole(), EM_SETSEL, 0, 0);
    const unsigned long reads = sim.Calls("FT_Read");
    principal.TimerRx_Timer();
    EXPECT_EQ(principal.ConsoleText(), L">");
    EXPECT_EQ(principal.ConsoleSelStart(), 0);
    EXPECT_EQ(sim.Calls("FT_Read"), reads);

    // 300 queued: a read of 256 shows, the second read of the tick fails, and the link stays open;
    // the next tick brings the rest.
    std::string bytes;
    for (int i = 0; i < 300; ++i)
        bytes += static_cast<char>('A' + i % 26);
    sim.Fail("FT_Read", d2xx::FT_OTHER_ERROR, 2, 1);
    Receive(bytes);
    EXPECT_EQ(sim.Calls("FT_Read") - reads, 2u);
    EXPECT_EQ(principal.ConsoleText(), L">" + std::wstring(bytes.begin(), bytes.begin() + 256));
    EXPECT_EQ(app.link.lLastStatus, static_cast<std::int32_t>(d2xx::FT_OTHER_ERROR));
    EXPECT_TRUE(sim.IsOpen(kZev));
    principal.TimerRx_Timer();
    EXPECT_EQ(principal.ConsoleText(), L">" + std::wstring(bytes.begin(), bytes.end()));
}

TEST_F(ConsolePump, AFloodKeepsTheLast5000CharactersFromALineBreak) {
    ASSERT_TRUE(sim.Flood(kZev, 30000)); // one tick of a 3 Mbaud line
    principal.TimerRx_Timer();
    const std::wstring text = principal.ConsoleText();
    EXPECT_LE(text.size(), 5000u);
    EXPECT_GT(text.size(), 4900u);
    EXPECT_EQ(text.substr(0, 2), L"\r\n");
    EXPECT_EQ(principal.ConsoleSelStart(), static_cast<int>(text.size()));
    EXPECT_EQ(sim.Queued(kZev), 0u) << "one tick takes all";
}
