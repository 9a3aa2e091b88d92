#include "console/clock_panels.h"

#include "controls/statusbar/panel_table.h"
#include "win/units.h"

#include <algorithm>

namespace console {
namespace {

constexpr int kDesignState = 350, kDesignDate = 80, kDesignTime = 80;

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// The value of one field (0 to count - 1) whose sample is the widest; the first of equals.
template <typename Sample> int WidestValue(int count, const SampleWidth& width, Sample sample) {
    int best = 0, bestWidth = width(sample(0));
    for (int v = 1; v < count; ++v)
        if (const int w = width(sample(v)); w > bestWidth)
            best = v, bestWidth = w;
    return best;
}

// How much of a panel's label the bar shows: from the label's left edge to its right edge, or to 4
// pixels short of the bar's edge where that comes first (a label keeps as much from its panel's box).
int VisibleRoom(const statusbar::tPanel& p, int barWidth) {
    constexpr int kEdgeGap = 4;
    const int left = statusbar::LabelLeft(p);
    return std::max(0, std::min(left + statusbar::LabelRoom(p), barWidth - kEdgeGap) - left);
}

} // namespace

int WidestDate(int year, const SampleWidth& width) {
    int widest = 0;
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= DaysInMonth(year, month); ++day)
            widest = std::max(widest, width(ClockSample{year, month, day}));
    return widest;
}

int WidestTime(const SampleWidth& width) {
    const int hour = WidestValue(24, width, [](int h) { return ClockSample{.hour = h}; });
    const int minute = WidestValue(60, width, [hour](int m) { return ClockSample{.hour = hour, .minute = m}; });
    const int second =
        WidestValue(60, width, [&](int s) { return ClockSample{.hour = hour, .minute = minute, .second = s}; });
    return width(ClockSample{.hour = hour, .minute = minute, .second = second});
}

StartPanelWidths SizeStartPanels(int dpi, int barWidth, int widestDate, int widestTime) {
    StartPanelWidths w{win::ScaleToDpi(kDesignState, dpi), win::ScaleToDpi(kDesignDate, dpi),
                       win::ScaleToDpi(kDesignTime, dpi)};
    // Laid out as the bar will lay them out. A panel grown by some pixels at the state panel's cost
    // shows its label at least that much wider: its left edge moves that far left, its right edge
    // stays or, when the last panel grows, moves left inside the bar.
    statusbar::PanelTable table;
    for (const int width : {w.state, w.date, w.time})
        table.Add(statusbar::PanelSpec{L"", L"", width}, 24);
    int moreDate = std::max(0, widestDate - VisibleRoom(table.At(2), barWidth));
    int moreTime = std::max(0, widestTime - VisibleRoom(table.At(3), barWidth));
    // What the state panel can give; a clock that wants more is cut, the date first.
    const int spare = w.state - w.state / 2;
    const int cut = std::max(0, moreDate + moreTime - spare);
    const int fromDate = std::min(cut, moreDate);
    moreDate -= fromDate;
    moreTime -= cut - fromDate;
    return {w.state - moreDate - moreTime, w.date + moreDate, w.time + moreTime};
}

} // namespace console
