// The skinned button's drawing on real windows: each state from the right skin frame, the nine-piece
// stretch, flat and link styles, caption placement, textured and formatted captions, and the
// screenshot sheet of all 22 skins in their seven states.
#include "controls/button/button_messages.h"
#include "controls/button/paint_rules.h"
#include "controls/button/skin_button.h"
#include "controls/button/skin_palette.h"
#include "controls/host/control_error.h"
#include "resources/gen/bitmap.h"
#include "tests/wine/support/button_form.h"
#include "tests/wine/support/window_test.h"
#include "win/gdi.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

using namespace skinbutton;
using namespace testsupport;

namespace {

// The committed skin bitmap, as the resource holds it.
class SkinImage {
public:
    explicit SkinImage(int skin) {
        surface_.Adopt(static_cast<HBITMAP>(
            LoadImageW(win::ThisModule(), MAKEINTRESOURCEW(kFirstSkinResource + skin), IMAGE_BITMAP, 0, 0, 0)));
    }
    COLORREF At(int x, int y) const { return GetPixel(surface_.Dc(), x, y); }
    bool Loaded() const { return static_cast<bool>(surface_); }

private:
    win::MemorySurface surface_;
};

int Distance(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}

// The frame whose middle pixel is nearest to the colour.
int NearestFrame(const SkinImage& skin, COLORREF c) {
    int best = -1, bestDistance = INT_MAX;
    for (int f = 0; f < kStateCount; ++f) {
        const int d = Distance(c, skin.At(f * 15 + 7, 11));
        if (d < bestDistance) {
            bestDistance = d;
            best = f;
        }
    }
    return best;
}

COLORREF At(const SkinButton& b, int x, int y) {
    return GetPixel(b.hdc(), x, y);
}

// Checks the four corner blocks (unscaled) and the middle of a 100 × 30 surface against a frame.
void ExpectFrame(const SkinButton& b, const SkinImage& skin, int frame) {
    SCOPED_TRACE(frame);
    const int x0 = frame * 15;
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            ASSERT_EQ(At(b, x, y), skin.At(x0 + x, y)) << "top left " << x << "," << y;
            ASSERT_EQ(At(b, 95 + x, y), skin.At(x0 + 10 + x, y)) << "top right " << x << "," << y;
            ASSERT_EQ(At(b, x, 25 + y), skin.At(x0 + x, 18 + y)) << "bottom left " << x << "," << y;
            ASSERT_EQ(At(b, 95 + x, 25 + y), skin.At(x0 + 10 + x, 18 + y)) << "bottom right " << x << "," << y;
        }
    }
    EXPECT_EQ(NearestFrame(skin, At(b, 50, 16)), frame);
}

void MoveCursorTo(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    SetCursorPos(p.x, p.y);
    PumpMessages(30);
}

// Every test keeps the pointer away from its buttons unless it means otherwise.
class ButtonRender : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(1200, 1000);
        ASSERT_TRUE(form.Open(40, 40, 420, 200));
    }
    NoticeRecorder notices;
    ButtonForm form;
};

} // namespace

TEST_F(ButtonRender, EachStateIsDrawnFromItsFrame) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, L""));
    const SkinImage skin(16);
    ASSERT_TRUE(skin.Loaded());
    PumpMessages(30);
    ExpectFrame(b, skin, kStateNormal);

    MoveCursorTo(b.hwnd(), 50, 15);
    SendMessageW(b.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(50, 15));
    ExpectFrame(b, skin, kStateHot);
    b.SetButtonType(kCheckButton);
    b.SetValue(true);
    ExpectFrame(b, skin, kStateCheckedHot);
    SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 15));
    ExpectFrame(b, skin, kStatePressed);
    SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(50, 15));
    EXPECT_FALSE(b.Value()) << "the click toggled the check button";
    ExpectFrame(b, skin, kStateHot);

    SetCursorPos(1200, 1000);
    ASSERT_TRUE(PumpUntil([&] { return At(b, 2, 2) == skin.At(4 * 15 + 2, 2); }, 1000)) << "the pointer left";
    b.SetValue(true);
    ExpectFrame(b, skin, kStateChecked);
    b.SetEnabled(false);
    ExpectFrame(b, skin, kStateDisabledChecked);
    b.SetValue(false);
    ExpectFrame(b, skin, kStateDisabled);
    // And on screen, not only in the back buffer.
    PumpMessages(30);
    EXPECT_EQ(ScreenPixel(b.hwnd(), 2, 2), skin.At(5 * 15 + 2, 2));
    EXPECT_TRUE(notices.notices.empty());
}

