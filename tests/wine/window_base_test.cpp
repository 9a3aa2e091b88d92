// The window base and the subclass chain on real windows.
#include "tests/wine/support/window_test.h"
#include "win/subclass.h"
#include "win/window_base.h"

#include <gtest/gtest.h>

#include <string>

using namespace testsupport;

namespace {

class Probe : public win::Window {
public:
    bool Open() {
        WNDCLASSEXW wc{};
        wc.lpszClassName = L"ZevProbeWindow";
        RegisterClassOnce(wc);
        return Create(L"ZevProbeWindow", 0, L"probe", WS_OVERLAPPEDWINDOW, 10, 10, 200, 120, nullptr, nullptr);
    }
    std::vector<UINT> seen; // WM_CREATE, WM_DESTROY and user messages
    int unbound = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_CREATE || msg == WM_DESTROY || msg >= WM_USER)
            seen.push_back(msg);
        return Default(msg, wParam, lParam);
    }
    void OnDestroyed() override { ++unbound; }
};

// Each subclass procedure appends its id to the log; 'o' marks the original procedure.
std::string chainLog;
WNDPROC staticProc = nullptr, underLater = nullptr;
LRESULT CALLBACK Original(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER)
        chainLog += 'o';
    return msg == WM_USER ? 7 : CallWindowProcW(staticProc, hwnd, msg, wParam, lParam);
}
LRESULT CALLBACK Logged(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    if (msg == WM_USER) {
        chainLog += static_cast<char>(id);
        if (data == 1) // remove itself while running
            win::RemoveSubclass(hwnd, &Logged, id);
        if (data == 2 && lParam == 0) // a nested message sent from inside the chain
            SendMessageW(hwnd, WM_USER, 0, 1);
    }
    return win::DefSubclass(hwnd, msg, wParam, lParam);
}
LRESULT CALLBACK Later(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER)
        chainLog += 'L';
    return CallWindowProcW(underLater, hwnd, msg, wParam, lParam);
}
std::string Send(HWND hwnd) {
    chainLog.clear();
    EXPECT_EQ(SendMessageW(hwnd, WM_USER, 0, 0), 7) << "the original's result comes back through the chain";
    return chainLog;
}

} // namespace

TEST(WindowBase, BindsAtCreationUnbindsWhenDestroyedAndTakesItsWindowAlong) {
    Probe probe;
    ASSERT_TRUE(probe.Open());
    HWND hwnd = probe.Hwnd();
    EXPECT_EQ(win::Window::FromHwnd(hwnd), &probe);
    ASSERT_TRUE(win::SetSubclass(hwnd, &Logged, 'z', 0));
    EXPECT_EQ(win::Window::FromHwnd(hwnd), &probe) << "still ours behind a subclass";
    // A foreign window is never ours, though its extra bytes hold something (here a font) and it keeps
    // our object where applications keep theirs.
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SendMessageW(other, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SetWindowLongPtrW(other, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&probe));
    EXPECT_FALSE(win::Window::FromHwnd(other) || win::Window::FromHwnd(GetDesktopWindow()));
    DestroyWindow(other);
    SendMessageW(hwnd, WM_USER + 7, 0, 0);
    DestroyWindow(hwnd);
    EXPECT_EQ(std::tuple(probe.seen, probe.unbound, probe.Hwnd()),
              std::tuple(std::vector<UINT>{WM_CREATE, WM_USER + 7, WM_DESTROY}, 1, HWND{}));
    {
        Probe second;
        ASSERT_TRUE(second.Open());
        hwnd = second.Hwnd();
    }
    EXPECT_FALSE(IsWindow(hwnd)) << "an object destroyed first takes its window with it";
}

TEST(Subclass, ChainsNewestFirstAndLetsGoCleanly) {
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    staticProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Original)));
    ASSERT_TRUE(win::SetSubclass(hwnd, &Logged, 'a', 0));
    ASSERT_TRUE(win::SetSubclass(hwnd, &Logged, 'b', 2));
    EXPECT_EQ(Send(hwnd), "bbaoao") << "newest first; a nested send runs the whole chain again";
    ASSERT_TRUE(win::SetSubclass(hwnd, &Logged, 'b', 1)) << "the same procedure and id again changes data only";
    EXPECT_EQ(Send(hwnd), "bao");
    EXPECT_EQ(Send(hwnd), "ao") << "b removed itself while running";
    EXPECT_FALSE(win::RemoveSubclass(hwnd, &Logged, 'b'));
    EXPECT_TRUE(win::RemoveSubclass(hwnd, &Logged, 'a'));
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&Original)) << "original put back";

    // Someone subclasses the window after us: removing ours must not cut them off.
    ASSERT_TRUE(win::SetSubclass(hwnd, &Logged, 'a', 0));
    underLater = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Later)));
    EXPECT_TRUE(win::RemoveSubclass(hwnd, &Logged, 'a'));
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&Later));
    EXPECT_EQ(Send(hwnd), "Lo");
    ASSERT_TRUE(win::SetSubclass(hwnd, &Logged, 'c', 0)) << "a window already chained takes a new procedure";
    EXPECT_EQ(Send(hwnd), "Lco") << "behind the later subclass, as installed";

    DestroyWindow(hwnd);
    EXPECT_FALSE(win::RemoveSubclass(hwnd, &Logged, 'c')) << "the chain went with the window";
    EXPECT_FALSE(win::SetSubclass(GetDesktopWindow(), &Logged, 'x', 0)) << "another thread's window is refused";
}
