#include "i18n/dictionary.h"

#include <algorithm>

#include "framework/context.h"
#include "framework/forms.h"
#include "framework/scope_exit.h"
#include "framework/strings.h"
#include "framework/text_encoding.h"
#include "i18n/mld_file.h"

namespace vsi {

const EnumInfo kIvBindingNames{{"ivbiNone", "ivbiLocaleToLanguage", "ivbiLanguageToLocale"}};
const EnumInfo kIvDictionaryOptionNames{{"ivdoConvertNativeString", "ivdoUpdateLocaleVariables",
                                         "ivdoAutoTranslate", "ivdoYear2000", "ivdoTranslateResourceStrings",
                                         "ivdoRecreateMDIChild", "ivdoUseFlatTranslation"}};
const EnumInfo kIvMissingTranslationNames{{"ivmtUseNative", "ivmtUseNull", "ivmtTagNative", "ivmtRaiseException"}};
const EnumInfo kIvCheckLevelNames{{"ivclNone", "ivclSystem", "ivclCodePage"}};

// --- Registry --------------------------------------------------------------------------------

TIvDictionaries::TIvDictionaries(AppContext& context) : context_(context) {}

TIvDictionaries& Dictionaries(AppContext& context) { return context.Service<TIvDictionaries>(); }

void TIvDictionaries::Add(TIvDictionary* dictionary) {
  if (dictionary->DictionaryName().empty()) {
    for (int n = Count() + 1;; ++n) {
      AnsiString name = "Dictionary" + std::to_string(n);
      if (!FindByName(name)) {
        dictionary->SetDictionaryName(name);
        break;
      }
    }
  }
  list_.push_back(dictionary);
}

void TIvDictionaries::Remove(TIvDictionary* dictionary) {
  list_.erase(std::remove(list_.begin(), list_.end(), dictionary), list_.end());
}

TIvDictionary* TIvDictionaries::FindByName(const AnsiString& name) const {
  for (TIvDictionary* d : list_)
    if (d->DictionaryName() == name) return d;
  return nullptr;
}

TIvDictionary* TIvDictionaries::Items(int index) const {
  if (index < 0 || index >= Count()) throw ERangeError(Format("List index out of bounds (%d)", index));
  return list_[index];
}

void TIvDictionaries::CheckDefaultIndex() const {
  // A negative index names no dictionary either.
  if (Count() > 0 && (defaultIndex_ < 0 || defaultIndex_ >= Count()))
    throw ERangeError(Format("DefaultDictionaryIndex is out or range: %d", defaultIndex_));
}

TIvDictionary* TIvDictionaries::DefaultDictionary() const {
  if (list_.empty()) return nullptr;
  CheckDefaultIndex();
  return list_[defaultIndex_];
}

bool TIvDictionaries::DefaultDictionaryActive() const {
  return defaultIndex_ >= 0 && defaultIndex_ < Count() && list_[defaultIndex_]->Active();
}

void TIvDictionaries::SetRightToLeftReading(bool rightToLeft) {
  if (rightToLeft == rightToLeft_) return;
  rightToLeft_ = rightToLeft;
  if (onReadingOrderChange) onReadingOrderChange(rightToLeft);
}

TIvDictionary* DefaultDictionary(AppContext& context) { return Dictionaries(context).DefaultDictionary(); }

void TIvSysLocale::Recompute(ILocale& system, LCID lcid) {
  defaultLcid = lcid;
  primaryLanguage = PrimaryLangId(lcid);
  subLanguage = SubLangId(lcid);
  farEast = LayoutClass(lcid) == 1;
  middleEast = LayoutClass(lcid) == 2;
  leadBytes.clear();
  if (!farEast) return;
  auto addRange = [this](int from, int to) {
    for (int b = from; b <= to; ++b) leadBytes.insert(static_cast<uint8_t>(b));
  };
  switch (DefaultCodePage(system, lcid)) {
    case 932:
      addRange(0x81, 0x9F);
      addRange(0xE0, 0xFC);
      break;
    case 936:
    case 949:
    case 950:
      addRange(0x81, 0xFE);
      break;
    case 1361:
      addRange(0x84, 0xD3);
      addRange(0xD8, 0xDE);
      addRange(0xE0, 0xF9);
      break;
    default:
      break;
  }
}

// --- Free lookups ------------------------------------------------------------------------------

AnsiString TranslateText(TIvDictionary* dictionary, const AnsiString& text) {
  if (!dictionary || text.empty()) return text;
  AnsiString translation;
  bool found = dictionary->Translate(text, translation);
  return dictionary->ApplyMissingTranslation(text, found, translation);
}

AnsiString TranslateResourceText(TIvDictionary* dictionary, const AnsiString& text, const AnsiString& identifier) {
  if (!dictionary) return text;
  AnsiString translation;
  bool found = text.empty();
  if (!found && dictionary->ContextMode()) found = dictionary->TranslateInContext(text, "", translation, identifier);
  if (!found) found = dictionary->Translate(text, translation);
  return dictionary->ApplyMissingTranslation(text, found, translation);
}

void ShowDictionaryException(AppContext& context, const std::exception& e) {
  AnsiString message = e.what();
  TIvDictionaries& registry = Dictionaries(context);
  if (registry.DefaultDictionaryActive()) {
    // The box must show something even when the dictionary refuses the message.
    try {
      message = TranslateText(registry.DefaultDictionary(), message);
    } catch (const std::exception&) {
      message = e.what();
    }
  }
  // The main window owns the box, as it owns the framework's: the box stays in front of it
  // and keeps it from taking input until it is closed.
  WindowHandle owner = 0;
  for (int i = 0; i < registry.Count() && !owner; ++i)
    if (TApplication* app = ApplicationOf(*registry.Items(i))) owner = app->ErrorBoxOwner();
  context.platform().windows.MessageBox(owner, WithFullStop(message), "Error", MB_OK_ | MB_ICONERROR_);
}

// --- String table and shortcut names ----------------------------------------------------------

AnsiString TIvResourceStrings::LoadResString(const TResStringRec& rec) {
  auto load = [&]() -> AnsiString {
    if (rec.identifier > 0xFFFF) return rec.text ? AnsiString(rec.text) : AnsiString();
    AnsiString text;
    if (stringTable && stringTable(rec.identifier, text) && text.size() > 1023) text.resize(1023);
    return text;
  };
  if (!installed_) return load();
  try {
    AnsiString text = load();
    TIvDictionaries& registry = Dictionaries(context_);
    registry.CheckDefaultIndex();
    if (!text.empty() && registry.DefaultDictionaryActive() && !running_) {
      running_ = true;
      ScopeExit reset{[this] { running_ = false; }};
      text = TranslateResourceText(registry.DefaultDictionary(), text, std::to_string(rec.identifier));
    }
    return text;
  } catch (...) {
    return AnsiString();
  }
}

AnsiString TIvResourceStrings::KeyName(const char* name) {
  if (!installed_) return name;
  TIvDictionaries& registry = Dictionaries(context_);
  registry.CheckDefaultIndex();
  return registry.DefaultDictionaryActive() ? TranslateText(registry.DefaultDictionary(), name) : AnsiString(name);
}

AnsiString TIvResourceStrings::ShortCutToText(uint16_t shortCut) {
  static const char* const kNavigation[] = {"Space", "PgUp", "PgDn", "End", "Home", "Left", "Up", "Right", "Down"};
  int key = shortCut & 0xFF;
  AnsiString name;
  if (key == 8) {
    name = KeyName("BkSp");
  } else if (key == 9) {
    name = KeyName("Tab");
  } else if (key == 13) {
    name = KeyName("Enter");
  } else if (key == 27) {
    name = KeyName("Esc");
  } else if (key >= 32 && key <= 40) {
    name = KeyName(kNavigation[key - 32]);
  } else if (key == 45) {
    name = KeyName("Ins");
  } else if (key == 46) {
    name = KeyName("Del");
  } else if ((key >= 48 && key <= 57) || (key >= 65 && key <= 90)) {
    name = AnsiString(1, static_cast<char>(key));
  } else if (key >= 96 && key <= 105) {
    name = AnsiString(1, static_cast<char>('0' + key - 96));
  } else if (key >= 112 && key <= 135) {
    name = "F" + std::to_string(key - 111);
  } else if (platformKeyName) {
    AnsiString platformName = platformKeyName(static_cast<uint8_t>(key));
    if (platformName.size() == 1) name = platformName;
  }
  if (name.empty()) return name;
  AnsiString prefix;
  if (shortCut & scShift) prefix += KeyName("Shift+");
  if (shortCut & scCtrl) prefix += KeyName("Ctrl+");
  if (shortCut & scAlt) prefix += KeyName("Alt+");
  return prefix + name;
}

// --- TIvDictionary ---------------------------------------------------------------------------

const ClassInfo& TIvDictionary::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TIvDictionary>("TIvDictionary", &TComponent::StaticClass())
          .Bool("Enabled", &TIvDictionary::Enabled, &TIvDictionary::SetEnabled)
          .Text("DictionaryName", &TIvDictionary::DictionaryName, &TIvDictionary::SetDictionaryName)
          .Int("PrimaryLanguage", &TIvDictionary::PrimaryLanguage, &TIvDictionary::SetPrimaryLanguage)
          .Int("SubLanguage", &TIvDictionary::SubLanguage, &TIvDictionary::SetSubLanguage)
          .Int("Language", &TIvDictionary::Language, &TIvDictionary::SetLanguage)
          .Int("MasterLanguage", &TIvDictionary::MasterLanguage, &TIvDictionary::SetMasterLanguage)
          .Enum("Binding", kIvBindingNames, &TIvDictionary::Binding, &TIvDictionary::SetBinding)
          .Set("Options", kIvDictionaryOptionNames, &TIvDictionary::Options, &TIvDictionary::SetOptions)
          .Enum("MissingTranslation", kIvMissingTranslationNames, &TIvDictionary::MissingTranslation,
                &TIvDictionary::SetMissingTranslation)
          .Enum("CheckLevel", kIvCheckLevelNames, &TIvDictionary::CheckLevel, &TIvDictionary::SetCheckLevel)
          .Event("OnBeforeOpen", &TIvDictionary::OnBeforeOpen)
          .Event("OnAfterOpen", &TIvDictionary::OnAfterOpen)
          .Event("OnBeforeClose", &TIvDictionary::OnBeforeClose)
          .Event("OnAfterClose", &TIvDictionary::OnAfterClose)
          .Event("OnLanguageChange", &TIvDictionary::OnLanguageChange)
          .Event("OnLocaleChange", &TIvDictionary::OnLocaleChange)
          .Build();
  return info;
}

