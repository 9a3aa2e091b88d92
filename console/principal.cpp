#include "console/principal.h"

#include "console/clock_text.h"
#include "console/console_ids.h"
#include "console/file_to_send.h"
#include "console/receive_pump.h"
#include "console/session_file_name.h"
#include "console/skin_file.h"
#include "resources/dialogs_ids.h"
#include "win/ansi_text.h"
#include "win/clipboard.h"
#include "win/dpi.h"
#include "win/file_dialog.h"
#include "win/file_io.h"
#include "win/notify.h"
#include "win/program_folder.h"
#include "win/units.h"

#include <commctrl.h>

#include <optional>
#include <utility>

namespace console {

using win::SystemAnsiTable;
using win::ToAnsi;

namespace {

constexpr wchar_t kClassName[] = L"ZevPrincipal";
constexpr wchar_t kCaption[] = L"ZEV Config  -  Vantoro ";
constexpr wchar_t kTitle[] = L"ZEV Config";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN; // fixed, no min/max boxes

constexpr UINT_PTR kTimerHora = 1;
constexpr UINT_PTR kTimerRx = 2;
constexpr UINT_PTR kTimerReconnect = 3;
constexpr UINT kTimerHoraMs = 1000;
constexpr UINT kTimerRxMs = 100;

// The layout, in twips.
constexpr int kClientWidth = 7320, kClientHeight = 8070;
constexpr int kToolbarHeight = 840;
constexpr RECT kFrame1{120, 720, 120 + 7095, 720 + 6495};
constexpr RECT kConsoleInFrame{120, 240, 120 + 6855, 240 + 6135};
constexpr int kCommand1Left[4] = {120, 1920, 3720, 5520};
constexpr int kCommand1Top = 7320, kCommand1Width = 1695, kCommand1Height = 375;
constexpr int kStatusTop = 7815, kStatusHeight = 255;
const wchar_t* const kCommand1Captions[4] = {L"SCAN", L"STATUS", L"LIST", L"HELP"};

// Where every control goes at a dpi: one rule for every display scale (15 twips a pixel at 96 dpi).
struct Placement {
    SIZE client;
    int toolbarHeight;
    RECT console;
    RECT command1[4];
    RECT statusBar;
    RECT frame1;
};

Placement PlaceAt(int dpi) {
    const auto px = [dpi](int twips) { return win::TwipsToPixels(twips, dpi); };
    const auto rect = [&px](int left, int top, int width, int height) {
        return RECT{px(left), px(top), px(left) + px(width), px(top) + px(height)};
    };
    Placement p{};
    p.client = {px(kClientWidth), px(kClientHeight)};
    p.toolbarHeight = px(kToolbarHeight);
    p.console = rect(kFrame1.left + kConsoleInFrame.left, kFrame1.top + kConsoleInFrame.top,
                     kConsoleInFrame.right - kConsoleInFrame.left, kConsoleInFrame.bottom - kConsoleInFrame.top);
    for (int i = 0; i < 4; ++i)
        p.command1[i] = rect(kCommand1Left[i], kCommand1Top, kCommand1Width, kCommand1Height);
    p.statusBar = rect(0, kStatusTop, kClientWidth, kStatusHeight);
    p.frame1 = rect(kFrame1.left, kFrame1.top, kFrame1.right - kFrame1.left, kFrame1.bottom - kFrame1.top);
    return p;
}

Principal* g_instance = nullptr;

} // namespace

Principal::Principal(AppContext& app, PrincipalOptions options) : app_(app), options_(std::move(options)) {}

Principal::~Principal() {
    // Destroyed while still bound, so the window unloads as if it had been closed.
    if (hwnd_)
        DestroyWindow(hwnd_);
}

Principal* Principal::Instance() {
    return g_instance;
}

bool Principal::Open(int showCommand) {
    if (g_instance)
        return false; // the main window exists once
    // The skin is read before anything is built: without it start-up stops, and nothing half-made
    // is left on the screen.
    skinPath_ = SkinFilePath(options_.programFolder.empty() ? win::ProgramFolder() : options_.programFolder);
    SkinLoadResult skin = LoadSkinPicture(skinPath_);
    if (!skin.picture) {
        win::ShowMessage(nullptr, SkinFailureMessage(skinPath_, skin.reason), kTitle, MB_ICONERROR | MB_OK);
        return false;
    }
    skinPicture_ = std::move(skin.picture);
    ansi_ = SystemAnsiTable();

    WNDCLASSEXW wc{};
    wc.lpszClassName = kClassName;
    wc.style = 0;
    wc.hbrBackground = GetSysColorBrush(COLOR_INACTIVECAPTIONTEXT);
    wc.hIcon = win::IconAt(IDI_PRINCIPAL, 32);
    wc.hIconSm = win::IconAt(IDI_PRINCIPAL, 16);
    RegisterClassOnce(wc);

    // Sized for the screen's dpi; a window that opens on a screen of another scale lays itself out
    // again once it knows its own (WM_CREATE).
    dpi_ = win::DpiOf(nullptr);
    const Placement at = PlaceAt(dpi_);
    const SIZE outer = win::WindowSizeForClient(at.client.cx, at.client.cy, kStyle, 0, dpi_);
    g_instance = this;
    if (!Create(kClassName, 0, kCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, outer.cx, outer.cy, nullptr, nullptr)) {
        g_instance = nullptr;
        skinPicture_.Reset();
        win::ShowMessage(nullptr, L"No se pudo crear la ventana principal.", kTitle, MB_ICONERROR | MB_OK);
        return false;
    }
    // Only a window that was built ends the program when it goes: a pending quit would close the
    // message box above before the user could read it.
    opened_ = true;
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    return true;
}

bool Principal::CreateControls() {
    const int created = dpi_;
    dpi_ = win::DpiOf(hwnd_);
    const Placement at = PlaceAt(dpi_);
    MakeFonts();
    consoleBrush_.Reset(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
    const HINSTANCE module = win::ThisModule();

    // Created top of the z-order first: the frame overlaps the toolbar's lower edge and lies
    // under the console it surrounds.
    if (!toolbar_.Create(hwnd_, IDC_TOOLBAR1, at.client.cx, at.toolbarHeight, dpi_))
        return false;
    toolbar_.ButtonClick = [this](const std::wstring& key) { Toolbar1_ButtonClick(key); };

    if (!console_.Create(hwnd_, IDC_TXTCONSOLE, at.console, consoleFont_.Get()))
        return false;
    console_.KeyPress = [this](wchar_t c) { txtConsole_KeyPress(c); };
    console_.ContextMenu = [this](POINT at) { ShowConsoleMenu(at); };

    for (int i = 0; i < 4; ++i) {
        const RECT& r = at.command1[i];
        command1_[static_cast<std::size_t>(i)] = CreateWindowExW(
            0, L"BUTTON", kCommand1Captions[i], WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON,
            r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_COMMAND1_FIRST + i)), module, nullptr);
        if (!command1_[static_cast<std::size_t>(i)])
            return false;
        SendMessageW(command1_[static_cast<std::size_t>(i)], WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_.Get()),
                     FALSE);
    }

    // Docked at the bottom, spanning the window.
    statusbar::SkinStatusBar::CreateArgs bar;
    bar.parent = hwnd_;
    bar.x = at.statusBar.left;
    bar.y = at.statusBar.top;
    bar.width = at.statusBar.right - at.statusBar.left;
    bar.height = at.statusBar.bottom - at.statusBar.top;
    bar.dpi = dpi_;
    if (!statusBar1_.Create(bar))
        return false;

    const RECT& frame = at.frame1;
    frame1_ = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, frame.left,
                              frame.top, frame.right - frame.left, frame.bottom - frame.top, hwnd_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FRAME1)), module, nullptr);
    if (!frame1_)
        return false;
    SetIcons();
    if (dpi_ != created) // opened on a screen of another scale than the one it was sized for
        win::SizeClientAt(hwnd_, at.client, kStyle, 0, dpi_);
    return true;
}

