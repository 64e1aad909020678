#include "core/system/registry.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_registry.h"

namespace korbela {
namespace {

using testing::FakeRegistry;
using testing::RegAccess;

constexpr const char* kKey = "software\\Test";

class RegistryWrapper : public ::testing::Test {
protected:
    RegistryWrapper() {
        registry_.PutDword(RegRoot::CurrentUser, kKey, "Number", 0xFFFFFFFEu);
        registry_.PutString(RegRoot::CurrentUser, kKey, "Text", "hello");
        registry_.PutBinary(RegRoot::CurrentUser, kKey, "Blob", "\x01\x02");
        registry_.ClearLog();
    }

    FakeRegistry registry_;
    TRegistry wrapper_{registry_};
};

TEST_F(RegistryWrapper, StartsOnTheCurrentUserWithNoKeyOpen) {
    EXPECT_EQ(wrapper_.RootKey(), RegRoot::CurrentUser);
    EXPECT_FALSE(wrapper_.HasOpenKey());
    EXPECT_FALSE(wrapper_.ValueExists("Number"));
    EXPECT_THROW(wrapper_.ReadInteger("Number"), ERegistryError);
    EXPECT_THROW(wrapper_.WriteInteger("Number", 1), ERegistryError);
    EXPECT_FALSE(wrapper_.DeleteValue("Number"));
}

TEST_F(RegistryWrapper, ReadsTypedValues) {
    ASSERT_TRUE(wrapper_.OpenKey(kKey, false));
    EXPECT_EQ(wrapper_.ReadInteger("Number"), -2);
    EXPECT_TRUE(wrapper_.ReadBool("Number"));
    EXPECT_EQ(wrapper_.ReadString("Text"), "hello");
}

TEST_F(RegistryWrapper, MissingValuesAndOtherTypesRaise) {
    ASSERT_TRUE(wrapper_.OpenKey(kKey, false));
    EXPECT_THROW(wrapper_.ReadInteger("Missing"), ERegistryError);
    EXPECT_THROW(wrapper_.ReadInteger("Text"), ERegistryError);
    EXPECT_THROW(wrapper_.ReadBool("Blob"), ERegistryError);
    EXPECT_THROW(wrapper_.ReadString("Number"), ERegistryError);
    EXPECT_THROW(wrapper_.ReadString("Blob"), ERegistryError);
}

TEST_F(RegistryWrapper, BooleansAreStoredAsZeroOrOne) {
    ASSERT_TRUE(wrapper_.OpenKey(kKey, false));
    wrapper_.WriteBool("Flag", true);
    EXPECT_EQ(registry_.Dword(RegRoot::CurrentUser, kKey, "Flag"), 1u);
    wrapper_.WriteBool("Flag", false);
    EXPECT_EQ(registry_.Dword(RegRoot::CurrentUser, kKey, "Flag"), 0u);
}

TEST_F(RegistryWrapper, OpeningWithoutCreateLeavesAMissingKeyMissing) {
    EXPECT_FALSE(wrapper_.OpenKey("software\\Missing", false));
    EXPECT_FALSE(registry_.HasKey(RegRoot::CurrentUser, "software\\Missing"));
    EXPECT_TRUE(wrapper_.OpenKey("software\\Missing", true));
    EXPECT_TRUE(registry_.HasKey(RegRoot::CurrentUser, "software\\Missing"));
}

TEST_F(RegistryWrapper, ChangingTheRootClosesTheKey) {
    ASSERT_TRUE(wrapper_.OpenKey(kKey, false));
    wrapper_.SetRootKey(RegRoot::LocalMachine);
    EXPECT_FALSE(wrapper_.HasOpenKey());
    EXPECT_FALSE(wrapper_.OpenKey(kKey, false));
    EXPECT_FALSE(wrapper_.KeyExists(kKey));
}

TEST_F(RegistryWrapper, RefusedWritesRaiseAndRefusedDeletionsDoNot) {
    ASSERT_TRUE(wrapper_.OpenKey(kKey, false));
    registry_.SetRefuseWrites(RegRoot::CurrentUser, true);
    EXPECT_THROW(wrapper_.WriteInteger("Number", 1), ERegistryError);
    EXPECT_THROW(wrapper_.WriteString("Text", "x"), ERegistryError);
    EXPECT_FALSE(wrapper_.DeleteValue("Number"));
    EXPECT_TRUE(registry_.Writes().empty());
}

TEST_F(RegistryWrapper, AReadOnlyKeyCanBeReadButNotWritten) {
    registry_.SetAccess(RegRoot::CurrentUser, RegAccess::ReadOnly);
    EXPECT_FALSE(wrapper_.OpenKey(kKey, false));
    EXPECT_TRUE(wrapper_.KeyExists(kKey));
    ASSERT_TRUE(wrapper_.OpenKeyReadOnly(kKey));
    EXPECT_EQ(wrapper_.ReadString("Text"), "hello");
    EXPECT_THROW(wrapper_.WriteString("Text", "x"), ERegistryError);
    EXPECT_FALSE(wrapper_.DeleteValue("Text"));
}

TEST_F(RegistryWrapper, AKeyDeletedWhileOpenFailsEveryOperation) {
    ASSERT_TRUE(wrapper_.OpenKey(kKey, false));
    registry_.DeleteKey(RegRoot::CurrentUser, kKey);
    registry_.AddKey(RegRoot::CurrentUser, kKey);  // a new key of the same name is another key

    EXPECT_FALSE(wrapper_.ValueExists("Number"));
    EXPECT_THROW(wrapper_.WriteInteger("Number", 1), ERegistryError);
    EXPECT_FALSE(wrapper_.DeleteValue("Text"));
    EXPECT_TRUE(registry_.ValueNames(RegRoot::CurrentUser, kKey).empty());
}

TEST_F(RegistryWrapper, DeleteValueReportsWhetherAValueWentAway) {
    ASSERT_TRUE(wrapper_.OpenKey(kKey, false));
    EXPECT_TRUE(wrapper_.DeleteValue("TEXT"));
    EXPECT_FALSE(wrapper_.DeleteValue("Text"));
    EXPECT_FALSE(wrapper_.ValueExists("Text"));
}

}  // namespace
}  // namespace korbela
