// The session kept for "Copiar todo" and "Guardar como…": the console's own text rules without its
// 5000-character limit, a limit of its own that cuts the start at a line, and the file's name.
#include "console/console_text.h"
#include "console/session_file_name.h"
#include "console/session_log.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using console::SessionLog;

// Below the console's limit the session is exactly what the console shows, byte for character.
TEST(SessionLog, HoldsWhatTheConsoleShowsOnRandomInput) {
    const console::AnsiTable table = console::Latin1Table();
    std::mt19937 rng(7);
    const std::string alphabet = std::string("\b\b\b   \r\r\n\nab>\xE9") + std::string(1, '\0');
    for (int round = 0; round < 500; ++round) {
        std::wstring console = L">";
        SessionLog log;
        log.Reset(">");
        for (int tick = 0; tick < 8; ++tick) {
            std::string received;
            for (std::size_t n = rng() % 40; n > 0; --n)
                received += alphabet[rng() % alphabet.size()];
            console::ApplyReceived(console, received, table);
            log.Append(received);
        }
        ASSERT_EQ(console::DecodeAnsi(log.Text(), table), console) << "round " << round;
        ASSERT_FALSE(log.StartCut());
    }
}

TEST(SessionLog, KeepsItsLimitFromALineStartAndSaysTheStartWasCut) {
    const struct {
        std::vector<std::string> received; // after Reset(">"), in a log of 10 bytes
        std::string text;
        bool cut;
    } cases[] = {
        {{"12345678\r"}, "", true},             // 11 bytes: cut to the next line start, which is the end
        {{"abcdefg\nh\r\nij"}, "ij", true},     // the line after the cut
        {{"0123456789AB"}, "23456789AB", true}, // no line break: the last 10 bytes
        {{"0123456789AB", "\b \b\b \b"}, "23456789", true},
        {{"0123456789AB\r\nxy", "\b \b\b \b\b \b"}, "", true}, // an erase never reaches past the cut start
        {{"123456789"}, ">123456789", false},                  // exactly at the limit
    };
    for (const auto& c : cases) {
        SessionLog log(10);
        log.Reset(">");
        for (const std::string& r : c.received)
            log.Append(r);
        EXPECT_EQ(std::pair(std::string(log.Text()), log.StartCut()), std::pair(c.text, c.cut)) << c.received[0];
        EXPECT_EQ(log.FileBytes("CUT"), (c.cut ? "CUT\r\n" : "") + c.text);
        log.Reset(">");
        EXPECT_EQ(std::pair(log.FileBytes("CUT"), log.StartCut()), std::pair(std::string(">"), false));
    }
    // A long stream keeps exactly its last lines, however often the front moved.
    SessionLog log(1000);
    log.Reset(">");
    std::string all = ">";
    for (int i = 0; i < 5000; ++i) {
        const std::string line = "line " + std::to_string(i) + "\r\n";
        log.Append(line);
        all += line;
    }
    const std::string tail = all.substr(all.find("\r\n", all.size() - 1000) + 2);
    EXPECT_EQ(log.Text(), tail);
}

TEST(SessionFileName, SerialMadeSafeOrConsolaAndTheMomentToTheSecond) {
    const console::ClockSample at{2026, 3, 7, 9, 5, 2};
    const struct {
        std::wstring serial, name;
    } cases[] = {
        {L"ZV100001", L"ZEV_ZV100001_20260307-090502.txt"},
        {L"", L"ZEV_consola_20260307-090502.txt"},
        {L"A\\/:*?\"<>|\x1F\x7F z", L"ZEV_A___________ z_20260307-090502.txt"},
        {std::wstring(40, L'S'), L"ZEV_" + std::wstring(32, L'S') + L"_20260307-090502.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(console::SessionFileName(c.serial, at), c.name);
    EXPECT_EQ(console::SessionFileName(L"Z", {2030, 12, 31, 23, 59, 58}), L"ZEV_Z_20301231-235958.txt");
}
