// TSysInfo: every family of indexed properties, asked of the system on each read, on both
// families of the system.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/strings.h"
#include "sysinfo/general_info.h"
#include "sysinfo/register.h"

namespace vsi {
namespace {

constexpr const char* kNtKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* k95Key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

class GeneralInfoTest : public ::testing::Test {
 protected:
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TComponent root{ctx};
  TSysInfo& Info() {
    if (!info_) info_ = new TSysInfo(&root);
    return *info_;
  }

 private:
  TSysInfo* info_ = nullptr;
};

// A context on the 95 family (the version record decides it once per context).
struct NinetyFive {
  NinetyFive() { fp.system.UseWindows95(); }
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TComponent root{ctx};
  TSysInfo* info = new TSysInfo(&root);
};

// ---------------------------------------------------------------- texts

TEST_F(GeneralInfoTest, MemoryLoadedTable) {
  for (uint32_t load : {0u, 7u, 42u, 100u}) {
    fp.system.memory.memoryLoad = load;
    EXPECT_EQ(Info().MemoryLoaded(), std::to_string(load) + " %");
  }
}

TEST_F(GeneralInfoTest, MemoryLoadedIsAskedOnEveryRead) {
  fp.system.memory.memoryLoad = 10;
  EXPECT_EQ(Info().GetTextByIndex(tiMemoryLoaded), "10 %");
  fp.system.memory.memoryLoad = 11;
  EXPECT_EQ(GetStrProp(Info(), "MemoryLoaded"), "11 %");
}

TEST_F(GeneralInfoTest, ProcessorTypeTable) {
  struct Case {
    uint32_t type;
    const char* text;
  } cases[] = {{386, "Intel 386"},     {486, "Intel 486"},     {586, "Intel Pentium"},  {2000, "Mips R2000"},
               {3000, "Mips R3000"},   {4000, "Mips R4000"},   {21064, "Alpha 21064"}, {8664, "8664"},
               {0, "0"},               {4400, "4400"}};
  for (const Case& c : cases) {
    fp.system.systemInfo.processorType = c.type;
    EXPECT_EQ(Info().ProcessorType(), c.text) << c.type;
  }
}

TEST_F(GeneralInfoTest, NamesAndFallbacks) {
  struct Case {
    const char* what;
    std::string user;
    bool userFails;
    std::string computer;
    bool computerFails;
    const char* expectedUser;
    const char* expectedComputer;
  } cases[] = {
      {"plain", "tester", false, "VELMORA-PC", false, "tester", "VELMORA-PC"},
      {"calls fail", "x", true, "y", true, "(Unknown)", "(Unknown)"},
      {"at the room", std::string(63, 'u'), false, std::string(15, 'C'), false, nullptr, nullptr},
      {"beyond the room", std::string(64, 'u'), false, std::string(16, 'C'), false, "(Unknown)", "(Unknown)"},
  };
  for (const Case& c : cases) {
    fp.system.userName = c.user;
    fp.system.userNameFails = c.userFails;
    fp.system.computerName = c.computer;
    fp.system.computerNameFails = c.computerFails;
    EXPECT_EQ(Info().GetTextByIndex(tiCurrentUser), c.expectedUser ? c.expectedUser : c.user) << c.what;
    EXPECT_EQ(Info().GetTextByIndex(tiComputername), c.expectedComputer ? c.expectedComputer : c.computer)
        << c.what;
  }
}

TEST_F(GeneralInfoTest, VersionTextsAndFolders) {
  fp.system.version.buildNumber = 0x12347601;
  EXPECT_EQ(Info().GetTextByIndex(tiVersionWIN), "6.1");
  EXPECT_EQ(Info().GetTextByIndex(tiPlatform), "Windows NT");
  EXPECT_EQ(Info().GetIntegerByIndex(iiBuildNumber), 0x7601);  // low 16 bits only
  EXPECT_EQ(Info().GetTextByIndex(tiWinPath), "C:\\WINDOWS");
  EXPECT_EQ(Info().GetTextByIndex(tiWinSysPath), "C:\\WINDOWS\\system32");
  EXPECT_EQ(Info().GetTextByIndex(tiTempPath), "C:\\WINDOWS\\TEMP\\");
  fp.system.windowsDirectory = "";  // a failing call answers no text
  EXPECT_EQ(Info().GetTextByIndex(tiWinPath), "");
}

TEST_F(GeneralInfoTest, PlatformTextTable) {
  struct Case {
    uint32_t id;
    const char* text;
  } cases[] = {{0, "Win32s"}, {1, "Windows 95"}, {2, "Windows NT"}, {3, "(Unknown)"}};
  for (const Case& c : cases) {
    fp.system.version.platformId = c.id;
    EXPECT_EQ(Info().GetTextByIndex(tiPlatform), c.text) << c.id;
  }
}

TEST_F(GeneralInfoTest, FreeResourcesOnNtAreZero) {
  fp.system.freeResources = {{0, 80}, {1, 70}, {2, 60}};  // ignored on this family
  EXPECT_EQ(Info().GetTextByIndex(tiFreeGdiRes), "0 %");
  EXPECT_EQ(Info().GetTextByIndex(tiFreeUsrRes), "0 %");
  EXPECT_EQ(Info().GetTextByIndex(tiFreeSysRes), "0 %");
}

TEST(GeneralInfo95Test, FreeResourcesByTypeKeepSevenBits) {
  NinetyFive w;
  w.fp.system.freeResources = {{0, 80}, {1, 0x80 | 70}, {2, 60}};
  EXPECT_EQ(w.info->GetTextByIndex(tiFreeGdiRes), "70 %");
  EXPECT_EQ(w.info->GetTextByIndex(tiFreeUsrRes), "60 %");
  EXPECT_EQ(w.info->GetTextByIndex(tiFreeSysRes), "80 %");
  w.fp.system.freeResources.clear();  // the 16-bit look-ups fail
  EXPECT_EQ(w.info->GetTextByIndex(tiFreeGdiRes), "0 %");
}

TEST_F(GeneralInfoTest, LanguageAndTimeZone) {
  fp.locale.systemDefaultLcid = 0x040C;
  EXPECT_EQ(Info().GetIntegerByIndex(iiDefaultLanguageID), 0x040C);
  EXPECT_EQ(Info().GetTextByIndex(tiDefaultLanguageString), fp.locale.VerLanguageName(0x040C));
  EXPECT_FALSE(Info().GetTextByIndex(tiDefaultLanguageString).empty());
  fp.system.timeZone.standardName = u"Mitteleurop\u00e4ische Zeit";
  fp.system.timeZone.bias = -60;
  EXPECT_EQ(Info().GetTextByIndex(tiTimeZone), "Mitteleurop\xE4ische Zeit");  // ANSI code page 1252
  EXPECT_EQ(Info().GetIntegerByIndex(iiTimeZoneDiff), -60);
  fp.system.timeZoneId = TIME_ZONE_ID_INVALID_;
  EXPECT_EQ(Info().GetTextByIndex(tiTimeZone), "");
  EXPECT_EQ(Info().GetIntegerByIndex(iiTimeZoneDiff), 0);
}

TEST_F(GeneralInfoTest, OtherTextIndicesAreEmpty) {
  EXPECT_EQ(Info().GetTextByIndex(16), "");
  EXPECT_EQ(Info().GetTextByIndex(-1), "");
}

// ---------------------------------------------------------------- registered owner

TEST_F(GeneralInfoTest, RegisteredOwnerForAnOrdinaryUser) {
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, kNtKey, "RegisteredOwner", "Ada");
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, kNtKey, "RegisteredOrganization", "Velmora");
  fp.registry.DenyAccess(HKEY_LOCAL_MACHINE_, "SOFTWARE", fake::KEY_SET_VALUE_);
  EXPECT_EQ(Info().GetTextByIndex(tiRegisteredOwner), "Ada");
  EXPECT_EQ(Info().GetTextByIndex(tiRegisteredCompany), "Velmora");
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
}

