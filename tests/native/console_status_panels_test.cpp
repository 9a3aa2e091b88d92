// What the main window writes into its status bar, in order, and how wide it makes the panels for the
// regional format's widest date and time.
#include "console/clock_panels.h"
#include "console/status_panels.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using console::ClockSample;
using console::StartPanelWidths;

namespace {

struct Recorder : console::PanelWriter {
    void AddPanel(const std::wstring& text, const std::wstring& key, long width) override {
        writes.push_back(L"add " + text + L"|" + key + L"|" + std::to_wstring(width));
    }
    void ChangeTextPanel(const std::wstring& text, long index) override {
        writes.push_back(std::to_wstring(index) + L" " + text);
    }
    std::vector<std::wstring> writes;
};

std::string Two(int n) {
    return std::string(n < 10 ? "0" : "") + std::to_string(n);
}

// Pixel widths of our own, every digit different, so that which value of a field is widest matters.
int Width(const std::string& text) {
    int w = 0;
    for (char c : text)
        w += c >= '0' && c <= '9' ? std::string_view("3144464347")[static_cast<std::size_t>(c - '0')] - '0' + 2
                                  : (c == ' ' || c == ':' || c == '.' ? 2 : 9);
    return w;
}

} // namespace

TEST(MainWindowPanels, LoadClockSendingAndDisconnectWriteInTheirOrder) {
    Recorder bar;
    console::AddStartPanels(bar, L"06/12/2026", L"10:00:00", {348, 81, 81});
    console::ShowClock(bar, L"10:00:01", L"07/12/2026");
    console::ShowSending(bar, 2, 7);
    console::ShowDisconnected(bar);
    EXPECT_EQ(bar.writes,
              (std::vector<std::wstring>{L"add |Skins|348", L"add 06/12/2026|Date|81", L"add 10:00:00|Time|81",
                                         L"1 Desconectado", L"3 10:00:01", L"2 07/12/2026",
                                         L"1 Enviando archivo: 2 de 7 líneas", L"1 Desconectado"}));
}

// The design's 350, 80 and 80 pixels at 96 dpi (the last panel running 22 pixels past a 488-pixel bar,
// its label shown to 4 pixels short of the bar's edge) show a date 70 and a time 48 pixels wide; what is
// wider takes room from the state panel, which keeps half of its own.
TEST(MainWindowPanels, TheDateAndTheTimeGrowAtTheStatePanelsCost) {
    const struct {
        int dpi, bar, date, time;
        StartPanelWidths widths;
    } rows[] = {
        {96, 488, 70, 48, {350, 80, 80}},     // Spain's widest may be as wide as the design shows
        {96, 488, 0, 0, {350, 80, 80}},       // never narrower than designed
        {96, 488, 71, 49, {348, 81, 81}},     // a pixel more each
        {96, 600, 70, 70, {350, 80, 80}},     // a bar past the panels shows the whole last label
        {96, 600, 70, 71, {349, 80, 81}},     // and a pixel more than that
        {144, 732, 110, 77, {525, 120, 120}}, // the design at 144 dpi
        {144, 732, 100, 95, {507, 120, 138}}, // an English time there
        {96, 488, 200, 30, {220, 210, 80}},   // the date alone wider
        {96, 488, 150, 200, {175, 103, 232}}, // cut by 57 pixels, from the date
        {96, 488, 300, 300, {175, 80, 255}},  // the date back to its design, the time cut too
    };
    for (const auto& r : rows)
        EXPECT_EQ(console::SizeStartPanels(r.dpi, r.bar, r.date, r.time), r.widths)
            << r.dpi << " dpi, bar " << r.bar << ", date " << r.date << ", time " << r.time;
}

// The samples find what trying every second of the day finds, with the designator after the time, before
// it, or none, and fields with or without a leading zero.
TEST(MainWindowPanels, TheWidestTimeOfTheSamplesIsTheWidestOfTheDay) {
    const std::function<std::string(const ClockSample&)> formats[] = {
        [](const ClockSample& t) {
            return std::to_string((t.hour + 11) % 12 + 1) + ":" + Two(t.minute) + ":" + Two(t.second) +
                   (t.hour < 12 ? " AM" : " PM");
        },
        [](const ClockSample& t) { return std::to_string(t.hour) + ":" + Two(t.minute) + ":" + Two(t.second); },
        [](const ClockSample& t) {
            return std::string(t.hour < 12 ? "vorm. " : "nachm. ") + Two(t.hour % 12) + ":" + std::to_string(t.minute) +
                   ":" + Two(t.second);
        },
    };
    for (const auto& format : formats) {
        int widest = 0;
        for (int h = 0; h < 24; ++h)
            for (int m = 0; m < 60; ++m)
                for (int s = 0; s < 60; ++s)
                    widest = std::max(widest, Width(format({2000, 1, 1, h, m, s})));
        EXPECT_EQ(console::WidestTime([&](const ClockSample& t) { return Width(format(t)); }), widest)
            << format({2000, 1, 1, 13, 5, 9});
    }
}

TEST(MainWindowPanels, TheWidestDateIsOfEveryDayOfTheYear) {
    for (const auto& [year, days] : {std::pair{2023, 365}, {2024, 366}, {1900, 365}, {2000, 366}}) {
        std::set<std::tuple<int, int, int>> seen;
        const int widest = console::WidestDate(year, [&](const ClockSample& d) {
            seen.insert({d.year, d.month, d.day});
            return d.month * 100 + d.day;
        });
        EXPECT_EQ(std::pair(widest, seen.size()), std::pair(1231, static_cast<std::size_t>(days))) << year;
        EXPECT_EQ(seen.count({year, 2, 29}), days == 366 ? 1u : 0u) << year;
    }
}
