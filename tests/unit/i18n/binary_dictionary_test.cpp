#include "i18n/binary_dictionary.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/window_descriptions.h"
#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/description.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "i18n/register.h"
#include "i18n/translator.h"
#include "i18n_test_util.h"

namespace vsi {
namespace {

using testing_i18n::MemoryStore;

MldLanguage Lang(int primary, int defaultSub, const char* subs, int codePage, const char* english,
                 const char* native = "") {
  MldLanguage l;
  l.primary = primary;
  l.defaultSubLanguage = defaultSub;
  l.subLanguages = subs;
  l.codePage = codePage;
  l.englishName = english;
  l.nativeName = native;
  return l;
}

// The eight languages of the main window and two texts.
MldContent MainContent() {
  MldContent c;
  c.languages = {Lang(9, 1, "1", 1252, "English"),    Lang(12, 1, "", 1252, "French"),
                 Lang(7, 1, "1,3", 1252, "German"),   Lang(16, 1, "", 1252, "Italian"),
                 Lang(10, 3, "", 1252, "Spanish"),    Lang(29, 1, "", 1252, "Swedish"),
                 Lang(22, 2, "2", 1252, "Portuguese"), Lang(19, 1, "", 1252, "Dutch")};
  c.translations = {
      {"Drive", "", "", {"Lecteur", "Laufwerk", "Unit\xE0", "Unidad", "Enhet", "Unidade", "Station"}},
      {"Free Space", "", "", {"Espace libre", "Freier Speicher", "", "", "", "", ""}},
  };
  return c;
}

class IvBinaryDictionaryTest : public ::testing::Test {
 protected:
  IvBinaryDictionaryTest() {
    ctx.Service<TIvDictionaryStorage>().SetStore(&store);
    dict->SetFileName("toolbar1.mld");
    dict->SetLanguage(0);
  }
  void Put(const std::string& path, const MldContent& content, MldWriteOptions options = {}) {
    store.Put(path, WriteMld(content, options, MakeMldCodec(fp.locale)));
  }

  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  MemoryStore store{fp.system};
  TComponent root{ctx};
  TIvBinaryDictionary* dict = new TIvBinaryDictionary(&root);
};

// --- Paths -----------------------------------------------------------------------------------

TEST(IvDictionaryPaths, ExpandFileName) {
  struct Case {
    const char* name;
    const char* current;
    const char* expected;
  } cases[] = {
      {"toolbar1.mld", "C:\\Work", "C:\\Work\\toolbar1.mld"},
      {"toolbar1.mld", "C:\\Work\\", "C:\\Work\\toolbar1.mld"},
      {"..\\toolbar1.mld", "C:\\Work", "C:\\toolbar1.mld"},
      {"..\\..\\..\\toolbar1.mld", "C:\\Work", "C:\\toolbar1.mld"},
      {".\\x\\..\\toolbar1.mld", "C:\\Work", "C:\\Work\\toolbar1.mld"},
      {"\\toolbar1.mld", "D:\\Work", "D:\\toolbar1.mld"},
      {"E:\\Dicts\\a.mld", "C:\\Work", "E:\\Dicts\\a.mld"},
      {"sub/a.mld", "C:\\Work", "C:\\Work\\sub\\a.mld"},
      {"\\\\server\\share\\a.mld", "C:\\Work", "\\\\server\\share\\a.mld"},
      {"/tmp/a.mld", "C:\\Work", "/tmp/a.mld"},
      {"", "C:\\Work", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandFileName(c.name, c.current), c.expected) << c.name;
  EXPECT_EQ(ExtractFilePath("C:\\Program Files\\Velmora\\toolbar1.exe"), "C:\\Program Files\\Velmora\\");
  EXPECT_EQ(ExtractFilePath("toolbar1.exe"), "");
}

TEST_F(IvBinaryDictionaryTest, FileIsLookedForBesideTheExecutableFirst) {
  // A file of that name in the folder the program was started from (a download folder, a
  // share) is not preferred to the one that ships beside the program.
  Put("C:\\Work\\toolbar1.mld", MainContent());
  EXPECT_EQ(dict->FileName(), "C:\\Work\\toolbar1.mld") << "the current folder when there is none beside it";

  dict->SetFileName("toolbar1.mld");
  Put("C:\\Program Files\\Velmora\\toolbar1.mld", MainContent());
  EXPECT_EQ(dict->FileName(), "C:\\Program Files\\Velmora\\toolbar1.mld");
  EXPECT_EQ(dict->StoredFileName(), "C:\\Program Files\\Velmora\\toolbar1.mld");  // kept resolved
  EXPECT_EQ(GetStrProp(*dict, "FileName"), "C:\\Program Files\\Velmora\\toolbar1.mld");
}

TEST_F(IvBinaryDictionaryTest, NameWithADirectoryIsNotLookedForBesideTheExecutable) {
  Put("C:\\Program Files\\Velmora\\data\\toolbar1.mld", MainContent());
  dict->SetFileName("data\\toolbar1.mld");
  EXPECT_EQ(dict->FileName(), "data\\toolbar1.mld");
  EXPECT_FALSE(dict->CanOpen());
  dict->Open();
  EXPECT_FALSE(dict->Active());  // a missing file leaves the dictionary closed, silently
}

TEST_F(IvBinaryDictionaryTest, OtherStoragesKeepTheNameAsItIs) {
  dict->SetStorage(ivsResource);
  EXPECT_EQ(dict->FileName(), "toolbar1.mld");
  EXPECT_TRUE(dict->CanOpen());
  dict->SetFileName("");
  try {
    dict->LanguageCount();
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "No FileName property set");
  }
}

// --- File storage ------------------------------------------------------------------------------

TEST_F(IvBinaryDictionaryTest, AnswersTheStorageQueriesFromTheFile) {
  MldContent content = MainContent();
  content.languages[1].isoLanguage = "fr";
  content.languages[1].nativeName = "Fran\xE7" "ais";
  Put("C:\\Work\\toolbar1.mld", content);
  EXPECT_EQ(dict->LanguageCount(), 8);
  EXPECT_EQ(dict->TranslationCount(), 2);
  EXPECT_EQ(dict->LocaleCount(), 0);
  TIvLanguage french;
  dict->GetLanguage(1, french);
  EXPECT_EQ(french.primary, 12);
  EXPECT_EQ(french.nativeName, "Fran\xE7" "ais");
  EXPECT_EQ(french.isoCountry, "FR");  // completed from the locale database
  TIvLanguage spanish;
  dict->GetLanguage(4, spanish);
  EXPECT_EQ(spanish.LocaleId(), 0x0C0Au);
  std::vector<std::unique_ptr<TIvLanguage>> all;
  dict->GetLanguages(all);
  ASSERT_EQ(all.size(), 8u);
  EXPECT_EQ(all[7]->englishName, "Dutch");
  EXPECT_EQ(all[2]->subLanguages, (std::vector<int>{1, 3}));
  std::vector<std::unique_ptr<TIvLocale>> locales;
  dict->GetLocales(locales);
  EXPECT_TRUE(locales.empty());
  EXPECT_THROW(dict->GetLanguage(8, french), ERangeError);
}

TEST_F(IvBinaryDictionaryTest, SwitchingLanguagesLoadsTheirColumnsAndLocales) {
  Put("C:\\Work\\toolbar1.mld", MainContent());
  dict->Open();
  ASSERT_TRUE(dict->Active());
  EXPECT_EQ(TranslateText(dict, "Drive"), "Drive");
  const char* expected[] = {"Drive", "Lecteur", "Laufwerk", "Unit\xE0", "Unidad", "Enhet", "Unidade", "Station"};
  LCID locales[] = {0x0409, 0x040C, 0x0407, 0x0410, 0x0C0A, 0x041D, 0x0816, 0x0413};
  for (int i = 0; i < 8; ++i) {
    dict->SetLanguage(i);
    EXPECT_EQ(TranslateText(dict, "Drive"), expected[i]) << i;
    EXPECT_EQ(fp.locale.threadLocale, locales[i]) << i;
  }
  dict->SetLanguage(1);
  EXPECT_EQ(TranslateText(dict, "Free Space"), "Espace libre");
  EXPECT_EQ(ctx.format().longMonthNames[11], "d\xE9" "cembre");
  dict->SetLanguage(3);
  EXPECT_EQ(TranslateText(dict, "Free Space"), "Free Space");  // no Italian column text
  EXPECT_EQ(ctx.format().longDayNames[4], "gioved\xEC");
}

TEST_F(IvBinaryDictionaryTest, CustomLocalesAndContextColumnsComeFromTheFile) {
  MldContent content = MainContent();
  content.layout = 1;
  for (auto& t : content.translations) t.context1 = "TMain";
  content.translations[0].context2 = "Label3";
  MldLocale swiss;
  swiss.primary = 7;
  swiss.sub = 2;
  swiss.codePage = 1252;
  swiss.englishLanguageName = "German";
  swiss.englishCountryName = "Switzerland";
  swiss.currencySymbol = "SFr.";
  swiss.thousandSeparator = '\'';
  swiss.decimalSeparator = '.';
  swiss.dateSeparator = '.';
  swiss.timeSeparator = ':';
  swiss.shortDateFormat = "dd.MM.yy";
  swiss.timeFormat = 1;
  for (int i = 0; i < 12; ++i) swiss.longMonthNames[i] = "M" + std::to_string(i + 1);
  content.locales = {swiss};
  content.languages[2].subLanguages = "1,2";
  Put("C:\\Work\\toolbar1.mld", content);
  fp.locale.userDefaultLcid = 0x0807;
  dict->Open();
  dict->SetLanguage(2);
  EXPECT_TRUE(dict->ContextMode());
  EXPECT_EQ(dict->ActualLocale(), 0x0807u);
  EXPECT_EQ(dict->CurrentLocale().currencySymbol, "SFr.");
  EXPECT_EQ(ctx.format().thousandSeparator, '\'');
  EXPECT_EQ(ctx.format().shortDateFormat, "dd.MM.yyyy");
  EXPECT_EQ(ctx.format().listSeparator, '\0');  // the record has none
  EXPECT_EQ(ctx.format().longMonthNames[2], "M3");
  EXPECT_EQ(dict->CurrentLocale().englishCountryName, "Switzerland");
  AnsiString t;
  ASSERT_TRUE(dict->TranslateInContext("Drive", "TMain", t, "Label3"));
  EXPECT_EQ(t, "Laufwerk");
  EXPECT_FALSE(dict->TranslateInContext("Drive", "TMain", t, "Label4"));
  ASSERT_TRUE(dict->Translate("Free Space", t));
  EXPECT_EQ(t, "Freier Speicher");
}

TEST_F(IvBinaryDictionaryTest, Utf16FileColumnsUseTheLanguageCodePage) {
  MldContent content = MainContent();
  content.languages.push_back(Lang(25, 1, "", 1251, "Russian", "\xF0\xF3\xF1\xF1\xEA\xE8\xE9"));
  for (auto& t : content.translations) t.texts.push_back("");
  content.translations[0].texts.back() = "\xC4\xE8\xF1\xEA";  // "Disk" in Windows-1251
  MldWriteOptions utf16;
  utf16.utf16 = true;
  Put("C:\\Work\\toolbar1.mld", content, utf16);
  dict->SetCheckLevel(ivclSystem);
  dict->Open();
  dict->SetLanguage(8);
  EXPECT_EQ(TranslateText(dict, "Drive"), "\xC4\xE8\xF1\xEA");
  EXPECT_EQ(dict->CurrentLanguage().nativeName, "\xF0\xF3\xF1\xF1\xEA\xE8\xE9");
  EXPECT_EQ(dict->CurrentLanguage().Charset(), 204);
}

TEST_F(IvBinaryDictionaryTest, LanguageStoredWhileClosedFailsAtOpen) {
  Put("C:\\Work\\toolbar1.mld", MainContent());
  dict->SetLanguage(99);
  EXPECT_THROW(dict->Open(), ERangeError);
  EXPECT_FALSE(dict->Active());
}

TEST_F(IvBinaryDictionaryTest, DamagedFileFailsTheOpen) {
  store.Put("C:\\Work\\toolbar1.mld", Bytes{'X', 'Y', 'Z', 3, 0, 0, 0, 0});
  try {
    dict->Open();
    FAIL();
  } catch (const EMldError& e) {
    EXPECT_NE(std::string(e.what()).find("The stream is not a valid MLD stream"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(dict->Active());
}

TEST_F(IvBinaryDictionaryTest, CopyInMemoryIsUsedOnlyWhileTheFileIsUnchanged) {
  Put("C:\\Work\\toolbar1.mld", MainContent());
  EXPECT_EQ(dict->LanguageCount(), 8);
  EXPECT_EQ(dict->TranslationCount(), 2);
  TIvLanguage l;
  dict->GetLanguage(3, l);
  EXPECT_EQ(store.reads, 1);

  MldContent smaller = MainContent();
  smaller.languages.resize(2);
  for (auto& t : smaller.translations) t.texts.resize(1);
  Put("C:\\Work\\toolbar1.mld", smaller);
  EXPECT_EQ(dict->LanguageCount(), 2);
  EXPECT_EQ(store.reads, 2);

  store.Erase("C:\\Work\\toolbar1.mld");
  EXPECT_FALSE(dict->CanOpen());
  EXPECT_THROW(dict->LanguageCount(), EMldError);  // gone: no stale answers
}

// --- Resource and embedded storage ---------------------------------------------------------

TEST_F(IvBinaryDictionaryTest, ResourceStorage) {
  dict->SetStorage(ivsResource);
  EXPECT_THROW(dict->LanguageCount(), EMldError);
  store.resources["MlDictionary/POLYVERBUM"] = WriteMld(MainContent(), {}, MakeMldCodec(fp.locale));
  dict->Open();
  ASSERT_TRUE(dict->Active());
  dict->SetLanguage(5);
  EXPECT_EQ(TranslateText(dict, "Drive"), "Enhet");
  EXPECT_EQ(dict->StreamLoads(), 1);  // a resource does not change
}

// The disk store reads resources from the running executable, through the platform.
TEST(IvResourceStorage, TheExecutablesOwnResourceIsRead) {
  fake::FakePlatform fp;
  AppContext ctx(fp.platform());
  TComponent root(ctx);
  auto* dict = new TIvBinaryDictionary(&root);
  dict->SetFileName("toolbar1.mld");
  dict->SetStorage(ivsResource);
  dict->SetLanguage(0);
  EXPECT_THROW(dict->LanguageCount(), EMldError) << "no resource yet";
  // Resource names and types are found whatever their case.
  fp.system.AddResource("MLDICTIONARY", "polyverbum", WriteMld(MainContent(), {}, MakeMldCodec(fp.locale)));
  dict->Open();
  ASSERT_TRUE(dict->Active());
  EXPECT_EQ(dict->LanguageCount(), 8);
  dict->SetLanguage(2);
  EXPECT_EQ(TranslateText(dict, "Free Space"), "Freier Speicher");
}

class IvEmbeddedDictionaryTest : public IvBinaryDictionaryTest {
 protected:
  IvEmbeddedDictionaryTest() {
    dict->SetStorage(ivsEmbedded);
    MldContent c = MainContent();
    dict->SetLanguageData(EncodeLanguageData(c.languages));
    dict->SetTranslationData(EncodeTranslationData(0, c.translations));
  }
  const PropInfo& Prop(const char* name) { return *TIvBinaryDictionary::StaticClass().FindProperty(name); }
};

TEST_F(IvEmbeddedDictionaryTest, DataStoredWithTheFormServesEveryQuery) {
  EXPECT_EQ(dict->LanguageCount(), 8);
  EXPECT_EQ(dict->TranslationCount(), 2);
  EXPECT_EQ(dict->LocaleCount(), 0);
  dict->Open();
  ASSERT_TRUE(dict->Active());
  dict->SetLanguage(7);
  EXPECT_EQ(TranslateText(dict, "Drive"), "Station");
  EXPECT_EQ(store.reads, 0);
  try {
    TIvLocale l;
    dict->GetLocale(0, l);
    FAIL();
  } catch (const EIvMulti& e) {
    EXPECT_STREQ(e.what(), "No dictionary data! Set the FileName property.");
  }
}

TEST_F(IvEmbeddedDictionaryTest, StoredPropertiesAreReadAsHexOrByteLists) {
  std::vector<MldLocale> locales(1);
  locales[0].primary = 12;
  locales[0].sub = 1;
  locales[0].codePage = 1252;
  locales[0].currencySymbol = "F";
  Bytes data = EncodeLocaleData(locales);
  DescValue hex;
  hex.type = DescValue::Type::String;
  static const char* digits = "0123456789ABCDEF";
  for (size_t i = 0; i < data.size(); ++i) {
    hex.text += digits[data[i] >> 4];
    hex.text += digits[data[i] & 15];
    if (i % 16 == 15) hex.text += "\n  ";
  }
  Prop("LocaleData").setData(*dict, hex);
  EXPECT_EQ(dict->LocaleCount(), 1);
  TIvLocale l;
  dict->GetLocale(0, l);
  EXPECT_EQ(l.currencySymbol, "F");

  DescValue list;
  list.type = DescValue::Type::List;
  for (uint8_t b : EncodeLanguageData({Lang(9, 1, "1", 1252, "English")})) {
    DescValue item;
    item.integer = b;
    list.items.push_back(item);
  }
  Prop("LanguageData").setData(*dict, list);
  EXPECT_EQ(dict->LanguageCount(), 1);

  DescValue ident;
  ident.type = DescValue::Type::Ident;
  ident.text = "clWhite";
  DescValue badHex;
  badHex.type = DescValue::Type::String;
  badHex.text = "01 0G";
  for (const DescValue& bad : {ident, badHex}) {
    try {
      Prop("TranslationData").setData(*dict, bad);
      FAIL();
    } catch (const EMldError& e) {
      EXPECT_STREQ(e.what(), "Invalid property type!");
    }
  }
}

TEST_F(IvEmbeddedDictionaryTest, NewerDataVersionsAreRefused) {
  Bytes data = EncodeLanguageData({Lang(9, 1, "1", 1252, "English")});
  data[0] = 2;
  try {
    dict->SetLanguageData(data);
    FAIL();
  } catch (const EMldError& e) {
    EXPECT_STREQ(e.what(), "Unknown language data version: 2");
  }
  Bytes translations = EncodeTranslationData(0, {});
  translations[0] = 7;
  EXPECT_THROW(dict->SetTranslationData(translations), EMldError);
}

TEST_F(IvEmbeddedDictionaryTest, MissingPropertyIsReported) {
  auto* bare = new TIvBinaryDictionary(&root);
  bare->SetFileName("x.mld");
  bare->SetStorage(ivsEmbedded);
  TIvLanguage l;
  try {
    bare->GetLanguage(0, l);
    FAIL();
  } catch (const EMldError& e) {
    EXPECT_STREQ(e.what(), "Could not find the property");
  }
}

// --- Registration and the real disk --------------------------------------------------------------

TEST(IvBinaryDictionaryClass, RegisteredAndCreatableByName) {
  RegisterI18nClasses();
  fake::FakePlatform fp;
  AppContext ctx(fp.platform());
  TComponent root(ctx);
  TComponent* c = CreateComponent("TIvBinaryDictionary", &root);
  ASSERT_TRUE(c->Is<TIvBinaryDictionary>());
  SetProp(*c, "FileName", AnsiString("toolbar1.mld"));
  SetProp(*c, "Options", int64_t{3});
  SetProp(*c, "Language", int64_t{2});
  auto* d = static_cast<TIvBinaryDictionary*>(c);
  EXPECT_EQ(d->StoredFileName(), "toolbar1.mld");
  EXPECT_EQ(d->Options(), 3);
  EXPECT_EQ(d->Language(), 2);
  EXPECT_EQ(Dictionaries(ctx).FindByName("Dictionary1"), d);
}

// The disk store asks the platform's wide calls; the in-memory platform answers as they do.
TEST(IvDiskStore, ReadsWholeFilesThroughThePlatformUpToTheirCap) {
  fake::FakePlatform fp;
  TIvDiskStore disk(fp.system);
  const WideString path = u"C:\\Work\\toolbar1.mld";
  TIvFileStamp first, second;
  EXPECT_FALSE(disk.Stamp(path, first));
  fp.system.PutFile("C:\\Work\\toolbar1.mld", {'M', 'L', 'D'});
  ASSERT_TRUE(disk.Stamp(u"c:\\work\\TOOLBAR1.MLD", first)) << "names compare without regard to case";
  EXPECT_EQ(first.size, 3u);
  EXPECT_EQ(disk.ReadFile(path, 3), (Bytes{'M', 'L', 'D'}));
  fp.system.PutFile("C:\\Work\\toolbar1.mld", {'M', 'L', 'D', '!'});
  ASSERT_TRUE(disk.Stamp(path, second));
  EXPECT_FALSE(first == second);
  const auto failure = [&](uint64_t cap) {
    try {
      disk.ReadFile(path, cap);
    } catch (const EMldError& e) {
      return std::string(e.what());
    }
    return std::string("read");
  };
  EXPECT_EQ(failure(kMaxDictionaryFileSize), "read");
  EXPECT_EQ(failure(3), "The file is larger than 3 bytes");
  EXPECT_EQ(fp.system.fileReads, 2) << "a file over the cap is not read";
  fp.system.filesOpenForWriting.insert("C:\\Work\\toolbar1.mld");
  EXPECT_EQ(failure(kMaxDictionaryFileSize), "The file cannot be read (error 32)");
  fp.system.RemoveFile("C:\\Work\\toolbar1.mld");
  EXPECT_FALSE(disk.Stamp(path, second));
  EXPECT_EQ(failure(kMaxDictionaryFileSize), "The file cannot be read. The system cannot find the file specified.");
  Bytes res;
  EXPECT_FALSE(disk.LoadResource("MlDictionary", "POLYVERBUM", res));
  fp.system.AddResource("MlDictionary", "POLYVERBUM", {1, 2});
  EXPECT_TRUE(disk.LoadResource("MlDictionary", "POLYVERBUM", res));
  EXPECT_EQ(res, (Bytes{1, 2}));
}

// --- The older list properties of a window description -------------------------------------

class TListForm : public TForm {
  VSI_CLASS(TListForm)
  using TForm::TForm;
};
const ClassInfo& TListForm::StaticClass() {
  static const ClassInfo info = ClassBuilder<TListForm>("TListForm", &TForm::StaticClass()).Build();
  return info;
}

// The shipped dictionary with its data stored in the window, in the older
// lists, instead of in toolbar1.mld. Languages of version 2 (with their charset), translations
// of version 1 (no layout), a French custom locale of version 1 whose thousand separator is a
// no-break space. Russian texts are UTF-8 in the description and reach the program in code
// page 1251.
constexpr const char* kOlderLists = R"(TX X {
  Storage ivsEmbedded
  Languages (2 3
    (9 "1" 1 0 1252 "English" "English" "" 0 0)
    (12 "1" 1 0 1252 "French" "Français" "" 0 0)
    (25 "1" 1 204 1251 "Russian" "Русский" "" 0 0))
  Translations (1 1
    ("Memory Used" "Mémoire utilisée" "Занятая память"))
  Locales (1 1
    (12 1 1252 0 "French" "France" "français" "France" "FRA" "France" 0 "€" 3 8 2
     " " "," "/" "dd/MM/yyyy" "dddd d MMMM yyyy" ":" "" "" 1 1 0 1 0 0 0
     ("janv." "févr." "mars" "avr." "mai" "juin" "juil." "août" "sept." "oct." "nov." "déc.")
     ("janvier" "février" "mars" "avril" "mai" "juin" "juillet" "août" "septembre" "octobre" "novembre" "décembre")
     ("lun." "mar." "mer." "jeu." "ven." "sam." "dim.")
     ("lundi" "mardi" "mercredi" "jeudi" "vendredi" "samedi" "dimanche")))
})";

const DescNode* FindPart(const DescNode& node, const std::string& name) {
  for (const DescNode& child : node.children) {
    if (child.name == name) return &child;
    if (const DescNode* found = FindPart(child, name)) return found;
  }
  return nullptr;
}

// The shipped main window's IvDictionary1, IvTranslator1 and Label2 ("Memory Used") on a
// small form, the dictionary given `data` (properties written as in a description).
DescNode ShippedDictionaryWith(const char* data) {
  const DescNode main = ParseDescription(std::string(WindowDescription("main")));
  DescNode form;
  form.className = "TListForm";
  form.name = "F";
  for (const char* name : {"Label2", "IvDictionary1", "IvTranslator1"}) {
    const DescNode* part = FindPart(main, name);
    if (!part) throw std::runtime_error(std::string("the main window has no ") + name);
    form.children.push_back(*part);
  }
  const DescNode added = ParseDescription(data);
  std::vector<DescProperty>& props = form.children[1].properties;
  props.insert(props.end(), added.properties.begin(), added.properties.end());
  return form;
}

class IvDictionaryListsTest : public ::testing::Test {
 protected:
  IvDictionaryListsTest() {
    RegisterI18nClasses();
    RegisterClass(TLabel::StaticClass());
    ctx.Service<TIvDictionaryStorage>().SetStore(&store);
    store.Put("C:\\Program Files\\Velmora\\toolbar1.mld", WriteMld(MainContent(), {}, MakeMldCodec(fp.locale)));
  }
  void Load() {
    ApplyDescription(*form, ShippedDictionaryWith(kOlderLists));
    dict = dynamic_cast<TIvBinaryDictionary*>(form->FindComponent("IvDictionary1"));
    label = dynamic_cast<TLabel*>(form->FindComponent("Label2"));
    ASSERT_NE(dict, nullptr);
    ASSERT_NE(label, nullptr);
  }

  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  MemoryStore store{fp.system};
  TApplication app{ctx};
  TListForm* form = new TListForm(&app);
  TIvBinaryDictionary* dict = nullptr;
  TLabel* label = nullptr;
};

TEST_F(IvDictionaryListsTest, TheShippedDictionaryReadsItsDataFromTheOlderLists) {
  Load();
  EXPECT_TRUE(dict->FoundOlderForm());
  EXPECT_EQ(dict->LanguageCount(), 3);
  EXPECT_EQ(dict->TranslationCount(), 1);
  EXPECT_EQ(dict->LocaleCount(), 1);
  ASSERT_TRUE(dict->Active()) << "the translator opened it once the window was loaded";
  EXPECT_EQ(store.reads, 0) << "stored in the window: the toolbar1.mld beside the program is not read";

  dict->SetLanguage(1);
  EXPECT_EQ(label->Caption(), "M\xE9moire utilis\xE9" "e");
  EXPECT_EQ(ctx.format().thousandSeparator, '\xA0') << "the custom locale of the list";
  EXPECT_EQ(ctx.format().longMonthNames[1], "f\xE9vrier");

  dict->SetLanguage(0);
  EXPECT_EQ(label->Caption(), "Memory Used");
}

TEST_F(IvDictionaryListsTest, ARussianListLanguageNeedsItsCodePage) {
  // The shipped dictionary checks the language against the system's code page.
  Load();
  dict->SetLanguage(1);
  try {
    dict->SetLanguage(2);
    ADD_FAILURE() << "Russian on a Western system";
  } catch (const EIvMulti& e) {
    EXPECT_STREQ(e.what(), "Russian is not supported by the code page");
  }
  EXPECT_EQ(label->Caption(), "M\xE9moire utilis\xE9" "e") << "left in French";

  fp.locale.acp = 1251;
  dict->SetLanguage(2);
  EXPECT_EQ(label->Caption(), "\xC7\xE0\xED\xFF\xF2\xE0\xFF \xEF\xE0\xEC\xFF\xF2\xFC");
  EXPECT_EQ(dict->CurrentLanguage().nativeName, "\xD0\xF3\xF1\xF1\xEA\xE8\xE9");
  EXPECT_EQ(dict->CurrentLanguage().CodePage(), 1251);
}

TEST_F(IvDictionaryListsTest, ANewerListVersionIsRefusedWhenTheWindowIsRead) {
  try {
    ApplyDescription(*form, ShippedDictionaryWith("TX X {\n  Translations (3 0 0)\n}\n"));
    FAIL() << "read";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("Unknown translation data version: 3"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace vsi
