// Typing into the console and the quick commands: every byte reaches the device as sent in one
// write, nothing is echoed locally, and the caret stays at the end.
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

class ConsoleInput : public PrincipalSession {
protected:
    void SetUp() override {
        PrincipalSession::SetUp();
        ConnectAndDrain();
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
            std::copy(text.c_str(), text.c_str() + text.size() + 1, chars);
            GlobalUnlock(block);
            SetClipboardData(CF_UNICODETEXT, block);
        }
        CloseClipboard();
    }

    unsigned long writesBefore = 0;
};

} // namespace

TEST_F(ConsoleInput, EachKeyIsOneByteWrittenAtOnceAndOnlyTheDevicesEchoShowsIt) {
    const std::wstring shown = principal.ConsoleText();
    for (wchar_t c : std::wstring(L"help"))
        TypeChar(c);
    EXPECT_EQ(Written(), "help");
    EXPECT_EQ(Writes(), 4u) << "one write per key";
    EXPECT_EQ(principal.ConsoleText(), shown) << "the locked console inserts nothing by itself";
    ASSERT_TRUE(TickUntilShown(shown + L"help"));
    TypeChar(L'\b'); // likewise only the device's BS SP BS takes the p away
    EXPECT_EQ(principal.ConsoleText(), shown + L"help");
    ASSERT_TRUE(TickUntilShown(shown + L"hel"));

    // Enter is CR alone, control keys go as their codes, the rest through the ANSI code page.
    sim.ClearWritten(kZev);
    for (wchar_t c : {L'\r', wchar_t{0x1B}, wchar_t{0x03}, L'\t', L'ñ'})
        TypeChar(c);
    EXPECT_EQ(Written(), "\r\x1B\x03\t\xF1");
    EXPECT_EQ(Writes(), 10u);

    // Real key strokes through the message loop: letter, Enter, Backspace.
    sim.ClearWritten(kZev);
    HWND box = principal.txtConsole();
    SetFocus(box);
    const std::pair<WPARAM, UINT> keys[] = {{'S', 0x1F}, {VK_RETURN, 0x1C}, {VK_BACK, 0x0E}};
    for (auto [key, scan] : keys) {
        PostMessageW(box, WM_KEYDOWN, key, static_cast<LPARAM>(0x00000001u | (scan << 16)));
        PostMessageW(box, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u | (scan << 16)));
    }
    PumpMessages(30);
    EXPECT_EQ(Written(), "s\r\x08");
}

TEST_F(ConsoleInput, QuickCommandsSendCaptionAndCrAndLeaveTheFocusInTheConsole) {
    for (short i = 0; i < 4; ++i) {
        SetFocus(principal.Command1(i));
        SendMessageW(principal.Command1(i), BM_CLICK, 0, 0);
        EXPECT_EQ(GetFocus(), principal.txtConsole()) << i;
    }
    EXPECT_EQ(Written(), "SCAN\rSTATUS\rLIST\rHELP\r");
    EXPECT_EQ(Writes(), 4u) << "one write each";
    // The caption is read from the button each time; out-of-range indices send nothing.
    SetWindowTextW(principal.Command1(1), L"status");
    sim.ClearWritten(kZev);
    principal.Command1_Click(1);
    principal.Command1_Click(4);
    principal.Command1_Click(-1);
    EXPECT_EQ(Written(), "status\r");
}

TEST_F(ConsoleInput, CtrlVSendsTheClipboardTextOfAnyLengthInOneWrite) {
    const std::wstring shown = principal.ConsoleText();
    SetClipboard(L"STATUS");
    TypeChar(22);
    EXPECT_EQ(Written(), "STATUS") << "no CR added";
    EXPECT_EQ(Writes(), 1u);
    EXPECT_EQ(principal.ConsoleText(), shown) << "the paste does not appear by itself";

    std::wstring longText;
    for (int i = 0; i < 20000; ++i)
        longText += static_cast<wchar_t>(L'a' + i % 26);
    SetClipboard(longText + L"ñ€");
    sim.ClearWritten(kZev);
    TypeChar(22);
    EXPECT_EQ(Writes(), 2u);
    EXPECT_EQ(Written(), std::string(longText.begin(), longText.end()) + "\xF1\x80");

    SetClipboard(L""); // nothing to send: no driver call
    TypeChar(22);
    EXPECT_EQ(Writes(), 2u);
    EXPECT_TRUE(sim.IsOpen(kZev));
}

TEST_F(ConsoleInput, TheCaretReturnsToTheEndOnClickDoubleClickAndFocus) {
    HWND box = principal.txtConsole();
    auto selection = [&] {
        DWORD start = 0, stop = 0;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&stop));
        return std::pair{start, stop};
    };
    const auto end = static_cast<DWORD>(principal.ConsoleText().size());
    ASSERT_GT(end, 20u);
    for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        SendMessageW(box, EM_SETSEL, 3, 8);
        SendMessageW(box, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(30, 10));
        EXPECT_EQ(selection(), std::pair(end, end)) << "message " << msg << ": caret at the end, nothing selected";
    }
    SetFocus(principal.Command1(0));
    SendMessageW(box, EM_SETSEL, 0, 5);
    SetFocus(box);
    EXPECT_EQ(selection(), std::pair(end, end));
}
