#include "i18n/language.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "framework/context.h"
#include "framework/object.h"
#include "i18n/dictionary.h"

namespace vsi {

// --- Code pages and charsets ---------------------------------------------------------------

const std::array<TIvCharsetRow, 32>& CharsetTable() {
  static const std::array<TIvCharsetRow, 32> table = [] {
    std::array<TIvCharsetRow, 32> t{};
    t[0] = {0, 1252, false};
    t[1] = {238, 1250, false};
    t[2] = {204, 1251, false};
    t[3] = {161, 1253, false};
    t[4] = {162, 1254, false};
    t[5] = {177, 1255, true};
    t[6] = {178, 1256, true};
    t[7] = {186, 1257, false};
    t[16] = {222, 874, false};
    t[17] = {128, 932, false};
    t[18] = {134, 936, false};
    t[19] = {129, 949, false};
    t[20] = {136, 950, false};
    t[21] = {130, 1361, false};
    t[22] = {163, 1258, false};
    return t;
  }();
  return table;
}

uint8_t CharsetOfCodePage(int codePage) {
  for (const TIvCharsetRow& row : CharsetTable())
    if (row.codePage == codePage) return row.charset;
  return 1;
}

AnsiString LocaleString(ILocale& locale, LCID lcid, LCTYPE type, const AnsiString& def) {
  std::string out;
  if (!locale.GetLocaleInfo(lcid, type, out)) return def;
  return out;
}

int StrToIntStrict(const AnsiString& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  size_t digitsStart = i;
  long long value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (i == digitsStart || i != text.size() || value > static_cast<long long>(INT_MAX) + (negative ? 1 : 0))
    throw EConvertError(Format("'%s' is not a valid integer value", text.c_str()));
  return static_cast<int>(negative ? -value : value);
}

namespace {

// Chinese: Taiwan, Hong Kong and Macau write Traditional.
int ChineseCodePage(int sub) { return sub == 1 || sub == 3 || sub == 5 ? 950 : 936; }

}  // namespace

int DefaultCodePage(ILocale& locale, LCID lcid) {
  int primary = PrimaryLangId(lcid);
  int sub = SubLangId(lcid);
  int candidate = primary == ivlChinese
                      ? ChineseCodePage(sub)
                      : StrToIntStrict(LocaleString(locale, lcid, LOCALE_IDEFAULTANSICODEPAGE_, "0"));
  if (candidate >= 1) return candidate;
  switch (primary) {
    case ivlArabic:
    case ivlFarsi:
      return 1256;
    case ivlChinese:
      return ChineseCodePage(sub);
    case ivlCzech:
    case ivlHungarian:
    case ivlPolish:
    case ivlRomanian:
    case ivlSlovak:
    case ivlAlbanian:
    case ivlSlovenian:
      return 1250;
    case ivlBulgarian:
    case ivlRussian:
    case ivlUkrainian:
    case ivlBelarusian:
      return 1251;
    case ivlSerbian:
      return sub == 1 || sub == 2 ? 1250 : 1251;
    case ivlGreek:
      return 1253;
    case ivlTurkish:
      return 1254;
    case ivlHebrew:
      return 1255;
    case ivlEstonian:
    case ivlLatvian:
    case ivlLithuanian:
      return 1257;
    case ivlVietnamese:
      return 1258;
    case ivlAzeri:
    case ivlUzbek:
      return sub == 2 ? 1251 : 1254;
    case ivlThai:
      return 874;
    case ivlJapanese:
      return 932;
    case ivlKorean:
      return 949;
    default:
      return 1252;
  }
}

int LayoutClass(LCID lcid) {
  switch (PrimaryLangId(lcid)) {
    case ivlArabic:
    case ivlHebrew:
    case ivlFarsi:
      return 2;
    case ivlChinese:
    case ivlJapanese:
    case ivlKorean:
      return 1;
    default:
      return 0;
  }
}

bool CodePageSupported(ILocale& locale, int codePage) {
  if (codePage == 0) return true;
  for (uint32_t cp : locale.EnumSystemCodePages(false))
    if (static_cast<int>(cp) == codePage) return true;
  return false;
}

// --- Naming rules --------------------------------------------------------------------------

namespace {

AnsiString UpTo(const AnsiString& text, char stop) {
  auto p = text.find(stop);
  return p == AnsiString::npos ? text : text.substr(0, p);
}

AnsiString Pass(const TIvNameTranslator& translate, const AnsiString& piece) {
  return translate ? translate(piece) : piece;
}

AnsiString LanguageBase(const AnsiString& text, int primary) {
  switch (primary) {
    case ivlChinese:
    case ivlKorean:
      return UpTo(text, '(');
    case ivlSpanish:
    case ivlNorwegian:
    case ivlSerbian:
    case ivlAzeri:
    case ivlUzbek:
      return UpTo(text, ' ');
    default:
      return text;
  }
}

}  // namespace

AnsiString LanguageNameSuffix(int primary, int codePage) {
  switch (primary) {
    case ivlChinese:
      return codePage == 950 ? "Traditional" : codePage == 936 ? "Simplified" : "";
    case ivlKorean:
      return codePage == 1361 ? "Johab" : "";
    case ivlSerbian:
      return codePage == 1250 ? "Latin" : codePage == 1251 ? "Cyrillic" : "";
    case ivlAzeri:
    case ivlUzbek:
      return codePage == 1254 ? "Latin" : codePage == 1251 ? "Cyrillic" : "";
    default:
      return "";
  }
}

AnsiString BuildLanguageName(const AnsiString& text, int primary, int codePage, const TIvNameTranslator& translate) {
  AnsiString name = Pass(translate, LanguageBase(text, primary));
  AnsiString suffix = LanguageNameSuffix(primary, codePage);
  if (!suffix.empty()) name += ", " + Pass(translate, suffix);
  return name;
}

AnsiString BuildLocaleName(const AnsiString& language, const AnsiString& country, int codePage, int sub,
                           int primary, const TIvNameTranslator& translate) {
  AnsiString suffix;
  AnsiString countryPart = country;
  switch (primary) {
    case ivlChinese:
      if (codePage != 0) suffix = codePage == 950 ? "Traditional" : "Simplified";
      break;
    case ivlKorean:
      if (codePage == 1361) suffix = "Johab";
      if (sub == 2) countryPart = "Johab";
      break;
    case ivlNorwegian:
      if (sub == 1) countryPart = "Bokmal";
      if (sub == 2) countryPart = "Nynorsk";
      break;
    case ivlSerbian:
      if (sub != 1 && codePage != 0) suffix = codePage == 1251 ? "Cyrillic" : "Latin";
      break;
    case ivlAzeri:
    case ivlUzbek:
      if (codePage != 0) suffix = codePage == 1251 ? "Cyrillic" : "Latin";
      break;
    default:
      break;
  }
  AnsiString name = Pass(translate, LanguageBase(language, primary));
  if (!suffix.empty()) name += ", " + Pass(translate, suffix);
  if (sub != 0) name += " (" + Pass(translate, countryPart) + ")";
  return name;
}

TIvNameTranslator DictionaryNameTranslator(TIvDictionary* dictionary, AppContext* context) {
  return [dictionary, context](const AnsiString& piece) -> AnsiString {
    TIvDictionary* dict = dictionary;
    if (!dict && context) dict = DefaultDictionary(*context);
    return TranslateText(dict, piece);
  };
}

// --- TIvLanguage ---------------------------------------------------------------------------

void TIvLanguage::SetCodePage(int codePage) {
  codePage_ = codePage;
  charset_ = CharsetOfCodePage(codePage);
}

bool TIvLanguage::HasSubLanguage(int sub) const {
  return std::find(subLanguages.begin(), subLanguages.end(), sub) != subLanguages.end();
}

int TIvLanguage::EffectiveSubLanguage() const {
  if (subLanguages.empty()) return 0;
  if (HasSubLanguage(defaultSubLanguage)) return defaultSubLanguage;
  return subLanguages.front();
}

void TIvLanguage::SetCurrentSubLanguage(int sub) {
  if (sub == currentSubLanguage) return;
  if (sub < 0 || (!subLanguages.empty() && !HasSubLanguage(sub)))
    currentSubLanguage = defaultSubLanguage;
  else
    currentSubLanguage = sub;
}

void TIvLanguage::SetDefaultSubLanguage(int sub) {
  if (primary == 0 || sub == EffectiveSubLanguage()) return;
  if (sub != 0) {
    defaultSubLanguage = sub;
    if (!HasSubLanguage(sub)) subLanguages.push_back(sub);
  } else {
    subLanguages.clear();
    variants.clear();
  }
}

LCID TIvLanguage::LocaleId() const {
  if (primary == 0) return 0;
  int sub = subLanguages.empty() ? defaultSubLanguage : subLanguages.front();
  if (sub == 0) {
    if (primary == ivlChinese) sub = codePage_ == 936 ? 2 : codePage_ == 950 ? 1 : 0;
    if (primary == ivlSerbian) sub = codePage_ == 1250 ? 1 : codePage_ == 1251 ? 3 : 0;
  }
  return MakeLangId(primary, sub);
}

LCID TIvLanguage::DefaultLocaleId() const {
  return primary == 0 ? MakeLangId(defaultSubLanguage, 0) : MakeLangId(primary, defaultSubLanguage);
}

LCID TIvLanguage::CurrentLocaleId() const { return MakeLangId(primary, currentSubLanguage); }

void TIvLanguage::Assign(const TIvLanguage& other) {
  if (&other == this) return;
  codePage_ = other.codePage_;
  primary = other.primary;
  currentSubLanguage = other.currentSubLanguage;
  defaultSubLanguage = other.defaultSubLanguage;
  subLanguages = other.subLanguages;
  isoLanguage = other.isoLanguage;
  isoCountry = other.isoCountry;
  variants = other.variants;
  englishName = other.englishName;
  nativeName = other.nativeName;
  fontName = other.fontName;
  fontSize = other.fontSize;
  flags = other.flags;
  charset_ = other.charset_;
}

std::unique_ptr<TIvLanguage> TIvLanguage::Clone() const {
  auto copy = std::make_unique<TIvLanguage>();
  copy->Assign(*this);
  return copy;
}

void TIvLanguage::Complete(ILocale& locale) {
  if (primary < 0) primary = 0;
  if (primary == 0) {
    defaultSubLanguage = 0;
    subLanguages.clear();
    flags = ivlfNoCodePageCheck;
  } else if (defaultSubLanguage < 1) {
    defaultSubLanguage = subLanguages.empty() ? 1 : subLanguages.front();
  }
  if (primary != 0) {
    LCID l = LocaleId();
    // The code page first, so that a name built below gets its script suffix.
    if (codePage_ == 0) {
      int cp = DefaultCodePage(locale, l);
      SetCodePage(cp == 0 ? 1252 : cp);
    }
    if (isoLanguage.empty()) isoLanguage = LocaleString(locale, l, LOCALE_SISO639LANGNAME_, "");
    if (isoCountry.empty()) isoCountry = LocaleString(locale, l, LOCALE_SISO3166CTRYNAME_, "");
    if (englishName.empty())
      englishName = BuildLanguageName(LocaleString(locale, l, LOCALE_SENGLANGUAGE_, ""), primary, codePage_);
    if (nativeName.empty()) {
      nativeName = LocaleString(locale, l, LOCALE_SNATIVELANGNAME_, "");
      if (EffectiveSubLanguage() != 0)
        nativeName = Format("%s (%s)", nativeName.c_str(),
                            LocaleString(locale, l, LOCALE_SNATIVECTRYNAME_, "").c_str());
    }
  } else {
    englishName = "Native";
    nativeName = "Native";
  }
  if (currentSubLanguage == 0) currentSubLanguage = defaultSubLanguage;
  if (charset_ == 0) charset_ = CharsetOfCodePage(codePage_);
}

bool TIvLanguage::SameAs(const TIvLanguage& other) const {
  return primary == other.primary && (primary == 0 || codePage_ == other.codePage_);
}

AnsiString TIvLanguage::GetName(TIvNameKind kind, TIvDictionary* dictionary, AppContext* context) const {
  switch (kind) {
    case ivnkEnglish:
      return englishName;
    case ivnkNative:
      return nativeName;
    case ivnkTranslated: {
      // The stored English name already carries its script suffix; translate the two pieces
      // apart so that "Serbian, Cyrillic" finds "Serbian" and "Cyrillic" in the dictionary.
      TIvNameTranslator translate = DictionaryNameTranslator(dictionary, context);
      AnsiString suffix = LanguageNameSuffix(primary, codePage_);
      AnsiString tail = ", " + suffix;
      if (!suffix.empty() && englishName.size() > tail.size() &&
          englishName.compare(englishName.size() - tail.size(), tail.size(), tail) == 0)
        return translate(englishName.substr(0, englishName.size() - tail.size())) + ", " + translate(suffix);
      return translate(englishName);
    }
  }
  return englishName;
}

namespace {

std::vector<AnsiString> SplitCommas(const AnsiString& text) {
  std::vector<AnsiString> pieces;
  if (text.empty()) return pieces;
  size_t start = 0;
  while (start < text.size()) {
    size_t comma = text.find(',', start);
    if (comma == AnsiString::npos) {
      pieces.push_back(text.substr(start));
      break;
    }
    pieces.push_back(text.substr(start, comma - start));
    start = comma + 1;  // a comma at the very end adds nothing
  }
  return pieces;
}

template <class T, class F>
AnsiString JoinCommas(const std::vector<T>& items, F toText) {
  AnsiString out;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i) out += ',';
    out += toText(items[i]);
  }
  return out;
}

}  // namespace

