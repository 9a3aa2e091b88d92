// SkinStatusBar on a real window: docking, panel labels, removal, errors, foreign controls in panels;
// made from a saved set, and its first show.
#include "controls/host/diagnostic_run.h"
#include "controls/host/font_win.h"
#include "tests/wine/support/statusbar_host.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

using namespace testsupport;
using statusbar::SkinStatusBar;
using Texts = std::vector<std::wstring>;

namespace {

// The texts of the bar's STATIC children, sorted: what another process finds by walking them.
Texts StaticTexts(HWND bar) {
    Texts texts;
    for (HWND c = nullptr; (c = FindWindowExW(bar, c, L"Static", nullptr)) != nullptr;)
        texts.push_back(WindowText(c));
    std::sort(texts.begin(), texts.end());
    return texts;
}

using StatusBarPanels = StatusBarTest;

class StatusBarLife : public StatusBarTest {
protected:
    StatusBarLife() : StatusBarTest(0) {}
    // A bar asked for at (10, 20) in a running program, made from a saved set (null: none).
    void Make(const host::PropertyBag* saved) {
        bar_ = std::make_unique<SkinStatusBar>();
        SkinStatusBar::CreateArgs args{host_, 10, 20, 300, 22};
        args.savedProperties = saved;
        EXPECT_TRUE(bar_->Create(args));
    }
};

} // namespace

