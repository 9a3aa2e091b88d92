// The console's context menu on the real main window: opened by real input, its items following the
// connection, and what each does.
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

using ConsoleMenu = PrincipalSession;

// A right click, the context-menu key and Shift+F10 open the window's menu, once, never the edit box's
// own; Borrar follows the toolbar's; the menu chooses by its keys too (the arrow keys and Enter).
TEST_F(ConsoleMenu, OpensOnARealRightClickTheMenuKeyAndShiftF10AndFollowsTheConnection) {
    Connect();
    HWND box = principal.txtConsole();
    SetForegroundWindow(principal.Hwnd());
    SetFocus(box);
    const Items connected = {L"Copiar todo", L"Guardar como…", L"-", L"Borrar"};
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
    EXPECT_EQ(seen.items, (Items{L"Copiar todo", L"Guardar como…", L"-", L"Borrar (off)"}));
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
