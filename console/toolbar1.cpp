#include "console/toolbar1.h"

#include "console/console_ids.h"
#include "win/gdi.h"

namespace console {

const ToolButton kToolButtons[4] = {
    {L"Boton1", L"Dispositivos", IDB_TOOL_DISPOSITIVOS},
    {L"Boton2", L"Desconectar", IDB_TOOL_DESCONECTAR},
    {L"Boton3", L"Borrar     ", IDB_TOOL_BORRAR},
    {L"Boton4", L"Acerca de  ", IDB_TOOL_ACERCA},
};

namespace {
constexpr int kImageSize = 32;
constexpr COLORREF kImageMask = RGB(255, 0, 255); // the images' transparent colour
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

bool Toolbar1::Create(HWND parent, int id, int width, int height) {
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
    if (!toolbar_ || !LoadImages())
        return false;
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

bool Toolbar1::LoadImages() {
    images_ = ImageList_Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, 4, 0);
    if (!images_)
        return false;
    for (const ToolButton& b : kToolButtons) {
        win::Bitmap bitmap(static_cast<HBITMAP>(
            LoadImageW(win::ThisModule(), MAKEINTRESOURCEW(b.bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (!bitmap || ImageList_AddMasked(images_, bitmap.Get(), kImageMask) < 0)
            return false;
    }
    return true;
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
