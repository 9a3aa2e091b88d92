// The connected console: every key goes in one write of its own and only the device's echo shows it,
// the clipboard and a quick command go in one write each, the caret stays at the end, and a long
// stream of received bytes passes the ANSI code page and the length limit through the real window
// (the text rules are tested natively).
#include "console/console_ids.h"
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <utility>

using namespace testsupport;

using ConsoleInput = PrincipalSession;

TEST_F(ConsoleInput, EachKeyPasteAndQuickCommandIsOneWriteAndOnlyTheDevicesEchoShowsIt) {
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
        ASSERT_TRUE(OpenClipboard(principal.Hwnd()));
        EmptyClipboard();
        if (!text.empty()) {
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
            std::copy(text.c_str(), text.c_str() + text.size() + 1, static_cast<wchar_t*>(GlobalLock(block)));
            GlobalUnlock(block);
            SetClipboardData(CF_UNICODETEXT, block);
        }
        CloseClipboard();
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
}

namespace {

// After every tick of the receive pump: the longest the console has been.
LRESULT CALLBACK AfterTicks(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR longest) {
    const LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
    int& most = *reinterpret_cast<int*>(longest);
    if (msg == WM_TIMER)
        most = std::max(most, GetWindowTextLengthW(GetDlgItem(hwnd, IDC_TXTCONSOLE)));
    return result;
}

} // namespace

// Through the real window and its timer, a stream of lines with every kind of line end (cut anywhere,
// CR LF pairs too, between ticks) and characters of the code page shows as its tail, each CR as CR LF
// and each lone LF gone, cut back to a line break, never longer than 5000 characters after any tick;
// clicks and the focus then keep the caret at its end.
TEST_F(ConsoleInput, AStreamShowsItsTailInTheCodePageNeverLongerThan5000AndTheCaretAtTheEnd) {
    Connect();
    ASSERT_EQ(GetACP(), 1252u);
    int longest = 0;
    ASSERT_TRUE(SetWindowSubclass(principal.Hwnd(), &AfterTicks, 1, reinterpret_cast<DWORD_PTR>(&longest)));
    const char* const ends[] = {"\r\n", "\r", "\n"};
    std::string sent;
    std::wstring shown = principal.ConsoleText();
    for (int n = 0; n < 600; ++n) { // about 11000 characters: the limit cuts on many ticks
        const std::string number = std::to_string(1000 + n);
        sent += "l\xEDnea " + number + " \x80\xF1 ZEV" + ends[n % 3];
        shown += L"línea " + std::wstring(number.begin(), number.end()) + L" €ñ ZEV" + (n % 3 == 2 ? L"" : L"\r\n");
    }
    for (std::size_t at = 0; at < sent.size(); at += 997) {
        ASSERT_TRUE(sim.Queue(kZev, sent.substr(at, 997)));
        ASSERT_TRUE(PumpUntil([&] { return sim.Queued(kZev) == 0; }));
    }
    RemoveWindowSubclass(principal.Hwnd(), &AfterTicks, 1);
    const std::wstring tail = principal.ConsoleText();
    EXPECT_TRUE(longest > 4900 && longest <= 5000) << longest << " after a tick";
    // A line is 17 characters; one ended by a lone LF runs on into the next before a line break.
    EXPECT_GE(tail.size(), 5000u - 2 * 17 - 2) << "cut back to the first line break of the last 5000";
    EXPECT_TRUE(tail.starts_with(L"\r\n") && shown.ends_with(tail)) << Narrow(tail.substr(0, 40));

    // Clicks, a double click and the focus coming back put the caret back at the end.
    HWND box = principal.txtConsole();
    auto selection = [&] {
        DWORD start = 0, stop = 0;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&stop));
        return std::pair{start, stop};
    };
    const auto end = static_cast<DWORD>(tail.size());
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