TEST_F(GeneralInfoTest, RegisteredOwnerFallbacksAndErrors) {
  EXPECT_EQ(Info().GetTextByIndex(tiRegisteredOwner), "(Unknown)");  // no key
  fp.registry.AddKey(HKEY_LOCAL_MACHINE_, kNtKey);
  EXPECT_EQ(Info().GetTextByIndex(tiRegisteredOwner), "");  // no value
  fp.registry.SetBinary(HKEY_LOCAL_MACHINE_, kNtKey, "RegisteredOrganization", Bytes{1, 2});
  try {
    Info().GetTextByIndex(tiRegisteredCompany);
    FAIL() << "no registry error";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'RegisteredOrganization'");
  }
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
}

TEST(GeneralInfo95Test, RegisteredOwnerFromTheWindowsKey) {
  NinetyFive w;
  w.fp.registry.SetString(HKEY_LOCAL_MACHINE_, k95Key, "RegisteredOwner", "Ada95");
  w.fp.registry.SetString(HKEY_LOCAL_MACHINE_, kNtKey, "RegisteredOwner", "wrong");
  EXPECT_EQ(w.info->GetTextByIndex(tiRegisteredOwner), "Ada95");
  EXPECT_EQ(w.info->GetTextByIndex(tiPlatform), "Windows 95");
}

