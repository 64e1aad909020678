// The settings store: one table of the per-user values drives the defaults,
// the repair and the load order. Every routine makes its own
// TRegistry, so no key handle outlives a call.
#include "core/system/settings_reg.h"

#include <array>
#include <cstddef>
#include <iterator>
#include <span>
#include <variant>

#include "core/system/registry.h"

namespace korbela {
namespace {

using BoolField = bool SettingsRecord::*;
using IntField = int32_t SettingsRecord::*;

// The record field a value is loaded into; its type is the stored type
// (a boolean is a REG_DWORD 0 or 1, an integer a signed REG_DWORD).
using SettingField = std::variant<BoolField, IntField>;

constexpr SettingField Boolean(BoolField field) { return field; }
constexpr SettingField Integer(IntField field) { return field; }

struct SettingRow {
    const char* Name;
    SettingField Field;
    int32_t Default;
};

constexpr SettingRow kSettings[] = {
    {"Auto Start", Boolean(&SettingsRecord::CfgAutoStart), 0},
    {"Update Period", Integer(&SettingsRecord::CfgUpdatePeriod), 1},
    {"Attempts", Integer(&SettingsRecord::CfgAttempts), 2},
    {"Automatic RAM Freeing", Boolean(&SettingsRecord::CfgAutoFreeing), 0},
    {"Automatic RAM Free Silent", Boolean(&SettingsRecord::CfgAutoFreeSilent), 1},
    {"Automatic Level", Integer(&SettingsRecord::CfgAutoLevel), 20},
    {"CPU Threshold", Integer(&SettingsRecord::CfgCPUThreshold), 35},
    {"Target RAM", Integer(&SettingsRecord::CfgTargetRAM), 50},
    {"Monitor View", Integer(&SettingsRecord::CfgMonitorView), 1},
    {"Tray Icon Usage", Boolean(&SettingsRecord::CfgTrayIconUsage), 0},
};

// The nine values LoadSettings hands to the window: all rows but the last.
constexpr std::span<const SettingRow> kWindowSettings(kSettings, std::size(kSettings) - 1);

bool IsBoolean(const SettingRow& row) { return std::holds_alternative<BoolField>(row.Field); }

// The record starts out holding the same defaults as the table.
constexpr bool RecordStartsWithDefaults() {
    constexpr SettingsRecord record{};
    for (const SettingRow& row : kSettings) {
        const int32_t start = std::holds_alternative<BoolField>(row.Field)
                                  ? (record.*std::get<BoolField>(row.Field) ? 1 : 0)
                                  : record.*std::get<IntField>(row.Field);
        if (start != row.Default) return false;
    }
    return true;
}
static_assert(RecordStartsWithDefaults(), "SettingsRecord and the settings table disagree on a default");

template <typename Field>
const SettingRow& RowOf(Field field) {
    for (const SettingRow& row : kSettings) {
        const Field* candidate = std::get_if<Field>(&row.Field);
        if (candidate && *candidate == field) return row;
    }
    throw KorbelaError("Unknown setting");  // unreachable: every record field has a row
}

void WriteSetting(TRegistry& registry, const SettingRow& row, int32_t value) {
    if (IsBoolean(row)) {
        registry.WriteBool(row.Name, value != 0);
    } else {
        registry.WriteInteger(row.Name, value);
    }
}

void ReadSetting(TRegistry& registry, const SettingRow& row, SettingsRecord& record) {
    if (const BoolField* field = std::get_if<BoolField>(&row.Field)) {
        record.**field = registry.ReadBool(row.Name);
    } else {
        record.*std::get<IntField>(row.Field) = registry.ReadInteger(row.Name);
    }
}

// A value counts as present only when it reads back as its own type: one of
// another type (a REG_SZ "Attempts", say) would fail every load.
bool Readable(TRegistry& registry, const SettingRow& row) {
    SettingsRecord scratch;
    try {
        ReadSetting(registry, row, scratch);
        return true;
    } catch (const ERegistryError&) {
        return false;
    }
}

// Write-through of one value; never creates the key.
bool StoreSetting(IRegistry& registry, const SettingRow& row, int32_t value) {
    TRegistry settings(registry);
    settings.SetRootKey(RegRoot::CurrentUser);
    settings.OpenKey(kSettingsKeyPath, false);
    try {
        WriteSetting(settings, row, value);
        return true;
    } catch (const ERegistryError&) {
        return false;
    }
}

bool StoreSetting(IRegistry& registry, BoolField field, bool value) {
    return StoreSetting(registry, RowOf(field), value ? 1 : 0);
}

bool StoreSetting(IRegistry& registry, IntField field, int32_t value) {
    return StoreSetting(registry, RowOf(field), value);
}

}  // namespace

bool Settings_Reg::SettingsKeyExists() {
    TRegistry settings(registry_);
    settings.SetRootKey(RegRoot::CurrentUser);
    return settings.KeyExists(kSettingsKeyPath);
}

void Settings_Reg::CreateDefaultSettings() {
    TRegistry settings(registry_);
    settings.SetRootKey(RegRoot::CurrentUser);
    if (!settings.OpenKey(kSettingsKeyPath, true)) {
        throw ERegistryError(std::string("Unable to create registry key \"") + kSettingsKeyPath + "\"");
    }
    // Only what cannot be read is replaced: every readable value is kept.
    for (const SettingRow& row : kSettings) {
        if (!Readable(settings, row)) WriteSetting(settings, row, row.Default);
    }
}

void Settings_Reg::RepairSettings() {
    try {
        CreateDefaultSettings();
    } catch (const ERegistryError&) {
        // The values written before the failure stay; the next start tries again.
    }
}

void Settings_Reg::CheckSettings() {
    if (!SettingsKeyExists()) CreateDefaultSettings();
    TRegistry settings(registry_);
    settings.SetRootKey(RegRoot::CurrentUser);
    settings.OpenKey(kSettingsKeyPath, false);
    // A missing value and one of the wrong type are repaired alike.
    for (const SettingRow& row : kSettings) {
        if (!Readable(settings, row)) RepairSettings();
    }
}

bool Settings_Reg::LoadSettings(SettingsRecord& record) {
    TRegistry settings(registry_);
    settings.SetRootKey(RegRoot::CurrentUser);
    settings.OpenKey(kSettingsKeyPath, false);
    try {
        for (const SettingRow& row : kWindowSettings) ReadSetting(settings, row, record);
    } catch (const ERegistryError&) {
        return false;  // the fields read so far keep their new contents
    }
    return true;
}

bool Settings_Reg::SaveAutoStart(bool value) {
    return StoreSetting(registry_, &SettingsRecord::CfgAutoStart, value);
}

bool Settings_Reg::SaveUpdatePeriod(int32_t value) {
    return StoreSetting(registry_, &SettingsRecord::CfgUpdatePeriod, value);
}

bool Settings_Reg::SaveAttempts(int32_t value) {
    return StoreSetting(registry_, &SettingsRecord::CfgAttempts, value);
}

bool Settings_Reg::SaveAutoFreeing(bool value) {
    return StoreSetting(registry_, &SettingsRecord::CfgAutoFreeing, value);
}

bool Settings_Reg::SaveAutoFreeSilent(bool value) {
    return StoreSetting(registry_, &SettingsRecord::CfgAutoFreeSilent, value);
}

bool Settings_Reg::SaveAutoLevel(int32_t value) {
    return StoreSetting(registry_, &SettingsRecord::CfgAutoLevel, value);
}

bool Settings_Reg::SaveCPUThreshold(int32_t value) {
    return StoreSetting(registry_, &SettingsRecord::CfgCPUThreshold, value);
}

bool Settings_Reg::SaveTargetRAM(int32_t value) {
    return StoreSetting(registry_, &SettingsRecord::CfgTargetRAM, value);
}

bool Settings_Reg::SaveMonitorView(int32_t value) {
    return StoreSetting(registry_, &SettingsRecord::CfgMonitorView, value);
}

std::optional<bool> Settings_Reg::LoadTrayIconUsage() {
    TRegistry settings(registry_);
    settings.SetRootKey(RegRoot::CurrentUser);
    if (!settings.OpenKey(kSettingsKeyPath, false)) return std::nullopt;
    SettingsRecord record;
    try {
        ReadSetting(settings, RowOf(&SettingsRecord::CfgTrayIconUsage), record);
    } catch (const ERegistryError&) {
        return std::nullopt;
    }
    return record.CfgTrayIconUsage;
}

bool Settings_Reg::SaveTrayIconUsage(bool value) {
    return StoreSetting(registry_, &SettingsRecord::CfgTrayIconUsage, value);
}

namespace {

// Index = code.
constexpr std::array<MonitorViewBoxes, 8> kMonitorViewCodes = {{
    {false, false, false},
    {true, true, true},
    {false, true, true},
    {true, false, true},
    {true, true, false},
    {false, false, true},
    {false, true, false},
    {true, false, false},
}};

}  // namespace

int32_t EncodeMonitorView(const MonitorViewBoxes& boxes) {
    for (std::size_t code = 0; code < kMonitorViewCodes.size(); ++code) {
        const MonitorViewBoxes& row = kMonitorViewCodes[code];
        if (row.UsedRAM == boxes.UsedRAM && row.FreeRAM == boxes.FreeRAM && row.CPU == boxes.CPU) {
            return static_cast<int32_t>(code);
        }
    }
    return 0;  // unreachable: the table holds all eight states
}

bool DecodeMonitorView(int32_t code, MonitorViewBoxes& boxes) {
    if (code < 0 || code >= static_cast<int32_t>(kMonitorViewCodes.size())) return false;
    boxes = kMonitorViewCodes[static_cast<std::size_t>(code)];
    return true;
}

}  // namespace korbela
