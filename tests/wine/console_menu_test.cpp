// The console's context menu on the real main window: opened by real input, its items following the
// connection, and what each does.
#include "console/file_to_send.h"
#include "tests/wine/support/child_run.h"
#include "tests/wine/support/console_menu.h"
#include "tests/wine/support/principal_session.h"
#include "win/clipboard.h"
#include "win/file_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <vector>

using namespace testsupport;
using Items = std::vector<std::wstring>;
using namespace std::string_literals;

using ConsoleMenu = PrincipalSession;

// A right click, the context-menu key and Shift+F10 open the window's menu, once, never the edit box's
// own; Borrar follows the toolbar's; the menu chooses by its keys too (the arrow keys and Enter).
TEST_F(ConsoleMenu, OpensOnARealRightClickTheMenuKeyAndShiftF10AndFollowsTheConnection) {
    Connect();
    HWND box = principal.txtConsole();
    SetForegroundWindow(principal.Hwnd());
    SetFocus(box);
    const Items connected = {L"Copiar todo", L"Guardar como…", L"Enviar archivo…", L"-", L"Borrar"};
    const auto byMouse = [&] { RightClick(box, {40, 40}); };
    const auto byAppsKey = [] { Chord(0, VK_APPS); };
    const auto byShiftF10 = [] { Chord(VK_SHIFT, VK_F10); };
    int way = 0;
    for (const auto& open :
         {std::function<void()>(byMouse), std::function<void()>(byAppsKey), std::function<void()>(byShiftF10)}) {
        const MenuSeen seen = OpenMenu(open);
        EXPECT_EQ(std::tuple(seen.loops, seen.owner, seen.items),
                  std::tuple(std::vector<HWND>{principal.Hwnd()}, principal.Hwnd(), connected))
            << "way " << way++;
    }
    EXPECT_EQ(Written(), "LIST\r") << "no key of the menu reached the device";

    principal.Toolbar1_ButtonClick(L"Boton2");
    const MenuSeen seen = OpenMenu(byShiftF10);
    EXPECT_EQ(seen.items, (Items{L"Copiar todo", L"Guardar como…", L"Enviar archivo… (off)", L"-", L"Borrar (off)"}));
    principal.ConsoleMenu_Click(console::ConsoleCommand::Clear);
    EXPECT_NE(principal.ConsoleText(), L">") << "a disabled command does nothing";
}

namespace {

// The save and open dialogs, answered by the test: every request kept, each answered with the next path.
struct Dialogs {
    Dialogs() {
        previous = win::SetFileDialogHandler([this](const win::FileDialog& d) -> std::optional<std::wstring> {
            asked.push_back(d);
            if (answers.empty())
                return std::nullopt;
            std::wstring path = answers.front();
            answers.erase(answers.begin());
            return path;
        });
    }
    ~Dialogs() { win::SetFileDialogHandler(std::move(previous)); }
    std::vector<win::FileDialog> asked;
    std::vector<std::wstring> answers;
    win::FileDialogHandler previous;
};

std::wstring TempFolder() {
    wchar_t path[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, path);
    const std::wstring folder = std::wstring(path) + L"zev_menu_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(path.c_str(), std::ios::binary) << bytes;
}

// Empty when the file holds exactly the bytes; else where it first differs.
std::string Differs(const std::wstring& file, const std::string& bytes) {
    const std::string got = ReadFileText(file);
    if (got == bytes)
        return {};
    const auto at = std::mismatch(got.begin(), got.end(), bytes.begin(), bytes.end()).first - got.begin();
    return std::to_string(got.size()) + " bytes, not " + std::to_string(bytes.size()) + ", from byte " +
           std::to_string(at) + ": " + got.substr(static_cast<std::size_t>(at), 20);
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found))
        if (found.cFileName[0] != L'.')
            names.push_back(found.cFileName);
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    return names;
}

} // namespace

