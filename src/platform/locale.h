#pragma once
// Locale database and text conversion (kernel32, user32).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace vsi {

using LCID = uint32_t;
using LANGID = uint16_t;
using LCTYPE = uint32_t;

// A few LOCALE_* selectors; the full numbering is Windows'.
constexpr LCTYPE LOCALE_ILANGUAGE_ = 0x0001;
constexpr LCTYPE LOCALE_SLANGUAGE_ = 0x0002;
constexpr LCTYPE LOCALE_SENGLANGUAGE_ = 0x1001;
constexpr LCTYPE LOCALE_SABBREVLANGNAME_ = 0x0003;
constexpr LCTYPE LOCALE_SNATIVELANGNAME_ = 0x0004;
constexpr LCTYPE LOCALE_ICOUNTRY_ = 0x0005;
constexpr LCTYPE LOCALE_SCOUNTRY_ = 0x0006;
constexpr LCTYPE LOCALE_SENGCOUNTRY_ = 0x1002;
constexpr LCTYPE LOCALE_SABBREVCTRYNAME_ = 0x0007;
constexpr LCTYPE LOCALE_SNATIVECTRYNAME_ = 0x0008;
constexpr LCTYPE LOCALE_IDEFAULTLANGUAGE_ = 0x0009;
constexpr LCTYPE LOCALE_IDEFAULTCOUNTRY_ = 0x000A;
constexpr LCTYPE LOCALE_IDEFAULTCODEPAGE_ = 0x000B;
constexpr LCTYPE LOCALE_IDEFAULTANSICODEPAGE_ = 0x1004;
constexpr LCTYPE LOCALE_SLIST_ = 0x000C;
constexpr LCTYPE LOCALE_IMEASURE_ = 0x000D;
constexpr LCTYPE LOCALE_SDECIMAL_ = 0x000E;
constexpr LCTYPE LOCALE_STHOUSAND_ = 0x000F;
constexpr LCTYPE LOCALE_SGROUPING_ = 0x0010;
constexpr LCTYPE LOCALE_IDIGITS_ = 0x0011;
constexpr LCTYPE LOCALE_ILZERO_ = 0x0012;
constexpr LCTYPE LOCALE_SNATIVEDIGITS_ = 0x0013;
constexpr LCTYPE LOCALE_SCURRENCY_ = 0x0014;
constexpr LCTYPE LOCALE_SINTLSYMBOL_ = 0x0015;
constexpr LCTYPE LOCALE_SMONDECIMALSEP_ = 0x0016;
constexpr LCTYPE LOCALE_SMONTHOUSANDSEP_ = 0x0017;
constexpr LCTYPE LOCALE_SMONGROUPING_ = 0x0018;
constexpr LCTYPE LOCALE_ICURRDIGITS_ = 0x0019;
constexpr LCTYPE LOCALE_IINTLCURRDIGITS_ = 0x001A;
constexpr LCTYPE LOCALE_ICURRENCY_ = 0x001B;
constexpr LCTYPE LOCALE_INEGCURR_ = 0x001C;
constexpr LCTYPE LOCALE_SDATE_ = 0x001D;
constexpr LCTYPE LOCALE_STIME_ = 0x001E;
constexpr LCTYPE LOCALE_SSHORTDATE_ = 0x001F;
constexpr LCTYPE LOCALE_SLONGDATE_ = 0x0020;
constexpr LCTYPE LOCALE_STIMEFORMAT_ = 0x1003;
constexpr LCTYPE LOCALE_IDATE_ = 0x0021;
constexpr LCTYPE LOCALE_ILDATE_ = 0x0022;
constexpr LCTYPE LOCALE_ITIME_ = 0x0023;
constexpr LCTYPE LOCALE_ICENTURY_ = 0x0024;
constexpr LCTYPE LOCALE_ITLZERO_ = 0x0025;
constexpr LCTYPE LOCALE_IDAYLZERO_ = 0x0026;
constexpr LCTYPE LOCALE_IMONLZERO_ = 0x0027;
constexpr LCTYPE LOCALE_S1159_ = 0x0028;
constexpr LCTYPE LOCALE_S2359_ = 0x0029;
constexpr LCTYPE LOCALE_SDAYNAME1_ = 0x002A;           // .. SDAYNAME7 = 0x30 (Monday first)
constexpr LCTYPE LOCALE_SABBREVDAYNAME1_ = 0x0031;     // .. 0x37
constexpr LCTYPE LOCALE_SMONTHNAME1_ = 0x0038;         // .. 0x43
constexpr LCTYPE LOCALE_SABBREVMONTHNAME1_ = 0x0044;   // .. 0x4F
constexpr LCTYPE LOCALE_ITIMEMARKPOSN_ = 0x1005;
constexpr LCTYPE LOCALE_ICALENDARTYPE_ = 0x1009;
constexpr LCTYPE LOCALE_IOPTIONALCALENDAR_ = 0x100B;
constexpr LCTYPE LOCALE_SPOSITIVESIGN_ = 0x0050;
constexpr LCTYPE LOCALE_SNEGATIVESIGN_ = 0x0051;
constexpr LCTYPE LOCALE_INEGNUMBER_ = 0x1010;
constexpr LCTYPE LOCALE_IFIRSTDAYOFWEEK_ = 0x100C;
constexpr LCTYPE LOCALE_IFIRSTWEEKOFYEAR_ = 0x100D;
constexpr LCTYPE LOCALE_IDEFAULTEBCDICCODEPAGE_ = 0x1012;
constexpr LCTYPE LOCALE_FONTSIGNATURE_ = 0x0058;
constexpr LCTYPE LOCALE_SISO639LANGNAME_ = 0x0059;
constexpr LCTYPE LOCALE_SISO3166CTRYNAME_ = 0x005A;

