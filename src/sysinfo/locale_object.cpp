#include "sysinfo/locale_object.h"

#include <utility>

#include "framework/context.h"
#include "framework/exceptions.h"
#include "framework/registry_access.h"
#include "framework/scope_exit.h"
#include "platform/platform.h"
#include "sysinfo/setting_helpers.h"

namespace vsi {

namespace {
struct LocalePropInfo {
  const char* name;
  LCTYPE type;
};
constexpr LocalePropInfo kLocaleProps[kLocalePropCount] = {
    {"CalendarType", LOCALE_ICALENDARTYPE_},
    {"CurrencyDigits", LOCALE_ICURRDIGITS_},
    {"PositiveCurrencyFormat", LOCALE_ICURRENCY_},
    {"Digits", LOCALE_IDIGITS_},
    {"FirstDayOfWeek", LOCALE_IFIRSTDAYOFWEEK_},
    {"FirstWeekOfYear", LOCALE_IFIRSTWEEKOFYEAR_},
    {"ShowLeadingZero", LOCALE_ILZERO_},
    {"Measurement", LOCALE_IMEASURE_},
    {"NegativeCurrencyFormat", LOCALE_INEGCURR_},
    {"NegativeFormat", LOCALE_INEGNUMBER_},
    {"ClockMode", LOCALE_ITIME_},
    {"MorningSymbol", LOCALE_S1159_},
    {"AfternoonSymbol", LOCALE_S2359_},
    {"CurrencySymbol", LOCALE_SCURRENCY_},
    {"DateSeparator", LOCALE_SDATE_},
    {"DecimalSeparator", LOCALE_SDECIMAL_},
    {"Grouping", LOCALE_SGROUPING_},
    {"ListSeparator", LOCALE_SLIST_},
    {"LongDateFormat", LOCALE_SLONGDATE_},
    {"CurrencyDecimalSeparator", LOCALE_SMONDECIMALSEP_},
    {"CurrencyGrouping", LOCALE_SMONGROUPING_},
    {"CurrencyGroupingSign", LOCALE_SMONTHOUSANDSEP_},
    {"NegativeSign", LOCALE_SNEGATIVESIGN_},
    {"PositiveSign", LOCALE_SPOSITIVESIGN_},
    {"ShortDateFormat", LOCALE_SSHORTDATE_},
    {"ThousandSeparator", LOCALE_STHOUSAND_},
    {"TimeSeparator", LOCALE_STIME_},
    {"TimeFormat", LOCALE_STIMEFORMAT_},
    {"ShortDateOrder", LOCALE_IDATE_},
    {"LongDateOrder", LOCALE_ILDATE_},
    {"YearDigits", LOCALE_ICENTURY_},
    {"InternationalCurrencySymbol", LOCALE_SINTLSYMBOL_},
    {"Language", LOCALE_SLANGUAGE_},
    {"LanguageEnglish", LOCALE_SENGLANGUAGE_},
    {"LanguageSymbol", LOCALE_SABBREVLANGNAME_},
    {"CountryCode", LOCALE_ICOUNTRY_},
    {"Country", LOCALE_SCOUNTRY_},
    {"CountrySymbol", LOCALE_SABBREVCTRYNAME_},
};

// "\xA4" is the currency sign of the ANSI code page; it is never replaced.
constexpr const char* kPositiveCurrency = "\xA4" "1,1;1,1\xA4;\xA4 1,1;1,1 \xA4";
constexpr const char* kNegativeCurrency =
    "(\xA4" "1,1);-\xA4" "1,1;\xA4-1,1;\xA4" "1,1-;(1,1\xA4);-1,1\xA4;1,1-\xA4;1,1\xA4-;-1,1 \xA4;-\xA4 1,1;"
    "1,1 \xA4-;\xA4 1,1-;\xA4 -1,1;1,1- \xA4;( \xA4" "1,1);(1,1 \xA4)";
constexpr const char* kNegativeNumber = "(1,1);-1,1;- 1,1;1,1-;1,1 -";
constexpr const char* kLeadingZero = ",7;0,7";
constexpr const char* kClockMode = "12;24";

std::vector<AnsiString> SplitPatterns(const std::string& literal) {
  std::vector<AnsiString> out;
  size_t start = 0;
  for (;;) {
    size_t semi = literal.find(';', start);
    out.push_back(literal.substr(start, semi == std::string::npos ? std::string::npos : semi - start));
    if (semi == std::string::npos) return out;
    start = semi + 1;
  }
}

void ReplaceFirst(std::vector<AnsiString>& table, char what, const AnsiString& by) {
  for (AnsiString& entry : table) {
    auto at = entry.find(what);
    if (at != AnsiString::npos) entry.replace(at, 1, by);
  }
}

// A decimal integer with an optional sign and surrounding blanks; false for anything else.
bool ParseDecimal(const AnsiString& text, long long& out) {
  size_t i = 0, end = text.size();
  while (i < end && text[i] == ' ') ++i;
  while (end > i && text[end - 1] == ' ') --end;
  bool negative = false;
  if (i < end && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == end) return false;
  long long v = 0;
  for (; i < end; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    if (v > 100000000) return false;  // far beyond any table
    v = v * 10 + (text[i] - '0');
  }
  out = negative ? -v : v;
  return true;
}

AnsiString DateOrderText(const AnsiString& digit) {
  if (digit == "0") return "MDY";
  if (digit == "1") return "DMY";
  if (digit == "2") return "YMD";
  return digit;
}

AnsiString DateOrderNumber(const AnsiString& order) {
  if (order == "MDY") return "0";
  if (order == "DMY") return "1";
  if (order == "YMD") return "2";
  return order;
}

template <size_t... I>
ClassBuilder<TSysLocaleObject>& AddLocaleProps(ClassBuilder<TSysLocaleObject>& b, std::index_sequence<I...>) {
  (b.Text(kLocaleProps[I].name, &TSysLocaleObject::Prop<int(I)>, &TSysLocaleObject::SetProp<int(I)>), ...);
  return b;
}
}  // namespace

const char* LocalePropName(int index) {
  return index >= 0 && index < kLocalePropCount ? kLocaleProps[index].name : "";
}

LocalePatterns LocalePatterns::Build(const AnsiString& negativeSign, const AnsiString& decimalSeparator,
                                     const AnsiString& currencyDecimalSeparator) {
  LocalePatterns p;
  p.positiveCurrency = SplitPatterns(kPositiveCurrency);
  p.negativeCurrency = SplitPatterns(kNegativeCurrency);
  p.negativeNumber = SplitPatterns(kNegativeNumber);
  p.leadingZero = SplitPatterns(kLeadingZero);
  p.clockMode = SplitPatterns(kClockMode);
  ReplaceFirst(p.positiveCurrency, ',', currencyDecimalSeparator);
  ReplaceFirst(p.negativeCurrency, ',', currencyDecimalSeparator);
  ReplaceFirst(p.negativeCurrency, '-', negativeSign);
  ReplaceFirst(p.negativeNumber, ',', decimalSeparator);
  ReplaceFirst(p.negativeNumber, '-', negativeSign);
  ReplaceFirst(p.leadingZero, ',', decimalSeparator);
  return p;
}

AnsiString LocalePatterns::Select(const std::vector<AnsiString>& table, const AnsiString& number) {
  long long n = 0;
  if (!ParseDecimal(number, n) || n < 0 || n >= static_cast<long long>(table.size())) return AnsiString();
  return table[static_cast<size_t>(n)];
}

int LocalePatterns::IndexOf(const std::vector<AnsiString>& table, const AnsiString& value) {
  for (size_t i = 0; i < table.size(); ++i)
    if (table[i] == value) return static_cast<int>(i);
  return -1;
}

const ClassInfo& TSysLocaleObject::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TSysLocaleObject> b("TSysLocaleObject", &TSysObject::StaticClass());
    AddLocaleProps(b, std::make_index_sequence<kLocalePropCount>());
    return b.Build();
  }();
  return info;
}

