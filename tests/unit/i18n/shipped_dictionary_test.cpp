// The main window with the dictionary file that ships beside the program.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "app/main_form.h"
#include "app/program.h"
#include "controls/ui_labels.h"
#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "i18n/binary_dictionary.h"
#include "i18n/mld_table.h"
#include "i18n/translator.h"
#include "i18n_test_util.h"

namespace vsi {
namespace {

std::string ShippedTable() {
  std::string here = __FILE__;
  std::ifstream in(here.substr(0, here.rfind("tests/unit/i18n/")) + "data/toolbar1.tsv", std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

Bytes ShippedFile() { return BuildMldFromTable(ShippedTable(), {}); }

// The main window over the shipped file, a variation of it, or both, where the test puts them.
class ShippedFilePlacesTest : public ::testing::Test {
 protected:
  static constexpr const char* kBeside = "C:\\Program Files\\Velmora\\toolbar1.mld";
  static constexpr const char* kCurrent = "C:\\Work\\toolbar1.mld";
  void Start() {
    RegisterAllClasses();
    ctx.Service<TIvDictionaryStorage>().SetStore(&store);
    CreateProgram(app);
    main = dynamic_cast<TMain*>(app.MainForm());
    main->Show();
  }
  const AnsiString& Caption(const char* name) { return main->Get<TControl>(name).Caption(); }
  const AnsiString& Hint(const char* name) { return main->Get<TControl>(name).Hint(); }
  void Click(const char* button) { main->Get<TControl>(button).Click(); }

  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  testing_i18n::MemoryStore store{fp.system};
  TApplication app{ctx};
  TMain* main = nullptr;
};

// The main window with the shipped file, shown without errors.
class ShippedDictionaryTest : public ShippedFilePlacesTest {
 protected:
  void SetUp() override {
    store.Put(kCurrent, ShippedFile());
    fp.processes.Script("C:\\WINDOWS\\system32\\ipconfig.exe", {{"Host Name . . . : velmora\r\n"}, 1});
    Start();
    for (auto& m : fp.windows.messageBoxes) ADD_FAILURE() << m.text;
  }
};

TEST_F(ShippedDictionaryTest, TheFlagButtonsTranslateTheWindowAndEnglishBringsItBack) {
  ASSERT_TRUE(main->Get<TIvTranslator>("IvTranslator1").Active());
  EXPECT_EQ(Caption("Label13"), "System Information");
  Click("SpeedButton7");
  EXPECT_EQ(Caption("Label1"), "French");
  EXPECT_EQ(Caption("Label13"), "Informations syst\xE8me");
  EXPECT_EQ(Caption("Label2"), "M\xE9moire utilis\xE9" "e");
  EXPECT_EQ(Caption("Label17"), "Adresse IP");  // the hidden panel too
  EXPECT_EQ(Hint("SpeedButton6"), "Anglais");
  EXPECT_EQ(main->Caption(), "  Velmora Information du Syst\xE8me 1.0");
  // Unicode captions are not the translator's.
  EXPECT_EQ(main->Get<TWideLabel>("WideLabel1").Caption(), u"CPU Usage");
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

TEST_F(ShippedDictionaryTest, EveryLanguageHasItsOwnWords) {
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
      {"SpeedButton3", "Portuguese", "Espa\xE7o livre", "Nome do computador"},
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

TEST_F(ShippedFilePlacesTest, ADamagedFileIsSaidOnceAndTheWindowRunsInEnglish) {
  Bytes damaged = ShippedFile();
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
  EXPECT_LT(std::stoul(offset[1]), ShippedFile().size());
  EXPECT_FALSE(main->Get<TIvTranslator>("IvTranslator1").Active());
  EXPECT_EQ(Caption("Label13"), "System Information");
  EXPECT_EQ(Caption("Label1"), "English");
  // The flags still switch what the window sets itself, and say nothing more.
  Click("SpeedButton7");
  EXPECT_EQ(main->Caption(), "  Velmora Information du Syst\xE8me 1.0");
  EXPECT_EQ(Caption("Label13"), "System Information");
  EXPECT_EQ(fp.windows.messageBoxes.size(), 1u);
}

TEST_F(ShippedFilePlacesTest, AFileInTheCurrentFolderDoesNotReplaceTheOneBesideTheProgram) {
  std::string planted = ShippedTable();
  const std::string french = "Espace libre";
  ASSERT_NE(planted.find(french), std::string::npos);
  planted.replace(planted.find(french), french.size(), "Espace PLANTED");
  store.Put(kCurrent, BuildMldFromTable(planted, {}));
  store.Put(kBeside, ShippedFile());
  Start();
  Click("SpeedButton7");
  EXPECT_EQ(Caption("Label8"), "Espace libre");
  EXPECT_TRUE(fp.windows.messageBoxes.empty());
}

}  // namespace
}  // namespace vsi
