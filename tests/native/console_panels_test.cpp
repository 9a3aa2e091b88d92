// What the main window writes into its status bar, in order: the panels at load, the clock (time, then
// date) and the disconnected state.
#include "console/status_panels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

} // namespace

TEST(MainWindowPanels, LoadClockAndDisconnectWriteInTheirOrder) {
    Recorder bar;
    console::AddStartPanels(bar, L"06/12/2026", L"10:00:00");
    console::ShowClock(bar, L"10:00:01", L"07/12/2026");
    console::ShowDisconnected(bar);
    EXPECT_EQ(bar.writes,
              (std::vector<std::wstring>{L"add |Skins|350", L"add 06/12/2026|Date|80", L"add 10:00:00|Time|80",
                                         L"1 Desconectado", L"3 10:00:01", L"2 07/12/2026", L"1 Desconectado"}));
}