TEST_F(ButtonRender, NinePieceStretchKeepsCornersAndStretchesEdges) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, L""));
    const SkinImage skin(16);
    win::MemorySurface target(nullptr, 100, 30);
    win::Brush magenta(CreateSolidBrush(RGB(255, 0, 255)));
    RECT all{0, 0, 100, 30};
    FillRect(target.Dc(), &all, magenta.Get());
    b.DrawSkin(target.Dc(), 0, 0, kStateHot);
    EXPECT_EQ(GetPixel(target.Dc(), 50, 15), RGB(255, 0, 255)) << "no automatic size for another context";

    b.DrawSkin(target.Dc(), 100, 30, kStateHot);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(GetPixel(target.Dc(), x, y), skin.At(x, y));
    // Rows of the top band and columns of the left band are uniform in the frame, so stretching keeps them.
    for (int x : {5, 30, 50, 94}) {
        EXPECT_EQ(GetPixel(target.Dc(), x, 0), skin.At(7, 0)) << x;
        EXPECT_EQ(GetPixel(target.Dc(), x, 1), skin.At(7, 1)) << x;
        EXPECT_EQ(GetPixel(target.Dc(), x, 29), skin.At(7, 22)) << x;
    }
    for (int y : {5, 15, 24})
        EXPECT_EQ(GetPixel(target.Dc(), 0, y), skin.At(0, 11)) << y;
    EXPECT_NE(GetPixel(target.Dc(), 99, 29), RGB(255, 0, 255));

    // Smaller than the corners: no mirrored pieces, no crash.
    FillRect(target.Dc(), &all, magenta.Get());
    b.DrawSkin(target.Dc(), 8, 6, kStateNormal);
    EXPECT_EQ(GetPixel(target.Dc(), 0, 0), skin.At(60, 0));
    EXPECT_EQ(GetPixel(target.Dc(), 9, 7), RGB(255, 0, 255));
    b.DrawSkin(target.Dc(), 100, 30, 9); // no such state
    EXPECT_EQ(GetPixel(target.Dc(), 50, 15), RGB(255, 0, 255));
}

TEST_F(ButtonRender, FlatStyleColoursByStateAndBorder) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, L""));
    b.SetSkinEnabled(false);
    b.SetBackColor(RGB(10, 20, 30));
    b.SetBackColorOver(RGB(40, 50, 60));
    b.SetBackColorDown(RGB(70, 80, 90));
    b.SetBackColorCheck(RGB(100, 110, 120));
    b.SetBackColorDisabled(RGB(130, 140, 150));
    b.SetBorderColorNormal(RGB(200, 0, 0));
    b.SetBorderColorOver(RGB(0, 200, 0));
    b.SetBorderColorCheck(RGB(0, 0, 200));
    b.SetBorderColorDisabled(RGB(90, 90, 0));
    EXPECT_TRUE(notices.notices.empty()) << "run mode accepts every colour";
    b.Refresh();
    EXPECT_EQ(At(b, 50, 15), RGB(10, 20, 30));
    EXPECT_EQ(At(b, 0, 0), RGB(200, 0, 0));
    EXPECT_EQ(At(b, 99, 29), RGB(200, 0, 0));
    EXPECT_EQ(At(b, 1, 1), RGB(10, 20, 30));
    b.DrawSkin(b.hdc(), 0, 0, kStateHot);
    EXPECT_EQ(At(b, 50, 15), RGB(40, 50, 60));
    EXPECT_EQ(At(b, 0, 15), RGB(0, 200, 0));
    b.DrawSkin(b.hdc(), 0, 0, kStateCheckedHot);
    EXPECT_EQ(At(b, 50, 15), RGB(100, 110, 120));
    EXPECT_EQ(At(b, 0, 15), RGB(0, 200, 0));
    b.DrawSkin(b.hdc(), 0, 0, kStateDisabled);
    EXPECT_EQ(At(b, 50, 15), RGB(100, 110, 120)) << "an enabled button keeps its background in state 5";
    b.SetEnabled(false);
    EXPECT_EQ(At(b, 50, 15), RGB(130, 140, 150));
    EXPECT_EQ(At(b, 0, 0), RGB(90, 90, 0));
    // A foreign context with the flat style: the button's own surface is what gets painted.
    win::MemorySurface other(nullptr, 10, 10);
    b.SetEnabled(true);
    b.DrawSkin(other.Dc(), 10, 10, kStatePressed);
    EXPECT_EQ(At(b, 50, 15), RGB(70, 80, 90));
}

TEST_F(ButtonRender, LinkStyleShowsTheContainerAndFollowsIt) {
    SkinButton b;
    b.Ambient().SetBackColor(RGB(0, 128, 128));
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, L"Enlace"));
    b.SetSkin(kSkinLink);
    b.SetForeColorNormal(RGB(255, 255, 0));
    EXPECT_EQ(At(b, 2, 2), RGB(0, 128, 128));
    EXPECT_EQ(At(b, 98, 28), RGB(0, 128, 128));
    bool yellow = false;
    for (int y = 0; y < 30 && !yellow; ++y)
        for (int x = 0; x < 100 && !yellow; ++x)
            yellow = At(b, x, y) == RGB(255, 255, 0);
    EXPECT_TRUE(yellow) << "the caption in its colour";
    b.Ambient().SetBackColor(RGB(128, 0, 0));
    EXPECT_EQ(At(b, 2, 2), RGB(128, 0, 0)) << "the container's new colour is followed";
}

