// SkinStatusBar on a real window: docking, panels and their labels (readable from outside), text
// clipping, removal rebuilds, errors, foreign controls in panels.
#include "controls/host/diagnostic_run.h"
#include "controls/statusbar/skin_status_bar.h"
#include "tests/wine/support/window_test.h"
#include "win/units.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>

using namespace testsupport;
using statusbar::SkinStatusBar;

namespace {

class StatusBarPanels : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = L"ZevStatusBarHost";
        RegisterClassExW(&wc);
        RECT r{0, 0, 500, 300};
        AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
        host_ =
            CreateWindowExW(0, L"ZevStatusBarHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 30, 30,
                            r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(host_);
        // The main window's bar: 0, 7815 twips, 7320 x 255 twips.
        ASSERT_TRUE(
            bar_->Create(host_, 0, win::TwipsToPixels(7815), win::TwipsToPixels(7320), win::TwipsToPixels(255)));
        PumpMessages(20);
    }
    void TearDown() override {
        bar_.reset();
        DestroyWindow(host_);
    }
    void AddMainWindowPanels() {
        bar_->AddPanel(L"", L"Skins", 350);
        bar_->AddPanel(L"06/12/2026", L"Date", 80);
        bar_->AddPanel(L"10:00:00", L"Time", 80);
        bar_->ChangeTextPanel(L"Desconectado", 1);
    }
    RECT LabelRect(int i) {
        RECT r{};
        GetWindowRect(bar_->PanelLabel(i), &r);
        MapWindowPoints(nullptr, bar_->Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    NoticeRecorder notices_;
    HWND host_ = nullptr;
    std::unique_ptr<SkinStatusBar> bar_ = std::make_unique<SkinStatusBar>();
};

// What another program sees: the text of a child window read with WM_GETTEXT.
std::wstring GetText(HWND hwnd) {
    wchar_t buf[512] = {};
    SendMessageW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buf));
    return buf;
}

BOOL CALLBACK CountTimeLabels(HWND child, LPARAM count) {
    if (GetText(child) == L"10:00:00")
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountStatics(HWND child, LPARAM count) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    if (lstrcmpiW(cls, L"Static") == 0)
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

} // namespace

