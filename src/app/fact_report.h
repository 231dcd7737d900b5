#pragma once
// The facts as text ("caption: value" lines, for the clipboard and the text report) and as one
// JSON object with stable English keys.
#include <map>
#include <string>
#include <vector>

#include "app/system_facts.h"

namespace vsi {

class ILocale;
class TComponent;
struct TFormatSettings;

// What a text or JSON report is made of.
struct FactSheet {
  AnsiString program;     // the program's name and version, as the window's caption gives them
  std::string version;    // of the version block
  SystemTime local, utc;  // when the facts were taken
  // Caption label name -> its text in the sheet's language (the labels of kFactRows, and
  // Label15 and Label16, the titles of the drive and network columns).
  std::map<std::string, AnsiString, std::less<>> captions;
  const SystemFacts* facts = nullptr;
  std::vector<DriveFacts> drives;
  // Values as the window shows them (Copy all); else what cannot be read is left empty.
  bool asWindowShows = false;
};

// The captions of the labels a sheet needs, as they read on `form` now.
std::map<std::string, AnsiString, std::less<>> CaptionsOf(TComponent& form);

// ANSI text, CRLF line ends: the program and the date and time (in the settings' formats),
// the machine's facts, each drive's, and the network text last.
AnsiString FactsText(const FactSheet& sheet, const TFormatSettings& fs);

// UTF-8, CRLF line ends; texts converted from the ANSI code page. Values that cannot be read
// are null.
std::string FactsJson(const FactSheet& sheet, ILocale& locale);

// Text of the ANSI code page as UTF-8, for what leaves the program (JSON, standard error).
std::string AnsiToUtf8(ILocale& locale, const AnsiString& ansi);

// JSON string literal of UTF-8 text: quotes, backslashes and control characters escaped.
std::string JsonString(const std::string& utf8);
// A JSON number with two decimals ("-1.80", "25.00"), signed as it is, never clamped; "null"
// for NaN and infinity.
std::string JsonHundredths(double value);
// "2024-06-01T14:09:05+02:00": local time with its offset from UTC, to the quarter hour.
std::string Iso8601(const SystemTime& local, const SystemTime& utc);

}  // namespace vsi
