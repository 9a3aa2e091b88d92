#include "finder/dispositivos.h"

#include "controls/host/property_text.h"
#include "resources/dialogs_ids.h"
#include "win/ansi_text.h"
#include "win/notify.h"
#include "win/dpi.h"
#include "win/single_instance.h"
#include "win/subclass.h"
#include "win/units.h"

#include <commctrl.h>

#include <utility>

namespace finder {
namespace {

constexpr const wchar_t* kClassName = L"ZevConfigDispositivos";
constexpr UINT_PTR kRefreshZEVTimer = 1;
constexpr UINT kTellDriverMissing = WM_APP + 1;
constexpr int kIdList = 100, kIdConectar = 101, kIdCancelar = 102;

using Single = win::SingleInstance<Dispositivos>;
bool g_toldDriverMissing = false;

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU; // fixed single border, no min/max boxes

// Where every control goes at a dpi (design in twips; the controls inside the frame are placed
// relative to it, as siblings drawn above it).
struct Placement {
    SIZE client;
    RECT frame, list, conectar, cancelar;
};

Placement PlaceAt(int dpi) {
    const auto rect = [dpi](int left, int top, int width, int height) {
        return RECT{win::TwipsToPixels(left, dpi), win::TwipsToPixels(top, dpi), win::TwipsToPixels(left + width, dpi),
                    win::TwipsToPixels(top + height, dpi)};
    };
    const auto inFrame = [&rect](int left, int top, int width, int height) {
        return rect(240 + left, 120 + top, width, height);
    };
    return Placement{{win::TwipsToPixels(5100, dpi), win::TwipsToPixels(3105, dpi)},
                     rect(240, 120, 4575, 2775),
                     inFrame(120, 360, 4335, 1815),
                     inFrame(1920, 2280, 1095, 375),
                     inFrame(3240, 2280, 1095, 375)};
}

// The two buttons as laid out at design time.
const char* const kButtonSettings = R"(
Skin = 16
ColorSchemas = 1
Font = Font("Verdana", 8.25)
BackColor = &H80000013&
BackColorOver = &H80000013&
BackColorDown = &H80000013&
BackColorCheck = &H80000013&
BackColorDisabled = &H80000013&
CaptionMargin = 10
CaptionAlign = 0
ButtonType = 0
Value = False
Enabled = True
)";

host::PropertyBag ButtonSettings(const wchar_t* caption) {
    host::PropertyBag bag = *host::ParsePropertyText(kButtonSettings).bag;
    bag.WriteString(L"Caption", caption);
    return bag;
}

} // namespace

Dispositivos::Dispositivos(FinderArgs args) : args_(std::move(args)), model_(args_.catalog) {}

Dispositivos::~Dispositivos() = default;

Dispositivos* Dispositivos::Instance() { return Single::Instance(); }

Dispositivos* Dispositivos::Show(FinderArgs args) {
    return Single::Show(std::move(args));
}

void Dispositivos::CloseInstance() { Single::Close(); }

bool Dispositivos::Open() {
    WNDCLASSEXW wc{};
    wc.lpszClassName = kClassName;
    wc.hbrBackground = GetSysColorBrush(COLOR_INACTIVECAPTIONTEXT);
    wc.hIcon = win::IconAt(IDI_FINDER, 32);
    wc.hIconSm = win::IconAt(IDI_FINDER, 16);
    RegisterClassOnce(wc);
    dpi_ = win::DpiOf(nullptr);
    const Placement at = PlaceAt(dpi_);
    const SIZE outer = win::WindowSizeForClient(at.client.cx, at.client.cy, kStyle, 0, dpi_);
    if (!Create(kClassName, 0, kCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, outer.cx, outer.cy, nullptr, nullptr))
        return false;
    if (!list_) { // the controls could not be made: no half-built window
        DestroyWindow(hwnd_);
        return false;
    }
    Form_Load();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    // The designed 1 ms interval makes the first refresh come as soon as the window runs.
    SetTimer(hwnd_, kRefreshZEVTimer, 1, nullptr);
    return true;
}

