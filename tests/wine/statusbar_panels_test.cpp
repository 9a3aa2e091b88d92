// SkinStatusBar on a real window: docking, panels and their labels (readable from outside), text
// clipping, removal rebuilds, errors, foreign controls in panels.
#include "controls/host/diagnostic_run.h"
#include "tests/wine/support/statusbar_host.h"

#include <commctrl.h>

#include <climits>
#include <cmath>
#include <tuple>

using namespace testsupport;

namespace {

using StatusBarPanels = StatusBarTest;

} // namespace

TEST_F(StatusBarPanels, DocksAtTheBottomOfItsWindowAndFollowsItsSize) {
    EXPECT_EQ(bar_->Align(), 2);
    EXPECT_EQ(bar_->Skin(), 16) << "no saved settings: skin 16";
    for (int width : {600, 700}) {
        SetWindowPos(host_, nullptr, 0, 0, width, 300, SWP_NOMOVE | SWP_NOZORDER);
        const RECT bar = RectIn(bar_->Hwnd(), host_);
        EXPECT_EQ(bar, (RECT{0, 300 - 17, width, 300})) << "spans the window's width, as high as asked";
    }
}

TEST_F(StatusBarPanels, MainWindowPanelsAndTheirLabels) {
    AddMainWindowPanels();
    ASSERT_EQ(bar_->PanelsCount(), 3);
    EXPECT_EQ(bar_->GetPanelWidth(3), 78) << "Right - Left, not the width asked";
    EXPECT_EQ(bar_->GetPanelHeight(2), 12) << "bottom = 17 - 3";
    // Labels are child windows whose text anyone can read, with the template never shown.
    using Texts = std::vector<std::wstring>;
    EXPECT_EQ(StaticTexts(bar_->Hwnd()), (Texts{L"", L"06/12/2026", L"10:00:00", L"Desconectado"}));
    EXPECT_EQ(GetDlgCtrlID(bar_->PanelLabel(3)), 3);
    EXPECT_TRUE(IsWindowVisible(bar_->PanelLabel(3)));
    EXPECT_FALSE(IsWindowVisible(bar_->PanelLabel(0)));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(WindowText(bar_->PanelLabel(i)), bar_->Panels().At(i).Text);
        const RECT r = InBar(bar_->PanelLabel(i));
        EXPECT_EQ(r.left, bar_->GetPanelLeft(i) + 4) << i;
        const double centre = (14.0 - (r.bottom - r.top + 2)) / 2.0;
        EXPECT_EQ(r.top, static_cast<int>(std::nearbyint(centre)) + 2) << i;
    }
    EXPECT_EQ(InBar(bar_->PanelLabel(2)).right, 426) << "a new label spans its panel's room";
    SaveScreenshot(host_, L"statusbar_main_window_panels");
}

TEST_F(StatusBarPanels, ChangeTextPanelCutsLongTextsToThePanelAndLetsShortOnesKeepTheirWidth) {
    AddMainWindowPanels();
    const std::wstring longText = L"12:34:56 y un texto mucho más largo que el panel";
    bar_->ChangeTextPanel(longText, 3);
    EXPECT_EQ(WindowText(bar_->PanelLabel(3)), longText);
    EXPECT_EQ(bar_->Panels().At(3).Text, longText);
    RECT r = InBar(bar_->PanelLabel(3));
    EXPECT_EQ(r.left, 436) << "position unchanged";
    EXPECT_EQ(r.right - r.left, 70) << "cut at the panel width minus 8";
    bar_->ChangeTextPanel(L"1", 3);
    r = InBar(bar_->PanelLabel(3));
    EXPECT_EQ(r.left, 436);
    EXPECT_GT(r.right - r.left, 0);
    EXPECT_LT(r.right - r.left, 20) << "a short text keeps its own width";
}

TEST_F(StatusBarPanels, AnIndexOutsideTheTableChangesNothingAndSpeaksOnlyInADiagnosticRun) {
    AddMainWindowPanels();
    {
        host::ScopedDiagnosticRun off(false);
        for (int index : {4, -1, 0})
            bar_->ChangeTextPanel(L"x", index);
        EXPECT_TRUE(notices_.notices.empty());
    }
    EXPECT_EQ(bar_->Panels().At(0), statusbar::tPanel{}) << "element 0 is never written";
    if (!host::kDiagnosticBuild)
        GTEST_SKIP() << "release build: no diagnostic messages";
    bar_->ChangeTextPanel(L"x", 9);
    ExpectOnlyNotice(L"Error: 9", L"El subíndice está fuera del intervalo", MB_OK | MB_ICONERROR);
    EXPECT_EQ(WindowText(bar_->PanelLabel(1)), L"Desconectado");
}