// ---------------------------------------------------------------- memory

TEST_F(GeneralInfoTest, MemoryFiguresInKibibytes) {
  fp.system.memory = MemoryStatus{50, 8ull << 30, 3ull << 30, 16ull << 30, 10ull << 30, 128ull << 40,
                                  100ull << 40, 12345 * 1024ull};
  struct Case {
    int index;
    int64_t kib;
  } cases[] = {{liMemPhysTotal, 8ll << 20},  {liMemPhysFree, 3ll << 20},    {liMemVirtTotal, 128ll << 30},
               {liMemVirtFree, 100ll << 30}, {liMemPageTotal, 16ll << 20},  {liMemPageFree, 10ll << 20},
               {liMemVirtExtended, 0},       {0, 0},                        {8, 0}};
  // Windows 7 uses the plain call: the extended figure is 0.
  for (const Case& c : cases) EXPECT_EQ(Info().GetInt64ByIndex(c.index), c.kib) << c.index;
}

TEST_F(GeneralInfoTest, ExtendedCallOnWindows2000AndXpOnly) {
  struct Case {
    const char* what;
    uint32_t major, minor;
    bool extended;
  } cases[] = {{"2000", 5, 0, true}, {"XP", 5, 1, true}, {"2003", 5, 2, false}, {"NT 4", 4, 0, false},
               {"Vista", 6, 0, false}};
  for (const Case& c : cases) {
    fake::FakePlatform p;
    p.system.version.majorVersion = c.major;
    p.system.version.minorVersion = c.minor;
    p.system.memory.availExtendedVirtual = 4096;
    p.system.memoryExFails = true;  // tells the two calls apart
    AppContext context(p.platform());
    TComponent root(context);
    auto* info = new TSysInfo(&root);
    EXPECT_EQ(info->MemoryLoaded(), c.extended ? "0 %" : "42 %") << c.what;
    p.system.memoryExFails = false;
    EXPECT_EQ(info->GetInt64ByIndex(liMemVirtExtended), c.extended ? 4 : 0) << c.what;
  }
}

// ---------------------------------------------------------------- numbers

TEST_F(GeneralInfoTest, IntegerTable) {
  fp.system.spi[SPI_GETSCREENSAVETIMEOUT_] = 90;
  fp.system.metrics[0] = 1920;
  fp.system.metrics[1] = 1080;
  fp.system.displayCaps[LOGPIXELSY_] = 120;
  EXPECT_EQ(Info().GetIntegerByIndex(iiScreenSaverDelay), 1);
  EXPECT_EQ(Info().GetIntegerByIndex(iiScreenWidth), 1920);
  EXPECT_EQ(Info().GetIntegerByIndex(iiScreenHeight), 1080);
  EXPECT_EQ(Info().GetIntegerByIndex(iiScreenPPi), 120);
  for (int unused : {1, 2, 3, 4, 5, 6, 13, -1}) EXPECT_EQ(Info().GetIntegerByIndex(unused), 0) << unused;
}

TEST_F(GeneralInfoTest, ProcessorNumberColorDepthAndProcessorInfo) {
  fp.system.systemInfo.numberOfProcessors = 0x104;
  EXPECT_EQ(Info().ProcessorNumber(), 4);
  fp.system.displayCaps[PLANES_] = 1;
  fp.system.displayCaps[BITSPIXEL_] = 16;
  EXPECT_EQ(Info().ColorDepth(), 16);
  fp.system.displayCaps[BITSPIXEL_] = 32;
  EXPECT_EQ(Info().ColorDepth(), 32);
  ASSERT_NE(Info().ProcessorInfo(), nullptr);
  EXPECT_EQ(Info().ProcessorInfo()->IDString(), "GenuineIntel");
}