bool Dispositivos::CreateControls() {
    HINSTANCE module = win::ThisModule();
    const int sized = dpi_;
    dpi_ = win::DpiOf(hwnd_);
    const Placement at = PlaceAt(dpi_);
    MakeFonts();
    const RECT& frame = at.frame;
    frame_ = CreateWindowExW(0, L"BUTTON", L"ZEV Conectados", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX,
                             frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top, hwnd_, nullptr,
                             module, nullptr);
    SendMessageW(frame_, WM_SETFONT, reinterpret_cast<WPARAM>(frameFont_.Get()), FALSE);
    // Group boxes do not all honour a caption colour: this one paints itself.
    win::SetSubclass(frame_, &Dispositivos::FrameProc, 0, reinterpret_cast<DWORD_PTR>(this));

    const RECT& list = at.list;
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
                            list.left, list.top, list.right - list.left, list.bottom - list.top, hwnd_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdList)), module, nullptr);
    if (!frame_ || !list_)
        return false;
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_.Get()), FALSE);

    btnConectar.Ambient().SetBackColor(win::SystemColour(COLOR_INACTIVECAPTIONTEXT));
    btnCancelar.Ambient().SetBackColor(win::SystemColour(COLOR_INACTIVECAPTIONTEXT));
    btnConectar.Click = [this] { btnConectar_Click(); };
    btnCancelar.Click = [this] { btnCancelar_Click(); };
    const bool made = btnConectar.Create(hwnd_, kIdConectar, at.conectar, ButtonSettings(L"Conectar")) &&
                      btnCancelar.Create(hwnd_, kIdCancelar, at.cancelar, ButtonSettings(L"Cancelar"));
    // The frame lies under the controls it holds (new children join at the bottom of the z-order).
    SetWindowPos(frame_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    win::SetIconsAt(hwnd_, IDI_FINDER, dpi_);
    if (dpi_ != sized) // opened on a screen of another scale than the one it was sized for
        win::SizeClientAt(hwnd_, at.client, kStyle, 0, dpi_);
    return made;
}

void Dispositivos::MakeFonts() {
    frameFont_ = win::PointFont(L"MS Sans Serif", 8.25, dpi_, FW_BOLD);
    listFont_ = win::PointFont(L"MS Sans Serif", 8.25, dpi_);
}

void Dispositivos::OnDpiChanged(int dpi) {
    if (dpi == dpi_)
        return;
    dpi_ = dpi;
    const Placement at = PlaceAt(dpi_);
    win::Font oldFrame = std::move(frameFont_), oldList = std::move(listFont_); // released after the controls let go
    MakeFonts();
    SendMessageW(frame_, WM_SETFONT, reinterpret_cast<WPARAM>(frameFont_.Get()), FALSE);
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_.Get()), FALSE);
    win::MoveTo(frame_, at.frame);
    win::MoveTo(list_, at.list);
    win::MoveTo(btnConectar.Hwnd(), at.conectar);
    win::MoveTo(btnCancelar.Hwnd(), at.cancelar);
    btnConectar.SetDpi(dpi_);
    btnCancelar.SetDpi(dpi_);
    win::SetIconsAt(hwnd_, IDI_FINDER, dpi_);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The frame: an etched box with its caption in bold, in the system's highlight colour.
LRESULT CALLBACK Dispositivos::FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        PAINTSTRUCT ps{};
        HDC dc = msg == WM_PAINT ? BeginPaint(hwnd, &ps) : reinterpret_cast<HDC>(wParam);
        RECT r{};
        GetClientRect(hwnd, &r);
        FillRect(dc, &r, GetSysColorBrush(COLOR_INACTIVECAPTIONTEXT));
        wchar_t caption[64] = {};
        GetWindowTextW(hwnd, caption, 64);
        {
            win::SelectGuard font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
            TEXTMETRICW tm{};
            GetTextMetricsW(dc, &tm);
            RECT box = r;
            box.top += tm.tmHeight / 2;
            DrawEdge(dc, &box, EDGE_ETCHED, BF_RECT);
            SIZE extent{};
            GetTextExtentPoint32W(dc, caption, static_cast<int>(wcslen(caption)), &extent);
            // The caption's gap in the edge, and the caption in it, at the frame's scale.
            const int dpi = reinterpret_cast<const Dispositivos*>(self)->dpi_;
            const int gap = win::ScaleToDpi(8, dpi), indent = win::ScaleToDpi(10, dpi);
            RECT text{gap, 0, gap + extent.cx + win::ScaleToDpi(4, dpi), tm.tmHeight};
            FillRect(dc, &text, GetSysColorBrush(COLOR_INACTIVECAPTIONTEXT));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHT));
            TextOutW(dc, indent, 0, caption, static_cast<int>(wcslen(caption)));
        }
        if (msg == WM_PAINT)
            EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_NCDESTROY:
        win::RemoveSubclass(hwnd, &Dispositivos::FrameProc, 0);
        break;
    }
    return win::DefSubclass(hwnd, msg, wParam, lParam);
}

