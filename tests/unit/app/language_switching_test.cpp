#include <gtest/gtest.h>

#include "app/languages.h"
#include "app/window_place.h"
#include "calendar/calendar_group.h"
#include "program_fixture.h"
#include "unit/i18n/i18n_test_util.h"

namespace vsi {
namespace {

// The main window shown with a given stored language value (or none).
class LanguageTest : public ProgramFixture {
 protected:
  void Store(const std::string& value) { fp.registry.SetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue, value); }
  std::string State() { return main->Get<TControl>("Label1").Caption(); }
  TMonthCalendarGroup& Calendar() { return main->Get<TMonthCalendarGroup>("MonthCalendarGroup1"); }
  std::vector<std::string> Errors() { return Boxes(); }
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
    ProgramOnFake p([&](fake::FakePlatform& f) {
      f.registry.SetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue, stored);
    });
    p.Start();
    EXPECT_EQ(p.Part("Label1").Caption(), "English") << "'" << stored << "'";
    EXPECT_TRUE(p.Boxes().empty()) << stored;
  }
}

TEST_F(LanguageTest, AStoredNumberIsSaidOnceAndTheWindowIsFilledInEnglishWithTheValueLeftAlone) {
  fp.registry.SetDword(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue, 5);
  fp.processes.Script("C:\\WINDOWS\\system32\\ipconfig.exe", {{"output"}, 1});
  Start();
  EXPECT_EQ(Errors(), std::vector<std::string>{"Invalid data type for 'Language1'"});
  EXPECT_EQ(State(), "English");
  EXPECT_EQ(main->Caption(), "  Velmora System Info 1.0");
  EXPECT_NE(main->Get<TWideLabel>("WideLabel8").Caption(), u" ") << "the show fill went on";
  EXPECT_EQ(main->Get<TMemo>("Memo2").Text(), "output") << "and so did the capture";
  main->Close();
  auto stored = fp.registry.GetValue(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue);
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->type, REG_DWORD_) << "left as it was until the user chooses";
  EXPECT_EQ(Errors().size(), 1u);
}

// A stored language this system or dictionary cannot give: one box, an English window that is
// filled in, and the stored choice kept for a system that can.
TEST_F(LanguageTest, AStoredLanguageTheCodePageRefusesGivesOneBoxAndAFullEnglishWindow) {
  struct Case {
    const char* name;
    bool runLanguage;  // given by /lang instead of stored
  };
  for (const Case& c : {Case{"stored", false}, Case{"for this run", true}}) {
    ProgramOnFake p([](fake::FakePlatform& f) {
      f.locale.acp = 1251;  // a Russian Windows: the Western languages are refused
      f.registry.SetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue, "German");
      f.processes.Script("C:\\WINDOWS\\system32\\ipconfig.exe", {{"output"}, 1});
    });
    fake::FakePlatform& f = p.fp;
    testing_i18n::MemoryStore store{f.system};
    p.ctx.Service<TIvDictionaryStorage>().SetStore(&store);
    store.Put("C:\\Program Files\\Velmora\\toolbar1.mld", testing_i18n::ShippedDictionaryFile());
    TMain* m = &p.Create();
    if (c.runLanguage) m->SetLanguageForRun(LanguageByState("French"));
    m->Show();
    ASSERT_EQ(f.windows.messageBoxes.size(), 1u) << c.name;
    EXPECT_EQ(f.windows.messageBoxes[0].text,
              std::string(c.runLanguage ? "French" : "German") + " is not supported by the code page.")
        << c.name;
    EXPECT_EQ(m->Get<TControl>("Label1").Caption(), "English") << c.name;
    EXPECT_EQ(m->Caption(), "  Velmora System Info 1.0") << c.name;
    EXPECT_NE(m->Get<TWideLabel>("WideLabel8").Caption(), u" ") << c.name;
    EXPECT_EQ(m->Get<TMemo>("Memo2").Text(), "output") << c.name;
    m->Close();
    EXPECT_EQ(f.registry.GetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue), "German") << c.name;
  }
}

TEST_F(LanguageTest, AFlagClickIsStoredAtOnceAndTheLastChoiceOfTwoCopiesWins) {
  Start();
  Click("SpeedButton8");
  EXPECT_EQ(fp.registry.GetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue), "Dutch")
      << "no way of ending the program loses it";
  // A second copy on the same registry: the choice made last is kept, whichever closes last.
  AppContext ctx2{fp.platform()};
  TApplication app2{ctx2};
  CreateProgram(app2);
  auto* second = dynamic_cast<TMain*>(app2.MainForm());
  second->Show();
  EXPECT_EQ(second->Get<TControl>("Label1").Caption(), "Dutch");
  second->Get<TControl>("SpeedButton7").Click();
  second->Close();
  main->Close();
  EXPECT_EQ(fp.registry.GetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue), "French");
  EXPECT_TRUE(Errors().empty());
}

TEST_F(LanguageTest, TheSessionsEndStoresWhatACloseWouldWithoutABox) {
  Start();
  main->MoveTo({40, 60});
  fp.windows.Deliver(main->Handle(), [](IWindowEvents& e) { e.WmEndSession(); });
  EXPECT_EQ(fp.registry.GetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue), "English") << "first run";
  const std::string place = fp.registry.GetString(HKEY_CURRENT_USER_, kSettingsKey, kPlaceValue).value_or("");
  EXPECT_EQ(StoredPlace(place, MonitorLayout(fp.windows.monitors)), std::optional<TPoint>(TPoint{40, 60})) << place;
  // A key that refuses the value: nobody is left to read a box.
  ProgramOnFake p([](fake::FakePlatform& f) { f.registry.FailValueWrite(HKEY_CURRENT_USER_, kSettingsKey); });
  p.Start();
  p.fp.windows.Deliver(p.Main().Handle(), [](IWindowEvents& e) { e.WmEndSession(); });
  EXPECT_TRUE(p.Boxes().empty());
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
