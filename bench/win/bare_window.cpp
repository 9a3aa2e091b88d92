// The floor the program is measured against: a bare window of the same platform controls and size as
// the main window (a common-controls v6 toolbar with four 32 x 32 image buttons, a multi-line edit
// box, four push buttons), the same manifest, and nothing else: no skins, no status bar, no timers.
#include <windows.h>
#include <commctrl.h>

namespace {

constexpr wchar_t kClass[] = L"ZevBareWindow";

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void AddToolbar(HWND parent, HINSTANCE module) {
    HWND bar = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_NODIVIDER, 0, 0,
                               488, 56, parent, nullptr, module, nullptr);
    HIMAGELIST images = ImageList_Create(32, 32, ILC_COLOR24 | ILC_MASK, 4, 0);
    HDC screen = GetDC(nullptr);
    for (int i = 0; i < 4; ++i) {
        HBITMAP image = CreateCompatibleBitmap(screen, 32, 32);
        ImageList_AddMasked(images, image, RGB(255, 0, 255));
        DeleteObject(image);
    }
    ReleaseDC(nullptr, screen);
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    const wchar_t* captions[4] = {L"Uno", L"Dos", L"Tres", L"Cuatro"};
    TBBUTTON buttons[4] = {};
    for (int i = 0; i < 4; ++i) {
        buttons[i].iBitmap = i;
        buttons[i].idCommand = 100 + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON;
        buttons[i].iString = reinterpret_cast<INT_PTR>(captions[i]);
    }
    SendMessageW(bar, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons));
}

} // namespace

int WINAPI wWinMain(HINSTANCE module, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT r{0, 0, 488, 538};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    HWND hwnd = CreateWindowExW(0, kClass, L"Ventana base", style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                                r.bottom - r.top, nullptr, nullptr, module, nullptr);
    AddToolbar(hwnd, module);
    CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L">",
                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY, 16, 64, 457, 409,
                    hwnd, nullptr, module, nullptr);
    for (int i = 0; i < 4; ++i)
        CreateWindowExW(0, L"BUTTON", L"Comando", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 8 + 120 * i, 488, 113, 25,
                        hwnd, nullptr, module, nullptr);
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
