#include "console/about.h"

#include "controls/host/property_text.h"
#include "resources/dialogs_ids.h"
#include "win/single_instance.h"
#include "win/dpi.h"
#include "win/units.h"

namespace console {
namespace {

constexpr const wchar_t* kClassName = L"ZevConfigAbout";
constexpr int kIdOK = 1;

using Single = win::SingleInstance<About>;

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU; // fixed dialog border, no min/max boxes
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

// Where every control goes at a dpi (design in twips).
struct Placement {
    SIZE client;
    RECT picIcon, lblTitle, lblDescription, cmdOK;
};

Placement PlaceAt(int dpi) {
    const auto rect = [dpi](int left, int top, int width, int height) {
        const auto px = [dpi](int twips) { return win::TwipsToPixels(twips, dpi); };
        return RECT{px(left), px(top), px(left) + px(width), px(top) + px(height)};
    };
    const RECT ok{win::TwipsToPixels(4200, dpi), win::TwipsToPixels(1800, dpi), win::TwipsToPixels(4200 + 1335, dpi),
                  win::TwipsToPixels(1800 + 375, dpi)};
    return Placement{{win::TwipsToPixels(5805, dpi), win::TwipsToPixels(3060, dpi)},
                     rect(120, 120, 3015, 1215),
                     rect(3240, 120, 1725, 240),
                     rect(3240, 840, 2085, 570),
                     ok};
}

const char* const kOkSettings = R"(
Skin = 0
Font = Font("Verdana", 8.25)
Caption = "Aceptar"
Enabled = True
)";

HWND Label(HWND parent, const wchar_t* text, const RECT& r, HFONT font) {
    HWND label = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, parent, nullptr, win::ThisModule(), nullptr);
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
    wc.hIcon = win::IconAt(IDI_ABOUT, 32);
    wc.hIconSm = win::IconAt(IDI_ABOUT, 16);
    RegisterClassOnce(wc);
    dpi_ = win::DpiOf(nullptr);
    const Placement at = PlaceAt(dpi_);
    const SIZE outer = win::WindowSizeForClient(at.client.cx, at.client.cy, kStyle, kExStyle, dpi_);
    if (!Create(kClassName, kExStyle, kCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, outer.cx, outer.cy, nullptr,
                nullptr))
        return false;
    if (!built_) {
        DestroyWindow(hwnd_);
        return false;
    }
    // Centred on the screen's work area, as a dialog would be; activated only once shown, when its
    // button can take the keyboard.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT r{};
    GetWindowRect(hwnd_, &r);
    SetWindowPos(hwnd_, nullptr, work.left + ((work.right - work.left) - (r.right - r.left)) / 2,
                 work.top + ((work.bottom - work.top) - (r.bottom - r.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    return true;
}

bool About::CreateControls() {
    const int sized = dpi_;
    dpi_ = win::DpiOf(hwnd_);
    const Placement at = PlaceAt(dpi_);
    // MS Sans Serif 8.25 pt: the window's default font.
    labelFont_ = win::PointFont(L"MS Sans Serif", 8.25, dpi_);

    // The logo in a picture box with a sunken edge: 197 x 77 pixels inside 3015 x 1215 twips at
    // 96 dpi. The box keeps its size (SS_CENTERIMAGE): the logo of the nearest scale sits in it.
    const RECT& pic = at.picIcon;
    picIcon_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_CENTERIMAGE,
                               pic.left, pic.top, pic.right - pic.left, pic.bottom - pic.top, hwnd_, nullptr,
                               win::ThisModule(), nullptr);
    SetLogo();
    lblTitle_ = Label(hwnd_, L"ZEV Config", at.lblTitle, labelFont_.Get());
    lblDescription_ = Label(hwnd_, L"Vantoro\r\nwww.vantoro.example", at.lblDescription, labelFont_.Get());

    cmdOK.Ambient().SetBackColor(win::SystemColour(COLOR_INACTIVECAPTIONTEXT));
    cmdOK.Click = [this] { DestroyWindow(hwnd_); };
    const bool made = picIcon_ && lblTitle_ && lblDescription_ &&
                      cmdOK.Create(hwnd_, kIdOK, at.cmdOK, *host::ParsePropertyText(kOkSettings).bag);
    win::SetIconsAt(hwnd_, IDI_ABOUT, dpi_);
    if (dpi_ != sized) // opened on a screen of another scale than the one it was sized for
        win::SizeClientAt(hwnd_, at.client, kStyle, kExStyle, dpi_);
    return made;
}

void About::SetLogo() {
    const int id = dpi_ >= 144 ? IDB_ABOUT_LOGO_144 : IDB_ABOUT_LOGO;
    win::Bitmap logo(static_cast<HBITMAP>(
        LoadImageW(win::ThisModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!picIcon_ || !logo)
        return; // the box keeps showing the old one, which must then stay
    SendMessageW(picIcon_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo.Get()));
    logoOwned_ = std::move(logo); // the old one only once the box shows the new one
}

void About::OnDpiChanged(int dpi) {
    if (dpi == dpi_)
        return;
    dpi_ = dpi;
    const Placement at = PlaceAt(dpi_);
    win::Font old = std::move(labelFont_); // released after the labels let go of it
    labelFont_ = win::PointFont(L"MS Sans Serif", 8.25, dpi_);
    for (HWND label : {lblTitle_, lblDescription_})
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.Get()), FALSE);
    win::MoveTo(picIcon_, at.picIcon);
    win::MoveTo(lblTitle_, at.lblTitle);
    win::MoveTo(lblDescription_, at.lblDescription);
    win::MoveTo(cmdOK.Hwnd(), at.cmdOK);
    cmdOK.SetDpi(dpi_);
    SetLogo();
    win::SetIconsAt(hwnd_, IDI_ABOUT, dpi_);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void About::PaintSeparator(HDC dc) {
    // An etched line under the title block: white, two pixels wide, with a grey line over its top;
    // both whole pixels wide at any scale.
    const auto px = [this](int twips) { return win::TwipsToPixels(twips, dpi_); };
    const int grey = win::LineWidthForDpi(1, dpi_), whiteWidth = win::LineWidthForDpi(2, dpi_);
    win::Pen white(CreatePen(PS_SOLID, whiteWidth, RGB(255, 255, 255)));
    win::Pen greyPen(CreatePen(PS_INSIDEFRAME, grey, RGB(128, 128, 128)));
    const int y = px(1680);
    {
        win::SelectGuard select(dc, white.Get());
        MoveToEx(dc, px(120), y + grey, nullptr);
        LineTo(dc, px(5669), y + grey);
    }
    win::SelectGuard select(dc, greyPen.Get());
    MoveToEx(dc, px(120), y, nullptr);
    LineTo(dc, px(5684), y);
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
    case WM_ACTIVATE:
    case WM_SETFOCUS:
        if (focus_.HandleMessage(hwnd_, msg, wParam))
            return 0;
        break;
    case win::kWmDpiChanged:
        OnDpiChanged(win::TakeSuggestedRect(hwnd_, wParam, lParam));
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
