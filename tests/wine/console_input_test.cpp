// Typing into the console and the quick commands: every byte reaches the device as sent, nothing
// is echoed locally, and the caret stays at the end.
#include "console/principal.h"
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

class ConsoleInput : public PrincipalSession {
protected:
    void SetUp() override {
        PrincipalSession::SetUp();
        Connect();
        ASSERT_TRUE(WaitForReply(L"puerto=23"));
        sim.ClearWritten(kZev);
        writesBefore = sim.Calls("FT_Write");
    }
    unsigned long Writes() const { return sim.Calls("FT_Write") - writesBefore; }

    void SetClipboard(const std::wstring& text) {
        ASSERT_TRUE(OpenClipboard(principal.Hwnd()));
        EmptyClipboard();
        if (!text.empty()) { // an empty clipboard holds no text at all
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
            auto* chars = static_cast<wchar_t*>(GlobalLock(block));
            std::copy(text.begin(), text.end(), chars);
            chars[text.size()] = L'\0';
            GlobalUnlock(block);
            SetClipboardData(CF_UNICODETEXT, block);
        }
        CloseClipboard();
    }

    unsigned long writesBefore = 0;
};

} // namespace

TEST_F(ConsoleInput, EachKeyIsOneByteWrittenAtOnceAndNothingIsEchoedLocally) {
    const std::wstring shown = principal.ConsoleText();
    for (wchar_t c : std::wstring(L"help"))
        TypeChar(c);
    EXPECT_EQ(Written(), "help");
    EXPECT_EQ(Writes(), 4u) << "one write per key";
    EXPECT_EQ(principal.ConsoleText(), shown) << "the locked console inserts nothing by itself";
    // The device's echo is what shows the typing.
    ASSERT_TRUE(PumpUntil([&] {
        principal.TimerRx_Timer();
        return principal.ConsoleText() == shown + L"help";
    }));
}

TEST_F(ConsoleInput, EnterSendsCrAloneAndControlKeysGoAsTheirCodes) {
    TypeChar(L'\r');
    EXPECT_EQ(Written(), "\r") << "never CR LF";
    TypeChar(0x1B); // Escape
    TypeChar(0x03); // Ctrl+C
    TypeChar(0x09); // Tab
    EXPECT_EQ(Written(), "\r\x1B\x03\t");
    EXPECT_EQ(Writes(), 4u);
    TypeChar(L'ñ'); // through the ANSI code page
    EXPECT_EQ(Written().back(), '\xF1');
}

TEST_F(ConsoleInput, RealKeyStrokesReachTheDeviceThroughTheMessageLoop) {
    SetFocus(principal.txtConsole());
    HWND box = principal.txtConsole();
    PostMessageW(box, WM_KEYDOWN, 'S', 0x001F0001);
    PostMessageW(box, WM_KEYUP, 'S', 0xC01F0001);
    PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(box, WM_KEYUP, VK_RETURN, 0xC01C0001);
    PostMessageW(box, WM_KEYDOWN, VK_BACK, 0x000E0001);
    PostMessageW(box, WM_KEYUP, VK_BACK, 0xC00E0001);
    PumpMessages(30);
    EXPECT_EQ(Written(), "s\r\x08");
}

TEST_F(ConsoleInput, BackspaceChangesTheConsoleOnlyWhenTheDeviceErases) {
    TypeChar(L'a');
    TypeChar(L'b');
    ASSERT_TRUE(PumpUntil([&] {
        principal.TimerRx_Timer();
        return principal.ConsoleText().back() == L'b';
    }));
    const std::wstring withAb = principal.ConsoleText();
    TypeChar(L'\b');
    EXPECT_EQ(Written(), "ab\x08");
    EXPECT_EQ(principal.ConsoleText(), withAb) << "nothing changes by itself";
    ASSERT_TRUE(PumpUntil([&] {
        principal.TimerRx_Timer();
        return principal.ConsoleText() == withAb.substr(0, withAb.size() - 1);
    })) << "the device's BS SP BS removes the b";
}

TEST_F(ConsoleInput, QuickCommandsSendCaptionAndCrAndLeaveTheFocusInTheConsole) {
    const char* expected[4] = {"SCAN\r", "STATUS\r", "LIST\r", "HELP\r"};
    for (short i = 0; i < 4; ++i) {
        sim.ClearWritten(kZev);
        SetFocus(principal.Command1(i));
        const unsigned long before = sim.Calls("FT_Write");
        SendMessageW(principal.Command1(i), BM_CLICK, 0, 0);
        EXPECT_EQ(Written(), expected[i]);
        EXPECT_EQ(sim.Calls("FT_Write") - before, 1u) << "one write";
        EXPECT_EQ(GetFocus(), principal.txtConsole()) << i;
        ASSERT_TRUE(WaitForReply(L"\r\n"));
    }
    // The caption is read from the button each time it is sent.
    SetWindowTextW(principal.Command1(1), L"status");
    sim.ClearWritten(kZev);
    principal.Command1_Click(1);
    EXPECT_EQ(Written(), "status\r");
    // Out-of-range indices send nothing.
    principal.Command1_Click(4);
    principal.Command1_Click(-1);
    EXPECT_EQ(Written(), "status\r");
}

TEST_F(ConsoleInput, CtrlVSendsTheClipboardTextInOneWrite) {
    const std::wstring shown = principal.ConsoleText();
    SetClipboard(L"STATUS");
    TypeChar(22);
    EXPECT_EQ(Written(), "STATUS") << "no CR added";
    EXPECT_EQ(Writes(), 1u);
    EXPECT_EQ(principal.ConsoleText(), shown) << "the paste does not appear by itself";

    // Any length: no fixed buffer between the clipboard and the write.
    std::wstring longText;
    for (int i = 0; i < 20000; ++i)
        longText += static_cast<wchar_t>(L'a' + i % 26);
    longText += L"ñ€";
    SetClipboard(longText);
    sim.ClearWritten(kZev);
    TypeChar(22);
    EXPECT_EQ(Writes(), 2u);
    const std::string written = Written();
    ASSERT_EQ(written.size(), longText.size());
    EXPECT_EQ(written.substr(0, 3), "abc");
    EXPECT_EQ(written.substr(written.size() - 2), "\xF1\x80");

    // Nothing on the clipboard: nothing to send, no driver call.
    SetClipboard(L"");
    TypeChar(22);
    EXPECT_EQ(Writes(), 2u);
    EXPECT_TRUE(sim.IsOpen(kZev));
}

TEST_F(ConsoleInput, TheCaretReturnsToTheEndOnClickDoubleClickAndFocus) {
    HWND box = principal.txtConsole();
    const int end = static_cast<int>(principal.ConsoleText().size());
    ASSERT_GT(end, 20);
    SendMessageW(box, EM_SETSEL, 3, 3);
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
    EXPECT_EQ(principal.ConsoleSelStart(), end);
    SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
    EXPECT_EQ(principal.ConsoleSelStart(), end) << "a click in the middle leaves the caret at the end";
    SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(30, 10));
    SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
    DWORD start = 0, stop = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&stop));
    EXPECT_EQ(static_cast<int>(start), end);
    EXPECT_EQ(start, stop) << "no selection is left";
    SetFocus(principal.Command1(0));
    SendMessageW(box, EM_SETSEL, 0, 5);
    SetFocus(box);
    EXPECT_EQ(principal.ConsoleSelStart(), end);
}
