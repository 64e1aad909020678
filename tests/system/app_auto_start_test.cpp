#include "core/system/app_auto_start.h"

#include <gtest/gtest.h>

#include <string>

#include "core/system/settings_reg.h"
#include "core/system/errors.h"
#include "fakes/fake_registry.h"

namespace korbela {
namespace {

using testing::FakeRegistry;
using testing::RegAccess;
using testing::RegWrite;

constexpr RegRoot kUser = RegRoot::CurrentUser;
constexpr RegRoot kMachine = RegRoot::LocalMachine;
const std::string kExe = "C:\\Program Files\\Korbela Lite\\korbela.exe";
const std::string kQuotedExe = "\"" + kExe + "\"";
const std::string kMovedExe = "D:\\Tools\\Korbela\\korbela.exe";

TEST(RunValue, PathIsWrappedInOnePairOfQuotes) {
    struct Case {
        std::string Path, Stored;
    };
    const Case cases[] = {
        {"C:\\Korbela\\korbela.exe", "\"C:\\Korbela\\korbela.exe\""},
        {"\"C:\\Korbela\\korbela.exe\"", "\"C:\\Korbela\\korbela.exe\""},   // already quoted
        {"\"C:\\Korbela\\korbela.exe", "\"C:\\Korbela\\korbela.exe\""},     // closing quote only
        {"C:\\Korbela\\korbela.exe\"", "\"C:\\Korbela\\korbela.exe\""},     // opening quote only
        {"C:\\Program Files\\K L\\k.exe", "\"C:\\Program Files\\K L\\k.exe\""},
        {"", "\"\""},
        {"\"", "\"\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Path);
        EXPECT_EQ(QuoteExePath(c.Path), c.Stored);
    }
}

class AutoStart : public ::testing::Test {
protected:
    AutoStart() {
        // A Run key as Windows has it, with another program's value in it.
        registry_.PutString(kMachine, kRunKeyPath, "OtherTool", "C:\\other.exe");
        registry_.PutString(kUser, kRunKeyPath, "UserTool", "C:\\user.exe");
        registry_.ClearLog();
    }

    // A standard (non-elevated) user: HKEY_LOCAL_MACHINE can be read but not written.
    void RunAsStandardUser() { registry_.SetAccess(kMachine, RegAccess::ReadOnly); }

    std::optional<std::string> MachineValue() const {
        return registry_.String(kMachine, kRunKeyPath, kRunValueName);
    }
    std::optional<std::string> UserValue() const { return registry_.String(kUser, kRunKeyPath, kRunValueName); }

    FakeRegistry registry_;
    App_Auto_Start autoStart_{registry_};
};

TEST_F(AutoStart, EnablingWithAWritableMachineKeyWritesTheMachineValueOnly) {
    EXPECT_TRUE(autoStart_.SetAutoStart(true, kExe));

    EXPECT_EQ(MachineValue(), kQuotedExe);
    ASSERT_EQ(registry_.Writes().size(), 1u);
    EXPECT_EQ(registry_.Writes()[0].Name, "Korbela");
    EXPECT_TRUE(registry_.WritesUnder(kUser).empty());
    EXPECT_EQ(registry_.String(kMachine, kRunKeyPath, "OtherTool"), "C:\\other.exe");
}

TEST_F(AutoStart, DisablingWithAWritableMachineKeyDeletesTheMachineValueOnly) {
    autoStart_.SetAutoStart(true, kExe);
    registry_.ClearLog();

    EXPECT_TRUE(autoStart_.SetAutoStart(false, kExe));

    EXPECT_FALSE(MachineValue());
    ASSERT_EQ(registry_.Writes().size(), 1u);
    EXPECT_EQ(registry_.Writes()[0].What, RegWrite::Kind::DeleteValue);
    EXPECT_EQ(registry_.Writes()[0].Root, kMachine);
    EXPECT_EQ(registry_.String(kMachine, kRunKeyPath, "OtherTool"), "C:\\other.exe");
    EXPECT_EQ(registry_.String(kUser, kRunKeyPath, "UserTool"), "C:\\user.exe");
}

TEST_F(AutoStart, DisablingWithoutAnyValueWritesNothing) {
    EXPECT_TRUE(autoStart_.SetAutoStart(false, kExe));
    EXPECT_TRUE(registry_.Writes().empty());
}

TEST_F(AutoStart, AStaleUserValueIsRemovedSoTheProgramStartsOnce) {
    for (bool enable : {true, false}) {
        SCOPED_TRACE(enable);
        registry_.PutString(kUser, kRunKeyPath, kRunValueName, "\"C:\\Old\\korbela.exe\"");

        EXPECT_TRUE(autoStart_.SetAutoStart(enable, kExe));

        EXPECT_FALSE(UserValue());
        EXPECT_EQ(MachineValue().has_value(), enable);
        EXPECT_EQ(registry_.String(kUser, kRunKeyPath, "UserTool"), "C:\\user.exe");
    }
}

TEST_F(AutoStart, EveryStartRewritesAMovedPath) {
    autoStart_.SetAutoStart(true, kExe);

    autoStart_.SetAutoStart(true, kMovedExe);

    EXPECT_EQ(MachineValue(), QuoteExePath(kMovedExe));
}

TEST_F(AutoStart, AStandardUserGetsTheValueInTheUserRunKey) {
    RunAsStandardUser();

    EXPECT_TRUE(autoStart_.SetAutoStart(true, kExe));

    EXPECT_EQ(UserValue(), kQuotedExe);
    EXPECT_FALSE(MachineValue());
    EXPECT_TRUE(registry_.WritesUnder(kMachine).empty());
    ASSERT_EQ(registry_.Writes().size(), 1u);
    EXPECT_EQ(registry_.String(kUser, kRunKeyPath, "UserTool"), "C:\\user.exe");
}

TEST_F(AutoStart, AStandardUserDisablingRemovesTheUserValue) {
    RunAsStandardUser();
    autoStart_.SetAutoStart(true, kExe);
    registry_.ClearLog();

    EXPECT_TRUE(autoStart_.SetAutoStart(false, kExe));

    EXPECT_FALSE(UserValue());
    ASSERT_EQ(registry_.Writes().size(), 1u);
    EXPECT_EQ(registry_.Writes()[0].What, RegWrite::Kind::DeleteValue);
    EXPECT_EQ(registry_.String(kUser, kRunKeyPath, "UserTool"), "C:\\user.exe");
}

TEST_F(AutoStart, AStandardUserStartRewritesAMovedPath) {
    RunAsStandardUser();
    autoStart_.SetAutoStart(true, kExe);

    EXPECT_TRUE(autoStart_.SetAutoStart(true, kMovedExe));

    EXPECT_EQ(UserValue(), QuoteExePath(kMovedExe));
}

TEST_F(AutoStart, AFreshProfileGetsItsUserRunKeyCreated) {
    registry_.DeleteKey(kUser, kRunKeyPath);
    RunAsStandardUser();

    EXPECT_TRUE(autoStart_.SetAutoStart(true, kExe));

    EXPECT_EQ(UserValue(), kQuotedExe);
}

TEST_F(AutoStart, TheMachineRunKeyIsNeverCreated) {
    registry_.DeleteKey(kMachine, kRunKeyPath);

    autoStart_.SetAutoStart(true, kExe);

    EXPECT_FALSE(registry_.HasKey(kMachine, kRunKeyPath));
    EXPECT_EQ(UserValue(), kQuotedExe);
}

TEST_F(AutoStart, AMachineValueAlreadyStartingThisCopyIsNotDoubled) {
    // Written by an administrator earlier; the path may differ in letter case only.
    registry_.PutString(kMachine, kRunKeyPath, kRunValueName, "\"c:\\program files\\korbela lite\\KORBELA.EXE\"");
    RunAsStandardUser();
    registry_.ClearLog();

    EXPECT_TRUE(autoStart_.SetAutoStart(true, kExe));

    EXPECT_FALSE(UserValue());
    EXPECT_TRUE(registry_.Writes().empty());
}

TEST_F(AutoStart, AMachineValueForAnotherPathDoesNotStopTheUserValue) {
    registry_.PutString(kMachine, kRunKeyPath, kRunValueName, QuoteExePath(kMovedExe));
    RunAsStandardUser();

    EXPECT_TRUE(autoStart_.SetAutoStart(true, kExe));

    EXPECT_EQ(UserValue(), kQuotedExe);
    EXPECT_EQ(MachineValue(), QuoteExePath(kMovedExe));
}

TEST_F(AutoStart, DisablingReportsAMachineValueItCouldNotRemove) {
    registry_.PutString(kMachine, kRunKeyPath, kRunValueName, kQuotedExe);
    registry_.PutString(kUser, kRunKeyPath, kRunValueName, kQuotedExe);
    RunAsStandardUser();

    EXPECT_FALSE(autoStart_.SetAutoStart(false, kExe));

    EXPECT_FALSE(UserValue());
    EXPECT_EQ(MachineValue(), kQuotedExe);
}

TEST_F(AutoStart, EnablingFailsWhenNeitherKeyTakesTheValue) {
    RunAsStandardUser();
    registry_.SetRefuseWrites(kUser, true);

    EXPECT_FALSE(autoStart_.SetAutoStart(true, kExe));

    EXPECT_FALSE(UserValue());
    EXPECT_FALSE(MachineValue());
}

class InstallRecord : public ::testing::Test {
protected:
    std::optional<std::string> Record(const char* name) const {
        return registry_.String(kMachine, kSettingsKeyPath, name);
    }

    FakeRegistry registry_;
    App_Auto_Start autoStart_{registry_};
};

TEST_F(InstallRecord, FirstStartCreatesTheSettingsThenTheRecord) {
    autoStart_.UpdateInstallInfo("C:\\Korbela\\", "1.3.0.1");

    EXPECT_EQ(Record("Install Location"), "C:\\Korbela\\");
    EXPECT_EQ(Record("Current Version"), "1.3.0.1");
    EXPECT_EQ(registry_.ValueNames(kUser, kSettingsKeyPath).size(), 10u);
    ASSERT_FALSE(registry_.Writes().empty());
    EXPECT_EQ(registry_.Writes().front().Root, kUser);
    EXPECT_EQ(registry_.Writes().back().Root, kMachine);
}

TEST_F(InstallRecord, FolderIsStoredAsGiven) {
    for (const std::string folder : {"C:\\Korbela\\", "C:\\Program Files\\Korbela Lite\\", "\\\\server\\share\\"}) {
        SCOPED_TRACE(folder);
        autoStart_.UpdateInstallInfo(folder, "1.3.0.1");
        EXPECT_EQ(Record("Install Location"), folder);
    }
}

TEST_F(InstallRecord, ANewVersionAndAMovedFolderOverwriteTheRecord) {
    autoStart_.UpdateInstallInfo("C:\\Korbela\\", "1.3.0.1");
    registry_.PutString(kMachine, kSettingsKeyPath, "Other", "kept");

    autoStart_.UpdateInstallInfo("D:\\Tools\\Korbela\\", "1.4.0.0");

    EXPECT_EQ(Record("Install Location"), "D:\\Tools\\Korbela\\");
    EXPECT_EQ(Record("Current Version"), "1.4.0.0");
    EXPECT_EQ(Record("Other"), "kept");
}

TEST_F(InstallRecord, AMissingValueIsWrittenAndThePresentOneOverwritten) {
    registry_.PutString(kMachine, kSettingsKeyPath, "Current Version", "1.2.0.0");

    autoStart_.UpdateInstallInfo("C:\\Korbela\\", "1.3.0.1");

    EXPECT_EQ(Record("Install Location"), "C:\\Korbela\\");
    EXPECT_EQ(Record("Current Version"), "1.3.0.1");
}

TEST_F(InstallRecord, AStandardUserGetsNoRecordAndNoError) {
    registry_.SetAccess(kMachine, RegAccess::ReadOnly);

    EXPECT_NO_THROW(autoStart_.UpdateInstallInfo("C:\\Korbela\\", "1.3.0.1"));

    EXPECT_FALSE(registry_.HasKey(kMachine, kSettingsKeyPath));
    EXPECT_TRUE(registry_.WritesUnder(kMachine).empty());
    EXPECT_EQ(registry_.ValueNames(kUser, kSettingsKeyPath).size(), 10u);
}

TEST_F(InstallRecord, ARefusedOverwriteIsQuiet) {
    autoStart_.UpdateInstallInfo("C:\\Korbela\\", "1.3.0.1");
    registry_.SetRefuseWrites(kMachine, true);

    EXPECT_NO_THROW(autoStart_.UpdateInstallInfo("D:\\Korbela\\", "1.4.0.0"));

    EXPECT_EQ(Record("Current Version"), "1.3.0.1");
}

TEST_F(InstallRecord, SettingsThatCannotBeCreatedRaiseBeforeTheRecordIsTouched) {
    registry_.SetAccess(kUser, RegAccess::Denied);

    EXPECT_THROW(autoStart_.UpdateInstallInfo("C:\\Korbela\\", "1.3.0.1"), KorbelaError);

    EXPECT_TRUE(registry_.Writes().empty());
}

TEST_F(InstallRecord, WriteInstallInfoKeepsExistingValues) {
    autoStart_.WriteInstallInfo("C:\\Korbela\\", "1.3.0.1");

    autoStart_.WriteInstallInfo("D:\\Korbela\\", "1.4.0.0");

    EXPECT_EQ(Record("Install Location"), "C:\\Korbela\\");
    EXPECT_EQ(Record("Current Version"), "1.3.0.1");
}

}  // namespace
}  // namespace korbela