TEST_F(GeneralInfoTest, EachInstanceIdentifiesTheProcessorWhenMade) {
  auto* first = new TSysInfo(&root);
  fp.system.SetCpuVendor("AuthenticAMD");
  auto* second = new TSysInfo(&root);
  EXPECT_EQ(first->ProcessorInfo()->IDString(), "GenuineIntel");  // never identified again
  EXPECT_EQ(second->ProcessorInfo()->IDString(), "AuthenticAMD");
}

TEST_F(GeneralInfoTest, ListsAreRefilledOnRead) {
  fp.system.environment = {"B=2", "A=1", "", "after the end=x"};
  TStrings* env = Info().Environment();
  ASSERT_EQ(env->Count(), 2);
  EXPECT_EQ(env->Strings(0), "B=2");
  fp.system.environment = {"C=3"};
  EXPECT_EQ(Info().Environment()->Count(), 1);
  fp.system.fontNames = {"Verdana", "Arial"};
  TStrings* fonts = Info().AllFonts();
  ASSERT_EQ(fonts->Count(), 2);
  EXPECT_EQ(fonts->Strings(0), "Arial");  // sorted
  fp.system.printerNames = {"Zeta", "Alpha"};
  EXPECT_EQ(Info().AllPrinters()->Strings(0), "Alpha");
}

// ---------------------------------------------------------------- switches

TEST_F(GeneralInfoTest, LockKeysReadTheToggleBit) {
  fp.system.keys[VK_NUMLOCK_] = 0x01;
  fp.system.keys[VK_CAPITAL_] = 0x80;  // held down but not toggled: the call answers 0xFF80
  fp.system.keys[VK_SCROLL_] = 0x81;   // held down and toggled: 0xFF81
  ASSERT_EQ(static_cast<uint16_t>(fp.system.GetKeyState(VK_SCROLL_)), 0xFF81);
  EXPECT_TRUE(Info().GetFlagByIndex(fiNumLockState));
  EXPECT_FALSE(Info().GetFlagByIndex(fiCapsLockState));
  EXPECT_TRUE(Info().GetFlagByIndex(fiScrollLockState));
  // Writing the state a held key already has sends nothing.
  Info().SetFlagByIndex(fiScrollLockState, true);
  EXPECT_TRUE(fp.system.keyEvents.empty());
}

TEST_F(GeneralInfoTest, NtLockKeyWriteSendsAPressAndReleaseOnlyWhenItDiffers) {
  fp.system.keys[VK_NUMLOCK_] = 0x01;
  Info().SetFlagByIndex(fiNumLockState, true);
  EXPECT_TRUE(fp.system.keyEvents.empty());
  Info().SetFlagByIndex(fiCapsLockState, true);
  ASSERT_EQ(fp.system.keyEvents.size(), 2u);
  EXPECT_EQ(fp.system.keyEvents[0].virtualKey, VK_CAPITAL_);
  EXPECT_EQ(fp.system.keyEvents[0].scanCode, 0x45);
  EXPECT_EQ(fp.system.keyEvents[0].flags, KEYEVENTF_EXTENDEDKEY_);
  EXPECT_EQ(fp.system.keyEvents[1].flags, KEYEVENTF_EXTENDEDKEY_ | KEYEVENTF_KEYUP_);
  EXPECT_TRUE(Info().GetFlagByIndex(fiCapsLockState));
  EXPECT_EQ(fp.system.keyboardStateWrites, 0);
}

TEST(GeneralInfo95Test, LockKeyWriteSetsTheKeyboardState) {
  NinetyFive w;
  w.fp.system.keys[VK_SCROLL_] = 0;
  w.info->SetFlagByIndex(fiScrollLockState, true);
  EXPECT_EQ(w.fp.system.keys[VK_SCROLL_], 1);
  EXPECT_TRUE(w.fp.system.keyEvents.empty());
  w.info->SetFlagByIndex(fiScrollLockState, false);
  EXPECT_EQ(w.fp.system.keys[VK_SCROLL_], 0);
  EXPECT_EQ(w.fp.system.keyboardStateWrites, 2);
}

