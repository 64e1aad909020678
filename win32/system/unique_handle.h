// Owners of the Win32 handles the program gives back with one call (windows,
// menus, icons, kernel objects, global atoms, registry keys, GDI objects and
// memory DCs), and the scopes of a drawing on a DC: a window's DC, a paint DC,
// an object selected for a while and the DC's state kept across a drawing.
// Every handle is given back here and nowhere else.
#pragma once

#include <windows.h>

#include <utility>

namespace korbela {

// Owns one handle and closes it with Close when it goes. Move-only.
template <typename Handle, auto Close>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }

    // Closes the handle held and takes the new one. The old one stays held
    // while it is closed: a window's own messages during DestroyWindow still
    // find their window.
    void Reset(Handle handle = Handle{}) {
        if (handle_ != Handle{}) Close(handle_);
        handle_ = handle;
    }

    // Gives the handle up without closing it.
    Handle Release() { return std::exchange(handle_, Handle{}); }

    // For an out parameter (RegOpenKeyExW, RegCreateKeyExW): closes the handle
    // held and returns where the new one goes.
    Handle* Receive() {
        Reset();
        return &handle_;
    }

private:
    Handle handle_{};
};

using UniqueWindow = UniqueHandle<HWND, &DestroyWindow>;
using UniqueMenu = UniqueHandle<HMENU, &DestroyMenu>;
using UniqueIcon = UniqueHandle<HICON, &DestroyIcon>;
using UniqueKernelHandle = UniqueHandle<HANDLE, &CloseHandle>;
using UniqueGlobalAtom = UniqueHandle<ATOM, &GlobalDeleteAtom>;
using UniqueHKey = UniqueHandle<HKEY, &RegCloseKey>;
// A DC from CreateCompatibleDC.
using UniqueDc = UniqueHandle<HDC, &DeleteDC>;
// A pen, brush, font, bitmap or region. It must no longer be selected into a
// DC when it goes.
template <typename Object>
using UniqueGdiObject = UniqueHandle<Object, &DeleteObject>;

// A window's DC from GetDC (the screen's for no window), given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Get() const { return dc_; }

private:
    HWND window_;  // not owned
    HDC dc_;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window) { dc_ = BeginPaint(window_, &paint_); }
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC Get() const { return dc_; }

private:
    HWND window_;  // not owned
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// Puts back the object that a DC had selected before the first Select.
class SelectionRestore {
public:
    SelectionRestore() = default;
    SelectionRestore(HDC dc, HGDIOBJ object) { Select(dc, object); }
    ~SelectionRestore() { Reset(); }
    SelectionRestore(SelectionRestore&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)), original_(std::exchange(other.original_, nullptr)) {}
    SelectionRestore& operator=(SelectionRestore&& other) noexcept {
        if (this != &other) {
            Reset();
            dc_ = std::exchange(other.dc_, nullptr);
            original_ = std::exchange(other.original_, nullptr);
        }
        return *this;
    }
    SelectionRestore(const SelectionRestore&) = delete;
    SelectionRestore& operator=(const SelectionRestore&) = delete;

    // Selects another object of the same kind into the DC, which must be the
    // same at every call; only the first selection's original is kept.
    void Select(HDC dc, HGDIOBJ object) {
        HGDIOBJ previous = SelectObject(dc, object);
        if (dc_ != nullptr) return;
        dc_ = dc;
        original_ = previous;
    }

private:
    void Reset() {
        if (dc_ != nullptr && original_ != nullptr) SelectObject(dc_, original_);
        dc_ = nullptr;
        original_ = nullptr;
    }

    HDC dc_ = nullptr;            // not owned
    HGDIOBJ original_ = nullptr;  // not owned
};

// Keeps what a drawing changes on a DC it does not own (text colour,
// background mode, selected objects) and puts it all back when it goes.
class DcStateRestore {
public:
    explicit DcStateRestore(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~DcStateRestore() {
        if (saved_ != 0) RestoreDC(dc_, saved_);
    }
    DcStateRestore(const DcStateRestore&) = delete;
    DcStateRestore& operator=(const DcStateRestore&) = delete;

private:
    HDC dc_;  // not owned
    int saved_;
};

}  // namespace korbela
