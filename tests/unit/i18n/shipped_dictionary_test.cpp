// The main window with the dictionary file that ships beside the program.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>

#include "app/main_form.h"
#include "app/program.h"
#include "controls/ui_labels.h"
#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "i18n/binary_dictionary.h"
#include "app/languages.h"
#include "i18n/mld_table.h"
#include "i18n/translator.h"
#include "i18n_test_util.h"

namespace vsi {
namespace {

// The main window over the shipped file, a variation of it, or both, where the test puts them.
class ShippedFilePlacesTest : public ::testing::Test {
 protected:
  static constexpr const char* kBeside = "C:\\Program Files\\Velmora\\toolbar1.mld";
  static constexpr const char* kCurrent = "C:\\Work\\toolbar1.mld";
  // Creates and shows the program, as its start does.
  void Start() {
    RegisterAllClasses();
    ctx.Service<TIvDictionaryStorage>().SetStore(&store);
    CreateProgram(app);
    main = dynamic_cast<TMain*>(app.MainForm());
    main->Show();
  }
  std::u16string Slot(const char* name) { return main->Get<TWideLabel>(name).Caption(); }
  const AnsiString& Caption(const char* name) { return main->Get<TControl>(name).Caption(); }
  const AnsiString& Hint(const char* name) { return main->Get<TControl>(name).Hint(); }
  void Click(const char* button) { main->Get<TControl>(button).Click(); }

  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  testing_i18n::MemoryStore store{fp.system};
  TApplication app{ctx};
  TMain* main = nullptr;
};

// The main window with the shipped file; each test arranges what it needs, then starts it,
// and the start shows no error.
class ShippedDictionaryTest : public ShippedFilePlacesTest {
 protected:
  void SetUp() override {
    store.Put(kCurrent, testing_i18n::ShippedDictionaryFile());
    fp.processes.Script("C:\\WINDOWS\\system32\\ipconfig.exe", {{"Host Name . . . : velmora\r\n"}, 1});
  }
  void Start() {
    ShippedFilePlacesTest::Start();
    for (auto& m : fp.windows.messageBoxes) ADD_FAILURE() << m.text;
  }
};

TEST_F(ShippedDictionaryTest, TheFlagButtonsTranslateTheWindowAndEnglishBringsItBack) {
  Start();
  ASSERT_TRUE(main->Get<TIvTranslator>("IvTranslator1").Active());
  EXPECT_EQ(Caption("Label13"), "System Information");
  Click("SpeedButton7");
  EXPECT_EQ(Caption("Label1"), "French");
  EXPECT_EQ(Caption("Label13"), "Informations syst\xE8me");
  EXPECT_EQ(Caption("Label2"), "M\xE9moire utilis\xE9" "e");
  EXPECT_EQ(Caption("Label17"), "Adresse IP");  // the hidden panel too
  EXPECT_EQ(Hint("SpeedButton6"), "Anglais");
  EXPECT_EQ(main->Caption(), "  Velmora Information du Syst\xE8me 1.0");
  // The slots' caption labels are plain labels, "CPU Usage" included.
  EXPECT_EQ(Caption("WideLabel1"), "Utilisation CPU");
  Click("SpeedButton1");
  EXPECT_EQ(Caption("Label13"), "Systeminformationen");
  EXPECT_EQ(Hint("SpeedButton6"), "Englisch");
  Click("SpeedButton6");
  EXPECT_EQ(Caption("Label13"), "System Information");
  EXPECT_EQ(Caption("Label2"), "Memory Used");
  EXPECT_EQ(Hint("SpeedButton6"), "English");
  EXPECT_EQ(Hint("SpeedButton7"), "French");
  EXPECT_EQ(Caption("BitBtn1"), "BitBtn1");
  for (auto& m : fp.windows.messageBoxes) ADD_FAILURE() << m.text;
}

// The window menu of the main window, as the window system has it: one text per item, "-"
// for a separator.
std::vector<std::string> WindowMenu(fake::FakeWindowSystem& windows, WindowHandle window) {
  std::vector<std::string> texts;
  for (const auto& item : windows.Window(window).windowMenu) texts.push_back(item.separator ? "-" : item.text);
  return texts;
}

TEST_F(ShippedDictionaryTest, TheWindowMenuFollowsTheLanguageAndEnglishBringsBackItsTexts) {
  Start();
  const WindowHandle window = main->Handle();
  ASSERT_EQ(fp.windows.WindowMenuCount(window), 7);
  const std::vector<std::string> english = {"&Restore",  "&Move", "&Size", "Mi&nimize",
                                            "Ma&ximize", "-",     "&Close\tAlt+F4"};
  EXPECT_EQ(WindowMenu(fp.windows, window), english) << "the English start";
  Click("SpeedButton7");
  EXPECT_EQ(WindowMenu(fp.windows, window),
            (std::vector<std::string>{"&Restaurer", "&D\xE9placer", "&Taille", "R\xE9" "d&uire", "Agrandi&r", "-",
                                      "&Fermer\tAlt+F4"}))
      << "the shortcut column stays";
  Click("SpeedButton5");
  EXPECT_EQ(WindowMenu(fp.windows, window)[6], "S&t\xE4ng\tAlt+F4");
  Click("SpeedButton6");
  EXPECT_EQ(WindowMenu(fp.windows, window), english);
}

TEST_F(ShippedDictionaryTest, WhatTheUserTypesIntoTheNetworkBoxSurvivesLanguageSwitches) {
  Start();
  auto& memo = main->Get<TMemo>("Memo2");
  const WindowHandle box = memo.Handle();
  // Typed into the edit control: nothing tells the memo. The last character lies outside
  // the ANSI code page.
  fp.windows.SetText(box, u"Host Name . . . : velmora\r\ngateway 10.0.0.1 \u4E2D\r\n");
  EXPECT_EQ(memo.Text(), "Host Name . . . : velmora\r\ngateway 10.0.0.1 ?\r\n");
  ASSERT_EQ(memo.Lines()->Count(), 2);
  EXPECT_EQ(memo.Lines()->Strings(1), "gateway 10.0.0.1 ?");
  Click("SpeedButton7");  // French
  Click("SpeedButton6");  // English
  // Each translation drops the final line break, as it always has; the rest is kept,
  // character for character.
  EXPECT_EQ(Utf16ToUtf8(fp.windows.Window(box).text), "Host Name . . . : velmora\r\ngateway 10.0.0.1 \xE4\xB8\xAD");
  EXPECT_EQ(memo.Text(), "Host Name . . . : velmora\r\ngateway 10.0.0.1 ?");
}

TEST_F(ShippedDictionaryTest, EveryLanguageHasItsOwnWords) {
  Start();
  struct Row {
    const char* button;
    const char* state;
    const char* freeSpace;
    const char* computerName;
  } rows[] = {
      {"SpeedButton7", "French", "Espace libre", "Nom de l'ordinateur"},
      {"SpeedButton1", "German", "Freier Speicher", "Computername"},
      {"SpeedButton2", "Italian", "Spazio libero", "Nome computer"},
      {"SpeedButton4", "Spanish", "Espacio libre", "Nombre del equipo"},
      {"SpeedButton5", "Swedish", "Ledigt utrymme", "Datornamn"},
      {"SpeedButton3", "Portuguese", "Espa\xE7o livre", "Nome do PC"},
      {"SpeedButton8", "Dutch", "Vrije ruimte", "Computernaam"},
      {"SpeedButton6", "English", "Free Space", "Computer Name"},
  };
  for (const Row& r : rows) {
    Click(r.button);
    EXPECT_EQ(Caption("Label1"), r.state);
    EXPECT_EQ(Caption("Label8"), r.freeSpace) << r.state;
    EXPECT_EQ(Caption("Label12"), r.computerName) << r.state;
  }
}

// The drive figures follow the digit grouping of the window's language, and keep the values
// read when the drive was chosen.
TEST_F(ShippedDictionaryTest, DriveFiguresTakeTheGroupingOfTheLanguage) {
  fp.volumes.Drive('C').totalBytes = 270553174016;
  fp.registry.SetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue, "German");
  Start();
  EXPECT_EQ(Slot("WideLabel22"), u"270.553.174.016") << "restored at start";
  fp.volumes.Drive('C').totalBytes = 1;  // not read again by a language change
  struct Row {
    const char* button;
    const char16_t* size;
  } rows[] = {
      {"SpeedButton7", u"270\u00A0553\u00A0174\u00A0016"},  // French: a no-break space
      {"SpeedButton6", u"270,553,174,016"},
      {"SpeedButton4", u"270.553.174.016"},
  };
  for (const Row& r : rows) {
    Click(r.button);
    EXPECT_EQ(Slot("WideLabel22"), r.size) << r.button;
    EXPECT_NE(Slot("WideLabel23").find(r.size[3]), std::u16string::npos) << r.button << ": free space too";
  }
  for (auto& m : fp.windows.messageBoxes) ADD_FAILURE() << m.text;
}

// A row whose original the window never looks up can never apply. The window looks up the
// texts its translator remembers (the targeted properties of the shipped main window), the
// window-menu names, and the messages of the settings value that its error box shows.
TEST_F(ShippedDictionaryTest, EveryRowOfTheShippedTableCanApply) {
  Start();
  std::set<AnsiString> lookedUp;
  for (const TIvTranslatorTableItem& item : main->Get<TIvTranslator>("IvTranslator1").Table())
    lookedUp.insert(item.original);
  for (const TIvWindowMenuName& name : WindowMenuNames()) lookedUp.insert(name.name);
  // What the window says or offers only on a path: the settings' two messages (a stored number,
  // a failing write at close), Copy all's menu item and its two clipboard warnings.
  auto messagesOf = [&](const std::function<void(fake::FakePlatform&)>& arrange,
                        const std::function<void(fake::FakePlatform&, TForm&)>& act) {
    fake::FakePlatform f;
    AppContext c{f.platform()};
    testing_i18n::MemoryStore s{f.system};
    c.Service<TIvDictionaryStorage>().SetStore(&s);
    s.Put("C:\\Work\\toolbar1.mld", testing_i18n::ShippedDictionaryFile());
    arrange(f);
    TApplication a{c};
    CreateProgram(a);
    a.MainForm()->Show();
    if (act) act(f, *a.MainForm());
    for (auto& m : f.windows.messageBoxes) lookedUp.insert(m.text);
    for (auto& menu : f.windows.menus)
      for (auto& item : menu) lookedUp.insert(item.text.substr(0, item.text.find('\t')));
    return f.windows.messageBoxes.size() + f.windows.menus.size();
  };
  auto nothing = [](fake::FakePlatform&) {};
  auto close = [](fake::FakePlatform& f, TForm& w) {
    f.windows.Deliver(w.Handle(), [](IWindowEvents& sink) { sink.WmClose(); });
  };
  auto copy = [](fake::FakePlatform& f, TForm& w) {
    f.windows.Deliver(w.Handle(), [](IWindowEvents& sink) { sink.WmShortcut('C', ssCtrl); });
  };
  auto rightClick = [](fake::FakePlatform& f, TForm& w) {
    f.windows.Deliver(dynamic_cast<TControl&>(*w.FindComponent("Panel1")).Handle(), [](IWindowEvents& e) { e.WmMouseUp(mbRight, 0, 3, 4); });
  };
  EXPECT_EQ(messagesOf([](fake::FakePlatform& f) { f.registry.SetDword(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue, 5); },
                       nullptr),
            1u);
  EXPECT_EQ(messagesOf([](fake::FakePlatform& f) { f.registry.FailValueWrite(HKEY_CURRENT_USER_, kSettingsKey); }, close),
            1u);
  EXPECT_EQ(messagesOf([](fake::FakePlatform& f) { f.clipboard.heldByOther = -1; }, copy), 1u);
  EXPECT_EQ(messagesOf([](fake::FakePlatform& f) { f.clipboard.failSetData = true; }, copy), 1u);
  EXPECT_EQ(messagesOf(nothing, rightClick), 1u);

  MldFile file(testing_i18n::ShippedDictionaryFile(), "toolbar1.mld");
  ASSERT_GT(file.TranslationCount(), 0);
  for (const MldTranslation& row : file.Translations())
    EXPECT_TRUE(lookedUp.count(row.original)) << "never looked up: \"" << row.original << "\"";
}

TEST_F(ShippedFilePlacesTest, ADamagedFileIsSaidOnceAndTheWindowRunsInEnglish) {
  Bytes damaged = testing_i18n::ShippedDictionaryFile();
  // Cut short inside the last translations: the header and the languages are whole.
  damaged.resize(damaged.size() - 10);
  store.Put(kBeside, damaged);
  ASSERT_NO_THROW(Start()) << "start-up goes on";
  ASSERT_EQ(fp.windows.messageBoxes.size(), 1u);
  const fake::MessageBoxCall& box = fp.windows.messageBoxes[0];
  EXPECT_EQ(box.caption, "Error");
  EXPECT_NE(box.text.find(std::string("\"") + kBeside + "\""), std::string::npos) << box.text;
  std::smatch offset;
  ASSERT_TRUE(std::regex_search(box.text, offset, std::regex("reading stopped at offset (\\d+)"))) << box.text;
  EXPECT_LT(std::stoul(offset[1]), testing_i18n::ShippedDictionaryFile().size());
  EXPECT_FALSE(main->Get<TIvTranslator>("IvTranslator1").Active());
  EXPECT_EQ(Caption("Label13"), "System Information");
  EXPECT_EQ(Caption("Label1"), "English");
  // The flags still switch what the window sets itself, and say nothing more.
  Click("SpeedButton7");
  EXPECT_EQ(main->Caption(), "  Velmora Information du Syst\xE8me 1.0");
  EXPECT_EQ(Caption("Label13"), "System Information");
  EXPECT_EQ(fp.windows.messageBoxes.size(), 1u);
}

// The box opens while the window is still being made, and its own loop goes on dispatching
// the CPU timer's ticks: the window is not filled yet and takes them in its stride.
TEST_F(ShippedFilePlacesTest, TicksWhileTheDamagedFilesBoxIsOpenWaitForTheWindow) {
  Bytes damaged = testing_i18n::ShippedDictionaryFile();
  damaged.resize(damaged.size() - 10);
  store.Put(kBeside, damaged);
  int ticks = 0;
  fp.windows.whileMessageBoxOpen = [&] {
    for (; ticks < 3; ++ticks) fp.windows.TickTimers();
  };
  ASSERT_NO_THROW(Start());
  EXPECT_EQ(ticks, 3);
  ASSERT_EQ(fp.windows.messageBoxes.size(), 1u);
  fp.windows.TickTimers();
  EXPECT_FALSE(Slot("WideLabel6").empty()) << "the CPU slot fills once the window is made";
}

TEST_F(ShippedFilePlacesTest, AFileInTheCurrentFolderDoesNotReplaceTheOneBesideTheProgram) {
  std::string planted = testing_i18n::ShippedTable();
  const std::string french = "Espace libre";
  ASSERT_NE(planted.find(french), std::string::npos);
  planted.replace(planted.find(french), french.size(), "Espace PLANTED");
  store.Put(kCurrent, BuildMldFromTable(planted, {}));
  store.Put(kBeside, testing_i18n::ShippedDictionaryFile());
  Start();
  Click("SpeedButton7");
  EXPECT_EQ(Caption("Label8"), "Espace libre");
  EXPECT_TRUE(fp.windows.messageBoxes.empty());
}

}  // namespace
}  // namespace vsi