TEST_F(GeneralInfoTest, SystemParameterSwitchesTable) {
  struct Case {
    int index;
    uint32_t get, set;
  } cases[] = {{fiWarningBeep, SPI_GETBEEP_, SPI_SETBEEP_},
               {fiScreenSaveActive, SPI_GETSCREENSAVEACTIVE_, SPI_SETSCREENSAVEACTIVE_},
               {fiFontSmoothing, SPI_GETFONTSMOOTHING_, SPI_SETFONTSMOOTHING_},
               {fiDragFullWindows, SPI_GETDRAGFULLWINDOWS_, SPI_SETDRAGFULLWINDOWS_},
               {fiSnapToDefaultButton, SPI_GETSNAPTODEFBUTTON_, SPI_SETSNAPTODEFBUTTON_}};
  for (const Case& c : cases) {
    fp.system.spi[c.get] = 0;
    fp.system.spiWrites.clear();
    EXPECT_FALSE(Info().GetFlagByIndex(c.index)) << c.index;
    Info().SetFlagByIndex(c.index, false);  // unchanged: nothing written
    EXPECT_TRUE(fp.system.spiWrites.empty()) << c.index;
    Info().SetFlagByIndex(c.index, true);
    ASSERT_EQ(fp.system.spiWrites.size(), 1u) << c.index;
    EXPECT_EQ(fp.system.spiWrites[0].action, c.set);
    EXPECT_EQ(fp.system.spiWrites[0].value, 1);
    EXPECT_EQ(fp.system.spiWrites[0].winIni, SPIF_UPDATEINIFILE_ | SPIF_SENDWININICHANGE_);
    EXPECT_TRUE(Info().GetFlagByIndex(c.index)) << c.index;
  }
}

TEST_F(GeneralInfoTest, WindowAnimationGoesThroughTheRecord) {
  fp.system.spi[SPI_GETANIMATION_] = 1;
  EXPECT_TRUE(Info().GetFlagByIndex(fiWindowAnimation));
  Info().SetFlagByIndex(fiWindowAnimation, false);
  ASSERT_EQ(fp.system.spiWrites.size(), 1u);
  EXPECT_EQ(fp.system.spiWrites[0].action, SPI_SETANIMATION_);
  EXPECT_EQ(fp.system.spiWrites[0].value, 0);
  EXPECT_FALSE(Info().GetFlagByIndex(fiWindowAnimation));
}

TEST_F(GeneralInfoTest, PlusAvailableIsReadOnlyAndOtherIndicesDoNothing) {
  EXPECT_TRUE(Info().GetFlagByIndex(fiPlusAvailable));
  Info().SetFlagByIndex(fiPlusAvailable, false);
  Info().SetFlagByIndex(10, true);
  EXPECT_TRUE(Info().GetFlagByIndex(fiPlusAvailable));
  EXPECT_FALSE(Info().GetFlagByIndex(10));
  EXPECT_TRUE(fp.system.spiWrites.empty());
  EXPECT_TRUE(fp.system.keyEvents.empty());
}

TEST(GeneralInfo95Test, DesktopSwitchesFollowTheExtension) {
  NinetyFive with;
  with.fp.system.spi[SPI_GETFONTSMOOTHING_] = 1;
  with.fp.system.spi[SPI_GETSNAPTODEFBUTTON_] = 1;
  EXPECT_TRUE(with.info->GetFlagByIndex(fiPlusAvailable));
  EXPECT_TRUE(with.info->GetFlagByIndex(fiFontSmoothing));
  EXPECT_FALSE(with.info->GetFlagByIndex(fiSnapToDefaultButton));  // an NT feature

  fake::FakePlatform p;
  p.system.UseWindows95();
  p.system.spi.erase(SPI_GETWINDOWSEXTENSION_);
  p.system.spi[SPI_GETFONTSMOOTHING_] = 1;
  p.system.spi[SPI_GETDRAGFULLWINDOWS_] = 1;
  p.system.spi[SPI_GETSNAPTODEFBUTTON_] = 1;
  AppContext context(p.platform());
  TComponent root(context);
  auto* without = new TSysInfo(&root);
  EXPECT_FALSE(without->GetFlagByIndex(fiPlusAvailable));
  for (int index : {fiFontSmoothing, fiDragFullWindows, fiSnapToDefaultButton}) {
    EXPECT_FALSE(without->GetFlagByIndex(index)) << index;
    without->SetFlagByIndex(index, true);
  }
  EXPECT_TRUE(p.system.spiWrites.empty());
}

