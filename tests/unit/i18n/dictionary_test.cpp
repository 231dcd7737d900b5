#include "i18n/dictionary.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/forms.h"
#include "framework/strings.h"
#include "i18n_test_util.h"

namespace vsi {
namespace {

using testing_i18n::MakeLanguage;
using testing_i18n::MemoryDictionary;
using testing_i18n::RecordingTranslator;
using testing_i18n::Row;

// English (native), French, German (Germany and Austria), Russian.
class IvDictionaryTest : public ::testing::Test {
 protected:
  IvDictionaryTest() {
    ILocale& l = fp.locale;
    dict->languages = {MakeLanguage(l, 9, "1", 1252), MakeLanguage(l, 12, "", 1252),
                       MakeLanguage(l, 7, "1,3", 1252), MakeLanguage(l, 25, "", 1251)};
    dict->rows = {
        {"Close", "", "", {"Fermer", "Schliessen", "Zakryt"}},
        {"File not found", "", "", {"Fichier introuvable", "Datei nicht gefunden", ""}},
        {"Open", "", "", {"", "", ""}},
        {"Edit", "", "", {"", "Bearbeiten", ""}},
    };
  }
  void Open() {
    dict->Open();
    ASSERT_TRUE(dict->Active());
  }
  AnsiString Lookup(const AnsiString& text) { return TranslateText(dict, text); }

  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TComponent root{ctx};
  MemoryDictionary* dict = new MemoryDictionary(&root);
};

// --- Registry ------------------------------------------------------------------------------

TEST_F(IvDictionaryTest, RegistryNamesAndFindsDictionaries) {
  auto* second = new MemoryDictionary(&root);
  TIvDictionaries& registry = Dictionaries(ctx);
  EXPECT_EQ(registry.Count(), 2);
  EXPECT_EQ(dict->DictionaryName(), "Dictionary1");
  EXPECT_EQ(second->DictionaryName(), "Dictionary2");
  EXPECT_EQ(registry.FindByName("Dictionary2"), second);
  EXPECT_EQ(registry.FindByName("dictionary2"), nullptr);  // case counts
  second->SetDictionaryName("Main");
  EXPECT_EQ(registry.FindByName("Main"), second);
  delete second;
  EXPECT_EQ(registry.Count(), 1);
  EXPECT_EQ(registry.FindByName("Main"), nullptr);
}

TEST_F(IvDictionaryTest, GeneratedNameSkipsNamesInUse) {
  dict->SetDictionaryName("Dictionary2");
  auto* second = new MemoryDictionary(&root);
  EXPECT_EQ(second->DictionaryName(), "Dictionary3");
}

TEST_F(IvDictionaryTest, DefaultDictionaryIndexIsChecked) {
  TIvDictionaries& registry = Dictionaries(ctx);
  EXPECT_EQ(DefaultDictionary(ctx), dict);
  registry.SetDefaultDictionaryIndex(2);
  try {
    DefaultDictionary(ctx);
    FAIL() << "no range error";
  } catch (const ERangeError& e) {
    EXPECT_STREQ(e.what(), "DefaultDictionaryIndex is out or range: 2");
  }
  EXPECT_FALSE(registry.DefaultDictionaryActive());  // asking does not raise
  registry.SetDefaultDictionaryIndex(-1);
  EXPECT_THROW(DefaultDictionary(ctx), ERangeError);
  delete dict;
  dict = nullptr;
  EXPECT_EQ(DefaultDictionary(ctx), nullptr);  // nothing to check without dictionaries
}

TEST_F(IvDictionaryTest, DefaultsOfANewDictionary) {
  EXPECT_TRUE(dict->Enabled());
  EXPECT_EQ(dict->PrimaryLanguage(), 0);
  EXPECT_EQ(dict->SubLanguage(), 1);
  EXPECT_EQ(dict->Language(), -1);
  EXPECT_EQ(dict->Binding(), ivbiLocaleToLanguage);
  EXPECT_EQ(dict->Options(), 127);
  EXPECT_EQ(dict->MissingTranslation(), ivmtUseNative);
  EXPECT_EQ(dict->CheckLevel(), ivclCodePage);
  EXPECT_FALSE(dict->Active());
  EXPECT_EQ(GetIntProp(*dict, "Options"), 127);
  EXPECT_EQ(GetIntProp(*dict, "SubLanguage"), 1);
}

// --- Opening and selecting ---------------------------------------------------------------------

TEST_F(IvDictionaryTest, OpenWithTheUserLocaleOfAustriaPicksGerman) {
  fp.locale.userDefaultLcid = 0x0C07;
  Open();
  EXPECT_EQ(dict->SelectedIndex(), 2);  // sub 3 is in German's list
  EXPECT_EQ(dict->CurrentLanguage().currentSubLanguage, 3);
  EXPECT_EQ(dict->ActualLocale(), 0x0C07u);
  EXPECT_EQ(fp.locale.threadLocale, 0x0C07u);
  EXPECT_EQ(ctx.format().longMonthNames[0], "J\xE4nner");
  EXPECT_EQ(Lookup("Close"), "Schliessen");
}

TEST_F(IvDictionaryTest, OpenDoesNothingWhenTheStorageCannotOpen) {
  dict->canOpen = false;
  dict->Open();
  EXPECT_FALSE(dict->Active());
  EXPECT_EQ(dict->loads, 0);
}

TEST_F(IvDictionaryTest, LanguageStoredWhileInactiveFailsAtOpenAndCloses) {
  dict->SetLanguage(99);  // no range check yet
  EXPECT_EQ(dict->Language(), 99);
  RecordingTranslator translator(dict);
  std::vector<std::string> events;
  dict->OnBeforeClose = [&](TObject*) { events.push_back("before close"); };
  dict->OnAfterClose = [&](TObject*) { events.push_back("after close"); };
  EXPECT_THROW(dict->Open(), ERangeError);
  EXPECT_FALSE(dict->Active());
  EXPECT_EQ(events, (std::vector<std::string>{"before close", "after close"}));
  EXPECT_EQ(translator.deactivations, 1);
  EXPECT_EQ(dict->TranslatorCount(), 0);
}

TEST_F(IvDictionaryTest, LanguageRangeIsCheckedWhileActive) {
  dict->SetLanguage(0);
  Open();
  for (int bad : {-3, 4, 100}) {
    try {
      dict->SetLanguage(bad);
      FAIL() << bad;
    } catch (const ERangeError& e) {
      EXPECT_EQ(std::string(e.what()), "Language index " + std::to_string(bad) + " is out of range");
    }
    EXPECT_EQ(dict->Language(), 0);
    EXPECT_EQ(dict->SelectedIndex(), 0);
  }
}

TEST_F(IvDictionaryTest, SwitchingLanguageReloadsRelocalesAndNotifies) {
  dict->SetLanguage(0);
  Open();
  RecordingTranslator translator(dict);
  int languageEvents = 0, localeEvents = 0;
  dict->OnLanguageChange = [&](TObject*) { ++languageEvents; };
  dict->OnLocaleChange = [&](TObject*) { ++localeEvents; };
  int loads = dict->loads;

  dict->SetLanguage(1);
  EXPECT_EQ(dict->loads, loads + 1);
  EXPECT_EQ(Lookup("Close"), "Fermer");
  EXPECT_EQ(fp.locale.threadLocale, 0x040Cu);
  EXPECT_EQ(ctx.format().decimalSeparator, ',');
  EXPECT_EQ(ctx.format().longMonthNames[7], "ao\xFBt");
  EXPECT_EQ(translator.changes, (std::vector<std::pair<bool, bool>>{{true, true}}));
  EXPECT_EQ(languageEvents, 1);
  EXPECT_EQ(localeEvents, 1);

  // The same value again: nothing at all.
  dict->SetLanguage(1);
  EXPECT_EQ(dict->loads, loads + 1);
  EXPECT_EQ(translator.changes.size(), 1u);
  EXPECT_EQ(languageEvents, 1);
}

TEST_F(IvDictionaryTest, AutoTranslateOffKeepsTranslatorsUninformed) {
  dict->SetLanguage(0);
  Open();
  RecordingTranslator translator(dict);
  dict->SetOptions(dict->Options() & ~IvOption(ivdoAutoTranslate));
  dict->SetLanguage(2);
  EXPECT_TRUE(translator.changes.empty());
}

TEST_F(IvDictionaryTest, NativeLanguageTranslatesThroughTheFallbackOnly) {
  dict->SetLanguage(0);
  Open();
  EXPECT_EQ(dict->TranslationCount(), 0);  // language 0 has no column, fallback is 0 too
  EXPECT_EQ(Lookup("Close"), "Close");
}

TEST_F(IvDictionaryTest, FallbackToTheSameLanguageWithoutSublanguages) {
  // German (Switzerland) covers sub 2 only; plain German stands in for it.
  dict->languages.push_back(MakeLanguage(fp.locale, 7, "2", 1252));
  dict->languages[2] = MakeLanguage(fp.locale, 7, "", 1252);
  for (Row& r : dict->rows) r.texts.push_back(r.original == "Close" ? "Schliessen (CH)" : "");
  dict->SetLanguage(4);
  Open();
  EXPECT_EQ(dict->FallbackIndex(), 2);
  EXPECT_EQ(Lookup("Close"), "Schliessen (CH)");
  EXPECT_EQ(Lookup("Edit"), "Bearbeiten");
  AnsiString t;
  ASSERT_TRUE(dict->Translate("Edit", t));
  const auto& table = dict->Translations();
  auto it = std::find_if(table.begin(), table.end(), [](const TIvTranslation& e) { return e.original == "Edit"; });
  ASSERT_NE(it, table.end());
  EXPECT_EQ(it->source, 1);
}

TEST_F(IvDictionaryTest, FallbackFindsTheSelectedLanguageItselfWhenAlone) {
  dict->SetLanguage(2);
  Open();
  EXPECT_EQ(dict->FallbackIndex(), 2);
}

TEST_F(IvDictionaryTest, MasterLanguageReplacesOnlyAFallbackOfZero) {
  dict->SetMasterLanguage(1);
  dict->SetLanguage(3);  // Russian, no sublanguages: fallback 0 -> master
  dict->SetCheckLevel(ivclNone);
  Open();
  EXPECT_EQ(dict->FallbackIndex(), 1);
  EXPECT_EQ(Lookup("File not found"), "Fichier introuvable");
  dict->SetLanguage(2);  // German: fallback is German itself
  EXPECT_EQ(dict->FallbackIndex(), 2);
}

TEST_F(IvDictionaryTest, LanguageNotOnTheCodePageIsRefusedAndTheOneInForceStays) {
  dict->SetLanguage(1);
  Open();
  RecordingTranslator translator(dict);
  int loads = dict->loads;
  for (int attempt = 0; attempt < 2; ++attempt) {  // refused again, not taken as already chosen
    try {
      dict->SetLanguage(3);
      FAIL();
    } catch (const EIvMulti& e) {
      EXPECT_STREQ(e.what(), "Russian is not supported by the code page");
    }
    EXPECT_EQ(dict->Language(), 1);
    EXPECT_EQ(dict->SelectedIndex(), 1);
    EXPECT_EQ(dict->CurrentLanguage().englishName, "French");
    EXPECT_EQ(Lookup("File not found"), "Fichier introuvable");
    EXPECT_EQ(dict->loads, loads);
    EXPECT_TRUE(translator.changes.empty());
  }
}

TEST_F(IvDictionaryTest, CheckLevels) {
  dict->languages.push_back(MakeLanguage(fp.locale, 18, "1", 1361, "Korean"));  // Johab: not supported
  dict->SetLanguage(0);
  Open();
  dict->SetCheckLevel(ivclSystem);
  dict->SetLanguage(3);  // Russian: the system supports 1251
  EXPECT_EQ(dict->SelectedIndex(), 3);
  try {
    dict->SetLanguage(4);
    FAIL();
  } catch (const EIvMulti& e) {
    EXPECT_STREQ(e.what(), "Korean is not supported by the system");
  }
  dict->SetCheckLevel(ivclNone);
  dict->SetLanguage(0);
  dict->SetLanguage(4);
  EXPECT_EQ(dict->SelectedIndex(), 4);
}

TEST_F(IvDictionaryTest, NoSupportedLanguageIsReported) {
  fp.locale.acp = 1250;
  dict->languages = {MakeLanguage(fp.locale, 12, "", 1252), MakeLanguage(fp.locale, 25, "", 1251)};
  fp.locale.userDefaultLcid = 0x0411;  // Japanese: in no language of the dictionary
  try {
    dict->Open();
    FAIL();
  } catch (const EIvMulti& e) {
    EXPECT_STREQ(e.what(), "System does not support any language of the dicitonary!");
  }
  EXPECT_FALSE(dict->Active());
}

TEST_F(IvDictionaryTest, DictionaryWithoutLanguagesCannotOpen) {
  dict->languages.clear();
  EXPECT_THROW(dict->Open(), EIvMulti);
  EXPECT_FALSE(dict->Active());
}

TEST_F(IvDictionaryTest, FirstSupportedLanguageStartsAtTheMaster) {
  fp.locale.acp = 1251;
  dict->SetCheckLevel(ivclCodePage);
  EXPECT_EQ(dict->FirstSupportedLanguage(), 0);  // English passes everywhere
  dict->SetMasterLanguage(1);
  EXPECT_EQ(dict->FirstSupportedLanguage(), 3);  // French and German fail on 1251
  dict->SetMasterLanguage(9);                    // out of range: from 0
  EXPECT_EQ(dict->FirstSupportedLanguage(), 0);
  dict->languages.clear();
  EXPECT_EQ(dict->FirstSupportedLanguage(), -1);
}

TEST_F(IvDictionaryTest, FindLanguageOrder) {
  fp.locale.userDefaultLcid = 0x0807;  // German (Switzerland): sub 2 is in no list
  EXPECT_EQ(dict->FindLanguage(0), 0);
  EXPECT_EQ(dict->FindLanguage(0x0407), 2);
  EXPECT_EQ(dict->FindLanguage(0x0C07), 2);
  EXPECT_EQ(dict->FindLanguage(0x080C), 1);  // French without sublanguages takes any sub
  EXPECT_EQ(dict->FindLanguage(0x0400), 2);  // resolved first
  EXPECT_EQ(dict->FindLanguage(0x0411), -1);
  dict->languages.push_back(MakeLanguage(fp.locale, 7, "", 1252));
  EXPECT_EQ(dict->FindLanguage(0x0807), 4);  // no exact sub: the German without a list
}

TEST_F(IvDictionaryTest, LanguageAt) {
  dict->SetLanguage(1);
  Open();
  EXPECT_EQ(&dict->LanguageAt(1), &dict->CurrentLanguage());
  EXPECT_EQ(dict->LanguageAt(3).primary, 25);
  EXPECT_EQ(dict->LanguageAt(2).primary, 7);
  for (int bad : {4, -1}) {
    try {
      dict->LanguageAt(bad);
      FAIL() << bad;
    } catch (const ERangeError& e) {
      EXPECT_STREQ(e.what(), "Out of language range");
    }
  }
}

// --- Locales -------------------------------------------------------------------------------------

TEST_F(IvDictionaryTest, CustomLocaleWinsOverTheSystem) {
  TIvLocale custom;
  ASSERT_TRUE(FillLocaleFromSystem(fp.locale, 0x040C, custom));
  custom.currencySymbol = "FF";
  custom.shortDateFormat = "dd.MM.yy";
  dict->locales = {custom};
  dict->SetLanguage(1);
  Open();
  EXPECT_EQ(dict->CurrentLocale().currencySymbol, "FF");
  EXPECT_EQ(ctx.format().currencyString, "FF");
  EXPECT_EQ(ctx.format().shortDateFormat, "dd.MM.yyyy");  // four-digit years
  EXPECT_TRUE(dict->IsLocaleAvailable(0x040C));
  fp.locale.RemoveLocale(0x040C);
  EXPECT_TRUE(dict->IsLocaleAvailable(0x040C));  // still a custom locale
  EXPECT_TRUE(dict->IsLocaleAvailable(0x0407));
  EXPECT_FALSE(dict->IsLocaleAvailable(0x0436));
}

TEST_F(IvDictionaryTest, LocaleRefusalNamesTheLocaleAsPassed) {
  dict->SetBinding(ivbiNone);
  dict->SetLanguage(0);
  Open();
  try {
    dict->SetLocaleSetting(0x0419);
    FAIL();
  } catch (const EIvMulti& e) {
    EXPECT_STREQ(e.what(), "The locale (25, 1) is not supported by the current code page");
  }
  fp.locale.userDefaultLcid = 0x0419;
  try {
    dict->SetLocaleSetting(0x0400);
    FAIL();
  } catch (const EIvMulti& e) {
    EXPECT_STREQ(e.what(), "The locale (0, 1) is not supported by the current code page");
  }
  dict->SetCheckLevel(ivclSystem);
  fp.locale.supportedCodePages = {1252};
  try {
    dict->SetLocaleSetting(0x0408);
    FAIL();
  } catch (const EIvMulti& e) {
    EXPECT_STREQ(e.what(), "The locale (8, 1) is not supported by the system");
  }
}

TEST_F(IvDictionaryTest, LocaleSettingWhileInactiveIsOnlyStored) {
  dict->SetPrimaryLanguage(12);
  EXPECT_EQ(dict->LocaleSetting(), 0x040Cu);
  dict->SetSubLanguage(2);
  EXPECT_EQ(dict->LocaleSetting(), 0x080Cu);
  EXPECT_EQ(fp.locale.setThreadLocaleCalls, 0);
}

TEST_F(IvDictionaryTest, LanguageFollowsTheLocaleSetting) {
  dict->SetBinding(ivbiLanguageToLocale);
  dict->SetLocaleSetting(0x0407);
  Open();
  EXPECT_EQ(dict->SelectedIndex(), 2);
  EXPECT_EQ(dict->TranslationLocale(), 0x0407u);
  RecordingTranslator translator(dict);
  dict->SetPrimaryLanguage(12);  // French (France)
  EXPECT_EQ(dict->SelectedIndex(), 1);
  EXPECT_EQ(translator.changes, (std::vector<std::pair<bool, bool>>{{true, true}}));
  dict->SetSubLanguage(1);  // unchanged setting: nothing
  EXPECT_EQ(translator.changes.size(), 1u);
  dict->SetLocaleSetting(0x0C07);  // German (Austria)
  EXPECT_EQ(translator.changes.back(), std::make_pair(true, true));
  dict->SetLocaleSetting(0x0407);  // German (Germany): same language, new locale
  EXPECT_EQ(dict->SelectedIndex(), 2);
  EXPECT_EQ(translator.changes.back(), std::make_pair(false, true));
}

TEST_F(IvDictionaryTest, LocaleFromLanguageAndBack) {
  dict->SetBinding(ivbiNone);
  dict->SetLocaleSetting(0x0409);
  dict->SetLanguage(1);
  Open();
  EXPECT_EQ(dict->ActualLocale(), 0x0409u);
  RecordingTranslator translator(dict);
  dict->LocaleFromLanguage();
  EXPECT_EQ(dict->ActualLocale(), 0x040Cu);
  EXPECT_EQ(translator.changes, (std::vector<std::pair<bool, bool>>{{false, true}}));
  dict->LocaleFromLanguage();  // no change: no notification
  EXPECT_EQ(translator.changes.size(), 1u);

  dict->SetLocaleSetting(0x0C07);
  dict->LanguageFromLocale();
  EXPECT_EQ(dict->SelectedIndex(), 2);
  EXPECT_EQ(translator.changes.back(), std::make_pair(true, false));
}

// --- Format settings -----------------------------------------------------------------------------

TEST_F(IvDictionaryTest, FormatSettingsFollowTheLocale) {
  dict->SetLanguage(0);
  Open();
  TFormatSettings& fs = ctx.format();
  EXPECT_EQ(fs.shortTimeFormat, "h:mm AMPM");  // en-US: 12-hour clock, marker after
  EXPECT_EQ(fs.longTimeFormat, "h:mm:ss AMPM");
  EXPECT_EQ(fs.shortDayNames[0], "Sun");
  EXPECT_EQ(fs.longDayNames[1], "Monday");
  dict->SetLanguage(2);
  EXPECT_EQ(fs.shortTimeFormat, "hh:mm");  // 24 hours with a leading zero
  EXPECT_EQ(fs.longTimeFormat, "hh:mm:ss");
  EXPECT_EQ(fs.thousandSeparator, '.');
  EXPECT_EQ(fs.listSeparator, ';');
  EXPECT_EQ(fs.currencyString, "\x80");
  EXPECT_EQ(fs.longDayNames[0], "Sonntag");
  EXPECT_EQ(fs.shortDayNames[1], "Mo");
  EXPECT_EQ(fs.shortDateFormat, "dd.MM.yyyy");
}

TEST_F(IvDictionaryTest, TimeMarkerBeforeTheTimeAndTwoDigitYears) {
  TIvLocale custom;
  ASSERT_TRUE(FillLocaleFromSystem(fp.locale, 0x040C, custom));
  custom.timeFormat = 0;
  custom.timeMarkerPosition = 1;
  custom.timeLeadingZero = false;
  custom.shortDateFormat = "d/M/yyyy";
  custom.longDateFormat = "dddd d MMMM";
  dict->locales = {custom};
  dict->SetLanguage(1);
  Open();
  EXPECT_EQ(ctx.format().shortTimeFormat, "AMPM h:mm");
  EXPECT_EQ(ctx.format().longTimeFormat, "AMPM h:mm:ss");
  EXPECT_EQ(ctx.format().shortDateFormat, "d/M/yyyy");
  EXPECT_EQ(ctx.format().longDateFormat, "dddd d MMMM");

  dict->SetOptions(dict->Options() & ~IvOption(ivdoYear2000));
  dict->locales[0].shortDateFormat = "dd.MM.yy";
  dict->SetLanguage(0);
  dict->SetLanguage(1);
  EXPECT_EQ(ctx.format().shortDateFormat, "dd.MM.yy");
}

TEST_F(IvDictionaryTest, FormatSettingsStayWithoutTheOptionOrAnUnknownLocale) {
  dict->SetOptions(dict->Options() & ~IvOption(ivdoUpdateLocaleVariables));
  dict->SetLanguage(1);
  Open();
  EXPECT_EQ(ctx.format().decimalSeparator, '.');  // still the user's (en-US)
  EXPECT_EQ(fp.locale.threadLocale, 0x040Cu);     // the thread locale moves anyway

  dict->SetOptions(kIvAllDictionaryOptions);
  dict->SetBinding(ivbiNone);
  dict->SetCheckLevel(ivclNone);
  dict->SetLocaleSetting(0x0436);  // unknown to the system: the settings keep their values
  EXPECT_EQ(dict->CurrentLocale().codePage, 0);
  EXPECT_EQ(ctx.format().decimalSeparator, '.');
  EXPECT_EQ(ctx.format().dateSeparator, '/');
}

TEST_F(IvDictionaryTest, SystemLocaleRecordFollowsTheLocale) {
  dict->languages.push_back(MakeLanguage(fp.locale, 17, "1", 932, "Japanese"));
  dict->SetCheckLevel(ivclNone);
  dict->SetLanguage(4);
  Open();
  TIvSysLocale& record = ctx.Service<TIvSysLocale>();
  EXPECT_EQ(record.defaultLcid, 0x0411u);
  EXPECT_TRUE(record.farEast);
  EXPECT_TRUE(record.leadBytes.count(0x81));
  EXPECT_FALSE(record.leadBytes.count(0xA0));
  dict->SetLanguage(1);
  EXPECT_FALSE(record.farEast);
  EXPECT_TRUE(record.leadBytes.empty());
}

TEST_F(IvDictionaryTest, ReadingOrderFlipsWithRightToLeftLanguages) {
  dict->languages.push_back(MakeLanguage(fp.locale, 1, "1", 1256, "Arabic"));
  dict->SetCheckLevel(ivclNone);
  std::vector<bool> told;
  Dictionaries(ctx).onReadingOrderChange = [&](bool rtl) { told.push_back(rtl); };
  dict->SetLanguage(0);
  Open();
  EXPECT_TRUE(told.empty());
  dict->SetLanguage(4);
  EXPECT_TRUE(Dictionaries(ctx).RightToLeftReading());
  dict->SetLanguage(1);
  EXPECT_EQ(told, (std::vector<bool>{true, false}));
}

TEST_F(IvDictionaryTest, MdiChildRecreatedOnLanguageChangeOnly) {
  int recreated = 0;
  Dictionaries(ctx).recreateMdiChild = [&] { ++recreated; };
  dict->SetLanguage(0);
  Open();
  EXPECT_EQ(recreated, 1);
  dict->SetBinding(ivbiNone);
  dict->SetLocaleSetting(0x0407);
  EXPECT_EQ(recreated, 1);
  dict->SetOptions(dict->Options() & ~IvOption(ivdoRecreateMDIChild));
  dict->SetLanguage(1);
  EXPECT_EQ(recreated, 1);
}

// --- Lookups and the missing-translation policy -----------------------------------------------

TEST_F(IvDictionaryTest, MissingTranslationPolicies) {
  dict->SetLanguage(1);
  Open();
  struct Case {
    TIvMissingTranslation policy;
    const char* text;
    const char* expected;
  } cases[] = {
      {ivmtUseNative, "Close", "Fermer"}, {ivmtUseNative, "Nope", "Nope"}, {ivmtUseNull, "Nope", ""},
      {ivmtTagNative, "Nope", "@Nope@"},  {ivmtTagNative, "Close", "Fermer"},
  };
  for (const Case& c : cases) {
    dict->SetMissingTranslation(c.policy);
    EXPECT_EQ(Lookup(c.text), c.expected) << c.text << " policy " << int(c.policy);
  }
  dict->SetMissingTranslation(ivmtRaiseException);
  try {
    Lookup("Nope");
    FAIL();
  } catch (const EIvMulti& e) {
    EXPECT_STREQ(e.what(), "Dictionary does not contain a translation for the word \"Nope\"");
  }
  try {
    dict->ApplyMissingTranslation("Open", true, "");
    FAIL();
  } catch (const EIvMulti& e) {
    EXPECT_STREQ(e.what(), "Translation for the word \"Open\" is missing");
  }
  EXPECT_EQ(Lookup(""), "");  // an empty text is never looked up
  EXPECT_EQ(TranslateText(nullptr, "Close"), "Close");
}

TEST_F(IvDictionaryTest, ContextModeLookups) {
  dict->contextMode = true;
  dict->rows = {
      {"Close", "TMain", "Button1", {"Fermer la fenetre"}},
      {"Close", "TAbout", "Button2", {"Fermer"}},
      {"Closed", "TMain", "", {"Ferme"}},
      {"Clos", "", "", {"Clos (fr)"}},
      {"Load error", "", "4711", {"Erreur de chargement"}},
  };
  dict->SetLanguage(1);
  Open();
  ASSERT_TRUE(dict->ContextMode());
  AnsiString t;
  ASSERT_TRUE(dict->TranslateInContext("Close", "TAbout", t, "Button2"));
  EXPECT_EQ(t, "Fermer");
  ASSERT_TRUE(dict->TranslateInContext("Close", "TMain", t, "Button1"));
  EXPECT_EQ(t, "Fermer la fenetre");
  EXPECT_FALSE(dict->TranslateInContext("Close", "TMain", t, "Button2"));
  // Any context will do for the plain lookup, but only the whole original matches.
  ASSERT_TRUE(dict->Translate("Close", t));
  EXPECT_TRUE(t == "Fermer" || t == "Fermer la fenetre");
  ASSERT_TRUE(dict->Translate("Clos", t));
  EXPECT_EQ(t, "Clos (fr)");
  EXPECT_FALSE(dict->Translate("Clo", t));
  EXPECT_FALSE(dict->Translate("Closed TMain", t));
  EXPECT_EQ(TranslateResourceText(dict, "Load error", "4711"), "Erreur de chargement");
}

TEST_F(IvDictionaryTest, PlainModeIgnoresContexts) {
  dict->SetLanguage(1);
  Open();
  AnsiString t;
  ASSERT_TRUE(dict->TranslateInContext("Close", "TWhatever", t, "X"));
  EXPECT_EQ(t, "Fermer");
  EXPECT_FALSE(dict->Translate("close", t));  // case counts
}

TEST_F(IvDictionaryTest, TableIsSortedByUnsignedBytes) {
  dict->rows = {{"\xE9t\xE9", "", "", {"summer"}}, {"zoo", "", "", {"zoo!"}}, {"Abc", "", "", {"abc!"}}};
  dict->SetLanguage(1);
  Open();
  const auto& table = dict->Translations();
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(table[0].original, "Abc");
  EXPECT_EQ(table[2].original, "\xE9t\xE9");  // 0xE9 sorts after 'z'
  EXPECT_EQ(Lookup("\xE9t\xE9"), "summer");
}

TEST_F(IvDictionaryTest, ResourceTextCountsAnEmptyTextAsFound) {
  dict->SetLanguage(1);
  Open();
  EXPECT_EQ(TranslateResourceText(dict, "", "1"), "");
  dict->SetMissingTranslation(ivmtRaiseException);
  EXPECT_THROW(TranslateResourceText(dict, "", "1"), EIvMulti);
  EXPECT_EQ(TranslateResourceText(nullptr, "x", "1"), "x");
}

// --- Native strings ------------------------------------------------------------------------------

TEST_F(IvDictionaryTest, ConvertNativeStringReencodesNonAsciiOriginals) {
  dict->SetLanguage(0);
  Open();  // native code page 1252
  fp.locale.acp = 1251;
  TIvTranslation euro{0, "5 \x80", "TMain", "", "x", ""};
  dict->ConvertNativeString(euro);
  EXPECT_EQ(euro.original, "5 \x88");  // the euro sign's place in Windows-1251
  TIvTranslation ascii{0, "Close", "TMain", "", "x", ""};
  dict->ConvertNativeString(ascii);
  EXPECT_EQ(ascii.original, "Close");
  TIvTranslation noContext{0, "5 \x80", "", "", "x", ""};
  dict->ConvertNativeString(noContext);
  EXPECT_EQ(noContext.original, "5 \x80");
  dict->SetOptions(dict->Options() & ~IvOption(ivdoConvertNativeString));
  dict->ConvertNativeString(euro = {0, "5 \x80", "TMain", "", "x", ""});
  EXPECT_EQ(euro.original, "5 \x80");
  fp.locale.acp = 1252;
  dict->SetOptions(kIvAllDictionaryOptions);
  dict->ConvertNativeString(euro);
  EXPECT_EQ(euro.original, "5 \x80");  // same code page: untouched
}

// --- Names -----------------------------------------------------------------------------------------

TEST_F(IvDictionaryTest, AddLanguageNamesOncePerPrimary) {
  dict->languages.push_back(MakeLanguage(fp.locale, 7, "", 1252));
  TStringList list;
  dict->AddLanguageNames(list, false);
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Strings(2), "German");
  EXPECT_EQ(reinterpret_cast<intptr_t>(list.Objects(2)), 7);
  TStringList native;
  dict->AddLanguageNames(native, true);
  EXPECT_EQ(native.Strings(1), "fran\xE7" "ais");
}

TEST_F(IvDictionaryTest, TranslatedLanguageAndLocaleNames) {
  fp.locale.SetInfo(0x0C1A, LOCALE_SENGLANGUAGE_, "Serbian");
  dict->languages.push_back(MakeLanguage(fp.locale, 26, "3", 1251));
  dict->rows.push_back({"Serbian", "", "", {"Serbe"}});
  dict->rows.push_back({"Cyrillic", "", "", {"cyrillique"}});
  dict->rows.push_back({"German", "", "", {"Allemand"}});
  dict->rows.push_back({"Austria", "", "", {"Autriche"}});
  dict->SetLanguage(1);
  Open();
  const TIvLanguage& serbian = dict->LanguageAt(4);
  EXPECT_EQ(serbian.GetName(ivnkEnglish), "Serbian, Cyrillic");
  EXPECT_EQ(serbian.GetName(ivnkTranslated, dict), "Serbe, cyrillique");
  EXPECT_EQ(serbian.GetName(ivnkTranslated, nullptr, &ctx), "Serbe, cyrillique");  // default dictionary
  TIvLocale austria;
  ASSERT_TRUE(FillLocaleFromSystem(fp.locale, 0x0C07, austria));
  EXPECT_EQ(austria.GetName(ivnkTranslated, dict), "Allemand (Autriche)");
}

// --- Translators ---------------------------------------------------------------------------------

TEST_F(IvDictionaryTest, TranslatorsAreRegisteredOnceAndDeactivatedOnClose) {
  RecordingTranslator a(dict);
  RecordingTranslator b(dict, /*unregisters=*/false);
  dict->RegisterTranslator(&a);
  EXPECT_EQ(dict->TranslatorCount(), 2);
  Open();
  EXPECT_EQ(a.changes.size(), 1u);
  EXPECT_EQ(b.changes.size(), 1u);
  dict->Close();
  EXPECT_FALSE(dict->Active());
  EXPECT_EQ(a.deactivations, 1);
  EXPECT_EQ(b.deactivations, 1);  // removed even though it did not unregister itself
  EXPECT_EQ(dict->TranslatorCount(), 0);
}

TEST_F(IvDictionaryTest, DestructionDeactivatesTranslators) {
  RecordingTranslator a(dict);
  delete dict;
  dict = nullptr;
  EXPECT_EQ(a.deactivations, 1);
  EXPECT_EQ(Dictionaries(ctx).Count(), 0);
}

// --- Error box ---------------------------------------------------------------------------------

class IvDictionaryErrorBox : public ::testing::Test {
 protected:
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
};

TEST_F(IvDictionaryErrorBox, DictionaryInstallsItsHandlerOnce) {
  TApplication app(ctx);
  app.SetTitle("Velmora System Info 1.0");
  app.HandleException(Exception("Before"));
  ASSERT_EQ(fp.windows.messageBoxes.size(), 1u);
  EXPECT_EQ(fp.windows.messageBoxes[0].caption, "Velmora System Info 1.0");

  auto* dict = new MemoryDictionary(&app);
  dict->languages = {MakeLanguage(fp.locale, 9, "1", 1252), MakeLanguage(fp.locale, 7, "1", 1252)};
  dict->rows = {{"File not found", "", "", {"Datei nicht gefunden"}}};
  ASSERT_TRUE(static_cast<bool>(app.OnException));

  struct Case {
    const char* message;
    const char* shown;
  } inactive[] = {{"File not found", "File not found."}, {"Done!", "Done!"}, {"Done.", "Done."}, {"(x)", "(x)"},
                  {"", ""}};
  for (const Case& c : inactive) {
    app.HandleException(Exception(c.message));
    EXPECT_EQ(fp.windows.messageBoxes.back().text, c.shown) << c.message;
    EXPECT_EQ(fp.windows.messageBoxes.back().caption, "Error");
    EXPECT_EQ(fp.windows.messageBoxes.back().type, MB_OK_ | MB_ICONERROR_);
  }
  dict->SetLanguage(1);
  dict->Open();
  app.HandleException(Exception("File not found"));
  EXPECT_EQ(fp.windows.messageBoxes.back().text, "Datei nicht gefunden.");

  // A dictionary that refuses the message still lets the box show it.
  dict->SetMissingTranslation(ivmtRaiseException);
  app.HandleException(Exception("Disk full"));
  EXPECT_EQ(fp.windows.messageBoxes.back().text, "Disk full.");

  // A second dictionary does not replace the handler, which outlives the first.
  auto* second = new MemoryDictionary(&app);
  delete dict;
  app.HandleException(Exception("Gone"));
  EXPECT_EQ(fp.windows.messageBoxes.back().text, "Gone.");
  EXPECT_EQ(fp.windows.messageBoxes.back().caption, "Error");
  delete second;
}

TEST_F(IvDictionaryErrorBox, ExistingHandlerIsKept) {
  TApplication app(ctx);
  int mine = 0;
  app.OnException = [&](TObject*, const std::exception&) { ++mine; };
  new MemoryDictionary(&app);
  app.HandleException(Exception("x"));
  EXPECT_EQ(mine, 1);
  EXPECT_TRUE(fp.windows.messageBoxes.empty());
}

// --- String table and shortcut names ----------------------------------------------------------

class IvResourceStringsTest : public IvDictionaryTest {
 protected:
  IvResourceStringsTest() {
    strings.stringTable = [this](uint32_t id, AnsiString& out) {
      auto it = table.find(id);
      if (it == table.end()) return false;
      out = it->second;
      return true;
    };
    dict->rows.push_back({"Ctrl+", "", "", {"", "Strg+"}});
    dict->rows.push_back({"Del", "", "", {"", "Entf"}});
    dict->rows.push_back({"Cannot open", "", "", {"Impossible d'ouvrir", "Kann nicht oeffnen"}});
  }
  TIvResourceStrings& strings = ctx.Service<TIvResourceStrings>();
  std::map<uint32_t, AnsiString> table{{65001, "Cannot open"}, {65002, "Unknown text"}};
};

TEST_F(IvResourceStringsTest, InterceptionFollowsOpenAndClose) {
  EXPECT_EQ(strings.LoadResString({65001}), "Cannot open");
  dict->SetLanguage(2);
  Open();
  EXPECT_TRUE(strings.Installed());
  EXPECT_EQ(strings.LoadResString({65001}), "Kann nicht oeffnen");
  EXPECT_EQ(strings.LoadResString({65002}), "Unknown text");
  EXPECT_EQ(strings.LoadResString({65003}), "");
  EXPECT_EQ(strings.LoadResString({0x10000, "Cannot open"}), "Kann nicht oeffnen");  // a text given directly
  dict->Close();
  EXPECT_FALSE(strings.Installed());
  EXPECT_EQ(strings.LoadResString({65001}), "Cannot open");
}

TEST_F(IvResourceStringsTest, NotInstalledWithoutTheOption) {
  dict->SetOptions(dict->Options() & ~IvOption(ivdoTranslateResourceStrings));
  Open();
  EXPECT_FALSE(strings.Installed());
}

TEST_F(IvResourceStringsTest, TextsLoadedDuringATranslationStayUntranslated) {
  dict->SetLanguage(2);
  Open();
  AnsiString nested;
  dict->duringTranslate = [&] {
    dict->duringTranslate = nullptr;
    nested = strings.LoadResString({65001});
  };
  EXPECT_EQ(strings.LoadResString({65001}), "Kann nicht oeffnen");
  EXPECT_EQ(nested, "Cannot open");
}

TEST_F(IvResourceStringsTest, FailuresGiveAnEmptyText) {
  dict->SetLanguage(2);
  Open();
  dict->SetMissingTranslation(ivmtRaiseException);
  EXPECT_EQ(strings.LoadResString({65002}), "");
  dict->SetMissingTranslation(ivmtUseNative);
  strings.stringTable = [](uint32_t, AnsiString&) -> bool { throw std::runtime_error("no table"); };
  EXPECT_EQ(strings.LoadResString({65001}), "");
  table[65004] = std::string(2000, 'x');
  strings.stringTable = [this](uint32_t id, AnsiString& out) {
    out = table[id];
    return true;
  };
  EXPECT_EQ(strings.LoadResString({65004}).size(), 1023u);
}

TEST_F(IvResourceStringsTest, ShortCutNames) {
  strings.platformKeyName = [](uint8_t vk) -> AnsiString { return vk == 0xBA ? ";" : vk == 0x91 ? "Scroll Lock" : ""; };
  struct Case {
    uint16_t shortCut;
    const char* expected;
  } cases[] = {
      {scCtrl | 'S', "Ctrl+S"},
      {scShift | scCtrl | scAlt | 116, "Shift+Ctrl+Alt+F5"},
      {135, "F24"},
      {99, "3"},
      {8, "BkSp"},
      {9, "Tab"},
      {13, "Enter"},
      {27, "Esc"},
      {32, "Space"},
      {33, "PgUp"},
      {40, "Down"},
      {45, "Ins"},
      {scAlt | 46, "Alt+Del"},
      {'0', "0"},
      {0xBA, ";"},
      {scCtrl | 0x91, ""},  // a longer platform name gives nothing at all
      {scCtrl | 0x07, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(strings.ShortCutToText(c.shortCut), c.expected) << c.shortCut;
  dict->SetLanguage(2);
  Open();
  EXPECT_EQ(strings.ShortCutToText(scCtrl | 46), "Strg+Entf");
}

}  // namespace
}  // namespace vsi
