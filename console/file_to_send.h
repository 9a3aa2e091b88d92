// A text file as "Enviar archivo…" sends it: decoded (a UTF-8 or UTF-16 byte-order mark honoured, else
// the ANSI code page), each line end (CR LF, LF or CR) made the CR that Enter sends, nothing added after
// the last line, and every character turned into the one byte the device takes. A file that cannot go
// to the device as it stands is refused, naming the line. Platform-neutral.
#pragma once

#include "console/console_text.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace console {

// The largest file sent.
constexpr std::size_t kMaxFileToSend = std::size_t{64} << 10;

struct FileToSend {
    enum class Problem { None, TooLarge, Empty, Nul, Unmappable, BadUtf8, BadUtf16 };
    Problem problem = Problem::None;
    std::size_t line = 0;   // the refused line, counted from 1
    char32_t character = 0; // the character the code page lacks
    // Each line's bytes followed by CR; the last one without, when the file's last line has no end.
    std::vector<std::string> lines;
};

// table: the character of each byte of the ANSI code page (byte 0 and a byte that is no character by
// itself have none that maps back to them).
FileToSend DecodeFileToSend(std::string_view file, const AnsiTable& table);

// The message that tells the user why the file was refused (Problem::None: empty).
std::wstring RefusalText(const FileToSend& decoded);

} // namespace console
