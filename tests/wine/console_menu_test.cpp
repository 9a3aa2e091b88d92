// The console's context menu on the real main window: opened by real input, its items following the
// connection, and what each does; the session it copies and saves next to what the console shows.
#include "console/console_ids.h"
#include "console/file_to_send.h"
#include "tests/wine/support/child_run.h"
#include "tests/wine/support/console_menu.h"
#include "tests/wine/support/principal_session.h"
#include "win/clipboard.h"
#include "win/file_dialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

using namespace testsupport;
using Items = std::vector<std::wstring>;
using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

const auto kShiftF10 = [] { Press({VK_F10}, VK_SHIFT); };

// The save and open dialogs, answered by the test: every request kept, each answered with answer.
struct Dialogs {
    std::vector<win::FileDialog> asked;
    std::optional<std::wstring> answer; // none: the user cancels
    win::FileDialogHandler previous = win::SetFileDialogHandler([this](const win::FileDialog& d) {
        asked.push_back(d);
        return answer;
    });
    ~Dialogs() { win::SetFileDialogHandler(std::move(previous)); }
};

// Runs a check after every timer tick of the window, while it lives.
class AfterEachTick {
public:
    AfterEachTick(HWND hwnd, std::function<void()> then) : hwnd_(hwnd), then_(std::move(then)) {
        SetWindowSubclass(hwnd_, &Proc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    ~AfterEachTick() { RemoveWindowSubclass(hwnd_, &Proc, 1); }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
        const LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
        if (msg == WM_TIMER)
            reinterpret_cast<AfterEachTick*>(self)->then_();
        return result;
    }
    HWND hwnd_;
    std::function<void()> then_;
};

// Empty when the file holds exactly the bytes; else where it first differs.
std::string Differs(const fs::path& file, const std::string& bytes) {
    const std::string got = ReadFileText(file.wstring());
    const auto at = std::mismatch(got.begin(), got.end(), bytes.begin(), bytes.end()).first - got.begin();
    return got == bytes ? ""
                        : std::to_string(got.size()) + " bytes, from byte " + std::to_string(at) + ": " +
                              got.substr(static_cast<std::size_t>(at), 20);
}

struct TempFolder {
    fs::path path = fs::temp_directory_path() / ("zev_menu_" + std::to_string(GetCurrentProcessId()));
    TempFolder() { fs::create_directories(path); }
    ~TempFolder() { fs::remove_all(path); }
};

} // namespace

using ConsoleMenu = PrincipalSession;

// A right click, the context-menu key and Shift+F10 open the window's menu, once, never the edit box's
// own, and nothing reaches the device; Enviar archivo… and Borrar follow the connection.
TEST_F(ConsoleMenu, OpensOnARealRightClickTheMenuKeyAndShiftF10AndFollowsTheConnection) {
    Connect();
    SetForegroundWindow(principal.Hwnd());
    SetFocus(principal.txtConsole());
    const Items connected = {L"Copiar todo", L"Guardar como…", L"Enviar archivo…", L"-", L"Borrar"};
    const std::function<void()> ways[] = {[&] {
                                              RightClick(principal.txtConsole(), {40, 40});
                                          },
                                          [] { Press({VK_APPS}); }, kShiftF10};
    for (const auto& open : ways) {
        const MenuSeen seen = OpenMenu(open);
        EXPECT_EQ(std::pair(seen.loops, seen.items), std::pair(std::vector<HWND>{principal.Hwnd()}, connected))
            << &open - ways;
    }
    EXPECT_EQ(Written(), "LIST\r");

    principal.Toolbar1_ButtonClick(L"Boton2");
    EXPECT_EQ(OpenMenu(kShiftF10).items,
              (Items{L"Copiar todo", L"Guardar como…", L"Enviar archivo… (off)", L"-", L"Borrar (off)"}));
    principal.ConsoleMenu_Click(console::ConsoleCommand::Clear);
    EXPECT_NE(principal.ConsoleText(), L">") << "a disabled command does nothing";
}

