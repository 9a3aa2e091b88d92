// The window hook on real windows (order, nested release, destruction, refusals); the skinned toolbar
// checked by pixels against a skin whose every part has a colour of its own; the main window's unhooking.
#include "controls/host/picture_win.h"
#include "controls/toolbar/paint_rules.h"
#include "controls/toolbar/toolbar_skin.h"
#include "resources/gen/console_art.h"
#include "tests/wine/support/principal_session.h"

#include <commctrl.h>

#include <functional>
#include <optional>
#include <utility>

using namespace testsupport;
using namespace toolbarskin;
using Log = std::vector<std::string>;

namespace {

// Whether the platform still has the window subclassed by the WindowHooks object of that id
// (GetWindowSubclass: MinGW's import library lacks it, comctl32 exports it as ordinal 411).
bool Hooked(HWND hwnd, UINT_PTR id) {
    using GetSubclass = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR*);
    static const auto get = reinterpret_cast<GetSubclass>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"comctl32.dll"), MAKEINTRESOURCEA(411))));
    DWORD_PTR ref = 0;
    return get && get(hwnd, &WindowHooks::HookProc, id, &ref);
}

constexpr UINT kM1 = WM_USER + 1, kM2 = WM_USER + 2, kM3 = WM_USER + 3; // 1025 to 1027
Log g_log; // what the windows' own procedures ("proc message window") and the owner saw, in order

// The window's number (its user data) names it in the log.
LRESULT CALLBACK TestProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_NULL && msg != WM_DESTROY && (msg < kM1 || msg > kM3))
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    g_log.push_back("proc " + std::to_string(msg) + " " + std::to_string(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
    return 100;
}
HWND TestWindow(int number = 0) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TestProc;
    wc.lpszClassName = L"ZevHookTest";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, L"ZevHookTest", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, number);
    return hwnd;
}

struct Owner : HookOwner {
    void HookCallback(bool before, bool& handled, LRESULT& result, HWND, UINT msg, WPARAM, LPARAM,
                      LONG_PTR& user) override {
        g_log.push_back((before ? "before " : "after ") + std::to_string(msg) + " " + std::to_string(result));
        ++user;
        if (react)
            react(before, handled, result, msg);
    }
    std::function<void(bool before, bool& handled, LRESULT& result, UINT msg)> react;
};
struct Hooks : WindowHooks, Owner {};

class WindowHook : public ::testing::Test {
protected:
    void SetUp() override { g_log.clear(); }
    void TearDown() override {
        hooks.reset();
        DestroyWindow(w);
    }
    bool IsHooked(HWND hwnd) const { return Hooked(hwnd, hooks->SubclassId()); }
    HWND w = TestWindow();
    NoticeRecorder notices;
    std::optional<Hooks> hooks{std::in_place};
};

constexpr gen::Rgb kBack{235, 235, 220}, kSep{30, 90, 30};
constexpr gen::Rgb kArrow[2] = {{60, 60, 10}, {10, 10, 60}};                // disabled, enabled
constexpr gen::Rgb kText[3] = {{200, 0, 0}, {0, 150, 0}, {0, 0, 210}};      // normal, down, disabled
constexpr gen::Rgb kImage[3] = {{90, 0, 90}, {255, 200, 0}, {0, 200, 200}}; // disabled, normal, hot list
constexpr POINT kAway{1270, 1010};

COLORREF Ref(gen::Rgb c) {
    return RGB(c.r, c.g, c.b);
}
gen::Rgb Tile(int t) {
    return {static_cast<std::uint8_t>(20 * t), 100, static_cast<std::uint8_t>(250 - 20 * t)};
}

// Tiles of one colour each with magenta corners; the rest as the skin's layout has it.
gen::Raster TestSkin(int width) {
    gen::Raster r(width, 23, {255, 0, 255});
    for (int y = 0; y < 23; ++y) {
        for (int x = 0; x < 180; ++x)
            if ((x % 15 != 0 && x % 15 != 14) || (y != 0 && y != 22))
                r.At(x, y) = Tile(x / 15);
        r.At(190, y) = r.At(191, y) = kSep;
        for (int x = 195; x < 210; ++x)
            r.At(x, y) = kBack;
    }
    for (int y = 1; y < 6; ++y)
        for (int x = 181; x < 186; ++x)
            r.At(x, y) = kArrow[1], r.At(x, 7 + y) = kArrow[0];
    r.At(215, 0) = kText[0], r.At(215, 6) = kText[1], r.At(215, 10) = kText[2];
    return r;
}