TIvDictionary::TIvDictionary(TComponent* owner)
    : TComponent(owner),
      currentLanguage_(std::make_unique<TIvLanguage>()),
      currentLocale_(std::make_unique<TIvLocale>()) {
  Dictionaries(Context()).Add(this);
  if (TApplication* app = ApplicationOf(*this); app && !app->OnException) {
    // The handler reaches the dictionaries through the context, so it outlives this one.
    AppContext* context = &Context();
    app->OnException = [context](TObject*, const std::exception& e) { ShowDictionaryException(*context, e); };
  }
}

TIvDictionary::~TIvDictionary() {
  while (!translators_.empty()) {
    IIvTranslator* t = translators_.front();
    t->Deactivate();
    UnregisterTranslator(t);
  }
  Dictionaries(Context()).Remove(this);
}

ILocale& TIvDictionary::System() const { return Plat().locale; }

void TIvDictionary::SetPrimaryLanguage(int primary) { SetLocaleSetting(MakeLangId(primary, SubLanguage())); }

void TIvDictionary::SetSubLanguage(int sub) { SetLocaleSetting(MakeLangId(PrimaryLanguage(), sub)); }

void TIvDictionary::SetLocaleSetting(LCID setting) {
  if (!active_) {
    localeSetting_ = setting;
    return;
  }
  if (setting == localeSetting_) return;
  localeSetting_ = setting;
  ApplyLocale(setting);
  int before = selectedIndex_;
  if (binding_ == ivbiLanguageToLocale) FollowLocale();
  DoChange(selectedIndex_ != before, true);
}

