// The aggregate component and its smaller objects.
#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/strings.h"
#include "sysinfo/register.h"
#include "sysinfo/system_info.h"

namespace vsi {
namespace {

class SystemInfoTest : public ::testing::Test {
 protected:
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TComponent root{ctx};

  // Position of the first open of a key whose path contains `part`; -1 when never opened.
  int FirstOpen(const std::string& part) const {
    const auto& log = fp.registry.OpenLog();
    for (size_t i = 0; i < log.size(); ++i)
      if (log[i].subKey.find(part) != std::string::npos) return static_cast<int>(i);
    return -1;
  }
};

TEST_F(SystemInfoTest, ConstructionReadsNothing) {
  const int localeQueriesBefore = fp.locale.localeInfoQueries;  // the context's format settings
  auto* info = new TSysSystemInfo(&root);
  info->Loaded();  // AutoRetrieve false, as on the main window
  EXPECT_TRUE(fp.registry.OpenLog().empty());
  EXPECT_EQ(fp.system.versionQueries, 0);
  EXPECT_EQ(fp.locale.localeInfoQueries, localeQueriesBefore);
  EXPECT_FALSE(info->Retrieved());
  EXPECT_EQ(info->Object(), nullptr);
}

TEST_F(SystemInfoTest, ExposesEighteenObjectsInOrder) {
  auto* info = new TSysSystemInfo(&root);
  const std::vector<std::string> expected = {
      "SystemPowerStatus", "TimeZone",      "LocaleSettings", "Memory",     "Keyboard", "Mouse",
      "Display",           "Printers",      "Windows",        "Drive",      "Processor", "UninstallInfo",
      "FontsInfo",         "Multimedia",    "FileAssoc",      "Internet",   "Modems",   "Network"};
  std::vector<std::string> names;
  for (const PropInfo& p : TSysSystemInfo::StaticClass().props) names.push_back(p.name);
  EXPECT_EQ(names, expected);
  for (const std::string& name : expected) {
    TObject* object = GetObjectProp(*info, name);
    ASSERT_NE(object, nullptr) << name;
    ASSERT_TRUE(object->Is<TSysObject>()) << name;
    EXPECT_EQ(static_cast<TSysObject*>(object)->OwnerComponent(), info) << name;
  }
  SetProp(*info, "Windows", PropValue(static_cast<TObject*>(nullptr)));  // read-only in effect
  EXPECT_NE(info->Windows(), nullptr);
}

TEST_F(SystemInfoTest, RetrievesAllButKeyboardAndModemsInItsOrder) {
  fp.registry.SetString(HKEY_CURRENT_USER_, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                        "ProxyServer", "proxy:8080");
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName",
                        "Microsoft Windows 7");
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", "Identifier",
                        "x86");
  auto* info = new TSysSystemInfo(&root);
  info->Refresh();
  EXPECT_TRUE(info->Retrieved());
  EXPECT_EQ(info->Internet()->ProxyServer(), "proxy:8080");
  EXPECT_EQ(info->Windows()->ProductName(), "Microsoft Windows 7");
  EXPECT_EQ(info->Processor()->ProcessorsInfo()->Count(), 1);
  EXPECT_EQ(info->Memory()->MemoryLoad(), 42u);
  EXPECT_EQ(info->Mouse()->Buttons(), 3);
  EXPECT_EQ(fp.system.sleeps.size(), 2u);  // the processor's usage measurement

  const int internet = FirstOpen("Internet Settings");
  const int windows = FirstOpen("Windows NT\\CurrentVersion");
  const int processor = FirstOpen("CentralProcessor");
  const int uninstall = FirstOpen("Uninstall");
  const int multimedia = FirstOpen("Drivers32");
  ASSERT_GE(internet, 0);
  EXPECT_LT(internet, windows);
  EXPECT_LT(windows, processor);
  EXPECT_LT(processor, uninstall);
  EXPECT_LT(uninstall, multimedia);
  EXPECT_EQ(FirstOpen("4D36E96D"), -1);  // modems are left alone
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
}

