// The standard dialogs that ask for a file to save or to open. Tests replace them (SetFileDialogHandler)
// with an answer of their own: a dialog would wait for a user who is not there.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace win {

struct FileDialog {
    enum class Kind { Save, Open } kind = Kind::Save;
    HWND owner = nullptr;
    std::wstring folder;   // where it opens
    std::wstring fileName; // the name it proposes (saving)
};

// The chosen file's full path; nullopt when the user cancelled.
using FileDialogHandler = std::function<std::optional<std::wstring>(const FileDialog&)>;

std::optional<std::wstring> AskForFile(const FileDialog& dialog);
// Replaces the handler; returns the previous one. An empty handler restores the real dialogs.
FileDialogHandler SetFileDialogHandler(FileDialogHandler handler);

// The user's Documents folder; empty when it cannot be found.
std::wstring DocumentsFolder();

} // namespace win
