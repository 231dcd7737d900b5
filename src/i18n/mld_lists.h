#pragma once
// The older form of embedded dictionary data: the stored list properties "Languages",
// "Translations" and "Locales" of a window description, only ever read. Each is a value list
// that starts with its version (1 or 2):
//
//   Languages    (version count (primary sublanguages defaultSub [charset] codePage english
//                 native font fontSize flags) ...)                     charset from version 2
//   Translations (version [layout] count (original [context1] [context2] text1 .. textN-1) ...)
//                                                                      layout from version 2
//   Locales      (version count (primary sub [charset] codePage flag englishLanguage
//                 englishCountry nativeLanguage nativeCountry abbreviatedLanguage country
//                 measurement currency currencyFormat negativeCurrencyFormat currencyDigits
//                 thousandSep decimalSep dateSep shortDate longDate timeSep am pm
//                 timeLeadingZero timeFormat timeMarkerPosition calendarType optionalCalendar
//                 firstDayOfWeek firstWeekOfYear (12 short months) (12 long months)
//                 (7 short days) (7 long days)) ...)                    charset from version 2
//
// Separators are one-character texts or character codes. Translation texts are "#"-encoded
// like the binary form. A version above 2 raises "Unknown ... data version: N"; anything else
// out of shape raises EMldError naming the line.
#include <functional>
#include <string>
#include <vector>

#include "framework/description.h"
#include "i18n/mld_file.h"

namespace vsi {

// Turns a description text (UTF-8) into 8-bit text of a code page (0: the system's, for the
// fields the binary file keeps in the system code page); identity when empty.
using MldTextConverter = std::function<AnsiString(uint32_t codePage, const std::string& utf8)>;

// Native names, and the locale texts the file keeps in the record's code page, are converted
// with the record's code page.
std::vector<MldLanguage> DecodeLanguageList(const DescValue& value, const MldTextConverter& toAnsi = {});
// The language columns are converted with `textCodePage` (the selected language's, as the
// file reader does); originals and contexts with the system code page.
MldTranslationData DecodeTranslationList(const DescValue& value, int languageCount,
                                         const MldTextConverter& toAnsi = {}, uint32_t textCodePage = 0);
std::vector<MldLocale> DecodeLocaleList(const DescValue& value, const MldTextConverter& toAnsi = {});

// The head of a list ("language", "translation" or "locale"): its version (checked), the
// layout of a translation list, and the number of records it announces and holds. The
// records themselves are not decoded.
struct MldListHead {
  int version = 0;
  uint8_t layout = 0;
  size_t count = 0;
};
MldListHead ReadListHead(const DescValue& value, const char* what);

}  // namespace vsi