void Principal::MakeFonts() {
    consoleFont_ = win::PointFont(L"Courier New", 8.25, dpi_, FW_NORMAL, FIXED_PITCH | FF_MODERN);
    buttonFont_ = win::PointFont(L"Courier New", 9.75, dpi_, FW_NORMAL, FIXED_PITCH | FF_MODERN);
}

void Principal::SetIcons() {
    // The title bar and the task switcher want the icon at the window's own scale.
    win::SetIconsAt(hwnd_, IDI_PRINCIPAL, dpi_);
}

void Principal::OnDpiChanged(int dpi) {
    if (dpi == dpi_)
        return;
    dpi_ = dpi;
    const Placement at = PlaceAt(dpi_);
    // The new fonts go to the controls before the old ones are released.
    win::Font oldConsole = std::move(consoleFont_), oldButton = std::move(buttonFont_);
    MakeFonts();
    toolbar_.SetDpi(dpi_, at.client.cx, at.toolbarHeight);
    if (toolbarSkin_)
        toolbarSkin_->SetDpi(dpi_);
    SendMessageW(console_.Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(consoleFont_.Get()), FALSE);
    win::MoveTo(console_.Hwnd(), at.console);
    for (int i = 0; i < 4; ++i) {
        SendMessageW(command1_[static_cast<std::size_t>(i)], WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_.Get()),
                     FALSE);
        win::MoveTo(command1_[static_cast<std::size_t>(i)], at.command1[i]);
    }
    win::MoveTo(statusBar1_.Hwnd(), at.statusBar);
    ScaleStatusBar();
    waitTip_.Retarget(statusBar1_.PanelLabel(kPanelState)); // the panels' labels were made again
    win::MoveTo(frame1_, at.frame1);
    SetIcons();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Principal::ScaleStatusBar() {
    statusBar1_.SetDpi(dpi_); // its panels again at the new scale, in its new fonts
    // Texts do not scale exactly with the panels: the clock's room is worked out again.
    const statusbar::PanelTable& shown = statusBar1_.Panels();
    if (shown.Count() != 3)
        return;
    const StartPanelWidths widths = ClockPanelWidths(statusBar1_, LocalNow().wYear);
    if (widths == StartPanelWidths{shown.At(1).Width, shown.At(2).Width, shown.At(3).Width})
        return;
    const std::wstring state = shown.At(kPanelState).Text, date = shown.At(kPanelDate).Text,
                       time = shown.At(kPanelTime).Text;
    statusBar1_.ClearPanels();
    AddPanels(panels_, state, date, time, widths);
}

