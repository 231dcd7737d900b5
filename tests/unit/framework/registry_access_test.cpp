#include "framework/registry_access.h"

#include <gtest/gtest.h>

#include "fakes/fake_registry.h"
#include "framework/exceptions.h"

namespace vsi {
namespace {

TEST(RegistryAccessTest, ReadsTextsAndIntegersWithTheirMessages) {
  fake::FakeRegistry fr;
  TRegistry reg(fr);
  ASSERT_TRUE(reg.OpenKey("Software\\Velmora\\Zeruzorazo1\\Settings", true));
  reg.WriteString("Language1", "Swedish");
  reg.WriteInteger("Count", 42);
  EXPECT_EQ(reg.ReadString("Language1"), "Swedish");
  EXPECT_EQ(reg.ReadInteger("Count"), 42);
  EXPECT_EQ(reg.ReadString("Missing"), "") << "a missing text is empty";
  try {
    reg.ReadString("Count");
    FAIL() << "no error";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'Count'");
  }
  try {
    reg.ReadInteger("Missing");
    FAIL() << "no error";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Failed to get data for 'Missing'");
  }
  try {
    reg.ReadInteger("Language1");
    FAIL() << "no error";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'Language1'");
  }
}

TEST(RegistryAccessTest, PathsFromTheRootOrTheOpenKeyAndHandlesAreClosed) {
  fake::FakeRegistry fr;
  {
    TRegistry reg(fr);
    ASSERT_TRUE(reg.OpenKey("\\Software\\A", true));
    ASSERT_TRUE(reg.OpenKey("B", true)) << "relative to Software\\A";
    EXPECT_EQ(reg.CurrentPath(), "Software\\A\\B");
    ASSERT_TRUE(reg.OpenKey("\\Software", false));
    EXPECT_TRUE(reg.KeyExists("A\\B"));
    EXPECT_FALSE(reg.OpenKey("\\Software\\Nowhere", false));
    EXPECT_EQ(reg.CurrentPath(), "Software") << "a failed open keeps the key that was open";
  }
  EXPECT_EQ(fr.OpenHandleCount(), 0);
}

TEST(RegistryAccessTest, ReadOnlyOpenAsksForReadAccessOnlyAndWritesFail) {
  fake::FakeRegistry fr;
  {
    TRegistry w(fr, HKEY_LOCAL_MACHINE_);
    ASSERT_TRUE(w.OpenKey("\\Hardware\\Description", true));
    w.WriteString("Name", "x");
  }
  fr.DenyAccess(HKEY_LOCAL_MACHINE_, "Hardware", 0x0002 /* KEY_SET_VALUE */);
  TRegistry reg(fr, HKEY_LOCAL_MACHINE_);
  EXPECT_FALSE(reg.OpenKey("\\Hardware\\Description", false)) << "full access is refused to a plain user";
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\Hardware\\Description"));
  EXPECT_EQ(fr.HandleAccess(reg.CurrentKey()), KEY_READ_);
  EXPECT_EQ(reg.ReadString("Name"), "x");
  fr.FailValueWrite(HKEY_LOCAL_MACHINE_, "Hardware");
  try {
    reg.WriteString("Name", "y");
    FAIL() << "no error";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'Name'");
  }
}

}  // namespace
}  // namespace vsi