TEST_F(StatusBarPanels, DocksAtTheBottomOfItsWindowAndFollowsItsSize) {
    RECT bar{}, client{};
    GetClientRect(host_, &client);
    GetWindowRect(bar_->Hwnd(), &bar);
    MapWindowPoints(nullptr, host_, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_EQ(bar.left, 0);
    EXPECT_EQ(bar.right, client.right) << "spans the window's width";
    EXPECT_EQ(bar.bottom, client.bottom);
    EXPECT_EQ(bar.bottom - bar.top, 17) << "255 twips";
    EXPECT_EQ(bar_->Align(), 2);
    EXPECT_EQ(bar_->Skin(), 16) << "no saved settings: skin 16";
    SetWindowPos(host_, nullptr, 0, 0, 700, 400, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(host_, &client);
    GetWindowRect(bar_->Hwnd(), &bar);
    MapWindowPoints(nullptr, host_, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_EQ(bar.right, client.right);
    EXPECT_EQ(bar.bottom, client.bottom);
    EXPECT_EQ(bar.bottom - bar.top, 17);
}

TEST_F(StatusBarPanels, MainWindowPanelsAndTheirLabels) {
    AddMainWindowPanels();
    ASSERT_EQ(bar_->PanelsCount(), 3);
    EXPECT_EQ(bar_->GetPanelLeft(1), 2);
    EXPECT_EQ(bar_->GetPanelWidth(1), 348);
    EXPECT_EQ(bar_->GetPanelLeft(2), 352);
    EXPECT_EQ(bar_->GetPanelLeft(3), 432);
    EXPECT_EQ(bar_->GetPanelWidth(3), 78);
    EXPECT_EQ(bar_->GetPanelTop(2), 2);
    EXPECT_EQ(bar_->GetPanelHeight(2), 12) << "bottom = 17 - 3";
    EXPECT_EQ(bar_->GetPanelLeft(4), -1);
    EXPECT_EQ(bar_->GetPanelLeft(0), 0);
    // Labels are child windows whose text anyone can read.
    EXPECT_EQ(GetText(bar_->PanelLabel(1)), L"Desconectado");
    EXPECT_EQ(GetText(bar_->PanelLabel(2)), L"06/12/2026");
    EXPECT_EQ(GetText(bar_->PanelLabel(3)), L"10:00:00");
    EXPECT_EQ(GetDlgCtrlID(bar_->PanelLabel(3)), 3);
    EXPECT_TRUE(IsWindowVisible(bar_->PanelLabel(3)));
    EXPECT_FALSE(IsWindowVisible(bar_->PanelLabel(0))) << "the template is never shown";
    for (int i = 1; i <= 3; ++i) {
        const RECT r = LabelRect(i);
        EXPECT_EQ(r.left, bar_->GetPanelLeft(i) + 4) << i;
        const int h = r.bottom - r.top;
        const double centre = (14.0 - (h + 2)) / 2.0;
        EXPECT_EQ(r.top, static_cast<int>(std::nearbyint(centre)) + 2) << i;
    }
    EXPECT_EQ(LabelRect(2).right - LabelRect(2).left, 78 - 8) << "a new label spans its panel's room";
    // Found from outside by walking the bar's children, as another process would.
    int found = 0;
    EnumChildWindows(bar_->Hwnd(), CountTimeLabels, reinterpret_cast<LPARAM>(&found));
    EXPECT_EQ(found, 1);
    SaveScreenshot(host_, L"statusbar_main_window_panels");
}

TEST_F(StatusBarPanels, ChangeTextPanelCutsLongTextsToThePanelAndLetsShortOnesKeepTheirWidth) {
    AddMainWindowPanels();
    bar_->ChangeTextPanel(L"12:34:56 y un texto mucho más largo que el panel", 3);
    EXPECT_EQ(GetText(bar_->PanelLabel(3)), L"12:34:56 y un texto mucho más largo que el panel");
    EXPECT_EQ(bar_->Panels().At(3).Text, L"12:34:56 y un texto mucho más largo que el panel");
    RECT r = LabelRect(3);
    EXPECT_EQ(r.right - r.left, 70) << "cut at the panel width minus 8";
    EXPECT_EQ(r.left, 436) << "position unchanged";
    bar_->ChangeTextPanel(L"1", 3);
    r = LabelRect(3);
    EXPECT_GT(r.right - r.left, 0);
    EXPECT_LT(r.right - r.left, 20) << "a short text keeps its own width";
    EXPECT_EQ(r.left, 436);
}

TEST_F(StatusBarPanels, AnIndexOutsideTheTableChangesNothingAndSpeaksOnlyInADiagnosticRun) {
    AddMainWindowPanels();
    {
        host::ScopedDiagnosticRun off(false);
        bar_->ChangeTextPanel(L"x", 4);
        bar_->ChangeTextPanel(L"x", -1);
        bar_->ChangeTextPanel(L"x", 0);
        EXPECT_TRUE(notices_.notices.empty());
    }
    EXPECT_EQ(bar_->Panels().At(0), statusbar::tPanel{}) << "element 0 is never written";
    if (!host::kDiagnosticBuild)
        GTEST_SKIP() << "release build: no diagnostic messages";
    bar_->ChangeTextPanel(L"x", 9);
    ASSERT_EQ(notices_.notices.size(), 1u);
    EXPECT_EQ(notices_.notices[0].title, L"Error: 9");
    EXPECT_EQ(notices_.notices[0].text, L"El subíndice está fuera del intervalo");
    EXPECT_EQ(notices_.notices[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(GetText(bar_->PanelLabel(1)), L"Desconectado");
}

TEST_F(StatusBarPanels, RemovingAPanelRebuildsTheRestAndTheirLabels) {
    bar_->AddPanel(L"uno", L"a", 100, 0x0000FF, 0x00FF00, 0xFF0000, true);
    bar_->AddPanel(L"dos", L"b", 60);
    bar_->AddPanel(L"tres", L"c", 70, 0x112233, 0x445566, 0x778899, true);
    EXPECT_FALSE(bar_->ClearPanelByIndex(0));
    EXPECT_FALSE(bar_->ClearPanelByIndex(4));
    ASSERT_TRUE(bar_->ClearPanelByIndex(2));
    ASSERT_EQ(bar_->PanelsCount(), 2);
    const auto& p2 = bar_->Panels().At(2);
    EXPECT_EQ(p2.Text, L"tres");
    EXPECT_EQ(p2.Left, 102) << "starts at the old panel 2's Left";
    EXPECT_EQ(p2.ForeColor, 0x112233);
    EXPECT_EQ(p2.BackColor, 0x445566);
    EXPECT_EQ(p2.BorderColor, -1);
    EXPECT_FALSE(p2.Bold);
    EXPECT_EQ(GetText(bar_->PanelLabel(2)), L"tres");
    EXPECT_EQ(bar_->PanelLabel(3), nullptr) << "labels exist for panels 1 to n only";
    EXPECT_EQ(LabelRect(2).left, 106);
    int children = 0;
    EnumChildWindows(bar_->Hwnd(), CountStatics, reinterpret_cast<LPARAM>(&children));
    EXPECT_EQ(children, 3) << "the template and two panel labels; the removed ones are gone";
}

TEST_F(StatusBarPanels, ClearingByKeyIgnoresCaseAndBlanksAndRemovesEveryMatch) {
    EXPECT_FALSE(bar_->ClearPanelByKey(L"x")) << "no panels";
    EXPECT_FALSE(bar_->ClearPanelByIndex(1));
    AddMainWindowPanels();
    bar_->AddPanel(L"otra fecha", L"DATE", 50);
    EXPECT_FALSE(bar_->ClearPanelByKey(L""));
    ASSERT_TRUE(bar_->ClearPanelByKey(L"date "));
    ASSERT_EQ(bar_->PanelsCount(), 2);
    EXPECT_EQ(bar_->Panels().At(2).Key, L"Time");
    EXPECT_EQ(GetText(bar_->PanelLabel(2)), L"10:00:00");
    EXPECT_TRUE(bar_->ClearPanelByKey(L"nadie")) << "true even when no panel had the key";
    EXPECT_EQ(bar_->PanelsCount(), 2);
    bar_->ClearPanels();
    EXPECT_EQ(bar_->PanelsCount(), 0);
    EXPECT_EQ(bar_->PanelLabel(1), nullptr);
    EXPECT_NE(bar_->PanelLabel(0), nullptr);
}

TEST_F(StatusBarPanels, AnAddPanelErrorIsShownAndLeavesNoHalfMadePanel) {
    bar_->AddPanel(L"a", L"", INT_MAX - 1);
    notices_.notices.clear();
    bar_->AddPanel(L"b", L"", 50);
    ASSERT_EQ(notices_.notices.size(), 1u);
    EXPECT_EQ(notices_.notices[0].title, L"Error en AddPanel");
    EXPECT_EQ(notices_.notices[0].text, L"Desbordamiento");
    EXPECT_EQ(notices_.notices[0].flags, static_cast<UINT>(MB_OK));
    EXPECT_EQ(bar_->PanelsCount(), 1);
    EXPECT_EQ(bar_->PanelLabel(2), nullptr);
    bar_->AddPanel(L"c", L"", -4);
    EXPECT_EQ(notices_.notices.size(), 2u);
    EXPECT_EQ(bar_->PanelsCount(), 1);
    bar_->ChangeTextPanel(L"sigue", 1);
    EXPECT_EQ(GetText(bar_->PanelLabel(1)), L"sigue");
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
    RECT r{};
    GetWindowRect(progress, &r);
    MapWindowPoints(nullptr, bar_->Hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 354);
    EXPECT_EQ(r.top, 4);
    EXPECT_EQ(r.right - r.left, 74);
    EXPECT_EQ(r.bottom - r.top, 10);
    // Without automatic size: cut to the panel, shortened at its right edge.
    ASSERT_TRUE(bar_->SetControlPanel(progress, 3, 0, 60, 500, 500, false));
    GetWindowRect(progress, &r);
    MapWindowPoints(nullptr, bar_->Hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 492);
    EXPECT_EQ(r.right, 510);
    EXPECT_EQ(r.bottom - r.top, 12);
    EXPECT_FALSE(bar_->SetProgressBarColor(progress, 0x00FF00, 0x0000FF));
    EXPECT_EQ(SendMessageW(progress, PBM_GETBARCOLOR, 0, 0), 0x0000FF);
    EXPECT_EQ(SendMessageW(progress, PBM_GETBKCOLOR, 0, 0), 0x00FF00);
    // A system colour number is translated; -1 asks for the bar's own colour.
    bar_->SetProgressBarColor(progress, static_cast<std::int32_t>(0x8000000F), -1);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(progress, PBM_GETBKCOLOR, 0, 0)), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(progress, PBM_GETBARCOLOR, 0, 0)), CLR_DEFAULT);
}
