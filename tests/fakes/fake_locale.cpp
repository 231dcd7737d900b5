#include "fakes/fake_locale.h"

#include <algorithm>
#include <array>

#include "framework/code_pages.h"
#include "framework/text_encoding.h"

namespace vsi::fake {

namespace {

// Upper half of the OEM code page 437 (bytes 0x80..0xFF to UTF-16).
constexpr char16_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

// Upper half of the OEM code page 850 (bytes 0x80..0xFF to UTF-16).
constexpr char16_t kCp850High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0,
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE,
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

constexpr unsigned char kOem437To1252[128] = {
    0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7,
    0xEA, 0xEB, 0xE8, 0xEF, 0xEE, 0xEC, 0xC4, 0xC5,
    0xC9, 0xE6, 0xC6, 0xF4, 0xF6, 0xF2, 0xFB, 0xF9,
    0xFF, 0xD6, 0xDC, 0xA2, 0xA3, 0xA5, 0x50, 0x83,
    0xE1, 0xED, 0xF3, 0xFA, 0xF1, 0xD1, 0xAA, 0xBA,
    0xBF, 0xAC, 0xAC, 0xBD, 0xBC, 0xA1, 0xAB, 0xBB,
    0xA6, 0xA6, 0xA6, 0xA6, 0xA6, 0xA6, 0xA6, 0x2B,
    0x2B, 0xA6, 0xA6, 0x2B, 0x2B, 0x2B, 0x2B, 0x2B,
    0x2B, 0x2D, 0x2D, 0x2B, 0x2D, 0x2B, 0xA6, 0xA6,
    0x2B, 0x2B, 0x2D, 0x2D, 0xA6, 0x2D, 0x2B, 0x2D,
    0x2D, 0x2D, 0x2D, 0x2B, 0x2B, 0x2B, 0x2B, 0x2B,
    0x2B, 0x2B, 0x2B, 0xA6, 0x5F, 0xA6, 0xA6, 0xAF,
    0x61, 0xDF, 0x47, 0x70, 0x53, 0x73, 0xB5, 0x74,
    0x46, 0x54, 0x4F, 0x64, 0x38, 0x66, 0x65, 0x6E,
    0x3D, 0xB1, 0x3D, 0x3D, 0x28, 0x29, 0xF7, 0x98,
    0xB0, 0xB7, 0xB7, 0x76, 0x6E, 0xB2, 0xA6, 0xA0,
};

struct LocaleRow {
  LCID lcid;
  int fontSignatureBit;  // code-page bit of the locale's default font signature
  std::vector<std::pair<LCTYPE, const char*>> info;
  std::array<const char*, 12> shortMonths, longMonths;
  std::array<const char*, 7> shortDays, longDays;  // Monday first
};

// Generated once from the locales' published conventions; each text is in its locale's ANSI
// code page.
const std::vector<LocaleRow>& Rows() {
  static const std::vector<LocaleRow> rows = {
  {0x0409, 0,
      {{LOCALE_ILANGUAGE_, "0409"},
       {LOCALE_SENGLANGUAGE_, "English"},
       {LOCALE_SENGCOUNTRY_, "United States"},
       {LOCALE_SLANGUAGE_, "English (United States)"},
       {LOCALE_SNATIVELANGNAME_, "English"},
       {LOCALE_SNATIVECTRYNAME_, "United States"},
       {LOCALE_SABBREVLANGNAME_, "ENU"},
       {LOCALE_SCOUNTRY_, "United States"},
       {LOCALE_SISO639LANGNAME_, "en"},
       {LOCALE_SISO3166CTRYNAME_, "US"},
       {LOCALE_IDEFAULTANSICODEPAGE_, "1252"},
       {LOCALE_IDEFAULTCODEPAGE_, "437"},
       {LOCALE_SCURRENCY_, "$"},
       {LOCALE_ICURRENCY_, "0"},
       {LOCALE_INEGCURR_, "0"},
       {LOCALE_ICURRDIGITS_, "2"},
       {LOCALE_STHOUSAND_, ","},
       {LOCALE_SDECIMAL_, "."},
       {LOCALE_SDATE_, "/"},
       {LOCALE_SLIST_, ","},
       {LOCALE_STIME_, ":"},
       {LOCALE_SSHORTDATE_, "M/d/yyyy"},
       {LOCALE_SLONGDATE_, "dddd, MMMM d, yyyy"},
       {LOCALE_STIMEFORMAT_, "h:mm:ss tt"},
       {LOCALE_ITIME_, "0"},
       {LOCALE_ITLZERO_, "0"},
       {LOCALE_ITIMEMARKPOSN_, "0"},
       {LOCALE_S1159_, "AM"},
       {LOCALE_S2359_, "PM"},
       {LOCALE_IMEASURE_, "1"},
       {LOCALE_ICALENDARTYPE_, "1"},
       {LOCALE_IOPTIONALCALENDAR_, "0"},
       {LOCALE_IFIRSTDAYOFWEEK_, "6"},
       {LOCALE_IFIRSTWEEKOFYEAR_, "0"}},
      {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
      {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October", "November", "December"},
      {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"},
      {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"}},
  {0x0809, 0,
      {{LOCALE_ILANGUAGE_, "0809"},
       {LOCALE_SENGLANGUAGE_, "English"},
       {LOCALE_SENGCOUNTRY_, "United Kingdom"},
       {LOCALE_SLANGUAGE_, "English (United Kingdom)"},
       {LOCALE_SNATIVELANGNAME_, "English"},
       {LOCALE_SNATIVECTRYNAME_, "United Kingdom"},
       {LOCALE_SABBREVLANGNAME_, "ENG"},
       {LOCALE_SCOUNTRY_, "United Kingdom"},
       {LOCALE_SISO639LANGNAME_, "en"},
       {LOCALE_SISO3166CTRYNAME_, "GB"},
       {LOCALE_IDEFAULTANSICODEPAGE_, "1252"},
       {LOCALE_IDEFAULTCODEPAGE_, "850"},
       {LOCALE_SCURRENCY_, "\xA3"},
       {LOCALE_ICURRENCY_, "0"},
       {LOCALE_INEGCURR_, "1"},
       {LOCALE_ICURRDIGITS_, "2"},
       {LOCALE_STHOUSAND_, ","},
       {LOCALE_SDECIMAL_, "."},
       {LOCALE_SDATE_, "/"},
       {LOCALE_SLIST_, ","},
       {LOCALE_STIME_, ":"},
       {LOCALE_SSHORTDATE_, "dd/MM/yyyy"},
       {LOCALE_SLONGDATE_, "dd MMMM yyyy"},
       {LOCALE_STIMEFORMAT_, "HH:mm:ss"},
       {LOCALE_ITIME_, "1"},
       {LOCALE_ITLZERO_, "1"},
       {LOCALE_ITIMEMARKPOSN_, "0"},
       {LOCALE_S1159_, "AM"},
       {LOCALE_S2359_, "PM"},
       {LOCALE_IMEASURE_, "0"},
       {LOCALE_ICALENDARTYPE_, "1"},
       {LOCALE_IOPTIONALCALENDAR_, "0"},
       {LOCALE_IFIRSTDAYOFWEEK_, "0"},
       {LOCALE_IFIRSTWEEKOFYEAR_, "0"}},
      {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
      {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October", "November", "December"},
      {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"},
      {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"}},
  {0x040C, 0,
      {{LOCALE_ILANGUAGE_, "040c"},
       {LOCALE_SENGLANGUAGE_, "French"},
       {LOCALE_SENGCOUNTRY_, "France"},
       {LOCALE_SLANGUAGE_, "French (France)"},
       {LOCALE_SNATIVELANGNAME_, "fran\xE7""ais"},
       {LOCALE_SNATIVECTRYNAME_, "France"},
       {LOCALE_SABBREVLANGNAME_, "FRA"},
       {LOCALE_SCOUNTRY_, "France"},
       {LOCALE_SISO639LANGNAME_, "fr"},
       {LOCALE_SISO3166CTRYNAME_, "FR"},
       {LOCALE_IDEFAULTANSICODEPAGE_, "1252"},
       {LOCALE_IDEFAULTCODEPAGE_, "850"},
       {LOCALE_SCURRENCY_, "\x80"},
       {LOCALE_ICURRENCY_, "3"},
       {LOCALE_INEGCURR_, "8"},
       {LOCALE_ICURRDIGITS_, "2"},
       {LOCALE_STHOUSAND_, "\xA0"},
       {LOCALE_SDECIMAL_, ","},
       {LOCALE_SDATE_, "/"},
       {LOCALE_SLIST_, ";"},
       {LOCALE_STIME_, ":"},
       {LOCALE_SSHORTDATE_, "dd/MM/yyyy"},
       {LOCALE_SLONGDATE_, "dddd d MMMM yyyy"},
       {LOCALE_STIMEFORMAT_, "HH:mm:ss"},
       {LOCALE_ITIME_, "1"},
       {LOCALE_ITLZERO_, "1"},
       {LOCALE_ITIMEMARKPOSN_, "0"},
       {LOCALE_S1159_, ""},
       {LOCALE_S2359_, ""},
       {LOCALE_IMEASURE_, "0"},
       {LOCALE_ICALENDARTYPE_, "1"},
       {LOCALE_IOPTIONALCALENDAR_, "0"},
       {LOCALE_IFIRSTDAYOFWEEK_, "0"},
       {LOCALE_IFIRSTWEEKOFYEAR_, "2"}},
      {"janv.", "f\xE9vr.", "mars", "avr.", "mai", "juin", "juil.", "ao\xFBt", "sept.", "oct.", "nov.", "d\xE9""c."},
      {"janvier", "f\xE9vrier", "mars", "avril", "mai", "juin", "juillet", "ao\xFBt", "septembre", "octobre", "novembre", "d\xE9""cembre"},
      {"lun.", "mar.", "mer.", "jeu.", "ven.", "sam.", "dim."},
      {"lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi", "dimanche"}},
  {0x0407, 0,
      {{LOCALE_ILANGUAGE_, "0407"},
       {LOCALE_SENGLANGUAGE_, "German"},
       {LOCALE_SENGCOUNTRY_, "Germany"},
       {LOCALE_SLANGUAGE_, "German (Germany)"},
       {LOCALE_SNATIVELANGNAME_, "Deutsch"},
       {LOCALE_SNATIVECTRYNAME_, "Deutschland"},
       {LOCALE_SABBREVLANGNAME_, "DEU"},
       {LOCALE_SCOUNTRY_, "Germany"},
       {LOCALE_SISO639LANGNAME_, "de"},
       {LOCALE_SISO3166CTRYNAME_, "DE"},
       {LOCALE_IDEFAULTANSICODEPAGE_, "1252"},
       {LOCALE_IDEFAULTCODEPAGE_, "850"},
       {LOCALE_SCURRENCY_, "\x80"},
       {LOCALE_ICURRENCY_, "3"},
       {LOCALE_INEGCURR_, "8"},
       {LOCALE_ICURRDIGITS_, "2"},
       {LOCALE_STHOUSAND_, "."},
       {LOCALE_SDECIMAL_, ","},
       {LOCALE_SDATE_, "."},
       {LOCALE_SLIST_, ";"},
       {LOCALE_STIME_, ":"},
       {LOCALE_SSHORTDATE_, "dd.MM.yyyy"},
       {LOCALE_SLONGDATE_, "dddd, d. MMMM yyyy"},
       {LOCALE_STIMEFORMAT_, "HH:mm:ss"},
       {LOCALE_ITIME_, "1"},
       {LOCALE_ITLZERO_, "1"},
       {LOCALE_ITIMEMARKPOSN_, "0"},
       {LOCALE_S1159_, ""},
       {LOCALE_S2359_, ""},
       {LOCALE_IMEASURE_, "0"},
       {LOCALE_ICALENDARTYPE_, "1"},
       {LOCALE_IOPTIONALCALENDAR_, "0"},
       {LOCALE_IFIRSTDAYOFWEEK_, "0"},
       {LOCALE_IFIRSTWEEKOFYEAR_, "2"}},
      {"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"},
      {"Januar", "Februar", "M\xE4rz", "April", "Mai", "Juni", "Juli", "August", "September", "Oktober", "November", "Dezember"},
      {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"},
      {"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"}},
  {0x0C07, 0,
      {{LOCALE_ILANGUAGE_, "0c07"},
       {LOCALE_SENGLANGUAGE_, "German"},
       {LOCALE_SENGCOUNTRY_, "Austria"},
       {LOCALE_SLANGUAGE_, "German (Austria)"},
       {LOCALE_SNATIVELANGNAME_, "Deutsch"},
       {LOCALE_SNATIVECTRYNAME_, "\xD6sterreich"},
       {LOCALE_SABBREVLANGNAME_, "DEA"},
       {LOCALE_SCOUNTRY_, "Austria"},
       {LOCALE_SISO639LANGNAME_, "de"},
       {LOCALE_SISO3166CTRYNAME_, "AT"},
       {LOCALE_IDEFAULTANSICODEPAGE_, "1252"},
       {LOCALE_IDEFAULTCODEPAGE_, "850"},
       {LOCALE_SCURRENCY_, "\x80"},
       {LOCALE_ICURRENCY_, "2"},
       {LOCALE_INEGCURR_, "9"},
       {LOCALE_ICURRDIGITS_, "2"},
       {LOCALE_STHOUSAND_, "."},
       {LOCALE_SDECIMAL_, ","},
       {LOCALE_SDATE_, "."},
       {LOCALE_SLIST_, ";"},
       {LOCALE_STIME_, ":"},
       {LOCALE_SSHORTDATE_, "dd.MM.yyyy"},
       {LOCALE_SLONGDATE_, "dddd, dd. MMMM yyyy"},
       {LOCALE_STIMEFORMAT_, "HH:mm:ss"},
       {LOCALE_ITIME_, "1"},
       {LOCALE_ITLZERO_, "1"},
       {LOCALE_ITIMEMARKPOSN_, "0"},
       {LOCALE_S1159_, ""},
       {LOCALE_S2359_, ""},
       {LOCALE_IMEASURE_, "0"},
       {LOCALE_ICALENDARTYPE_, "1"},
       {LOCALE_IOPTIONALCALENDAR_, "0"},
       {LOCALE_IFIRSTDAYOFWEEK_, "0"},
       {LOCALE_IFIRSTWEEKOFYEAR_, "2"}},
      {"J\xE4n", "Feb", "Mrz", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"},
      {"J\xE4nner", "Februar", "M\xE4rz", "April", "Mai", "Juni", "Juli", "August", "September", "Oktober", "November", "Dezember"},
      {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"},
      {"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"}},
  {0x0410, 0,
      {{LOCALE_ILANGUAGE_, "0410"},
       {LOCALE_SENGLANGUAGE_, "Italian"},
       {LOCALE_SENGCOUNTRY_, "Italy"},
       {LOCALE_SLANGUAGE_, "Italian (Italy)"},
       {LOCALE_SNATIVELANGNAME_, "italiano"},
       {LOCALE_SNATIVECTRYNAME_, "Italia"},
       {LOCALE_SABBREVLANGNAME_, "ITA"},
       {LOCALE_SCOUNTRY_, "Italy"},
       {LOCALE_SISO639LANGNAME_, "it"},
       {LOCALE_SISO3166CTRYNAME_, "IT"},
       {LOCALE_IDEFAULTANSICODEPAGE_, "1252"},
       {LOCALE_IDEFAULTCODEPAGE_, "850"},
       {LOCALE_SCURRENCY_, "\x80"},
       {LOCALE_ICURRENCY_, "2"},
       {LOCALE_INEGCURR_, "9"},
       {LOCALE_ICURRDIGITS_, "2"},
       {LOCALE_STHOUSAND_, "."},
       {LOCALE_SDECIMAL_, ","},
       {LOCALE_SDATE_, "/"},
       {LOCALE_SLIST_, ";"},
       {LOCALE_STIME_, ":"},
       {LOCALE_SSHORTDATE_, "dd/MM/yyyy"},
       {LOCALE_SLONGDATE_, "dddd d MMMM yyyy"},
       {LOCALE_STIMEFORMAT_, "HH:mm:ss"},
       {LOCALE_ITIME_, "1"},
       {LOCALE_ITLZERO_, "1"},
       {LOCALE_ITIMEMARKPOSN_, "0"},
       {LOCALE_S1159_, ""},
       {LOCALE_S2359_, ""},
       {LOCALE_IMEASURE_, "0"},
       {LOCALE_ICALENDARTYPE_, "1"},
       {LOCALE_IOPTIONALCALENDAR_, "0"},
       {LOCALE_IFIRSTDAYOFWEEK_, "0"},
       {LOCALE_IFIRSTWEEKOFYEAR_, "2"}},
      {"gen", "feb", "mar", "apr", "mag", "giu", "lug", "ago", "set", "ott", "nov", "dic"},
      {"gennaio", "febbraio", "marzo", "aprile", "maggio", "giugno", "luglio", "agosto", "settembre", "ottobre", "novembre", "dicembre"},
      {"lun", "mar", "mer", "gio", "ven", "sab", "dom"},
      {"luned\xEC", "marted\xEC", "mercoled\xEC", "gioved\xEC", "venerd\xEC", "sabato", "domenica"}},
  {0x040A, 0,
      {{LOCALE_ILANGUAGE_, "040a"},
       {LOCALE_SENGLANGUAGE_, "Spanish"},
       {LOCALE_SENGCOUNTRY_, "Spain"},
       {LOCALE_SLANGUAGE_, "Spanish (Spain)"},
       {LOCALE_SNATIVELANGNAME_, "espa\xF1ol"},
       {LOCALE_SNATIVECTRYNAME_, "Espa\xF1""a"},
       {LOCALE_SABBREVLANGNAME_, "ESP"},
       {LOCALE_SCOUNTRY_, "Spain"},
       {LOCALE_SISO639LANGNAME_, "es"},
       {LOCALE_SISO3166CTRYNAME_, "ES"},
       {LOCALE_IDEFAULTANSICODEPAGE_, "1252"},
       {LOCALE_IDEFAULTCODEPAGE_, "850"},
       {LOCALE_SCURRENCY_, "\x80"},
       {LOCALE_ICURRENCY_, "3"},
       {LOCALE_INEGCURR_, "8"},
       {LOCALE_ICURRDIGITS_, "2"},
       {LOCALE_STHOUSAND_, "."},
       {LOCALE_SDECIMAL_, ","},
       {LOCALE_SDATE_, "/"},
       {LOCALE_SLIST_, ";"},
       {LOCALE_STIME_, ":"},
       {LOCALE_SSHORTDATE_, "dd/MM/yyyy"},
       {LOCALE_SLONGDATE_, "dddd, d' de 'MMMM' de 'yyyy"},
       {LOCALE_STIMEFORMAT_, "H:mm:ss"},
       {LOCALE_ITIME_, "1"},
       {LOCALE_ITLZERO_, "0"},
       {LOCALE_ITIMEMARKPOSN_, "0"},
       {LOCALE_S1159_, ""},
       {LOCALE_S2359_, ""},
       {LOCALE_IMEASURE_, "0"},
       {LOCALE_ICALENDARTYPE_, "1"},
       {LOCALE_IOPTIONALCALENDAR_, "0"},
       {LOCALE_IFIRSTDAYOFWEEK_, "0"},
       {LOCALE_IFIRSTWEEKOFYEAR_, "2"}},
      {"ene", "feb", "mar", "abr", "may", "jun", "jul", "ago", "sep", "oct", "nov", "dic"},
      {"enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto", "septiembre", "octubre", "noviembre", "diciembre"},
      {"lun", "mar", "mi\xE9", "jue", "vie", "s\xE1""b", "dom"},
      {"lunes", "martes", "mi\xE9rcoles", "jueves", "viernes", "s\xE1""bado", "domingo"}},
  {0x0C0A, 0,
      {{LOCALE_ILANGUAGE_, "0c0a"},
       {LOCALE_SENGLANGUAGE_, "Spanish"},
       {LOCALE_SENGCOUNTRY_, "Spain"},
       {LOCALE_SLANGUAGE_, "Spanish (Spain)"},
       {LOCALE_SNATIVELANGNAME_, "espa\xF1ol"},
       {LOCALE_SNATIVECTRYNAME_, "Espa\xF1""a"},
       {LOCALE_SABBREVLANGNAME_, "ESN"},
       {LOCALE_SCOUNTRY_, "Spain"},
       {LOCALE_SISO639LANGNAME_, "es"},
       {LOCALE_SISO3166CTRYNAME_, "ES"},
       {LOCALE_IDEFAULTANSICODEPAGE_, "1252"},
       {LOCALE_IDEFAULTCODEPAGE_, "850"},
       {LOCALE_SCURRENCY_, "\x80"},
       {LOCALE_ICURRENCY_, "3"},
       {LOCALE_INEGCURR_, "8"},
       {LOCALE_ICURRDIGITS_, "2"},
       {LOCALE_STHOUSAND_, "."},
       {LOCALE_SDECIMAL_, ","},
       {LOCALE_SDATE_, "/"},
       {LOCALE_SLIST_, ";"},
       {LOCALE_STIME_, ":"},
       {LOCALE_SSHORTDATE_, "dd/MM/yyyy"},
       {LOCALE_SLONGDATE_, "dddd, d' de 'MMMM' de 'yyyy"},
       {LOCALE_STIMEFORMAT_, "H:mm:ss"},
       {LOCALE_ITIME_, "1"},
       {LOCALE_ITLZERO_, "0"},
       {LOCALE_ITIMEMARKPOSN_, "0"},
       {LOCALE_S1159_, ""},
       {LOCALE_S2359_, ""},
       {LOCALE_IMEASURE_, "0"},
       {LOCALE_ICALENDARTYPE_, "1"},
       {LOCALE_IOPTIONALCALENDAR_, "0"},
       {LOCALE_IFIRSTDAYOFWEEK_, "0"},
       {LOCALE_IFIRSTWEEKOFYEAR_, "2"}},
      {"ene", "feb", "mar", "abr", "may", "jun", "jul", "ago", "sep", "oct", "nov", "dic"},
      {"enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto", "septiembre", "octubre", "noviembre", "diciembre"},
      {"lun", "mar", "mi\xE9", "jue", "vie", "s\xE1""b", "dom"},
      {"lunes", "martes", "mi\xE9rcoles", "jueves", "viernes", "s\xE1""bado", "domingo"}},
  {0x041D, 0,
      {{LOCALE_ILANGUAGE_, "041d"},
       {LOCALE_SENGLANGUAGE_, "Swedish"},
       {LOCALE_SENGCOUNTRY_, "Sweden"},
       {LOCALE_SLANGUAGE_, "Swedish (Sweden)"},
       {LOCALE_SNATIVELANGNAME_, "svenska"},
       {LOCALE_SNATIVECTRYNAME_, "Sverige"},
       {LOCALE_SABBREVLANGNAME_, "SVE"},
       {LOCALE_SCOUNTRY_, "Sweden"},
       {LOCALE_SISO639LANGNAME_, "sv"},
       {LOCALE_SISO3166CTRYNAME_, "SE"},
       {LOCALE_IDEFAULTANSICODEPAGE_, "1252"},
       {LOCALE_IDEFAULTCODEPAGE_, "850"},
       {LOCALE_SCURRENCY_, "kr"},
       {LOCALE_ICURRENCY_, "3"},
       {LOCALE_INEGCURR_, "8"},
       {LOCALE_ICURRDIGITS_, "2"},
       {LOCALE_STHOUSAND_, "\xA0"},
       {LOCALE_SDECIMAL_, ","},
       {LOCALE_SDATE_, "-"},
       {LOCALE_SLIST_, ";"},
       {LOCALE_STIME_, ":"},
       {LOCALE_SSHORTDATE_, "yyyy-MM-dd"},
       {LOCALE_SLONGDATE_, "'den 'd MMMM yyyy"},
       {LOCALE_STIMEFORMAT_, "HH:mm:ss"},
       {LOCALE_ITIME_, "1"},
       {LOCALE_ITLZERO_, "1"},
       {LOCALE_ITIMEMARKPOSN_, "0"},
       {LOCALE_S1159_, ""},
       {LOCALE_S2359_, ""},
       {LOCALE_IMEASURE_, "0"},
       {LOCALE_ICALENDARTYPE_, "1"},
       {LOCALE_IOPTIONALCALENDAR_, "0"},
       {LOCALE_IFIRSTDAYOFWEEK_, "0"},
       {LOCALE_IFIRSTWEEKOFYEAR_, "2"}},
      {"jan", "feb", "mar", "apr", "maj", "jun", "jul", "aug", "sep", "okt", "nov", "dec"},
      {"januari", "februari", "mars", "april", "maj", "juni", "juli", "augusti", "september", "oktober", "november", "december"},
      {"m\xE5", "ti", "on", "to", "fr", "l\xF6", "s\xF6"},
      {"m\xE5ndag", "tisdag", "onsdag", "torsdag", "fredag", "l\xF6rdag", "s\xF6ndag"}},
  {0x0816, 0,
      {{LOCALE_ILANGUAGE_, "0816"},
       {LOCALE_SENGLANGUAGE_, "Portuguese"},
       {LOCALE_SENGCOUNTRY_, "Portugal"},
       {LOCALE_SLANGUAGE_, "Portuguese (Portugal)"},
       {LOCALE_SNATIVELANGNAME_, "portugu\xEAs"},
       {LOCALE_SNATIVECTRYNAME_, "Portugal"},
       {LOCALE_SABBREVLANGNAME_, "PTG"},
       {LOCALE_SCOUNTRY_, "Portugal"},
       {LOCALE_SISO639LANGNAME_, "pt"},
       {LOCALE_SISO3166CTRYNAME_, "PT"},
       {LOCALE_IDEFAULTANSICODEPAGE_, "1252"},
       {LOCALE_IDEFAULTCODEPAGE_, "850"},
       {LOCALE_SCURRENCY_, "\x80"},
       {LOCALE_ICURRENCY_, "3"},
       {LOCALE_INEGCURR_, "8"},
       {LOCALE_ICURRDIGITS_, "2"},
       {LOCALE_STHOUSAND_, "."},
       {LOCALE_SDECIMAL_, ","},
       {LOCALE_SDATE_, "-"},
       {LOCALE_SLIST_, ";"},
       {LOCALE_STIME_, ":"},
       {LOCALE_SSHORTDATE_, "dd-MM-yyyy"},
       {LOCALE_SLONGDATE_, "dddd, d' de 'MMMM' de 'yyyy"},
       {LOCALE_STIMEFORMAT_, "HH:mm:ss"},
       {LOCALE_ITIME_, "1"},
       {LOCALE_ITLZERO_, "1"},
       {LOCALE_ITIMEMARKPOSN_, "0"},
       {LOCALE_S1159_, ""},
       {LOCALE_S2359_, ""},
       {LOCALE_IMEASURE_, "0"},
       {LOCALE_ICALENDARTYPE_, "1"},
       {LOCALE_IOPTIONALCALENDAR_, "0"},
       {LOCALE_IFIRSTDAYOFWEEK_, "0"},
       {LOCALE_IFIRSTWEEKOFYEAR_, "2"}},
      {"jan", "fev", "mar", "abr", "mai", "jun", "jul", "ago", "set", "out", "nov", "dez"},
      {"janeiro", "fevereiro", "mar\xE7o", "abril", "maio", "junho", "julho", "agosto", "setembro", "outubro", "novembro", "dezembro"},
      {"seg", "ter", "qua", "qui", "sex", "s\xE1""b", "dom"},
      {"segunda-feira", "ter\xE7""a-feira", "quarta-feira", "quinta-feira", "sexta-feira", "s\xE1""bado", "domingo"}},
  {0x0416, 0,
      {{LOCALE_ILANGUAGE_, "0416"},
       {LOCALE_SENGLANGUAGE_, "Portuguese"},
       {LOCALE_SENGCOUNTRY_, "Brazil"},
       {LOCALE_SLANGUAGE_, "Portuguese (Brazil)"},
       {LOCALE_SNATIVELANGNAME_, "portugu\xEAs"},
       {LOCALE_SNATIVECTRYNAME_, "Brasil"},
       {LOCALE_SABBREVLANGNAME_, "PTB"},
       {LOCALE_SCOUNTRY_, "Brazil"},
       {LOCALE_SISO639LANGNAME_, "pt"},
       {LOCALE_SISO3166CTRYNAME_, "BR"},
       {LOCALE_IDEFAULTANSICODEPAGE_, "1252"},
       {LOCALE_IDEFAULTCODEPAGE_, "850"},
       {LOCALE_SCURRENCY_, "R$"},
       {LOCALE_ICURRENCY_, "2"},
       {LOCALE_INEGCURR_, "9"},
       {LOCALE_ICURRDIGITS_, "2"},
       {LOCALE_STHOUSAND_, "."},
       {LOCALE_SDECIMAL_, ","},
       {LOCALE_SDATE_, "/"},
       {LOCALE_SLIST_, ";"},
       {LOCALE_STIME_, ":"},
       {LOCALE_SSHORTDATE_, "dd/MM/yyyy"},
       {LOCALE_SLONGDATE_, "dddd, d' de 'MMMM' de 'yyyy"},
       {LOCALE_STIMEFORMAT_, "HH:mm:ss"},
       {LOCALE_ITIME_, "1"},
       {LOCALE_ITLZERO_, "1"},
       {LOCALE_ITIMEMARKPOSN_, "0"},
       {LOCALE_S1159_, ""},
       {LOCALE_S2359_, ""},
       {LOCALE_IMEASURE_, "0"},
       {LOCALE_ICALENDARTYPE_, "1"},
       {LOCALE_IOPTIONALCALENDAR_, "0"},
       {LOCALE_IFIRSTDAYOFWEEK_, "0"},
       {LOCALE_IFIRSTWEEKOFYEAR_, "0"}},
      {"jan", "fev", "mar", "abr", "mai", "jun", "jul", "ago", "set", "out", "nov", "dez"},
      {"janeiro", "fevereiro", "mar\xE7o", "abril", "maio", "junho", "julho", "agosto", "setembro", "outubro", "novembro", "dezembro"},
      {"seg", "ter", "qua", "qui", "sex", "s\xE1""b", "dom"},
      {"segunda-feira", "ter\xE7""a-feira", "quarta-feira", "quinta-feira", "sexta-feira", "s\xE1""bado", "domingo"}},
  {0x0413, 0,
      {{LOCALE_ILANGUAGE_, "0413"},
       {LOCALE_SENGLANGUAGE_, "Dutch"},
       {LOCALE_SENGCOUNTRY_, "Netherlands"},
       {LOCALE_SLANGUAGE_, "Dutch (Netherlands)"},
       {LOCALE_SNATIVELANGNAME_, "Nederlands"},
       {LOCALE_SNATIVECTRYNAME_, "Nederland"},
       {LOCALE_SABBREVLANGNAME_, "NLD"},
       {LOCALE_SCOUNTRY_, "Netherlands"},
       {LOCALE_SISO639LANGNAME_, "nl"},
       {LOCALE_SISO3166CTRYNAME_, "NL"},
       {LOCALE_IDEFAULTANSICODEPAGE_, "1252"},
       {LOCALE_IDEFAULTCODEPAGE_, "850"},
       {LOCALE_SCURRENCY_, "\x80"},
       {LOCALE_ICURRENCY_, "2"},
       {LOCALE_INEGCURR_, "12"},
       {LOCALE_ICURRDIGITS_, "2"},
       {LOCALE_STHOUSAND_, "."},
       {LOCALE_SDECIMAL_, ","},
       {LOCALE_SDATE_, "-"},
       {LOCALE_SLIST_, ";"},
       {LOCALE_STIME_, ":"},
       {LOCALE_SSHORTDATE_, "d-M-yyyy"},
       {LOCALE_SLONGDATE_, "dddd d MMMM yyyy"},
       {LOCALE_STIMEFORMAT_, "H:mm:ss"},
       {LOCALE_ITIME_, "1"},
       {LOCALE_ITLZERO_, "0"},
       {LOCALE_ITIMEMARKPOSN_, "0"},
       {LOCALE_S1159_, ""},
       {LOCALE_S2359_, ""},
       {LOCALE_IMEASURE_, "0"},
       {LOCALE_ICALENDARTYPE_, "1"},
       {LOCALE_IOPTIONALCALENDAR_, "0"},
       {LOCALE_IFIRSTDAYOFWEEK_, "0"},
       {LOCALE_IFIRSTWEEKOFYEAR_, "2"}},
      {"jan", "feb", "mrt", "apr", "mei", "jun", "jul", "aug", "sep", "okt", "nov", "dec"},
      {"januari", "februari", "maart", "april", "mei", "juni", "juli", "augustus", "september", "oktober", "november", "december"},
      {"ma", "di", "wo", "do", "vr", "za", "zo"},
      {"maandag", "dinsdag", "woensdag", "donderdag", "vrijdag", "zaterdag", "zondag"}},
  {0x0411, 17,
      {{LOCALE_ILANGUAGE_, "0411"},
       {LOCALE_SENGLANGUAGE_, "Japanese"},
       {LOCALE_SENGCOUNTRY_, "Japan"},
       {LOCALE_SLANGUAGE_, "Japanese (Japan)"},
       {LOCALE_SNATIVELANGNAME_, "\x93\xFA\x96{\x8C\xEA"},
       {LOCALE_SNATIVECTRYNAME_, "\x93\xFA\x96{"},
       {LOCALE_SABBREVLANGNAME_, "JPN"},
       {LOCALE_SCOUNTRY_, "Japan"},
       {LOCALE_SISO639LANGNAME_, "ja"},
       {LOCALE_SISO3166CTRYNAME_, "JP"},
       {LOCALE_IDEFAULTANSICODEPAGE_, "932"},
       {LOCALE_IDEFAULTCODEPAGE_, "932"},
       {LOCALE_SCURRENCY_, "\x5C"},
       {LOCALE_ICURRENCY_, "0"},
       {LOCALE_INEGCURR_, "1"},
       {LOCALE_ICURRDIGITS_, "0"},
       {LOCALE_STHOUSAND_, ","},
       {LOCALE_SDECIMAL_, "."},
       {LOCALE_SDATE_, "/"},
       {LOCALE_SLIST_, ","},
       {LOCALE_STIME_, ":"},
       {LOCALE_SSHORTDATE_, "yyyy/MM/dd"},
       {LOCALE_SLONGDATE_, "yyyy'\x94N'M'\x8C\x8E'd'\x93\xFA'"},
       {LOCALE_STIMEFORMAT_, "H:mm:ss"},
       {LOCALE_ITIME_, "1"},
       {LOCALE_ITLZERO_, "0"},
       {LOCALE_ITIMEMARKPOSN_, "0"},
       {LOCALE_S1159_, "\x8C\xDF\x91O"},
       {LOCALE_S2359_, "\x8C\xDF\x8C\xE3"},
       {LOCALE_IMEASURE_, "0"},
       {LOCALE_ICALENDARTYPE_, "1"},
       {LOCALE_IOPTIONALCALENDAR_, "0"},
       {LOCALE_IFIRSTDAYOFWEEK_, "6"},
       {LOCALE_IFIRSTWEEKOFYEAR_, "0"}},
      {"1\x8C\x8E", "2\x8C\x8E", "3\x8C\x8E", "4\x8C\x8E", "5\x8C\x8E", "6\x8C\x8E", "7\x8C\x8E", "8\x8C\x8E", "9\x8C\x8E", "10\x8C\x8E", "11\x8C\x8E", "12\x8C\x8E"},
      {"1\x8C\x8E", "2\x8C\x8E", "3\x8C\x8E", "4\x8C\x8E", "5\x8C\x8E", "6\x8C\x8E", "7\x8C\x8E", "8\x8C\x8E", "9\x8C\x8E", "10\x8C\x8E", "11\x8C\x8E", "12\x8C\x8E"},
      {"\x8C\x8E", "\x89\xCE", "\x90\x85", "\x96\xD8", "\x8B\xE0", "\x93y", "\x93\xFA"},
      {"\x8C\x8E\x97j\x93\xFA", "\x89\xCE\x97j\x93\xFA", "\x90\x85\x97j\x93\xFA", "\x96\xD8\x97j\x93\xFA", "\x8B\xE0\x97j\x93\xFA", "\x93y\x97j\x93\xFA", "\x93\xFA\x97j\x93\xFA"}},
  {0x0401, 6,
      {{LOCALE_ILANGUAGE_, "0401"},
       {LOCALE_SENGLANGUAGE_, "Arabic"},
       {LOCALE_SENGCOUNTRY_, "Saudi Arabia"},
       {LOCALE_SLANGUAGE_, "Arabic (Saudi Arabia)"},
       {LOCALE_SNATIVELANGNAME_, "\xC7\xE1\xDA\xD1\xC8\xED\xC9"},
       {LOCALE_SNATIVECTRYNAME_, "\xC7\xE1\xE3\xE3\xE1\xDF\xC9 \xC7\xE1\xDA\xD1\xC8\xED\xC9 \xC7\xE1\xD3\xDA\xE6\xCF\xED\xC9"},
       {LOCALE_SABBREVLANGNAME_, "ARA"},
       {LOCALE_SCOUNTRY_, "Saudi Arabia"},
       {LOCALE_SISO639LANGNAME_, "ar"},
       {LOCALE_SISO3166CTRYNAME_, "SA"},
       {LOCALE_IDEFAULTANSICODEPAGE_, "1256"},
       {LOCALE_IDEFAULTCODEPAGE_, "720"},
       {LOCALE_SCURRENCY_, "\xD1.\xD3.\xFE"},
       {LOCALE_ICURRENCY_, "2"},
       {LOCALE_INEGCURR_, "3"},
       {LOCALE_ICURRDIGITS_, "2"},
       {LOCALE_STHOUSAND_, ","},
       {LOCALE_SDECIMAL_, "."},
       {LOCALE_SDATE_, "/"},
       {LOCALE_SLIST_, ";"},
       {LOCALE_STIME_, ":"},
       {LOCALE_SSHORTDATE_, "dd/MM/yy"},
       {LOCALE_SLONGDATE_, "dd/MMMM/yyyy"},
       {LOCALE_STIMEFORMAT_, "hh:mm:ss tt"},
       {LOCALE_ITIME_, "0"},
       {LOCALE_ITLZERO_, "1"},
       {LOCALE_ITIMEMARKPOSN_, "0"},
       {LOCALE_S1159_, "\xD5"},
       {LOCALE_S2359_, "\xE3"},
       {LOCALE_IMEASURE_, "0"},
       {LOCALE_ICALENDARTYPE_, "6"},
       {LOCALE_IOPTIONALCALENDAR_, "0"},
       {LOCALE_IFIRSTDAYOFWEEK_, "5"},
       {LOCALE_IFIRSTWEEKOFYEAR_, "0"}},
      {"\xE3\xCD\xD1\xE3", "\xD5\xDD\xD1", "\xD1\xC8\xED\xDA \xC7\xE1\xC3\xE6\xE1", "\xD1\xC8\xED\xDA \xC7\xE1\xCB\xC7\xE4\xED", "\xCC\xE3\xC7\xCF\xEC \xC7\xE1\xC3\xE6\xE1\xEC", "\xCC\xE3\xC7\xCF\xEC \xC7\xE1\xCB\xC7\xE4\xED\xC9", "\xD1\xCC\xC8", "\xD4\xDA\xC8\xC7\xE4", "\xD1\xE3\xD6\xC7\xE4", "\xD4\xE6\xC7\xE1", "\xD0\xE6 \xC7\xE1\xDE\xDA\xCF\xC9", "\xD0\xE6 \xC7\xE1\xCD\xCC\xC9"},
      {"\xE3\xCD\xD1\xE3", "\xD5\xDD\xD1", "\xD1\xC8\xED\xDA \xC7\xE1\xC3\xE6\xE1", "\xD1\xC8\xED\xDA \xC7\xE1\xCB\xC7\xE4\xED", "\xCC\xE3\xC7\xCF\xEC \xC7\xE1\xC3\xE6\xE1\xEC", "\xCC\xE3\xC7\xCF\xEC \xC7\xE1\xCB\xC7\xE4\xED\xC9", "\xD1\xCC\xC8", "\xD4\xDA\xC8\xC7\xE4", "\xD1\xE3\xD6\xC7\xE4", "\xD4\xE6\xC7\xE1", "\xD0\xE6 \xC7\xE1\xDE\xDA\xCF\xC9", "\xD0\xE6 \xC7\xE1\xCD\xCC\xC9"},
      {"\xC7\xE1\xC7\xCB\xE4\xED\xE4", "\xC7\xE1\xCB\xE1\xC7\xCB\xC7\xC1", "\xC7\xE1\xC7\xD1\xC8\xDA\xC7\xC1", "\xC7\xE1\xCE\xE3\xED\xD3", "\xC7\xE1\xCC\xE3\xDA\xC9", "\xC7\xE1\xD3\xC8\xCA", "\xC7\xE1\xC7\xCD\xCF"},
      {"\xC7\xE1\xC7\xCB\xE4\xED\xE4", "\xC7\xE1\xCB\xE1\xC7\xCB\xC7\xC1", "\xC7\xE1\xC7\xD1\xC8\xDA\xC7\xC1", "\xC7\xE1\xCE\xE3\xED\xD3", "\xC7\xE1\xCC\xE3\xDA\xC9", "\xC7\xE1\xD3\xC8\xCA", "\xC7\xE1\xC7\xCD\xCF"}},
  {0x0419, 2,
      {{LOCALE_ILANGUAGE_, "0419"},
       {LOCALE_SENGLANGUAGE_, "Russian"},
       {LOCALE_SENGCOUNTRY_, "Russia"},
       {LOCALE_SLANGUAGE_, "Russian (Russia)"},
       {LOCALE_SNATIVELANGNAME_, "\xF0\xF3\xF1\xF1\xEA\xE8\xE9"},
       {LOCALE_SNATIVECTRYNAME_, "\xD0\xEE\xF1\xF1\xE8\xFF"},
       {LOCALE_SABBREVLANGNAME_, "RUS"},
       {LOCALE_SCOUNTRY_, "Russia"},
       {LOCALE_SISO639LANGNAME_, "ru"},
       {LOCALE_SISO3166CTRYNAME_, "RU"},
       {LOCALE_IDEFAULTANSICODEPAGE_, "1251"},
       {LOCALE_IDEFAULTCODEPAGE_, "866"},
       {LOCALE_SCURRENCY_, "\xF0."},
       {LOCALE_ICURRENCY_, "1"},
       {LOCALE_INEGCURR_, "5"},
       {LOCALE_ICURRDIGITS_, "2"},
       {LOCALE_STHOUSAND_, "\xA0"},
       {LOCALE_SDECIMAL_, ","},
       {LOCALE_SDATE_, "."},
       {LOCALE_SLIST_, ";"},
       {LOCALE_STIME_, ":"},
       {LOCALE_SSHORTDATE_, "dd.MM.yyyy"},
       {LOCALE_SLONGDATE_, "d MMMM yyyy '\xE3.'"},
       {LOCALE_STIMEFORMAT_, "H:mm:ss"},
       {LOCALE_ITIME_, "1"},
       {LOCALE_ITLZERO_, "0"},
       {LOCALE_ITIMEMARKPOSN_, "0"},
       {LOCALE_S1159_, ""},
       {LOCALE_S2359_, ""},
       {LOCALE_IMEASURE_, "0"},
       {LOCALE_ICALENDARTYPE_, "1"},
       {LOCALE_IOPTIONALCALENDAR_, "0"},
       {LOCALE_IFIRSTDAYOFWEEK_, "0"},
       {LOCALE_IFIRSTWEEKOFYEAR_, "0"}},
      {"\xFF\xED\xE2", "\xF4\xE5\xE2", "\xEC\xE0\xF0", "\xE0\xEF\xF0", "\xEC\xE0\xE9", "\xE8\xFE\xED", "\xE8\xFE\xEB", "\xE0\xE2\xE3", "\xF1\xE5\xED", "\xEE\xEA\xF2", "\xED\xEE\xFF", "\xE4\xE5\xEA"},
      {"\xDF\xED\xE2\xE0\xF0\xFC", "\xD4\xE5\xE2\xF0\xE0\xEB\xFC", "\xCC\xE0\xF0\xF2", "\xC0\xEF\xF0\xE5\xEB\xFC", "\xCC\xE0\xE9", "\xC8\xFE\xED\xFC", "\xC8\xFE\xEB\xFC", "\xC0\xE2\xE3\xF3\xF1\xF2", "\xD1\xE5\xED\xF2\xFF\xE1\xF0\xFC", "\xCE\xEA\xF2\xFF\xE1\xF0\xFC", "\xCD\xEE\xFF\xE1\xF0\xFC", "\xC4\xE5\xEA\xE0\xE1\xF0\xFC"},
      {"\xCF\xED", "\xC2\xF2", "\xD1\xF0", "\xD7\xF2", "\xCF\xF2", "\xD1\xE1", "\xC2\xF1"},
      {"\xEF\xEE\xED\xE5\xE4\xE5\xEB\xFC\xED\xE8\xEA", "\xE2\xF2\xEE\xF0\xED\xE8\xEA", "\xF1\xF0\xE5\xE4\xE0", "\xF7\xE5\xF2\xE2\xE5\xF0\xE3", "\xEF\xFF\xF2\xED\xE8\xF6\xE0", "\xF1\xF3\xE1\xE1\xEE\xF2\xE0", "\xE2\xEE\xF1\xEA\xF0\xE5\xF1\xE5\xED\xFC\xE5"}},
  {0x0408, 3,
      {{LOCALE_ILANGUAGE_, "0408"},
       {LOCALE_SENGLANGUAGE_, "Greek"},
       {LOCALE_SENGCOUNTRY_, "Greece"},
       {LOCALE_SLANGUAGE_, "Greek (Greece)"},
       {LOCALE_SNATIVELANGNAME_, "\xE5\xEB\xEB\xE7\xED\xE9\xEA\xDC"},
       {LOCALE_SNATIVECTRYNAME_, "\xC5\xEB\xEB\xDC\xE4\xE1"},
       {LOCALE_SABBREVLANGNAME_, "ELL"},
       {LOCALE_SCOUNTRY_, "Greece"},
       {LOCALE_SISO639LANGNAME_, "el"},
       {LOCALE_SISO3166CTRYNAME_, "GR"},
       {LOCALE_IDEFAULTANSICODEPAGE_, "1253"},
       {LOCALE_IDEFAULTCODEPAGE_, "737"},
       {LOCALE_SCURRENCY_, "\x80"},
       {LOCALE_ICURRENCY_, "3"},
       {LOCALE_INEGCURR_, "8"},
       {LOCALE_ICURRDIGITS_, "2"},
       {LOCALE_STHOUSAND_, "."},
       {LOCALE_SDECIMAL_, ","},
       {LOCALE_SDATE_, "/"},
       {LOCALE_SLIST_, ";"},
       {LOCALE_STIME_, ":"},
       {LOCALE_SSHORTDATE_, "d/M/yyyy"},
       {LOCALE_SLONGDATE_, "dddd, d MMMM yyyy"},
       {LOCALE_STIMEFORMAT_, "h:mm:ss tt"},
       {LOCALE_ITIME_, "0"},
       {LOCALE_ITLZERO_, "0"},
       {LOCALE_ITIMEMARKPOSN_, "0"},
       {LOCALE_S1159_, "\xF0\xEC"},
       {LOCALE_S2359_, "\xEC\xEC"},
       {LOCALE_IMEASURE_, "0"},
       {LOCALE_ICALENDARTYPE_, "1"},
       {LOCALE_IOPTIONALCALENDAR_, "0"},
       {LOCALE_IFIRSTDAYOFWEEK_, "0"},
       {LOCALE_IFIRSTWEEKOFYEAR_, "0"}},
      {"\xC9\xE1\xED", "\xD6\xE5\xE2", "\xCC\xE1\xF1", "\xC1\xF0\xF1", "\xCC\xE1\xFA", "\xC9\xEF\xF5\xED", "\xC9\xEF\xF5\xEB", "\xC1\xF5\xE3", "\xD3\xE5\xF0", "\xCF\xEA\xF4", "\xCD\xEF\xE5", "\xC4\xE5\xEA"},
      {"\xC9\xE1\xED\xEF\xF5\xDC\xF1\xE9\xEF\xF2", "\xD6\xE5\xE2\xF1\xEF\xF5\xDC\xF1\xE9\xEF\xF2", "\xCC\xDC\xF1\xF4\xE9\xEF\xF2", "\xC1\xF0\xF1\xDF\xEB\xE9\xEF\xF2", "\xCC\xDC\xE9\xEF\xF2", "\xC9\xEF\xFD\xED\xE9\xEF\xF2", "\xC9\xEF\xFD\xEB\xE9\xEF\xF2", "\xC1\xFD\xE3\xEF\xF5\xF3\xF4\xEF\xF2", "\xD3\xE5\xF0\xF4\xDD\xEC\xE2\xF1\xE9\xEF\xF2", "\xCF\xEA\xF4\xFE\xE2\xF1\xE9\xEF\xF2", "\xCD\xEF\xDD\xEC\xE2\xF1\xE9\xEF\xF2", "\xC4\xE5\xEA\xDD\xEC\xE2\xF1\xE9\xEF\xF2"},
      {"\xC4\xE5\xF5", "\xD4\xF1\xE9", "\xD4\xE5\xF4", "\xD0\xE5\xEC", "\xD0\xE1\xF1", "\xD3\xE1\xE2", "\xCA\xF5\xF1"},
      {"\xC4\xE5\xF5\xF4\xDD\xF1\xE1", "\xD4\xF1\xDF\xF4\xE7", "\xD4\xE5\xF4\xDC\xF1\xF4\xE7", "\xD0\xDD\xEC\xF0\xF4\xE7", "\xD0\xE1\xF1\xE1\xF3\xEA\xE5\xF5\xDE", "\xD3\xDC\xE2\xE2\xE1\xF4\xEF", "\xCA\xF5\xF1\xE9\xE1\xEA\xDE"}},
  };
  return rows;
}

// Upper halves of the code pages the fake converts (bytes 0x80..0xFF to UTF-16): Windows-1250
// to 1254, 1256 and 1257, OEM 437 and 850, each as the system converts it
// (tests/win/platform_contract_win32_test.cpp); UTF-7 is not converted. Bytes an ANSI
// code page leaves undefined map to the same code point, as MultiByteToWideChar does.
// Greek and Baltic are the exceptions: the system maps a few of their undefined bytes into the
// private use area.
const char16_t* HighHalf(uint32_t codePage) {
  if (codePage == 437) return kCp437High;
  if (codePage == 850) return kCp850High;
  if (codePage != 1250 && codePage != 1251 && codePage != 1252 && codePage != 1253 && codePage != 1254 &&
      codePage != 1256 && codePage != 1257)
    return nullptr;
  static std::map<uint32_t, std::array<char16_t, 128>> tables;
  auto [it, added] = tables.try_emplace(codePage);
  if (added) {
    const char16_t* system = SingleByteCodePage(codePage);
    for (int i = 0; i < 128; ++i) it->second[i] = system[i] ? system[i] : static_cast<char16_t>(0x80 + i);
    struct Private {
      uint32_t codePage;
      unsigned char byte;
      char16_t to;
    };
    for (const Private& p : {Private{1253, 0xAA, 0xF8F9}, Private{1253, 0xD2, 0xF8FA}, Private{1253, 0xFF, 0xF8FB},
                             Private{1257, 0xA1, 0xF8FC}, Private{1257, 0xA5, 0xF8FD}})
      if (p.codePage == codePage) it->second[p.byte - 0x80] = p.to;
  }
  return it->second.data();
}

// The font signature as GetLocaleInfo hands it out: 32 bytes (Unicode subset bits, then the
// default and the supported code-page bits).
std::string FontSignature(int bit) {
  std::string sig(32, '\0');
  uint32_t csb = 1u << bit;
  for (int i = 0; i < 4; ++i) {
    sig[16 + i] = static_cast<char>((csb >> (8 * i)) & 0xFF);
    sig[24 + i] = static_cast<char>((csb >> (8 * i)) & 0xFF);
  }
  return sig;
}

bool IsUpper1252(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || c == 0x8A || c == 0x8C || c == 0x8E ||
         c == 0x9F;
}
bool IsLower1252(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) || c == 0x9A || c == 0x9C || c == 0x9E ||
         c == 0xFF;
}
unsigned char ToLower1252(unsigned char c) {
  if (!IsUpper1252(c)) return c;
  if (c == 0x9F) return 0xFF;
  if (c >= 0x8A && c <= 0x8E) return static_cast<unsigned char>(c + 0x10);
  return static_cast<unsigned char>(c + 0x20);
}
unsigned char ToUpper1252(unsigned char c) {
  if (!IsLower1252(c)) return c;
  if (c == 0xFF) return 0x9F;
  if (c >= 0x9A && c <= 0x9E) return static_cast<unsigned char>(c - 0x10);
  return static_cast<unsigned char>(c - 0x20);
}

}  // namespace

FakeLocale::FakeLocale() {
  for (const LocaleRow& row : Rows()) {
    auto& table = locales[row.lcid];
    for (const auto& [type, value] : row.info) table[type] = value;
    for (int i = 0; i < 12; ++i) {
      table[LOCALE_SABBREVMONTHNAME1_ + i] = row.shortMonths[i];
      table[LOCALE_SMONTHNAME1_ + i] = row.longMonths[i];
    }
    for (int i = 0; i < 7; ++i) {
      table[LOCALE_SABBREVDAYNAME1_ + i] = row.shortDays[i];
      table[LOCALE_SDAYNAME1_ + i] = row.longDays[i];
    }
    table[LOCALE_FONTSIGNATURE_] = FontSignature(row.fontSignatureBit);
  }
  supportedCodePages = {437, 737, 850, 866, 874, 932, 936, 949, 950, 1250, 1251,
                        1252, 1253, 1254, 1255, 1256, 1257, 1258, 65000, 65001};
  installedCodePages = {437, 850, 1250, 1251, 1252, 1253, 1254, 1257, 65000, 65001};
}

LCID FakeLocale::Resolve(LCID locale) const {
  switch (locale) {
    case 0:
    case 0x0400:
      return userDefaultLcid;
    case 0x0800:
      return systemDefaultLcid;
    default:
      return locale;
  }
}

bool FakeLocale::GetLocaleInfo(LCID locale, LCTYPE type, std::string& out) {
  ++localeInfoQueries;
  if (localeInfoFails || failingTypes.count(type)) return false;
  auto it = locales.find(Resolve(locale));
  if (it == locales.end()) return false;
  auto value = it->second.find(type);
  if (value == it->second.end()) return false;
  out = value->second;
  return true;
}

// Writes into the resolved locale's table, as the system writes the user's overrides.
bool FakeLocale::SetLocaleInfo(LCID locale, LCTYPE type, const std::string& value) {
  ++setLocaleInfoCalls;
  if (setLocaleInfoFails) return false;
  auto it = locales.find(Resolve(locale));
  if (it == locales.end()) return false;
  it->second[type] = value;
  return true;
}

void FakeLocale::RemoveInfo(LCID locale, LCTYPE type) {
  auto it = locales.find(locale);
  if (it != locales.end()) it->second.erase(type);
}

void FakeLocale::CopyLocale(LCID from, LCID to) {
  auto it = locales.find(from);
  if (it != locales.end()) locales[to] = it->second;
}

LCID FakeLocale::GetUserDefaultLCID() { return userDefaultLcid; }
LCID FakeLocale::GetSystemDefaultLCID() { return systemDefaultLcid; }
LCID FakeLocale::GetThreadLocale() { return threadLocale; }

bool FakeLocale::SetThreadLocale(LCID locale) {
  ++setThreadLocaleCalls;
  if (setThreadLocaleFails || !IsValidLocale(locale)) return false;
  threadLocale = Resolve(locale);
  return true;
}

uint32_t FakeLocale::GetACP() { return acp; }
uint32_t FakeLocale::GetOEMCP() { return oemcp; }

std::vector<uint32_t> FakeLocale::EnumSystemCodePages(bool installedOnly) {
  ++codePageEnumerations;
  if (enumCodePagesFails) return {};
  return installedOnly ? installedCodePages : supportedCodePages;
}

std::vector<LCID> FakeLocale::EnumSystemLocales(bool installedOnly) {
  ++localeEnumerations;
  if (enumLocalesFails) return {};
  std::vector<LCID> out;
  for (const auto& [lcid, table] : locales) out.push_back(lcid);
  if (!installedOnly) out.insert(out.end(), extraSupportedLocales.begin(), extraSupportedLocales.end());
  return out;
}

bool FakeLocale::IsValidLocale(LCID locale) {
  locale = Resolve(locale);
  return locales.count(locale) != 0 ||
         std::find(extraSupportedLocales.begin(), extraSupportedLocales.end(), locale) != extraSupportedLocales.end();
}

WideString FakeLocale::MultiByteToWide(uint32_t codePage, const AnsiString& text) {
  if (codePage == CP_ACP_) codePage = acp;
  if (codePage == CP_OEMCP_) codePage = oemcp;
  if (codePage == 65001) return Utf8ToUtf16(text);
  return SingleByteToUtf16(HighHalf(codePage), text);
}

AnsiString FakeLocale::WideToMultiByte(uint32_t codePage, const WideString& text) {
  if (codePage == CP_ACP_) codePage = acp;
  if (codePage == CP_OEMCP_) codePage = oemcp;
  if (codePage == 65001) return Utf16ToUtf8(text);
  return Utf16ToSingleByte(HighHalf(codePage), text);
}

std::string FakeLocale::VerLanguageName(LANGID lang) {
  auto it = locales.find(lang);
  if (it != locales.end()) {
    auto name = it->second.find(LOCALE_SLANGUAGE_);
    if (name != it->second.end()) return name->second;
  }
  return "Language Neutral";
}

AnsiString FakeLocale::OemToChar(const AnsiString& oem) {
  AnsiString out = oem;
  for (char& ch : out) {
    auto c = static_cast<unsigned char>(ch);
    if (c >= 0x80) ch = static_cast<char>(kOem437To1252[c - 0x80]);
  }
  return out;
}

AnsiString FakeLocale::CharLower(const AnsiString& text) {
  AnsiString out = text;
  for (char& ch : out) ch = static_cast<char>(ToLower1252(static_cast<unsigned char>(ch)));
  return out;
}

AnsiString FakeLocale::CharUpper(const AnsiString& text) {
  AnsiString out = text;
  for (char& ch : out) ch = static_cast<char>(ToUpper1252(static_cast<unsigned char>(ch)));
  return out;
}

}  // namespace vsi::fake
