// The Windows version object: the version key per family, its fallbacks and its errors.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/strings.h"
#include "sysinfo/windows_version.h"

namespace vsi {
namespace {

constexpr const char* kNtKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* k95Key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

class WindowsVersionTest : public ::testing::Test {
 protected:
  void FillKey(const char* key, const std::string& product) {
    fp.registry.SetString(HKEY_LOCAL_MACHINE_, key, "RegisteredOwner", "Ada");
    fp.registry.SetString(HKEY_LOCAL_MACHINE_, key, "RegisteredOrganization", "Velmora");
    fp.registry.SetString(HKEY_LOCAL_MACHINE_, key, "ProductID", "55274-OEM-0011903-00102");
    fp.registry.SetString(HKEY_LOCAL_MACHINE_, key, "ProductName", product);
  }
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TComponent root{ctx};
};

TEST_F(WindowsVersionTest, KeyPathPerFamily) {
  EXPECT_EQ(TSysWindowsObject::VersionKeyPath(true), "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
  EXPECT_EQ(TSysWindowsObject::VersionKeyPath(false), "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion");
}

TEST_F(WindowsVersionTest, EmptyAfterConstruction) {
  TSysWindowsObject w(ctx);
  EXPECT_EQ(w.ProductName(), "");
  EXPECT_EQ(w.CSDVersion(), "");
  EXPECT_EQ(w.BuildNumber(), 0u);
  EXPECT_EQ(fp.system.versionQueries, 0);
}

TEST_F(WindowsVersionTest, NtReadsTheNtKeyAndTheVersionRecord) {
  FillKey(kNtKey, "Microsoft Windows 7");
  FillKey(k95Key, "wrong key");
  TSysWindowsObject w(ctx);
  w.Retrieve();
  EXPECT_EQ(w.ProductName(), "Microsoft Windows 7");
  EXPECT_EQ(w.RegisteredOwner(), "Ada");
  EXPECT_EQ(w.RegisteredCompany(), "Velmora");
  EXPECT_EQ(w.ProductID(), "55274-OEM-0011903-00102");
  EXPECT_EQ(w.CSDVersion(), "Service Pack 1");
  EXPECT_EQ(w.PlatformID(), 2u);
  EXPECT_EQ(w.MajorVersion(), 6u);
  EXPECT_EQ(w.MinorVersion(), 1u);
  EXPECT_EQ(w.BuildNumber(), 7601u);
  EXPECT_EQ(w.InstallDate(), "");
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
}

TEST_F(WindowsVersionTest, NinetyFiveReadsItsKeyAndKeepsTheWholeBuildField) {
  fp.system.UseWindows95();
  FillKey(kNtKey, "wrong key");
  FillKey(k95Key, "Microsoft Windows 95");
  TSysWindowsObject w(ctx);
  w.Retrieve();
  EXPECT_EQ(w.ProductName(), "Microsoft Windows 95");
  EXPECT_EQ(w.BuildNumber(), 0x040003B6u);  // the high word holds the version numbers
  EXPECT_EQ(w.PlatformID(), 1u);
  EXPECT_EQ(w.CSDVersion(), "");
}

TEST_F(WindowsVersionTest, OrdinaryUserReadsTheMachineKey) {
  FillKey(kNtKey, "Microsoft Windows 7");
  fp.registry.DenyAccess(HKEY_LOCAL_MACHINE_, "SOFTWARE", fake::KEY_SET_VALUE_ | fake::KEY_CREATE_SUB_KEY_);
  TSysWindowsObject w(ctx);
  w.Retrieve();
  EXPECT_EQ(w.ProductName(), "Microsoft Windows 7");
  EXPECT_EQ(w.CSDVersion(), "Service Pack 1");
  ASSERT_FALSE(fp.registry.OpenLog().empty());
  EXPECT_EQ(fp.registry.OpenLog().back().access, KEY_READ_);
}

TEST_F(WindowsVersionTest, MissingProductNameLeavesOthersRead) {
  FillKey(kNtKey, "x");
  fp.registry.DeleteValue(HKEY_LOCAL_MACHINE_, kNtKey, "ProductName");
  TSysWindowsObject w(ctx);
  w.Retrieve();
  EXPECT_EQ(w.ProductName(), "");
  EXPECT_EQ(w.RegisteredOwner(), "Ada");
  EXPECT_EQ(w.ProductID(), "55274-OEM-0011903-00102");
}

TEST_F(WindowsVersionTest, MissingKeyKeepsPreviousTextsAndStillReadsTheVersion) {
  FillKey(kNtKey, "Microsoft Windows 7");
  TSysWindowsObject w(ctx);
  w.Retrieve();
  fp.registry.DeleteKey(HKEY_LOCAL_MACHINE_, kNtKey);
  fp.system.version.csdVersion = "";
  fp.system.version.buildNumber = 7600;
  w.Retrieve();
  EXPECT_EQ(w.ProductName(), "Microsoft Windows 7");
  EXPECT_EQ(w.RegisteredOwner(), "Ada");
  EXPECT_EQ(w.CSDVersion(), "");
  EXPECT_EQ(w.BuildNumber(), 7600u);
}

TEST_F(WindowsVersionTest, ExpandableTextIsText) {
  FillKey(kNtKey, "x");
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, kNtKey, "ProductName", "Windows %EDITION%", REG_EXPAND_SZ_);
  TSysWindowsObject w(ctx);
  w.Retrieve();
  EXPECT_EQ(w.ProductName(), "Windows %EDITION%");
}

TEST_F(WindowsVersionTest, AValueOfTheWrongTypeIsLeftEmptyAndTheRestIsRead) {
  // Read while the window starts: one odd machine value must not stop it.
  FillKey(kNtKey, "x");
  fp.registry.SetDword(HKEY_LOCAL_MACHINE_, kNtKey, "ProductID", 7);
  TSysWindowsObject w(ctx);
  ASSERT_NO_THROW(w.Retrieve());
  EXPECT_EQ(w.ProductID(), "");
  EXPECT_EQ(w.RegisteredOwner(), "Ada");
  EXPECT_EQ(w.ProductName(), "x") << "read after the odd value";
  EXPECT_EQ(w.CSDVersion(), "Service Pack 1");
  EXPECT_EQ(w.BuildNumber(), 7601u);
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
}

TEST_F(WindowsVersionTest, ServicePackTextStopsAtItsTerminator) {
  fp.system.version.csdVersion = std::string("Service Pack 2\0junk", 19);
  TSysWindowsObject w(ctx);
  w.Retrieve();
  EXPECT_EQ(w.CSDVersion(), "Service Pack 2");
}

TEST_F(WindowsVersionTest, ComponentRetrievesWhenLoadedWithAutoRetrieve) {
  FillKey(kNtKey, "Microsoft Windows 7");
  auto* comp = new TSysWindows(&root);
  SetProp(*comp, "AutoRetrieve", PropValue(int64_t{1}));
  EXPECT_EQ(comp->Windows()->ProductName(), "");
  comp->Loaded();
  EXPECT_TRUE(comp->Retrieved());
  EXPECT_EQ(comp->Windows()->ProductName(), "Microsoft Windows 7");
  EXPECT_EQ(GetObjectProp(*comp, "Windows"), comp->Windows());
  SetProp(*comp, "Windows", PropValue(static_cast<TObject*>(nullptr)));  // ignored
  EXPECT_NE(comp->Windows(), nullptr);
}

TEST_F(WindowsVersionTest, ListingOfTheObject) {
  FillKey(kNtKey, "Microsoft Windows 7");
  TSysWindowsObject w(ctx);
  w.Retrieve();
  TStringList lines;
  w.ListProperties(lines, true);
  EXPECT_EQ(lines.Strings(2), "ProductName: AnsiString = Microsoft Windows 7");
  EXPECT_EQ(lines.Strings(5), "CSDVersion: AnsiString = Service Pack 1");
  EXPECT_EQ(lines.Strings(7), "BuildNumber: Integer = 7601");
}

// Windows 11 keeps "Windows 10 ..." in the registry; the build tells them apart.
TEST_F(WindowsVersionTest, ProductNameFollowsTheBuildOfWindows11) {
  struct Case {
    const char* name;
    uint32_t major, build;
    const char* registry;
    const char* shown;
  } cases[] = {
      {"Windows 10 22H2", 10, 19045, "Windows 10 Pro", "Windows 10 Pro"},
      {"last build before 11", 10, 21999, "Windows 10 Home", "Windows 10 Home"},
      {"Windows 11 21H2", 10, 22000, "Windows 10 Pro", "Windows 11 Pro"},
      {"Windows 11 23H2", 10, 22631, "Windows 10 Enterprise", "Windows 11 Enterprise"},
      {"Windows 11 24H2", 10, 26100, "Windows 10 Home", "Windows 11 Home"},
      {"a bare name", 10, 22621, "Windows 10", "Windows 11"},
      {"already right", 10, 22621, "Windows 11 Pro", "Windows 11 Pro"},
      {"a server", 10, 26100, "Windows Server 2025 Datacenter", "Windows Server 2025 Datacenter"},
      {"no such word", 10, 22621, "Windows 100 Pro", "Windows 100 Pro"},
      {"Windows 7", 6, 7601, "Windows 7 Ultimate", "Windows 7 Ultimate"},
  };
  for (const Case& c : cases) {
    fp.system.version.majorVersion = c.major;
    fp.system.version.minorVersion = 0;
    fp.system.version.buildNumber = c.build;
    fp.system.version.csdVersion = "";
    FillKey(kNtKey, c.registry);
    TSysWindowsObject w(ctx);
    w.Retrieve();
    EXPECT_EQ(w.ProductName(), c.shown) << c.name;
    EXPECT_EQ(w.BuildNumber(), c.build) << c.name;
  }
}

}  // namespace
}  // namespace vsi