TEST_F(StatusBarPanels, RemovingPanelsRebuildsTheRestAndTheirLabels) {
    EXPECT_FALSE(bar_->ClearPanelByKey(L"x")) << "no panels";
    EXPECT_FALSE(bar_->ClearPanelByIndex(1));
    bar_->AddPanel(L"uno", L"a", 100, 0x0000FF, 0x00FF00, 0xFF0000, true);
    bar_->AddPanel(L"dos", L"b", 60);
    bar_->AddPanel(L"tres", L"c", 70, 0x112233, 0x445566, 0x778899, true);
    EXPECT_FALSE(bar_->ClearPanelByIndex(0));
    EXPECT_FALSE(bar_->ClearPanelByIndex(4));
    ASSERT_TRUE(bar_->ClearPanelByIndex(2));
    ASSERT_EQ(bar_->PanelsCount(), 2);
    const auto& p2 = bar_->Panels().At(2);
    // The former panel 3 starts at the old panel 2's Left, keeps its width and colours, loses its own
    // border colour and weight.
    EXPECT_EQ(std::tie(p2.Left, p2.Right, p2.ForeColor, p2.BackColor, p2.BorderColor, p2.Bold),
              std::make_tuple(102, 170, 0x112233, 0x445566, -1, false));
    EXPECT_EQ(InBar(bar_->PanelLabel(2)).left, 106);
    EXPECT_EQ(bar_->PanelLabel(3), nullptr) << "labels exist for panels 1 to n only";
    EXPECT_EQ(StaticTexts(bar_->Hwnd()), (std::vector<std::wstring>{L"", L"tres", L"uno"}))
        << "the removed ones are gone";

    bar_->AddPanel(L"otra", L"C ", 50);
    EXPECT_FALSE(bar_->ClearPanelByKey(L""));
    ASSERT_TRUE(bar_->ClearPanelByKey(L" c")) << "case and blanks ignored, every match removed";
    EXPECT_EQ(StaticTexts(bar_->Hwnd()), (std::vector<std::wstring>{L"", L"uno"}));
    EXPECT_TRUE(bar_->ClearPanelByKey(L"nadie")) << "true even when no panel had the key";
    EXPECT_EQ(bar_->PanelsCount(), 1);
    bar_->ClearPanels();
    EXPECT_EQ(bar_->PanelsCount(), 0);
    EXPECT_EQ(StaticTexts(bar_->Hwnd()), std::vector<std::wstring>{L""}) << "only the template is left";
}

TEST_F(StatusBarPanels, AnAddPanelErrorIsShownAndLeavesNoHalfMadePanel) {
    bar_->AddPanel(L"a", L"", INT_MAX - 1);
    bar_->AddPanel(L"b", L"", 50);
    ExpectOnlyNotice(L"Error en AddPanel", L"Desbordamiento", MB_OK);
    EXPECT_EQ(bar_->PanelsCount(), 1);
    EXPECT_EQ(bar_->PanelLabel(2), nullptr);
    bar_->AddPanel(L"c", L"", -4);
    EXPECT_EQ(notices_.notices.size(), 2u);
    EXPECT_EQ(bar_->PanelsCount(), 1);
    bar_->ChangeTextPanel(L"sigue", 1);
    EXPECT_EQ(WindowText(bar_->PanelLabel(1)), L"sigue");
}

TEST_F(StatusBarPanels, ForeignControlsArePlacedInsidePanels) {
    AddMainWindowPanels();
    HWND progress = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 40, host_, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(progress);
    EXPECT_FALSE(bar_->SetControlPanel(progress, 4));
    EXPECT_FALSE(bar_->SetControlPanel(host_, 1)) << "the bar's own window cannot move into it";
    ASSERT_TRUE(bar_->SetControlPanel(progress, 2));
    EXPECT_EQ(GetParent(progress), bar_->Hwnd());
    EXPECT_EQ(InBar(progress), (RECT{354, 4, 354 + 74, 4 + 10}));
    ASSERT_TRUE(bar_->SetControlPanel(progress, 3, 0, 60, 500, 500, false));
    EXPECT_EQ(InBar(progress), (RECT{492, 2, 510, 14})) << "cut to the panel, shortened at its right edge";
    EXPECT_FALSE(bar_->SetProgressBarColor(progress, 0x00FF00, 0x0000FF));
    EXPECT_EQ(SendMessageW(progress, PBM_GETBARCOLOR, 0, 0), 0x0000FF);
    EXPECT_EQ(SendMessageW(progress, PBM_GETBKCOLOR, 0, 0), 0x00FF00);
    // A system colour number is translated; -1 asks for the bar's own colour.
    bar_->SetProgressBarColor(progress, static_cast<std::int32_t>(0x8000000F), -1);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(progress, PBM_GETBKCOLOR, 0, 0)), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(progress, PBM_GETBARCOLOR, 0, 0)), CLR_DEFAULT);
}
