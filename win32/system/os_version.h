// The operating system version as GetVersionExA tells it to this process.
#pragma once

#include <optional>

#include "core/system/os_version.h"

namespace korbela {

class Win32OsVersion : public IOsVersion {
public:
    std::optional<OsVersion> Query() override;
};

}  // namespace korbela
