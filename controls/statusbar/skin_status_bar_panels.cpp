// SkinStatusBar's panels and their labels, foreign controls in panels, and balloon tips.
#include "controls/statusbar/skin_status_bar.h"

#include "controls/host/diagnostic_run.h"
#include "controls/statusbar/panel_label.h"
#include "controls/statusbar/skin_drawing.h"
#include "win/notify.h"

#include <commctrl.h>

#include <algorithm>

namespace statusbar {
namespace {

const wchar_t kToolTipDiagnosticText[] =
    L"El toolTip solo funciona cuando se encuentra el programa compilado y con un archivo manifest junto al "
    L"ejecutable. También se debe hace runa llamada a InitCommonControls en el SubMain o punto de inicio del "
    L"programa. Si es desde un formulario debe ser en el evento Initialize, no desde el Load";

} // namespace

// ---- panels --------------------------------------------------------------------------------------------

void SkinStatusBar::AddPanel(const std::wstring& sText, const std::wstring& sKey, std::int32_t lWidth,
                             std::int32_t lForeColor, std::int32_t lBackColorPanel, std::int32_t lBorderColorPanel,
                             bool bBold) {
    if (!hwnd_)
        return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    const PanelSpec wanted{sText, sKey, lWidth, lForeColor, lBackColorPanel, lBorderColorPanel, bBold};
    if (auto error = panels_.Add(wanted, client.bottom)) {
        win::ShowMessage(hwnd_, error->description, L"Error en AddPanel", MB_OK);
        return;
    }
    const int n = panels_.Count();
    DrawPanel(n, lBackColorPanel, lBorderColorPanel);
    if (!CreatePanelLabel(n)) {
        // No panel without its label: the table would no longer match the labels.
        panels_.RemoveLast();
        Refresh();
        win::ShowMessage(hwnd_, host::ErrorDescription(host::kErrOutOfMemory), L"Error en AddPanel", MB_OK);
    }
}

bool SkinStatusBar::CreatePanelLabel(int i) {
    if (panels_.Count() == 0 || !panels_.IsPanel(i) || static_cast<int>(labels_.size()) != i)
        return false;
    const tPanel& p = panels_.At(i);
    HFONT font = p.Bold ? templateBoldFont_ : templateFont_;
    HWND label = CreatePanelLabelWindow(hwnd_, p.Index, p.Text, font);
    if (!label)
        return false;
    SetWindowSubclass(label, &SkinStatusBar::LabelProc, kLabelSubclassId, reinterpret_cast<DWORD_PTR>(this));
    labels_.push_back(Label{label, font, 0});
    ApplyLabelForeColor(i);
    const SIZE size = MeasureLabelText(label, font, p.Text);
    SetWindowPos(label, nullptr, LabelLeft(p), LabelTop(p, size.cy), LabelRoom(p), size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(label, SW_SHOWNA);
    ShowBackBuffer();
    return true;
}

void SkinStatusBar::ChangeTextPanel(const std::wstring& sText, std::int32_t lIndex) {
    if (!panels_.IsPanel(lIndex) || lIndex >= static_cast<std::int32_t>(labels_.size())) {
        if (host::IsDiagnosticRun()) {
            const auto error = host::MakeError(host::kErrSubscriptOutOfRange, L"ChangeTextPanel");
            win::ShowMessage(hwnd_, error.description, L"Error: " + std::to_wstring(error.number),
                             MB_OK | MB_ICONERROR);
        }
        return;
    }
    tPanel& p = panels_.At(lIndex);
    // The clock rewrites its panels every second, the date mostly unchanged: the same text would
    // only be measured, placed and painted again.
    if (p.Text == sText)
        return;
    p.Text = sText;
    const Label& label = labels_[static_cast<std::size_t>(lIndex)];
    SetWindowTextW(label.hwnd, sText.c_str());
    // The label takes the size of its text, but never more than its panel's room.
    const SIZE size = MeasureLabelText(label.hwnd, label.font, sText);
    const int width = std::min<int>(size.cx, LabelRoom(p));
    SetWindowPos(label.hwnd, nullptr, 0, 0, width, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(label.hwnd, nullptr, FALSE);
}

void SkinStatusBar::UnloadPanelLabels() {
    for (std::size_t i = 1; i < labels_.size(); ++i) {
        if (labels_[i].hwnd == labelPressed_)
            labelPressed_ = nullptr;
        if (GetCapture() == labels_[i].hwnd)
            ReleaseCapture();
        DestroyWindow(labels_[i].hwnd);
    }
    if (!labels_.empty())
        labels_.resize(1);
}

void SkinStatusBar::Rebuild(const std::vector<PanelSpec>& kept) {
    UnloadPanelLabels();
    panels_.Clear();
    Refresh();
    for (const PanelSpec& s : kept)
        AddPanel(s.text, s.key, s.width, s.foreColor, s.backColor, kDefaultColour, false);
}

bool SkinStatusBar::ClearPanelByIndex(std::int32_t lIndex) {
    if (lIndex > panels_.Count() || lIndex < 1)
        return false;
    Rebuild(panels_.KeptWithoutIndex(lIndex));
    return true;
}

bool SkinStatusBar::ClearPanelByKey(const std::wstring& sKey) {
    if (sKey.empty() || panels_.Count() == 0)
        return false;
    Rebuild(panels_.KeptWithoutKey(sKey));
    return true;
}

void SkinStatusBar::ClearPanels() {
    panels_.Clear();
    UnloadPanelLabels();
    Refresh();
}

std::int32_t SkinStatusBar::GetPanelLeft(std::int32_t i) const {
    return panels_.GetLeft(i);
}
std::int32_t SkinStatusBar::GetPanelWidth(std::int32_t i) const {
    return panels_.GetWidth(i);
}
std::int32_t SkinStatusBar::GetPanelHeight(std::int32_t i) const {
    return panels_.GetHeight(i);
}
std::int32_t SkinStatusBar::GetPanelTop(std::int32_t i) const {
    return panels_.GetTop(i);
}

HWND SkinStatusBar::PanelLabel(int index) const {
    return index >= 0 && index < static_cast<int>(labels_.size()) ? labels_[static_cast<std::size_t>(index)].hwnd
                                                                  : nullptr;
}

COLORREF SkinStatusBar::PanelLabelColour(int index) const {
    return index >= 0 && index < static_cast<int>(labels_.size()) ? labels_[static_cast<std::size_t>(index)].colour
                                                                  : CLR_INVALID;
}

bool SkinStatusBar::SetControlPanel(HWND xCtrl, std::int32_t lIndexPanel, std::int32_t lTop, std::int32_t lLeft,
                                    std::int32_t lWidth, std::int32_t lHeight, bool bAutoSize) {
    if (!hwnd_ || !panels_.IsPanel(lIndexPanel))
        return false;
    // A window that is the bar or holds it cannot become its child.
    if (!IsWindow(xCtrl) || xCtrl == hwnd_ || IsChild(xCtrl, hwnd_))
        return false;
    const bool reparented = SetParent(xCtrl, hwnd_) != nullptr;
    const tPanel& p = panels_.At(lIndexPanel);
    Placement place;
    if (bAutoSize) {
        if (!reparented)
            return false;
        place = AutoPlacement(p);
    } else {
        RECT r{};
        GetWindowRect(xCtrl, &r);
        place = ManualPlacement(p, lTop, lLeft, lWidth, lHeight, r.right - r.left, r.bottom - r.top);
    }
    return MoveWindow(xCtrl, place.x, place.y, place.width, place.height, TRUE) != 0;
}

// ---- balloon tip ----------------------------------------------------------------------------------------

// Made when the first tip is shown, not with the bar: most programs never show one.
bool SkinStatusBar::CreateToolTipWindows() {
    // The anchor of the balloon tip: a small text box above the bar whose bottom 2 pixels touch it.
    txtToolTip_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_LEFT, 0, 2 - 13, 5, 13, hwnd_, nullptr,
                                  win::ThisModule(), nullptr);
    if (!txtToolTip_)
        return false;
    SendMessageW(txtToolTip_, WM_SETFONT, reinterpret_cast<WPARAM>(templateFont_), FALSE);
    return balloon_.Create(hwnd_);
}

bool SkinStatusBar::ShowToolTipPanel(const std::wstring& sTextTooltip, const std::wstring& sTitle,
                                     std::int16_t lIndexPanel, std::int16_t Duration, std::int32_t TICON) {
    if (host::IsDiagnosticRun()) {
        win::ShowMessage(hwnd_, kToolTipDiagnosticText, host::ApplicationTitle(), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    if (!hwnd_ || panels_.Count() < 1 || lIndexPanel > panels_.Count() || lIndexPanel < 0)
        return false;
    if (!txtToolTip_ && !CreateToolTipWindows())
        return false;
    // A tip still waiting to be hidden must not be hidden by the old timer.
    KillTimer(hwnd_, kToolTipTimer);
    RECT anchor{};
    GetWindowRect(txtToolTip_, &anchor);
    const int anchorHeight = anchor.bottom - anchor.top;
    const int left = panels_.At(lIndexPanel).Left;
    SetWindowPos(txtToolTip_, nullptr, left, 2 - anchorHeight, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The stem points at the anchor's bottom edge, where it meets the panel's top edge.
    POINT stem{left + 2, 2};
    ClientToScreen(hwnd_, &stem);
    if (!balloon_.Show(sTitle, sTextTooltip, TICON, stem))
        return false;
    if (Duration > 0)
        SetTimer(hwnd_, kToolTipTimer, static_cast<UINT>(Duration), nullptr);
    return true;
}

} // namespace statusbar