// A stream through the real window, its lines ended every way, in the code page's characters, with an
// erase sequence: the console shows only its tail (the text rules are native-tested), while Copiar todo and
// Guardar como… hold all of it since Borrar: the clipboard in characters, the file in the bytes, written
// over the file chosen. A failed save says why and leaves the file already there as it was.
TEST_F(ConsoleMenu, TheConsoleShowsAStreamsTailWhileCopiarTodoAndGuardarComoHoldAllOfIt) {
    Connect();
    SetForegroundWindow(principal.Hwnd());
    SetFocus(principal.txtConsole());
    OpenMenu(kShiftF10, {VK_UP, VK_RETURN}); // the last item, Borrar: nothing goes to the device
    ASSERT_EQ(std::tuple(principal.ConsoleText(), principal.ConsoleSelStart(), Written()),
              std::tuple(std::wstring(L">"), 1, std::string("LIST\r")));
    ASSERT_EQ(GetACP(), 1252u);
    const char* const ends[] = {"\r\n", "\r", "\n", "\n\r"};
    std::string sent, bytes = ">";
    std::wstring session = L">";
    for (int n = 1000; n < 1600; ++n) { // about 10000 characters
        sent += "l\xEDnea " + std::to_string(n) + " \x80\xF1 ZEV" + ends[n % 4];
        bytes += "l\xEDnea " + std::to_string(n) + " \x80\xF1 ZEV" + (n % 4 == 2 ? "" : "\r\n");
        session += L"línea " + std::to_wstring(n) + L" €ñ ZEV" + (n % 4 == 2 ? L"" : L"\r\n");
    }
    sent += "xy\b \bz";
    bytes += "xz";
    session += L"xz";
    for (std::size_t at = 0; at < sent.size(); at += 997) {
        ASSERT_TRUE(sim.Queue(kZev, sent.substr(at, 997)));
        ASSERT_TRUE(PumpUntil([&] { return sim.Queued(kZev) == 0; }));
    }
    ASSERT_TRUE(PumpUntil([&] { return principal.ConsoleText().ends_with(L"\r\nxz"); }));
    const std::wstring tail = principal.ConsoleText();
    EXPECT_TRUE(tail.size() <= 5000 && tail.starts_with(L"\r\n") && session.ends_with(tail)) << tail.size();

    win::SetClipboardText(principal.Hwnd(), L"before");
    OpenMenu(kShiftF10, {VK_DOWN, VK_RETURN}); // the first item
    EXPECT_TRUE(win::ClipboardText(nullptr) == session);

    const TempFolder folder;
    const fs::path file = folder.path / "sesion.txt", missing = folder.path / "no existe" / "sesion.txt";
    std::ofstream(file) << "old";
    Dialogs dialogs;
    dialogs.answer = file.wstring();
    OpenMenu(kShiftF10, {VK_DOWN, VK_DOWN, VK_RETURN}); // the second
    EXPECT_EQ(Differs(file, bytes), "");
    ASSERT_EQ(dialogs.asked.size(), 1u);
    const win::FileDialog& asked = dialogs.asked[0];
    EXPECT_EQ(std::tuple(asked.kind, asked.owner, asked.folder.empty(), asked.folder),
              std::tuple(win::FileDialog::Kind::Save, principal.Hwnd(), false, win::DocumentsFolder()));
    EXPECT_TRUE(asked.fileName.starts_with(L"ZEV_ZV100001_")) << Narrow(asked.fileName);

    // Not connected: a folder that does not exist, then the file held open by a program that lets others
    // write it but not replace it (written in place, it would be damaged). Each says why; the file stays,
    // with nothing left beside it.
    principal.Toolbar1_ButtonClick(L"Boton2");
    HANDLE held =
        CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    for (const fs::path& target : {missing, file}) {
        dialogs.answer = target.wstring();
        principal.ConsoleMenu_Click(console::ConsoleCommand::SaveAs);
        const std::wstring says = L"No se ha podido guardar la sesión en " + target.wstring() + L":\n";
        ASSERT_FALSE(notices.notices.empty());
        EXPECT_TRUE(notices.notices.back().text.starts_with(says) &&
                    notices.notices.back().text.size() > says.size() + 3)
            << "names the file and the reason: " << Narrow(notices.notices.back().text);
    }
    CloseHandle(held);
    EXPECT_TRUE(dialogs.asked[1].fileName.starts_with(L"ZEV_consola_")) << Narrow(dialogs.asked[1].fileName);
    EXPECT_EQ(std::tuple(Differs(file, bytes), std::distance(fs::directory_iterator(folder.path), {}),
                         notices.notices.size()),
              std::tuple(std::string(), 1, 2u));
}

