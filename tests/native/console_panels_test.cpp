// What the main window writes into its status bar, in order.
#include "console/status_panels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Recorder : console::PanelWriter {
    std::vector<std::wstring> calls;
    void AddPanel(const std::wstring& sText, const std::wstring& sKey, long lWidth) override {
        calls.push_back(L"add " + sKey + L" " + std::to_wstring(lWidth) + L" [" + sText + L"]");
    }
    void ChangeTextPanel(const std::wstring& sText, long lIndex) override {
        calls.push_back(L"set " + std::to_wstring(lIndex) + L" [" + sText + L"]");
    }
};

} // namespace

TEST(ConsolePanels, LoadAddsStateDateAndTimeThenShowsDisconnected) {
    Recorder bar;
    console::AddStartPanels(bar, L"06/12/2026", L"7:05:09");
    EXPECT_EQ(bar.calls, (std::vector<std::wstring>{L"add Skins 350 []", L"add Date 80 [06/12/2026]",
                                                    L"add Time 80 [7:05:09]", L"set 1 [Desconectado]"}));
}

TEST(ConsolePanels, ClockWritesTheTimeFirstThenTheDate) {
    Recorder bar;
    console::ShowClock(bar, L"7:05:10", L"06/12/2026");
    console::ShowDisconnected(bar);
    EXPECT_EQ(bar.calls,
              (std::vector<std::wstring>{L"set 3 [7:05:10]", L"set 2 [06/12/2026]", L"set 1 [Desconectado]"}));
}