std::wstring Dispositivos::ItemText(const Item& item) {
    switch (item.kind) {
    case Item::Kind::Device:
        return win::FromAnsi(item.description) + L", NºSerie: " + win::FromAnsi(item.serialNumber);
    case Item::Kind::CountFailed:
        return kCountFailed;
    case Item::Kind::NoZev:
        break;
    }
    return kNoZev;
}

void Dispositivos::ShowItems(FinderModel::Change change) {
    const auto& items = model_.Items();
    switch (change) {
    case FinderModel::Change::None:
        return;
    case FinderModel::Change::Appended:
        // Only the new line: the user's selection stays.
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ItemText(items.back()).c_str()));
        return;
    case FinderModel::Change::Rebuilt:
        SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
        SendMessageW(list_, LB_RESETCONTENT, 0, 0);
        for (const Item& item : items)
            SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ItemText(item).c_str()));
        SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list_, nullptr, TRUE);
        return;
    }
}

void Dispositivos::Form_Load() {
    ShowItems(model_.Load());
    if (!args_.driver.IsLoaded())
        PostMessageW(hwnd_, kTellDriverMissing, 0, 0);
}

void Dispositivos::TellDriverMissingOnce() {
    // Without the driver every refresh fails: say why once, not once a second.
    if (g_toldDriverMissing)
        return;
    g_toldDriverMissing = true;
    win::ShowMessage(hwnd_,
                     L"No se ha podido cargar el controlador FTDI D2XX (FTD2XX.DLL): " + args_.driver.Failure() +
                         L".\nInstale el controlador FTDI D2XX y vuelva a iniciar ZEV Config.",
                     L"ZEV Config", MB_ICONEXCLAMATION | MB_OK);
}

void Dispositivos::RefreshZEVTimer_Timer() {
    SetTimer(hwnd_, kRefreshZEVTimer, 1000, nullptr);
    ShowItems(model_.Refresh());
}

void Dispositivos::btnConectar_Click() {
    SelectedDevice = -1;
    const int count = static_cast<int>(SendMessageW(list_, LB_GETCOUNT, 0, 0));
    const int selected = static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0));
    const int chosen = FinderModel::ChooseForConnect(count, selected);
    if (count == 1)
        SendMessageW(list_, LB_SETCURSEL, 0, 0);
    if (chosen < 0) {
        win::ShowMessage(hwnd_, L"Debe seleccionar un dispositivo", L"ZEV Config", MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    SelectedDevice = static_cast<short>(chosen);
    const auto& items = model_.Items();
    // The list box mirrors the model; an item beyond it, or a message line, names no device.
    if (static_cast<size_t>(chosen) >= items.size() || items[static_cast<size_t>(chosen)].kind != Item::Kind::Device) {
        win::ShowMessage(hwnd_, L"No hay ningún dispositivo ZEV al que conectar.", L"ZEV Config",
                         MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    const Item item = items[static_cast<size_t>(chosen)];
    if (!args_.link.OpenLink(item.serialNumber))
        return; // nothing is shown; the user may try again
    const std::function<void()> closeFinder = [this] { Unload(); };
    if (args_.linkOpened)
        args_.linkOpened(ItemText(item), closeFinder);
    else
        closeFinder();
}

void Dispositivos::btnCancelar_Click() { Unload(); }

void Dispositivos::Unload() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

LRESULT Dispositivos::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        if (!CreateControls())
            list_ = nullptr;
        return 0;
    case WM_TIMER:
        if (wParam == kRefreshZEVTimer)
            RefreshZEVTimer_Timer();
        return 0;
    case win::kWmDpiChanged:
        OnDpiChanged(win::TakeSuggestedRect(hwnd_, wParam, lParam));
        return 0;
    case WM_ACTIVATE:
    case WM_SETFOCUS:
        if (focus_.HandleMessage(hwnd_, msg, wParam))
            return 0;
        break;
    case kTellDriverMissing:
        TellDriverMissingOnce();
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd_, kRefreshZEVTimer);
        return 0;
    }
    return Default(msg, wParam, lParam);
}

void Dispositivos::OnDestroyed() { Single::Retire(this); }

} // namespace finder
