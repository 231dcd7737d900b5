#include <gtest/gtest.h>

#include "app/languages.h"
#include "app/main_form.h"
#include "app/program.h"
#include "calendar/calendar_group.h"
#include "controls/ui_labels.h"
#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/description.h"
#include "unit/i18n/i18n_test_util.h"

namespace vsi {
namespace {

// The main window shown with a given stored language value (or none).
class LanguageTest : public ::testing::Test {
 protected:
  void Start() {
    RegisterAllClasses();
    CreateProgram(app);
    main = dynamic_cast<TMain*>(app.MainForm());
    main->Show();
  }
  void Store(const std::string& value) { fp.registry.SetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue, value); }
  std::string State() { return main->Get<TControl>("Label1").Caption(); }
  TMonthCalendarGroup& Calendar() { return main->Get<TMonthCalendarGroup>("MonthCalendarGroup1"); }
  void Click(const char* button) { main->Get<TControl>(button).Click(); }
  std::vector<std::string> Errors() {
    std::vector<std::string> out;
    for (auto& m : fp.windows.messageBoxes) out.push_back(m.text);
    return out;
  }

  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TApplication app{ctx};
  TMain* main = nullptr;
};

TEST_F(LanguageTest, FirstRunComesUpInEnglishAndStoresItAtClose) {
  Start();
  EXPECT_EQ(State(), "English");
  EXPECT_EQ(main->Caption(), "  Velmora System Info 1.0");
  EXPECT_EQ(main->Get<TUiURLLabel>("UiURLLabel1").URL(), "http://www.velmora.com");
  EXPECT_FALSE(fp.registry.HasKey(HKEY_CURRENT_USER_, kSettingsKey)) << "nothing written before close";
  main->Close();
  EXPECT_EQ(fp.registry.GetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue), "English");
  EXPECT_TRUE(Errors().empty());
}

TEST_F(LanguageTest, StoredSwedishIsRestored) {
  Store("Swedish");
  Start();
  EXPECT_EQ(State(), "Swedish");
  EXPECT_EQ(main->Caption(), "  Velmora Systeminformation 1.0");
  EXPECT_EQ(Calendar().NameOfDays()->Name(6), "L") << "Saturday";
  EXPECT_EQ(Calendar().NameOfMonths()->Name(8), "Augusti");
  EXPECT_EQ(Calendar().NameOfMonths()->Name(5), "Maj");
}

TEST_F(LanguageTest, AnythingButAnExactNameIsEnglish) {
  for (const char* stored : {"french", "French ", "", "Klingon"}) {
    fake::FakePlatform f;
    f.registry.SetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue, stored);
    AppContext c{f.platform()};
    TApplication a{c};
    CreateProgram(a);
    a.MainForm()->Show();
    EXPECT_EQ(dynamic_cast<TMain*>(a.MainForm())->Get<TControl>("Label1").Caption(), "English") << "'" << stored << "'";
    EXPECT_TRUE(f.windows.messageBoxes.empty()) << stored;
  }
}

TEST_F(LanguageTest, AStoredNumberShowsTheRegistryErrorAndLeavesTheShowFillUndone) {
  fp.registry.SetDword(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue, 5);
  fp.processes.Script("C:\\WINDOWS\\system32\\ipconfig.exe", {{"output"}, 1});
  Start();
  EXPECT_EQ(Errors(), std::vector<std::string>{"Invalid data type for 'Language1'"});
  EXPECT_EQ(main->Get<TWideLabel>("WideLabel8").Caption(), u" ") << "FormShow stopped at its first step";
  EXPECT_NE(main->Get<TWideLabel>("WideLabel22").Caption(), u" ") << "the drive column was filled before";
  EXPECT_TRUE(fp.processes.starts.empty()) << "no capture";
  EXPECT_EQ(main->Caption(), "  Velmora System Info 1.0");
}

