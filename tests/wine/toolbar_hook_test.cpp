// The window hook on real windows: call order, handled messages, destruction, release inside a
// nested call, release-all, and every refusal reported through the error routine.
#include "tests/wine/support/hook_probe.h"
#include "tests/wine/support/window_test.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace testsupport;
using namespace toolbarskin;

namespace {

constexpr UINT kM1 = WM_USER + 1, kM2 = WM_USER + 2, kM3 = WM_USER + 3;
std::vector<std::string> g_log; // what the windows' own procedures and the owners saw, in order

LRESULT CALLBACK TestProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NULL || msg == WM_DESTROY || (msg >= kM1 && msg <= kM3)) {
        g_log.push_back("proc " + std::to_string(msg) + " " + std::to_string(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
        return msg == WM_DESTROY ? 0 : 100;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND TestWindow(int id = 0) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TestProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZevHookTest";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, L"ZevHookTest", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, id); // names the window in the log
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
    std::function<void(bool, bool&, LRESULT&, UINT)> react;
};

struct Hooks : WindowHooks, Owner {};

class WindowHook : public ::testing::Test {
protected:
    void SetUp() override { g_log.clear(); }
    void TearDown() override {
        hooks.reset();
        DestroyWindow(w);
    }
    HWND w = TestWindow();
    NoticeRecorder notices;
    std::optional<Hooks> hooks{std::in_place};
};

} // namespace

TEST_F(WindowHook, OrderHandledUserValueAndTheWindowsCharacterSet) {
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
    EXPECT_EQ(g_log, (std::vector<std::string>{"before 1025 0", "proc 1025 0", "after 1025 100", "before 1026 0",
                                               "proc 1027 0"}));
    EXPECT_EQ(hooks->FindHookRecord(w)->userValue, 43);
    // Still a Unicode window: a text outside the ANSI code page comes back whole.
    EXPECT_TRUE(IsWindowUnicode(w));
    SendMessageW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Ωмega"));
    EXPECT_EQ(WindowText(w), L"Ωмega");
    EXPECT_TRUE(notices.notices.empty());
}

TEST_F(WindowHook, DestroyReachesTheWindowUnhooksAndReleaseAllGoesBackwardsPastIt) {
    HWND second = TestWindow(2), third = TestWindow(3);
    SetWindowLongPtrW(w, GWLP_USERDATA, 1);
    for (HWND h : {w, second, third})
        ASSERT_TRUE(hooks->HookWindow(h));
    hooks->HookAddMessage(second, WM_DESTROY, kBefore | kAfter);
    hooks->react = [](bool, bool& handled, LRESULT&, UINT) { handled = true; };
    DestroyWindow(second);
    EXPECT_EQ(g_log, (std::vector<std::string>{"before 2 0", "proc 2 2"})) << "no after-call once unhooked";
    const auto gone = hooks->FindHookRecord(second);
    ASSERT_TRUE(gone) << "its key stays";
    EXPECT_TRUE(gone->freed);
    g_log.clear();
    hooks->HookReleaseAll();
    EXPECT_EQ(g_log, (std::vector<std::string>{"proc 0 3", "proc 0 1"})) << "last to first, the destroyed one skipped";
    EXPECT_FALSE(Hooked(w, *hooks) || Hooked(third, *hooks));
    EXPECT_TRUE(notices.notices.empty());
    EXPECT_EQ(hooks->FindHookRecord(w), nullptr) << "the collection is gone";
    DestroyWindow(third);
}

TEST_F(WindowHook, AReleaseInsideANestedCallTakesEffectWhenTheOutermostReturns) {
    ASSERT_TRUE(hooks->HookWindow(w));
    hooks->HookAddMessage(w, kM1, kBefore | kAfter);
    hooks->HookAddMessage(w, kM2, kBefore);
    bool hookedAfterRelease = false;
    hooks->react = [&](bool before, bool&, LRESULT&, UINT msg) {
        if (before && msg == kM1)
            SendMessageW(w, kM2, 0, 0);
        if (msg == kM2) {
            hooks->HookRelease(w);
            hookedAfterRelease = Hooked(w, *hooks);
        }
    };
    SendMessageW(w, kM1, 0, 0);
    EXPECT_TRUE(hookedAfterRelease) << "outer calls still use the record";
    EXPECT_FALSE(Hooked(w, *hooks));
    EXPECT_EQ(g_log, (std::vector<std::string>{"before 1025 0", "before 1026 0", "proc 0 0", "proc 1026 0",
                                               "proc 1025 0"}));
    g_log.clear();
    SendMessageW(w, kM1, 0, 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"proc 1025 0"}));
}

TEST_F(WindowHook, AnOwnerThatIsGoneIsNotCalled) {
    std::optional<Owner> owner{std::in_place};
    ASSERT_TRUE(hooks->HookWindow(w, 0, &*owner));
    hooks->HookAddMessage(w, kAllMessages, kBefore);
    owner.reset();
    EXPECT_EQ(SendMessageW(w, kM1, 0, 0), 100);
    EXPECT_EQ(g_log, (std::vector<std::string>{"proc 1025 0"}));
}

TEST_F(WindowHook, EveryRefusalGoesThroughTheErrorRoutine) {
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
        {[&] { hooks->HookWindow(reinterpret_cast<HWND>(0x7654)); }, L"HookWindow: Invalid window handle"},
        {[&] { hooks->HookWindow(GetDesktopWindow()); }, L"HookWindow: Window handle belongs to another process"},
        {[&] { hooks->HookWindow(foreign); }, L"HookWindow: Window handle belongs to another thread"},
        {[&] { ownerless.HookWindow(w); }, L"HookWindow: Callback method not found"},
        {[&] { hooks->HookWindow(w); }, L"HookWindow: Window handle is already subclassed"},
        {[&] { ownerless.FindHookRecord(w); }, L"FindHookRecord: Hook table hasn't been initialized"},
        {[&] { hooks->HookRelease(foreign); },
         L"FindHookRecord: Hook record for window " +
             std::to_wstring(reinterpret_cast<std::uintptr_t>(foreign.load())) +
             L" does not exist"},
        {[&] {
             hooks->FindHookRecord(w);
             hooks->DeleteTableMessage(0x4AB, kBefore);
         },
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
        EXPECT_EQ(log.kind, win::Notice::Kind::EventLog);
        EXPECT_EQ(log.text, L"ToolbarSkin." + text);
        EXPECT_EQ(log.flags, static_cast<UINT>(EVENTLOG_ERROR_TYPE));
        const auto colon = text.find(L": ");
        EXPECT_EQ(box.title, L"Error in ToolbarSkin." + text.substr(0, colon));
        EXPECT_EQ(box.text, text.substr(colon + 2) + L".");
        EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    }
    EXPECT_TRUE(Hooked(w, *hooks));
    EXPECT_EQ(SendMessageW(w, kM1, 0, 0), 100);
    EXPECT_EQ(g_log, (std::vector<std::string>{"before 1025 0", "proc 1025 0"})) << "the first hook still works";
    done = true;
    other.join();
}