TEST_F(SystemInfoTest, ObjectChangesReachTheLogDirectly) {
  auto* log = new TSysLog(&root);
  TStringList lines;
  log->SetStrings(&lines);
  auto* info = new TSysSystemInfo(&root);
  info->SetSysLog(log);
  info->Windows()->RecordChange("Test:Name", "a", "b");
  info->Windows()->CommitChange("Test:Name");
  info->Processor()->ProcessorsInfo()->RecordChange("Test:Cpu", "1", "2");
  info->Processor()->ProcessorsInfo()->CommitChange("Test:Cpu");
  ASSERT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.Strings(0).substr(0, 14), "Test:Name:a - ");
  EXPECT_EQ(lines.Strings(1).substr(0, 13), "Test:Cpu:1 - ");
}

TEST_F(SystemInfoTest, IsRegisteredByName) {
  RegisterSysinfoClasses();
  for (const char* name : {"TSysSystemInfo", "TSysInfo", "TSysWindows", "TSysProcessor", "TSysLog"}) {
    const ClassInfo* cls = FindClass(name);
    ASSERT_NE(cls, nullptr) << name;
    TComponent* made = CreateComponent(name, &root);
    EXPECT_EQ(made->ClassName(), name);
  }
}

// ---------------------------------------------------------------- smaller objects

TEST_F(SystemInfoTest, PowerStatusAndUnknownFallback) {
  TSysPowerStatusObject power(ctx);
  fp.system.powerStatus = PowerStatus{0, 1, 87, 5400, 7200};
  power.Retrieve();
  EXPECT_EQ(power.ACLineStatus(), 0);
  EXPECT_EQ(power.BatteryLifePercent(), 87);
  EXPECT_EQ(power.BatteryLifeTime(), 5400u);
  fp.system.powerStatusFails = true;
  power.Retrieve();
  EXPECT_EQ(power.ACLineStatus(), 255);
  EXPECT_EQ(power.BatteryFullLifeTime(), 0xFFFFFFFFu);
}

TEST_F(SystemInfoTest, TimeZoneNamesInTheAnsiCodePage) {
  fp.system.timeZone = TimeZoneInformation{-60, u"Mitteleurop\u00e4ische Zeit", {}, 0, u"Sommerzeit", {}, -60};
  fp.system.timeZoneId = 2;
  TSysTimeZoneObject tz(ctx);
  tz.Retrieve();
  EXPECT_EQ(tz.Bias(), -60);
  EXPECT_EQ(tz.StandardName(), "Mitteleurop\xE4ische Zeit");
  EXPECT_EQ(tz.DaylightName(), "Sommerzeit");
  EXPECT_EQ(tz.DaylightBias(), -60);
  EXPECT_TRUE(tz.DaylightActive());
  fp.system.timeZoneId = TIME_ZONE_ID_INVALID_;
  fp.system.timeZone.bias = 300;
  tz.Retrieve();  // a failed call keeps what was read
  EXPECT_EQ(tz.Bias(), -60);
}

