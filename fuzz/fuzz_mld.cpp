// Any bytes as a dictionary file, as embedded dictionary data and as a table: the readers must
// end with their content or one of their exceptions, never read outside the bytes, never
// allocate by a damaged count and never loop without end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/exceptions.h"
#include "i18n/mld_file.h"
#include "i18n/mld_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A buffer of exactly `size` bytes, so that the sanitizer sees any overrun.
  const vsi::Bytes bytes(data, data + size);
  const int selected = size > 8 ? data[8] % 9 : 1;
  const int fallback = size > 9 ? data[9] % 9 : 0;
  try {
    vsi::MldFile f(bytes, "fuzz.mld");
    try {
      f.ReadAll();
    } catch (const vsi::Exception&) {
    }
    try {
      std::vector<vsi::MldEntry> entries;
      f.LoadTranslations(selected, fallback, 1252, entries);
    } catch (const vsi::Exception&) {
    }
    try {
      f.Language(selected);
    } catch (const vsi::Exception&) {
    }
    try {
      f.Locale(fallback);
    } catch (const vsi::Exception&) {
    }
    vsi::DumpMld(bytes, "fuzz.mld");
  } catch (const vsi::Exception&) {
  }
  try {
    vsi::DecodeLanguageData(bytes);
  } catch (const vsi::Exception&) {
  }
  try {
    vsi::DecodeTranslationData(bytes, selected);
  } catch (const vsi::Exception&) {
  }
  try {
    vsi::DecodeLocaleData(bytes);
  } catch (const vsi::Exception&) {
  }
  try {
    vsi::ParseMldTable(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const vsi::Exception&) {
  }
  return 0;
}
