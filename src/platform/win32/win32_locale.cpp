#include "platform/win32/win32_locale.h"

#include <cstdlib>

#include "platform/win32/win32_api.h"

namespace vsi {

namespace {

// The enumeration callbacks take no context argument: the list being filled is handed over
// through a per-thread pointer for the length of one call.
thread_local std::vector<uint32_t>* tCodePages = nullptr;
thread_local std::vector<LCID>* tLocales = nullptr;

BOOL CALLBACK CodePageProc(LPSTR text) {
  if (tCodePages && text) tCodePages->push_back(static_cast<uint32_t>(std::strtoul(text, nullptr, 10)));
  return TRUE;
}

BOOL CALLBACK LocaleProc(LPSTR text) {
  if (tLocales && text) tLocales->push_back(static_cast<LCID>(std::strtoul(text, nullptr, 16)));
  return TRUE;
}

}  // namespace

bool Win32Locale::GetLocaleInfo(LCID locale, LCTYPE type, std::string& out) {
  if (type == LOCALE_FONTSIGNATURE_) {
    // A binary structure: the wide call hands out its 32 bytes as 16 characters.
    WCHAR sig[16] = {};
    if (GetLocaleInfoW(locale, type, sig, 16) != 16) return false;
    out.assign(reinterpret_cast<const char*>(sig), sizeof sig);
    return true;
  }
  int n = GetLocaleInfoA(locale, type, nullptr, 0);
  if (n <= 0) return false;
  std::string buffer(static_cast<size_t>(n), '\0');
  n = GetLocaleInfoA(locale, type, buffer.data(), n);
  if (n <= 0) return false;
  buffer.resize(static_cast<size_t>(n - 1));  // without the terminating zero
  out = std::move(buffer);
  return true;
}

bool Win32Locale::SetLocaleInfo(LCID locale, LCTYPE type, const std::string& value) {
  return SetLocaleInfoA(locale, type, value.c_str()) != FALSE;
}

LCID Win32Locale::GetUserDefaultLCID() { return ::GetUserDefaultLCID(); }
LCID Win32Locale::GetSystemDefaultLCID() { return ::GetSystemDefaultLCID(); }
LCID Win32Locale::GetThreadLocale() { return ::GetThreadLocale(); }
bool Win32Locale::SetThreadLocale(LCID locale) { return ::SetThreadLocale(locale) != FALSE; }
uint32_t Win32Locale::GetACP() { return ::GetACP(); }
uint32_t Win32Locale::GetOEMCP() { return ::GetOEMCP(); }

std::vector<uint32_t> Win32Locale::EnumSystemCodePages(bool installedOnly) {
  std::vector<uint32_t> out;
  tCodePages = &out;
  EnumSystemCodePagesA(CodePageProc, installedOnly ? CP_INSTALLED : CP_SUPPORTED);
  tCodePages = nullptr;
  return out;
}

std::vector<LCID> Win32Locale::EnumSystemLocales(bool installedOnly) {
  std::vector<LCID> out;
  tLocales = &out;
  EnumSystemLocalesA(LocaleProc, installedOnly ? LCID_INSTALLED : LCID_SUPPORTED);
  tLocales = nullptr;
  return out;
}

bool Win32Locale::IsValidLocale(LCID locale) { return ::IsValidLocale(locale, LCID_SUPPORTED) != FALSE; }

WideString Win32Locale::MultiByteToWide(uint32_t codePage, const AnsiString& text) {
  if (text.empty()) return WideString();
  int size = static_cast<int>(text.size());
  int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (n <= 0) return WideString();
  std::wstring buffer(static_cast<size_t>(n), L'\0');
  n = MultiByteToWideChar(codePage, 0, text.data(), size, buffer.data(), n);
  if (n <= 0) return WideString();
  return WideString(buffer.begin(), buffer.begin() + n);
}

AnsiString Win32Locale::WideToMultiByte(uint32_t codePage, const WideString& text) {
  if (text.empty()) return AnsiString();
  std::wstring wide(text.begin(), text.end());
  int size = static_cast<int>(wide.size());
  int n = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return AnsiString();
  AnsiString buffer(static_cast<size_t>(n), '\0');
  n = WideCharToMultiByte(codePage, 0, wide.data(), size, buffer.data(), n, nullptr, nullptr);
  if (n <= 0) return AnsiString();
  buffer.resize(static_cast<size_t>(n));
  return buffer;
}

std::string Win32Locale::VerLanguageName(LANGID lang) {
  char buffer[256] = {};
  DWORD n = VerLanguageNameA(lang, buffer, sizeof buffer);
  return std::string(buffer, n < sizeof buffer ? n : sizeof buffer - 1);
}

AnsiString Win32Locale::OemToChar(const AnsiString& oem) {
  AnsiString out(oem.size(), '\0');
  if (!oem.empty()) OemToCharBuffA(oem.data(), out.data(), static_cast<DWORD>(oem.size()));
  return out;
}

AnsiString Win32Locale::CharLower(const AnsiString& text) {
  AnsiString out = text;
  if (!out.empty()) CharLowerBuffA(out.data(), static_cast<DWORD>(out.size()));
  return out;
}

AnsiString Win32Locale::CharUpper(const AnsiString& text) {
  AnsiString out = text;
  if (!out.empty()) CharUpperBuffA(out.data(), static_cast<DWORD>(out.size()));
  return out;
}

}  // namespace vsi
