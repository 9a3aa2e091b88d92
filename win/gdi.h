// Owners for GDI objects and device contexts. Move-only; selections are undone by guards, and a
// memory surface puts its original bitmap back before its own is deleted.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace win {

// Called with every object an owner deletes, just before the delete. Windows refuses to delete a
// bitmap that is still selected into a device context (Wine lets it pass), so tests watch here that
// nothing is released while still in use. Null: nobody watches.
using DeleteWatcher = void (*)(HGDIOBJ object);
inline DeleteWatcher& WatchDeletes() {
    static DeleteWatcher watcher = nullptr;
    return watcher;
}

template <typename H> class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H handle) : h_(handle) {}
    GdiObject(GdiObject&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.h_, nullptr));
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { Reset(); }

    H Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void Reset(H handle = nullptr) {
        if (h_) {
            if (DeleteWatcher watcher = WatchDeletes())
                watcher(h_);
            DeleteObject(h_);
        }
        h_ = handle;
    }
    H Release() { return std::exchange(h_, nullptr); }

private:
    H h_ = nullptr;
};

using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Pen = GdiObject<HPEN>;
using Region = GdiObject<HRGN>;

// Selects an object into a DC for the guard's lifetime.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectGuard() {
        if (old_)
            SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A window's DC from GetDC, released on destruction.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// A memory DC with its own bitmap of a given size: a back buffer or a skin surface.
class MemorySurface {
public:
    MemorySurface() = default;
    MemorySurface(HDC reference, int width, int height) { Create(reference, width, height); }
    MemorySurface(MemorySurface&& other) noexcept { *this = std::move(other); }
    MemorySurface& operator=(MemorySurface&& other) noexcept {
        if (this != &other) {
            Destroy();
            dc_ = std::exchange(other.dc_, nullptr);
            bitmap_ = std::exchange(other.bitmap_, nullptr);
            old_ = std::exchange(other.old_, nullptr);
            width_ = std::exchange(other.width_, 0);
            height_ = std::exchange(other.height_, 0);
        }
        return *this;
    }
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;
    ~MemorySurface() { Destroy(); }

    // A null reference means a screen-compatible surface. False when GDI refuses.
    bool Create(HDC reference, int width, int height) {
        Destroy();
        HDC screen = reference ? nullptr : GetDC(nullptr);
        HDC ref = reference ? reference : screen;
        dc_ = CreateCompatibleDC(ref);
        bitmap_ = dc_ && width > 0 && height > 0 ? CreateCompatibleBitmap(ref, width, height) : nullptr;
        if (screen)
            ReleaseDC(nullptr, screen);
        if (!dc_ || !bitmap_) {
            Destroy();
            return false;
        }
        old_ = SelectObject(dc_, bitmap_);
        width_ = width;
        height_ = height;
        return true;
    }
    // Takes ownership of a bitmap (for example one loaded from a file) and selects it.
    bool Adopt(HBITMAP bitmap) {
        Destroy();
        if (!bitmap)
            return false;
        dc_ = CreateCompatibleDC(nullptr);
        if (!dc_) {
            DeleteObject(bitmap);
            return false;
        }
        bitmap_ = bitmap;
        old_ = SelectObject(dc_, bitmap_);
        BITMAP info{};
        GetObjectW(bitmap_, sizeof(info), &info);
        width_ = info.bmWidth;
        height_ = info.bmHeight;
        return true;
    }
    void Destroy() {
        if (dc_ && old_)
            SelectObject(dc_, old_); // the bitmap must leave the DC before it is deleted
        if (bitmap_)
            DeleteObject(bitmap_);
        if (dc_)
            DeleteDC(dc_);
        dc_ = nullptr;
        bitmap_ = nullptr;
        old_ = nullptr;
        width_ = height_ = 0;
    }

    HDC Dc() const { return dc_; }
    HBITMAP BitmapHandle() const { return bitmap_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

} // namespace win
