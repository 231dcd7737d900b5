// Dictionary file speed: reading a large MLD stream and keeping one language, a lookup in the
// resulting table, and one full translation of a window like the main one.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>
#include <fstream>
#include <string>

#include "controls/ui_labels.h"
#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "i18n/binary_dictionary.h"
#include "i18n/mld_file.h"
#include "i18n/mld_table.h"
#include "i18n/translator.h"
#include "unit/i18n/i18n_test_util.h"

namespace vsi {
namespace {

constexpr int kEntries = 10000;
constexpr int kLanguages = 8;

std::string Original(int i) { return "Original text number " + std::to_string(i); }

MldContent LargeContent() {
  MldContent c;
  const int primaries[kLanguages] = {9, 12, 7, 16, 10, 29, 22, 19};
  for (int p : primaries) {
    MldLanguage l;
    l.primary = p;
    l.defaultSubLanguage = 1;
    l.codePage = 1252;
    l.englishName = "Language " + std::to_string(p);
    c.languages.push_back(l);
  }
  for (int i = 0; i < kEntries; ++i) {
    MldTranslation t;
    t.original = Original(i);
    for (int k = 1; k < kLanguages; ++k)
      t.texts.push_back("Translation " + std::to_string(k) + " of text number " + std::to_string(i));
    c.translations.push_back(std::move(t));
  }
  return c;
}

const Bytes& LargeFile(bool utf16) {
  static const Bytes ansi = WriteMld(LargeContent(), {3, false, false});
  static const Bytes wide = WriteMld(LargeContent(), {3, false, true});
  return utf16 ? wide : ansi;
}

// Open the stream (header checked) and keep one language's 10,000 translations.
void BM_MldLoadOneLanguage(benchmark::State& state) {
  const bool utf16 = state.range(0) != 0;
  std::vector<MldEntry> entries;
  for (auto _ : state) {
    MldFile f(LargeFile(utf16), "large.mld");
    entries.clear();
    f.LoadTranslations(3, 0, 1252, entries);
    benchmark::DoNotOptimize(entries.data());
  }
  state.counters["entries"] = static_cast<double>(entries.size());
}
BENCHMARK(BM_MldLoadOneLanguage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same from a file on disk: read, check, keep one language.
void BM_MldLoadOneLanguageFromFile(benchmark::State& state) {
  const std::string path = "/tmp/vsi_mld_bench_" + std::to_string(::getpid()) + ".mld";
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(LargeFile(false).data()), LargeFile(false).size());
  }
  std::vector<MldEntry> entries;
  for (auto _ : state) {
    MldFile f = MldFile::Load(path);
    entries.clear();
    f.LoadTranslations(5, 0, 1252, entries);
    benchmark::DoNotOptimize(entries.data());
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_MldLoadOneLanguageFromFile)->Unit(benchmark::kMillisecond);

// The dictionary over the large file: selecting a language, then one lookup.
struct LargeDictionary {
  LargeDictionary() {
    ctx.Service<TIvDictionaryStorage>().SetStore(&store);
    // As a resource of the executable: at 2.7 MB the stream is over the cap of a dictionary
    // file, and the lookup works on the same table either way.
    store.resources["MlDictionary/POLYVERBUM"] = LargeFile(false);
    dict->SetStorage(ivsResource);
    dict->SetFileName("toolbar1.mld");
    dict->SetLanguage(0);
    dict->Open();
    dict->SetLanguage(2);
  }
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  testing_i18n::MemoryStore store{fp.system};
  TComponent root{ctx};
  TIvBinaryDictionary* dict = new TIvBinaryDictionary(&root);
};

void BM_MldLookupIn10000(benchmark::State& state) {
  LargeDictionary d;
  const std::string text = Original(kEntries / 3);
  AnsiString out;
  for (auto _ : state) benchmark::DoNotOptimize(d.dict->Translate(text, out));
}
BENCHMARK(BM_MldLookupIn10000);

// One full translation of a window shaped like the main one (its labels, hints, Unicode
// slots, memo, flag buttons) with the shipped dictionary, French selected.
void BM_TranslateMainWindowLikeForm(benchmark::State& state) {
  std::string here = __FILE__;
  std::ifstream in(here.substr(0, here.rfind("bench/")) + "data/toolbar1.tsv", std::ios::binary);
  std::string table((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  testing_i18n::MemoryStore store{fp.system};
  ctx.Service<TIvDictionaryStorage>().SetStore(&store);
  store.Put("C:\\Work\\toolbar1.mld", BuildMldFromTable(table, {}));
  TComponent root{ctx};
  auto* dict = new TIvBinaryDictionary(&root);
  dict->SetFileName("toolbar1.mld");
  dict->SetLanguage(0);
  auto* form = new TForm(&root);
  form->SetCaption("  Velmora System Info 1.0");
  const char* captions[] = {"System Information", "Date - Time", "Hard Disks Information", "Network Information",
                            "Memory Used", "Video Resolution", "Processor", "Operating System", "Disk Size",
                            "Free Space", "Volume Label", "Serial number", "File System", "Computer Name",
                            "IP Address", "Subnet Mask", "Gateway", "User Name", "Network Card", "Velmora ",
                            "BitBtn1", "BitBtn2", " ", " ", " ", " "};
  for (const char* c : captions) {
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetCaption(c);
  }
  for (const char* hint : {"English", "French", "German", "Italian", "Dutch", "Portuguese", "Spanish", "Swedish"}) {
    auto* button = new TSpeedButton(form);
    button->SetParent(form);
    button->SetHint(hint);
  }
  for (int i = 0; i < 17; ++i) {
    auto* slot = new TWideLabel(form);
    slot->SetParent(form);
    slot->SetCaption(u" ");
  }
  auto* memo = new TMemo(form);
  memo->SetParent(form);
  memo->SetText("Windows IP Configuration\r\n\r\n   Host Name . . . . : VELMORA\r\n");
  auto* tr = new TIvTranslator(form);
  tr->SetDictionary(dict);
  tr->Targets()->Add("", "Hint");
  tr->Targets()->Add("", "Caption");
  tr->Targets()->Add("TMemo", "Text");
  tr->Activate();
  dict->SetLanguage(1);
  for (auto _ : state) tr->TranslateAll();
  state.counters["items"] = static_cast<double>(tr->Table().size());
}
BENCHMARK(BM_TranslateMainWindowLikeForm)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vsi