TEST_F(ButtonRender, BackColorContainerBlendsOnlyTheNormalLookWithACaption) {
    SkinButton b;
    b.Ambient().SetBackColor(RGB(1, 2, 3));
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, L"Hola"));
    const SkinImage skin(16);
    b.SetUseBackColorContainer(true);
    EXPECT_EQ(At(b, 0, 0), RGB(1, 2, 3)) << "no skin and no border in the normal look";
    EXPECT_EQ(At(b, 2, 2), RGB(1, 2, 3));
    b.DrawSkin(b.hdc(), 0, 0, kStateHot);
    EXPECT_EQ(At(b, 2, 2), skin.At(2, 2));
    b.SetButtonType(kCheckButton);
    b.SetValue(true);
    EXPECT_EQ(At(b, 2, 2), skin.At(30 + 2, 2)) << "checked shows the skin";
    b.SetValue(false);
    b.SetCaption(L"");
    EXPECT_EQ(At(b, 2, 2), skin.At(60 + 2, 2)) << "without a caption the skin shows in every state";
    b.SetCaption(L"Hola");
    b.Ambient().SetBackColor(RGB(4, 5, 6));
    EXPECT_EQ(At(b, 2, 2), RGB(4, 5, 6)) << "a container colour change repaints";
}

namespace {

// The bounding box of the pixels of one colour.
RECT InkBox(const SkinButton& b, int w, int h, COLORREF ink) {
    RECT r{w, h, -1, -1};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (At(b, x, y) != ink)
                continue;
            r.left = std::min<LONG>(r.left, x);
            r.top = std::min<LONG>(r.top, y);
            r.right = std::max<LONG>(r.right, x);
            r.bottom = std::max<LONG>(r.bottom, y);
        }
    }
    return r;
}

} // namespace

TEST_F(ButtonRender, CaptionAlignmentMarginAndPressedOffset) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 210, 40}, L"Conectar"));
    b.SetSkinEnabled(false);
    b.SetBackColor(RGB(255, 255, 255));
    b.SetBackColorDown(RGB(255, 255, 255));
    b.SetBorderColorNormal(RGB(255, 255, 255));
    b.SetBorderColorDown(RGB(255, 255, 255));
    b.SetForeColorNormal(RGB(0, 0, 0));
    b.SetForeColorDown(RGB(0, 0, 0));
    b.SetCaptionMargin(10);
    // Font rendering differs, so the text's own extent is the measure, not fixed pixel sizes.
    HDC dc = b.hdc();
    SIZE text{};
    {
        win::Font font(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"Verdana"));
        win::SelectGuard select(dc, font.Get());
        GetTextExtentPoint32W(dc, L"Conectar", 8, &text);
    }
    b.SetCaptionAlign(1);
    const RECT left = InkBox(b, 200, 30, RGB(0, 0, 0));
    EXPECT_GE(left.left, 10);
    EXPECT_LE(left.left, 12);
    b.SetCaptionAlign(2);
    const RECT right = InkBox(b, 200, 30, RGB(0, 0, 0));
    EXPECT_LE(right.right, 200 - 10);
    EXPECT_GE(right.right, 200 - 10 - 6);
    EXPECT_EQ(right.left - left.left, (200 - 10 - text.cx) - 10) << "the same text, moved by the layout only";
    b.SetCaptionAlign(0);
    const RECT centre = InkBox(b, 200, 30, RGB(0, 0, 0));
    EXPECT_LE(std::abs((centre.left - 0) - (199 - centre.right)), 3);
    b.SetCaptionAlign(7);
    const RECT none = InkBox(b, 200, 30, RGB(0, 0, 0));
    EXPECT_LE(none.left, 2) << "an unknown alignment puts the text at 0";

    b.SetCaptionAlign(2);
    SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    const RECT pressed = InkBox(b, 200, 30, RGB(0, 0, 0));
    EXPECT_EQ(pressed.left, right.left + 1);
    EXPECT_EQ(pressed.top, right.top + 1);
    SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
}

