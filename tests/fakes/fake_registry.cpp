#include "fakes/fake_registry.h"

#include <algorithm>
#include <cctype>

namespace korbela::testing {
namespace {

std::string Lower(const std::string& text) {
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool SameName(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

// "a\b\c" gives "a", "a\b", "a\b\c".
std::vector<std::string> PathAndParents(const std::string& path) {
    std::vector<std::string> paths;
    for (std::size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1)) {
        paths.push_back(path.substr(0, at));
    }
    paths.push_back(path);
    return paths;
}

RegValue DwordValue(uint32_t value) {
    RegValue v;
    v.Type = RegType::Dword;
    v.Dword = value;
    return v;
}

RegValue TypedValue(RegType type, const std::string& data) {
    RegValue v;
    v.Type = type;
    v.Data = data;
    return v;
}

}  // namespace

// A handle on one key: it stays bound to the key it was opened on, so a key
// deleted and created again does not come back to life under an old handle.
class FakeRegistry::Key : public IRegistryKey {
public:
    Key(FakeRegistry& registry, RegRoot root, std::string path, uint64_t id, bool writable)
        : registry_(registry), root_(root), path_(std::move(path)), id_(id), writable_(writable) {}

    bool ValueExists(const std::string& name) override { return Lookup(name) != nullptr; }

    std::optional<uint32_t> ReadDword(const std::string& name) override {
        const RegValue* value = Lookup(name);
        if (!value || value->Type != RegType::Dword) return std::nullopt;
        return value->Dword;
    }

    std::optional<std::string> ReadString(const std::string& name) override {
        const RegValue* value = Lookup(name);
        if (!value || value->Type != RegType::Sz) return std::nullopt;
        return value->Data;
    }

    bool WriteDword(const std::string& name, uint32_t value) override {
        return registry_.SetValue(root_, path_, id_, writable_, name, DwordValue(value));
    }

    bool WriteString(const std::string& name, const std::string& value) override {
        return registry_.SetValue(root_, path_, id_, writable_, name, TypedValue(RegType::Sz, value));
    }

    bool DeleteValue(const std::string& name) override {
        return registry_.DeleteValueOf(root_, path_, id_, writable_, name);
    }

private:
    const RegValue* Lookup(const std::string& name) {
        KeyNode* node = registry_.Find(root_, path_, id_);
        if (!node) return nullptr;
        for (const NamedValue& entry : node->Values) {
            if (SameName(entry.Name, name)) return &entry.Value;
        }
        return nullptr;
    }

