#pragma once
// The dictionary: the languages of an application, the selected one and its translations,
// the selected locale (pushed into the thread locale and the process-wide format settings),
// and the translators to tell when either changes. Per context it keeps the registry of
// dictionaries with the default dictionary, and three services a dictionary installs: the
// exception-message box, the string-table interception and the shortcut names.
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/component.h"
#include "i18n/language.h"

namespace vsi {

class TStrings;
class TIvDictionary;

// The localisation runtime's refusals.
class EIvMulti : public Exception {
 public:
  using Exception::Exception;
};

enum TIvBinding : uint8_t { ivbiNone, ivbiLocaleToLanguage, ivbiLanguageToLocale };

// Option bits (the stored value is the mask; 127 = all seven).
enum TIvDictionaryOption : uint8_t {
  ivdoConvertNativeString = 0,
  ivdoUpdateLocaleVariables = 1,
  ivdoAutoTranslate = 2,
  ivdoYear2000 = 3,
  ivdoTranslateResourceStrings = 4,
  ivdoRecreateMDIChild = 5,
  ivdoUseFlatTranslation = 6,
};
using TIvDictionaryOptions = uint8_t;
constexpr TIvDictionaryOptions IvOption(TIvDictionaryOption o) { return static_cast<TIvDictionaryOptions>(1u << o); }
constexpr TIvDictionaryOptions kIvAllDictionaryOptions = 127;

enum TIvMissingTranslation : uint8_t { ivmtUseNative, ivmtUseNull, ivmtTagNative, ivmtRaiseException };
enum TIvCheckLevel : uint8_t { ivclNone, ivclSystem, ivclCodePage };

extern const EnumInfo kIvBindingNames;
extern const EnumInfo kIvDictionaryOptionNames;
extern const EnumInfo kIvMissingTranslationNames;
extern const EnumInfo kIvCheckLevelNames;

// One entry of the translation table.
struct TIvTranslation {
  uint8_t source = 0;  // 0: the selected language's translation; 1: the fallback language's
  AnsiString original;
  AnsiString context1;  // context mode: class name of the form; empty outside any form
  AnsiString context2;  // context mode: component name or decimal resource identifier
  AnsiString translation;
  AnsiString key;  // the sort key (see TIvCustomDictionary); filled by SortTranslations
};

// What a dictionary needs of a translator that registered with it.
class IIvTranslator {
 public:
  virtual ~IIvTranslator() = default;
  virtual void LanguageChanged(bool languageChanged, bool localeChanged) = 0;
  // Must leave the translator inactive and without this dictionary; a translator that does
  // not unregister itself is unregistered by the dictionary after the call.
  virtual void Deactivate() = 0;
};

// --- TIvDictionary -------------------------------------------------------------------------

class TIvDictionary : public TComponent {
  VSI_CLASS(TIvDictionary)
  explicit TIvDictionary(TComponent* owner);
  ~TIvDictionary() override;

  // Published properties.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  const AnsiString& DictionaryName() const { return dictionaryName_; }
  void SetDictionaryName(const AnsiString& name) { dictionaryName_ = name; }
  int PrimaryLanguage() const { return PrimaryLangId(localeSetting_); }
  void SetPrimaryLanguage(int primary);
  int SubLanguage() const { return SubLangId(localeSetting_); }
  void SetSubLanguage(int sub);
  int Language() const { return language_; }
  void SetLanguage(int language);
  int MasterLanguage() const { return masterLanguage_; }
  void SetMasterLanguage(int index) { masterLanguage_ = index; }
  TIvBinding Binding() const { return binding_; }
  void SetBinding(TIvBinding binding) { binding_ = binding; }
  TIvDictionaryOptions Options() const { return options_; }
  void SetOptions(TIvDictionaryOptions options) { options_ = options & kIvAllDictionaryOptions; }
  bool HasOption(TIvDictionaryOption o) const { return (options_ & IvOption(o)) != 0; }
  TIvMissingTranslation MissingTranslation() const { return missingTranslation_; }
  void SetMissingTranslation(TIvMissingTranslation policy) { missingTranslation_ = policy; }
  TIvCheckLevel CheckLevel() const { return checkLevel_; }
  void SetCheckLevel(TIvCheckLevel level) { checkLevel_ = level; }

  TNotifyEvent OnBeforeOpen, OnAfterOpen, OnBeforeClose, OnAfterClose;
  TNotifyEvent OnLanguageChange, OnLocaleChange;

  // The locale setting as a whole (PrimaryLanguage and SubLanguage together).
  LCID LocaleSetting() const { return localeSetting_; }
  void SetLocaleSetting(LCID setting);