void TIvLanguage::SetSubLanguagesText(const AnsiString& text) {
  std::vector<int> list;
  for (const AnsiString& piece : SplitCommas(text)) {
    int value = StrToIntStrict(piece);
    if (value >= 1) list.push_back(value);
  }
  subLanguages = std::move(list);
}

AnsiString TIvLanguage::SubLanguagesText() const {
  return JoinCommas(subLanguages, [](int v) { return std::to_string(v); });
}

void TIvLanguage::SetVariantsText(const AnsiString& text) { variants = SplitCommas(text); }

AnsiString TIvLanguage::VariantsText() const {
  return JoinCommas(variants, [](const AnsiString& v) { return v; });
}

// --- TIvLocale -----------------------------------------------------------------------------

void TIvLocale::Assign(const TIvLocale& other) {
  if (&other != this) *this = other;
}

std::unique_ptr<TIvLocale> TIvLocale::Clone() const {
  auto copy = std::make_unique<TIvLocale>();
  copy->Assign(*this);
  return copy;
}

void TIvLocale::Complete(ILocale& locale) {
  LCID l = LocaleId();
  if (primary != 0) {
    if (englishLanguageName.empty()) englishLanguageName = LocaleString(locale, l, LOCALE_SENGLANGUAGE_, "");
    if (nativeLanguageName.empty()) nativeLanguageName = LocaleString(locale, l, LOCALE_SNATIVELANGNAME_, "");
    if (englishCountryName.empty()) englishCountryName = LocaleString(locale, l, LOCALE_SENGCOUNTRY_, "");
    if (nativeCountryName.empty()) nativeCountryName = LocaleString(locale, l, LOCALE_SNATIVECTRYNAME_, "");
    if (codePage == 0) {
      codePage = DefaultCodePage(locale, l);
      if (codePage == 0) codePage = 1252;
    }
  }
  if (charset == 0) {
    std::string signature;
    charset = CharsetTable()[0].charset;
    if (locale.GetLocaleInfo(l, LOCALE_FONTSIGNATURE_, signature) && signature.size() >= 20) {
      // The default code-page bits follow the 16 bytes of Unicode subset bits.
      uint32_t bits = 0;
      for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(static_cast<unsigned char>(signature[16 + i])) << (8 * i);
      for (int bit = 0; bit < 32; ++bit) {
        if (bits & (1u << bit)) {
          charset = CharsetTable()[bit].charset;
          break;
        }
      }
    }
  }
}

