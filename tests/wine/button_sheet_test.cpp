// One real button driven through its seven states in each of the 22 skins: every look is checked
// against its skin frame and copied into a sheet that is shown in a window and saved as
// build/screenshots/button_skins_sheet.
#include "tests/wine/support/button_form.h"

#include <climits>

using namespace skinbutton;
using namespace testsupport;

namespace {

constexpr int kCellW = 108, kCellH = 36, kButtonW = 100, kButtonH = 30, kLabelW = 70, kHeaderH = 24;

// The four corner blocks of a 100 × 30 surface are the frame's own, unscaled; the middle (above the
// caption) is nearest to the frame's middle.
void ExpectFrame(const SkinButton& b, const SkinImage& skin, int frame) {
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            ASSERT_EQ(At(b, x, y), skin.At(frame, x, y)) << "top left " << x << "," << y;
            ASSERT_EQ(At(b, 95 + x, y), skin.At(frame, 10 + x, y)) << "top right " << x << "," << y;
            ASSERT_EQ(At(b, x, 25 + y), skin.At(frame, x, 18 + y)) << "bottom left " << x << "," << y;
            ASSERT_EQ(At(b, 95 + x, 25 + y), skin.At(frame, 10 + x, 18 + y)) << "bottom right " << x << "," << y;
        }
    }
    int nearest = -1, best = INT_MAX;
    for (int f = 0; f < kStateCount; ++f) {
        const COLORREF a = At(b, 50, 5), c = skin.At(f, 7, 5);
        const int d = std::abs(GetRValue(a) - GetRValue(c)) + std::abs(GetGValue(a) - GetGValue(c)) +
                      std::abs(GetBValue(a) - GetBValue(c));
        if (d < best)
            best = d, nearest = f;
    }
    EXPECT_EQ(nearest, frame) << "middle";
}

} // namespace

TEST(ButtonSheet, EveryStateOfEverySkinIsDrawnFromItsFrame) {
    NoticeRecorder notices;
    SetCursorPos(1200, 1000);
    ButtonForm form;
    ASSERT_TRUE(form.Open(nullptr, 900, 40, 140, 60));
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 10 + kButtonW, 10 + kButtonH}, L"Aceptar"));

    const int width = kLabelW + kStateCount * kCellW, height = kHeaderH + kBuiltInSkinCount * kCellH;
    win::MemorySurface sheet(nullptr, width, height);
    ASSERT_TRUE(sheet);
    RECT all{0, 0, width, height};
    FillRect(sheet.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(sheet.Dc(), TRANSPARENT);
    win::SelectGuard font(sheet.Dc(), GetStockObject(DEFAULT_GUI_FONT));
    auto label = [&](int x, int y, const std::wstring& text) {
        TextOutW(sheet.Dc(), x, y, text.c_str(), static_cast<int>(text.size()));
    };
    const wchar_t* names[kStateCount] = {L"hot",    L"pressed",  L"checked",     L"checked-hot",
                                         L"normal", L"disabled", L"disabled-chk"};
    for (int s = 0; s < kStateCount; ++s)
        label(kLabelW + s * kCellW + 4, 4, std::to_wstring(s) + L" " + names[s]);
    for (int skin = 0; skin < kBuiltInSkinCount; ++skin) {
        SCOPED_TRACE(skin);
        const SkinImage image(skin);
        ASSERT_TRUE(image.Loaded());
        label(4, kHeaderH + skin * kCellH + 11, L"Skin " + std::to_wstring(skin));
        auto snap = [&](int state) {
            SCOPED_TRACE(state);
            ExpectFrame(b, image, state);
            BitBlt(sheet.Dc(), kLabelW + state * kCellW, kHeaderH + skin * kCellH + 3, kButtonW, kButtonH, b.hdc(), 0,
                   0, SRCCOPY);
        };
        b.SetEnabled(true);
        b.SetButtonType(kPushButton);
        b.SetValue(false);
        b.SetSkin(skin);
        ASSERT_EQ(b.Skin(), skin);
        snap(kStateNormal);
        Send(b, "m 50 15");
        snap(kStateHot);
        Send(b, "p 50 15");
        snap(kStatePressed);
        Send(b, "r 500 500"); // released outside: no click
        b.SetButtonType(kCheckButton);
        b.SetValue(true);
        snap(kStateCheckedHot);
        SetCursorPos(1200, 1000);
        ASSERT_TRUE(PumpUntil([&] { return FrameShown(b, image) == kStateChecked; }, 1000)) << "the pointer left";
        snap(kStateChecked);
        b.SetEnabled(false);
        snap(kStateDisabledChecked);
        b.SetValue(false);
        snap(kStateDisabled);
    }
    PumpMessages(30);
    EXPECT_EQ(ScreenPixel(b.hwnd(), 2, 2), SkinImage(21).At(kStateDisabled, 2, 2))
        << "on screen, not only in the buffer";
    EXPECT_TRUE(notices.notices.empty());

    ButtonForm window;
    window.picture = sheet.Dc();
    ASSERT_TRUE(window.Open(nullptr, 0, 0, width, height));
    PumpMessages(50);
    // The sheet shows the skins: the normal cell of skin 5 is dark blue, of skin 11 nearly white.
    const COLORREF dark = ScreenPixel(window.Hwnd(), kLabelW + kStateNormal * kCellW + 6, kHeaderH + 5 * kCellH + 25);
    const COLORREF light = ScreenPixel(window.Hwnd(), kLabelW + kStateNormal * kCellW + 6, kHeaderH + 11 * kCellH + 25);
    EXPECT_LT(GetRValue(dark) + GetGValue(dark), 200);
    EXPECT_GT(GetRValue(light) + GetGValue(light) + GetBValue(light), 600);
    const std::wstring shot = SaveScreenshot(window.Hwnd(), L"button_skins_sheet");
    EXPECT_TRUE(shot.size() || !getenv("ZEV_SCREENSHOTS")) << "the sheet is saved";
}
