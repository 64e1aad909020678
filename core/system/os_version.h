// The operating system version the running process is told.
#pragma once

#include <cstdint>
#include <optional>

namespace korbela {

constexpr uint32_t kPlatformWin32s = 0;
constexpr uint32_t kPlatformWin32Windows = 1;
constexpr uint32_t kPlatformWin32NT = 2;

struct OsVersion {
    uint32_t PlatformId = kPlatformWin32NT;
    uint32_t Major = 0;
    uint32_t Minor = 0;
};

class IOsVersion {
public:
    virtual ~IOsVersion() = default;
    // Empty when the system refuses to tell (GetVersionExA failing).
    virtual std::optional<OsVersion> Query() = 0;
};

}  // namespace korbela
