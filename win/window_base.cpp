#include "win/window_base.h"

#include <utility>

namespace win {
namespace {

// Where in a window's extra bytes its object is kept; our classes have no other extra bytes.
constexpr int kObjectSlot = 0;

Window* BoundTo(HWND hwnd) {
    return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, kObjectSlot));
}

void Bind(HWND hwnd, Window* object) {
    SetWindowLongPtrW(hwnd, kObjectSlot, reinterpret_cast<LONG_PTR>(object));
}

} // namespace

HINSTANCE ThisModule() {
    // The module that holds this code, whether the exe or a test binary.
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

Window::~Window() {
    // Destroyed with its object still alive: the window goes too, without a word to the dying object.
    DestroyUnbound();
}

void Window::DestroyUnbound() {
    if (HWND hwnd = std::exchange(hwnd_, nullptr)) {
        Bind(hwnd, nullptr);
        DestroyWindow(hwnd);
    }
}

Window* Window::FromHwnd(HWND hwnd) {
    DWORD process = 0;
    if (!hwnd || !GetWindowThreadProcessId(hwnd, &process) || process != GetCurrentProcessId())
        return nullptr; // another program's window: even one of ours holds an address of that program
    // A window of one of our classes, told by the class's procedure, which subclassing a window never
    // changes (it replaces only the window's own procedure).
    if (reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC)) != &Window::StaticProc)
        return nullptr;
    return BoundTo(hwnd);
}

void Window::RegisterClassOnce(WNDCLASSEXW wc) {
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Window::StaticProc;
    wc.cbWndExtra = sizeof(Window*);
    wc.hInstance = ThisModule();
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing))
        return;
    if (!wc.hCursor)
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassExW(&wc);
}

HWND Window::Create(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style, int x, int y, int w,
                    int h, HWND parent, HMENU menuOrId) {
    return CreateWindowExW(exStyle, className, title, style, x, y, w, h, parent, menuOrId, ThisModule(), this);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) { return Default(msg, wParam, lParam); }

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) {
            self->hwnd_ = hwnd;
            Bind(hwnd, self);
        }
    } else {
        self = BoundTo(hwnd);
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        const LRESULT result = self->HandleMessage(msg, wParam, lParam);
        Bind(hwnd, nullptr);
        self->hwnd_ = nullptr;
        self->OnDestroyed();
        return result;
    }
    return self->HandleMessage(msg, wParam, lParam);
}

} // namespace win