AnsiString TIvLocale::GetName(TIvNameKind kind, TIvDictionary* dictionary, AppContext* context) const {
  switch (kind) {
    case ivnkNative:
      return BuildLocaleName(nativeLanguageName, nativeCountryName, codePage, sub, primary);
    case ivnkTranslated:
      return BuildLocaleName(englishLanguageName, englishCountryName, codePage, sub, primary,
                             DictionaryNameTranslator(dictionary, context));
    case ivnkEnglish:
    default:
      return BuildLocaleName(englishLanguageName, englishCountryName, codePage, sub, primary);
  }
}

namespace {

char FirstChar(const AnsiString& text) { return text.empty() ? ' ' : text[0]; }

uint8_t NumberField(ILocale& system, LCID lcid, LCTYPE type) {
  return static_cast<uint8_t>(StrToIntStrict(LocaleString(system, lcid, type, "0")));
}

}  // namespace

bool FillLocaleFromSystem(ILocale& system, LCID lcid, TIvLocale& locale) {
  if (LocaleString(system, lcid, LOCALE_SENGLANGUAGE_, "@*") == "@*") return false;
  locale.codePage = StrToIntStrict(LocaleString(system, lcid, LOCALE_IDEFAULTANSICODEPAGE_, "0"));
  if (locale.codePage == 0) return false;
  auto text = [&](LCTYPE type) { return LocaleString(system, lcid, type, ""); };
  locale.primary = PrimaryLangId(lcid);
  locale.sub = SubLangId(lcid);
  locale.charset = CharsetOfCodePage(locale.codePage);
  locale.flag = 0;
  locale.englishLanguageName = text(LOCALE_SENGLANGUAGE_);
  locale.englishCountryName = text(LOCALE_SENGCOUNTRY_);
  locale.nativeLanguageName = text(LOCALE_SNATIVELANGNAME_);
  locale.nativeCountryName = text(LOCALE_SNATIVECTRYNAME_);
  locale.abbreviatedLanguageName = text(LOCALE_SABBREVLANGNAME_);
  locale.countryName = text(LOCALE_SCOUNTRY_);
  locale.currencySymbol = text(LOCALE_SCURRENCY_);
  locale.currencyFormat = NumberField(system, lcid, LOCALE_ICURRENCY_);
  locale.negativeCurrencyFormat = NumberField(system, lcid, LOCALE_INEGCURR_);
  locale.currencyDigits = NumberField(system, lcid, LOCALE_ICURRDIGITS_);
  locale.thousandSeparator = FirstChar(text(LOCALE_STHOUSAND_));
  locale.decimalSeparator = FirstChar(text(LOCALE_SDECIMAL_));
  locale.dateSeparator = FirstChar(text(LOCALE_SDATE_));
  locale.shortDateFormat = text(LOCALE_SSHORTDATE_);
  locale.longDateFormat = text(LOCALE_SLONGDATE_);
  locale.listSeparator = FirstChar(LocaleString(system, lcid, LOCALE_SLIST_, ","));
  locale.timeSeparator = FirstChar(text(LOCALE_STIME_));
  locale.amDesignator = text(LOCALE_S1159_);
  locale.pmDesignator = text(LOCALE_S2359_);
  locale.timeLeadingZero = LocaleString(system, lcid, LOCALE_ITLZERO_, "0") != "0";
  locale.timeFormat = NumberField(system, lcid, LOCALE_ITIME_);
  locale.timeMarkerPosition = NumberField(system, lcid, LOCALE_ITIMEMARKPOSN_);
  locale.measurementSystem = NumberField(system, lcid, LOCALE_IMEASURE_);
  locale.calendarType = NumberField(system, lcid, LOCALE_ICALENDARTYPE_);
  locale.optionalCalendar = NumberField(system, lcid, LOCALE_IOPTIONALCALENDAR_);
  locale.firstDayOfWeek = NumberField(system, lcid, LOCALE_IFIRSTDAYOFWEEK_);
  locale.firstWeekOfYear = NumberField(system, lcid, LOCALE_IFIRSTWEEKOFYEAR_);
  for (int i = 0; i < 12; ++i) {
    locale.shortMonthNames[i] = text(LOCALE_SABBREVMONTHNAME1_ + i);
    locale.longMonthNames[i] = text(LOCALE_SMONTHNAME1_ + i);
  }
  for (int i = 0; i < 7; ++i) {
    locale.shortDayNames[i] = text(LOCALE_SABBREVDAYNAME1_ + i);
    locale.longDayNames[i] = text(LOCALE_SDAYNAME1_ + i);
  }
  locale.Complete(system);
  return true;
}

// --- Support checks ------------------------------------------------------------------------

namespace {

bool AlwaysDisplayable(int primary) { return primary == 0 || primary == ivlEnglish || primary == ivlIndonesian; }

}  // namespace

bool LanguageSupportedBySystem(ILocale& system, const TIvLanguage& language) {
  return AlwaysDisplayable(language.primary) || (language.flags & ivlfNoCodePageCheck) ||
         CodePageSupported(system, language.CodePage());
}

bool LanguageSupportedByCodePage(ILocale& system, const TIvLanguage& language) {
  return AlwaysDisplayable(language.primary) || (language.flags & ivlfNoCodePageCheck) || language.CodePage() == 0 ||
         static_cast<uint32_t>(language.CodePage()) == system.GetACP();
}

bool LocaleSupportedBySystem(ILocale& system, const TIvLocale& locale) {
  return CodePageSupported(system, locale.codePage);
}

bool LocaleSupportedByCodePage(ILocale& system, const TIvLocale& locale) {
  return AlwaysDisplayable(locale.primary) || locale.codePage == 0 ||
         static_cast<uint32_t>(locale.codePage) == system.GetACP();
}

}  // namespace vsi
