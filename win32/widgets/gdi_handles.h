// Move-only owners for the GDI resources the drawn widgets use: memory DCs,
// GDI objects, window DCs, paint DCs and SelectObject restores.
#pragma once

#include <windows.h>

#include <utility>

namespace korbela {

// A DC from CreateCompatibleDC, deleted with DeleteDC.
class UniqueMemoryDc {
public:
    UniqueMemoryDc() = default;
    explicit UniqueMemoryDc(HDC dc) : dc_(dc) {}
    ~UniqueMemoryDc() { Reset(); }
    UniqueMemoryDc(UniqueMemoryDc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    UniqueMemoryDc& operator=(UniqueMemoryDc&& other) noexcept {
        if (this != &other) {
            Reset();
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    UniqueMemoryDc(const UniqueMemoryDc&) = delete;
    UniqueMemoryDc& operator=(const UniqueMemoryDc&) = delete;

    HDC Get() const { return dc_; }

private:
    void Reset() {
        if (dc_) DeleteDC(dc_);
        dc_ = nullptr;
    }

    HDC dc_ = nullptr;
};

// A pen, brush, font or bitmap, deleted with DeleteObject. It must no longer
// be selected into a DC when it goes.
template <typename Handle>
class UniqueGdiObject {
public:
    UniqueGdiObject() = default;
    explicit UniqueGdiObject(Handle object) : object_(object) {}
    ~UniqueGdiObject() { Reset(); }
    UniqueGdiObject(UniqueGdiObject&& other) noexcept
        : object_(std::exchange(other.object_, nullptr)) {}
    UniqueGdiObject& operator=(UniqueGdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    UniqueGdiObject(const UniqueGdiObject&) = delete;
    UniqueGdiObject& operator=(const UniqueGdiObject&) = delete;

    Handle Get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    void Reset() {
        if (object_) DeleteObject(object_);
        object_ = nullptr;
    }

    Handle object_ = nullptr;
};

// Puts back the object that a DC had selected before the first SelectObject.
class SelectionRestore {
public:
    SelectionRestore() = default;
    SelectionRestore(HDC dc, HGDIOBJ object) : dc_(dc), original_(SelectObject(dc, object)) {}
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

    bool Engaged() const { return dc_ != nullptr; }

private:
    void Reset() {
        if (dc_ && original_) SelectObject(dc_, original_);
        dc_ = nullptr;
        original_ = nullptr;
    }

    HDC dc_ = nullptr;        // not owned
    HGDIOBJ original_ = nullptr;  // not owned
};

// A window's DC from GetDC, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
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

}  // namespace korbela
