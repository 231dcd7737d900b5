// Copy all: Ctrl+C and the right-click menu of the main window put every fact on the clipboard,
// as the slots show them, in the window's language; a clipboard held by another program is
// waited for a little, then the user is told.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/fact_report.h"
#include "app/languages.h"
#include "facts_fixture.h"
#include "framework/clipboard.h"

namespace vsi {
namespace {

class CopyAllTest : public FactsFixture {
 protected:
  void SetUp() override {
    ShowWindow();
    main->Get<TTimer>("Timer1").Tick();
  }
  bool PressCtrl(uint16_t key, uint8_t shift = ssCtrl) {
    bool taken = false;
    fp.windows.Deliver(main->Handle(), [&](IWindowEvents& e) { taken = e.WmShortcut(key, shift); });
    return taken;
  }
  std::string Clipboard() { return Utf16ToUtf8(fp.clipboard.text); }
  // The caption of a label as the window shows it, and a slot's text.
  std::string Caption(const char* label) {
    TComponent* c = main->FindComponent(label);
    if (auto* wide = dynamic_cast<TWideLabel*>(c)) return Utf16ToUtf8(wide->Caption());
    return Utf8(dynamic_cast<TControl*>(c)->Caption());
  }
  // What the window shows, as Copy all must put it: program and time first, then each
  // caption with the slot beside it in the window, the drive column, the network last.
  std::string Expected(const std::string& when = "3/21/2004 14:30:05") {
    struct Line {
      const char* caption;
      const char* slot;
    };
    static constexpr Line kSystem[] = {{"WideLabel1", "WideLabel6"},  {"Label2", "WideLabel7"},
                                       {"Label3", "WideLabel9"},      {"Label4", "WideLabel10"},
                                       {"Label4", "WideLabel11"},     {"Label5", "WideLabel8"},
                                       {"Label5", "WideLabel39"},     {"Label12", "WideLabel27"}};
    static constexpr Line kDrive[] = {{"Label7", "WideLabel22"},
                                      {"Label8", "WideLabel23"},
                                      {"Label9", "WideLabel24"},
                                      {"Label10", "WideLabel25"},
                                      {"Label11", "WideLabel26"}};
    std::string out = Utf8(main->Caption()).substr(2) + "\r\n" + when + "\r\n\r\n";
    for (const Line& l : kSystem) out += Caption(l.caption) + ": " + Slot(l.slot) + "\r\n";
    out += "\r\n" + Caption("Label15") + ": C:\r\n";
    for (const Line& l : kDrive) out += Caption(l.caption) + ": " + Slot(l.slot) + "\r\n";
    // The translator takes the memo's last line break on a language switch; the copy keeps
    // the text as captured.
    std::string network = main->Get<TMemo>("Memo2").Text();
    if (network.size() < 2 || network.substr(network.size() - 2) != "\r\n") network += "\r\n";
    return out + "\r\n" + Caption("Label16") + ":\r\n" + network;
  }
};

// The English window's copy, line by line.
constexpr char kEnglishCopy[] =
    "Velmora System Info 1.0\r\n"
    "3/21/2004 14:30:05\r\n"
    "\r\n"
    "CPU Usage: 25.00%\r\n"
    "Memory Used: 42 %\r\n"
    "Video Resolution: 1280 x 1024\r\n"
    "Processor: 8664\r\n"
    "Processor: GenuineIntel\r\n"
    "Operating System: Microsoft Windows 7\r\n"
    "Operating System: Service Pack 1\r\n"
    "Computer Name: velmora-pc\r\n"
    "\r\n"
    "Hard Disks Information: C:\r\n"
    "Disk Size: 100,000,000,000\r\n"
    "Free Space: 40,000,000,000\r\n"
    "Volume Label: SYSTEM\r\n"
    "Serial number: 1234-ABCD\r\n"
    "File System: NTFS\r\n"
    "\r\n"
    "Network Information:\r\n"
    "Host Name . . . : velmora\r\n"
    "Node Type . . . : Hybrid\r\n";

TEST_F(CopyAllTest, CtrlCCopiesWhatTheWindowShows) {
  ASSERT_TRUE(PressCtrl('C'));
  ASSERT_TRUE(fp.clipboard.hasText);
  EXPECT_EQ(Clipboard(), kEnglishCopy) << "CPU usage the last sample, not a new one";
  EXPECT_EQ(Clipboard(), Expected()) << "as the window shows it";
  EXPECT_FALSE(fp.clipboard.open) << "closed again";
  EXPECT_EQ(fp.clipboard.owner, main->Handle());
  EXPECT_TRUE(fp.windows.messageBoxes.empty());
}

TEST_F(CopyAllTest, InTheWindowsLanguage) {
  main->Get<TControl>("SpeedButton7").Click();  // French
  ASSERT_TRUE(PressCtrl('C'));
  EXPECT_EQ(Clipboard().substr(0, Clipboard().find("\r\n")), "Velmora Information du Syst\xC3\xA8me 1.0");
  EXPECT_NE(Clipboard().find("M\xC3\xA9moire utilis\xC3\xA9" "e: 42 %\r\n"), std::string::npos) << Clipboard();
  EXPECT_NE(Clipboard().find("Informations r\xC3\xA9seau:\r\nHost Name"), std::string::npos) << Clipboard();
  const std::string text = Clipboard();
  const size_t second = text.find("\r\n") + 2;
  const std::string when = text.substr(second, text.find("\r\n", second) - second);
  EXPECT_EQ(when, "21/03/2004 14:30:05") << "the French date and time";
  EXPECT_EQ(text, Expected(when)) << "every line as the window shows it";
}

TEST_F(CopyAllTest, OnlyCtrlCIsTaken) {
  EXPECT_FALSE(PressCtrl('C', ssCtrl | ssShift));
  EXPECT_FALSE(PressCtrl('C', 0));
  EXPECT_FALSE(PressCtrl('V'));
  EXPECT_EQ(fp.clipboard.openAttempts, 0);
}

TEST_F(CopyAllTest, InTheNetworkBoxCtrlCCopiesTheSelectionOrElseAllTheFacts) {
  const WindowHandle memo = main->Get<TMemo>("Memo2").Handle();
  fp.windows.SetFocus(memo);
  fp.windows.Window(memo).selection = true;
  EXPECT_FALSE(PressCtrl('C')) << "the box copies its selection";
  EXPECT_EQ(fp.clipboard.openAttempts, 0);
  fp.windows.Window(memo).selection = false;
  EXPECT_TRUE(PressCtrl('C')) << "nothing selected: all the facts";
  EXPECT_EQ(Clipboard(), Expected());
  fp.windows.SetFocus(main->Get<TControl>("DriveComboBox1").Handle());
  EXPECT_TRUE(PressCtrl('C'));
}

// Shift+F10 and the menu key open the right-click menu: the eight languages in their own
// words, the one in force checked, then Copy all; a language chosen there is what its flag
// does, stored choice included, and the menu follows it.
TEST_F(CopyAllTest, TheKeyboardsMenuSwitchesTheLanguage) {
  const std::vector<std::u16string> names{u"English",  u"Fran\u00e7ais", u"Deutsch",    u"Italiano",
                                          u"Espa\u00f1ol", u"Svenska",  u"Portugu\u00eas", u"Nederlands"};
  struct Key {
    uint16_t key;
    uint8_t shift;
  };
  for (Key k : {Key{0x5D, 0}, Key{0x79, ssShift}}) {
    fp.windows.menus.clear();
    fp.windows.nextMenuCommand = 0;
    fp.windows.SetFocus(main->Get<TControl>("DriveComboBox1").Handle());
    ASSERT_TRUE(PressCtrl(k.key, k.shift)) << k.key;
    ASSERT_EQ(fp.windows.menus.size(), 1u) << k.key;
    const auto& items = fp.windows.menus[0];
    ASSERT_EQ(items.size(), 11u);
    for (size_t i = 0; i < 8; ++i) {
      EXPECT_EQ(items[i].wideText, names[i]);
      EXPECT_EQ(items[i].checked, i == 0) << "English is in force";
    }
    EXPECT_EQ(items[8].text, "-");
    EXPECT_EQ(items[9].text, "Copy all\tCtrl+C");
    EXPECT_EQ(items[10].text, "Refresh\tF5");
  }
  // French chosen (the second language's item).
  fp.windows.menus.clear();
  fp.windows.nextMenuCommand = 0;
  ASSERT_TRUE(PressCtrl(0x5D, 0));
  fp.windows.nextMenuCommand = fp.windows.menus[0][1].command;
  ASSERT_TRUE(PressCtrl(0x5D, 0));
  EXPECT_EQ(main->Get<TControl>("Label1").Caption(), "French");
  EXPECT_EQ(main->Caption(), "  Velmora Information du Syst\xe8me 1.0");
  EXPECT_EQ(fp.registry.GetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue), "French");
  fp.windows.menus.clear();
  fp.windows.nextMenuCommand = 0;
  ASSERT_TRUE(PressCtrl(0x5D, 0));
  EXPECT_TRUE(fp.windows.menus[0][1].checked);
  EXPECT_FALSE(fp.windows.menus[0][0].checked);
  EXPECT_EQ(fp.windows.menus[0][9].text, "Tout copier\tCtrl+C");
  EXPECT_TRUE(fp.windows.messageBoxes.empty());
}

TEST_F(CopyAllTest, TheRightClickMenuOfEveryPanelOffersCopyAll) {
  // Released over a panel or over a label on it; the calendar column's panel too.
  for (const char* control : {"Panel1", "Label2", "WideLabel7", "Panel3", "WideLabel22", "WidePanel1", "Label13",
                              "Panel2"}) {
    fp.clipboard.text.clear();
    fp.windows.menus.clear();
    fp.windows.nextMenuCommand = 0;
    fp.windows.Deliver(main->Get<TControl>(control).Handle(),
                       [](IWindowEvents& e) { e.WmMouseUp(mbRight, 0, 3, 4); });
    ASSERT_EQ(fp.windows.menus.size(), 1u) << control;
    const auto& items = fp.windows.menus[0];
    auto copyAll = std::find_if(items.begin(), items.end(), [](const MenuItemSpec& i) { return i.command == 1; });
    ASSERT_NE(copyAll, items.end()) << control;
    EXPECT_EQ(copyAll->text, "Copy all\tCtrl+C") << control;
    EXPECT_TRUE(fp.clipboard.text.empty()) << control << ": dismissed, nothing copied";

    fp.windows.nextMenuCommand = copyAll->command;
    fp.windows.Deliver(main->Get<TControl>(control).Handle(),
                       [](IWindowEvents& e) { e.WmMouseUp(mbRight, 0, 3, 4); });
    EXPECT_EQ(Clipboard(), Expected()) << control;
  }
  main->Get<TControl>("SpeedButton1").Click();  // German
  fp.windows.menus.clear();
  fp.windows.Deliver(main->Get<TControl>("Panel1").Handle(), [](IWindowEvents& e) { e.WmMouseUp(mbRight, 0, 3, 4); });
  ASSERT_EQ(fp.windows.menus.size(), 1u);
  EXPECT_EQ(fp.windows.menus[0][9].text, "Alles kopieren\tCtrl+C");
}

TEST_F(CopyAllTest, ALeftClickOnAPanelShowsNoMenu) {
  fp.windows.Deliver(main->Get<TControl>("Panel1").Handle(), [](IWindowEvents& e) { e.WmMouseUp(mbLeft, 0, 3, 4); });
  EXPECT_TRUE(fp.windows.menus.empty());
}

// Another program holding the clipboard: a few tries a little apart, then a warning the user
// can see; never a wait without end, and the clipboard closed whenever we opened it.
TEST_F(CopyAllTest, AClipboardHeldByAnotherProgram) {
  struct Row {
    const char* name;
    int held;                  // refused opens; -1 for good
    bool setFails;
    bool copied;
    const char* message;       // "" none
  } rows[] = {
      {"let go after two tries", 2, false, true, ""},
      {"let go at the last try", kClipboardTries - 1, false, true, ""},
      {"kept", -1, false, false, "The clipboard is in use by another program. Nothing was copied."},
      {"refuses the text", 0, true, false, "The facts could not be put on the clipboard."},
  };
  for (const Row& r : rows) {
    fp.clipboard = fake::FakeClipboard();
    fp.clipboard.heldByOther = r.held;
    fp.clipboard.failSetData = r.setFails;
    fp.system.sleeps.clear();
    fp.windows.messageBoxes.clear();
    EXPECT_TRUE(PressCtrl('C')) << r.name;
    EXPECT_EQ(fp.clipboard.hasText, r.copied) << r.name;
    EXPECT_LE(fp.clipboard.openAttempts, kClipboardTries) << r.name;
    EXPECT_EQ(fp.system.sleeps.size(), size_t(fp.clipboard.openAttempts - 1)) << r.name << ": waits between tries";
    for (uint32_t ms : fp.system.sleeps) EXPECT_LE(ms, 100u) << r.name;
    EXPECT_FALSE(fp.clipboard.open) << r.name;
    EXPECT_EQ(fp.clipboard.closes, r.held < 0 ? 0 : 1) << r.name << ": closed once it was opened";
    if (*r.message) {
      ASSERT_EQ(fp.windows.messageBoxes.size(), 1u) << r.name;
      EXPECT_EQ(fp.windows.messageBoxes[0].text, r.message) << r.name;
      EXPECT_EQ(fp.windows.messageBoxes[0].caption, "Velmora System Info 1.0") << r.name;
      EXPECT_EQ(fp.windows.messageBoxes[0].type & 0xF0, MB_ICONWARNING_) << r.name;
    } else {
      EXPECT_TRUE(fp.windows.messageBoxes.empty()) << r.name;
    }
  }
}

TEST_F(CopyAllTest, TheBusyWarningSpeaksTheWindowsLanguage) {
  main->Get<TControl>("SpeedButton2").Click();  // Italian
  fp.clipboard.heldByOther = -1;
  PressCtrl('C');
  ASSERT_EQ(fp.windows.messageBoxes.size(), 1u);
  EXPECT_EQ(Utf8(fp.windows.messageBoxes[0].text),
            "Gli appunti sono in uso da parte di un altro programma. Non \xC3\xA8 stato copiato nulla.");
}

// /lang NAME: the window speaks it for this run, and the stored choice stays unless the user
// clicks a flag.
TEST(LanguageForRunTest, ShownButNotStored) {
  struct Row {
    const char* name;
    const char* click;   // a flag clicked after start, or null
    const char* stored;  // Language1 after the close
  } rows[] = {
      {"not clicked", nullptr, "Dutch"},
      {"a flag clicked", "SpeedButton1", "German"},
      {"its own flag clicked", "SpeedButton7", "French"},
  };
  for (const Row& r : rows) {
    ProgramOnFake p([](fake::FakePlatform& f) {
      f.registry.SetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue, "Dutch");
    });
    fake::FakePlatform& f = p.fp;
    TMain* window = &p.Create();
    window->SetLanguageForRun(LanguageByState("French"));
    window->Show();
    EXPECT_EQ(window->Get<TControl>("Label1").Caption(), "French") << r.name;
    EXPECT_EQ(window->Caption(), "  Velmora Information du Syst\xe8me 1.0") << r.name;
    if (r.click) window->Get<TControl>(r.click).Click();
    window->FormClose(window);
    EXPECT_EQ(f.registry.GetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue), r.stored) << r.name;
  }
}

TEST(LanguageForRunTest, FromTheCommandLine) {
  RegisterAllClasses();
  fake::FakePlatform f;
  f.io.commandLine = "toolbar1.exe /lang spanish";
  AppContext c{f.platform()};
  EXPECT_EQ(RunProgram(c), 0);
  bool spanish = false;
  for (auto& [handle, w] : f.windows.windows)
    spanish = spanish || Utf16ToUtf8(w.text) == "  Velmora Informaci\xC3\xB3n del sistema 1.0";
  EXPECT_TRUE(spanish) << "the window came up in Spanish";
}

}  // namespace
}  // namespace vsi