constexpr uint32_t CP_ACP_ = 0;
constexpr uint32_t CP_OEMCP_ = 1;

class ILocale {
 public:
  virtual ~ILocale() = default;
  // GetLocaleInfoA: false when the locale or the item is unknown; `out` then untouched.
  virtual bool GetLocaleInfo(LCID locale, LCTYPE type, std::string& out) = 0;
  // SetLocaleInfoA: false when the system refuses the value.
  virtual bool SetLocaleInfo(LCID locale, LCTYPE type, const std::string& value) = 0;
  virtual LCID GetUserDefaultLCID() = 0;
  virtual LCID GetSystemDefaultLCID() = 0;
  virtual LCID GetThreadLocale() = 0;
  virtual bool SetThreadLocale(LCID locale) = 0;
  virtual uint32_t GetACP() = 0;
  virtual uint32_t GetOEMCP() = 0;
  // EnumSystemCodePagesA with CP_INSTALLED / CP_SUPPORTED.
  virtual std::vector<uint32_t> EnumSystemCodePages(bool installedOnly) = 0;
  // EnumSystemLocalesA with LCID_INSTALLED / LCID_SUPPORTED.
  virtual std::vector<LCID> EnumSystemLocales(bool installedOnly) = 0;
  virtual bool IsValidLocale(LCID locale) = 0;
  // MultiByteToWideChar / WideCharToMultiByte for a whole text.
  virtual WideString MultiByteToWide(uint32_t codePage, const AnsiString& text) = 0;
  virtual AnsiString WideToMultiByte(uint32_t codePage, const WideString& text) = 0;
  // VerLanguageNameA.
  virtual std::string VerLanguageName(LANGID lang) = 0;
  // OemToCharA over a byte range (same length out).
  virtual AnsiString OemToChar(const AnsiString& oem) = 0;
  // CharLowerA / CharUpperA with the user's locale (the file-name casing).
  virtual AnsiString CharLower(const AnsiString& text) = 0;
  virtual AnsiString CharUpper(const AnsiString& text) = 0;
};

}  // namespace vsi
