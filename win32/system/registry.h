// The system registry behind IRegistry: the wide calls of advapi32 on
// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE. Key paths, value names and text
// are UTF-8 here and UTF-16 in the registry.
#pragma once

#include <memory>
#include <string>

#include "core/system/registry.h"

namespace korbela {

class Win32Registry : public IRegistry {
public:
    std::unique_ptr<IRegistryKey> OpenKey(RegRoot root, const std::string& path, bool create) override;
    std::unique_ptr<IRegistryKey> OpenKeyReadOnly(RegRoot root, const std::string& path) override;
    bool KeyExists(RegRoot root, const std::string& path) override;
};

}  // namespace korbela
