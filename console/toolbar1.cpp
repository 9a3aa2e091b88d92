#include "console/toolbar1.h"

#include "console/console_ids.h"
#include "win/gdi.h"
#include "win/units.h"

#include <utility>

namespace console {

const ToolButton kToolButtons[4] = {
    {L"Boton1", L"Dispositivos", IDB_TOOL_DISPOSITIVOS, IDB_TOOL_DISPOSITIVOS_48},
    {L"Boton2", L"Desconectar", IDB_TOOL_DESCONECTAR, IDB_TOOL_DESCONECTAR_48},
    {L"Boton3", L"Borrar     ", IDB_TOOL_BORRAR, IDB_TOOL_BORRAR_48},
    {L"Boton4", L"Acerca de  ", IDB_TOOL_ACERCA, IDB_TOOL_ACERCA_48},
};

namespace {
constexpr int kImageSize = 32, kLargeImageSize = 48;
constexpr COLORREF kImageMask = RGB(255, 0, 255); // the images' transparent colour

// The toolbar's own font (the icon titles'), at the toolbar's dpi rather than the screen's.
win::Font ToolbarFont(int dpi) {
    LOGFONTW lf{};
    if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0))
        return {};
    win::WindowDc screen(nullptr);
    const int systemDpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : win::kDefaultDpi;
    lf.lfHeight = MulDiv(lf.lfHeight, dpi, systemDpi > 0 ? systemDpi : win::kDefaultDpi);
    return win::Font(CreateFontIndirectW(&lf));
}

// An image of size x size from the drawn one nearest above it (or the largest), scaled pixel by pixel
// where the sizes differ so the transparent colour stays exact.
win::Bitmap ToolImage(const ToolButton& b, int size) {
    const bool large = size > kImageSize;
    const int drawn = large ? kLargeImageSize : kImageSize;
    win::Bitmap bitmap(static_cast<HBITMAP>(LoadImageW(win::ThisModule(), MAKEINTRESOURCEW(large ? b.largeBitmapId : b.bitmapId),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!bitmap || size == drawn)
        return bitmap;
    win::Bitmap scaled;
    {
        win::WindowDc screen(nullptr);
        scaled.Reset(CreateCompatibleBitmap(screen.Get(), size, size));
    }
    HDC source = CreateCompatibleDC(nullptr), dest = CreateCompatibleDC(nullptr);
    if (scaled && source && dest) {
        // Both leave their contexts before the image list reads them.
        win::SelectGuard from(source, bitmap.Get());
        win::SelectGuard to(dest, scaled.Get());
        SetStretchBltMode(dest, COLORONCOLOR);
        StretchBlt(dest, 0, 0, size, size, source, 0, 0, drawn, drawn, SRCCOPY);
    }
    for (HDC dc : {source, dest})
        if (dc)
            DeleteDC(dc);
    return source && dest ? std::move(scaled) : win::Bitmap();
}

} // namespace

Toolbar1::~Toolbar1() {
    // The toolbar does not own its image list, and must be gone before the list is.
    if (hwnd_)
        DestroyWindow(hwnd_);
    if (images_)
        ImageList_Destroy(images_);
}

int Toolbar1::CommandOf(int index) {
    return IDC_TOOL_FIRST + index;
}

bool Toolbar1::Create(HWND parent, int id, int width, int height, int dpi) {
    WNDCLASSEXW wc{};
    wc.lpszClassName = L"ZevToolbar1";
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassOnce(wc);
    if (!win::Window::Create(L"ZevToolbar1", 0, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                             width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
        return false;

    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN,
                               0, 0, width, height, hwnd_, nullptr, win::ThisModule(), nullptr);
    images_ = toolbar_ ? MakeImages(dpi) : nullptr;
    if (!images_)
        return false;
    font_ = MakeFont(dpi);
    if (font_)
        SendMessageW(toolbar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
    SendMessageW(toolbar_, TB_SETMAXTEXTROWS, 1, 0);
    TBBUTTON buttons[4] = {};
    for (int i = 0; i < 4; ++i) {
        buttons[i].iBitmap = i;
        buttons[i].idCommand = CommandOf(i + 1);
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON;
        buttons[i].dwData = static_cast<DWORD_PTR>(i + 1);
        buttons[i].iString = reinterpret_cast<INT_PTR>(kToolButtons[i].caption);
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons));
    return true;
}

bool Toolbar1::SetDpi(int dpi, int width, int height) {
    HIMAGELIST images = MakeImages(dpi);
    if (!images)
        return false;
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    ImageList_Destroy(std::exchange(images_, images)); // the toolbar holds the new one now
    // The old font goes only once the toolbar has let go of it: kept while no new one could be made.
    if (win::Font font = MakeFont(dpi)) {
        SendMessageW(toolbar_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
        font_ = std::move(font);
    }
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    SetWindowPos(toolbar_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    RedrawWindow(toolbar_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    return true;
}

win::Font Toolbar1::MakeFont(int dpi) const {
    return ToolbarFont(dpi);
}

HIMAGELIST Toolbar1::MakeImages(int dpi) const {
    const int size = win::ScaleToDpi(kImageSize, dpi);
    HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 4, 0);
    if (!images)
        return nullptr;
    for (const ToolButton& b : kToolButtons) {
        win::Bitmap bitmap = ToolImage(b, size);
        if (!bitmap || ImageList_AddMasked(images, bitmap.Get(), kImageMask) < 0) {
            ImageList_Destroy(images);
            return nullptr;
        }
    }
    return images;
}

void Toolbar1::EnableButton(int index, bool enabled) {
    SendMessageW(toolbar_, TB_ENABLEBUTTON, static_cast<WPARAM>(CommandOf(index)), MAKELPARAM(enabled ? 1 : 0, 0));
}

bool Toolbar1::IsButtonEnabled(int index) const {
    return SendMessageW(toolbar_, TB_ISBUTTONENABLED, static_cast<WPARAM>(CommandOf(index)), 0) != 0;
}

LRESULT Toolbar1::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == toolbar_) {
            const int index = LOWORD(wParam) - IDC_TOOL_FIRST;
            // A disabled button never counts as clicked, however the command arrived.
            if (index >= 1 && index <= 4 && IsButtonEnabled(index) && ButtonClick)
                ButtonClick(kToolButtons[index - 1].key);
            return 0;
        }
        break;
    }
    return Default(msg, wParam, lParam);
}

} // namespace console
