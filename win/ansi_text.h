// Text to and from the device: bytes of the system's ANSI code page, one byte per character.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace win {

// The character of every byte in the current ANSI code page. A byte that is no character by
// itself (a lead byte of a double-byte code page) shows as "?".
std::array<wchar_t, 256> SystemAnsiTable();

// The text as the device takes it; a character the code page lacks becomes its default
// character ("?").
std::string ToAnsi(std::wstring_view text);
// Text from the driver (descriptions, serial numbers) for display.
std::wstring FromAnsi(std::string_view bytes);

} // namespace win
