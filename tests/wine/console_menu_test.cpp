// The console's context menu on the real main window: opened by real input, its items following the
// connection, and what each does.
#include "tests/wine/support/console_menu.h"
#include "tests/wine/support/principal_session.h"
#include "win/clipboard.h"

#include <gtest/gtest.h>

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
    const Items connected = {L"Copiar todo", L"-", L"Borrar"};
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
    EXPECT_EQ(seen.items, (Items{L"Copiar todo", L"-", L"Borrar (off)"}));
    principal.ConsoleMenu_Click(console::ConsoleCommand::Clear);
    EXPECT_NE(principal.ConsoleText(), L">") << "a disabled command does nothing";
}

// Copiar todo puts on the clipboard everything the console showed since the last clear, not only the
// 5000 characters it still holds, in the code page's characters, erase sequences carried out.
TEST_F(ConsoleMenu, CopiarTodoCopiesTheWholeSessionSinceTheLastClear) {
    Connect();
    SetForegroundWindow(principal.Hwnd());
    SetFocus(principal.txtConsole());
    // Borrar chosen in the menu: the last item, reached with the Up key.
    OpenMenu([] { Chord(VK_SHIFT, VK_F10); }, {VK_UP, VK_RETURN});
    ASSERT_EQ(principal.ConsoleText(), L">");
    std::string sent;
    std::wstring session = L">";
    for (int n = 1000; n < 1600; ++n) {
        sent += "l\xEDnea " + std::to_string(n) + " \x80\r\n";
        session += L"línea " + std::to_wstring(n) + L" €\r\n";
    }
    sent += "xy\b \bz";
    session += L"xz";
    ASSERT_TRUE(sim.Queue(kZev, sent));
    ASSERT_TRUE(PumpUntil([&] { return principal.ConsoleText().ends_with(L"\r\nxz"); }, 5000));
    ASSERT_LE(principal.ConsoleText().size(), 5000u);
    win::SetClipboardText(principal.Hwnd(), L"before");
    OpenMenu([] { Chord(VK_SHIFT, VK_F10); }, {VK_DOWN, VK_RETURN}); // the first item
    EXPECT_EQ(win::ClipboardText(nullptr), session);
    EXPECT_EQ(Written(), "LIST\r");
}