  // Storage and life cycle.
  virtual void Open();
  virtual void Close();
  virtual int LanguageCount();
  virtual void GetLanguage(int index, TIvLanguage& language);
  virtual int LocaleCount();
  virtual void GetLocale(int index, TIvLocale& locale);
  virtual int TranslationCount();
  virtual void DoChange(bool languageChanged, bool localeChanged);
  virtual bool TranslateInContext(const AnsiString& text, const AnsiString& context1, AnsiString& translation,
                                  const AnsiString& context2);
  virtual bool CanOpen();
  virtual void GetLanguages(std::vector<std::unique_ptr<TIvLanguage>>& list);
  virtual void GetLocales(std::vector<std::unique_ptr<TIvLocale>>& list);
  virtual bool Translate(const AnsiString& text, AnsiString& translation);
  virtual void LocaleFromLanguage();
  virtual void LanguageFromLocale();
  // Appends one name per primary language (native or English) with the primary number as the
  // item's associated value (the object slot holds the number, not an object).
  virtual void AddLanguageNames(TStrings& target, bool native);
  virtual bool IsLocaleAvailable(LCID lcid);

  void SelectLanguage(int requested);
  void ApplyLocale(LCID locale);
  int FindLanguage(LCID locale);
  int FirstSupportedLanguage();
  // Owned by the dictionary; valid until the next call (or the next language change).
  const TIvLanguage& LanguageAt(int index);
  LCID ResolveLocale(LCID locale);

  void RegisterTranslator(IIvTranslator* translator);
  void UnregisterTranslator(IIvTranslator* translator);
  int TranslatorCount() const { return static_cast<int>(translators_.size()); }
  IIvTranslator* Translators(int index) const { return translators_.at(index); }

  // Re-encodes the original of a loaded entry from the native code page to the system's.
  void ConvertNativeString(TIvTranslation& entry);

  // The missing-translation policy on a lookup result: the translation when found and not
  // empty; otherwise the original, nothing, "@original@" or EIvMulti.
  AnsiString ApplyMissingTranslation(const AnsiString& original, bool found, const AnsiString& translation) const;

  // State.
  bool Active() const { return active_; }
  bool ContextMode() const { return contextMode_; }
  int SelectedIndex() const { return selectedIndex_; }
  int FallbackIndex() const { return fallbackIndex_; }
  LCID ActualLocale() const { return actualLocale_; }
  LCID TranslationLocale() const { return translationLocale_; }
  int NativeCodePage() const { return nativeCodePage_; }
  const TIvLanguage& CurrentLanguage() const { return *currentLanguage_; }
  const TIvLocale& CurrentLocale() const { return *currentLocale_; }

 protected:
  void SetContextMode(bool on) { contextMode_ = on; }
  ILocale& System() const;

 private:
  bool LanguagePasses(const TIvLanguage& language);
  void FollowLocale();
  void UpdateFormatSettings();

  bool enabled_ = true;
  AnsiString dictionaryName_;
  LCID localeSetting_ = kLocaleUserDefault;
  int language_ = -1;
  int masterLanguage_ = 0;
  TIvBinding binding_ = ivbiLocaleToLanguage;
  TIvDictionaryOptions options_ = kIvAllDictionaryOptions;
  TIvMissingTranslation missingTranslation_ = ivmtUseNative;
  TIvCheckLevel checkLevel_ = ivclCodePage;

  bool active_ = false;
  bool contextMode_ = false;
  int languageAtOpen_ = -1;
  int selectedIndex_ = -1;
  int fallbackIndex_ = 0;
  LCID actualLocale_ = 0;
  LCID translationLocale_ = 0;
  int nativeCodePage_ = 1252;
  std::unique_ptr<TIvLanguage> currentLanguage_;
  std::unique_ptr<TIvLanguage> scratchLanguage_;
  std::unique_ptr<TIvLocale> currentLocale_;
  std::vector<IIvTranslator*> translators_;
};

// --- TIvCustomDictionary -------------------------------------------------------------------

// Adds the in-memory translation table, sorted by key: the original outside context mode,
// original + 0x7F + context 1 + context 2 in it; bytes compare as unsigned, case counts.
class TIvCustomDictionary : public TIvDictionary {
  VSI_CLASS(TIvCustomDictionary)
  explicit TIvCustomDictionary(TComponent* owner);

  int TranslationCount() override;
  void DoChange(bool languageChanged, bool localeChanged) override;
  bool TranslateInContext(const AnsiString& text, const AnsiString& context1, AnsiString& translation,
                          const AnsiString& context2) override;
  bool Translate(const AnsiString& text, AnsiString& translation) override;
  // Storage-specific: fill the table with the selected and fallback languages' entries, then
  // SortTranslations().
  virtual void LoadTranslations() {}