// Enviar archivo… sends the file as the device receives it, line by line: the first at once, each next
// once the device's prompt came back, the last without a line end as it stands (after 2 s). The state
// panel counts the lines, then shows the connection again. Cancelled half-way, nothing more goes out.
// A file over 64 KiB, with a NUL or with a character the code page lacks is refused naming the line.
TEST_F(ConsoleMenu, EnviarArchivoSendsLineByLineStopsWhenCancelledAndRefusesWhatTheDeviceCannotTake) {
    Connect();
    SetForegroundWindow(principal.Hwnd());
    SetFocus(principal.txtConsole());
    const TempFolder folder;
    const fs::path file = folder.path / "guion.txt";
    const std::wstring connected = Panel(1);
    std::ofstream(file, std::ios::binary) << "STATUS\r\nHELP\nLIST\r\nSCAN";
    Dialogs dialogs;
    dialogs.answer = file.wstring();
    sim.ClearWritten(kZev);
    principal.ConsoleMenu_Click(console::ConsoleCommand::SendFile);
    EXPECT_EQ(std::pair(Written(), Panel(1)),
              std::pair(std::string("STATUS\r"), std::wstring(L"Enviando archivo: 1 de 4 líneas")))
        << "the first line at once, the next only once the device answered";
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(std::pair(dialogs.asked[0].kind, dialogs.asked[0].folder),
              std::pair(win::FileDialog::Kind::Open, win::DocumentsFolder()));
    EXPECT_EQ(OpenMenu(kShiftF10).items, (Items{L"Copiar todo", L"Guardar como…", L"Cancelar envío", L"-", L"Borrar"}));
    ASSERT_TRUE(PumpUntil([&] { return Panel(1) == connected; }, 8000)) << Narrow(Panel(1));
    EXPECT_EQ(Written(), "STATUS\rHELP\rLIST\rSCAN");

    // Cancelled after the tick that wrote the second line; the device's answer to it, with its prompt,
    // is what the next tick would have sent the third line for.
    principal.Toolbar1_ButtonClick(L"Boton3");
    sim.ClearWritten(kZev);
    bool cancelled = false;
    {
        const AfterEachTick cancel(principal.Hwnd(), [&] {
            if (!cancelled && Written() == "STATUS\rHELP\r") {
                principal.ConsoleMenu_Click(console::ConsoleCommand::CancelSend);
                cancelled = true;
            }
        });
        principal.ConsoleMenu_Click(console::ConsoleCommand::SendFile);
        ASSERT_TRUE(WaitForReply(L"Comandos disponibles") && cancelled);
    }
    EXPECT_EQ(std::pair(Written(), Panel(1)), std::pair(std::string("STATUS\rHELP\r"), connected));

    const struct {
        std::string bytes;
        std::wstring says;
    } refused[] = {
        {std::string(console::kMaxFileToSend + 1, 'a'), L"El archivo no se puede enviar: tiene más de 64 KB."},
        {"a\r\nb\0c"s, L"El archivo no se puede enviar: la línea 2 contiene un carácter nulo."},
        {"\xEF\xBB\xBFok\n\xCE\xA9", L"El archivo no se puede enviar: la línea 2 contiene un carácter (U+03A9) que "
                                     L"la página de códigos del sistema no tiene."},
    };
    sim.ClearWritten(kZev);
    for (const auto& r : refused) {
        std::ofstream(file, std::ios::binary) << r.bytes;
        principal.ConsoleMenu_Click(console::ConsoleCommand::SendFile);
        ASSERT_FALSE(notices.notices.empty());
        EXPECT_EQ(std::tuple(notices.notices.back().text, notices.notices.back().title, Written()),
                  std::tuple(r.says, std::wstring(L"ZEV Config"), std::string()));
    }
    EXPECT_EQ(notices.notices.size(), 3u);
}
