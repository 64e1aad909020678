#include "core/system/registry.h"

#include <optional>

namespace korbela {

void TRegistry::SetRootKey(RegRoot root) {
    CloseKey();
    root_ = root;
}

bool TRegistry::OpenKey(const std::string& path, bool canCreate) {
    CloseKey();
    key_ = registry_.OpenKey(root_, path, canCreate);
    return key_ != nullptr;
}

bool TRegistry::OpenKeyReadOnly(const std::string& path) {
    CloseKey();
    key_ = registry_.OpenKeyReadOnly(root_, path);
    return key_ != nullptr;
}

void TRegistry::CloseKey() { key_.reset(); }

bool TRegistry::ValueExists(const std::string& name) {
    return key_ != nullptr && key_->ValueExists(name);
}

bool TRegistry::KeyExists(const std::string& path) { return registry_.KeyExists(root_, path); }

int32_t TRegistry::ReadInteger(const std::string& name) {
    return static_cast<int32_t>(ReadDword(name));
}

bool TRegistry::ReadBool(const std::string& name) { return ReadDword(name) != 0; }

std::string TRegistry::ReadString(const std::string& name) {
    const std::optional<std::string> value = OpenKeyOrRaise(name).ReadString(name);
    if (!value) throw ERegistryError("Registry value \"" + name + "\" is missing or not a string");
    return *value;
}

void TRegistry::WriteInteger(const std::string& name, int32_t value) {
    if (!OpenKeyOrRaise(name).WriteDword(name, static_cast<uint32_t>(value))) {
        throw ERegistryError("Unable to write registry value \"" + name + "\"");
    }
}

void TRegistry::WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    if (!OpenKeyOrRaise(name).WriteString(name, value)) {
        throw ERegistryError("Unable to write registry value \"" + name + "\"");
    }
}

bool TRegistry::DeleteValue(const std::string& name) {
    return key_ != nullptr && key_->DeleteValue(name);
}

IRegistryKey& TRegistry::OpenKeyOrRaise(const std::string& name) {
    if (!key_) throw ERegistryError("No registry key is open for value \"" + name + "\"");
    return *key_;
}

uint32_t TRegistry::ReadDword(const std::string& name) {
    const std::optional<uint32_t> value = OpenKeyOrRaise(name).ReadDword(name);
    if (!value) throw ERegistryError("Registry value \"" + name + "\" is missing or not a number");
    return *value;
}

}  // namespace korbela
