#include "win32/system/registry.h"

#include <windows.h>

#include <cwchar>
#include <limits>
#include <vector>

#include "win32/system/unique_handle.h"
#include "win32/system/utf8.h"

namespace korbela {
namespace {

HKEY RootHandle(RegRoot root) {
    return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// One open key. Every value is type-checked: a value of another type reads
// as missing, whatever its size.
class Win32RegistryKey : public IRegistryKey {
public:
    explicit Win32RegistryKey(UniqueHKey key) : key_(std::move(key)) {}

    bool ValueExists(const std::string& name) override {
        const std::wstring valueName = Utf8ToWide(name);
        return RegQueryValueExW(key_.Get(), valueName.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

    std::optional<uint32_t> ReadDword(const std::string& name) override {
        const std::wstring valueName = Utf8ToWide(name);
        DWORD type = REG_NONE;
        DWORD data = 0;
        DWORD dataSize = sizeof(data);
        const LONG result = RegQueryValueExW(key_.Get(), valueName.c_str(), nullptr, &type,
                                             reinterpret_cast<BYTE*>(&data), &dataSize);
        if (result != ERROR_SUCCESS || type != REG_DWORD || dataSize != sizeof(data)) return std::nullopt;
        return static_cast<uint32_t>(data);
    }

    std::optional<std::string> ReadString(const std::string& name) override {
        const std::wstring valueName = Utf8ToWide(name);
        // The value may change between asking its size and reading it: try again then.
        for (int attempt = 0; attempt < 4; ++attempt) {
            DWORD type = REG_NONE;
            DWORD dataSize = 0;
            if (RegQueryValueExW(key_.Get(), valueName.c_str(), nullptr, &type, nullptr, &dataSize) != ERROR_SUCCESS ||
                type != REG_SZ) {
                return std::nullopt;
            }
            // The size is in bytes and may be odd: rounded up to whole characters,
            // with one spare, as the stored text need not end with a terminator.
            const std::size_t bufferCount = static_cast<std::size_t>(dataSize) / sizeof(wchar_t) + 2;
            std::vector<wchar_t> data(bufferCount, L'\0');
            DWORD readSize = dataSize;
            const LONG result = RegQueryValueExW(key_.Get(), valueName.c_str(), nullptr, &type,
                                                 reinterpret_cast<BYTE*>(data.data()), &readSize);
            if (result == ERROR_MORE_DATA) continue;
            if (result != ERROR_SUCCESS || type != REG_SZ || readSize > dataSize) return std::nullopt;
            const std::size_t readCount = static_cast<std::size_t>(readSize) / sizeof(wchar_t);
            return WideToUtf8(std::wstring_view(data.data(), wcsnlen(data.data(), readCount)));
        }
        return std::nullopt;
    }

    bool WriteDword(const std::string& name, uint32_t value) override {
        const std::wstring valueName = Utf8ToWide(name);
        const DWORD data = value;
        return RegSetValueExW(key_.Get(), valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                              sizeof(data)) == ERROR_SUCCESS;
    }

    bool WriteString(const std::string& name, const std::string& value) override {
        const std::wstring valueName = Utf8ToWide(name);
        const std::wstring text = Utf8ToWide(value);
        if (text.empty() != value.empty() || text.size() >= (std::numeric_limits<DWORD>::max)() / sizeof(wchar_t)) {
            return false;
        }
        const DWORD dataSize = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));  // with the terminator
        return RegSetValueExW(key_.Get(), valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              dataSize) == ERROR_SUCCESS;
    }

    bool DeleteValue(const std::string& name) override {
        const std::wstring valueName = Utf8ToWide(name);
        return RegDeleteValueW(key_.Get(), valueName.c_str()) == ERROR_SUCCESS;
    }

private:
    UniqueHKey key_;
};

std::unique_ptr<IRegistryKey> Opened(LONG result, UniqueHKey key) {
    if (result != ERROR_SUCCESS || !key) return nullptr;
    return std::make_unique<Win32RegistryKey>(std::move(key));
}

}  // namespace

std::unique_ptr<IRegistryKey> Win32Registry::OpenKey(RegRoot root, const std::string& path, bool create) {
    const std::wstring keyPath = Utf8ToWide(path);
    UniqueHKey key;
    const LONG result = create ? RegCreateKeyExW(RootHandle(root), keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                 KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr)
                               : RegOpenKeyExW(RootHandle(root), keyPath.c_str(), 0, KEY_ALL_ACCESS, key.Receive());
    return Opened(result, std::move(key));
}

std::unique_ptr<IRegistryKey> Win32Registry::OpenKeyReadOnly(RegRoot root, const std::string& path) {
    const std::wstring keyPath = Utf8ToWide(path);
    UniqueHKey key;
    const LONG result = RegOpenKeyExW(RootHandle(root), keyPath.c_str(), 0, KEY_READ, key.Receive());
    return Opened(result, std::move(key));
}

bool Win32Registry::KeyExists(RegRoot root, const std::string& path) {
    const std::wstring keyPath = Utf8ToWide(path);
    UniqueHKey key;
    return RegOpenKeyExW(RootHandle(root), keyPath.c_str(), 0, KEY_READ, key.Receive()) == ERROR_SUCCESS;
}

}  // namespace korbela
