#include "harness/registry_access.h"

namespace korbela::wine {

std::optional<DWORD> ReadDword(HKEY root, const char* path, const char* name) {
    DWORD value = 0, size = sizeof(value), type = 0;
    if (RegGetValueA(root, path, name, RRF_RT_ANY, &type, &value, &size) != ERROR_SUCCESS || type != REG_DWORD) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> ReadString(HKEY root, const char* path, const char* name) {
    char text[1024] = {};
    DWORD size = sizeof(text), type = 0;
    if (RegGetValueA(root, path, name, RRF_RT_ANY, &type, text, &size) != ERROR_SUCCESS || type != REG_SZ) {
        return std::nullopt;
    }
    return std::string(text);
}

void WriteDword(HKEY root, const char* path, const char* name, DWORD value) {
    WriteValue(root, path, name, REG_DWORD, &value, sizeof(value));
}

void WriteValue(HKEY root, const char* path, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
}

}  // namespace korbela::wine