TEST_F(LanguageTest, EachFlagAppliesItsWholeRowAndSwitchingBackRestoresIt) {
  Start();
  main->SetSlot("WideLabel9", "1280 x 1024");
  for (const LanguageRow& row : kLanguages) {
    Click(row.button);
    EXPECT_EQ(State(), row.state);
    EXPECT_EQ(main->Caption(), row.caption);
    EXPECT_EQ(main->Get<TUiURLLabel>("UiURLLabel1").URL(), std::string(kHomePage) + row.page);
    EXPECT_EQ(GetIntProp(main->Get<TComponent>("IvDictionary1"), "Language"), row.index);
    for (int m = 0; m < 12; ++m) EXPECT_EQ(Calendar().NameOfMonths()->Name(m + 1), row.months[m]) << row.state;
    for (int d = 0; d < 7; ++d) EXPECT_EQ(Calendar().NameOfDays()->Name(d + 1), row.days[d]) << row.state;
    EXPECT_EQ(main->Get<TWideLabel>("WideLabel9").Caption(), u"1280 x 1024") << "slots keep their values";
  }
  Click("SpeedButton7");
  Click("SpeedButton1");
  Click("SpeedButton7");
  EXPECT_EQ(Calendar().NameOfMonths()->Name(4), "Avril ") << "with its blank";
  EXPECT_EQ(main->Caption(), "  Velmora Information du Syst\xe8me 1.0");
  EXPECT_TRUE(Errors().empty());
}

TEST_F(LanguageTest, AFlagWhoseCodePageTheSystemLacksIsRefusedAndEnglishStays) {
  // A Russian Windows: the shipped languages are Western; English shows on any code page.
  fp.locale.acp = 1251;
  testing_i18n::MemoryStore store{fp.system};
  ctx.Service<TIvDictionaryStorage>().SetStore(&store);
  store.Put("C:\\Program Files\\Velmora\\toolbar1.mld", testing_i18n::ShippedDictionaryFile());
  Start();
  ASSERT_TRUE(main->Get<TIvBinaryDictionary>("IvDictionary1").Active());
  ASSERT_EQ(State(), "English");
  for (int attempt = 0; attempt < 2; ++attempt) {  // refused each time, never taken silently
    fp.windows.Deliver(main->Get<TControl>("SpeedButton7").Handle(), [](IWindowEvents& e) {
      e.WmMouseDown(mbLeft, 0, 20, 12);
      e.WmMouseUp(mbLeft, 0, 20, 12);
    });
    ASSERT_EQ(Errors().size(), size_t(attempt + 1));
    EXPECT_EQ(Errors().back(), "French is not supported by the code page.");
    EXPECT_EQ(main->Get<TControl>("Label2").Caption(), "Memory Used");
    EXPECT_EQ(State(), "English");
    EXPECT_EQ(main->Caption(), "  Velmora System Info 1.0");
    EXPECT_EQ(GetIntProp(main->Get<TComponent>("IvDictionary1"), "Language"), 0);
  }
  main->Close();
  EXPECT_EQ(fp.registry.GetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue), "English");
}

TEST_F(LanguageTest, AFailingStoreIsReportedAndTheWindowClosesAllTheSame) {
  Start();
  fp.registry.FailValueWrite(HKEY_CURRENT_USER_, kSettingsKey);
  // The close box, as the window system delivers it.
  bool closeAllowed = false;
  fp.windows.Deliver(main->Handle(), [&](IWindowEvents& sink) { closeAllowed = sink.WmClose(); });
  EXPECT_TRUE(closeAllowed) << "the user can always quit";
  EXPECT_EQ(Errors(), std::vector<std::string>{"Failed to set data for 'Language1'"});
  main->Close();
  EXPECT_FALSE(main->HandleAllocated());
  EXPECT_TRUE(fp.windows.quitPosted);
}

TEST_F(LanguageTest, TheStoredLanguageIsReadWithReadAccessOnly) {
  // A settings key the user may read but not write (a locked-down profile): the language
  // still comes back.
  Store("German");
  fp.registry.DenyAccess(HKEY_CURRENT_USER_, kSettingsKey, fake::KEY_SET_VALUE_ | fake::KEY_CREATE_SUB_KEY_);
  Start();
  EXPECT_EQ(State(), "German");
  EXPECT_TRUE(Errors().empty());
  for (const auto& open : fp.registry.OpenLog()) {
    if (open.subKey == kSettingsKey && !open.create) {
      EXPECT_EQ(open.access, KEY_READ_);
    }
  }
}

TEST_F(LanguageTest, BitBtn2BlanksTheJanuaryName) {
  Start();
  Click("BitBtn2");
  EXPECT_EQ(Calendar().NameOfMonths()->Name(1), " ");
}

}  // namespace
}  // namespace vsi
