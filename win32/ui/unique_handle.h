// A move-only owner for one Win32 handle that is given back with a single
// call: windows, menus, kernel objects, global atoms.
#pragma once

#include <windows.h>

#include <utility>

namespace korbela {

template <typename Handle, auto Close>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, Handle{});
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    void Reset(Handle handle = Handle{}) {
        if (handle_ != Handle{}) Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_{};
};

using UniqueWindow = UniqueHandle<HWND, &DestroyWindow>;
using UniqueMenu = UniqueHandle<HMENU, &DestroyMenu>;
using UniqueKernelHandle = UniqueHandle<HANDLE, &CloseHandle>;
using UniqueGlobalAtom = UniqueHandle<ATOM, &GlobalDeleteAtom>;

}  // namespace korbela
