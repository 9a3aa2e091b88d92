// The console text rules, checked against a literal rendering of the old search-from-the-start loop.
#include "console/console_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using console::ApplyReceived;
using console::kConsoleLimit;

namespace {

const console::AnsiTable kTable = console::Latin1Table();

// Applies the received bytes and checks that what ApplyReceived says it changed, replayed on the old
// text as an edit box is given it, yields the new text.
std::wstring Apply(std::wstring consoleText, const std::string& received) {
    const std::wstring before = consoleText;
    const console::ConsoleChange change = ApplyReceived(consoleText, received, kTable);
    std::wstring replayed = before;
    if (change.cutFront >= change.kept) {
        replayed = consoleText;
    } else {
        replayed.erase(0, change.cutFront);
        const std::size_t from = change.kept - change.cutFront;
        replayed.replace(from, std::wstring::npos, consoleText.substr(from));
    }
    EXPECT_EQ(replayed, consoleText) << "kept " << change.kept << ", cut " << change.cutFront;
    return consoleText;
}

std::wstring Decode(const std::string& bytes) {
    std::wstring text;
    for (char byte : bytes)
        if (byte != '\0')
            text += kTable[static_cast<unsigned char>(byte)];
    return text;
}

// The receive pump's text rules exactly as the device's terminal has always done them: drop
// every LF, turn every CR into CR LF, append, then find BS SP BS from the start of the whole
// text, cut it and the character in front of it, and search again from the start; finally keep
// the last 5000 characters from their first CR LF on. Only the received text's decoding (a NUL
// cannot be held by a text box, so it is dropped) comes before it.
std::wstring Oracle(std::wstring consoleText, const std::string& received) {
    std::wstring lineEnds;
    for (wchar_t c : Decode(received))
        if (c != L'\n')
            lineEnds += c == L'\r' ? std::wstring(L"\r\n") : std::wstring(1, c);
    consoleText += lineEnds;

    for (std::size_t found = consoleText.find(L"\b \b"); found != std::wstring::npos;
         found = consoleText.find(L"\b \b")) {
        const std::size_t p = found + 1; // counting from 1
        const std::wstring left = p >= 2 ? consoleText.substr(0, p - 2) : std::wstring();
        consoleText = left + consoleText.substr(found + 3);
    }

    if (consoleText.size() > 5000) {
        std::wstring last = consoleText.substr(consoleText.size() - 5000);
        const std::size_t q = last.find(L"\r\n");
        if (q != std::wstring::npos)
            last = last.substr(q);
        consoleText = last;
    }
    return consoleText;
}

} // namespace

// Only what changed goes to the text box: the old text's untouched start and the cut are exact.
TEST(ConsoleText, SaysHowMuchOfTheOldTextStayedAndHowMuchTheLimitCut) {
    std::wstring full(kConsoleLimit, L'a');
    full.replace(100, 2, L"\r\n");
    const struct {
        std::wstring console;
        std::string received;
        std::size_t kept, cutFront;
    } cases[] = {
        {L">", "OK\r\n", 1, 0},
        {L">ab", "\b \b", 2, 0},
        {L"x\b ", "\b", 0, 0},
        {full, "line\r\n", kConsoleLimit, 100},
        {L">", std::string(kConsoleLimit + 1, 'x'), 0, 1},      // filled by the received bytes alone: all new
        {L">a\r\n", std::string(kConsoleLimit - 4, 'x'), 4, 0}, // exactly at the limit: nothing cut
    };
    for (const auto& c : cases) {
        std::wstring text = c.console;
        const console::ConsoleChange change = ApplyReceived(text, c.received, kTable);
        EXPECT_EQ(std::pair(change.kept, change.cutFront), std::pair(c.kept, c.cutFront)) << c.received;
    }
}

TEST(ConsoleText, MatchesTheSearchFromTheStartLoopOnRandomInput) {
    std::mt19937 rng(20240611);
    // Mostly the characters that matter, so erase sequences, line ends and cuts happen often.
    const std::string alphabet = std::string("\b\b\b   \r\r\n\nabc>\x01\xE9\xFF") + std::string(1, '\0');
    auto randomText = [&](std::size_t length) {
        std::string s;
        for (std::size_t i = 0; i < length; ++i)
            s += alphabet[rng() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 3000; ++round) {
        // The console may hold anything: sequences of its own, lone LFs, any length past the limit.
        const std::size_t consoleLength = rng() % 3 == 0 ? 4900 + rng() % 300 : rng() % 40;
        const std::wstring before = Decode(randomText(consoleLength));
        std::string received = randomText(rng() % 3 == 0 ? rng() % 400 : rng() % 12);
        if (round % 30 == 0) { // a console's worth or more, often without any BS (only its tail is read)
            received = randomText(4000 + rng() % 4000);
            if (round % 60 == 0)
                std::erase(received, '\b');
        }
        ASSERT_EQ(Apply(before, received), Oracle(before, received))
            << "round " << round << ", console length " << before.size() << ", received " << received.size();
    }
}
