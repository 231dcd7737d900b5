#pragma once
// The locale object the main window retrieves at start: the thread locale's conventions by
// index, with the pattern tables behind its formats; its component.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/strings.h"
#include "platform/locale.h"
#include "platform/system.h"
#include "sysinfo/sysinfo_base.h"

namespace vsi {

// The locale object's properties, by the index their shared setter receives.
enum TSysLocaleProp : int {
  lpCalendarType,
  lpCurrencyDigits,
  lpPositiveCurrencyFormat,
  lpDigits,
  lpFirstDayOfWeek,
  lpFirstWeekOfYear,
  lpShowLeadingZero,
  lpMeasurement,
  lpNegativeCurrencyFormat,
  lpNegativeFormat,
  lpClockMode,
  lpMorningSymbol,
  lpAfternoonSymbol,
  lpCurrencySymbol,
  lpDateSeparator,
  lpDecimalSeparator,
  lpGrouping,
  lpListSeparator,
  lpLongDateFormat,
  lpCurrencyDecimalSeparator,
  lpCurrencyGrouping,
  lpCurrencyGroupingSign,
  lpNegativeSign,
  lpPositiveSign,
  lpShortDateFormat,
  lpThousandSeparator,
  lpTimeSeparator,
  lpTimeFormat,
  lpShortDateOrder,
  lpLongDateOrder,
  lpYearDigits,
  lpInternationalCurrencySymbol,
  lpLanguage,
  lpLanguageEnglish,
  lpLanguageSymbol,
  lpCountryCode,
  lpCountry,
  lpCountrySymbol,
};
constexpr int kLocalePropCount = 38;
const char* LocalePropName(int index);

// The pattern tables: each literal split at ';', with the first ',' and '-' of every entry
// replaced by the locale's separators ("\xA4", the currency sign, stays).
struct LocalePatterns {
  std::vector<AnsiString> positiveCurrency, negativeCurrency, negativeNumber, leadingZero, clockMode;
  static LocalePatterns Build(const AnsiString& negativeSign, const AnsiString& decimalSeparator,
                              const AnsiString& currencyDecimalSeparator);
  // The entry the locale number selects; empty text when it is not a decimal number or has no
  // entry.
  static AnsiString Select(const std::vector<AnsiString>& table, const AnsiString& number);
  // The number of the entry equal to `value`; -1 when none is.
  static int IndexOf(const std::vector<AnsiString>& table, const AnsiString& value);
};

class TSysLocaleObject : public TSysObject {
  VSI_CLASS(TSysLocaleObject)
  explicit TSysLocaleObject(AppContext& context);
  const AnsiString& Get(int index) const { return values_.at(static_cast<size_t>(index)); }
  // The shared setter: records "Locale:<name>" and stores.
  void Set(int index, const AnsiString& value);
  template <int I>
  const AnsiString& Prop() const {
    return values_[I];
  }
  template <int I>
  void SetProp(const AnsiString& value) {
    Set(I, value);
  }
  // The thread locale read by the last retrieval.
  LCID Locale() const { return locale_; }
  void Retrieve() override;
  void Apply() override;

 private:
  AnsiString Read(LCTYPE type);
  std::array<AnsiString, kLocalePropCount> values_;
  LCID locale_ = 0;
};

class TSysLocale : public TSysBaseComponent {
  VSI_CLASS(TSysLocale)
  explicit TSysLocale(TComponent* owner);
  TSysLocaleObject* Locale() const { return static_cast<TSysLocaleObject*>(Object()); }
  void SetLocale(TSysLocaleObject*) {}
};

}  // namespace vsi
