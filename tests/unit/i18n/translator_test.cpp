#include "i18n/translator.h"

#include <gtest/gtest.h>

#include "controls/ui_labels.h"
#include "fakes/fake_platform.h"
#include "framework/collection.h"
#include "framework/context.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "i18n_test_util.h"

namespace vsi {
namespace {

using testing_i18n::MakeLanguage;
using testing_i18n::MemoryDictionary;
using testing_i18n::Row;

// ---- test doubles for what the framework does not have (menus) and for class names --------

class TTestMain : public TForm {
  VSI_CLASS(TTestMain)
  using TForm::TForm;
};
const ClassInfo& TTestMain::StaticClass() {
  static const ClassInfo info = ClassBuilder<TTestMain>("TTestMain", &TForm::StaticClass()).Build();
  return info;
}

// A memo of a class derived from TMemo.
class TMemoChild : public TMemo {
  VSI_CLASS(TMemoChild)
  using TMemo::TMemo;
};
const ClassInfo& TMemoChild::StaticClass() {
  static const ClassInfo info = ClassBuilder<TMemoChild>("TMemoChild", &TMemo::StaticClass()).Build();
  return info;
}

class TMenuItem : public TComponent {
  VSI_CLASS(TMenuItem)
  using TComponent::TComponent;
  const AnsiString& Caption() const { return caption_; }
  void SetCaption(const AnsiString& c) { caption_ = c; }

