// An owned registry key handle, closed when it goes out of scope.
#pragma once

#include <windows.h>

#include <utility>

namespace korbela {

class HKeyHandle {
public:
    HKeyHandle() = default;
    explicit HKeyHandle(HKEY key) : key_(key) {}
    ~HKeyHandle() { Reset(); }

    HKeyHandle(HKeyHandle&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    HKeyHandle& operator=(HKeyHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            key_ = std::exchange(other.key_, nullptr);
        }
        return *this;
    }
    HKeyHandle(const HKeyHandle&) = delete;
    HKeyHandle& operator=(const HKeyHandle&) = delete;

    HKEY Get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }

    // For the out parameter of RegOpenKeyExW and RegCreateKeyExW.
    HKEY* Receive() {
        Reset();
        return &key_;
    }

    void Reset() {
        if (key_) RegCloseKey(key_);
        key_ = nullptr;
    }

private:
    HKEY key_ = nullptr;
};

}  // namespace korbela
