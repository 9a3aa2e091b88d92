// ZEV Config entry point.
#include "console/app_context.h"
#include "win/notify.h"
#include "win/units.h"
#include "win/window_base.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace {

std::wstring FromAnsi(const std::string& bytes) {
    if (bytes.empty())
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

// The first window of the program: lists the attached D2XX devices once a second.
class StartWindow : public win::Window {
public:
    explicit StartWindow(console::AppContext& app) : app_(app) {}

    bool Open() {
        WNDCLASSEXW wc{};
        wc.lpszClassName = L"ZEVConfigStart";
        wc.hbrBackground = GetSysColorBrush(COLOR_INACTIVECAPTIONTEXT);
        RegisterClassOnce(wc);
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
        RECT r{0, 0, win::TwipsToPixels(7320), win::TwipsToPixels(3000)};
        AdjustWindowRectEx(&r, style, FALSE, 0);
        if (!Create(L"ZEVConfigStart", 0, L"ZEV Config  -  Vantoro ", style, CW_USEDEFAULT, CW_USEDEFAULT,
                    r.right - r.left, r.bottom - r.top, nullptr, nullptr))
            return false;
        ShowWindow(hwnd_, SW_SHOW);
        return true;
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_CREATE: {
            RECT client{};
            GetClientRect(hwnd_, &client);
            list_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 8, 8,
                                    client.right - 16, client.bottom - 16, hwnd_, nullptr, win::ThisModule(), nullptr);
            SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
            Refresh();
            SetTimer(hwnd_, 1, 1000, nullptr);
            return 0;
        }
        case WM_TIMER:
            Refresh();
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd_, 1);
            PostQuitMessage(0);
            return 0;
        }
        return Default(msg, wParam, lParam);
    }

private:
    void Refresh() {
        SendMessageW(list_, LB_RESETCONTENT, 0, 0);
        if (!app_.driver.IsLoaded()) {
            AddLine(L"Controlador FTDI D2XX no disponible: " + app_.driver.Failure());
            return;
        }
        if (!app_.catalog.EnumerateDevices()) {
            AddLine(L"FT_GetNumDevices failed");
            return;
        }
        for (int i = 0; i < app_.catalog.lNumDevices; ++i)
            AddLine(FromAnsi(devlink::FieldText(app_.catalog.sDescriptions[static_cast<size_t>(i)])) + L", NºSerie: " +
                    FromAnsi(devlink::FieldText(app_.catalog.sSerialNumbers[static_cast<size_t>(i)])));
        if (app_.catalog.lNumDevices == 0)
            AddLine(L"No se ha encontrado ningún ZEV");
    }
    void AddLine(const std::wstring& text) {
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    console::AppContext& app_;
    HWND list_ = nullptr;
};

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The driver and every other library come only from the program's folder or System32.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    console::AppContext app;
    StartWindow window(app);
    if (!window.Open()) {
        win::ShowMessage(nullptr, L"No se pudo crear la ventana principal.", L"ZEV Config", MB_ICONERROR | MB_OK);
        return 1;
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
