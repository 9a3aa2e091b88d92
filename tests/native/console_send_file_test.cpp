// "Enviar archivo…": the file decoded into the lines the device gets or refused naming the line, and the
// sender that writes one line at a time, paced by the device's prompt or by time.
#include "console/file_sender.h"
#include "console/file_to_send.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using console::FileToSend;
using Problem = FileToSend::Problem;
using Lines = std::vector<std::string>;
using namespace std::string_literals;

TEST(FileToSend, DecodesEachEncodingMakesLineEndsCrAndRefusesNamingTheLine) {
    console::AnsiTable table = console::Latin1Table();
    table[0x80] = L'€';
    table[0x81] = L'?'; // a byte that is no character by itself, as a double-byte code page's lead byte
    const std::string u8 = "\xEF\xBB\xBF", le = "\xFF\xFE", be = "\xFE\xFF";
    const struct {
        std::string file;
        Lines lines;
        Problem problem = Problem::None;
        std::size_t line = 0;
        char32_t character = 0;
    } cases[] = {
        {"SCAN\r\nSTATUS\nLIST\rHELP", {"SCAN\r", "STATUS\r", "LIST\r", "HELP"}},
        {"SCAN\r\n", {"SCAN\r"}},
        {"\r\n\n\rX\t\x1B", {"\r", "\r", "\r", "X\t\x1B"}},
        {"\xE9\x80\xFF", {"\xE9\x80\xFF"}},
        {u8 + "caf\xC3\xA9 \xE2\x82\xAC\n", {"caf\xE9 \x80\r"}},
        {le + "a\0\r\0\n\0\xAC\x20"s, {"a\r", "\x80"}},
        {be + "\0b\0\n"s, {"b\r"}},
        {"ok\nb\x81", {}, Problem::Unmappable, 2, U'?'},
        {"a\r\nb\nc\0"s, {}, Problem::Nul, 3},
        {le + "a\0\0\0"s, {}, Problem::Nul, 1},
        {u8 + "a\n\xCE\xA9", {}, Problem::Unmappable, 2, 0x3A9},
        {u8 + "\xF0\x9F\x98\x80", {}, Problem::Unmappable, 1, 0x1F600},
        {le + "\x3D\xD8\x00\xDE"s, {}, Problem::Unmappable, 1, 0x1F600},
        {u8 + "a\r\n\r\n\xC3(", {}, Problem::BadUtf8, 3},
        {u8 + "\xC0\xAF", {}, Problem::BadUtf8, 1},         // overlong
        {u8 + "\xED\xA0\x80", {}, Problem::BadUtf8, 1},     // a surrogate
        {u8 + "\xED\xBF\xBF", {}, Problem::BadUtf8, 1},     // the last one
        {u8 + "\xE0\x80\xAF", {}, Problem::BadUtf8, 1},     // overlong in three bytes
        {u8 + "\xF4\x90\x80\x80", {}, Problem::BadUtf8, 1}, // beyond Unicode
        {u8 + "\xBF\xBF", {}, Problem::BadUtf8, 1},         // a continuation byte first
        {u8 + "\xE2\x82", {}, Problem::BadUtf8, 1},         // cut short
        {le + "a\0b"s, {}, Problem::BadUtf16, 1},           // an odd byte
        {le + "\x00\xD8\x61\x00"s, {}, Problem::BadUtf16, 1},
        {be + "\xDC\x00"s, {}, Problem::BadUtf16, 1},
        {"", {}, Problem::Empty},
        {u8, {}, Problem::Empty},
        {std::string(console::kMaxFileToSend, 'a'), {std::string(console::kMaxFileToSend, 'a')}},
        {std::string(console::kMaxFileToSend + 1, 'a'), {}, Problem::TooLarge},
    };
    for (const auto& c : cases) {
        const FileToSend got = console::DecodeFileToSend(c.file, table);
        EXPECT_EQ(std::tuple(got.lines, got.problem, got.line, got.character),
                  std::tuple(c.lines, c.problem, c.line, c.character))
            << testing::PrintToString(c.file.substr(0, 40));
    }

    const auto refusal = [&](const std::string& file) {
        return console::RefusalText(console::DecodeFileToSend(file, table));
    };
    const std::wstring line = L"El archivo no se puede enviar: la línea ";
    EXPECT_EQ(refusal("a\nb\nc\0"s), line + L"3 contiene un carácter nulo.");
    EXPECT_EQ(refusal(u8 + "a\n\xCE\xA9"),
              line + L"2 contiene un carácter (U+03A9) que la página de códigos del sistema no tiene.");
    EXPECT_EQ(refusal(u8 + "\xC3"), line + L"1 no es texto UTF-8 válido.");
    EXPECT_EQ(refusal(le + "a"), line + L"1 no es texto UTF-16 válido.");
    EXPECT_EQ(refusal(""), L"El archivo está vacío: no hay nada que enviar.");
    EXPECT_EQ(refusal(std::string(console::kMaxFileToSend + 1, 'a')),
              L"El archivo no se puede enviar: tiene más de 64 KB.");
    EXPECT_EQ(refusal("ok"), L"");
}

TEST(FileSender, WritesTheNextLineWhenThePromptCameBackOrAfterTwoSecondsAndStopsWhenCancelled) {
    console::FileSender sender;
    sender.Received("\r\n>"); // before anything was sent: nothing to wait for
    sender.Start({"A\r", "B\r", "C"});
    const struct {
        const char* received;
        std::uint64_t now;
        std::optional<std::string> due;
        bool active;
    } steps[] = {
        {"", 0, "A\r", true},  // the first at once
        {"A>", 100, {}, true}, // the echo, a ">" without a line break in front: not the prompt
        {"\r\nOK\r\n>", 150, "B\r", true},
        {"", 160, {}, true}, // the prompt counts once: B waits for its own
        {"B\r", 170, {}, true},
        {">", 180, "C", true}, // a line break and a prompt arriving apart
        {"C", 2179, {}, true}, // no prompt after a line without its end: two seconds
        {"", 2180, {}, false}, // the last line's wait is over: done
        {"\r\n>", 5000, {}, false},
    };
    for (const auto& s : steps) {
        sender.Received(s.received);
        const std::optional<std::string> due = sender.Due(s.now);
        EXPECT_EQ(std::pair(due, sender.Active()), std::pair(s.due, s.active)) << s.now;
    }
    EXPECT_EQ(std::pair(sender.Sent(), sender.Total()), std::pair(std::size_t{0}, std::size_t{0}));

    sender.Start({"X\r", "Y\r"});
    EXPECT_EQ(sender.Due(10), std::optional<std::string>("X\r"));
    EXPECT_EQ(std::tuple(sender.Sent(), sender.Total(), sender.Active()), std::tuple(1u, 2u, true));
    EXPECT_EQ(sender.Due(2009), std::nullopt);
    EXPECT_EQ(sender.Due(2010), std::optional<std::string>("Y\r")) << "the two seconds count from the last write";
    sender.Start({"P\r"});
    EXPECT_EQ(sender.Due(2011), std::optional<std::string>("P\r")) << "a new file starts at its first line";
    sender.Cancel();
    sender.Received("\r\n>");
    EXPECT_EQ(sender.Due(9000), std::nullopt);
    EXPECT_FALSE(sender.Active());
    sender.Start({});
    EXPECT_FALSE(sender.Active());
}
