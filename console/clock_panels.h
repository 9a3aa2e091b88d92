// How wide the main window's three status panels are. The design gives the connection state 350
// pixels and the date and the time 80 each (at 96 dpi), enough for Spain's formats; another regional
// format may need more (an English "12:31:15 AM"). So the date and the time panels grow until the
// widest date and time of the user's format fit where the bar shows them, and the state panel gives up
// that room: the panels together stay as wide as designed. Platform-neutral: the window formats and
// measures the samples named here.
#pragma once

#include <functional>

namespace console {

// A moment to format; its weekday is the formatter's to work out.
struct ClockSample {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    bool operator==(const ClockSample&) const = default;
};
// The width in pixels of a moment as a panel shows it (formatted, then measured in the panel's font).
using SampleWidth = std::function<int(const ClockSample&)>;

// The widest short date of the year: every day of it, so every month, day of the month and weekday.
int WidestDate(int year, const SampleWidth& width);
// The widest long time. The hour (with its AM/PM designator, if the format has one), the minutes and
// the seconds are fields of their own, so the widest of each is found in turn: every hour, then every
// minute at the widest hour, then every second at both: 144 samples instead of a day's 86400.
int WidestTime(const SampleWidth& width);

struct StartPanelWidths {
    int state = 0, date = 0, time = 0;
    bool operator==(const StartPanelWidths&) const = default;
};

// The design's widths at this dpi, then the date and the time panels widened so that their labels show
// the widest date and time whole, in a bar barWidth pixels wide: the last panel runs past the bar's
// right edge (the design's panels span 510 pixels of a 488-pixel window), and its label is seen only up
// to there. The state panel gives up the room, but keeps at least half its designed width: the
// connection is what the bar is for; a clock wider than what is left is cut, the date before the time.
StartPanelWidths SizeStartPanels(int dpi, int barWidth, int widestDate, int widestTime);

} // namespace console