// Copiar todo and Guardar como… hold everything the console showed since the last clear, not only the
// 5000 characters it still holds, erase sequences carried out: the clipboard in the code page's
// characters, the file in its bytes, written over the file chosen. A failed save says why and leaves
// the file already there as it was.
TEST_F(ConsoleMenu, CopiarTodoAndGuardarComoHoldTheWholeSessionSinceTheLastClear) {
    Connect();
    SetForegroundWindow(principal.Hwnd());
    SetFocus(principal.txtConsole());
    // Borrar chosen in the menu: the last item, reached with the Up key.
    OpenMenu([] { Chord(VK_SHIFT, VK_F10); }, {VK_UP, VK_RETURN});
    ASSERT_EQ(principal.ConsoleText(), L">");
    std::string sent, bytes = ">";
    std::wstring session = L">";
    for (int n = 1000; n < 1600; ++n) {
        sent += "l\xEDnea " + std::to_string(n) + " \x80\n\r";
        bytes += "l\xEDnea " + std::to_string(n) + " \x80\r\n";
        session += L"línea " + std::to_wstring(n) + L" €\r\n";
    }
    sent += "xy\b \bz";
    bytes += "xz";
    session += L"xz";
    ASSERT_TRUE(sim.Queue(kZev, sent));
    ASSERT_TRUE(PumpUntil([&] { return principal.ConsoleText().ends_with(L"\r\nxz"); }, 5000));
    ASSERT_LE(principal.ConsoleText().size(), 5000u);
    win::SetClipboardText(principal.Hwnd(), L"before");
    OpenMenu([] { Chord(VK_SHIFT, VK_F10); }, {VK_DOWN, VK_RETURN}); // the first item
    EXPECT_EQ(win::ClipboardText(nullptr), session);

    const std::wstring folder = TempFolder(), file = folder + L"sesion.txt";
    WriteBytes(file, "old");
    Dialogs dialogs;
    const std::wstring missing = folder + L"no existe\\sesion.txt";
    dialogs.answers = {file, missing, file};
    OpenMenu([] { Chord(VK_SHIFT, VK_F10); }, {VK_DOWN, VK_DOWN, VK_RETURN}); // the second
    EXPECT_EQ(Differs(file, bytes), "");
    ASSERT_EQ(dialogs.asked.size(), 1u);
    const win::FileDialog& asked = dialogs.asked[0];
    EXPECT_EQ(std::tuple(asked.kind, asked.owner, asked.folder),
              std::tuple(win::FileDialog::Kind::Save, principal.Hwnd(), win::DocumentsFolder()));
    EXPECT_FALSE(asked.folder.empty());
    EXPECT_TRUE(std::regex_match(asked.fileName, std::wregex(L"ZEV_ZV100001_20\\d{6}-\\d{6}\\.txt")))
        << Narrow(asked.fileName);

    // A folder that does not exist, then a file held open by another program: each says why, and the
    // file already there stays, with nothing left behind in its folder.
    principal.Toolbar1_ButtonClick(L"Boton2");
    // Another program may write it, not delete or rename it: written in place, it would be damaged.
    HANDLE held =
        CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    for (int failing = 0; failing < 2; ++failing)
        principal.ConsoleMenu_Click(console::ConsoleCommand::SaveAs);
    CloseHandle(held);
    EXPECT_TRUE(dialogs.asked[1].fileName.starts_with(L"ZEV_consola_")) << "not connected";
    EXPECT_EQ(std::pair(ReadFileText(file), FilesIn(folder)),
              std::pair(bytes, std::vector<std::wstring>{L"sesion.txt"}));
    ASSERT_EQ(notices.notices.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const std::wstring says = L"No se ha podido guardar la sesión en " + (i ? file : missing) + L":\n";
        EXPECT_TRUE(notices.notices[i].text.starts_with(says) && notices.notices[i].text.size() > says.size() + 3)
            << "names the file and the reason: " << Narrow(notices.notices[i].text);
    }
    DeleteFileW(file.c_str());
    RemoveDirectoryW(folder.c_str());
}

namespace {

// After every timer tick of the main window: once the device has received two lines, the sending is
// cancelled, before the tick that would write the third.
struct CancelAfterTwo {
    console::Principal* principal;
    SimDriver* sim;
    bool cancelled = false;
};

LRESULT CALLBACK CancelAfterTwoLines(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    const LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
    auto& c = *reinterpret_cast<CancelAfterTwo*>(data);
    const std::string written = c.sim->Written(SimDriver::kZevSerial);
    if (msg == WM_TIMER && !c.cancelled && std::count(written.begin(), written.end(), '\r') == 2) {
        c.principal->ConsoleMenu_Click(console::ConsoleCommand::CancelSend);
        c.cancelled = true;
    }
    return result;
}

} // namespace

