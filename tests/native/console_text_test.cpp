// The console text rules of the receive pump: line ends, erase sequences, the length limit, and
// the one-pass implementation checked against a literal rendering of the search-from-the-start
// loop on many random inputs.
#include "console/console_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using console::ApplyReceived;
using console::kConsoleLimit;

namespace {

const console::AnsiTable kTable = console::Latin1Table();

std::wstring Apply(std::wstring consoleText, const std::string& received) {
    ApplyReceived(consoleText, received, kTable);
    return consoleText;
}

// The receive pump's steps 4 to 7 exactly as the device's terminal has always done them: drop
// every LF, turn every CR into CR LF, append, then find BS SP BS from the start of the whole
// text, cut it and the character in front of it, and search again from the start; finally keep
// the last 5000 characters from their first CR LF on. Only the received text's decoding (a NUL
// cannot be held by a text box, so it is dropped) comes before it.
std::wstring Oracle(std::wstring consoleText, const std::string& received) {
    std::wstring text;
    for (char byte : received)
        if (byte != '\0')
            text += kTable[static_cast<unsigned char>(byte)];

    std::wstring noLf;
    for (wchar_t c : text)
        if (c != L'\n')
            noLf += c;
    std::wstring lineEnds;
    for (wchar_t c : noLf) {
        if (c == L'\r')
            lineEnds += L"\r\n";
        else
            lineEnds += c;
    }
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

TEST(ConsoleText, LineEndsBecomeCrLfAndLoneLfDisappears) {
    EXPECT_EQ(Apply(L">", "OK\r\n"), L">OK\r\n");
    EXPECT_EQ(Apply(L">", "OK\r"), L">OK\r\n");
    EXPECT_EQ(Apply(L">", "OK\n"), L">OK");
    EXPECT_EQ(Apply(L">", "A\n\rB\r\r\n"), L">A\r\nB\r\n\r\n");
    EXPECT_EQ(Apply(L"", ""), L"");
}

TEST(ConsoleText, ErasesTheCharacterInFrontOfEachSequence) {
    EXPECT_EQ(Apply(L">", "x\b \b"), L">");
    // Arriving in two ticks: the second completes the sequence.
    EXPECT_EQ(Apply(Apply(L">", "x\b"), " \b"), L">");
    // Right after a line break only the LF of the CR LF goes.
    EXPECT_EQ(Apply(L">ab", "\r\b \b"), L">ab\r");
    // At the very start of the text only the sequence goes.
    EXPECT_EQ(Apply(L"", "\b \bab"), L"ab");
    EXPECT_EQ(Apply(L"\b", " \bZ"), L"Z");
    // Three letters and two sequences keep the first letter.
    EXPECT_EQ(Apply(L">abc", "\b \b\b \b"), L">a");
    // A BS outside a sequence stays; so does a sequence broken by other characters.
    EXPECT_EQ(Apply(L">", "a\bb"), L">a\bb");
    EXPECT_EQ(Apply(L">", "a\b.\b"), L">a\b.\b");
    // Sequences sharing a BS: the earlier one is cut first.
    EXPECT_EQ(Apply(L">xy", "\b \b \b"), L">x \b");
    // An erase that itself completes an earlier sequence.
    EXPECT_EQ(Apply(L"\b ", "q\b \b\b"), L"");
}

TEST(ConsoleText, KeepsTheLast5000CharactersFromTheirFirstLineBreak) {
    std::wstring full(kConsoleLimit, L'a');
    full[100] = L'\r';
    full[101] = L'\n';
    const std::wstring result = Apply(full, "line\r\n");
    // 5006 characters: the last 5000 start at index 6 of the old text; their first CR LF is the
    // one at index 100.
    EXPECT_EQ(result.size(), kConsoleLimit - 100 + 6);
    EXPECT_EQ(result.substr(0, 2), L"\r\n");
    EXPECT_EQ(result.substr(result.size() - 6), L"line\r\n");

    // Without any CR LF in the last 5000, all 5000 stay.
    const std::wstring noBreak = Apply(std::wstring(kConsoleLimit, L'b'), "ccc");
    EXPECT_EQ(noBreak.size(), kConsoleLimit);
    EXPECT_EQ(noBreak.substr(kConsoleLimit - 3), L"ccc");

    // Exactly 5000 is left alone; a CR LF split by the cut is no line break.
    EXPECT_EQ(Apply(std::wstring(kConsoleLimit - 1, L'd'), "e").size(), kConsoleLimit);
    std::wstring split(kConsoleLimit, L'f');
    split[0] = L'\r';
    split[1] = L'\n';
    split[4000] = L'\r';
    split[4001] = L'\n';
    const std::wstring cut = Apply(split, "g");
    EXPECT_EQ(cut.size(), kConsoleLimit - 4000 + 1);
}

TEST(ConsoleText, DropsNulAndShowsHighBytesThroughTheTable) {
    EXPECT_EQ(Apply(L">", std::string("a\0b", 3)), L">ab");
    console::AnsiTable table = kTable;
    table[0xE9] = L'é';
    table[0x80] = L'€';
    std::wstring text = L">";
    ApplyReceived(text, "\xE9\x80\xFF", table);
    EXPECT_EQ(text, L">é€\xFF");
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
    auto widen = [](const std::string& s) {
        std::wstring w;
        for (char c : s)
            if (c != '\0')
                w += kTable[static_cast<unsigned char>(c)];
        return w;
    };
    for (int round = 0; round < 3000; ++round) {
        // The console may hold anything: sequences of its own, lone LFs, any length up to well
        // past the limit.
        const std::size_t consoleLength = rng() % 3 == 0 ? 4900 + rng() % 300 : rng() % 40;
        const std::wstring before = widen(randomText(consoleLength));
        const std::string received = randomText(rng() % 3 == 0 ? rng() % 400 : rng() % 12);
        ASSERT_EQ(Apply(before, received), Oracle(before, received))
            << "round " << round << ", console length " << before.size() << ", received " << received.size();
    }
    // Many ticks in a row on the same console, as the pump runs them.
    std::wstring fast = L">", slow = L">";
    for (int tick = 0; tick < 400; ++tick) {
        const std::string received = randomText(rng() % 80);
        ApplyReceived(fast, received, kTable);
        slow = Oracle(slow, received);
        ASSERT_EQ(fast, slow) << "tick " << tick;
    }
}
