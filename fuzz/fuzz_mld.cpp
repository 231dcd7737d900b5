// Any bytes as a dictionary file, as embedded dictionary data and as a table: the readers must
// end with their content or one of their exceptions, never read outside the bytes, never
// allocate by a damaged count and never loop without end.
//
// Past the reader, the file goes through the dictionary's whole check, which converts its
// records into languages and locales (on the in-memory platform's locale data). The check may
// only fail with EMldError, the one failure the damaged-file guard catches: any other
// exception ends the run as a finding. A file the check passes must then answer every query
// the dictionary makes without failing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_locale.h"
#include "framework/exceptions.h"
#include "i18n/binary_dictionary.h"
#include "i18n/mld_file.h"
#include "i18n/mld_table.h"

namespace {

void CheckAndConvert(const vsi::Bytes& bytes, int fallback) {
  static vsi::fake::FakeLocale locale;
  std::unique_ptr<vsi::MldFile> file;
  try {
    file = std::make_unique<vsi::MldFile>(bytes, "fuzz.mld", vsi::MakeMldCodec(locale));
    vsi::CheckWholeDictionary(*file, locale);
  } catch (const vsi::EMldError&) {
    return;  // damaged: said in one box, and the dictionary stays closed
  }
  // Whole: what the dictionary asks of it now cannot fail. Reaching language i reads every
  // record before it, so a few languages show it.
  const int languages = std::min(file->LanguageCount(), 16);
  for (int i = 0; i < languages; ++i) {
    vsi::TIvLanguage language;
    vsi::ConvertLanguageRecord(file->Language(i), locale, language);
    std::vector<vsi::MldEntry> entries;
    file->LoadTranslations(i, fallback % file->LanguageCount(), static_cast<uint32_t>(language.CodePage()), entries);
  }
  for (const vsi::MldLocale& record : file->Locales()) {
    vsi::TIvLocale converted;
    vsi::ConvertLocaleRecord(record, locale, converted);
  }
}

}  // namespace

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
  CheckAndConvert(bytes, fallback);
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