TEST_F(ButtonRender, TexturedCaptionChecksItsSizeAndPaintsThroughTheLetters) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 210, 50}, L"Textura"));
    // A small texture: too narrow for the caption.
    win::Bitmap small(CreateBitmap(4, 40, 1, 32, nullptr));
    b.SetPictureTexture(small.Get());
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_EQ(notices.notices[0].text, kMsgTextureTooNarrow);
    EXPECT_EQ(notices.notices[0].title, host::ApplicationTitle());
    EXPECT_EQ(notices.notices[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    win::Bitmap low(CreateBitmap(300, 2, 1, 32, nullptr));
    b.SetPictureTexture(low.Get());
    ASSERT_EQ(notices.notices.size(), 2u);
    EXPECT_EQ(notices.notices[1].text, kMsgTextureTooLow);
    EXPECT_EQ(b.Font().size, 8.25) << "a refused texture leaves the font";

    b.SetPictureTexture(static_cast<HBITMAP>(nullptr));
    EXPECT_EQ(notices.notices.size(), 2u);

    // A green texture big enough: the letters show green, the rest stays the skin.
    win::Bitmap owned(CreateBitmap(300, 60, 1, 32, nullptr));
    HDC dc = CreateCompatibleDC(nullptr);
    {
        win::SelectGuard select(dc, owned.Get());
        win::Brush brush(CreateSolidBrush(RGB(0, 255, 0)));
        RECT all{0, 0, 300, 60};
        FillRect(dc, &all, brush.Get());
    }
    DeleteDC(dc);
    b.SetFont({L"MS Sans Serif", 8.25});
    b.SetPictureTexture(owned.Get());
    EXPECT_EQ(notices.notices.size(), 2u);
    EXPECT_EQ(b.Font().size, 12) << "a texture draws in at least 12 points";
    EXPECT_EQ(b.Font().name, L"verdana");
    const RECT ink = InkBox(b, 200, 40, RGB(0, 255, 0));
    EXPECT_GT(ink.right, ink.left) << "the texture shows through the letters";
    EXPECT_EQ(At(b, 2, 20), SkinImage(16).At(60 + 2, 11)) << "and nowhere else";
    // The clip does not outlive the caption: the next paint covers the whole surface.
    b.SetPictureTexture(nullptr);
    EXPECT_EQ(InkBox(b, 200, 40, RGB(0, 255, 0)).right, -1);
    EXPECT_EQ(At(b, 0, 0), SkinImage(16).At(60, 0));
}

TEST_F(ButtonRender, SkinColoursAndWindowStyles) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, L"x"));
    const SkinImage skin(16);
    EXPECT_EQ(b.GetSkinsColors(15), skin.At(15, 22));
    EXPECT_EQ(b.GetSkinsColors(75), skin.At(75, 5));
    EXPECT_EQ(b.GetSkinsColors(500), CLR_INVALID);
    b.SetSkin(3);
    EXPECT_EQ(b.GetSkinsColors(0), SkinImage(3).At(0, 22));

    HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 60, 100, 20, form.Hwnd(),
                                nullptr, nullptr, nullptr);
    SkinButton::SetControlFlatStyle(edit);
    const LONG_PTR ex = GetWindowLongPtrW(edit, GWL_EXSTYLE);
    EXPECT_FALSE(ex & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(ex & WS_EX_STATICEDGE);
    EXPECT_EQ(SkinButton::SetTrans(form.Hwnd(), 128), 0);
    EXPECT_TRUE(GetWindowLongPtrW(form.Hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    if (GetLayeredWindowAttributes(form.Hwnd(), nullptr, &alpha, &flags)) {
        EXPECT_EQ(alpha, 128);
        EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    }
}

TEST_F(ButtonRender, SkinsThatCannotBeDrawnStillGiveADefinedLook) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, L""));
    b.SetBackColor(RGB(50, 60, 70));
    b.SetBorderColorNormal(RGB(7, 8, 9));
    b.SetSkin(40);
    EXPECT_EQ(b.Skin(), 40);
    EXPECT_EQ(At(b, 50, 15), RGB(50, 60, 70)) << "a skin number without a bitmap draws the flat look";
    EXPECT_EQ(At(b, 0, 0), RGB(7, 8, 9));
    EXPECT_EQ(b.GetSkinsColors(0), CLR_INVALID);
    b.SetSkin(-1);
    EXPECT_EQ(At(b, 50, 15), RGB(50, 60, 70));
    // A custom skin, then cleared.
    win::Bitmap custom(static_cast<HBITMAP>(
        LoadImageW(win::ThisModule(), MAKEINTRESOURCEW(kFirstSkinResource + 5), IMAGE_BITMAP, 0, 0, 0)));
    b.SetSkinCustomPicture(custom.Get());
    EXPECT_EQ(b.Skin(), kSkinCustom);
    EXPECT_EQ(At(b, 2, 2), SkinImage(5).At(60 + 2, 2));
    b.SetSkinCustomPicture(static_cast<HBITMAP>(nullptr));
    EXPECT_EQ(At(b, 50, 15), RGB(50, 60, 70));
    EXPECT_TRUE(notices.notices.empty());
}
