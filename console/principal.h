// Principal: the main window and start-up window. It holds the console (txtConsole inside
// Frame1), the four quick-command buttons Command1(0..3), the toolbar Toolbar1, the status bar
// StatusBar1 and two timers: TimerHora, the clock, and TimerRx, the receive pump. It takes over the
// link that the device finder opens (TakeOverLink).
#pragma once

#include "console/app_context.h"
#include "console/console_box.h"
#include "console/console_text.h"
#include "console/file_sender.h"
#include "console/panel_tip.h"
#include "console/reconnect_policy.h"
#include "console/session_log.h"
#include "console/status_panels.h"
#include "console/toolbar1.h"
#include "controls/statusbar/skin_status_bar.h"
#include "controls/toolbar/toolbar_skin.h"
#include "win/dialog_focus.h"
#include "win/gdi.h"
#include "win/units.h"
#include "win/window_base.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace console {

// The console's context menu (no keyboard shortcuts: every key belongs to the device).
enum class ConsoleCommand : UINT {
    CopyAll = 1,    // "Copiar todo": the session to the clipboard
    SaveAs = 2,     // "Guardar como…": the session to a file the user names
    SendFile = 3,   // "Enviar archivo…": a text file to the device, line by line (while connected)
    CancelSend = 4, // "Cancelar envío", in its place while a file is being sent
    Clear = 5,      // "Borrar": as the toolbar's
};

struct PrincipalOptions {
    // Where "imagenes\Skin_VBNET.bmp" is looked for; empty: the folder of the running program.
    std::wstring programFolder;
    // Ends the message loop when the window is gone (the program's window does; tests' do not).
    bool quitOnClose = false;
    // Milliseconds from any fixed start, for the waits of a file being sent and for an unplugged device;
    // empty: the system's tick count.
    std::function<std::uint64_t()> clock = nullptr;
};

class Principal : public win::Window {
public:
    explicit Principal(AppContext& app, PrincipalOptions options = {});
    ~Principal() override;

    // Load: reads the skin picture, builds the window in its start state and shows it. When the
    // skin cannot be loaded the user is told which file and why, no window is left behind and
    // false is returned: the program then ends.
    bool Open(int showCommand = SW_SHOWNORMAL);

    // The one main window, or null while there is none.
    static Principal* Instance();

    // A link the device finder has just opened, to the device of the list item itemText, in this
    // order: panel 1 reads "Conectado con " + itemText; habilitarBotones(true); the console and
    // TimerRx are enabled; the finder closes (closeFinder); the console is reset to its prompt and
    // takes the focus; "LIST" is sent as its quick-command button sends it.
    void TakeOverLink(const std::wstring& itemText, const std::function<void()>& closeFinder);

    // The status bar (panel 1: connection state, 2: date, 3: time).
    statusbar::SkinStatusBar& StatusBar1() { return statusBar1_; }
    // Switches the connection-dependent controls: find button enabled := not habilitado; clear
    // button and the four quick-command buttons enabled := habilitado.
    void habilitarBotones(bool habilitado);
    // The console text box; enabling it is the sign that a link was opened.
    HWND txtConsole() const { return console_.Hwnd(); }
    void EnableConsole();
    bool ConsoleEnabled() const;
    // Starts the receive pump's 100 ms timer (again, when it rested with the link closed).
    void EnableTimerRx();
    bool TimerRxEnabled() const { return timerRxEnabled_; }
    // Console text ">" with the caret behind the prompt; with giveFocus, the console gets the focus.
    void ResetConsole(bool giveFocus = false);
    // Sends the caption of quick-command button Index (0 to 3) followed by CR, then gives the
    // console the focus.
    void Command1_Click(short Index);
    // A command of the console's context menu, as if chosen there (a disabled one does nothing).
    void ConsoleMenu_Click(ConsoleCommand command);
    // Everything the console showed since the last connect or clear, in the bytes it came in.
    const SessionLog& Session() const { return log_; }

    // Hooks for the windows the toolbar opens (modeless); they do nothing until set.
    std::function<void()> ShowFinder;
    std::function<void()> ShowAbout;
    // Whether the device finder is open: while it is, an unplugged device is not tried (the finder lists
    // and connects devices itself). Unset: never.
    std::function<bool()> FinderOpen;
    // Runs first when the window unloads (before the link is closed), for whatever attached itself
    // at load: the toolbar skinning unhooks here, then anything set before the window opened runs.
    std::function<void()> Unloading;

