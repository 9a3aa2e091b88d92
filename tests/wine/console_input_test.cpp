// The connected console: every key goes in one write of its own and only the device's echo shows it,
// the clipboard and a quick command go in one write each, and the caret stays at the end (a stream
// through the real window: the console menu's test).
#include "tests/wine/support/principal_session.h"
#include "win/clipboard.h"

#include <gtest/gtest.h>

#include <utility>

using namespace testsupport;

using ConsoleInput = PrincipalSession;

TEST_F(ConsoleInput, EachKeyPasteAndQuickCommandIsOneWriteOnlyTheDevicesEchoShowsItAndTheCaretStaysAtTheEnd) {
    Connect();
    sim.ClearWritten(kZev);
    const unsigned long writesBefore = sim.Calls("FT_Write");
    const auto writes = [&] { return sim.Calls("FT_Write") - writesBefore; };
    const auto showsAtOnce = [&](const std::wstring& text) {
        return PumpUntil([&] { return principal.ConsoleText() == text; });
    };
    const std::wstring shown = principal.ConsoleText();
    for (wchar_t c : std::wstring(L"help"))
        TypeChar(c);
    EXPECT_EQ(std::tuple(Written(), writes(), principal.ConsoleText()), std::tuple(std::string("help"), 4ul, shown));
    ASSERT_TRUE(showsAtOnce(shown + L"help"));
    TypeChar(L'\b'); // likewise only the device's BS SP BS takes the p away
    EXPECT_EQ(principal.ConsoleText(), shown + L"help");
    ASSERT_TRUE(showsAtOnce(shown + L"hel"));

    // Enter is CR alone, control keys go as their codes, the rest through the ANSI code page (real key
    // strokes: the end-to-end test).
    sim.ClearWritten(kZev);
    for (wchar_t c : {L'\r', wchar_t{0x1B}, wchar_t{0x03}, L'\t', L'ñ'})
        TypeChar(c);
    EXPECT_EQ(std::pair(Written(), writes()), std::pair(std::string("\r\x1B\x03\t\xF1"), 10ul));

    // Ctrl+V sends the clipboard's text of any length in one write, without a CR, showing nothing by
    // itself; an empty clipboard holds no text at all, and nothing is sent.
    for (const std::wstring& text : {std::wstring(20000, L'x') + L"ñ€", std::wstring()}) {
        sim.ClearWritten(kZev);
        if (!text.empty()) {
            ASSERT_TRUE(win::SetClipboardText(principal.Hwnd(), text));
        } else {
            ASSERT_TRUE(OpenClipboard(principal.Hwnd()));
            EmptyClipboard();
            CloseClipboard();
        }
        TypeChar(22); // Ctrl+V
        EXPECT_EQ(std::tuple(Written(), writes(), principal.ConsoleText()),
                  std::tuple(text.empty() ? "" : std::string(20000, 'x') + "\xF1\x80", 11ul, shown + L"hel"));
    }

    // A quick command sends the caption it shows now and a CR, and leaves the focus in the console.
    sim.ClearWritten(kZev);
    SetWindowTextW(principal.Command1(3), L"help");
    for (short i = 0; i < 4; ++i) {
        SetFocus(principal.Command1(i));
        SendMessageW(principal.Command1(i), BM_CLICK, 0, 0);
        EXPECT_EQ(GetFocus(), principal.txtConsole()) << i;
    }
    for (short index : {4, -1})
        principal.Command1_Click(index);
    EXPECT_EQ(std::pair(Written(), writes()), std::pair(std::string("SCAN\rSTATUS\rLIST\rhelp\r"), 15ul));

    // Clicks, a double click and the focus coming back put the caret back at the end.
    HWND box = principal.txtConsole();
    auto selection = [&] {
        DWORD start = 0, stop = 0;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&stop));
        return std::pair{start, stop};
    };
    const auto end = static_cast<DWORD>(principal.ConsoleText().size());
    for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        SendMessageW(box, EM_SETSEL, 3, 8);
        SendMessageW(box, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(30, 10));
        EXPECT_EQ(selection(), std::pair(end, end)) << "message " << msg;
    }
    SetFocus(principal.Command1(0));
    SendMessageW(box, EM_SETSEL, 0, 5);
    SetFocus(box);
    EXPECT_EQ(selection(), std::pair(end, end));
}
