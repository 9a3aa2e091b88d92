#include "win/file_dialog.h"

#include <commdlg.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace win {
namespace {

std::optional<std::wstring> RealDialog(const FileDialog& d) {
    std::vector<wchar_t> path(32768, L'\0'); // room for a long path
    d.fileName.copy(path.data(), std::min(d.fileName.size(), path.size() - 1));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = d.owner;
    ofn.lpstrFilter = L"Texto (*.txt)\0*.txt\0Todos los archivos (*.*)\0*.*\0";
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrInitialDir = d.folder.empty() ? nullptr : d.folder.c_str();
    ofn.lpstrDefExt = L"txt";
    ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    BOOL chosen = FALSE;
    if (d.kind == FileDialog::Kind::Save) {
        ofn.Flags |= OFN_OVERWRITEPROMPT;
        chosen = GetSaveFileNameW(&ofn);
    } else {
        ofn.Flags |= OFN_FILEMUSTEXIST;
        chosen = GetOpenFileNameW(&ofn);
    }
    if (!chosen)
        return std::nullopt;
    return std::wstring(path.data());
}

FileDialogHandler& Handler() {
    static FileDialogHandler handler;
    return handler;
}

} // namespace

std::optional<std::wstring> AskForFile(const FileDialog& dialog) {
    const FileDialogHandler& handler = Handler();
    return handler ? handler(dialog) : RealDialog(dialog);
}

FileDialogHandler SetFileDialogHandler(FileDialogHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

std::wstring DocumentsFolder() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path)) && path)
        folder = path;
    CoTaskMemFree(path);
    return folder;
}

} // namespace win