// Enviar archivo… sends the file as the device receives it, line by line: the first at once, each next
// once the device's prompt came back, the last without a line end as it stands (after 2 s). The state
// panel counts the lines, then shows the connection again. Cancelled half-way, nothing more goes out.
// A file over 64 KiB, with a NUL or with a character the code page lacks is refused naming the line.
TEST_F(ConsoleMenu, EnviarArchivoSendsLineByLineStopsWhenCancelledAndRefusesWhatTheDeviceCannotTake) {
    Connect();
    SetForegroundWindow(principal.Hwnd());
    SetFocus(principal.txtConsole());
    const std::wstring folder = TempFolder(), file = folder + L"guion.txt", connected = Panel(1);
    WriteBytes(file, "STATUS\r\nHELP\nLIST\r\nSCAN");
    Dialogs dialogs;
    dialogs.answers = {file, file};
    sim.ClearWritten(kZev);
    principal.ConsoleMenu_Click(console::ConsoleCommand::SendFile);
    EXPECT_EQ(std::pair(Written(), Panel(1)),
              std::pair(std::string("STATUS\r"), std::wstring(L"Enviando archivo: 1 de 4 líneas")))
        << "the first line at once, the next only once the device answered";
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(std::tuple(dialogs.asked[0].kind, dialogs.asked[0].folder),
              std::tuple(win::FileDialog::Kind::Open, win::DocumentsFolder()));
    EXPECT_EQ(OpenMenu([] { Chord(VK_SHIFT, VK_F10); }).items,
              (Items{L"Copiar todo", L"Guardar como…", L"Cancelar envío", L"-", L"Borrar"}));
    ASSERT_TRUE(PumpUntil([&] { return Panel(1) == connected; }, 8000)) << Narrow(Panel(1));
    EXPECT_EQ(Written(), "STATUS\rHELP\rLIST\rSCAN");

    CancelAfterTwo cancel{&principal, &sim};
    ASSERT_TRUE(SetWindowSubclass(principal.Hwnd(), &CancelAfterTwoLines, 1, reinterpret_cast<DWORD_PTR>(&cancel)));
    principal.Toolbar1_ButtonClick(L"Boton3");
    sim.ClearWritten(kZev);
    principal.ConsoleMenu_Click(console::ConsoleCommand::SendFile);
    // The device's answer to the second line, with its prompt: the tick that saw it would send the third.
    const bool answered = WaitForReply(L"Comandos disponibles");
    RemoveWindowSubclass(principal.Hwnd(), &CancelAfterTwoLines, 1);
    ASSERT_TRUE(answered && cancel.cancelled);
    EXPECT_EQ(std::pair(Written(), Panel(1)), std::pair(std::string("STATUS\rHELP\r"), connected));

    const struct {
        std::string bytes;
        std::wstring says;
    } refused[] = {
        {std::string(console::kMaxFileToSend + 1, 'a'), L"El archivo no se puede enviar: tiene más de 64 KB."},
        {"a\r\nb\0c"s, L"El archivo no se puede enviar: la línea 2 contiene un carácter nulo."},
        {"\xEF\xBB\xBFok\n\xCE\xA9",
         L"El archivo no se puede enviar: la línea 2 contiene un carácter (U+03A9) que la página de códigos del "
         L"sistema no tiene."},
    };
    sim.ClearWritten(kZev);
    for (const auto& r : refused) {
        WriteBytes(file, r.bytes);
        dialogs.answers = {file};
        principal.ConsoleMenu_Click(console::ConsoleCommand::SendFile);
        ASSERT_FALSE(notices.notices.empty());
        EXPECT_EQ(std::tuple(notices.notices.back().text, notices.notices.back().title, Written()),
                  std::tuple(r.says, std::wstring(L"ZEV Config"), std::string()));
    }
    EXPECT_EQ(notices.notices.size(), 3u);
    DeleteFileW(file.c_str());
    RemoveDirectoryW(folder.c_str());
}
