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
#include "fakes/perf_data_builder.h"
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

// --- Damaged copies of the shipped file ------------------------------------------------------

// The shipped file with one thing changed, as a user's damaged copy has it.
struct Damage {
  const char* name;
  Bytes (*bytes)();
};

Bytes Shipped() { return testing_i18n::ShippedDictionaryFile(); }
Bytes WithHeaderField(Bytes b, size_t at, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) b[at + i] = static_cast<uint8_t>(value >> (8 * i));  // little-endian
  return b;
}
// The shipped table with one value of it replaced, built as the build builds it.
Bytes ShippedTableWith(const std::string& line, const std::string& replacement) {
  std::string table = testing_i18n::ShippedTable();
  const size_t at = table.find(line);
  if (at == std::string::npos) throw std::logic_error("not in the shipped table: " + line);
  return BuildMldFromTable(table.replace(at, line.size(), replacement), {});
}

const Damage kDamages[] = {
    {"CutShortInsideTheTranslations",
     [] {
       Bytes b = Shipped();
       b.resize(b.size() - 10);
       return b;
     }},
    {"CutShortInsideTheLanguages",
     [] {
       Bytes b = Shipped();
       b.resize(120);
       return b;
     }},
    {"CutShortInsideTheHeader",
     [] {
       Bytes b = Shipped();
       b.resize(30);
       return b;
     }},
    {"NoLanguages", [] { return WithHeaderField(Shipped(), 12, 0, 2); }},
    {"LanguageOffsetZero", [] { return WithHeaderField(Shipped(), 14, 0, 4); }},
    {"TranslationOffsetZero", [] { return WithHeaderField(Shipped(), 20, 0, 4); }},
    {"LocaleCountWithoutLocales", [] { return WithHeaderField(Shipped(), 24, 1, 2); }},
    // Sublanguages are a list of numbers: English's is read as the window opens, French's
    // only when its flag is clicked.
    {"EnglishSubLanguagesNotNumbers",
     [] { return ShippedTableWith("sublanguages\t1,2,3,4,5,6\n", "sublanguages\t1,x\n"); }},
    {"FrenchSubLanguagesNotNumbers", [] { return ShippedTableWith("sublanguages\t1,2,3,4,5\n", "sublanguages\t1,x\n"); }},
    {"NotAnMldFile",
     [] {
       Bytes b = Shipped();
       b[0] = 'X';
       return b;
     }},
    // Whole and well-formed, with a megabyte of zeros after its data.
    {"OverTheSizeCap",
     [] {
       Bytes b = Shipped();
       b.resize((size_t(1) << 20) + 1, 0);
       return b;
     }},
};

class DamagedShippedFileTest : public ShippedFilePlacesTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedShippedFileTest, IsSaidInOneBoxAndTheWindowRunsInEnglish) {
  store.Put(kBeside, GetParam().bytes());
  fp.processes.Script("C:\\WINDOWS\\system32\\ipconfig.exe", {{"Host Name . . . : velmora\r\n"}, 1});
  SystemTime t{2024, 6, 1, 14, 9, 5, 0, 0};
  fp.registry.SetPerfDataSource([t]() mutable {
    t.second = static_cast<uint16_t>((t.second + 1) % 60);
    return fake::ProcessorBlock(t, {0, 0});
  });
  ASSERT_NO_THROW(Start()) << "start-up goes on";
  ASSERT_EQ(fp.windows.messageBoxes.size(), 1u);
  const fake::MessageBoxCall& box = fp.windows.messageBoxes[0];
  EXPECT_EQ(box.caption, "Error");
  EXPECT_EQ(box.text.rfind(std::string("Damaged dictionary file \"") + kBeside + "\"", 0), 0u) << box.text;
  EXPECT_FALSE(main->Get<TIvTranslator>("IvTranslator1").Active());
  EXPECT_EQ(Caption("Label13"), "System Information");
  EXPECT_EQ(Caption("Label1"), "English");
  // It runs: the clock ticks, every flag switches what the window sets itself, and nothing
  // more is said.
  fp.windows.TickTimers();
  EXPECT_FALSE(Slot("WideLabel6").empty());
  for (const LanguageRow& row : kLanguages) {
    Click(row.button);
    EXPECT_EQ(main->Caption(), row.caption);
    EXPECT_EQ(Caption("Label13"), "System Information") << row.state;
  }
  for (size_t i = 1; i < fp.windows.messageBoxes.size(); ++i) ADD_FAILURE() << fp.windows.messageBoxes[i].text;
  main->Close();
  EXPECT_TRUE(fp.windows.quitPosted);
}

