// The operating system version as GetVersionExA tells it to this process.
#pragma once

#include <optional>

#include "core/platform/os_version.h"

namespace korbela {

class Win32OsVersion : public IOsVersion {
public:
    std::optional<OsVersion> Query() override;
};

}  // namespace korbela