// The language follows the locale in force.
void TIvDictionary::FollowLocale() {
  int i = FindLanguage(actualLocale_);
  if (i < 0) {
    SelectLanguage(FirstSupportedLanguage());
  } else {
    SelectLanguage(i);
    translationLocale_ = actualLocale_;
  }
}

void TIvDictionary::SetLanguage(int language) {
  if (!active_) {
    language_ = language;
    return;
  }
  if (language < -2 || language >= LanguageCount())
    throw ERangeError(Format("Language index %d is out of range", language));
  if (language == language_) return;
  SelectLanguage(language);
  language_ = language;
  LCID before = actualLocale_;
  if (binding_ == ivbiLocaleToLanguage) ApplyLocale(currentLanguage_->CurrentLocaleId());
  DoChange(true, actualLocale_ != before);
}

LCID TIvDictionary::ResolveLocale(LCID locale) {
  if (locale == kLocaleUserDefault) return System().GetUserDefaultLCID();
  if (locale == kLocaleSystemDefault) return System().GetSystemDefaultLCID();
  return locale;
}

bool TIvDictionary::LanguagePasses(const TIvLanguage& language) {
  switch (checkLevel_) {
    case ivclSystem:
      return LanguageSupportedBySystem(System(), language);
    case ivclCodePage:
      return LanguageSupportedByCodePage(System(), language);
    case ivclNone:
    default:
      return true;
  }
}