// A toolbar of plain, check, check-group, dropdown, separator and an autosized probe button; one
// 16 × 16 image list per image mode, each of one colour.
class SkinnedToolbar : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(kAway.x, kAway.y);
        host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 40, 40, 640, 40, nullptr, nullptr, nullptr,
                               nullptr);
        tb = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NODIVIDER, 0, 0, 640,
                             40, host, nullptr, nullptr, nullptr);
        SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        SendMessageW(tb, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS); // room for the arrow strip
        const UINT setters[3] = {TB_SETDISABLEDIMAGELIST, TB_SETIMAGELIST, TB_SETHOTIMAGELIST};
        for (int m = 0; m < 3; ++m) {
            lists[m] = ImageList_Create(16, 16, ILC_COLOR24, 6, 0);
            ImageList_Add(lists[m], host::BitmapFromPicture({gen::Raster(96, 16, kImage[m])}).Get(), nullptr);
            SendMessageW(tb, setters[m], 0, reinterpret_cast<LPARAM>(lists[m]));
        }
        const BYTE styles[6] = {BTNS_BUTTON, BTNS_CHECK, BTNS_CHECKGROUP, BTNS_DROPDOWN, BTNS_SEP, BTNS_AUTOSIZE};
        const wchar_t* texts[6] = {L"Uno", L"Dos", L"Tres", L"Cuatro", nullptr, L"Cinco"};
        TBBUTTON buttons[6] = {};
        for (int i = 0; i < 6; ++i)
            buttons[i] = {
                i == 4 ? 8 : i, 1000 + i, TBSTATE_ENABLED, styles[i], {}, 0, reinterpret_cast<INT_PTR>(texts[i])};
        SendMessageW(tb, TB_ADDBUTTONSW, 6, reinterpret_cast<LPARAM>(buttons));
        original = SendMessageW(tb, TB_GETSTYLE, 0, 0);
    }
    void TearDown() override {
        skin.reset(); // unhooked, and the picture out of its DC, before either goes
        DestroyWindow(host);
        for (HIMAGELIST l : lists)
            ImageList_Destroy(l);
    }
    void Hook() {
        ASSERT_TRUE(skin->SubClassToolBar(host, true));
        ASSERT_TRUE(skin->SetSkinPicture(picture.Get()));
    }
    RECT Item(int i) const {
        RECT r{};
        SendMessageW(tb, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        return r;
    }
    // The button in the state, the pointer this far into it (from its right end when negative) or
    // away; what the screen then shows.
    Shot Paint(int i, int state, std::optional<int> pointerX = std::nullopt) {
        SendMessageW(tb, TB_SETSTATE, static_cast<WPARAM>(1000 + i), MAKELPARAM(state, 0));
        const RECT r = Item(i);
        POINT p = pointerX ? POINT{*pointerX < 0 ? r.right + *pointerX : r.left + *pointerX, r.top + 2} : kAway;
        if (pointerX)
            ClientToScreen(tb, &p);
        SetCursorPos(p.x, p.y);
        PumpMessages(20);
        RedrawWindow(tb, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return Shot(tb);
    }

    HWND host = nullptr, tb = nullptr;
    HIMAGELIST lists[3] = {};
    LRESULT original = 0;
    win::Bitmap picture = host::BitmapFromPicture({TestSkin(216)});
    NoticeRecorder notices;
    std::optional<ToolbarSkin> skin{std::in_place};
};

// What the main window's toolbar saw of the close, as it was destroyed.
struct {
    UINT_PTR hook = 0;
    console::Principal* principal = nullptr;
    bool hooked = true, skinning = true, picture = false; // as if the toolbar had never gone
} g_closing;
LRESULT CALLBACK WatchDestroy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_DESTROY) {
        g_closing.hooked = Hooked(hwnd, g_closing.hook);
        g_closing.skinning = g_closing.principal->ToolbarSkinning() != nullptr;
        g_closing.picture = g_closing.principal->SkinPicture() != nullptr;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

} // namespace

