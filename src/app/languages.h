#pragma once
// The eight languages of the main window: what each flag button applies.
#include <array>
#include <string>

namespace vsi {

struct LanguageRow {
  const char* button;   // the flag button
  const char* state;    // English name, kept in Label1 and stored in the registry
  int index;            // the dictionary's language index
  const char* caption;  // the window caption (Windows-1252)
  std::array<const char*, 12> months;
  std::array<const char*, 7> days;  // Monday first
  const char* page;     // appended to the home page for the link target
  const char16_t* ownName;  // the language in its own words, for the window's menu
};

extern const std::array<LanguageRow, 8> kLanguages;

// The maker's home page.
inline constexpr char kHomePage[] = "http://www.velmora.com";

// The settings key and value under HKEY_CURRENT_USER.
inline constexpr char kSettingsKey[] = "Software\\Velmora\\Zeruzorazo1\\Settings";
inline constexpr char kLanguageValue[] = "Language1";

// The row of a language state; null when there is none.
const LanguageRow* LanguageByState(const std::string& state);

}  // namespace vsi
