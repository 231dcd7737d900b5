#pragma once
// The locale database and text conversions of the system (kernel32, user32). Free of
// <windows.h>; the calls live in win32_locale.cpp.
#include "platform/locale.h"

namespace vsi {

class Win32Locale : public ILocale {
 public:
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
};

}  // namespace vsi
