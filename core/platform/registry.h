// The system registry as the program uses it: typed values under one key.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace korbela {

enum class RegRoot { CurrentUser, LocalMachine };

// One open key. Reads report a missing value or a value of another type as empty.
class IRegistryKey {
public:
    virtual ~IRegistryKey() = default;
    virtual bool ValueExists(const std::string& name) = 0;
    virtual std::optional<uint32_t> ReadDword(const std::string& name) = 0;   // REG_DWORD only
    virtual std::optional<std::string> ReadString(const std::string& name) = 0;  // REG_SZ only
    virtual bool WriteDword(const std::string& name, uint32_t value) = 0;
    virtual bool WriteString(const std::string& name, const std::string& value) = 0;
    virtual bool DeleteValue(const std::string& name) = 0;
};

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // Opens with full access (KEY_ALL_ACCESS), creating the key when asked;
    // nullptr when the key is missing or the access is refused.
    virtual std::unique_ptr<IRegistryKey> OpenKey(RegRoot root, const std::string& path, bool create) = 0;
    // Opens an existing key with read access only (KEY_READ); every write on it
    // is refused. This is how a standard user can still look at HKEY_LOCAL_MACHINE.
    virtual std::unique_ptr<IRegistryKey> OpenKeyReadOnly(RegRoot root, const std::string& path) = 0;
    // Existence test that asks for read access only.
    virtual bool KeyExists(RegRoot root, const std::string& path) = 0;
};

}  // namespace korbela
