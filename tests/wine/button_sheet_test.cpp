// The screenshot sheet: one real button driven through its seven states in each of the 22 skins, each
// look copied into a sheet that is shown in a window and saved as build/screenshots/button_skins_sheet.
#include "controls/button/paint_rules.h"
#include "controls/button/skin_button.h"
#include "controls/button/skin_palette.h"
#include "tests/wine/support/button_form.h"
#include "tests/wine/support/window_test.h"
#include "win/gdi.h"

#include <gtest/gtest.h>

#include <string>

using namespace skinbutton;
using namespace testsupport;

namespace {

constexpr int kCellW = 100, kCellH = 30, kButtonW = 92, kButtonH = 24, kLabelW = 70, kHeaderH = 24;

class SheetWindow : public win::Window {
public:
    // Shows what the context holds (the sheet's bitmap stays selected there).
    bool Open(HDC sheet, int w, int h) {
        sheet_ = sheet;
        w_ = w;
        h_ = h;
        WNDCLASSEXW wc{};
        wc.lpszClassName = L"ZevTestButtonSheet";
        RegisterClassOnce(wc);
        return Create(L"ZevTestButtonSheet", 0, L"sheet", WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr, nullptr) !=
               nullptr;
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Hwnd(), &ps);
            BitBlt(dc, 0, 0, w_, h_, sheet_, 0, 0, SRCCOPY);
            EndPaint(Hwnd(), &ps);
            return 0;
        }
        return Default(msg, wParam, lParam);
    }

private:
    HDC sheet_ = nullptr;
    int w_ = 0, h_ = 0;
};

void Label(HDC dc, int x, int y, const std::wstring& text) {
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

} // namespace

TEST(ButtonSheet, AllSkinsInAllStates) {
    NoticeRecorder notices;
    SetCursorPos(1200, 1000);
    ButtonForm form;
    ASSERT_TRUE(form.Open(900, 40, 140, 60, RGB(255, 255, 255)));
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 10 + kButtonW, 10 + kButtonH}, L"Aceptar"));

    const int width = kLabelW + kStateCount * kCellW, height = kHeaderH + kBuiltInSkinCount * kCellH;
    win::MemorySurface sheet(nullptr, width, height);
    ASSERT_TRUE(sheet);
    RECT all{0, 0, width, height};
    FillRect(sheet.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(sheet.Dc(), TRANSPARENT);
    win::SelectGuard font(sheet.Dc(), GetStockObject(DEFAULT_GUI_FONT));
    const wchar_t* names[kStateCount] = {L"hot",    L"pressed",  L"checked",     L"checked-hot",
                                         L"normal", L"disabled", L"disabled-chk"};
    for (int s = 0; s < kStateCount; ++s)
        Label(sheet.Dc(), kLabelW + s * kCellW + 4, 4, std::to_wstring(s) + L" " + names[s]);

    POINT centre{kButtonW / 2, kButtonH / 2};
    ClientToScreen(b.hwnd(), &centre);
    auto snap = [&](int skin, int state) {
        BitBlt(sheet.Dc(), kLabelW + state * kCellW, kHeaderH + skin * kCellH + 3, kButtonW, kButtonH, b.hdc(), 0, 0,
               SRCCOPY);
    };
    for (int skin = 0; skin < kBuiltInSkinCount; ++skin) {
        Label(sheet.Dc(), 4, kHeaderH + skin * kCellH + 8, L"Skin " + std::to_wstring(skin));
        b.SetEnabled(true);
        b.SetButtonType(kPushButton);
        b.SetValue(false);
        b.SetSkin(skin);
        ASSERT_EQ(b.Skin(), skin);
        snap(skin, kStateNormal);
        SetCursorPos(centre.x, centre.y);
        SendMessageW(b.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(kButtonW / 2, kButtonH / 2));
        snap(skin, kStateHot);
        SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kButtonW / 2, kButtonH / 2));
        snap(skin, kStatePressed);
        SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(500, 500)); // released outside: no click
        b.SetButtonType(kCheckButton);
        b.SetValue(true);
        snap(skin, kStateCheckedHot);
        SetCursorPos(1200, 1000);
        int frame = -1;
        b.MouseOut = [&] { frame = 0; };
        ASSERT_TRUE(PumpUntil([&] { return frame == 0; }, 1000));
        PumpMessages(5);
        snap(skin, kStateChecked);
        b.SetEnabled(false);
        snap(skin, kStateDisabledChecked);
        b.SetValue(false);
        snap(skin, kStateDisabled);
    }
    EXPECT_TRUE(notices.notices.empty());

    SheetWindow window;
    ASSERT_TRUE(window.Open(sheet.Dc(), width, height));
    PumpMessages(50);
    // The sheet shows the skins: the normal cell of skin 5 is dark blue, of skin 11 nearly white.
    const COLORREF dark = ScreenPixel(window.Hwnd(), kLabelW + kStateNormal * kCellW + 6, kHeaderH + 5 * kCellH + 22);
    const COLORREF light = ScreenPixel(window.Hwnd(), kLabelW + kStateNormal * kCellW + 6, kHeaderH + 11 * kCellH + 22);
    EXPECT_LT(GetRValue(dark) + GetGValue(dark), 200);
    EXPECT_GT(GetRValue(light) + GetGValue(light) + GetBValue(light), 600);
    const std::wstring shot = SaveScreenshot(window.Hwnd(), L"button_skins_sheet");
    if (getenv("ZEV_SCREENSHOTS")) {
        EXPECT_FALSE(shot.empty());
    }
}