// A language the check refuses leaves the one in force as it was: the window keeps showing
// it, and picking the refused one again reports it again.
void TIvDictionary::SelectLanguage(int requested) {
  int selected = requested == -2   ? FindLanguage(System().GetSystemDefaultLCID())
                 : requested == -1 ? FindLanguage(System().GetUserDefaultLCID())
                                   : requested;
  if (selected < 0) selected = FirstSupportedLanguage();
  if (selected < 0) throw EIvMulti("System does not support any language of the dicitonary!");

  auto next = std::make_unique<TIvLanguage>();
  TIvLanguage& language = *next;
  int fallback = 0;
  int nativeCodePage = nativeCodePage_;
  if (LanguageCount() > 0) {
    GetLanguage(0, language);
    nativeCodePage = language.CodePage();
    GetLanguage(selected, language);
    if (binding_ == ivbiLocaleToLanguage) {
      LCID user = languageAtOpen_ == -2 ? System().GetSystemDefaultLCID() : System().GetUserDefaultLCID();
      LCID def = language.DefaultLocaleId();
      language.SetCurrentSubLanguage(PrimaryLangId(user) == PrimaryLangId(def) ? SubLangId(user) : SubLangId(def));
    }
    if (!language.subLanguages.empty()) fallback = std::max(FindLanguage(MakeLangId(language.primary, 0)), 0);
  }
  if (masterLanguage_ > 0 && fallback == 0) fallback = masterLanguage_;
  if (checkLevel_ == ivclSystem && !LanguageSupportedBySystem(System(), language))
    throw EIvMulti(language.englishName + " is not supported by the system");
  if (checkLevel_ == ivclCodePage && !LanguageSupportedByCodePage(System(), language))
    throw EIvMulti(language.englishName + " is not supported by the code page");
  selectedIndex_ = selected;
  fallbackIndex_ = fallback;
  nativeCodePage_ = nativeCodePage;
  translationLocale_ = language.CurrentLocaleId();
  currentLanguage_ = std::move(next);
}

void TIvDictionary::ApplyLocale(LCID locale) {
  actualLocale_ = ResolveLocale(locale);
  auto next = std::make_unique<TIvLocale>();
  std::vector<std::unique_ptr<TIvLocale>> custom;
  GetLocales(custom);
  bool found = false;
  for (const auto& c : custom) {
    if (c->LocaleId() == actualLocale_) {
      next->Assign(*c);
      found = true;
      break;
    }
  }
  if (!found) FillLocaleFromSystem(System(), actualLocale_, *next);
  currentLocale_ = std::move(next);
  if (checkLevel_ == ivclSystem && !LocaleSupportedBySystem(System(), *currentLocale_))
    throw EIvMulti(Format("The locale (%d, %d) is not supported by the system", PrimaryLangId(locale),
                          SubLangId(locale)));
  if (checkLevel_ == ivclCodePage && !LocaleSupportedByCodePage(System(), *currentLocale_))
    throw EIvMulti(Format("The locale (%d, %d) is not supported by the current code page",
                          PrimaryLangId(locale), SubLangId(locale)));
}

int TIvDictionary::FindLanguage(LCID locale) {
  if (locale == 0) return 0;
  LCID resolved = ResolveLocale(locale);
  int p = PrimaryLangId(resolved);
  int s = SubLangId(resolved);
  std::vector<std::unique_ptr<TIvLanguage>> languages;
  GetLanguages(languages);
  int n = static_cast<int>(languages.size());
  for (int i = 0; i < n; ++i)
    if (languages[i]->primary == p && (languages[i]->EffectiveSubLanguage() == s || languages[i]->HasSubLanguage(s)))
      return i;
  for (int i = 0; i < n; ++i)
    if (languages[i]->primary == p && languages[i]->subLanguages.empty()) return i;
  for (int i = 0; i < n; ++i)
    if (languages[i]->primary == p) return i;
  return -1;
}