void Principal::Load() {
    // The toolbar is painted from the skin picture, texts right of the images; at close it is
    // unhooked before anything else goes.
    toolbarSkin_ = std::make_unique<toolbarskin::ToolbarSkin>();
    toolbarSkin_->SubClassToolBar(toolbar_.Hwnd(), true);
    toolbarSkin_->SetSkinPicture(skinPicture_.Get());
    Unloading = [this, then = std::move(Unloading)] {
        if (toolbarSkin_)
            toolbarSkin_->UnSubClassToolBar(false);
        toolbarSkin_.reset(); // lets go of the skin picture
        if (then)
            then();
    };
    const SYSTEMTIME now = LocalNow();
    AddStartPanels(panels_, ShortDateText(now), LongTimeText(now), ClockPanelWidths(statusBar1_, now.wYear));
    toolbar_.EnableButton(3, false); // nothing to clear before a connection
    ResetConsole();
    SetTimer(hwnd_, kTimerHora, kTimerHoraMs, nullptr);
}

void Principal::Unload() {
    if (Unloading)
        Unloading();
    // The console is enabled once a link was opened; LinkState never closes a closed link again.
    if (ConsoleEnabled())
        app_.link.CloseLink();
}

HWND Principal::Command1(int index) const {
    return index >= 0 && index < 4 ? command1_[static_cast<std::size_t>(index)] : nullptr;
}

void Principal::habilitarBotones(bool habilitado) {
    toolbar_.EnableButton(1, !habilitado);
    toolbar_.EnableButton(3, habilitado);
    for (HWND button : command1_)
        EnableWindow(button, habilitado ? TRUE : FALSE);
}

void Principal::EnableConsole() {
    EnableWindow(console_.Hwnd(), TRUE);
}

bool Principal::ConsoleEnabled() const {
    return console_.Hwnd() && IsWindowEnabled(console_.Hwnd());
}

void Principal::EnableTimerRx() {
    if (!timerRxArmed_ && SetTimer(hwnd_, kTimerRx, kTimerRxMs, nullptr))
        timerRxEnabled_ = timerRxArmed_ = true;
}

void Principal::ResetConsole(bool giveFocus) {
    console_.SetText(L">");
    log_.Reset(">"); // the session starts again
    if (giveFocus)
        SetFocus(console_.Hwnd());
}

void Principal::TakeOverLink(const std::wstring& itemText, const std::function<void()>& closeFinder) {
    StopWaiting(); // connected through the finder: to this device or another one
    connectedItem_ = itemText;
    LinkOpened(closeFinder, false);
}

