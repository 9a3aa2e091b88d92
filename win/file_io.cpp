#include "win/file_io.h"

#include <algorithm>

namespace win {
namespace {

// Closes the handle when it goes.
struct FileHandle {
    explicit FileHandle(HANDLE h) : h(h) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }
    bool Close() {
        const bool closed = h == INVALID_HANDLE_VALUE || CloseHandle(h);
        h = INVALID_HANDLE_VALUE;
        return closed;
    }
    HANDLE h;
};

std::wstring Folder(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash + 1);
}

std::wstring LastError() {
    return SystemErrorText(GetLastError());
}

} // namespace

std::wstring SystemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = n && text ? std::wstring(text, n) : L"error " + std::to_wstring(error);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message;
}

FileRead ReadFileUpTo(const std::wstring& path, std::size_t limit) {
    FileRead read;
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.h == INVALID_HANDLE_VALUE) {
        read.error = LastError();
        return read;
    }
    read.bytes.resize(limit + 1);
    std::size_t got = 0;
    while (got < read.bytes.size()) {
        DWORD n = 0;
        const auto ask = static_cast<DWORD>(std::min<std::size_t>(read.bytes.size() - got, 1u << 20));
        if (!ReadFile(file.h, read.bytes.data() + got, ask, &n, nullptr)) {
            read.error = LastError();
            read.bytes.clear();
            return read;
        }
        if (n == 0)
            break; // the end of the file
        got += n;
    }
    read.bytes.resize(got);
    return read;
}

std::wstring WriteFileReplacing(const std::wstring& path, std::string_view bytes) {
    // In the target's own folder: putting it in place is then a rename, never a copy that could stop
    // half-way.
    wchar_t temp[MAX_PATH + 1] = {};
    if (!GetTempFileNameW(Folder(path).c_str(), L"zev", 0, temp))
        return LastError();
    std::wstring error;
    {
        FileHandle file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        std::size_t written = 0;
        while (file.h != INVALID_HANDLE_VALUE && written < bytes.size()) {
            DWORD n = 0;
            const auto ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 20));
            if (!WriteFile(file.h, bytes.data() + written, ask, &n, nullptr) || n == 0)
                break;
            written += n;
        }
        if (file.h == INVALID_HANDLE_VALUE || written < bytes.size() || !FlushFileBuffers(file.h) || !file.Close())
            error = LastError();
    }
    if (error.empty() && !MoveFileExW(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = LastError();
    if (!error.empty())
        DeleteFileW(temp);
    return error;
}

} // namespace win
