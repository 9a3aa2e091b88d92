#include "console/about.h"

#include "controls/host/property_text.h"
#include "resources/dialogs_ids.h"
#include "win/single_instance.h"
#include "win/units.h"

namespace console {
namespace {

constexpr const wchar_t* kClassName = L"ZevConfigAbout";
constexpr int kIdOK = 1;

using Single = win::SingleInstance<About>;

int Px(int twips) {
    return win::TwipsToPixels(twips);
}

const char* const kOkSettings = R"(
Skin = 0
Font = Font("Verdana", 8.25)
Caption = "Aceptar"
Enabled = True
)";

HWND Label(HWND parent, const wchar_t* text, int left, int top, int width, int height, HFONT font) {
    HWND label = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, Px(left), Px(top),
                                 Px(width), Px(height), parent, nullptr, win::ThisModule(), nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return label;
}

} // namespace

About::~About() = default;

About* About::Instance() { return Single::Instance(); }

About* About::Show() { return Single::Show(); }

void About::CloseInstance() { Single::Close(); }

bool About::Open() {
    WNDCLASSEXW wc{};
    wc.lpszClassName = kClassName;
    wc.hbrBackground = GetSysColorBrush(COLOR_INACTIVECAPTIONTEXT);
    wc.hIcon =
        static_cast<HICON>(LoadImageW(win::ThisModule(), MAKEINTRESOURCEW(IDI_ABOUT), IMAGE_ICON, 16, 16, LR_SHARED));
    wc.hIconSm = wc.hIcon;
    RegisterClassOnce(wc);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU; // fixed dialog border, no min/max boxes
    const DWORD exStyle = WS_EX_DLGMODALFRAME;
    RECT r{0, 0, Px(5805), Px(3060)};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    if (!Create(kClassName, exStyle, kCaption, style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top,
                nullptr, nullptr))
        return false;
    if (!built_) {
        DestroyWindow(hwnd_);
        return false;
    }
    // Centred on the screen's work area, as a dialog would be.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(hwnd_, nullptr, work.left + ((work.right - work.left) - (r.right - r.left)) / 2,
                 work.top + ((work.bottom - work.top) - (r.bottom - r.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    return true;
}

bool About::CreateControls() {
    LOGFONTW lf{};
    lf.lfHeight = -11; // MS Sans Serif 8.25 pt at 96 dpi: the window's default font
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy(lf.lfFaceName, L"MS Sans Serif");
    labelFont_.Reset(CreateFontIndirectW(&lf));

    // The logo in a picture box with a sunken edge: 197 x 77 pixels inside 3015 x 1215 twips.
    picIcon_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, Px(120), Px(120),
                               Px(3015), Px(1215), hwnd_, nullptr, win::ThisModule(), nullptr);
    logoOwned_.Reset(static_cast<HBITMAP>(
        LoadImageW(win::ThisModule(), MAKEINTRESOURCEW(IDB_ABOUT_LOGO), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (picIcon_ && logoOwned_)
        SendMessageW(picIcon_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logoOwned_.Get()));
    lblTitle_ = Label(hwnd_, L"ZEV Config", 3240, 120, 1725, 240, labelFont_.Get());
    lblDescription_ = Label(hwnd_, L"Vantoro\r\nwww.vantoro.example", 3240, 840, 2085, 570, labelFont_.Get());

    cmdOK.Ambient().SetBackColor(win::SystemColour(COLOR_INACTIVECAPTIONTEXT));
    cmdOK.Click = [this] { DestroyWindow(hwnd_); };
    const RECT ok{Px(4200), Px(1800), Px(4200 + 1335), Px(1800 + 375)};
    return picIcon_ && lblTitle_ && lblDescription_ &&
           cmdOK.Create(hwnd_, kIdOK, ok, *host::ParsePropertyText(kOkSettings).bag);
}

void About::PaintSeparator(HDC dc) {
    // An etched line under the title block: white, two pixels wide, with a grey line over its top.
    win::Pen white(CreatePen(PS_SOLID, 2, RGB(255, 255, 255)));
    win::Pen grey(CreatePen(PS_INSIDEFRAME, 1, RGB(128, 128, 128)));
    const int y = Px(1680);
    {
        win::SelectGuard select(dc, white.Get());
        MoveToEx(dc, Px(120), y + 1, nullptr);
        LineTo(dc, Px(5669), y + 1);
    }
    win::SelectGuard select(dc, grey.Get());
    MoveToEx(dc, Px(120), y, nullptr);
    LineTo(dc, Px(5684), y);
}

LRESULT About::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        built_ = CreateControls();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        PaintSeparator(dc);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintSeparator(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, GetSysColor(COLOR_INACTIVECAPTIONTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INACTIVECAPTIONTEXT));
    }
    }
    return Default(msg, wParam, lParam);
}

void About::OnDestroyed() { Single::Retire(this); }

} // namespace console
