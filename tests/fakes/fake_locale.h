#pragma once
// The locale database as a real table: the main locales of the eight languages of the window
// (en-US, fr-FR, de-DE, it-IT, es-ES in both sorts, sv-SE, pt-PT, pt-BR, nl-NL) and a few
// others that exercise the code-page rules (en-GB, de-AT, ja-JP 932, ar-SA 1256 right-to-left,
// ru-RU 1251, el-GR 1253). Texts are 8-bit in each locale's ANSI code page, as GetLocaleInfoA
// answers them. Conversions cover Windows-1252, 1251, 1253, 1256, OEM 437 and UTF-8; bad UTF-8
// becomes U+FFFD, as MultiByteToWideChar without MB_ERR_INVALID_CHARS makes it.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/locale.h"

namespace vsi::fake {

class FakeLocale : public ILocale {
 public:
  FakeLocale();

  // --- ILocale ---
  bool GetLocaleInfo(LCID locale, LCTYPE type, std::string& out) override;
  bool SetLocaleInfo(LCID locale, LCTYPE type, const std::string& value) override;
  LCID GetUserDefaultLCID() override;
  LCID GetSystemDefaultLCID() override;
  LCID GetThreadLocale() override;
  bool SetThreadLocale(LCID locale) override;
  uint32_t GetACP() override;
  uint32_t GetOEMCP() override;
  std::vector<uint32_t> EnumSystemCodePages(bool installedOnly) override;
  std::vector<LCID> EnumSystemLocales(bool installedOnly) override;
  bool IsValidLocale(LCID locale) override;
  WideString MultiByteToWide(uint32_t codePage, const AnsiString& text) override;
  AnsiString WideToMultiByte(uint32_t codePage, const WideString& text) override;
  std::string VerLanguageName(LANGID lang) override;
  AnsiString OemToChar(const AnsiString& oem) override;
  AnsiString CharLower(const AnsiString& text) override;
  AnsiString CharUpper(const AnsiString& text) override;

  // --- Arranging ---
  // en-US everywhere, ANSI 1252, OEM 437 by default.
  LCID userDefaultLcid = 0x0409;
  LCID systemDefaultLcid = 0x0409;
  LCID threadLocale = 0x0409;
  uint32_t acp = 1252;
  uint32_t oemcp = 437;

  // The table: answers per locale and information type. The neutral, user-default and
  // system-default identifiers (0, 0x0400, 0x0800) are resolved before the lookup, as
  // GetLocaleInfoA does.
  std::map<LCID, std::map<LCTYPE, std::string>> locales;
  void SetInfo(LCID locale, LCTYPE type, const std::string& value) { locales[locale][type] = value; }
  void RemoveInfo(LCID locale, LCTYPE type);
  void RemoveLocale(LCID locale) { locales.erase(locale); }
  // Copies a locale of the table under another identifier (a made-up sublanguage).
  void CopyLocale(LCID from, LCID to);

  // Code pages the system supports and, of those, the installed ones.
  std::vector<uint32_t> supportedCodePages;
  std::vector<uint32_t> installedCodePages;
  // Locales beyond the table that the system enumerates as supported (no information).
  std::vector<LCID> extraSupportedLocales;

  // --- Failure switches ---
  bool localeInfoFails = false;       // every GetLocaleInfo query fails
  std::set<LCTYPE> failingTypes;      // these information types fail for every locale
  bool setThreadLocaleFails = false;  // SetThreadLocale refuses (the thread locale stays)
  bool enumCodePagesFails = false;    // EnumSystemCodePages enumerates nothing
  bool enumLocalesFails = false;      // EnumSystemLocales enumerates nothing
  bool setLocaleInfoFails = false;    // SetLocaleInfo refuses every value

  // --- Observations ---
  int localeInfoQueries = 0;
  int setThreadLocaleCalls = 0;
  int codePageEnumerations = 0;
  int localeEnumerations = 0;
  int setLocaleInfoCalls = 0;

 private:
  LCID Resolve(LCID locale) const;
};

}  // namespace vsi::fake
