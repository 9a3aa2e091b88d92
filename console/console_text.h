// What the receive pump does to the console text with the bytes of one tick: line ends, append,
// the device's erase sequences and the length limit. Platform-neutral; the window only moves the
// text in and out of its edit box.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace console {

// The console keeps at most this many characters (cut back to a line break).
constexpr std::size_t kConsoleLimit = 5000;

// The character each received byte stands for (the system's ANSI code page, one character per
// byte). Byte 0 has no character: a text box cannot hold a NUL, so it is dropped.
using AnsiTable = std::array<wchar_t, 256>;
// Byte b is character b (ISO 8859-1): the table when the code page is not at hand.
AnsiTable Latin1Table();
// The bytes' characters (a NUL has none).
std::wstring DecodeAnsi(std::string_view bytes, const AnsiTable& table);

// What ApplyReceived changed, so that a text box can be handed only the change rather than the
// whole text: the old text's first `kept` characters stayed as they were and the rest of the new
// text followed them; then the length limit dropped the first `cutFront` characters of the result.
// Applying it: remove the first cutFront characters (when cutFront < kept), then replace everything
// from kept - cutFront on by the new text's characters from there; else replace the whole text.
// When the received bytes fill the console by themselves both are 0: everything is new.
struct ConsoleChange {
    std::size_t kept = 0;
    std::size_t cutFront = 0;
};

// Applies one tick's received bytes to the console text:
//  - every LF is dropped and every CR becomes CR LF;
//  - the text is appended;
//  - each BS SP BS is removed together with the one character in front of it (only the
//    sequence at the very start of the text), searching again from the start after each one;
//  - a text over kConsoleLimit characters keeps its last kConsoleLimit, cut back so that it starts
//    with its first CR LF when there is one.
// One pass over console and received text: linear time, where searching from the start after
// every erase would be quadratic. When the received bytes end in a console's worth of text without
// a BS, only that tail is decoded: the rest could not show.
ConsoleChange ApplyReceived(std::wstring& consoleText, std::string_view received, const AnsiTable& table);

} // namespace console
