// The "one window of its kind" rule of the program's modeless windows (device finder, About):
// showing it again brings the open one to the front; closing frees it.
//
// A window may close from inside a handler of one of its own controls, so the object of a closed
// window is freed only when the next one is created (or Close is called), never under its own feet.
#pragma once

#include <windows.h>

#include <memory>
#include <utility>

namespace win {

template <typename T> class SingleInstance {
public:
    // The open window's object, or null.
    static T* Instance() {
        T* open = Slots().open.get();
        return open && open->Hwnd() ? open : nullptr;
    }

    // Brings the open one to the front, or makes a new one from the arguments; T::Open() creates
    // and shows its window and returns false when it could not.
    template <typename... Args> static T* Show(Args&&... args) {
        if (T* open = Instance()) {
            ShowWindow(open->Hwnd(), SW_SHOWNORMAL);
            SetWindowPos(open->Hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            SetForegroundWindow(open->Hwnd());
            return open;
        }
        Slots().closed.reset();
        auto made = std::make_unique<T>(std::forward<Args>(args)...);
        if (!made->Open())
            return nullptr;
        Slots().open = std::move(made);
        return Slots().open.get();
    }

    // Closes the open window, if any, and frees every object.
    static void Close() {
        if (T* open = Instance())
            DestroyWindow(open->Hwnd());
        Slots().closed.reset();
    }

    // From the window's OnDestroyed: its object is set aside until it is safe to free.
    static void Retire(T* self) {
        if (Slots().open.get() == self)
            Slots().closed = std::move(Slots().open);
    }

private:
    struct Held {
        std::unique_ptr<T> open;
        std::unique_ptr<T> closed;
    };
    static Held& Slots() {
        static Held held;
        return held;
    }
};

} // namespace win
