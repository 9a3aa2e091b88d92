// The folders the program takes files from: its own and the system's.
#pragma once

#include <string>

namespace win {

// The folder of the running program, without a trailing backslash; "." when it cannot be read.
std::wstring ProgramFolder();
// System32 (SysWOW64's view of it for a 32-bit program on 64-bit Windows); empty when it cannot be read.
std::wstring SystemFolder();

} // namespace win