TEST_F(WindowHook, OrderHandledUserValueCharacterSetAndAReleaseInsideANestedCall) {
    ASSERT_TRUE(hooks->HookWindow(w, 40));
    hooks->HookAddMessage(w, kM1, kBefore | kAfter);
    hooks->HookAddMessage(w, kM2, kBefore);
    hooks->react = [](bool before, bool& handled, LRESULT& result, UINT msg) {
        if (msg == kM2)
            handled = true, result = 42;
        else if (!before)
            result += 1;
    };
    EXPECT_EQ(SendMessageW(w, kM1, 0, 0), 101) << "the after-call sees and changes the result";
    EXPECT_EQ(SendMessageW(w, kM2, 0, 0), 42) << "handled ahead: the window never sees it";
    EXPECT_EQ(SendMessageW(w, kM3, 0, 0), 100);
    EXPECT_EQ(g_log, (Log{"before 1025 0", "proc 1025 0", "after 1025 100", "before 1026 0", "proc 1027 0"}));
    EXPECT_EQ(hooks->FindHookRecord(w)->userValue, 43);
    // Still a Unicode window: a text outside the ANSI code page comes back whole.
    SendMessageW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Ωмega"));
    EXPECT_EQ(WindowText(w), L"Ωмega");
    EXPECT_TRUE(notices.notices.empty());

    // A release inside a nested call takes effect when the outermost call returns.
    bool hookedAfterRelease = false;
    hooks->react = [&](bool, bool&, LRESULT&, UINT msg) {
        if (msg == kM1)
            SendMessageW(w, kM2, 0, 0);
        if (msg == kM2) {
            hooks->HookRelease(w);
            hookedAfterRelease = IsHooked(w);
        }
    };
    g_log.clear();
    SendMessageW(w, kM1, 0, 0);
    EXPECT_TRUE(hookedAfterRelease) << "outer calls still use the record";
    EXPECT_FALSE(IsHooked(w));
    EXPECT_EQ(g_log, (Log{"before 1025 0", "before 1026 0", "proc 0 0", "proc 1026 0", "proc 1025 0"}));
}

TEST_F(WindowHook, DestroyReachesTheWindowUnhooksAndReleaseAllGoesBackwardsPastIt) {
    HWND second = TestWindow(2), third = TestWindow(3);
    SetWindowLongPtrW(w, GWLP_USERDATA, 1);
    for (HWND h : {w, second, third})
        ASSERT_TRUE(hooks->HookWindow(h));
    hooks->HookAddMessage(second, WM_DESTROY, kBefore | kAfter);
    hooks->react = [](bool, bool& handled, LRESULT&, UINT) { handled = true; };
    DestroyWindow(second);
    EXPECT_EQ(g_log, (Log{"before 2 0", "proc 2 2"})) << "no after-call once unhooked";
    ASSERT_TRUE(hooks->FindHookRecord(second)) << "its key stays";
    EXPECT_TRUE(hooks->FindHookRecord(second)->freed);
    g_log.clear();
    hooks->HookReleaseAll();
    EXPECT_EQ(g_log, (Log{"proc 0 3", "proc 0 1"})) << "last to first, the destroyed one skipped";
    EXPECT_FALSE(IsHooked(w) || IsHooked(third));
    EXPECT_TRUE(notices.notices.empty());
    DestroyWindow(third);
}

TEST_F(WindowHook, ARefusalGoesThroughTheErrorRoutineAndAGoneOwnerIsNotCalled) {
    WindowHooks ownerless;
    ASSERT_TRUE(hooks->HookWindow(w));
    hooks->HookAddMessage(w, kM1, kBefore);
    EXPECT_FALSE(hooks->HookWindow(w));
    ASSERT_EQ(notices.notices.size(), 2u);
    const win::Notice &log = notices.notices[0], &box = notices.notices[1];
    EXPECT_EQ(std::tuple(log.kind, log.text, log.flags),
              std::tuple(win::Notice::Kind::EventLog,
                         std::wstring(L"ToolbarSkin.HookWindow: Window handle is already subclassed"),
                         UINT{EVENTLOG_ERROR_TYPE}));
    EXPECT_EQ(std::tuple(box.title, box.text, box.flags),
              std::tuple(std::wstring(L"Error in ToolbarSkin.HookWindow"),
                         std::wstring(L"Window handle is already subclassed."), UINT{MB_OK | MB_ICONEXCLAMATION}));
    EXPECT_EQ(SendMessageW(w, kM1, 0, 0), 100);
    EXPECT_EQ(g_log, (Log{"before 1025 0", "proc 1025 0"})) << "the first hook still works";
    // An owner that is gone is not called.
    std::optional<Owner> owner{std::in_place};
    ASSERT_TRUE(ownerless.HookWindow(w, 0, &*owner));
    ownerless.HookAddMessage(w, kAllMessages, kBefore);
    owner.reset();
    g_log.clear();
    EXPECT_EQ(SendMessageW(w, kM3, 0, 0), 100);
    EXPECT_EQ(g_log, (Log{"proc 1027 0"}));
}

