#include "console/skin_file.h"

#include "bmp/bmp_file.h"
#include "win/dib.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace console {
namespace {

std::wstring SystemMessage(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() &&
           (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    return L"error " + std::to_wstring(error) + (text.empty() ? L"" : L": " + text);
}

// The reasons a user can act on, in Spanish; anything else in the system's own words.
std::wstring OpenFailure(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return L"no se encuentra el archivo";
    case ERROR_PATH_NOT_FOUND:
        return L"no se encuentra la carpeta";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return L"no se puede leer el archivo (acceso denegado)";
    default:
        return SystemMessage(error);
    }
}

bool ReadWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes, std::wstring& reason) {
    constexpr LONGLONG kMaxSkinFile = 64ll << 20; // far beyond any skin picture
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reason = OpenFailure(GetLastError());
        return false;
    }
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) != FALSE;
    if (ok && size.QuadPart > kMaxSkinFile) {
        reason = L"el archivo es demasiado grande para ser la imagen";
        ok = false;
    } else if (ok) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        ok = bytes.empty() ||
             (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size());
        if (!ok)
            reason = L"no se puede leer el archivo (" + SystemMessage(GetLastError()) + L")";
    } else {
        reason = OpenFailure(GetLastError());
    }
    CloseHandle(file);
    return ok;
}

std::wstring BmpFailure(bmp::Fault fault) {
    return fault == bmp::Fault::Compressed ? L"el mapa de bits está comprimido y no se admite"
                                           : L"el archivo no es un mapa de bits válido";
}

} // namespace

std::wstring SkinFilePath(const std::wstring& programFolder) {
    std::wstring folder = programFolder;
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
    return folder + L"\\imagenes\\Skin_VBNET.bmp";
}

SkinLoadResult LoadSkinPicture(const std::wstring& path) {
    SkinLoadResult result;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        result.reason = OpenFailure(GetLastError());
        return result;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        result.reason = L"es una carpeta, no un archivo";
        return result;
    }
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, result.reason))
        return result;

    // Checked here, then handed to GDI as a picture in memory: the system's file loader reads
    // past the end of a truncated file.
    bmp::Fault fault{};
    const std::optional<bmp::Layout> layout = bmp::ReadLayout(bytes, &fault);
    if (!layout) {
        result.reason = BmpFailure(fault);
        return result;
    }
    const int height = layout->Rows();
    if (layout->width < kSkinMinWidth || height < kSkinMinHeight) {
        result.reason = L"la imagen mide " + std::to_wstring(layout->width) + L" × " + std::to_wstring(height) +
                        L" píxeles y debe medir al menos " + std::to_wstring(kSkinMinWidth) + L" × " +
                        std::to_wstring(kSkinMinHeight);
        return result;
    }
    result.picture = win::DibSection(*layout, bytes);
    if (!result.picture)
        result.reason = L"no hay memoria para la imagen";
    return result;
}

std::wstring SkinFailureMessage(const std::wstring& path, const std::wstring& reason) {
    return L"No se puede cargar la imagen de la barra de herramientas:\n" + path + L"\n(" + reason +
           L").\n\nZEV Config se cerrará.";
}

} // namespace console
