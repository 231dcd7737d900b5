#pragma once
// Process-wide format settings: separators, formats and names used to show numbers, dates and
// times. They start from the user's locale; the dictionary rewrites them on a locale change.
#include <array>
#include <string>

#include "framework/dates.h"
#include "platform/locale.h"
#include "platform/types.h"

namespace vsi {

struct TFormatSettings {
  char thousandSeparator = ',';
  char decimalSeparator = '.';
  char dateSeparator = '/';
  char timeSeparator = ':';
  char listSeparator = ',';
  std::string currencyString = "$";
  uint8_t currencyFormat = 0;
  uint8_t negCurrFormat = 0;
  uint8_t currencyDecimals = 2;
  std::string shortDateFormat = "M/d/yyyy";
  std::string longDateFormat = "dddd, MMMM dd, yyyy";
  std::string timeAMString = "AM";
  std::string timePMString = "PM";
  std::string shortTimeFormat = "h:mm AMPM";
  std::string longTimeFormat = "h:mm:ss AMPM";
  std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> longMonthNames{"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
  // Sunday first, as the framework's day-of-week numbering.
  std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> longDayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

  // Reads every field from the locale database; fields the locale does not answer keep
  // their defaults.
  static TFormatSettings FromLocale(ILocale& locale, LCID lcid);
};

// "%<width>.<decimals>f" with the decimal separator of the settings ("%5.2f" gives " 7.50").
std::string FormatFixed(const TFormatSettings& fs, double value, int width, int decimals);

// Number style, precision 16, no decimals: digits grouped in threes by the thousands
// separator, a leading minus; over 16 integer digits, scientific notation.
std::string FormatGroupedInteger(const TFormatSettings& fs, long double value);

// Date-and-time formatting: d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz
// am/pm ampm, "/" and ":" become the separators, c = short date + long time,
// quoted text is copied. An empty format behaves as "c".
std::string FormatDateTime(const TFormatSettings& fs, const std::string& format, const SystemTime& t);
// The same into `out`, replacing what it held and reusing its storage.
void FormatDateTime(const TFormatSettings& fs, const std::string& format, const SystemTime& t, std::string& out);

}  // namespace vsi