    // --- The rest of the window, for the toolbar skinning and tests ---
    // A toolbar click by the button's key, compared exactly; any other key does nothing.
    void Toolbar1_ButtonClick(const std::wstring& key);
    Toolbar1& Toolbar() { return toolbar_; }
    // The toolbar's painter, from load until the window unloads; null otherwise.
    toolbarskin::ToolbarSkin* ToolbarSkinning() const { return toolbarSkin_.get(); }
    HWND Frame1() const { return frame1_; }
    // The display scale the window is laid out for.
    int Dpi() const { return dpi_; }
    HWND Command1(int index) const;
    // The skin picture read at load; owned by the window and alive as long as it is.
    HBITMAP SkinPicture() const { return skinPicture_.Get(); }
    const std::wstring& SkinPath() const { return skinPath_; }
    std::wstring ConsoleText() const { return console_.Text(); }
    int ConsoleSelStart() const { return console_.SelStart(); }

    // The timers' ticks (TimerHora every 1000 ms, TimerRx every 100 ms while enabled, and once a second
    // while an unplugged device is waited for).
    void TimerHora_Timer();
    void TimerRx_Timer();
    void TimerReconnect_Timer();
    // Waiting for the connected device to come back after it was unplugged; the state panel's tool tip
    // says for which and until when.
    bool WaitingForDevice() const { return reconnect_.Waiting(); }
    std::wstring WaitingTip() const { return waitTip_.Text(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyed() override;

private:
    bool CreateControls();
    void MakeFonts();
    void SetIcons();
    // WM_DPICHANGED, once the window has its new rectangle: every control placed and its font made
    // again for the new scale.
    void OnDpiChanged(int dpi);
    // The status bar at the window's new scale, its panels sized for it with the texts they show.
    void ScaleStatusBar();
    void Load();
    void Unload();
    // Disconnect button.
    void Disconnect();
    // The link is of no further use (disconnected, a write failed, the device is gone): the controls
    // switched back, the link closed, "Desconectado" shown. A device seen gone is then waited for.
    void LinkLost(bool deviceGone);
    void WaitForDevice();
    void StopWaiting();
    // A link just opened (by the finder, or to the device that came back): panel 1 names the device,
    // the controls are switched, the console and TimerRx enabled; then closeFinder runs, the console
    // is reset to its prompt unless keepConsole, gets the focus, and "LIST" goes out.
    void LinkOpened(const std::function<void()>& closeFinder, bool keepConsole);
    // One write of the bytes to the device. A failed write closes the link and shows it.
    void Send(const std::string& bytes);
    void txtConsole_KeyPress(wchar_t KeyAscii);
    void PasteClipboard();
    // The console's context menu at a point of the screen; the chosen command is carried out.
    void ShowConsoleMenu(POINT at);
    bool CommandEnabled(ConsoleCommand command) const;
    void CopyAll();
    void SaveAs();
    void SendFile();
    // The file being sent: its next line when it is due, and the state panel's count; the connection's
    // text again once it is done.
    void PumpSender();
    std::uint64_t Now() const;
    HBRUSH ColourStatic(HDC dc, HWND control);

    AppContext& app_;
    PrincipalOptions options_;
    AnsiTable ansi_{};

    win::Bitmap skinPicture_;
    std::wstring skinPath_;
    win::Font consoleFont_;
    win::Font buttonFont_;
    win::Brush consoleBrush_;
    Toolbar1 toolbar_;
    HWND frame1_ = nullptr;
    ConsoleBox console_;
    SessionLog log_;
    FileSender sender_;
    ReconnectPolicy reconnect_;
    PanelTip waitTip_;
    // The list item of the device connected to, as the state panel shows it.
    std::wstring connectedItem_;
    std::array<HWND, 4> command1_{};
    statusbar::SkinStatusBar statusBar1_;
    // After the skin picture: it lets go of the picture before the picture goes.
    std::unique_ptr<toolbarskin::ToolbarSkin> toolbarSkin_;
    // The status bar as the load, the clock and the disconnect write to it.
    class Panels : public PanelWriter {
    public:
        explicit Panels(statusbar::SkinStatusBar& bar) : bar_(bar) {}
        // The widths are the bar's pixels, worked out for its scale (ClockPanelWidths).
        void AddPanel(const std::wstring& sText, const std::wstring& sKey, long lWidth) override {
            bar_.AddPanel(sText, sKey, static_cast<std::int32_t>(lWidth));
        }
        void ChangeTextPanel(const std::wstring& sText, long lIndex) override {
            bar_.ChangeTextPanel(sText, static_cast<std::int32_t>(lIndex));
        }

    private:
        statusbar::SkinStatusBar& bar_;
    } panels_{statusBar1_};
    bool timerRxEnabled_ = false;
    bool timerRxArmed_ = false; // the window timer is set; it rests while the link is closed
    bool opened_ = false;       // built and shown: its end is the program's end
    // The focused control, kept while the window is inactive and given back when it is active again.
    win::DialogFocus focus_;
    int dpi_ = 96;
};

} // namespace console