int TIvDictionary::FirstSupportedLanguage() {
  int n = LanguageCount();
  if (n == 0) return -1;
  int start = masterLanguage_ < 0 || masterLanguage_ >= n ? 0 : masterLanguage_;
  for (int i = start; i < n; ++i) {
    TIvLanguage candidate;
    GetLanguage(i, candidate);
    if (LanguagePasses(candidate)) return i;
  }
  return -1;
}

const TIvLanguage& TIvDictionary::LanguageAt(int index) {
  if (index < 0 || index >= LanguageCount()) throw ERangeError("Out of language range");
  if (index == selectedIndex_) return *currentLanguage_;
  scratchLanguage_ = std::make_unique<TIvLanguage>();
  GetLanguage(index, *scratchLanguage_);
  return *scratchLanguage_;
}

void TIvDictionary::RegisterTranslator(IIvTranslator* translator) {
  if (translator && std::find(translators_.begin(), translators_.end(), translator) == translators_.end())
    translators_.push_back(translator);
}

void TIvDictionary::UnregisterTranslator(IIvTranslator* translator) {
  translators_.erase(std::remove(translators_.begin(), translators_.end(), translator), translators_.end());
}

void TIvDictionary::Open() {
  if (!CanOpen()) return;
  // A failed open leaves the dictionary closed, as if it had never been opened.
  ScopeExit closeOnFailure{[this] {
    Fire(OnBeforeClose, this);
    Close();
    Fire(OnAfterClose, this);
  }};
  languageAtOpen_ = language_;
  switch (binding_) {
    case ivbiNone:
      SelectLanguage(language_);
      ApplyLocale(localeSetting_);
      break;
    case ivbiLocaleToLanguage:
      SelectLanguage(language_);
      ApplyLocale(currentLanguage_->CurrentLocaleId());
      break;
    case ivbiLanguageToLocale:
      ApplyLocale(localeSetting_);
      FollowLocale();
      break;
  }
  if (HasOption(ivdoTranslateResourceStrings)) {
    TIvResourceStrings& strings = Context().Service<TIvResourceStrings>();
    if (!strings.Installed()) strings.Install();
  }
  active_ = true;
  DoChange(true, true);
  closeOnFailure.Dismiss();
}

void TIvDictionary::Close() {
  if (TIvResourceStrings* strings = Context().FindService<TIvResourceStrings>(); strings && strings->Installed())
    strings->Uninstall();
  while (!translators_.empty()) {
    IIvTranslator* t = translators_.front();
    t->Deactivate();
    UnregisterTranslator(t);
  }
  active_ = false;
}

int TIvDictionary::LanguageCount() { return 0; }
void TIvDictionary::GetLanguage(int index, TIvLanguage& language) {}
int TIvDictionary::LocaleCount() { return 0; }
void TIvDictionary::GetLocale(int index, TIvLocale& locale) {}
int TIvDictionary::TranslationCount() { return 0; }
bool TIvDictionary::CanOpen() { return true; }

bool TIvDictionary::TranslateInContext(const AnsiString& text, const AnsiString& context1, AnsiString& translation,
                                       const AnsiString& context2) {
  return false;
}

bool TIvDictionary::Translate(const AnsiString& text, AnsiString& translation) {
  return TranslateInContext(text, "", translation, "");
}

void TIvDictionary::GetLanguages(std::vector<std::unique_ptr<TIvLanguage>>& list) {
  int n = LanguageCount();
  for (int i = 0; i < n; ++i) {
    auto language = std::make_unique<TIvLanguage>();
    GetLanguage(i, *language);
    list.push_back(std::move(language));
  }
}

void TIvDictionary::GetLocales(std::vector<std::unique_ptr<TIvLocale>>& list) {
  int n = LocaleCount();
  for (int i = 0; i < n; ++i) {
    auto locale = std::make_unique<TIvLocale>();
    GetLocale(i, *locale);
    list.push_back(std::move(locale));
  }
}

void TIvDictionary::LocaleFromLanguage() {
  if (!active_) return;
  LCID before = actualLocale_;
  ApplyLocale(currentLanguage_->DefaultLocaleId());
  if (actualLocale_ != before) DoChange(false, true);
}