INSTANTIATE_TEST_SUITE_P(Kinds, DamagedShippedFileTest, ::testing::ValuesIn(kDamages),
                         [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

// The box names the file once and where reading stopped once, then says what is wrong.
TEST_F(ShippedFilePlacesTest, TheDamagedFilesBoxGivesTheFileAndTheOffsetOnce) {
  const auto count = [](const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  };
  Bytes damaged = Shipped();
  damaged.resize(damaged.size() / 2);
  store.Put(kBeside, damaged);
  Start();
  ASSERT_EQ(fp.windows.messageBoxes.size(), 1u);
  const std::string text = fp.windows.messageBoxes[0].text;
  std::smatch m;
  ASSERT_TRUE(std::regex_match(text, m,
                               std::regex("Damaged dictionary file \"(.*)\", reading stopped at offset (\\d+): "
                                          "The data runs past the end of the file\\.")))
      << text;
  EXPECT_EQ(m[1], kBeside);
  EXPECT_LE(std::stoul(m[2]), damaged.size());
  EXPECT_EQ(count(text, "toolbar1.mld"), 1u) << text;
  EXPECT_EQ(count(text, m[2].str()), 1u) << text;
  EXPECT_EQ(count(text, "offset"), 1u) << text;
}

TEST_F(ShippedFilePlacesTest, WhatTheConversionRefusesIsSaidWithTheRecordsPlace) {
  store.Put(kBeside, ShippedTableWith("sublanguages\t1,2,3,4,5\n", "sublanguages\t1,x\n"));
  Start();
  ASSERT_EQ(fp.windows.messageBoxes.size(), 1u);
  const MldFile file(ShippedTableWith("sublanguages\t1,2,3,4,5\n", "sublanguages\t1,x\n"), "toolbar1.mld");
  MldCursor cursor(file);
  cursor.SeekLanguages();
  cursor.NextLanguage();  // English; French is the second record
  EXPECT_EQ(fp.windows.messageBoxes[0].text,
            std::string("Damaged dictionary file \"") + kBeside + "\", reading stopped at offset " +
                std::to_string(cursor.Position()) + ": Language 1 cannot be used: 'x' is not a valid integer value.");
}

TEST_F(ShippedFilePlacesTest, AFileOverTheCapIsRefusedUnread) {
  Bytes big = Shipped();
  big.resize(3 << 20, 0);
  store.Put(kBeside, big);
  Start();
  EXPECT_EQ(store.reads, 0);
  ASSERT_EQ(fp.windows.messageBoxes.size(), 1u);
  EXPECT_EQ(fp.windows.messageBoxes[0].text,
            std::string("Damaged dictionary file \"") + kBeside + "\": The file is larger than 1 MiB.");
}

// Replaced while the program runs: the new file is read whole before it is used; a damaged
// one is said once and the copy read before goes on serving.
TEST_F(ShippedFilePlacesTest, AFileReplacedByADamagedOneIsSaidOnceAndTheWholeCopyServes) {
  store.Put(kBeside, Shipped());
  Start();
  ASSERT_TRUE(fp.windows.messageBoxes.empty());
  Click("SpeedButton7");
  EXPECT_EQ(Caption("Label8"), "Espace libre");
  Bytes damaged = Shipped();
  damaged.resize(damaged.size() - 10);
  store.Put(kBeside, damaged);
  Click("SpeedButton1");
  ASSERT_EQ(fp.windows.messageBoxes.size(), 1u);
  EXPECT_EQ(fp.windows.messageBoxes[0].text.rfind(std::string("Damaged dictionary file \"") + kBeside + "\"", 0), 0u)
      << fp.windows.messageBoxes[0].text;
  EXPECT_EQ(Caption("Label8"), "Freier Speicher");
  for (const LanguageRow& row : kLanguages) Click(row.button);
  EXPECT_EQ(Caption("Label8"), "Vrije ruimte");
  EXPECT_EQ(fp.windows.messageBoxes.size(), 1u) << "said once";
  // Put right again: read and used.
  std::string table = testing_i18n::ShippedTable();
  table.replace(table.find("Vrije ruimte"), 12, "Vrije RUIMTE");
  store.Put(kBeside, BuildMldFromTable(table, {}));
  Click("SpeedButton3");
  Click("SpeedButton8");
  EXPECT_EQ(Caption("Label8"), "Vrije RUIMTE");
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

// A program folder whose name the ANSI code page (1252) lacks: the file beside the program is
// found through the wide calls and read whole through the platform.
TEST(ShippedFileInAGreekFolder, IsFoundAndTranslatesTheWindow) {
  RegisterAllClasses();
  fake::FakePlatform fp;
  fp.system.moduleFileName = "C:\\Προγράμματα\\Velmora\\toolbar1.exe";
  fp.system.PutFile("C:\\Προγράμματα\\Velmora\\toolbar1.mld", testing_i18n::ShippedDictionaryFile());
  fp.processes.Script("C:\\WINDOWS\\system32\\ipconfig.exe", {{"Host Name . . . : velmora\r\n"}, 1});
  ASSERT_NE(fp.system.GetModuleFileName().find('?'), std::string::npos) << "the ANSI path has lost the folder's name";
  AppContext ctx{fp.platform()};
  TApplication app{ctx};
  CreateProgram(app);
  auto* main = dynamic_cast<TMain*>(app.MainForm());
  main->Show();
  for (auto& m : fp.windows.messageBoxes) ADD_FAILURE() << m.text;
  EXPECT_TRUE(main->Get<TIvTranslator>("IvTranslator1").Active());
  main->Get<TControl>("SpeedButton7").Click();
  EXPECT_EQ(main->Get<TControl>("Label8").Caption(), "Espace libre");
  EXPECT_EQ(fp.system.fileReads, 1) << "read once, whole";
}

}  // namespace
}  // namespace vsi
