// The receive pump on the real console, fed by the simulated device: line ends, erase sequences
// across ticks, reads of 256 and the rest, the 5000-character limit, and failed reads.
#include "console/principal.h"
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

class ConsolePump : public PrincipalSession {
protected:
    void SetUp() override {
        PrincipalSession::SetUp();
        // Connected, with the device's LIST reply drained and the console back at ">".
        Connect();
        ASSERT_TRUE(WaitForReply(L"puerto=23"));
        principal.ResetConsole();
    }
    // Queues bytes from the device and runs one tick of the pump.
    void Receive(const std::string& bytes) {
        ASSERT_TRUE(sim.Queue(kZev, bytes));
        principal.TimerRx_Timer();
    }
};

} // namespace

TEST_F(ConsolePump, LineEnds) {
    Receive("OK\r\n");
    EXPECT_EQ(principal.ConsoleText(), L">OK\r\n");
    principal.ResetConsole();
    Receive("OK\r");
    EXPECT_EQ(principal.ConsoleText(), L">OK\r\n");
    principal.ResetConsole();
    Receive("OK\n");
    EXPECT_EQ(principal.ConsoleText(), L">OK");
    EXPECT_EQ(principal.ConsoleSelStart(), 3);
}

TEST_F(ConsolePump, AnEmptyQueueLeavesTextAndCaretAlone) {
    SendMessageW(principal.txtConsole(), EM_SETSEL, 0, 0);
    const unsigned long reads = sim.Calls("FT_Read");
    principal.TimerRx_Timer();
    EXPECT_EQ(principal.ConsoleText(), L">");
    EXPECT_EQ(principal.ConsoleSelStart(), 0);
    EXPECT_EQ(sim.Calls("FT_Read"), reads);
    EXPECT_EQ(app.link.lLastStatus, 0);
}

TEST_F(ConsolePump, EraseSequencesInTheSameOrALaterTick) {
    Receive("x\b \b");
    EXPECT_EQ(principal.ConsoleText(), L">");
    Receive("y");
    Receive("\b \b");
    EXPECT_EQ(principal.ConsoleText(), L">");
    Receive("z\b");
    Receive(" \b");
    EXPECT_EQ(principal.ConsoleText(), L">") << "a sequence split across ticks";
    Receive("ab\r\n\b \b");
    EXPECT_EQ(principal.ConsoleText(), L">ab\r") << "after a line break only its LF goes";
    principal.ResetConsole();
    Receive("abc\b \b\b \b");
    EXPECT_EQ(principal.ConsoleText(), L">a");
    Receive("q\bw");
    EXPECT_EQ(principal.ConsoleText(), L">aq\bw") << "a lone BS stays";
}

TEST_F(ConsolePump, AnEraseAtTheVeryStartRemovesOnlyTheSequence) {
    SetWindowTextW(principal.txtConsole(), L"");
    Receive("\b \bok");
    EXPECT_EQ(principal.ConsoleText(), L"ok");
}

TEST_F(ConsolePump, ThreeHundredQueuedBytesAreReadAs256And44) {
    std::string bytes;
    for (int i = 0; i < 300; ++i)
        bytes += static_cast<char>('A' + i % 26);
    const unsigned long reads = sim.Calls("FT_Read");
    Receive(bytes);
    EXPECT_EQ(sim.Calls("FT_Read") - reads, 2u);
    EXPECT_EQ(principal.ConsoleText(), L">" + std::wstring(bytes.begin(), bytes.end()));
}

TEST_F(ConsolePump, AFailedReadShowsWhatCameBeforeItAndLosesNothing) {
    std::string bytes(300, 'k');
    bytes[299] = 'Z';
    sim.Fail("FT_Read", d2xx::FT_OTHER_ERROR, 2, 1); // the second read of the tick fails
    Receive(bytes);
    EXPECT_EQ(principal.ConsoleText(), L">" + std::wstring(256, L'k'));
    EXPECT_EQ(app.link.lLastStatus, static_cast<std::int32_t>(d2xx::FT_OTHER_ERROR));
    EXPECT_TRUE(sim.IsOpen(kZev)) << "the link stays open";
    principal.TimerRx_Timer();
    EXPECT_EQ(principal.ConsoleText(), L">" + std::wstring(299, L'k') + L"Z");

    // A first read that fails shows nothing that tick.
    principal.ResetConsole();
    sim.Fail("FT_Read", d2xx::FT_INSUFFICIENT_RESOURCES, 1, 1);
    Receive("late");
    EXPECT_EQ(principal.ConsoleText(), L">");
    principal.TimerRx_Timer();
    EXPECT_EQ(principal.ConsoleText(), L">late");
}

TEST_F(ConsolePump, NulIsDroppedAndHighBytesShowThroughTheAnsiCodePage) {
    ASSERT_EQ(GetACP(), 1252u);
    Receive(std::string("a\0b\xE9\x80\xF1", 6));
    EXPECT_EQ(principal.ConsoleText(), L">abé€ñ");
}

TEST_F(ConsolePump, AFloodKeepsTheLast5000CharactersFromALineBreak) {
    ASSERT_TRUE(sim.Flood(kZev, 30000)); // one tick of a 3 Mbaud line
    principal.TimerRx_Timer();
    const std::wstring text = principal.ConsoleText();
    EXPECT_LE(text.size(), 5000u);
    EXPECT_GT(text.size(), 4900u);
    EXPECT_EQ(text.substr(0, 2), L"\r\n");
    EXPECT_EQ(principal.ConsoleSelStart(), static_cast<int>(text.size()));
    EXPECT_EQ(sim.Queued(kZev), 0u);
    // A full console plus one line: cut back to the line break in front of the kept part.
    Receive("una linea mas\r\n");
    const std::wstring after = principal.ConsoleText();
    EXPECT_LE(after.size(), 5000u);
    EXPECT_EQ(after.substr(0, 2), L"\r\n");
    EXPECT_EQ(after.substr(after.size() - 15), L"una linea mas\r\n");
}