void TIvDictionary::LanguageFromLocale() {
  if (!active_) return;
  int before = selectedIndex_;
  SelectLanguage(FindLanguage(actualLocale_));
  if (selectedIndex_ != before) DoChange(true, false);
}

void TIvDictionary::AddLanguageNames(TStrings& target, bool native) {
  std::vector<std::unique_ptr<TIvLanguage>> languages;
  GetLanguages(languages);
  std::vector<int> seen;
  for (const auto& language : languages) {
    if (std::find(seen.begin(), seen.end(), language->primary) != seen.end()) continue;
    seen.push_back(language->primary);
    // The item carries the primary number in its object slot.
    target.Add(native ? language->nativeName : language->englishName,
               reinterpret_cast<TObject*>(static_cast<intptr_t>(language->primary)));
  }
}

bool TIvDictionary::IsLocaleAvailable(LCID lcid) {
  for (LCID l : System().EnumSystemLocales(false))
    if (l == lcid) return true;
  std::vector<std::unique_ptr<TIvLocale>> custom;
  GetLocales(custom);
  for (const auto& c : custom)
    if (c->LocaleId() == lcid) return true;
  return false;
}

void TIvDictionary::ConvertNativeString(TIvTranslation& entry) {
  ILocale& system = System();
  if (system.GetACP() == static_cast<uint32_t>(nativeCodePage_) || !HasOption(ivdoConvertNativeString) ||
      entry.context1.empty())
    return;
  WideString wide = system.MultiByteToWide(static_cast<uint32_t>(nativeCodePage_), entry.original);
  // Plain ASCII reads the same in every code page; only other texts are re-encoded.
  if (Utf16ToUtf8(wide) != entry.original) entry.original = system.WideToMultiByte(CP_ACP_, wide);
}

AnsiString TIvDictionary::ApplyMissingTranslation(const AnsiString& original, bool found,
                                                  const AnsiString& translation) const {
  if (found && !translation.empty()) return translation;
  switch (missingTranslation_) {
    case ivmtUseNull:
      return AnsiString();
    case ivmtTagNative:
      return "@" + original + "@";
    case ivmtRaiseException:
      if (found) throw EIvMulti("Translation for the word \"" + original + "\" is missing");
      throw EIvMulti("Dictionary does not contain a translation for the word \"" + original + "\"");
    case ivmtUseNative:
    default:
      return original;
  }
}

void TIvDictionary::DoChange(bool languageChanged, bool localeChanged) {
  Dictionaries(Context()).SetRightToLeftReading(LayoutClass(currentLanguage_->LocaleId()) == 2);
  if (localeChanged) {
    System().SetThreadLocale(actualLocale_);
    if (HasOption(ivdoUpdateLocaleVariables)) {
      Context().Service<TIvSysLocale>().Recompute(System(), currentLocale_->LocaleId());
      UpdateFormatSettings();
    }
  }
  if (HasOption(ivdoAutoTranslate)) {
    // A translator may unregister itself while it is told.
    std::vector<IIvTranslator*> told = translators_;
    for (IIvTranslator* t : told)
      if (std::find(translators_.begin(), translators_.end(), t) != translators_.end())
        t->LanguageChanged(languageChanged, localeChanged);
  }
  if (languageChanged) Fire(OnLanguageChange, this);
  if (localeChanged) Fire(OnLocaleChange, this);
  if (languageChanged && HasOption(ivdoRecreateMDIChild)) {
    TIvDictionaries& registry = Dictionaries(Context());
    if (registry.recreateMdiChild) registry.recreateMdiChild();
  }
}

namespace {

// "dd.MM.yy" -> "dd.MM.yyyy"; formats with four-digit years or none stay.
AnsiString WithFourDigitYear(const AnsiString& format) {
  auto p = format.find("yy");
  if (p == AnsiString::npos || format.find("yyyy") != AnsiString::npos) return format;
  AnsiString out = format;
  out.insert(p, "yy");
  return out;
}

}  // namespace

