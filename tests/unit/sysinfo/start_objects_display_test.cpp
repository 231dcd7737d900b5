#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "sysinfo/start_objects.h"

namespace vsi {
namespace {

constexpr const char* kDesktop = "Control Panel\\Desktop";
constexpr const char* kPatterns = "Control Panel\\Patterns";

struct Report {
  AnsiString name, oldValue, newValue;
  bool operator==(const Report&) const = default;
};

class DisplayTest : public ::testing::Test {
 protected:
  DisplayTest() {
    display.SetChangeHandler([this](TObject*, const AnsiString& n, const AnsiString& o, const AnsiString& v,
                                    TDateTime) { reports.push_back({n, o, v}); });
  }
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TSysDisplayObject display{ctx};
  std::vector<Report> reports;
  TSysPlusObject& Plus() { return *display.Plus(); }
  TSysScreenSaverObject& Saver() { return *display.ScreenSaver(); }
  TSysWallpaperObject& Wallpaper() { return *display.Wallpaper(); }
};

TEST_F(DisplayTest, PlusReadsSystemParameters) {
  fp.system.spi[SPI_GETFONTSMOOTHING_] = 1;
  fp.system.spi[SPI_GETANIMATION_] = 0;
  fp.system.spi[SPI_GETDRAGFULLWINDOWS_] = 1;
  display.Retrieve();
  EXPECT_TRUE(Plus().Available());
  EXPECT_TRUE(Plus().FontSmoothing());
  EXPECT_FALSE(Plus().WindowAnimation());
  EXPECT_TRUE(Plus().DragFullWindows());
}

TEST_F(DisplayTest, PlusChangesApplyInOrderAndReportThroughDisplay) {
  fp.system.spi[SPI_GETFONTSMOOTHING_] = 0;
  fp.system.spi[SPI_GETANIMATION_] = 0;
  fp.system.spi[SPI_GETDRAGFULLWINDOWS_] = 0;
  display.Retrieve();
  Plus().SetDragFullWindows(true);
  Plus().SetWindowAnimation(true);
  Plus().SetFontSmoothing(true);
  EXPECT_TRUE(fp.system.spiWrites.empty());  // not applied at once
  display.Apply();
  ASSERT_EQ(fp.system.spiWrites.size(), 3u);
  EXPECT_EQ(fp.system.spiWrites[0].action, SPI_SETFONTSMOOTHING_);
  EXPECT_EQ(fp.system.spiWrites[1].action, SPI_SETANIMATION_);
  EXPECT_EQ(fp.system.spiWrites[2].action, SPI_SETDRAGFULLWINDOWS_);
  for (const auto& w : fp.system.spiWrites) {
    EXPECT_EQ(w.value, 1);
    EXPECT_EQ(w.winIni, 0u);
  }
  const std::vector<Report> expected{{"Display:Plus:FontSmoothing", "false", "true"},
                                     {"Display:Plus:WindowAnimation", "false", "true"},
                                     {"Display:Plus:DragFullWindows", "false", "true"}};
  EXPECT_EQ(reports, expected);
}

TEST_F(DisplayTest, ScreenSaverRetrieval) {
  fp.system.spi[SPI_GETSCREENSAVETIMEOUT_] = 900;
  fp.system.spi[SPI_GETSCREENSAVEACTIVE_] = 1;
  fp.system.spi[SPI_GETSCREENSAVERRUNNING_] = 0;
  fp.registry.SetString(HKEY_CURRENT_USER_, kDesktop, "ScreenSaverSecure", "1");
  fp.registry.SetString(HKEY_CURRENT_USER_, kDesktop, "SCRNSAVE.EXE", "C:\\WINDOWS\\system32\\logon.scr");
  display.Retrieve();
  EXPECT_EQ(Saver().Delay(), 15u);
  EXPECT_TRUE(Saver().Active());
  EXPECT_FALSE(Saver().Running());
  EXPECT_TRUE(Saver().Secure());
  EXPECT_EQ(Saver().ScreenSaver(), "C:\\WINDOWS\\system32\\logon.scr");
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
}

TEST_F(DisplayTest, SecureIsTrueExactlyForOne) {
  struct Case {
    const char* name;
    const char* stored;  // null: no value
    bool secure;
  };
  const Case cases[] = {
      {"one", "1", true}, {"zero", "0", false}, {"empty", "", false}, {"missing", nullptr, false}, {"two", "2", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fp.registry.DeleteValue(HKEY_CURRENT_USER_, kDesktop, "ScreenSaverSecure");
    fp.registry.AddKey(HKEY_CURRENT_USER_, kDesktop);
    if (c.stored) fp.registry.SetString(HKEY_CURRENT_USER_, kDesktop, "ScreenSaverSecure", c.stored);
    Saver().Retrieve();
    EXPECT_EQ(Saver().Secure(), c.secure);
  }
}

TEST_F(DisplayTest, SecureRoundTripsThroughApply) {
  fp.registry.SetString(HKEY_CURRENT_USER_, kDesktop, "ScreenSaverSecure", "1");
  Saver().Retrieve();
  Saver().SetSecure(false);  // applies at once
  EXPECT_EQ(fp.registry.GetString(HKEY_CURRENT_USER_, kDesktop, "ScreenSaverSecure"), "0");
  Saver().Retrieve();
  EXPECT_FALSE(Saver().Secure());
  Saver().SetSecure(true);
  EXPECT_EQ(fp.registry.GetString(HKEY_CURRENT_USER_, kDesktop, "ScreenSaverSecure"), "1");
  Saver().Retrieve();
  EXPECT_TRUE(Saver().Secure());
  const std::vector<Report> expected{{"Display:Screensaver:Secure", "-1", "0"},
                                     {"Display:Screensaver:Secure", "0", "-1"}};
  EXPECT_EQ(reports, expected);
}

TEST_F(DisplayTest, ScreenSaverSettersApplyAtOnce) {
  fp.registry.AddKey(HKEY_CURRENT_USER_, kDesktop);
  Saver().SetDelay(10);
  EXPECT_EQ(fp.registry.GetString(HKEY_CURRENT_USER_, kDesktop, "ScreenSaveTimeOut"), "600");
  Saver().SetScreenSaver("ssmyst.scr");
  EXPECT_EQ(fp.registry.GetString(HKEY_CURRENT_USER_, kDesktop, "SCRNSAVE.EXE"), "ssmyst.scr");
  Saver().SetScreenSaver("ssmyst.scr");  // unchanged: nothing recorded
  const std::vector<Report> expected{{"Display:Screensaver:Delay", "0", "10"},
                                     {"Display:Screensaver:ExeName", "", "ssmyst.scr"}};
  EXPECT_EQ(reports, expected);
  EXPECT_EQ(Saver().PendingChanges().Count(), 0);
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
}

TEST_F(DisplayTest, ScreenSaverApplyWithoutDesktopKeyKeepsChangesPending) {
  Saver().SetDelay(5);
  EXPECT_FALSE(fp.registry.HasKey(HKEY_CURRENT_USER_, kDesktop));
  EXPECT_TRUE(Saver().HasChange("Display:Screensaver:Delay"));
  EXPECT_TRUE(reports.empty());
}

TEST_F(DisplayTest, WrongTypeInDesktopKeyRaisesRegistryError) {
  fp.registry.SetDword(HKEY_CURRENT_USER_, kDesktop, "SCRNSAVE.EXE", 3);
  try {
    display.Retrieve();
    FAIL() << "no error raised";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'SCRNSAVE.EXE'");
  }
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
}

TEST_F(DisplayTest, MissingDesktopKeyLeavesValuesAsTheyWere) {
  fp.registry.SetString(HKEY_CURRENT_USER_, kDesktop, "SCRNSAVE.EXE", "a.scr");
  fp.registry.SetString(HKEY_CURRENT_USER_, kDesktop, "Wallpaper", "C:\\bg.bmp");
  display.Retrieve();
  fp.registry.DeleteKey(HKEY_CURRENT_USER_, "Control Panel");
  display.Retrieve();
  EXPECT_EQ(Saver().ScreenSaver(), "a.scr");
  EXPECT_EQ(Wallpaper().Filename(), "C:\\bg.bmp");
}

TEST_F(DisplayTest, ScreenSaversOfWindowsThenSystemFolder) {
  fp.system.windowsDirectory = "C:\\WINDOWS";
  fp.system.systemDirectory = "C:\\WINDOWS\\system32\\";  // already ends in a backslash
  fp.system.AddListedFile("C:\\WINDOWS\\mystify.scr");
  fp.system.AddListedFile("C:\\WINDOWS\\notes.txt");
  fp.system.AddListedFile("C:\\WINDOWS\\secret.scr", FILE_ATTRIBUTE_HIDDEN_);
  fp.system.AddListedFile("C:\\WINDOWS\\folder.scr", FILE_ATTRIBUTE_DIRECTORY_);
  fp.system.AddListedFile("C:\\WINDOWS\\system32\\logon.scr", FILE_ATTRIBUTE_READONLY_ | FILE_ATTRIBUTE_SYSTEM_);
  fp.system.AddListedFile("C:\\WINDOWS\\system32\\bubbles.SCR", FILE_ATTRIBUTE_NORMAL_);
  display.Retrieve();
  display.Retrieve();  // a second retrieval does not add them again
  TStringList& list = *Saver().ScreenSavers();
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Strings(0), "C:\\WINDOWS\\mystify.scr");
  EXPECT_EQ(list.Strings(1), "C:\\WINDOWS\\system32\\logon.scr");
  EXPECT_EQ(list.Strings(2), "C:\\WINDOWS\\system32\\bubbles.SCR");
}

TEST_F(DisplayTest, WallpaperTileStretchAndLastMatchingPattern) {
  fp.registry.SetString(HKEY_CURRENT_USER_, kDesktop, "Wallpaper", "C:\\WINDOWS\\clouds.bmp");
  fp.registry.SetString(HKEY_CURRENT_USER_, kDesktop, "TileWallpaper", "0");
  fp.registry.SetString(HKEY_CURRENT_USER_, kDesktop, "WallpaperStyle", "2");
  fp.registry.SetString(HKEY_CURRENT_USER_, kDesktop, "Pattern", "0 80 114 32 0 5 39 2");
  fp.registry.SetString(HKEY_CURRENT_USER_, kPatterns, "(None)", "(None)");
  fp.registry.SetString(HKEY_CURRENT_USER_, kPatterns, "Boxes", "0 80 114 32 0 5 39 2");
  fp.registry.SetString(HKEY_CURRENT_USER_, kPatterns, "Paisley", "2 7 7 2 32 80 80 32");
  fp.registry.SetString(HKEY_CURRENT_USER_, kPatterns, "Boxes Too", "0 80 114 32 0 5 39 2");
  display.Retrieve();
  EXPECT_EQ(Wallpaper().Filename(), "C:\\WINDOWS\\clouds.bmp");
  EXPECT_FALSE(Wallpaper().Tile());
  EXPECT_TRUE(Wallpaper().Stretch());
  ASSERT_EQ(Wallpaper().Patterns()->Count(), 4);
  EXPECT_EQ(Wallpaper().Patterns()->Strings(2), "Paisley");
  EXPECT_EQ(Wallpaper().PatternData().Strings(2), "2 7 7 2 32 80 80 32");
  EXPECT_EQ(Wallpaper().Pattern(), "Boxes Too");

  display.Retrieve();
  EXPECT_EQ(Wallpaper().Patterns()->Count(), 4);
}

TEST_F(DisplayTest, TileIsExactlyOneStretchExactlyTwo) {
  fp.registry.SetString(HKEY_CURRENT_USER_, kDesktop, "TileWallpaper", "01");
  fp.registry.SetString(HKEY_CURRENT_USER_, kDesktop, "WallpaperStyle", "0");
  Wallpaper().Retrieve();
  EXPECT_FALSE(Wallpaper().Tile());
  EXPECT_FALSE(Wallpaper().Stretch());
  EXPECT_EQ(Wallpaper().Pattern(), "");
}

TEST_F(DisplayTest, WallpaperApplyWritesPendingSettings) {
  fp.registry.SetString(HKEY_CURRENT_USER_, kDesktop, "TileWallpaper", "0");
  fp.registry.SetString(HKEY_CURRENT_USER_, kPatterns, "Boxes", "0 80 114 32 0 5 39 2");
  Wallpaper().Retrieve();
  Wallpaper().SetTile(true);
  Wallpaper().SetStretch(true);
  Wallpaper().SetPattern("Boxes");
  Wallpaper().SetFilename("C:\\new.bmp");
  EXPECT_EQ(fp.registry.GetString(HKEY_CURRENT_USER_, kDesktop, "TileWallpaper"), "0");  // not yet
  display.Apply();
  EXPECT_EQ(fp.registry.GetString(HKEY_CURRENT_USER_, kDesktop, "TileWallpaper"), "1");
  EXPECT_EQ(fp.registry.GetString(HKEY_CURRENT_USER_, kDesktop, "WallpaperStyle"), "2");
  EXPECT_EQ(fp.registry.GetString(HKEY_CURRENT_USER_, kDesktop, "Pattern"), "0 80 114 32 0 5 39 2");
  ASSERT_EQ(fp.system.spiTextWrites.size(), 1u);
  EXPECT_EQ(fp.system.spiTextWrites[0].action, SPI_SETDESKWALLPAPER_);
  EXPECT_EQ(fp.system.spiTextWrites[0].text, "C:\\new.bmp");
  EXPECT_EQ(fp.system.spiTextWrites[0].winIni, 0u);
  const std::vector<Report> expected{{"Display:Wallpaper:Tile", "0", "-1"},
                                     {"Display:Wallpaper:Stretch", "0", "-1"},
                                     {"Display:Wallpaper:Pattern", "", "Boxes"},
                                     {"Display:Wallpaper:FileName", "", "C:\\new.bmp"}};
  EXPECT_EQ(reports, expected);
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
}

TEST_F(DisplayTest, WallpaperApplyDoesNothingWithoutDesktopKey) {
  Wallpaper().SetFilename("C:\\new.bmp");
  display.Apply();
  EXPECT_TRUE(fp.system.spiTextWrites.empty());
  EXPECT_TRUE(Wallpaper().HasChange("Display:Wallpaper:FileName"));
}

TEST(DisplayColors, PowerOfTwoWith32CountedAs24) {
  struct Case {
    uint32_t bits, colors;
  };
  const Case cases[] = {{0, 2}, {1, 2}, {2, 4}, {4, 16}, {8, 256}, {15, 32768}, {16, 65536}, {24, 16777216},
                        {32, 16777216}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    EXPECT_EQ(ColorsOfBitCount(c.bits), c.colors);
  }
}

TEST_F(DisplayTest, DisplayModesFromEveryEnumeratedMode) {
  fp.system.displayModes = {{800, 600, 16, 75, 0}, {1024, 768, 32, 60, 0x1}, {1280, 1024, 24, 87, 0x2}};
  display.Retrieve();
  TSysDisplayModes& modes = *display.DisplayModes();
  ASSERT_EQ(modes.Count(), 3);
  EXPECT_EQ(modes.Items(0)->Width(), 800u);
  EXPECT_EQ(modes.Items(0)->Height(), 600u);
  EXPECT_EQ(modes.Items(0)->Frequency(), 75u);
  EXPECT_EQ(modes.Items(0)->Colors(), 65536u);
  EXPECT_TRUE(modes.Items(1)->Monochrome());
  EXPECT_FALSE(modes.Items(1)->Interlaced());
  EXPECT_EQ(modes.Items(1)->Colors(), 16777216u);
  EXPECT_EQ(modes.Items(1)->BitsPerPixel(), 32u);
  EXPECT_TRUE(modes.Items(2)->Interlaced());
  display.Retrieve();
  EXPECT_EQ(modes.Count(), 3);

  fp.system.displayModes.clear();
  display.Retrieve();
  EXPECT_EQ(modes.Count(), 0);
}

TEST_F(DisplayTest, ComponentRetrievesWhenLoadedAndLogsChanges) {
  TComponent root(ctx);
  auto* c = new TSysDisplay(&root);
  auto* log = new TSysLog(&root);
  c->SetSysLog(log);
  std::vector<AnsiString> lines;
  log->OnLog = [&](TObject*, const AnsiString& n, const AnsiString& o, const AnsiString& v, TDateTime) {
    lines.push_back(n + ":" + o + " - " + v);
  };
  fp.system.spi[SPI_GETSCREENSAVETIMEOUT_] = 600;
  fp.registry.AddKey(HKEY_CURRENT_USER_, kDesktop);
  c->SetAutoRetrieve(true);
  c->Loaded();
  EXPECT_EQ(c->Display()->ScreenSaver()->Delay(), 10u);
  EXPECT_EQ(GetObjectProp(*c, "Display"), c->Display());
  c->Display()->ScreenSaver()->SetDelay(20);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "Display:Screensaver:Delay:10 - 20");
}

}  // namespace
}  // namespace vsi
