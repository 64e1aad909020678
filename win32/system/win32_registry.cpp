#include "win32/system/win32_registry.h"

#include <windows.h>

#include <cstring>
#include <limits>
#include <vector>

#include "win32/system/hkey_handle.h"

namespace korbela {
namespace {

HKEY RootHandle(RegRoot root) {
    return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// One open key. Every value is type-checked: a value of another type reads
// as missing, whatever its size.
class Win32RegistryKey : public IRegistryKey {
public:
    explicit Win32RegistryKey(HKeyHandle key) : key_(std::move(key)) {}

    bool ValueExists(const std::string& name) override {
        return RegQueryValueExA(key_.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

    std::optional<uint32_t> ReadDword(const std::string& name) override {
        DWORD type = REG_NONE;
        DWORD data = 0;
        DWORD dataSize = sizeof(data);
        const LONG result = RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type,
                                             reinterpret_cast<BYTE*>(&data), &dataSize);
        if (result != ERROR_SUCCESS || type != REG_DWORD || dataSize != sizeof(data)) return std::nullopt;
        return static_cast<uint32_t>(data);
    }

    std::optional<std::string> ReadString(const std::string& name) override {
        // The value may change between asking its size and reading it: try again then.
        for (int attempt = 0; attempt < 4; ++attempt) {
            DWORD type = REG_NONE;
            DWORD dataSize = 0;
            if (RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type, nullptr, &dataSize) != ERROR_SUCCESS ||
                type != REG_SZ) {
                return std::nullopt;
            }
            // One spare byte: the stored text need not end with a terminator.
            std::vector<char> data(static_cast<std::size_t>(dataSize) + 1, '\0');
            DWORD readSize = dataSize;
            const LONG result = RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type,
                                                 reinterpret_cast<BYTE*>(data.data()), &readSize);
            if (result == ERROR_MORE_DATA) continue;
            if (result != ERROR_SUCCESS || type != REG_SZ || readSize > dataSize) return std::nullopt;
            return std::string(data.data(), strnlen(data.data(), readSize));
        }
        return std::nullopt;
    }

    bool WriteDword(const std::string& name, uint32_t value) override {
        const DWORD data = value;
        return RegSetValueExA(key_.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                              sizeof(data)) == ERROR_SUCCESS;
    }

    bool WriteString(const std::string& name, const std::string& value) override {
        if (value.size() >= (std::numeric_limits<DWORD>::max)()) return false;
        const DWORD dataSize = static_cast<DWORD>(value.size() + 1);  // with the terminator
        return RegSetValueExA(key_.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              dataSize) == ERROR_SUCCESS;
    }

    bool DeleteValue(const std::string& name) override {
        return RegDeleteValueA(key_.Get(), name.c_str()) == ERROR_SUCCESS;
    }

private:
    HKeyHandle key_;
};

std::unique_ptr<IRegistryKey> Opened(LONG result, HKeyHandle key) {
    if (result != ERROR_SUCCESS || !key) return nullptr;
    return std::make_unique<Win32RegistryKey>(std::move(key));
}

}  // namespace

std::unique_ptr<IRegistryKey> Win32Registry::OpenKey(RegRoot root, const std::string& path, bool create) {
    HKeyHandle key;
    const LONG result = create ? RegCreateKeyExA(RootHandle(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                 KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr)
                               : RegOpenKeyExA(RootHandle(root), path.c_str(), 0, KEY_ALL_ACCESS, key.Receive());
    return Opened(result, std::move(key));
}

std::unique_ptr<IRegistryKey> Win32Registry::OpenKeyReadOnly(RegRoot root, const std::string& path) {
    HKeyHandle key;
    const LONG result = RegOpenKeyExA(RootHandle(root), path.c_str(), 0, KEY_READ, key.Receive());
    return Opened(result, std::move(key));
}

bool Win32Registry::KeyExists(RegRoot root, const std::string& path) {
    HKeyHandle key;
    return RegOpenKeyExA(RootHandle(root), path.c_str(), 0, KEY_READ, key.Receive()) == ERROR_SUCCESS;
}

}  // namespace korbela