TEST_F(GeneralInfoTest, KeyboardDelayAndSpeed) {
  fp.system.spi[SPI_GETKEYBOARDDELAY_] = 1;
  fp.system.spi[SPI_GETKEYBOARDSPEED_] = 31;
  EXPECT_EQ(Info().KeyboardDelay(), 1);
  EXPECT_EQ(Info().KeyboardSpeed(), 31);
  Info().SetKeyboardDelay(1);
  EXPECT_TRUE(fp.system.spiWrites.empty());
  Info().SetKeyboardDelay(3);
  Info().SetKeyboardSpeed(20);
  ASSERT_EQ(fp.system.spiWrites.size(), 2u);
  EXPECT_EQ(fp.system.spiWrites[0].action, SPI_SETKEYBOARDDELAY_);
  EXPECT_EQ(fp.system.spiWrites[0].value, 3);
  EXPECT_EQ(fp.system.spiWrites[1].winIni, 3u);
  EXPECT_EQ(Info().KeyboardSpeed(), 20);
}

// ---------------------------------------------------------------- locale

TEST_F(GeneralInfoTest, LocaleTypesTable) {
  const uint32_t expected[28] = {0x1009, 0x19, 0x1B, 0x11, 0x100C, 0x100D, 0x12, 0x0D, 0x1C, 0x1010,
                                 0x23,   0x28, 0x29, 0x14, 0x1D,   0x0E,   0x10, 0x0C, 0x20, 0x16,
                                 0x18,   0x17, 0x51, 0x50, 0x1F,   0x0F,   0x1E, 0x1003};
  for (int i = 0; i < 28; ++i) EXPECT_EQ(LocaleTypeOfIndex(i), expected[i]) << i;
  EXPECT_EQ(LocaleTypeOfIndex(28), 0u);
  EXPECT_EQ(LocaleTypeOfIndex(-1), 0u);
}

TEST_F(GeneralInfoTest, LocaleReadsTheThreadLocaleOrSaysHallo) {
  fp.locale.threadLocale = 0x0407;
  fp.locale.SetInfo(0x0407, LOCALE_SDECIMAL_, ",");
  EXPECT_EQ(GetStrProp(Info(), "LocaleDecimalSeparator"), ",");
  fp.locale.failingTypes.insert(LOCALE_SCURRENCY_);
  EXPECT_EQ(Info().GetLocaleByIndex(13), "Hallo");
  EXPECT_EQ(Info().GetLocaleByIndex(99), "Hallo");  // type 0 is not a locale item
}

TEST_F(GeneralInfoTest, LocaleWriteGoesToTheThreadLocale) {
  fp.locale.threadLocale = 0x0407;
  Info().SetLocaleByIndex(26, ".");
  EXPECT_EQ(fp.locale.setLocaleInfoCalls, 1);
  EXPECT_EQ(fp.locale.locales[0x0407][LOCALE_STIME_], ".");
  fp.locale.setLocaleInfoFails = true;
  EXPECT_NO_THROW(Info().SetLocaleByIndex(26, ":"));  // a refusal is not reported
  EXPECT_EQ(fp.locale.setLocaleInfoCalls, 2);
  EXPECT_EQ(fp.locale.locales[0x0407][LOCALE_STIME_], ".") << "the refused value is not taken";
}

// ---------------------------------------------------------------- published table

TEST_F(GeneralInfoTest, ReadOnlyPropertiesIgnoreStoredValues) {
  fp.system.memory.memoryLoad = 33;
  SetProp(Info(), "MemoryLoaded", PropValue(AnsiString("99 %")));
  SetProp(Info(), "ScreenWidth", PropValue(int64_t{5}));
  SetProp(Info(), "About", PropValue(AnsiString("v1")));
  EXPECT_EQ(GetStrProp(Info(), "MemoryLoaded"), "33 %");
  EXPECT_EQ(GetIntProp(Info(), "ScreenWidth"), 1280);
  EXPECT_EQ(Info().About(), "v1");
  EXPECT_FALSE(TSysInfo::StaticClass().FindProperty("DefaultLanguageID")->CanWrite());
  RegisterSysinfoClasses();
  EXPECT_NE(FindClass("TSysInfo"), nullptr);
}

}  // namespace
}  // namespace vsi
