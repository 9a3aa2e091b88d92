#include "console/clock_text.h"

#include "win/gdi.h"

namespace console {
namespace {

SYSTEMTIME ToSystemTime(const ClockSample& when) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(when.year);
    t.wMonth = static_cast<WORD>(when.month);
    t.wDay = static_cast<WORD>(when.day);
    t.wHour = static_cast<WORD>(when.hour);
    t.wMinute = static_cast<WORD>(when.minute);
    t.wSecond = static_cast<WORD>(when.second);
    // Through a file time and back, which fills in the weekday.
    FILETIME ft{};
    if (SystemTimeToFileTime(&t, &ft))
        FileTimeToSystemTime(&ft, &t);
    return t;
}

} // namespace

std::wstring ShortDateText(const SYSTEMTIME& when) {
    wchar_t text[128] = {};
    if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, text, 128) <= 0)
        return {};
    return text;
}

std::wstring LongTimeText(const SYSTEMTIME& when) {
    wchar_t text[128] = {};
    // No flags and no picture: the user's long time format.
    if (GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &when, nullptr, text, 128) <= 0)
        return {};
    return text;
}

SYSTEMTIME LocalNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}

StartPanelWidths ClockPanelWidths(const statusbar::SkinStatusBar& bar, int year) {
    // The template label: every panel label is made from it, in its font.
    HWND label = bar.PanelLabel(0);
    win::WindowDc dc(label);
    win::SelectGuard font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    const auto measure = [&dc](const std::wstring& text) {
        SIZE size{};
        GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    const int date = WidestDate(year, [&](const ClockSample& s) { return measure(ShortDateText(ToSystemTime(s))); });
    const int time = WidestTime([&](const ClockSample& s) { return measure(LongTimeText(ToSystemTime(s))); });
    RECT client{};
    GetClientRect(bar.Hwnd(), &client);
    return SizeStartPanels(bar.Dpi(), client.right, date, time);
}

} // namespace console