TSysLocaleObject::TSysLocaleObject(AppContext& context) : TSysObject(context) {}

void TSysLocaleObject::Set(int index, const AnsiString& value) {
  AnsiString& field = values_.at(static_cast<size_t>(index));
  SetPending(*this, field, value, (std::string("Locale:") + kLocaleProps[index].name).c_str(),
         [](const AnsiString& v) { return v; });
}

AnsiString TSysLocaleObject::Read(LCTYPE type) {
  std::string text;
  if (!Plat().locale.GetLocaleInfo(locale_, type, text)) return "Hallo";
  return UpToZero(text);
}

void TSysLocaleObject::Retrieve() {
  locale_ = Plat().locale.GetThreadLocale();
  values_[lpNegativeSign] = Read(LOCALE_SNEGATIVESIGN_);
  values_[lpDecimalSeparator] = Read(LOCALE_SDECIMAL_);
  values_[lpCurrencyDecimalSeparator] = Read(LOCALE_SMONDECIMALSEP_);
  const LocalePatterns p =
      LocalePatterns::Build(values_[lpNegativeSign], values_[lpDecimalSeparator], values_[lpCurrencyDecimalSeparator]);
  for (int i = 0; i < kLocalePropCount; ++i) {
    if (i == lpNegativeSign || i == lpDecimalSeparator || i == lpCurrencyDecimalSeparator) continue;
    AnsiString text = Read(kLocaleProps[i].type);
    switch (i) {
      case lpPositiveCurrencyFormat: text = LocalePatterns::Select(p.positiveCurrency, text); break;
      case lpShowLeadingZero: text = LocalePatterns::Select(p.leadingZero, text); break;
      case lpNegativeCurrencyFormat: text = LocalePatterns::Select(p.negativeCurrency, text); break;
      case lpNegativeFormat: text = LocalePatterns::Select(p.negativeNumber, text); break;
      case lpClockMode: text = LocalePatterns::Select(p.clockMode, text); break;
      case lpShortDateOrder:
      case lpLongDateOrder: text = DateOrderText(text); break;
      default: break;
    }
    values_[static_cast<size_t>(i)] = std::move(text);
  }
}