void Principal::LinkOpened(const std::function<void()>& closeFinder, bool keepConsole) {
    ShowConnected(panels_, connectedItem_);
    habilitarBotones(true);
    EnableConsole();
    EnableTimerRx();
    // The finder is gone before the console takes the focus and the device is first written to.
    if (closeFinder)
        closeFinder();
    if (!keepConsole)
        ResetConsole();
    SetFocus(console_.Hwnd());
    Command1_Click(2); // "LIST"
}

void Principal::Command1_Click(short Index) {
    if (Index < 0 || Index >= 4)
        return;
    // The caption is read from the button each time: it is the command.
    wchar_t caption[256] = {};
    GetWindowTextW(command1_[static_cast<std::size_t>(Index)], caption, 256);
    Send(ToAnsi(caption) + '\r');
    SetFocus(console_.Hwnd());
}

void Principal::Toolbar1_ButtonClick(const std::wstring& key) {
    if (key == L"Boton1") {
        if (ShowFinder)
            ShowFinder();
    } else if (key == L"Boton2") {
        Disconnect();
    } else if (key == L"Boton3") {
        ResetConsole(); // nothing goes to the device
    } else if (key == L"Boton4") {
        if (ShowAbout)
            ShowAbout();
    }
}

void Principal::Disconnect() {
    StopWaiting();
    LinkLost(false);
}

void Principal::LinkLost(bool deviceGone) {
    sender_.Cancel();
    habilitarBotones(false);
    app_.link.CloseLink();
    ShowDisconnected(panels_);
    if (deviceGone)
        WaitForDevice();
}

void Principal::WaitForDevice() {
    reconnect_.DeviceGone(app_.link.SerialNumber(), Now());
    if (!reconnect_.Waiting() || !SetTimer(hwnd_, kTimerReconnect, ReconnectPolicy::kAttemptEveryMs, nullptr))
        return;
    const SYSTEMTIME now = LocalNow();
    waitTip_.Set(hwnd_, statusBar1_.PanelLabel(kPanelState),
                 console::WaitingTip(win::FromAnsi(reconnect_.Serial()), now.wHour, now.wMinute));
}

void Principal::StopWaiting() {
    reconnect_.Stop();
    if (hwnd_)
        KillTimer(hwnd_, kTimerReconnect);
    waitTip_.Clear();
}

void Principal::TimerReconnect_Timer() {
    if (app_.link.IsOpen()) { // connected meanwhile: opening the device would close that link
        StopWaiting();
        return;
    }
    switch (reconnect_.Tick(Now(), FinderOpen && FinderOpen())) {
    case ReconnectPolicy::Action::None:
        return;
    case ReconnectPolicy::Action::GiveUp:
        StopWaiting();
        return;
    case ReconnectPolicy::Action::Try:
        break;
    }
    // Opened by its serial number as the finder opens it; the finder's list and snapshot stay as they are.
    d2xx::FT_STATUS status = d2xx::FT_OK;
    const bool opened = app_.link.OpenLink(reconnect_.Serial(), &status);
    reconnect_.Tried(opened, status);
    if (reconnect_.Waiting())
        return;
    StopWaiting();
    if (opened)
        LinkOpened(nullptr, true); // the session goes on
}

void Principal::Send(const std::string& bytes) {
    // A closed link sends nothing and makes no driver call; an empty paste has nothing to send.
    if (!app_.link.IsOpen() || bytes.empty())
        return;
    d2xx::DWORD written = 0;
    const d2xx::FT_STATUS status = app_.link.Write(bytes.data(), static_cast<d2xx::DWORD>(bytes.size()), &written);
    if (status != d2xx::FT_OK) {
        // The link is of no further use. Say so, and let the user connect again, rather than keep
        // showing a connection that is gone. Unplugged as a key went out, the device is waited for;
        // one still there that refused the write is not.
        d2xx::DWORD queued = 0;
        LinkLost(MeansDeviceGone(app_.link.GetQueueStatus(&queued)));
    }
}

void Principal::txtConsole_KeyPress(wchar_t KeyAscii) {
    constexpr wchar_t kCtrlV = 22;
    if (KeyAscii == kCtrlV) {
        PasteClipboard();
        return;
    }
    // Every key, control characters included: Enter is CR alone, Backspace 0x08, Escape 0x1B.
    Send(ToAnsi(std::wstring_view(&KeyAscii, 1)));
}

