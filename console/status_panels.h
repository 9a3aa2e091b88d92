// What the main window writes into its status bar: the three panels at load, the connection state
// and the clock. Platform-neutral over a small writer, so the order of the writes is testable
// without a window.
#pragma once

#include "console/clock_panels.h"

#include <cstddef>
#include <string>

namespace console {

// The status bar as the main window uses it (panels numbered from 1).
class PanelWriter {
public:
    virtual ~PanelWriter() = default;
    virtual void AddPanel(const std::wstring& sText, const std::wstring& sKey, long lWidth) = 0;
    virtual void ChangeTextPanel(const std::wstring& sText, long lIndex) = 0;
};

inline constexpr long kPanelState = 1;
inline constexpr long kPanelDate = 2;
inline constexpr long kPanelTime = 3;
inline const wchar_t* const kDesconectado = L"Desconectado";

// The state panel, the date and the time, at these widths (the bar's pixels).
inline void AddPanels(PanelWriter& bar, const std::wstring& state, const std::wstring& date, const std::wstring& time,
                      const StartPanelWidths& widths) {
    bar.AddPanel(state, L"Skins", widths.state);
    bar.AddPanel(date, L"Date", widths.date);
    bar.AddPanel(time, L"Time", widths.time);
}

// Load: the state panel (empty at first), the date and the time, then "Desconectado".
inline void AddStartPanels(PanelWriter& bar, const std::wstring& date, const std::wstring& time,
                           const StartPanelWidths& widths) {
    AddPanels(bar, L"", date, time, widths);
    bar.ChangeTextPanel(kDesconectado, kPanelState);
}

// Clock tick: the time first, then the date.
inline void ShowClock(PanelWriter& bar, const std::wstring& time, const std::wstring& date) {
    bar.ChangeTextPanel(time, kPanelTime);
    bar.ChangeTextPanel(date, kPanelDate);
}

// A link opened to the device the finder's item names (its description and serial number).
inline void ShowConnected(PanelWriter& bar, const std::wstring& item) {
    bar.ChangeTextPanel(L"Conectado con " + item, kPanelState);
}

// A file going to the device: n of its m lines written.
inline void ShowSending(PanelWriter& bar, std::size_t n, std::size_t m) {
    bar.ChangeTextPanel(L"Enviando archivo: " + std::to_wstring(n) + L" de " + std::to_wstring(m) + L" líneas",
                        kPanelState);
}

inline void ShowDisconnected(PanelWriter& bar) {
    bar.ChangeTextPanel(kDesconectado, kPanelState);
}

} // namespace console
