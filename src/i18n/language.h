#pragma once
// Languages and locales of the localisation runtime: the identifier arithmetic, code pages
// and font charsets, the naming rules, the support checks, and the two value types the
// dictionary, its file reader and the translator pass around.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/locale.h"
#include "platform/types.h"

namespace vsi {

class AppContext;
class TIvDictionary;

// --- Identifiers -------------------------------------------------------------------------

// Locale identifiers with a fixed meaning.
constexpr LCID kLocaleNeutral = 0x0000;
constexpr LCID kLocaleUserDefault = 0x0400;
constexpr LCID kLocaleSystemDefault = 0x0800;

// Primary-language numbers the rules below single out.
enum TIvPrimaryLanguage : int {
  ivlNeutral = 0,
  ivlArabic = 1,
  ivlBulgarian = 2,
  ivlChinese = 4,
  ivlCzech = 5,
  ivlGreek = 8,
  ivlEnglish = 9,
  ivlSpanish = 10,
  ivlHebrew = 13,
  ivlHungarian = 14,
  ivlJapanese = 17,
  ivlKorean = 18,
  ivlNorwegian = 20,
  ivlPolish = 21,
  ivlRomanian = 24,
  ivlRussian = 25,
  ivlSerbian = 26,  // Serbian and Croatian share the number
  ivlSlovak = 27,
  ivlAlbanian = 28,
  ivlThai = 30,
  ivlTurkish = 31,
  ivlIndonesian = 33,
  ivlUkrainian = 34,
  ivlBelarusian = 35,
  ivlSlovenian = 36,
  ivlEstonian = 37,
  ivlLatvian = 38,
  ivlLithuanian = 39,
  ivlFarsi = 41,
  ivlVietnamese = 42,
  ivlAzeri = 44,
  ivlUzbek = 67,
};

// LANGID = primary | sub << 10; an LCID built here always has sort 0. Out-of-range parts are
// cut to their bit widths so they cannot spill into the neighbouring field.
constexpr LCID MakeLangId(int primary, int sub) {
  return static_cast<LCID>((static_cast<uint32_t>(primary) & 0x3FFu) | ((static_cast<uint32_t>(sub) & 0x3Fu) << 10));
}
constexpr int PrimaryLangId(LCID id) { return static_cast<int>(id & 0x3FFu); }
constexpr int SubLangId(LCID id) { return static_cast<int>((id >> 10) & 0x3Fu); }

// --- Code pages and charsets ---------------------------------------------------------------

struct TIvCharsetRow {
  uint8_t charset = 0;
  uint16_t codePage = 0;
  bool rightToLeft = false;
};
// Indexed by the code-page bit of a font signature; unlisted bits are all zero.
const std::array<TIvCharsetRow, 32>& CharsetTable();

// The charset of the first row whose code page matches; 1 (the default charset) otherwise.
// Code page 0 matches the first all-zero row and so gives 0.
uint8_t CharsetOfCodePage(int codePage);

// The locale text, or `def` when the query fails.
AnsiString LocaleString(ILocale& locale, LCID lcid, LCTYPE type, const AnsiString& def);

// The ANSI code page of a locale: the system's answer, or a fixed rule per primary language.
int DefaultCodePage(ILocale& locale, LCID lcid);

// 2 right-to-left (Arabic, Hebrew, Farsi), 1 far-east multi-byte (Chinese, Japanese, Korean),
// 0 otherwise.
int LayoutClass(LCID lcid);

// True for 0 and for every code page the system enumerates as supported.
bool CodePageSupported(ILocale& locale, int codePage);

// Decimal integer as the runtime reads numbers: leading blanks, an optional sign, digits and
// nothing else. Raises EConvertError otherwise.
int StrToIntStrict(const AnsiString& text);

// --- Naming rules --------------------------------------------------------------------------

// Passes one piece of a name through a dictionary (the translated-name kind); empty = as is.
using TIvNameTranslator = std::function<AnsiString(const AnsiString&)>;

enum TIvNameKind : int { ivnkEnglish = 0, ivnkNative = 1, ivnkTranslated = 2 };

// The suffix the language rule adds for this primary and code page ("" for none).
AnsiString LanguageNameSuffix(int primary, int codePage);
// base (cut per primary) [+ ", " + suffix].
AnsiString BuildLanguageName(const AnsiString& text, int primary, int codePage,
                             const TIvNameTranslator& translate = {});
// language part [+ ", " + suffix] [+ " (" + country part + ")" when sub != 0].
AnsiString BuildLocaleName(const AnsiString& language, const AnsiString& country, int codePage, int sub,
                           int primary, const TIvNameTranslator& translate = {});

// A translator over a dictionary's text lookup and missing-translation policy; with no
// dictionary, the default dictionary of `context` (none when that is null too).
TIvNameTranslator DictionaryNameTranslator(TIvDictionary* dictionary, AppContext* context);

// --- TIvLanguage ---------------------------------------------------------------------------

// Flag bits of a language.
constexpr uint8_t ivlfKept = 1;            // carried along; nothing consults it
constexpr uint8_t ivlfNoCodePageCheck = 2;  // exempt from the code-page checks (Native)

// One language of a dictionary. Filled field by field by a reader (then Complete) and read
// only afterwards; the dictionary replaces the object rather than changing it.
class TIvLanguage {
 public:
  TIvLanguage() = default;
  virtual ~TIvLanguage() = default;
  TIvLanguage(const TIvLanguage&) = default;
  TIvLanguage& operator=(const TIvLanguage&) = default;