void Principal::PasteClipboard() {
    Send(ToAnsi(win::ClipboardText(hwnd_))); // one write, however long; no CR added
}

void Principal::ShowConsoleMenu(POINT at) {
    struct Menu {
        HMENU handle = CreatePopupMenu();
        ~Menu() { DestroyMenu(handle); }
    } menu;
    const auto add = [&](ConsoleCommand command, const wchar_t* text) {
        AppendMenuW(menu.handle, MF_STRING | (CommandEnabled(command) ? MF_ENABLED : MF_GRAYED),
                    static_cast<UINT_PTR>(command), text);
    };
    add(ConsoleCommand::CopyAll, L"Copiar todo");
    add(ConsoleCommand::SaveAs, L"Guardar como…");
    if (sender_.Active())
        add(ConsoleCommand::CancelSend, L"Cancelar envío"); // Escape is a key for the device
    else
        add(ConsoleCommand::SendFile, L"Enviar archivo…");
    AppendMenuW(menu.handle, MF_SEPARATOR, 0, nullptr);
    add(ConsoleCommand::Clear, L"Borrar");
    const auto chosen = static_cast<UINT>(
        TrackPopupMenuEx(menu.handle, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, at.x, at.y, hwnd_, nullptr));
    if (chosen && hwnd_) // the window may have gone while the menu was open
        ConsoleMenu_Click(static_cast<ConsoleCommand>(chosen));
}

bool Principal::CommandEnabled(ConsoleCommand command) const {
    switch (command) {
    case ConsoleCommand::CopyAll:
    case ConsoleCommand::SaveAs:
        return true;
    case ConsoleCommand::SendFile:
        return app_.link.IsOpen() && !sender_.Active();
    case ConsoleCommand::CancelSend:
        return sender_.Active();
    case ConsoleCommand::Clear:
        return toolbar_.IsButtonEnabled(3); // with the toolbar's
    }
    return false;
}

void Principal::ConsoleMenu_Click(ConsoleCommand command) {
    if (!CommandEnabled(command))
        return;
    switch (command) {
    case ConsoleCommand::CopyAll:
        CopyAll();
        break;
    case ConsoleCommand::SaveAs:
        SaveAs();
        break;
    case ConsoleCommand::SendFile:
        SendFile();
        break;
    case ConsoleCommand::CancelSend:
        sender_.Cancel();
        ShowConnected(panels_, connectedItem_);
        break;
    case ConsoleCommand::Clear:
        Toolbar1_ButtonClick(L"Boton3");
        break;
    }
}

void Principal::CopyAll() {
    // The clipboard takes the text as the console showed it, not only the part it still holds.
    if (!win::SetClipboardText(hwnd_, DecodeAnsi(log_.Text(), ansi_)))
        win::ShowMessage(hwnd_, L"No se ha podido copiar el texto al portapapeles: lo está usando otro programa.",
                         kTitle, MB_ICONEXCLAMATION | MB_OK);
}