    FakeRegistry& registry_;  // not owned
    RegRoot root_;
    std::string path_;
    uint64_t id_;
    bool writable_;
};

std::unique_ptr<IRegistryKey> FakeRegistry::OpenKey(RegRoot root, const std::string& path, bool create) {
    RootState& state = StateOf(root);
    if (state.Access != RegAccess::Full) return nullptr;
    if (create && !Find(root, path)) {
        if (state.RefuseWrites) {
            Refuse();
            return nullptr;
        }
        Create(root, path);
    }
    return Open(root, path, true);
}

std::unique_ptr<IRegistryKey> FakeRegistry::OpenKeyReadOnly(RegRoot root, const std::string& path) {
    if (StateOf(root).Access == RegAccess::Denied) return nullptr;
    return Open(root, path, false);
}

bool FakeRegistry::KeyExists(RegRoot root, const std::string& path) {
    return StateOf(root).Access != RegAccess::Denied && Find(root, path) != nullptr;
}

void FakeRegistry::SetAccess(RegRoot root, RegAccess access) { StateOf(root).Access = access; }

void FakeRegistry::SetRefuseWrites(RegRoot root, bool refuse) { StateOf(root).RefuseWrites = refuse; }

void FakeRegistry::AddKey(RegRoot root, const std::string& path) {
    RootState& state = StateOf(root);
    for (const std::string& key : PathAndParents(Lower(path))) {
        if (state.Keys.find(key) == state.Keys.end()) state.Keys[key].Id = nextId_++;
    }
}

void FakeRegistry::PutDword(RegRoot root, const std::string& path, const std::string& name, uint32_t value) {
    Put(root, path, name, DwordValue(value));
}

void FakeRegistry::PutString(RegRoot root, const std::string& path, const std::string& name,
                             const std::string& value) {
    Put(root, path, name, TypedValue(RegType::Sz, value));
}

void FakeRegistry::PutBinary(RegRoot root, const std::string& path, const std::string& name,
                             const std::string& bytes) {
    Put(root, path, name, TypedValue(RegType::Binary, bytes));
}

void FakeRegistry::DeleteKey(RegRoot root, const std::string& path) {
    const std::string key = Lower(path);
    std::map<std::string, KeyNode>& keys = StateOf(root).Keys;
    for (auto it = keys.begin(); it != keys.end();) {
        const bool under = it->first == key || it->first.rfind(key + "\\", 0) == 0;
        it = under ? keys.erase(it) : std::next(it);
    }
}

void FakeRegistry::RemoveValue(RegRoot root, const std::string& path, const std::string& name) {
    auto& keys = StateOf(root).Keys;
    const auto it = keys.find(Lower(path));
    if (it == keys.end()) return;
    std::erase_if(it->second.Values, [&](const NamedValue& entry) { return SameName(entry.Name, name); });
}

bool FakeRegistry::HasKey(RegRoot root, const std::string& path) const { return Find(root, path) != nullptr; }

std::optional<RegValue> FakeRegistry::Value(RegRoot root, const std::string& path, const std::string& name) const {
    const KeyNode* node = Find(root, path);
    if (!node) return std::nullopt;
    for (const NamedValue& entry : node->Values) {
        if (SameName(entry.Name, name)) return entry.Value;
    }
    return std::nullopt;
}

std::optional<uint32_t> FakeRegistry::Dword(RegRoot root, const std::string& path, const std::string& name) const {
    const std::optional<RegValue> value = Value(root, path, name);
    if (!value || value->Type != RegType::Dword) return std::nullopt;
    return value->Dword;
}

std::optional<std::string> FakeRegistry::String(RegRoot root, const std::string& path,
                                                const std::string& name) const {
    const std::optional<RegValue> value = Value(root, path, name);
    if (!value || value->Type != RegType::Sz) return std::nullopt;
    return value->Data;
}

std::vector<std::string> FakeRegistry::ValueNames(RegRoot root, const std::string& path) const {
    std::vector<std::string> names;
    if (const KeyNode* node = Find(root, path)) {
        for (const NamedValue& entry : node->Values) names.push_back(entry.Name);
    }
    return names;
}

std::vector<RegWrite> FakeRegistry::WritesUnder(RegRoot root) const {
    std::vector<RegWrite> under;
    for (const RegWrite& write : writes_) {
        if (write.Root == root) under.push_back(write);
    }
    return under;
}

void FakeRegistry::ClearLog() {
    writes_.clear();
    refusedWriteCount_ = 0;
}

FakeRegistry::RootState& FakeRegistry::StateOf(RegRoot root) {
    return root == RegRoot::CurrentUser ? currentUser_ : localMachine_;
}

const FakeRegistry::RootState& FakeRegistry::StateOf(RegRoot root) const {
    return root == RegRoot::CurrentUser ? currentUser_ : localMachine_;
}

FakeRegistry::KeyNode* FakeRegistry::Find(RegRoot root, const std::string& path, uint64_t id) {
    auto& keys = StateOf(root).Keys;
    const auto it = keys.find(path);
    return it != keys.end() && it->second.Id == id ? &it->second : nullptr;
}

const FakeRegistry::KeyNode* FakeRegistry::Find(RegRoot root, const std::string& path) const {
    const auto& keys = StateOf(root).Keys;
    const auto it = keys.find(Lower(path));
    return it != keys.end() ? &it->second : nullptr;
}

void FakeRegistry::Create(RegRoot root, const std::string& path) {
    RootState& state = StateOf(root);
    for (const std::string& key : PathAndParents(Lower(path))) {
        if (state.Keys.find(key) != state.Keys.end()) continue;
        state.Keys[key].Id = nextId_++;
        RegWrite write;
        write.What = RegWrite::Kind::CreateKey;
        write.Root = root;
        write.Path = key;
        writes_.push_back(write);
    }
}

std::unique_ptr<IRegistryKey> FakeRegistry::Open(RegRoot root, const std::string& path, bool writable) {
    const KeyNode* node = Find(root, path);
    if (!node) return nullptr;
    return std::make_unique<Key>(*this, root, Lower(path), node->Id, writable);
}

void FakeRegistry::Put(RegRoot root, const std::string& path, const std::string& name, const RegValue& value) {
    AddKey(root, path);
    Store(StateOf(root).Keys[Lower(path)], name, value);
}

void FakeRegistry::Store(KeyNode& node, const std::string& name, const RegValue& value) {
    const auto it = std::find_if(node.Values.begin(), node.Values.end(),
                                 [&](const NamedValue& entry) { return SameName(entry.Name, name); });
    if (it != node.Values.end()) {
        it->Value = value;  // keeps its place and its first spelling
    } else {
        node.Values.push_back({name, value});
    }
}

bool FakeRegistry::SetValue(RegRoot root, const std::string& path, uint64_t id, bool writable,
                            const std::string& name, const RegValue& value) {
    KeyNode* node = Find(root, path, id);
    if (!node || !writable || StateOf(root).RefuseWrites) return Refuse();
    Store(*node, name, value);
    writes_.push_back({RegWrite::Kind::SetValue, root, path, name, value});
    return true;
}

bool FakeRegistry::DeleteValueOf(RegRoot root, const std::string& path, uint64_t id, bool writable,
                                 const std::string& name) {
    KeyNode* node = Find(root, path, id);
    if (!node || !writable || StateOf(root).RefuseWrites) return Refuse();
    const auto removed = std::erase_if(node->Values, [&](const NamedValue& entry) { return SameName(entry.Name, name); });
    if (removed == 0) return false;  // nothing to delete is not a write
    writes_.push_back({RegWrite::Kind::DeleteValue, root, path, name, RegValue{}});
    return true;
}

bool FakeRegistry::Refuse() {
    ++refusedWriteCount_;
    return false;
}

}  // namespace korbela::testing