  virtual void SetDefaultSubLanguage(int sub);
  virtual void Assign(const TIvLanguage& other);
  virtual std::unique_ptr<TIvLanguage> Clone() const;
  // Fills what a reader left empty from the locale database.
  virtual void Complete(ILocale& locale);
  // Same primary, and either neutral or the same code page (Chinese 950 and 936 differ).
  virtual bool SameAs(const TIvLanguage& other) const;
  virtual AnsiString GetName(TIvNameKind kind, TIvDictionary* dictionary = nullptr,
                             AppContext* context = nullptr) const;

  // The charset always follows the code page.
  void SetCodePage(int codePage);
  int CodePage() const { return codePage_; }
  uint8_t Charset() const { return charset_; }

  LCID LocaleId() const;
  LCID DefaultLocaleId() const;
  LCID CurrentLocaleId() const;
  int EffectiveSubLanguage() const;
  void SetCurrentSubLanguage(int sub);
  bool HasSubLanguage(int sub) const;

  // Comma-separated list texts. Reading sublanguages raises EConvertError on a piece that is
  // not an integer (the list is then left as it was).
  void SetSubLanguagesText(const AnsiString& text);
  AnsiString SubLanguagesText() const;
  void SetVariantsText(const AnsiString& text);
  AnsiString VariantsText() const;

  int primary = 0;
  int currentSubLanguage = 0;
  int defaultSubLanguage = 0;
  std::vector<int> subLanguages;  // duplicates are kept
  AnsiString isoLanguage;
  AnsiString isoCountry;
  std::vector<AnsiString> variants;
  AnsiString englishName;
  AnsiString nativeName;  // in the language's own code page
  AnsiString fontName;    // empty: keep the window's font
  int fontSize = 0;       // 0: keep
  uint8_t flags = 0;

 private:
  int codePage_ = 0;
  uint8_t charset_ = 0;
};

// --- TIvLocale -----------------------------------------------------------------------------

// One set of regional conventions: from the dictionary data or from the system.
class TIvLocale {
 public:
  TIvLocale() = default;
  virtual ~TIvLocale() = default;
  TIvLocale(const TIvLocale&) = default;
  TIvLocale& operator=(const TIvLocale&) = default;

  virtual void Assign(const TIvLocale& other);
  virtual std::unique_ptr<TIvLocale> Clone() const;
  virtual void Complete(ILocale& locale);
  virtual AnsiString GetName(TIvNameKind kind, TIvDictionary* dictionary = nullptr,
                             AppContext* context = nullptr) const;

  LCID LocaleId() const { return MakeLangId(primary, sub); }

  int primary = 0;
  int sub = 0;
  AnsiString isoLanguage;
  AnsiString isoCountry;
  int codePage = 0;
  uint8_t flag = 0;
  uint8_t charset = 0;
  AnsiString englishLanguageName;
  AnsiString englishCountryName;
  AnsiString nativeLanguageName;
  AnsiString nativeCountryName;
  AnsiString abbreviatedLanguageName;
  AnsiString countryName;
  AnsiString currencySymbol;
  uint8_t currencyFormat = 0;
  uint8_t negativeCurrencyFormat = 0;
  uint8_t currencyDigits = 0;
  char thousandSeparator = 0;
  char decimalSeparator = 0;
  char dateSeparator = 0;
  AnsiString shortDateFormat;
  AnsiString longDateFormat;
  char listSeparator = 0;
  char timeSeparator = 0;
  AnsiString amDesignator;
  AnsiString pmDesignator;
  bool timeLeadingZero = false;
  uint8_t timeFormat = 0;          // 0: 12-hour clock
  uint8_t timeMarkerPosition = 0;  // 0: after the time, 1: before
  uint8_t measurementSystem = 0;
  uint8_t calendarType = 0;
  uint8_t optionalCalendar = 0;
  uint8_t firstDayOfWeek = 0;
  uint8_t firstWeekOfYear = 0;
  std::array<AnsiString, 12> shortMonthNames;  // January first
  std::array<AnsiString, 12> longMonthNames;
  std::array<AnsiString, 7> shortDayNames;  // Monday first
  std::array<AnsiString, 7> longDayNames;
};

// Fills `locale` from the locale database. False (locale untouched) for an unknown LCID; false
// with only the code page written when the system reports no ANSI code page. A numeric text
// that is not an integer raises EConvertError.
bool FillLocaleFromSystem(ILocale& system, LCID lcid, TIvLocale& locale);

// --- Support checks ------------------------------------------------------------------------

bool LanguageSupportedBySystem(ILocale& system, const TIvLanguage& language);
bool LanguageSupportedByCodePage(ILocale& system, const TIvLanguage& language);
bool LocaleSupportedBySystem(ILocale& system, const TIvLocale& locale);
bool LocaleSupportedByCodePage(ILocale& system, const TIvLocale& locale);

}  // namespace vsi