TEST_F(SkinnedToolbar, EachButtonDrawnFromWhatItsStyleStateAndPointerChoose) {
    Hook();
    enum { N, D, X }; // text colours: normal, down, disabled
    // Which tile each case gets is the frame table's rule; these prove the painter feeds it the
    // pointer, style and state, and draws what it chose. The first row's pointer is away.
    const struct {
        int button, state;
        std::optional<int> pointerX;
        int main, strip, text, image;
    } rows[] = {{0, 4, {}, -1, -1, N, 1}, {3, 6, 2, 5, 9, D, 2}, {3, 0, -3, -1, -1, X, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "button " << row.button << " state " << row.state);
        const Shot shot = Paint(row.button, row.state, row.pointerX);
        const RECT r = Item(row.button);
        EXPECT_EQ(shot.At(r.left + 2, r.top + 2), Ref(row.main < 0 ? kBack : Tile(row.main))) << "frame";
        if (row.button == 3) {
            const int strip = r.right - kStripWidth;
            const Point a = ArrowAt(strip, r.top, r.bottom - r.top);
            EXPECT_EQ(std::pair(shot.At(strip + 2, r.top + 2), shot.At(a.x + 3, a.y + 3)),
                      std::pair(Ref(row.strip < 0 ? kBack : Tile(row.strip)), Ref(kArrow[row.state != 0])));
        }
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(shot.Shows(r, Ref(kText[c])), c == row.text) << "text colour " << c;
        const Point at =
            LayOut(true, {r.left, r.top, r.right, r.bottom}, 16, 16, 0, LookOf(row.state).offset, row.button == 3)
                .image;
        EXPECT_EQ(shot.At(at.x + 8, at.y + 8), Ref(kImage[row.image])) << "image list";
        Paint(row.button, TBSTATE_ENABLED);
    }
    // The separator: its art, never a frame.
    const RECT sep = Item(4);
    const Shot shot = Paint(4, TBSTATE_ENABLED, 2);
    EXPECT_EQ(std::pair(shot.At(sep.left + 3, sep.bottom / 2), shot.At(sep.left + 1, sep.top + 2)),
              std::pair(Ref(kSep), Ref(kBack)));
    SaveScreenshot(host, L"toolbar_skin_states");
    EXPECT_TRUE(notices.notices.empty());
}

TEST_F(SkinnedToolbar, StyleKeptOrRestoredASmallPictureRefusedOwnDrawingWithoutOneAndADestroyedToolbarForgotten) {
    ASSERT_TRUE(skin->SubClassToolBar(host));
    EXPECT_EQ(SendMessageW(tb, TB_GETSTYLE, 0, 0), original | TBSTYLE_FLAT);
    EXPECT_NE(Paint(0, TBSTATE_ENABLED).At(2, 2), Ref(kBack)) << "no picture yet: the toolbar draws itself";
    skin->UnSubClassToolBar(true);
    EXPECT_EQ(SendMessageW(tb, TB_GETSTYLE, 0, 0), original);
    EXPECT_FALSE(Hooked(tb, skin->SubclassId()));
    Hook();
    EXPECT_FALSE(skin->SetSkinPicture(host::BitmapFromPicture({TestSkin(215)}).Get()));
    EXPECT_EQ(notices.notices.size(), 2u);
    EXPECT_EQ(Paint(0, TBSTATE_ENABLED).At(2, 2), Ref(kBack)) << "the previous picture stays";
    skin->UnSubClassToolBar(false);
    EXPECT_EQ(SendMessageW(tb, TB_GETSTYLE, 0, 0), original | TBSTYLE_FLAT | TBSTYLE_LIST);

    // A destroyed toolbar is forgotten: its handle may come to name another window.
    Hook();
    DestroyWindow(std::exchange(host, nullptr));
    EXPECT_EQ(skin->hToolBar(), nullptr);
    const std::function<void()> calls[] = {[&] { skin->SetDpi(144); }, [&] { skin->SetSkinPicture(picture.Get()); },
                                           [&] { skin->UnSubClassToolBar(true); }};
    for (const auto& call : calls) {
        SetLastError(0);
        call();
        EXPECT_NE(GetLastError(), DWORD{ERROR_INVALID_WINDOW_HANDLE}) << "sent to the old handle";
    }
}

using PrincipalToolbar = PrincipalSession;

// Hot under a real pointer and the texts beside the images: the 144-dpi window test.
TEST_F(PrincipalToolbar, UnhookedFirstAtClose) {
    HWND tb = principal.Toolbar().ToolbarWindow();
    ASSERT_TRUE(Hooked(tb, principal.ToolbarSkinning()->SubclassId()));
    g_closing.hook = principal.ToolbarSkinning()->SubclassId();
    g_closing.principal = &principal;
    SetWindowSubclass(tb, &WatchDestroy, 1, 0);
    SendMessageW(principal.Hwnd(), WM_CLOSE, 0, 0);
    // Unhooked and its picture let go of before the toolbar went, while the window still held the picture.
    EXPECT_EQ(std::tuple(g_closing.hooked, g_closing.skinning, g_closing.picture), std::tuple(false, false, true));
}
