#include "core/system/settings_reg.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/system/errors.h"
#include "fakes/fake_registry.h"
#include "settings_defaults.h"

namespace korbela {
namespace {

using testing::FakeRegistry;
using testing::RegAccess;
using testing::RegType;
using testing::RegWrite;

constexpr RegRoot kUser = RegRoot::CurrentUser;

using testing::kDefaults;
using testing::NamedDefault;

class SettingsStore : public ::testing::Test {
protected:
    // A user who has changed every setting once.
    void StoreCustomValues() {
        const uint32_t custom[] = {1, 5, 4, 1, 0, 40, 60, 70, 2, 1};
        for (std::size_t i = 0; i < std::size(kDefaults); ++i) {
            registry_.PutDword(kUser, kSettingsKeyPath, kDefaults[i].Name, custom[i]);
        }
    }

    std::vector<RegWrite> ValueWrites() const {
        std::vector<RegWrite> writes;
        for (const RegWrite& write : registry_.Writes()) {
            if (write.What == RegWrite::Kind::SetValue) writes.push_back(write);
        }
        return writes;
    }

    FakeRegistry registry_;
    Settings_Reg settings_{registry_};
};

TEST_F(SettingsStore, FirstStartWritesTheTenDefaultsInTableOrder) {
    ASSERT_FALSE(settings_.SettingsKeyExists());

    settings_.CheckSettings();

    EXPECT_TRUE(settings_.SettingsKeyExists());
    const std::vector<RegWrite> writes = ValueWrites();
    ASSERT_EQ(writes.size(), std::size(kDefaults));
    for (std::size_t i = 0; i < writes.size(); ++i) {
        SCOPED_TRACE(kDefaults[i].Name);
        EXPECT_EQ(writes[i].Name, kDefaults[i].Name);
        EXPECT_EQ(writes[i].Value.Type, RegType::Dword);
        EXPECT_EQ(writes[i].Value.Dword, kDefaults[i].Value);
        EXPECT_EQ(writes[i].Path, "software\\quillmarsh\\korbela lite");
    }
    EXPECT_TRUE(registry_.WritesUnder(RegRoot::LocalMachine).empty());
}

TEST_F(SettingsStore, FirstStartLoadsTheDefaultsIntoTheRecord) {
    settings_.CheckSettings();
    SettingsRecord record{true, 9, 9, true, false, 9, 9, 9, 9};

    ASSERT_TRUE(settings_.LoadSettings(record));

    EXPECT_FALSE(record.CfgAutoStart);
    EXPECT_EQ(record.CfgUpdatePeriod, 1);
    EXPECT_EQ(record.CfgAttempts, 2);
    EXPECT_FALSE(record.CfgAutoFreeing);
    EXPECT_TRUE(record.CfgAutoFreeSilent);
    EXPECT_EQ(record.CfgAutoLevel, 20);
    EXPECT_EQ(record.CfgCPUThreshold, 35);
    EXPECT_EQ(record.CfgTargetRAM, 50);
    EXPECT_EQ(record.CfgMonitorView, 1);
}

TEST_F(SettingsStore, ACompleteKeyIsLeftAlone) {
    StoreCustomValues();

    settings_.CheckSettings();

    EXPECT_TRUE(registry_.Writes().empty());
}

TEST_F(SettingsStore, OneDeletedValueIsRepairedAlone) {
    for (const NamedDefault& missing : kDefaults) {
        SCOPED_TRACE(missing.Name);
        StoreCustomValues();
        registry_.RemoveValue(kUser, kSettingsKeyPath, missing.Name);
        registry_.ClearLog();

        settings_.CheckSettings();

        const std::vector<RegWrite> writes = ValueWrites();
        ASSERT_EQ(registry_.Writes().size(), 1u);
        ASSERT_EQ(writes.size(), 1u);
        EXPECT_EQ(writes[0].Name, missing.Name);
        EXPECT_EQ(writes[0].Value.Dword, missing.Value);
        EXPECT_EQ(registry_.ValueNames(kUser, kSettingsKeyPath).size(), std::size(kDefaults));
    }
}

TEST_F(SettingsStore, KeyPathsAndValueNamesIgnoreLetterCase) {
    for (const NamedDefault& value : kDefaults) {
        std::string shouted = value.Name;
        for (char& c : shouted) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        registry_.PutDword(kUser, "SOFTWARE\\QUILLMARSH\\KORBELA LITE", shouted, value.Value);
    }

    settings_.CheckSettings();
    SettingsRecord record;

    EXPECT_TRUE(registry_.Writes().empty());
    EXPECT_TRUE(settings_.LoadSettings(record));
}

TEST_F(SettingsStore, AValueOfTheWrongTypeFailsTheLoadUntilTheStartRepairsIt) {
    settings_.CheckSettings();
    registry_.PutString(kUser, kSettingsKeyPath, "Attempts", "2");
    registry_.PutBinary(kUser, kSettingsKeyPath, "Monitor View", std::string("\x01\x00\x00\x00", 4));
    registry_.PutDword(kUser, kSettingsKeyPath, "Auto Start", 1);
    registry_.PutDword(kUser, kSettingsKeyPath, "Update Period", 7);
    SettingsRecord record;
    record.CfgAttempts = 9;
    record.CfgTargetRAM = 9;

    EXPECT_FALSE(settings_.LoadSettings(record));
    // The values before "Attempts" were read; the rest kept their contents.
    EXPECT_TRUE(record.CfgAutoStart);
    EXPECT_EQ(record.CfgUpdatePeriod, 7);
    EXPECT_EQ(record.CfgAttempts, 9);
    EXPECT_EQ(record.CfgTargetRAM, 9);

    registry_.ClearLog();
    settings_.CheckSettings();

    // Only the two unreadable values get their defaults; the readable ones stay.
    std::vector<std::string> written;
    for (const RegWrite& write : registry_.Writes()) written.push_back(write.Name);
    EXPECT_EQ(written, (std::vector<std::string>{"Attempts", "Monitor View"}));
    EXPECT_EQ(registry_.Value(kUser, kSettingsKeyPath, "Attempts")->Type, RegType::Dword);
    ASSERT_TRUE(settings_.LoadSettings(record));
    EXPECT_TRUE(record.CfgAutoStart);
    EXPECT_EQ(record.CfgUpdatePeriod, 7);
    EXPECT_EQ(record.CfgAttempts, 2);
    EXPECT_EQ(record.CfgMonitorView, 1);
}

// The tray icon's look is read on its own: a value of another type never fails
// the window's load, reads as nothing, and the next start gives it its default.
TEST_F(SettingsStore, ABadTrayIconUsageCostsTheWindowNothing) {
    settings_.CheckSettings();
    EXPECT_EQ(settings_.LoadTrayIconUsage(), false);
    registry_.PutString(kUser, kSettingsKeyPath, "Tray Icon Usage", "1");
    SettingsRecord record;
    EXPECT_TRUE(settings_.LoadSettings(record));
    EXPECT_EQ(settings_.LoadTrayIconUsage(), std::nullopt);
    settings_.CheckSettings();
    EXPECT_EQ(settings_.LoadTrayIconUsage(), false);
    registry_.DeleteKey(kUser, kSettingsKeyPath);
    EXPECT_EQ(settings_.LoadTrayIconUsage(), std::nullopt);
}

TEST_F(SettingsStore, LoadFailsWithoutTheKeyAndLeavesTheRecord) {
    SettingsRecord record;
    record.CfgAutoStart = true;
    record.CfgAttempts = 9;

    EXPECT_FALSE(settings_.LoadSettings(record));
    EXPECT_TRUE(record.CfgAutoStart);
    EXPECT_EQ(record.CfgAttempts, 9);
}

TEST_F(SettingsStore, AnyNonzeroBooleanReadsAsTrueAndIntegersAreSigned) {
    settings_.CheckSettings();
    registry_.PutDword(kUser, kSettingsKeyPath, "Automatic RAM Freeing", 7);
    registry_.PutDword(kUser, kSettingsKeyPath, "Monitor View", 0xFFFFFFFFu);
    SettingsRecord record;

    ASSERT_TRUE(settings_.LoadSettings(record));
    EXPECT_TRUE(record.CfgAutoFreeing);
    EXPECT_EQ(record.CfgMonitorView, -1);
}

struct SaveCase {
    const char* Name;
    std::function<bool(Settings_Reg&)> Save;
    uint32_t Stored;
};

const std::vector<SaveCase>& SaveCases() {
    static const std::vector<SaveCase> cases = {
        {"Auto Start", [](Settings_Reg& s) { return s.SaveAutoStart(true); }, 1},
        {"Update Period", [](Settings_Reg& s) { return s.SaveUpdatePeriod(30); }, 30},
        {"Attempts", [](Settings_Reg& s) { return s.SaveAttempts(10); }, 10},
        {"Automatic RAM Freeing", [](Settings_Reg& s) { return s.SaveAutoFreeing(true); }, 1},
        {"Automatic RAM Free Silent", [](Settings_Reg& s) { return s.SaveAutoFreeSilent(false); }, 0},
        {"Automatic Level", [](Settings_Reg& s) { return s.SaveAutoLevel(90); }, 90},
        {"CPU Threshold", [](Settings_Reg& s) { return s.SaveCPUThreshold(70); }, 70},
        {"Target RAM", [](Settings_Reg& s) { return s.SaveTargetRAM(-5); }, 0xFFFFFFFBu},  // any 32-bit value
        {"Monitor View", [](Settings_Reg& s) { return s.SaveMonitorView(6); }, 6},
        {"Tray Icon Usage", [](Settings_Reg& s) { return s.SaveTrayIconUsage(true); }, 1},
    };
    return cases;
}

TEST_F(SettingsStore, EachSaveWritesItsOwnValueOnly) {
    settings_.CheckSettings();
    for (const SaveCase& save : SaveCases()) {
        SCOPED_TRACE(save.Name);
        registry_.ClearLog();

        EXPECT_TRUE(save.Save(settings_));

        ASSERT_EQ(registry_.Writes().size(), 1u);
        EXPECT_EQ(registry_.Writes()[0].Name, save.Name);
        EXPECT_EQ(registry_.Dword(kUser, kSettingsKeyPath, save.Name), save.Stored);
    }
}

TEST_F(SettingsStore, KeyDeletedWhileRunningMakesEverySaveFail) {
    settings_.CheckSettings();
    registry_.DeleteKey(kUser, kSettingsKeyPath);
    registry_.ClearLog();

    for (const SaveCase& save : SaveCases()) {
        SCOPED_TRACE(save.Name);
        EXPECT_FALSE(save.Save(settings_));
    }
    EXPECT_TRUE(registry_.Writes().empty());
    EXPECT_FALSE(registry_.HasKey(kUser, kSettingsKeyPath));

    // The next start creates it again.
    settings_.CheckSettings();
    EXPECT_EQ(registry_.ValueNames(kUser, kSettingsKeyPath).size(), std::size(kDefaults));
}

TEST_F(SettingsStore, SavesFailWhenTheRegistryRefusesTheWrite) {
    settings_.CheckSettings();
    registry_.SetRefuseWrites(kUser, true);

    for (const SaveCase& save : SaveCases()) {
        SCOPED_TRACE(save.Name);
        EXPECT_FALSE(save.Save(settings_));
    }
    EXPECT_EQ(registry_.Dword(kUser, kSettingsKeyPath, "Attempts"), 2u);
}

TEST_F(SettingsStore, DefaultsThatCannotBeWrittenRaiseFromCheckButNotFromRepair) {
    const RegAccess blocked[] = {RegAccess::ReadOnly, RegAccess::Denied};
    for (RegAccess access : blocked) {
        FakeRegistry registry;
        Settings_Reg settings(registry);
        registry.SetAccess(kUser, access);

        EXPECT_THROW(settings.CreateDefaultSettings(), KorbelaError);
        EXPECT_THROW(settings.CheckSettings(), KorbelaError);
        EXPECT_NO_THROW(settings.RepairSettings());
        EXPECT_TRUE(registry.Writes().empty());
    }
}

TEST_F(SettingsStore, WithTheKeyInPlaceARefusedRepairIsQuiet) {
    registry_.AddKey(kUser, kSettingsKeyPath);
    registry_.SetRefuseWrites(kUser, true);

    EXPECT_THROW(settings_.CreateDefaultSettings(), KorbelaError);
    EXPECT_NO_THROW(settings_.CheckSettings());
    EXPECT_TRUE(registry_.Writes().empty());
}

TEST_F(SettingsStore, KeyExistenceNeedsOnlyReadAccess) {
    settings_.CheckSettings();
    registry_.SetAccess(kUser, RegAccess::ReadOnly);

    EXPECT_TRUE(settings_.SettingsKeyExists());
}

struct ViewCase {
    int32_t Code;
    MonitorViewBoxes Boxes;  // used RAM, free RAM, CPU
};

TEST(MonitorView, CodeTableWorksBothWays) {
    const ViewCase cases[] = {
        {0, {false, false, false}}, {1, {true, true, true}},   {2, {false, true, true}},
        {3, {true, false, true}},   {4, {true, true, false}},  {5, {false, false, true}},
        {6, {false, true, false}},  {7, {true, false, false}},
    };
    for (const ViewCase& c : cases) {
        SCOPED_TRACE(c.Code);
        EXPECT_EQ(EncodeMonitorView(c.Boxes), c.Code);
        MonitorViewBoxes boxes{!c.Boxes.UsedRAM, !c.Boxes.FreeRAM, !c.Boxes.CPU};
        ASSERT_TRUE(DecodeMonitorView(c.Code, boxes));
        EXPECT_EQ(boxes.UsedRAM, c.Boxes.UsedRAM);
        EXPECT_EQ(boxes.FreeRAM, c.Boxes.FreeRAM);
        EXPECT_EQ(boxes.CPU, c.Boxes.CPU);
    }
}

TEST(MonitorView, CodesOutsideTheTableLeaveTheBoxesAlone) {
    for (int32_t code : {8, -1, INT32_MAX, INT32_MIN}) {
        SCOPED_TRACE(code);
        MonitorViewBoxes boxes{false, true, true};
        EXPECT_FALSE(DecodeMonitorView(code, boxes));
        EXPECT_FALSE(boxes.UsedRAM);
        EXPECT_TRUE(boxes.FreeRAM);
        EXPECT_TRUE(boxes.CPU);
    }
}

}  // namespace
}  // namespace korbela