void TIvDictionary::UpdateFormatSettings() {
  const TIvLocale& l = *currentLocale_;
  // A locale the system does not know leaves everything blank; the settings then keep what
  // they hold rather than lose their separators.
  if (l.codePage == 0) return;
  TFormatSettings& fs = Context().format();
  fs.currencyString = l.currencySymbol;
  fs.currencyFormat = l.currencyFormat;
  fs.negCurrFormat = l.negativeCurrencyFormat;
  fs.thousandSeparator = l.thousandSeparator;
  fs.decimalSeparator = l.decimalSeparator;
  fs.currencyDecimals = l.currencyDigits;
  fs.dateSeparator = l.dateSeparator;
  fs.shortDateFormat = l.shortDateFormat;
  fs.longDateFormat = l.longDateFormat;
  fs.listSeparator = l.listSeparator;
  fs.timeSeparator = l.timeSeparator;
  fs.timeAMString = l.amDesignator;
  fs.timePMString = l.pmDesignator;
  if (HasOption(ivdoYear2000)) {
    fs.shortDateFormat = WithFourDigitYear(fs.shortDateFormat);
    fs.longDateFormat = WithFourDigitYear(fs.longDateFormat);
  }
  AnsiString hours = l.timeLeadingZero ? "hh" : "h";
  AnsiString before, after;
  if (l.timeFormat == 0) {
    if (l.timeMarkerPosition == 0) after = " AMPM";
    if (l.timeMarkerPosition == 1) before = "AMPM ";
  }
  fs.shortTimeFormat = before + hours + ":mm" + after;
  fs.longTimeFormat = before + hours + ":mm:ss" + after;
  for (int i = 0; i < 12; ++i) {
    fs.shortMonthNames[i] = l.shortMonthNames[i];
    fs.longMonthNames[i] = l.longMonthNames[i];
  }
  // The locale lists Monday first; the settings start on Sunday.
  for (int i = 0; i < 7; ++i) {
    fs.shortDayNames[(i + 1) % 7] = l.shortDayNames[i];
    fs.longDayNames[(i + 1) % 7] = l.longDayNames[i];
  }
}

// --- TIvCustomDictionary -----------------------------------------------------------------------

const ClassInfo& TIvCustomDictionary::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TIvCustomDictionary>("TIvCustomDictionary", &TIvDictionary::StaticClass()).Build();
  return info;
}

TIvCustomDictionary::TIvCustomDictionary(TComponent* owner) : TIvDictionary(owner) {}

int TIvCustomDictionary::TranslationCount() { return static_cast<int>(table_.size()); }

void TIvCustomDictionary::DoChange(bool languageChanged, bool localeChanged) {
  if (languageChanged) LoadTranslations();
  TIvDictionary::DoChange(languageChanged, localeChanged);
}

void TIvCustomDictionary::SortTranslations() {
  for (TIvTranslation& t : table_) {
    t.key = t.original;
    if (ContextMode()) {
      t.key += '\x7F';
      t.key += t.context1;
      t.key += t.context2;
    }
  }
  std::sort(table_.begin(), table_.end(),
            [](const TIvTranslation& a, const TIvTranslation& b) { return a.key < b.key; });
}

bool TIvCustomDictionary::Translate(const AnsiString& text, AnsiString& translation) {
  if (!ContextMode()) return TranslateInContext(text, "", translation, "");
  // Any context will do: compare each key's leading "original + 0x7F" with text + 0x7F,
  // without building that probe.
  const size_t n = text.size();
  auto order = [&](const TIvTranslation& t) {
    int c = t.key.compare(0, n, text);
    if (c != 0) return c;
    if (t.key.size() == n) return -1;
    auto next = static_cast<unsigned char>(t.key[n]);
    return next < 0x7F ? -1 : next > 0x7F ? 1 : 0;
  };
  auto it = std::partition_point(table_.begin(), table_.end(), [&](const TIvTranslation& t) { return order(t) < 0; });
  if (it == table_.end() || order(*it) != 0) return false;
  translation = it->translation;
  return true;
}

bool TIvCustomDictionary::TranslateInContext(const AnsiString& text, const AnsiString& context1,
                                             AnsiString& translation, const AnsiString& context2) {
  auto find = [&](const AnsiString& key) {
    auto it = std::lower_bound(table_.begin(), table_.end(), key,
                               [](const TIvTranslation& t, const AnsiString& k) { return t.key < k; });
    if (it == table_.end() || it->key != key) return false;
    translation = it->translation;
    return true;
  };
  if (!ContextMode()) return find(text);
  AnsiString key = text;
  key += '\x7F';
  key += context1;
  key += context2;
  return find(key);
}

}  // namespace vsi
