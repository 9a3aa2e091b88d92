// A main window over the simulated driver, opened in its start state; connected through the real
// device finder when a test asks.
#pragma once

#include "console/about.h"
#include "console/app_context.h"
#include "console/open_finder.h"
#include "console/principal.h"
#include "finder/dispositivos.h"
#include "tests/wine/support/sim_driver.h"
#include "tests/wine/support/window_test.h"
#include "win/gdi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

namespace testsupport {

// For failure messages: ASCII stays, the rest shows as "?".
inline std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w)
        s += c < 128 ? static_cast<char>(c) : '?';
    return s;
}

// What the window shows of the control's client area holds its text (each line; no wrapping) in its
// font, with the margins: a child is seen only as far as its parent's client area reaches.
inline void ExpectFits(HWND control, int marginX = 0, int marginY = 0, HFONT font = nullptr) {
    const std::wstring text = WindowText(control);
    win::WindowDc dc(nullptr);
    win::SelectGuard select(dc.Get(), font ? font : reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT need{}, room{}, parent{};
    DrawTextW(dc.Get(), text.c_str(), -1, &need, DT_CALCRECT | DT_NOPREFIX);
    GetClientRect(control, &room);
    if (GetWindowLongW(control, GWL_STYLE) & WS_CHILD) {
        GetClientRect(GetParent(control), &parent);
        MapWindowPoints(GetParent(control), control, reinterpret_cast<POINT*>(&parent), 2);
        IntersectRect(&room, &room, &parent);
    }
    EXPECT_LE(need.right + marginX, room.right) << Narrow(text);
    EXPECT_LE(need.bottom + marginY, room.bottom) << Narrow(text);
}

// The widest date and time of the user's regional format, each in its panel, fit where the bar shows
// them: the widest short date of every day of this year, the widest long time of every hour at every
// minute (the seconds alike), measured in the panels' font.
inline void ExpectWidestClockFits(statusbar::SkinStatusBar& bar) {
    win::WindowDc dc(bar.PanelLabel(2));
    win::SelectGuard select(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(bar.PanelLabel(2), WM_GETFONT, 0, 0)));
    std::wstring widest[2];
    LONG most[2] = {-1, -1};
    wchar_t text[128];
    const auto keep = [&](int which, int length) {
        SIZE size{};
        if (length > 0 && GetTextExtentPoint32W(dc.Get(), text, length - 1, &size) && size.cx > most[which])
            most[which] = size.cx, widest[which] = text;
    };
    SYSTEMTIME t{};
    GetLocalTime(&t);
    SYSTEMTIME d = t; // the days a month lacks add nothing wider
    for (d.wMonth = 1; d.wMonth <= 12; ++d.wMonth)
        for (d.wDay = 1; d.wDay <= 31; ++d.wDay)
            keep(0, GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &d, nullptr, text, 128, nullptr));
    for (t.wHour = 0; t.wHour < 24; ++t.wHour)
        for (t.wMinute = 0; t.wMinute < 60; ++t.wMinute) {
            t.wSecond = t.wMinute;
            keep(1, GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &t, nullptr, text, 128));
        }
    for (int panel : {2, 3}) {
        ASSERT_GT(most[panel - 2], 0);
        bar.ChangeTextPanel(widest[panel - 2], panel);
        ExpectFits(bar.PanelLabel(panel));
    }
}

// Sends WM_DPICHANGED as Windows does for a move to a screen at dpi: the window's size with its client
// area scaled (Wine has one screen, so a test sends it itself).
inline void MoveToDpi(HWND hwnd, SIZE client96, int dpi) {
    RECT r{0, 0, MulDiv(client96.cx, dpi, 96), MulDiv(client96.cy, dpi, 96)};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    OffsetRect(&r, 10 - r.left, 10 - r.top);
    SendMessageW(hwnd, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
    PumpMessages(20);
}

inline LOGFONTW FontOf(HWND control) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return lf;
}