 private:
  AnsiString caption_;
};
const ClassInfo& TMenuItem::StaticClass() {
  static const ClassInfo info = ClassBuilder<TMenuItem>("TMenuItem", &TComponent::StaticClass())
                                    .Text("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
                                    .Build();
  return info;
}

class TTestMenu : public TComponent, public IIvHotkeyMenu {
  VSI_CLASS(TTestMenu)
  using TComponent::TComponent;
  bool AutomaticHotkeys() const override { return automatic; }
  void SetAutomaticHotkeys(bool a) override {
    automatic = a;
    log.push_back(a ? "auto" : "manual");
  }
  void RecomputeHotkeys() override { log.push_back("recompute"); }
  bool automatic = true;
  std::vector<std::string> log;
};
const ClassInfo& TTestMenu::StaticClass() {
  static const ClassInfo info = ClassBuilder<TTestMenu>("TTestMenu", &TComponent::StaticClass()).Build();
  return info;
}

// A component with an integer "Locale", a sorted list and a collection of captioned items.
class TCaptionItem : public TCollectionItem {
  VSI_CLASS(TCaptionItem)
  using TCollectionItem::TCollectionItem;
  const AnsiString& Caption() const { return caption_; }
  void SetCaption(const AnsiString& c) { caption_ = c; }

 private:
  AnsiString caption_;
};
const ClassInfo& TCaptionItem::StaticClass() {
  static const ClassInfo info = ClassBuilder<TCaptionItem>("TCaptionItem", &TCollectionItem::StaticClass())
                                    .Text("Caption", &TCaptionItem::Caption, &TCaptionItem::SetCaption)
                                    .Build();
  return info;
}

class TGadget : public TComponent {
  VSI_CLASS(TGadget)
  explicit TGadget(TComponent* owner)
      : TComponent(owner), items_(std::make_unique<TCollection>([](TCollection* c) { return new TCaptionItem(c); })) {
    list_.SetSorted(true);
  }
  int Locale() const { return locale_; }
  void SetLocale(int l) { locale_ = l; }
  TStringList* Words() const {
    ++wordsReads;
    return const_cast<TStringList*>(&list_);
  }
  void SetWords(TStringList* words) { list_.Assign(*words); }
  mutable int wordsReads = 0;
  TCollection* Items() const { return items_.get(); }
  void SetItems(TCollection*) {}
  // Read-only, gathered afresh on every read, as the system's printers are.
  TStringList* Printers() const {
    ++printersReads;
    printers_.Clear();
    printers_.Add("Free Space");
    return &printers_;
  }
  mutable int printersReads = 0;

 private:
  int locale_ = 7;
  TStringList list_;
  mutable TStringList printers_;
  std::unique_ptr<TCollection> items_;
};
const ClassInfo& TGadget::StaticClass() {
  static const ClassInfo info = ClassBuilder<TGadget>("TGadget", &TComponent::StaticClass())
                                    .Int("Locale", &TGadget::Locale, &TGadget::SetLocale)
                                    .Object("Words", TStrings::StaticClass(), &TGadget::Words, &TGadget::SetWords)
                                    .Object("Items", TCollection::StaticClass(), &TGadget::Items, &TGadget::SetItems)
                                    .Object("Printers", TStrings::StaticClass(), &TGadget::Printers)
                                    .Build();
  return info;
}

// The window menu of the fake: a list of (command, text) items.
class FakeWindowMenu : public IIvWindowMenu {
 public:
  struct Item {
    uint32_t command;
    bool separator;
    AnsiString text;
  };
  std::vector<Item> items;
  int ItemCount(WindowHandle) override { return static_cast<int>(items.size()); }
  bool ItemInfo(WindowHandle, int i, uint32_t& command, bool& separator) override {
    command = items[i].command;
    separator = items[i].separator;
    return true;
  }
  AnsiString ItemText(WindowHandle, int i) override { return items[i].text; }
  void SetItemText(WindowHandle, int i, uint32_t command, const AnsiString& text) override {
    EXPECT_EQ(command, items[i].command);
    items[i].text = text;
  }
};

// ---- fixture -------------------------------------------------------------------------------

// English (the original texts, no column of its own), French, German.
class IvTranslatorTest : public ::testing::Test {
 protected:
  IvTranslatorTest() {
    ILocale& l = fp.locale;
    dict->languages = {MakeLanguage(l, 9, "1", 1252), MakeLanguage(l, 12, "1", 1252), MakeLanguage(l, 7, "1", 1252)};
    dict->rows = {
        {"Free Space", "", "", {"Espace libre", "Freier Speicher"}},
        {"Disk Size", "", "", {"Taille du disque", "Datentr\xE4gergr\xF6\xDF" "e"}},
        {"French", "", "", {"Fran\xE7" "ais", "Franz\xF6sisch"}},
        {"&File", "", "", {"&Fichier", "&Datei"}},
        {"Save", "", "", {"Enregistrer", "Speichern"}},
        {"Network Information", "", "", {"Informations r\xE9seau", "Netzwerkinformationen"}},
        {"&Move", "", "", {"&D\xE9placer", "&Verschieben"}},
        {"&Close", "", "", {"&Fermer", "&Schlie\xDF" "en"}},
    };
    dict->SetLanguage(0);
    form->SetCaption("Main");
    label->SetParent(form);
    label->SetName("Label8");
    label->SetCaption("Free Space");
    label->SetHint("French");
    tr->SetName("IvTranslator1");
    tr->SetDictionary(dict);
    tr->Targets()->Add("", "Hint");
    tr->Targets()->Add("", "Caption");
    tr->Targets()->Add("TMemo", "Text");
  }
  void Switch(int language) { dict->SetLanguage(language); }

  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TComponent root{ctx};
  MemoryDictionary* dict = new MemoryDictionary(&root);
  TTestMain* form = new TTestMain(&root);
  TLabel* label = new TLabel(form);
  TIvTranslator* tr = new TIvTranslator(form);
};

TEST_F(IvTranslatorTest, EnglishFrenchEnglishRestoresTheOriginals) {
  tr->Activate();
  ASSERT_TRUE(tr->Active());
  EXPECT_EQ(label->Caption(), "Free Space");  // language 0 has no column: nothing changes
  Switch(1);
  EXPECT_EQ(label->Caption(), "Espace libre");
  EXPECT_EQ(label->Hint(), "Fran\xE7" "ais");
  Switch(2);
  EXPECT_EQ(label->Caption(), "Freier Speicher");
  // Back to English: each item is found by its German text and the original written back.
  Switch(0);
  EXPECT_EQ(label->Caption(), "Free Space");
  EXPECT_EQ(label->Hint(), "French");
  EXPECT_EQ(form->Caption(), "Main");  // no translation: the original stays
}

TEST_F(IvTranslatorTest, ACaptionChangedByTheProgramStartsANewItem) {
  tr->Activate();
  Switch(1);
  const size_t items = tr->Table().size();
  label->SetCaption("Disk Size");  // the program writes an English text over the French one
  Switch(2);
  EXPECT_EQ(label->Caption(), "Datentr\xE4gergr\xF6\xDF" "e");
  ASSERT_EQ(tr->Table().size(), items + 1);
  // The old item stays, unused: it still remembers "Free Space" as its original.
  const auto& table = tr->Table();
  auto old = std::find_if(table.begin(), table.end(), [&](const auto& i) { return i.original == "Free Space"; });
  ASSERT_NE(old, table.end());
  EXPECT_EQ(old->current, "Espace libre");
  Switch(0);
  EXPECT_EQ(label->Caption(), "Disk Size");
}

TEST_F(IvTranslatorTest, ATextTheProgramSetsOnEverySwitchKeepsOneItemPerOriginal) {
  // As the main window's language-state label: after each switch the program writes one of
  // a few English texts over the translation.
  const char* const texts[] = {"Free Space", "Disk Size", "French"};
  const char* const french[] = {"Espace libre", "Taille du disque", "Fran\xE7" "ais"};
  const char* const german[] = {"Freier Speicher", "Datentr\xE4gergr\xF6\xDF" "e", "Franz\xF6sisch"};
  tr->Activate();
  size_t warm = 0;
  for (int k = 0; k < 60; ++k) {
    const int text = k % 3, language = 1 + k % 2;
    label->SetCaption(texts[text]);
    Switch(language);
    ASSERT_EQ(label->Caption(), (language == 1 ? french : german)[text]) << "switch " << k;
    if (k == 5) warm = tr->Table().size();  // every (text, language) pair has been met
  }
  EXPECT_EQ(tr->Table().size(), warm);
  EXPECT_EQ(std::count_if(tr->Table().begin(), tr->Table().end(),
                          [&](const auto& i) { return i.object == label && i.propertyName == "Caption"; }),
            3);
  label->SetCaption("Disk Size");
  Switch(0);
  EXPECT_EQ(label->Caption(), "Disk Size");
}

TEST_F(IvTranslatorTest, EqualLinesOfAListEachKeepAnItem) {
  tr->Targets()->Add("TComboBox", "Items");
  auto* combo = new TComboBox(form);
  combo->Items()->Add("Save");
  combo->Items()->Add("Save");
  tr->Activate();
  for (int language : {2, 1, 2, 0}) {
    Switch(language);
    const char* expected = language == 0 ? "Save" : language == 1 ? "Enregistrer" : "Speichern";
    EXPECT_EQ(combo->Items()->Strings(0), expected) << language;
    EXPECT_EQ(combo->Items()->Strings(1), expected) << language;
  }
}

TEST_F(IvTranslatorTest, MenuItemsAreFoundAgainByTheirTextWithoutHotkeys) {
  auto* menu = new TTestMenu(form);
  auto* item = new TMenuItem(form);
  item->SetName("File1");
  item->SetCaption("&File");
  tr->Activate();
  Switch(2);
  EXPECT_EQ(item->Caption(), "&Datei");
  auto it = std::find_if(tr->Table().begin(), tr->Table().end(), [&](const auto& i) { return i.object == item; });
  ASSERT_NE(it, tr->Table().end());
  EXPECT_EQ(it->originalKey, "File");
  EXPECT_EQ(it->current, "Datei");
  // The hot key moved (as automatic hot keys do): the item is still found by "Datei".
  item->SetCaption("Dat&ei");
  Switch(1);
  EXPECT_EQ(item->Caption(), "&Fichier");
  EXPECT_EQ(std::count_if(tr->Table().begin(), tr->Table().end(), [&](const auto& i) { return i.object == item; }),
            1);
  // Menus keep their hot keys during the walk and compute them again afterwards.
  EXPECT_EQ(menu->log, (std::vector<std::string>{"manual", "auto", "recompute", "manual", "auto", "recompute",
                                                 "manual", "auto", "recompute"}));
}

TEST_F(IvTranslatorTest, AMenuTextWithoutItsHotkeyInTheDictionaryIsFoundByItsKey) {
  dict->rows.push_back({"Save", "", "", {"Enregistrer", "Speichern"}});
  auto* item = new TMenuItem(form);
  item->SetCaption("&Save");
  auto* plain = new TLabel(form);
  plain->SetCaption("&Save");  // not a menu item: no retry without the marker
  tr->Activate();
  Switch(1);
  EXPECT_EQ(item->Caption(), "Enregistrer");
  EXPECT_EQ(plain->Caption(), "&Save");
}

TEST_F(IvTranslatorTest, WideCaptionsAreNeverTouched) {
  auto* wide = new TWideLabel(form);
  wide->SetCaption(u"Free Space");
  wide->SetHint(u"French");
  tr->Targets()->Add("TWideLabel", "");
  tr->Activate();
  Switch(1);
  EXPECT_EQ(wide->Caption(), u"Free Space");
  EXPECT_EQ(wide->Hint(), u"French");
  EXPECT_EQ(label->Caption(), "Espace libre");
}

TEST_F(IvTranslatorTest, AMemoLosesItsTrailingLineBreaksOnEachTranslation) {
  auto* memo = new TMemo(form);
  memo->SetName("Memo1");
  memo->SetText("Free Space\r\n\r\n");
  auto* child = new TMemoChild(form);  // ('TMemo', 'Text') does not name derived classes
  child->SetText("Free Space\r\n");
  tr->Activate();
  EXPECT_EQ(memo->Text(), "Free Space");  // already at the first translation
  Switch(1);
  EXPECT_EQ(memo->Text(), "Espace libre");
  memo->SetText("Espace libre\n");
  Switch(0);
  EXPECT_EQ(memo->Text(), "Free Space");
  EXPECT_EQ(child->Text(), "Free Space\r\n");
}

TEST_F(IvTranslatorTest, ComboBoxesKeepTheirSelectionAndInvisibleOnesTheirItems) {
  tr->Targets()->Add("TComboBox", "Items");
  auto* shown = new TComboBox(form);
  auto* hidden = new TComboBox(form);
  for (TComboBox* c : {shown, hidden}) {
    c->Items()->Add("Save");
    c->Items()->Add("Free Space");
    c->SetItemIndex(1);
  }
  hidden->SetVisible(false);
  tr->Activate();
  Switch(2);
  EXPECT_EQ(shown->Items()->Strings(0), "Speichern");
  EXPECT_EQ(shown->Items()->Strings(1), "Freier Speicher");
  EXPECT_EQ(shown->ItemIndex(), 1);
  EXPECT_EQ(hidden->Items()->Strings(0), "Save");
  EXPECT_EQ(hidden->Items()->Strings(1), "Free Space");
}

TEST_F(IvTranslatorTest, SortedListsAreSortedAgainAfterTheirLines) {
  tr->Targets()->Add("TGadget", "Words");
  auto* gadget = new TGadget(form);
  gadget->Words()->Add("Save");
  gadget->Words()->Add("Free Space");  // sorted: "Free Space", "Save"
  tr->Activate();
  Switch(1);
  // "Enregistrer" < "Espace libre" after sorting again.
  ASSERT_EQ(gadget->Words()->Count(), 2);
  EXPECT_EQ(gadget->Words()->Strings(0), "Enregistrer");
  EXPECT_EQ(gadget->Words()->Strings(1), "Espace libre");
  EXPECT_TRUE(gadget->Words()->Sorted());
}

TEST_F(IvTranslatorTest, AListThatIsNoTargetIsNotEvenRead) {
  // Some lists are gathered afresh from the system on every read (fonts, printers).
  auto* gadget = new TGadget(form);
  gadget->Words()->Add("Save");
  gadget->wordsReads = 0;
  tr->Activate();
  Switch(1);
  EXPECT_EQ(gadget->wordsReads, 0);
  EXPECT_EQ(gadget->Words()->Strings(0), "Save");
}

TEST_F(IvTranslatorTest, PropertiesThatCannotBeWrittenAreNotWalked) {
  tr->Targets()->Add("TGadget", "Printers");  // even when asked for
  auto* gadget = new TGadget(form);
  tr->Activate();
  Switch(1);
  Switch(0);
  EXPECT_EQ(gadget->printersReads, 0);
}

TEST_F(IvTranslatorTest, CollectionItemsAreWalked) {
  auto* gadget = new TGadget(form);
  static_cast<TCaptionItem*>(gadget->Items()->Add())->SetCaption("Save");
  tr->Activate();
  Switch(1);
  EXPECT_EQ(static_cast<TCaptionItem*>(gadget->Items()->Items(0))->Caption(), "Enregistrer");
}

TEST_F(IvTranslatorTest, LocalePropertiesOnlyWithTheOption) {
  auto* gadget = new TGadget(form);
  tr->Activate();
  Switch(1);
  EXPECT_EQ(gadget->Locale(), 7);
  tr->SetOptions(tr->Options() | IvTranslatorOption(ivtoUpdateLocaleProperty));
  Switch(2);
  EXPECT_EQ(static_cast<LCID>(gadget->Locale()), dict->TranslationLocale());
  EXPECT_EQ(PrimaryLangId(gadget->Locale()), 7);
}

TEST_F(IvTranslatorTest, ExcludedClassesAndRestrictedObjectsStayAsTheyAre) {
  auto* button = new TButton(form);
  button->SetCaption("Save");
  auto* other = new TLabel(form);
  other->SetCaption("Save");
  tr->Targets()->Add("TButton", "", TIvTargetProperty::Exclude);
  tr->OnRestrictObject = [&](TIvTranslator*, TObject* o, bool& translate) { translate = o != other; };
  int seen = 0;
  tr->OnTranslate = [&](TIvTranslator*, TComponent*) { ++seen; };
  tr->Activate();
  Switch(1);
  EXPECT_EQ(button->Caption(), "Save");
  EXPECT_EQ(other->Caption(), "Save");
  EXPECT_EQ(label->Caption(), "Espace libre");
  EXPECT_GT(seen, 0);
}

TEST_F(IvTranslatorTest, ReleaseBringsBackTheOriginalsAndEmptiesTheTable) {
  tr->Activate();
  Switch(1);
  tr->Release();
  EXPECT_FALSE(tr->Active());
  EXPECT_EQ(tr->Dictionary(), nullptr);
  EXPECT_TRUE(tr->Table().empty());
  EXPECT_EQ(label->Caption(), "Free Space");
  EXPECT_EQ(dict->TranslatorCount(), 0);
  Switch(2);  // no longer registered
  EXPECT_EQ(label->Caption(), "Free Space");
}

TEST_F(IvTranslatorTest, RevertToNativeShowsTheOriginalsAndDeactivates) {
  tr->Activate();
  Switch(2);
  tr->RevertToNative();
  EXPECT_EQ(label->Caption(), "Free Space");
  EXPECT_EQ(dict->Language(), 0);
  EXPECT_FALSE(tr->Active());
  EXPECT_EQ(dict->Options(), kIvAllDictionaryOptions);
}

TEST_F(IvTranslatorTest, ActivationWithoutADictionary) {
  tr->SetDictionary(nullptr);
  delete dict;
  dict = nullptr;
  try {
    tr->Activate();
    FAIL() << "no error";
  } catch (const EIvMulti& e) {
    EXPECT_STREQ(e.what(),
                 "No dictionary has been assigned to the translator component (IvTranslator1 on \"\" form)");
  }
}

TEST_F(IvTranslatorTest, ActivationFindsTheDictionaryByNameOrTakesTheFirst) {
  tr->SetDictionary(nullptr);
  auto* second = new MemoryDictionary(&root);
  second->languages = dict->languages;
  second->SetDictionaryName("Second");
  tr->SetDictionaryName("Second");
  EXPECT_EQ(tr->Dictionary(), second);
  tr->SetDictionaryName("Nowhere");
  EXPECT_EQ(tr->Dictionary(), nullptr);
  tr->Activate();
  EXPECT_EQ(tr->Dictionary(), dict);  // the first registered one
}

TEST_F(IvTranslatorTest, NothingHappensWhenTheFileIsMissingOrNothingIsTargeted) {
  dict->canOpen = false;
  dict->SetLanguage(1);
  tr->Activate();
  EXPECT_FALSE(tr->Active());
  EXPECT_EQ(label->Caption(), "Free Space");
  dict->canOpen = true;
  tr->Targets()->Clear();
  tr->Activate();
  EXPECT_FALSE(tr->Active());
  EXPECT_FALSE(dict->Active());
}

TEST_F(IvTranslatorTest, LoadedOpensWithAutoOpenOnly) {
  tr->SetOptions(tr->Options() & ~IvTranslatorOption(ivtoAutoOpen));
  tr->Loaded();
  EXPECT_FALSE(tr->Active());
  tr->SetOptions(kIvDefaultTranslatorOptions);
  int languageEvents = 0;
  tr->OnLanguageChange = [&](TObject*) { ++languageEvents; };
  tr->Loaded();
  EXPECT_TRUE(tr->Active());
  EXPECT_EQ(languageEvents, 1);
  Switch(1);
  EXPECT_EQ(languageEvents, 2);
}

TEST_F(IvTranslatorTest, DictionaryGoingAwayLeavesTheTranslatorWithout) {
  tr->Activate();
  delete dict;
  dict = nullptr;
  EXPECT_FALSE(tr->Active());
  EXPECT_EQ(tr->Dictionary(), nullptr);
  // An inactive translator that only knew the dictionary by name forgets it too.
  auto* d2 = new MemoryDictionary(&root);
  tr->SetDictionary(d2);
  delete d2;
  EXPECT_EQ(tr->Dictionary(), nullptr);
}

TEST_F(IvTranslatorTest, ComponentsGoingAwayLeaveTheTable) {
  auto* extra = new TLabel(form);
  extra->SetCaption("Save");
  tr->Activate();
  Switch(1);
  const size_t items = tr->Table().size();
  delete extra;
  EXPECT_EQ(tr->Table().size(), items - 1);
  Switch(0);
  EXPECT_EQ(label->Caption(), "Free Space");
}

// ---- context mode --------------------------------------------------------------------------

TEST_F(IvTranslatorTest, ContextLookupsUseTheFormClassAndTheComponentName) {
  dict->contextMode = true;
  dict->rows = {
      {"Name", "TTestMain", "Label1", {"Nom", "Name"}},
      {"Name", "TTestMain", "Label2", {"Intitul\xE9", "Bezeichnung"}},
      {"Save", "TForm", "Label3", {"never", "nie"}},  // TForm ends the search
      {"Free Space", "", "", {"Espace libre", "Freier Speicher"}},
  };
  auto* l1 = new TLabel(form);
  l1->SetName("Label1");
  l1->SetCaption("Name");
  auto* l2 = new TLabel(form);
  l2->SetName("Label2");
  l2->SetCaption("Name");
  auto* l3 = new TLabel(form);
  l3->SetName("Label3");
  l3->SetCaption("Save");
  tr->Activate();
  Switch(1);
  EXPECT_EQ(l1->Caption(), "Nom");
  EXPECT_EQ(l2->Caption(), "Intitul\xE9");
  // Not found in the form's context: the flat lookup (ivdoUseFlatTranslation) takes any.
  EXPECT_EQ(l3->Caption(), "never");
  EXPECT_EQ(label->Caption(), "Espace libre");
  dict->SetOptions(dict->Options() & ~IvOption(ivdoUseFlatTranslation));
  Switch(2);
  EXPECT_EQ(label->Caption(), "Free Space");
  EXPECT_EQ(l3->Caption(), "Save");  // the search stopped before TForm
  EXPECT_EQ(l2->Caption(), "Bezeichnung");
}

// ---- window menu, fonts, scaling, mirroring --------------------------------------------------

TEST_F(IvTranslatorTest, TheWindowMenuTakesTranslatedNamesAndKeepsItsShortcuts) {
  FakeWindowMenu menu;
  menu.items = {{0xF120, false, "&Restore"},
                {0xF010, false, "&Move"},
                {0, true, ""},
                {0xF060, false, "&Close\tAlt+F4"},
                {0x1234, false, "Own item"}};
  ctx.Service<TIvWindowMenuAccess>().menu = &menu;
  form->HandleNeeded();
  tr->Activate();
  ASSERT_NE(tr->RootHandle(), 0u);
  Switch(1);
  EXPECT_EQ(menu.items[0].text, "&Restore");  // no translation: the English name
  EXPECT_EQ(menu.items[1].text, "&D\xE9placer");
  EXPECT_EQ(menu.items[3].text, "&Fermer\tAlt+F4");
  EXPECT_EQ(menu.items[4].text, "Own item");
  tr->SetOptions(tr->Options() & ~IvTranslatorOption(ivtoTranslateSystemMenu));
  Switch(2);
  EXPECT_EQ(menu.items[1].text, "&D\xE9placer");
  ctx.Service<TIvWindowMenuAccess>().menu = nullptr;
}

// On a Windows of another language the system's texts are not the English names: English,
// and a name the dictionary lacks, give the system's own text back.
TEST_F(IvTranslatorTest, EnglishGivesTheWindowMenuItsSystemTextsBack) {
  FakeWindowMenu menu;
  menu.items = {{0xF120, false, "&Wiederherstellen"},
                {0xF010, false, "Ver&schieben"},
                {0xF060, false, "&Schlie\xDF" "en\tAlt+F4"}};
  const std::vector<FakeWindowMenu::Item> system = menu.items;
  ctx.Service<TIvWindowMenuAccess>().menu = &menu;
  form->HandleNeeded();
  tr->Activate();
  Switch(1);
  EXPECT_EQ(menu.items[0].text, "&Wiederherstellen") << "no French name: the system's";
  EXPECT_EQ(menu.items[1].text, "&D\xE9placer");
  EXPECT_EQ(menu.items[2].text, "&Fermer\tAlt+F4");
  Switch(0);
  for (size_t i = 0; i < system.size(); ++i) EXPECT_EQ(menu.items[i].text, system[i].text) << i;
  ctx.Service<TIvWindowMenuAccess>().menu = nullptr;
}

TEST_F(IvTranslatorTest, FontsTakeTheLanguageFontWhereTheyMay) {
  dict->languages[2].fontName = "Tahoma";
  dict->languages[2].fontSize = 10;
  auto* panel = new TPanel(form);  // windowed, without a window
  panel->SetParent(form);
  panel->Font()->SetName("Arial");
  label->Font()->SetName("Arial");
  tr->Activate();
  Switch(2);
  EXPECT_EQ(label->Font()->Name(), "Tahoma");
  EXPECT_EQ(label->Font()->Size(), 10);
  EXPECT_EQ(panel->Font()->Name(), "Arial");  // normal: its window does not exist
  tr->SetCharsetChange(ivccAll);
  Switch(0);
  Switch(2);
  EXPECT_EQ(panel->Font()->Name(), "Tahoma");
}

TEST_F(IvTranslatorTest, FarEastLanguagesScaleTheFormAndOthersScaleItBack) {
  dict->languages.push_back(MakeLanguage(fp.locale, 17, "1", 932));  // Japanese
  dict->SetCheckLevel(ivclNone);
  tr->SetMultiByteScale(150);
  label->SetBounds(10, 10, 100, 20);
  tr->Activate();
  Switch(3);
  EXPECT_TRUE(tr->ScaledBit());
  EXPECT_EQ(label->Width(), 150);
  Switch(1);
  EXPECT_FALSE(tr->ScaledBit());
  EXPECT_EQ(label->Width(), 100);
  form->SetAutoScroll(true);
  try {
    Switch(3);
    FAIL() << "no error";
  } catch (const EIvMulti& e) {
    EXPECT_STREQ(e.what(), "Cannot scale a form () that has AutoScroll property set True");
  }
}

TEST_F(IvTranslatorTest, RefreshMirroredLayoutDoesNothingForLeftToRightLanguages) {
  form->SetClientWidth(300);
  label->SetBounds(10, 10, 50, 20);
  tr->Activate();
  for (int language : {1, 2, 0}) {
    Switch(language);
    tr->RefreshMirroredLayout();
    EXPECT_FALSE(tr->MirroredBit());
    EXPECT_EQ(label->Left(), 10);
  }
}

TEST_F(IvTranslatorTest, RightToLeftLanguagesMirrorTheControls) {
  dict->languages.push_back(MakeLanguage(fp.locale, 13, "1", 1255));  // Hebrew
  dict->SetCheckLevel(ivclNone);
  form->SetClientWidth(300);
  label->SetBounds(10, 10, 50, 20);
  tr->Activate();
  Switch(3);
  EXPECT_TRUE(tr->MirroredBit());
  EXPECT_EQ(label->Left(), 300 - 50 - 10);
  form->SetClientWidth(400);
  tr->RefreshMirroredLayout();
  EXPECT_EQ(label->Left(), 400 - 50 - 10);
  Switch(0);
  EXPECT_FALSE(tr->MirroredBit());
  EXPECT_EQ(label->Left(), 10);
}

// ---- targets -------------------------------------------------------------------------------

TEST(IvTargetProperties, MatchingRules) {
  TIvTargetProperties t;
  t.Add("", "Hint");
  t.Add("", "Caption");
  t.Add("TMemo", "Text");
  t.Add("TButton", "", TIvTargetProperty::Exclude);
  t.Add("TPanel", "");
  struct Case {
    const char* name;
    const char* cls;
    const char* property;
    bool accepted;
  } cases[] = {
      {"any class's hint", "TLabel", "Hint", true},
      {"property names ignore case", "TLabel", "caption", true},
      {"memo text", "TMemo", "Text", true},
      {"class names ignore case", "tmemo", "text", true},
      {"a derived class is not its ancestor", "TMemoChild", "Text", false},
      {"untargeted property", "TLabel", "Text", false},
      {"excluded class, targeted property", "TButton", "Caption", false},
      {"excluded class, any property", "TButton", "Hint", false},
      {"a whole class", "TPanel", "Anything", true},
  };
  for (const Case& c : cases) EXPECT_EQ(t.Accepts(c.cls, c.property), c.accepted) << c.name;
  EXPECT_EQ(t.ExcludeCount(), 1);
  EXPECT_FALSE(t.Add("", "Hint"));  // already there
  EXPECT_TRUE(t.Add("", "Hint", TIvTargetProperty::Exclude));
  EXPECT_FALSE(t.Accepts("TLabel", "Hint"));
}

// Short names for the description values the lists are made of.
constexpr auto Int = testing_i18n::DescInt;
constexpr auto Str = testing_i18n::DescStr;
constexpr auto List = testing_i18n::DescList;

TEST(IvTargetProperties, StoredTargetsData) {
  // The main window's value, with one entry repeated.
  DescValue value = List({Int(1), Int(5), List({Str("*"), Str("Hint"), Int(0)}), List({Str("*"), Str("Caption"), Int(0)}),
                          List({Str("TMemo"), Str("Text"), Int(0)}), List({Str("TUiRichEdit"), Str("Text"), Int(0)}),
                          List({Str("*"), Str("Hint"), Int(0)})});
  TIvTargetProperties t;
  t.ReadTargetsData(value);
  ASSERT_EQ(t.Count(), 4);
  EXPECT_EQ(t.Items(0), (TIvTargetProperty{"", "Hint", 0}));
  EXPECT_EQ(t.Items(3), (TIvTargetProperty{"TUiRichEdit", "Text", 0}));

  // Written back: only what the ancestor lacks.
  TIvTargetProperties ancestor;
  ancestor.Add("", "Hint");
  DescValue out = t.TargetsData(&ancestor);
  ASSERT_EQ(out.items.size(), 5u);
  EXPECT_EQ(out.items[1].integer, 3);
  EXPECT_EQ(out.items[2].items[0].text, "*");
  EXPECT_EQ(out.items[2].items[1].text, "Caption");
  TIvTargetProperties again;
  again.ReadTargetsData(t.TargetsData());
  EXPECT_EQ(again.Count(), 4);

  struct Bad {
    const char* name;
    DescValue value;
    const char* message;
  } bad[] = {
      {"version 2", List({Int(2), Int(0)}), "Unknown target properties data version: 2"},
      {"count too large", List({Int(1), Int(3), List({Str("*"), Str("Hint"), Int(0)})}),
       "Target properties data on line 0 announces 3 entries but holds 1"},
      {"short entry", List({Int(1), Int(1), List({Str("*"), Str("Hint")})}), "Target properties data: the entry"},
      {"unknown kind", List({Int(1), Int(1), List({Str("*"), Str("Hint"), Int(7)})}),
       "Target properties data: unknown kind 7"},
      {"not a list", Int(1), "Target properties data on line 0 is not a list"},
  };
  for (const Bad& b : bad) {
    TIvTargetProperties x;
    try {
      x.ReadTargetsData(b.value);
      ADD_FAILURE() << b.name << ": no error";
    } catch (const EIvMulti& e) {
      EXPECT_EQ(std::string(e.what()).rfind(b.message, 0), 0u) << b.name << ": " << e.what();
    }
  }
}

TEST(IvTargetProperties, OlderDataIsReadAsIncludePairs) {
  TIvTargetProperties t;
  t.ReadOldData(List({Str("TLabel"), Str("Caption"), List({Str("*"), Str("Hint")})}));
  ASSERT_EQ(t.Count(), 2);
  EXPECT_EQ(t.Items(0), (TIvTargetProperty{"TLabel", "Caption", 0}));
  EXPECT_EQ(t.Items(1), (TIvTargetProperty{"", "Hint", 0}));
  EXPECT_THROW(t.ReadOldData(List({Str("TLabel")})), EIvMulti);
}

TEST(IvTranslatorClass, PublishedPropertiesAndDefaults) {
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TComponent root{ctx};
  TIvTranslator tr(&root);
  EXPECT_EQ(tr.Options(), 463);
  EXPECT_EQ(tr.MultiByteScale(), 100);
  EXPECT_EQ(tr.CharsetChange(), ivccNormal);
  EXPECT_EQ(tr.NativeLayout(), ivroLeftToRight);
  const ClassInfo& cls = TIvTranslator::StaticClass();
  for (const char* name : {"DictionaryName", "Targets", "TargetsData", "Options", "NativeLayout", "CharsetChange",
                           "MultiByteScale", "OnLanguageChange", "OnLocaleChange"})
    EXPECT_NE(cls.FindProperty(name), nullptr) << name;
  cls.FindProperty("TargetsData")->setData(tr, List({Int(1), Int(1), List({Str("*"), Str("Hint"), Int(0)})}));
  EXPECT_EQ(tr.Targets()->Count(), 1);
}

}  // namespace
}  // namespace vsi
