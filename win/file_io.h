// Whole files read and written for the user: reading stops past a limit, and writing never damages the
// file it replaces.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace win {

// The system's text for an error code, without its line end; "error N" when there is none.
std::wstring SystemErrorText(DWORD error);

struct FileRead {
    std::string bytes;
    std::wstring error; // why it could not be read; empty on success
};
// The file's bytes, but at most limit + 1 of them: enough to tell a file over the limit without reading
// all of a huge one.
FileRead ReadFileUpTo(const std::wstring& path, std::size_t limit);

// Writes the bytes to a new file beside path and then puts it in path's place, so a failure at any
// step leaves a file already there as it was. Returns why it failed; empty on success.
std::wstring WriteFileReplacing(const std::wstring& path, std::string_view bytes);

} // namespace win
