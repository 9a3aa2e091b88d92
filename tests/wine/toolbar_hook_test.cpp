// The window hook on real windows: call order, nested release, destruction, release-all, refusals.
#include "tests/wine/support/hook_probe.h"
#include "tests/wine/support/window_test.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

using namespace testsupport;
using namespace toolbarskin;
using Log = std::vector<std::string>;

namespace {

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

TEST_F(WindowHook, RefusalsGoThroughTheErrorRoutineAndAGoneOwnerIsNotCalled) {
    WindowHooks ownerless;
    std::atomic<HWND> foreign = nullptr;
    std::atomic<bool> done = false;
    std::thread other([&] { // a window lives as long as its thread
        foreign = TestWindow();
        while (!done)
            Sleep(5);
        DestroyWindow(foreign);
    });
    while (!foreign)
        Sleep(5);
    ASSERT_TRUE(hooks->HookWindow(w));
    hooks->HookAddMessage(w, kM1, kBefore);
    const std::pair<std::function<void()>, std::wstring> cases[] = {
        {[&] { hooks->HookWindow(foreign); }, L"HookWindow: Window handle belongs to another thread"},
        {[&] { ownerless.HookWindow(w); }, L"HookWindow: Callback method not found"},
        {[&] { hooks->HookWindow(w); }, L"HookWindow: Window handle is already subclassed"},
        {[&] { ownerless.FindHookRecord(w); }, L"FindHookRecord: Hook table hasn't been initialized"},
        {[&] { hooks->FindHookRecord(w), hooks->DeleteTableMessage(0x4AB, kBefore); },
         L"DeleteTableMessage: Message &H4AB not found in table"},
        {[&] {
             for (int m = 1; m <= 33; ++m)
                 hooks->HookAddMessage(w, WM_APP + m, kAfter);
         },
         L"AddTableMessage: " + OverflowText()},
    };
    for (const auto& [act, text] : cases) {
        notices.notices.clear();
        act();
        ASSERT_EQ(notices.notices.size(), 2u) << testing::PrintToString(text);
        const win::Notice &log = notices.notices[0], &box = notices.notices[1];
        EXPECT_EQ(std::tuple(log.kind, log.text, log.flags),
                  std::tuple(win::Notice::Kind::EventLog, L"ToolbarSkin." + text, UINT{EVENTLOG_ERROR_TYPE}));
        const auto colon = text.find(L": ");
        EXPECT_EQ(std::tuple(box.title, box.text, box.flags),
                  std::tuple(L"Error in ToolbarSkin." + text.substr(0, colon), text.substr(colon + 2) + L".",
                             UINT{MB_OK | MB_ICONEXCLAMATION}));
    }
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
    done = true;
    other.join();
}