TEST_F(StatusBarPanels, DocksAndHoldsPanelsLabelsAndForeignControlsAndErrorsChangeNothing) {
    EXPECT_EQ(std::pair(bar_->Align(), bar_->Skin()), std::pair(2, 16)) << "no saved settings: skin 16";
    SetWindowPos(host_, nullptr, 0, 0, 700, 300, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(RectIn(bar_->Hwnd(), host_), (RECT{0, 300 - 17, 700, 300})) << "the window's width, as high as asked";
    AddMainWindowPanels();
    ASSERT_EQ(bar_->PanelsCount(), 3);
    // Labels are child windows whose text anyone can read, with the template never shown.
    EXPECT_EQ(StaticTexts(bar_->Hwnd()), (Texts{L"", L"06/12/2026", L"10:00:00", L"Desconectado"}));
    EXPECT_EQ(std::tuple(GetDlgCtrlID(bar_->PanelLabel(3)), IsWindowVisible(bar_->PanelLabel(0)),
                         IsWindowVisible(bar_->PanelLabel(3))),
              std::tuple(3, FALSE, TRUE));
    // Where a label goes is the panel table's rule; the window puts it there.
    const RECT label = InBar(bar_->PanelLabel(2));
    EXPECT_EQ(std::tuple(label.left, label.right, label.top),
              std::tuple(356L, 426L, statusbar::LabelTop(bar_->Panels().At(2), label.bottom - label.top)));
    // A long text is cut at the panel's width less 8; a short one keeps its own width.
    const std::wstring longText = L"12:34:56 y un texto mucho más largo que el panel";
    bar_->ChangeTextPanel(longText, 3);
    EXPECT_EQ(std::pair(WindowText(bar_->PanelLabel(3)), bar_->Panels().At(3).Text), std::pair(longText, longText));
    EXPECT_EQ(std::pair(InBar(bar_->PanelLabel(3)).left, InBar(bar_->PanelLabel(3)).right), std::pair(436L, 506L));
    bar_->ChangeTextPanel(L"1", 3);
    EXPECT_LT(InBar(bar_->PanelLabel(3)).right, 456L);
    SaveScreenshot(host_, L"statusbar_main_window_panels");

    // Foreign controls placed inside panels.
    HWND progress = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 40, host_, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
    EXPECT_FALSE(bar_->SetControlPanel(progress, 4));
    EXPECT_FALSE(bar_->SetControlPanel(host_, 1)) << "the bar's own window cannot move into it";
    ASSERT_TRUE(bar_->SetControlPanel(progress, 2));
    EXPECT_EQ(std::pair(GetParent(progress), InBar(progress)), std::pair(bar_->Hwnd(), RECT{354, 4, 428, 14}));
    ASSERT_TRUE(bar_->SetControlPanel(progress, 3, 0, 60, 500, 500, false));
    EXPECT_EQ(InBar(progress), (RECT{492, 2, 510, 14})) << "cut to the panel, shortened at its right edge";
    // A system colour number is translated; -1 asks for the bar's own colour.
    bar_->SetProgressBarColor(progress, static_cast<std::int32_t>(0x8000000F), -1);
    EXPECT_EQ(std::pair(SendMessageW(progress, PBM_GETBKCOLOR, 0, 0), SendMessageW(progress, PBM_GETBARCOLOR, 0, 0)),
              (std::pair<LRESULT, LRESULT>(GetSysColor(COLOR_BTNFACE), CLR_DEFAULT)));

    // Errors change nothing and speak as the control does.
    {
        host::ScopedDiagnosticRun off(false);
        for (int index : {4, -1, 0})
            bar_->ChangeTextPanel(L"x", index);
        EXPECT_TRUE(notices_.notices.empty()) << "an index outside speaks only in a diagnostic run";
    }
    EXPECT_EQ(bar_->Panels().At(0), statusbar::tPanel{}) << "element 0 is never written";
    bar_->AddPanel(L"a", L"", INT_MAX - 1);
    ExpectOnlyNotice(L"Error en AddPanel", L"Desbordamiento", MB_OK);
    EXPECT_EQ(std::pair(bar_->PanelsCount(), bar_->PanelLabel(4)), (std::pair<std::int16_t, HWND>(3, nullptr)));
}

TEST_F(StatusBarPanels, RemovingPanelsRebuildsTheRestAndTheirLabels) {
    EXPECT_FALSE(bar_->ClearPanelByKey(L"x")) << "no panels";
    bar_->AddPanel(L"uno", L"a", 100, 0x0000FF, 0x00FF00, 0xFF0000, true);
    bar_->AddPanel(L"dos", L"b", 60);
    bar_->AddPanel(L"tres", L"c", 70, 0x112233, 0x445566, 0x778899, true);
    EXPECT_FALSE(bar_->ClearPanelByIndex(0) || bar_->ClearPanelByIndex(4));
    ASSERT_TRUE(bar_->ClearPanelByIndex(2));
    // What a rebuild re-adds is the panel table's rule; the window re-places the rest and their labels.
    ASSERT_EQ(bar_->PanelsCount(), 2);
    EXPECT_EQ(std::tuple(bar_->Panels().At(2).Left, bar_->Panels().At(2).BorderColor, InBar(bar_->PanelLabel(2)).left,
                         bar_->PanelLabel(3)),
              std::tuple(102, -1, 106L, HWND{}));
    EXPECT_EQ(StaticTexts(bar_->Hwnd()), (Texts{L"", L"tres", L"uno"})) << "the removed ones are gone";
    ASSERT_TRUE(bar_->ClearPanelByKey(L"c"));
    EXPECT_EQ(StaticTexts(bar_->Hwnd()), (Texts{L"", L"uno"}));
    bar_->ClearPanels();
    EXPECT_EQ(StaticTexts(bar_->Hwnd()), Texts{L""}) << "only the template is left";
}

TEST_F(StatusBarLife, FromASavedSetAndAtItsFirstShow) {
    host::PropertyBag saved;
    saved.WriteLong(L"Skin", 7);
    saved.WritePicture(L"CustomSkin", SkinTile({10, 20, 30}, {40, 50, 60}));
    Make(&saved);
    EXPECT_EQ(std::pair(bar_->Skin(), bar_->GetSkinsColors(60)),
              std::pair(0, static_cast<std::int32_t>(RGB(10, 20, 30))));
    EXPECT_FALSE(bar_->Site().SavedSetOutOfDate()) << "what was read is what the set says";
    host::PropertyBag written;
    bar_->WriteProperties(written);
    EXPECT_EQ(written.ReadPicture(L"CustomSkin"), SkinTile({10, 20, 30}, {40, 50, 60}));

    // The first show in a running program sets the font, also of the template label, and docks.
    Make(nullptr);
    const host::FontDesc font = host::FontDescFromHandle(bar_->Font());
    EXPECT_EQ(std::pair(font.name, font.bold), std::pair(std::wstring(L"MS Sans Serif"), false));
    EXPECT_EQ(host::FontDescFromHandle(reinterpret_cast<HFONT>(SendMessageW(bar_->PanelLabel(0), WM_GETFONT, 0, 0))),
              font);
    EXPECT_EQ(std::pair(bar_->Align(), RectIn(bar_->Hwnd(), host_)), std::pair(2, RECT{0, 200 - 22, 600, 200}));
}
