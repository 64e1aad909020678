// An in-memory registry for the settings and start-up tests. Keys and values
// carry their types; key paths and value names compare without regard to case,
// as in the real registry. Each root can be made read-only (a standard user on
// HKEY_LOCAL_MACHINE), unreachable, or made to refuse value changes, and every
// change that went through IRegistry is logged so a test can tell that nothing
// was written.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/system/registry.h"

namespace korbela::testing {

enum class RegType { Dword, Sz, Binary };

struct RegValue {
    RegType Type = RegType::Dword;
    uint32_t Dword = 0;
    std::string Data;  // REG_SZ text, or the bytes of any other type
};

// One change made through IRegistry.
struct RegWrite {
    enum class Kind { CreateKey, SetValue, DeleteValue };
    Kind What = Kind::SetValue;
    RegRoot Root = RegRoot::CurrentUser;
    std::string Path;  // lower case
    std::string Name;
    RegValue Value;    // SetValue only
};

enum class RegAccess {
    Full,
    ReadOnly,  // full-access opens and creation refused, reading works
    Denied,    // nothing opens, no key is seen
};

class FakeRegistry : public IRegistry {
public:
    FakeRegistry() = default;
    FakeRegistry(const FakeRegistry&) = delete;
    FakeRegistry& operator=(const FakeRegistry&) = delete;

    std::unique_ptr<IRegistryKey> OpenKey(RegRoot root, const std::string& path, bool create) override;
    std::unique_ptr<IRegistryKey> OpenKeyReadOnly(RegRoot root, const std::string& path) override;
    bool KeyExists(RegRoot root, const std::string& path) override;

    // Conditions of a root.
    void SetAccess(RegRoot root, RegAccess access);
    // Keys still open, but every value change and key creation is refused.
    void SetRefuseWrites(RegRoot root, bool refuse);

    // Set-up by the test; not logged.
    void AddKey(RegRoot root, const std::string& path);
    void PutDword(RegRoot root, const std::string& path, const std::string& name, uint32_t value);
    void PutString(RegRoot root, const std::string& path, const std::string& name, const std::string& value);
    void PutBinary(RegRoot root, const std::string& path, const std::string& name, const std::string& bytes);
    // Removes the key and its subkeys; handles open on them fail from now on.
    void DeleteKey(RegRoot root, const std::string& path);
    void RemoveValue(RegRoot root, const std::string& path, const std::string& name);

    // Inspection by the test.
    bool HasKey(RegRoot root, const std::string& path) const;
    std::optional<RegValue> Value(RegRoot root, const std::string& path, const std::string& name) const;
    std::optional<uint32_t> Dword(RegRoot root, const std::string& path, const std::string& name) const;
    std::optional<std::string> String(RegRoot root, const std::string& path, const std::string& name) const;
    // In the order the values were first written, spelled as first written.
    std::vector<std::string> ValueNames(RegRoot root, const std::string& path) const;

    const std::vector<RegWrite>& Writes() const { return writes_; }
    std::vector<RegWrite> WritesUnder(RegRoot root) const;
    int RefusedWriteCount() const { return refusedWriteCount_; }
    void ClearLog();

private:
    class Key;

    struct NamedValue {
        std::string Name;
        RegValue Value;
    };
    struct KeyNode {
        uint64_t Id = 0;
        std::vector<NamedValue> Values;
    };
    struct RootState {
        RegAccess Access = RegAccess::Full;
        bool RefuseWrites = false;
        std::map<std::string, KeyNode> Keys;  // by lower-case path
    };

    RootState& StateOf(RegRoot root);
    const RootState& StateOf(RegRoot root) const;
    KeyNode* Find(RegRoot root, const std::string& path, uint64_t id);
    const KeyNode* Find(RegRoot root, const std::string& path) const;
    // Creates the key and its missing parents, logging each new one.
    void Create(RegRoot root, const std::string& path);
    void Put(RegRoot root, const std::string& path, const std::string& name, const RegValue& value);
    static void Store(KeyNode& node, const std::string& name, const RegValue& value);
    std::unique_ptr<IRegistryKey> Open(RegRoot root, const std::string& path, bool writable);

    bool SetValue(RegRoot root, const std::string& path, uint64_t id, bool writable,
                  const std::string& name, const RegValue& value);
    bool DeleteValueOf(RegRoot root, const std::string& path, uint64_t id, bool writable,
                       const std::string& name);
    bool Refuse();

    RootState currentUser_;
    RootState localMachine_;
    uint64_t nextId_ = 1;
    std::vector<RegWrite> writes_;
    int refusedWriteCount_ = 0;
};

}  // namespace korbela::testing