// The widths of the window's big (task switcher) and small (title bar) icons.
inline std::pair<int, int> IconSizes(HWND hwnd) {
    const auto width = [hwnd](WPARAM which) {
        ICONINFO info{};
        BITMAP bitmap{};
        GetIconInfo(reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, which, 0)), &info);
        const win::Bitmap colour(info.hbmColor), mask(info.hbmMask); // GetIconInfo's copies, ours to delete
        GetObjectW(colour.Get(), sizeof(bitmap), &bitmap);
        return static_cast<int>(bitmap.bmWidth);
    };
    return {width(ICON_BIG), width(ICON_SMALL)};
}

class PrincipalSession : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(principal.Open()) << (notices.notices.empty() ? std::string() : Narrow(notices.notices[0].text));
        console::AttachFinder(app, principal);
        PumpMessages(20);
    }
    void TearDown() override {
        finder::Dispositivos::CloseInstance();
        console::About::CloseInstance();
        if (principal.Hwnd())
            DestroyWindow(principal.Hwnd());
        PumpMessages(10);
    }

    static constexpr const char* kZev = SimDriver::kZevSerial;
    static constexpr const wchar_t* kItem = L"ZEV WiFi Server, NºSerie: ZV100001";

    // The finder opened from the toolbar, after its first refresh: it enumerates on opening and again a
    // moment later, and the first refresh of a run rebuilds the list, dropping any selection made before it.
    finder::Dispositivos* OpenFinder() {
        const unsigned long before = sim.Calls("enumeration");
        principal.Toolbar1_ButtonClick(L"Boton1");
        EXPECT_TRUE(PumpUntil([&] { return sim.Calls("enumeration") >= before + 2; }, 5000))
            << "the finder did not enumerate on opening and on its first refresh";
        return finder::Dispositivos::Instance();
    }
    // Connected as the user does it, then the device's LIST reply drained by the receive pump.
    void Connect() {
        finder::Dispositivos* f = OpenFinder();
        ASSERT_TRUE(f);
        SendMessageW(f->btnConectar.Hwnd(), BM_CLICK, 0, 0);
        ASSERT_TRUE(app.link.IsOpen());
        ASSERT_TRUE(WaitForReply(L"puerto=23")) << Narrow(principal.ConsoleText());
    }
    // Until the receive pump's own timer has shown the given text and the prompt after it.
    bool WaitForReply(const std::wstring& contains) {
        return PumpUntil([&] {
            return principal.ConsoleText().find(contains) != std::wstring::npos &&
                   principal.ConsoleText().back() == L'>';
        });
    }
    void TypeChar(wchar_t c) { SendMessageW(principal.txtConsole(), WM_CHAR, c, 1); }
    std::string Written() const { return sim.Written(kZev); }
    std::wstring Panel(int index) { return WindowText(principal.StatusBar1().PanelLabel(index)); }

    // Find, clear and the quick commands follow the state, disconnect and about never change; the
    // console is disabled only until the first connection.
    void ExpectControls(bool connected, bool consoleEnabled = true) {
        const bool tools[4] = {!connected, true, connected, true};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(principal.Toolbar().IsButtonEnabled(i + 1), tools[i]) << "tool " << i + 1;
            EXPECT_EQ(IsWindowEnabled(principal.Command1(i)) != FALSE, connected) << "quick command " << i;
        }
        EXPECT_EQ(principal.ConsoleEnabled(), consoleEnabled);
        EXPECT_EQ(Panel(1), connected ? std::wstring(L"Conectado con ") + kItem : L"Desconectado");
    }

    NoticeRecorder notices;
    SimDriver sim;
    console::AppContext app;
    // The window's clock runs as the system's, moved on by this much.
    std::uint64_t clockAhead = 0;
    console::Principal principal{
        app, {.programFolder = {}, .quitOnClose = false, .clock = [this] { return GetTickCount64() + clockAhead; }}};
};

} // namespace testsupport