void TSysLocaleObject::Apply() {
  const LocalePatterns p =
      LocalePatterns::Build(values_[lpNegativeSign], values_[lpDecimalSeparator], values_[lpCurrencyDecimalSeparator]);
  static constexpr TSysLocaleProp kOrder[] = {
      lpNegativeSign,       lpDecimalSeparator,    lpCurrencyDecimalSeparator,
      lpCalendarType,       lpCurrencyDigits,      lpDigits,
      lpFirstDayOfWeek,     lpFirstWeekOfYear,     lpMeasurement,
      lpMorningSymbol,      lpAfternoonSymbol,     lpCurrencySymbol,
      lpDateSeparator,      lpGrouping,            lpListSeparator,
      lpLongDateFormat,     lpCurrencyGrouping,    lpCurrencyGroupingSign,
      lpPositiveSign,       lpShortDateFormat,     lpThousandSeparator,
      lpTimeSeparator,      lpTimeFormat,          lpShortDateOrder,
      lpLongDateOrder,      lpYearDigits,          lpInternationalCurrencySymbol,
      lpLanguage,           lpLanguageEnglish,     lpLanguageSymbol,
      lpCountryCode,        lpCountry,             lpCountrySymbol,
      lpClockMode,          lpNegativeFormat,      lpNegativeCurrencyFormat,
      lpPositiveCurrencyFormat, lpShowLeadingZero,
  };
  static_assert(std::size(kOrder) == kLocalePropCount);
  ILocale& locale = Plat().locale;
  for (TSysLocaleProp prop : kOrder) {
    const std::string name = std::string("Locale:") + kLocaleProps[prop].name;
    if (!HasChange(name)) continue;
    CommitChange(name);
    const AnsiString& value = values_[prop];
    const std::vector<AnsiString>* table = nullptr;
    AnsiString text;
    switch (prop) {
      case lpShortDateOrder:
      case lpLongDateOrder: text = DateOrderNumber(value); break;
      case lpClockMode: text = value == "12" ? "0" : "1"; break;
      case lpNegativeFormat: table = &p.negativeNumber; break;
      case lpNegativeCurrencyFormat: table = &p.negativeCurrency; break;
      case lpPositiveCurrencyFormat: table = &p.positiveCurrency; break;
      case lpShowLeadingZero: table = &p.leadingZero; break;
      default: text = value; break;
    }
    if (table) {
      int index = LocalePatterns::IndexOf(*table, value);
      if (index < 0) continue;  // no entry reads like this: nothing to write
      text = std::to_string(index);
    }
    locale.SetLocaleInfo(locale_, kLocaleProps[prop].type, text);
  }
}

// ---------------------------------------------------------------- component

const ClassInfo& TSysLocale::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSysLocale>("TSysLocale", &TSysBaseComponent::StaticClass())
                                    .Creatable()
                                    .Object("Locale", TSysLocaleObject::StaticClass(), &TSysLocale::Locale,
                                            &TSysLocale::SetLocale)
                                    .Build();
  return info;
}

TSysLocale::TSysLocale(TComponent* owner) : TSysBaseComponent(owner) {
  AttachObject(std::make_unique<TSysLocaleObject>(Context()));
}

}  // namespace vsi
