// The registry: the keys and values the system hands out, and TRegistry, the
// object the settings are read and written through.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/system/errors.h"

namespace korbela {

// The system registry as the program uses it: typed values under one key.
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

// TRegistry: one registry job at a time on top of IRegistry. It holds a root
// (HKEY_CURRENT_USER unless told otherwise) and at most one open key. Reads and
// writes that cannot be done raise ERegistryError, which the settings and
// start-up routines catch; DeleteValue only ever reports a boolean.

// A registry value that could not be read or written. Derived from KorbelaError
// so that the one routine which lets it escape (CreateDefaultSettings) reaches
// the application-wide report with this text.
class ERegistryError : public KorbelaError {
public:
    using KorbelaError::KorbelaError;
};

class TRegistry {
public:
    explicit TRegistry(IRegistry& registry) : registry_(registry) {}
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    RegRoot RootKey() const { return root_; }
    // Closes the open key: a key belongs to the root it was opened under.
    void SetRootKey(RegRoot root);

    // Full access (KEY_ALL_ACCESS); closes the key opened before. False when the
    // key is missing (and canCreate is false) or the access is refused.
    bool OpenKey(const std::string& path, bool canCreate);
    // Read access only: every write on the key raises.
    bool OpenKeyReadOnly(const std::string& path);
    void CloseKey();
    bool HasOpenKey() const { return key_ != nullptr; }

    // False when no key is open.
    bool ValueExists(const std::string& name);
    // Asks for read access only; does not touch the open key.
    bool KeyExists(const std::string& path);

    // REG_DWORD as a signed 32-bit value.
    int32_t ReadInteger(const std::string& name);
    // REG_DWORD, any nonzero value reads as true.
    bool ReadBool(const std::string& name);
    // REG_SZ.
    std::string ReadString(const std::string& name);

    void WriteInteger(const std::string& name, int32_t value);
    // REG_DWORD 0 or 1.
    void WriteBool(const std::string& name, bool value);
    void WriteString(const std::string& name, const std::string& value);

    // False when no key is open, the value is missing or the deletion is refused.
    bool DeleteValue(const std::string& name);

private:
    IRegistryKey& OpenKeyOrRaise(const std::string& name);
    uint32_t ReadDword(const std::string& name);

    IRegistry& registry_;  // not owned
    RegRoot root_ = RegRoot::CurrentUser;
    std::unique_ptr<IRegistryKey> key_;
};

}  // namespace korbela