TEST_F(SystemInfoTest, ListsFromTheRegistry) {
  const std::string uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, uninstall + "\\{A}", "DisplayName", "Velmora Tools");
  fp.registry.AddKey(HKEY_LOCAL_MACHINE_, uninstall + "\\Hotfix");  // no name: not listed
  fp.registry.SetDword(HKEY_LOCAL_MACHINE_, uninstall + "\\Odd", "DisplayName", 5);
  fp.registry.SetString(HKEY_CLASSES_ROOT_, ".txt", "", "txtfile");
  fp.registry.AddKey(HKEY_CLASSES_ROOT_, "txtfile");
  const std::string drivers = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32";
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, drivers, "wave", "wdmaud.drv");
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, drivers, "wave1", "wave1.drv");
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, drivers, "midi", "wdmaud.drv");
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, drivers, "msacm.imaadpcm", "imaadp32.acm");
  const std::string modems = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}";
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, modems + "\\0000", "DriverDesc", "Standard 56000 bps Modem");
  fp.registry.DenyAccess(HKEY_LOCAL_MACHINE_, "SOFTWARE", fake::KEY_SET_VALUE_);
  fp.registry.DenyAccess(HKEY_LOCAL_MACHINE_, "SYSTEM", fake::KEY_SET_VALUE_);

  TSysUninstallInfoObject programs(ctx);
  programs.Retrieve();
  programs.Retrieve();  // refilled, not appended
  ASSERT_EQ(programs.Programs()->Count(), 1);
  EXPECT_EQ(programs.Programs()->Strings(0), "Velmora Tools");

  TSysFileAssocObject assoc(ctx);
  assoc.Retrieve();
  ASSERT_EQ(assoc.Associations()->Count(), 1);
  EXPECT_EQ(assoc.Associations()->Strings(0), ".txt=txtfile");

  TSysMultimediaObject media(ctx);
  media.Retrieve();
  EXPECT_EQ(media.Drivers()->Count(), 3);
  EXPECT_EQ(media.WaveDevices(), 2);
  EXPECT_EQ(media.MidiDevices(), 1);
  EXPECT_EQ(media.MixerDevices(), 0);

  TSysModemsObject modemList(ctx);
  modemList.Retrieve();
  ASSERT_EQ(modemList.Modems()->Count(), 1);
  EXPECT_EQ(modemList.Modems()->Strings(0), "Standard 56000 bps Modem");
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
}

TEST_F(SystemInfoTest, FontsSortedAndPrintersAsListed) {
  fp.system.fontNames = {"Verdana", "Arial", "Tahoma"};
  fp.system.printerNames = {"Zeta", "Alpha"};
  TSysFontsInfoObject fonts(ctx);
  fonts.Retrieve();
  EXPECT_EQ(fonts.Fonts()->Text(), "Arial\r\nTahoma\r\nVerdana\r\n");
  TSysPrintersObject printers(ctx);
  printers.Retrieve();
  EXPECT_EQ(printers.Printers()->Text(), "Zeta\r\nAlpha\r\n");
}

TEST_F(SystemInfoTest, InternetSettingsToleratesOddValues) {
  const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  fp.registry.SetDword(HKEY_CURRENT_USER_, key, "ProxyEnable", 1);
  fp.registry.SetString(HKEY_CURRENT_USER_, key, "ProxyOverride", "<local>");
  fp.registry.SetDword(HKEY_CURRENT_USER_, key, "AutoConfigURL", 3);  // not text: read as empty
  TSysInternetObject net(ctx);
  net.Retrieve();
  EXPECT_TRUE(net.ProxyEnabled());
  EXPECT_EQ(net.ProxyOverride(), "<local>");
  EXPECT_EQ(net.AutoConfigURL(), "");
  EXPECT_EQ(net.ProxyServer(), "");
}

TEST(SystemInfo95Test, MultimediaAndModemsOnThe95Family) {
  fake::FakePlatform fp;
  fp.system.UseWindows95();
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, "System\\CurrentControlSet\\Services\\Class\\Modem\\0000",
                        "DriverDesc", "Sportster 28800");
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32", "wave",
                        "x.drv");
  AppContext ctx(fp.platform());
  TSysModemsObject modems(ctx);
  modems.Retrieve();
  ASSERT_EQ(modems.Modems()->Count(), 1);
  EXPECT_EQ(modems.Modems()->Strings(0), "Sportster 28800");
  TSysMultimediaObject media(ctx);
  media.Retrieve();
  EXPECT_EQ(media.Drivers()->Count(), 0);
}

}  // namespace
}  // namespace vsi