  const std::vector<TIvTranslation>& Translations() const { return table_; }

 protected:
  std::vector<TIvTranslation>& Table() { return table_; }
  // Computes every entry's key for the current mode and sorts.
  void SortTranslations();

 private:
  std::vector<TIvTranslation> table_;
};

// --- Registry and process-wide services ------------------------------------------------------

// The living dictionaries of one context, in creation order (not owned), and the default
// dictionary index.
class TIvDictionaries {
 public:
  explicit TIvDictionaries(AppContext& context);
  TIvDictionaries(const TIvDictionaries&) = delete;
  TIvDictionaries& operator=(const TIvDictionaries&) = delete;

  // Names a dictionary without a name "DictionaryN" (the first N from Count() + 1 that no
  // registered dictionary bears), then appends it.
  void Add(TIvDictionary* dictionary);
  void Remove(TIvDictionary* dictionary);
  TIvDictionary* FindByName(const AnsiString& name) const;
  int Count() const { return static_cast<int>(list_.size()); }
  TIvDictionary* Items(int index) const;

  int DefaultDictionaryIndex() const { return defaultIndex_; }
  void SetDefaultDictionaryIndex(int index) { defaultIndex_ = index; }
  // Raises "DefaultDictionaryIndex is out or range: N" when there are dictionaries and the
  // index does not name one.
  void CheckDefaultIndex() const;
  // None when there are no dictionaries.
  TIvDictionary* DefaultDictionary() const;
  bool DefaultDictionaryActive() const;

  // Reading order of the application: right-to-left while a right-to-left language is
  // selected. The hook tells the forms when it flips.
  bool RightToLeftReading() const { return rightToLeft_; }
  void SetRightToLeftReading(bool rightToLeft);
  std::function<void(bool rightToLeft)> onReadingOrderChange;
  // Recreates the active maximised MDI child window (there is none without an MDI frame).
  std::function<void()> recreateMdiChild;

  AppContext& Context() const { return context_; }

 private:
  AppContext& context_;
  std::vector<TIvDictionary*> list_;
  int defaultIndex_ = 0;
  bool rightToLeft_ = false;
};

// The runtime's record of the locale in force: recomputed on every locale change when the
// dictionary updates the locale variables.
struct TIvSysLocale {
  explicit TIvSysLocale(AppContext&) {}
  LCID defaultLcid = 0;
  int primaryLanguage = 0;
  int subLanguage = 0;
  bool farEast = false;
  bool middleEast = false;
  std::set<uint8_t> leadBytes;  // lead bytes of the locale's multi-byte code page

  void Recompute(ILocale& system, LCID lcid);
};

TIvDictionaries& Dictionaries(AppContext& context);
TIvDictionary* DefaultDictionary(AppContext& context);

// The text itself for no dictionary or an empty text; else the lookup and the policy.
AnsiString TranslateText(TIvDictionary* dictionary, const AnsiString& text);
// For string-table texts: an empty text counts as found with an empty translation; in context
// mode the identifier is tried as context 2 before the plain lookup.
AnsiString TranslateResourceText(TIvDictionary* dictionary, const AnsiString& text, const AnsiString& identifier);

// The dictionary's error box: the message through the default dictionary (when active), the
// full-stop rule, an "Error" box with one OK button.
void ShowDictionaryException(AppContext& context, const std::exception& e);

// A string-table entry: an identifier in the program's string table, or (identifier above
// 0xFFFF) a text given directly.
struct TResStringRec {
  uint32_t identifier = 0;
  const char* text = nullptr;
};

// Virtual-key modifiers of a shortcut.
constexpr uint16_t scShift = 0x2000;
constexpr uint16_t scCtrl = 0x4000;
constexpr uint16_t scAlt = 0x8000;

// The program's string table and shortcut texts. While the interception is installed (one
// installation per context, whichever dictionary installed it) both go through the default
// dictionary.
class TIvResourceStrings {
 public:
  explicit TIvResourceStrings(AppContext& context) : context_(context) {}

  // The program's string table (LoadStringA of the executable); false when there is no such
  // entry.
  std::function<bool(uint32_t identifier, AnsiString& out)> stringTable;
  // The platform's name of a virtual key (MapVirtualKeyA, then GetKeyNameTextA).
  std::function<AnsiString(uint8_t virtualKey)> platformKeyName;

  AnsiString LoadResString(const TResStringRec& rec);
  AnsiString ShortCutToText(uint16_t shortCut);

  bool Installed() const { return installed_; }
  void Install() { installed_ = true; }
  void Uninstall() { installed_ = false; }

 private:
  AnsiString KeyName(const char* name);

  AppContext& context_;
  bool installed_ = false;
  bool running_ = false;
};

}  // namespace vsi