void Principal::SaveAs() {
    const SYSTEMTIME t = LocalNow();
    const ClockSample now{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    const std::wstring serial = app_.link.IsOpen() ? win::FromAnsi(app_.link.SerialNumber()) : std::wstring();
    const std::optional<std::wstring> path =
        win::AskForFile({win::FileDialog::Kind::Save, hwnd_, win::DocumentsFolder(), SessionFileName(serial, now)});
    if (!path)
        return;
    const std::string bytes =
        log_.FileBytes(ToAnsi(L"[El principio de la sesión no se guardó: solo se conservan sus últimos 16 MiB]"));
    const std::wstring failed = win::WriteFileReplacing(*path, bytes);
    if (!failed.empty())
        win::ShowMessage(hwnd_, L"No se ha podido guardar la sesión en " + *path + L":\n" + failed, kTitle,
                         MB_ICONERROR | MB_OK);
}

void Principal::SendFile() {
    const std::optional<std::wstring> path =
        win::AskForFile({win::FileDialog::Kind::Open, hwnd_, win::DocumentsFolder(), {}});
    if (!path)
        return;
    const win::FileRead read = win::ReadFileUpTo(*path, kMaxFileToSend);
    FileToSend file = DecodeFileToSend(read.bytes, ansi_);
    if (!read.error.empty() || file.problem != FileToSend::Problem::None) {
        win::ShowMessage(
            hwnd_, read.error.empty() ? RefusalText(file) : L"No se ha podido leer " + *path + L":\n" + read.error,
            kTitle, MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    if (!app_.link.IsOpen())
        return; // the link went while the user chose the file
    sender_.Start(std::move(file.lines));
    PumpSender();
}

void Principal::PumpSender() {
    if (!sender_.Active())
        return;
    if (const std::optional<std::string> line = sender_.Due(Now())) {
        Send(*line);
        if (sender_.Active()) // a failed write ends the link, and the sending with it
            ShowSending(panels_, sender_.Sent(), sender_.Total());
    } else if (!sender_.Active()) {
        ShowConnected(panels_, connectedItem_); // the device took the last line
    }
}

std::uint64_t Principal::Now() const {
    return options_.clock ? options_.clock() : GetTickCount64();
}

void Principal::TimerHora_Timer() {
    const SYSTEMTIME now = LocalNow();
    ShowClock(panels_, LongTimeText(now), ShortDateText(now));
}

void Principal::TimerRx_Timer() {
    if (!app_.link.IsOpen()) {
        // After a disconnect or a failed write a tick has nothing to do until the finder opens a
        // link again, and enables the timer then. Rather than wake the program ten times a second
        // for nothing, the window timer rests; the pump stays enabled.
        if (timerRxArmed_ && KillTimer(hwnd_, kTimerRx))
            timerRxArmed_ = false;
        return;
    }
    const ReceiveResult received = FetchReceived(app_.link);
    if (!received.bytes.empty()) {
        log_.Append(received.bytes);
        sender_.Received(received.bytes);
        std::wstring text = console_.Text();
        const ConsoleChange change = ApplyReceived(text, received.bytes, ansi_);
        console_.ShowChange(text, change);
    }
    if (received.deviceGone)
        LinkLost(true);
    PumpSender();
}

HBRUSH Principal::ColourStatic(HDC dc, HWND control) {
    if (control == console_.Hwnd()) {
        // Locked, not grey: the console keeps a text box's white background.
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        SetTextColor(dc, GetSysColor(IsWindowEnabled(control) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        return consoleBrush_.Get();
    }
    SetBkColor(dc, GetSysColor(COLOR_INACTIVECAPTIONTEXT));
    return GetSysColorBrush(COLOR_INACTIVECAPTIONTEXT);
}

LRESULT Principal::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        if (!CreateControls())
            return -1;
        Load();
        return 0;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id >= IDC_COMMAND1_FIRST && id < IDC_COMMAND1_FIRST + 4 && HIWORD(wParam) == BN_CLICKED) {
            // A disabled button is never clicked, however the notification came.
            if (IsWindowEnabled(reinterpret_cast<HWND>(lParam)))
                Command1_Click(static_cast<short>(id - IDC_COMMAND1_FIRST));
            return 0;
        }
        if (id == IDC_TXTCONSOLE && HIWORD(wParam) == EN_CHANGE) {
            console_.CaretToEnd();
            return 0;
        }
        break;
    }
    case WM_TIMER:
        if (wParam == kTimerHora)
            TimerHora_Timer();
        else if (wParam == kTimerRx)
            TimerRx_Timer();
        else if (wParam == kTimerReconnect)
            TimerReconnect_Timer();
        return 0;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(ColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INACTIVECAPTIONTEXT));
    case WM_ACTIVATE:
    case WM_SETFOCUS:
        // As a dialog box does: the control that had the focus gets it back when the window is
        // activated again (after the finder, About, a message box or another program).
        if (focus_.HandleMessage(hwnd_, msg, wParam))
            return 0;
        break;
    case win::kWmDpiChanged:
        OnDpiChanged(win::TakeSuggestedRect(hwnd_, wParam, lParam));
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd_); // closing is never refused
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd_, kTimerHora);
        KillTimer(hwnd_, kTimerRx);
        timerRxEnabled_ = timerRxArmed_ = false;
        StopWaiting();
        Unload();
        return 0;
    }
    return Default(msg, wParam, lParam);
}

void Principal::OnDestroyed() {
    if (g_instance == this)
        g_instance = nullptr;
    toolbarSkin_.reset(); // still here when Unloading was replaced: the picture must leave its DC first
    skinPicture_.Reset();
    focus_.Forget();
    if (options_.quitOnClose && std::exchange(opened_, false))
        PostQuitMessage(0);
}

} // namespace console
