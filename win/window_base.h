// The one window base: registers its class once, binds `this` at WM_NCCREATE, forgets it at
// WM_NCDESTROY and hands every message to HandleMessage.
//
// The object is kept in the window's own extra bytes, which only our classes have and nobody else
// writes: a window stays ours however many procedures are chained in front of ours (our own
// subclasses, comctl32's, an accessibility tool's), and GWLP_USERDATA is left to whoever wants it.
#pragma once

#include <windows.h>

namespace win {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Hwnd() const { return hwnd_; }
    // The object bound to a window of this base in this process, or null for any other window.
    static Window* FromHwnd(HWND hwnd);

protected:
    // Registers the class the first time; later calls with the same name do nothing. lpfnWndProc,
    // cbWndExtra (the object's slot) and hInstance are filled in here.
    static void RegisterClassOnce(WNDCLASSEXW wc);
    // Creates the window bound to this object; null on failure.
    HWND Create(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style, int x, int y, int w,
                int h, HWND parent, HMENU menuOrId);

    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // After the window is gone and unbound; the object may be reused or deleted.
    virtual void OnDestroyed() {}
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcW(hwnd_, msg, wParam, lParam); }
    // Unbinds the window first, so no message reaches an object being torn down, then destroys it.
    void DestroyUnbound();

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

HINSTANCE ThisModule();

} // namespace win
