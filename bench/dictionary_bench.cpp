// Dictionary speed: one text lookup, and one language switch (reload of the selected
// language's table from the dictionary file, locale switch, format settings, and the
// retranslation of a window by its translator).
#include <benchmark/benchmark.h>

#include <string>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "i18n/binary_dictionary.h"
#include "i18n/translator.h"
#include "unit/i18n/i18n_test_util.h"

namespace vsi {
namespace {

constexpr int kTexts = 400;  // more than the main window's dictionary holds

std::string Text(int i) { return "Caption text number " + std::to_string(i); }

MldContent BenchContent(uint8_t layout) {
  MldContent c;
  const int primaries[] = {9, 12, 7, 16, 10, 29, 22, 19};
  for (int p : primaries) {
    MldLanguage l;
    l.primary = p;
    l.defaultSubLanguage = p == 10 ? 3 : p == 22 ? 2 : 1;
    l.codePage = 1252;
    c.languages.push_back(l);
  }
  c.layout = layout;
  for (int i = 0; i < kTexts; ++i) {
    MldTranslation t;
    t.original = Text(i);
    if (layout) {
      t.context1 = "TForm";
      t.context2 = "Label" + std::to_string(i);
    }
    for (int k = 1; k < 8; ++k) t.texts.push_back("Language " + std::to_string(k) + " text " + std::to_string(i));
    c.translations.push_back(t);
  }
  return c;
}

struct Setup {
  explicit Setup(uint8_t layout = 0) {
    ctx.Service<TIvDictionaryStorage>().SetStore(&store);
    store.Put("C:\\Work\\toolbar1.mld", WriteMld(BenchContent(layout), {}, MakeMldCodec(fp.locale)));
    dict->SetFileName("toolbar1.mld");
    dict->SetLanguage(0);
    dict->Open();
    dict->SetLanguage(1);
  }
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  testing_i18n::MemoryStore store{fp.system};
  TComponent root{ctx};
  TIvBinaryDictionary* dict = new TIvBinaryDictionary(&root);
};

void BM_DictionaryLookup(benchmark::State& state) {
  Setup s;
  std::string text = Text(kTexts / 3);
  AnsiString out;
  for (auto _ : state) {
    benchmark::DoNotOptimize(s.dict->Translate(text, out));
  }
}
BENCHMARK(BM_DictionaryLookup);

void BM_DictionaryLookupWithPolicy(benchmark::State& state) {
  Setup s;
  std::string text = Text(kTexts / 2);
  for (auto _ : state) {
    benchmark::DoNotOptimize(TranslateText(s.dict, text));
  }
}
BENCHMARK(BM_DictionaryLookupWithPolicy);

void BM_DictionaryLookupAnyContext(benchmark::State& state) {
  Setup s(1);
  std::string text = Text(kTexts / 3);
  AnsiString out;
  for (auto _ : state) {
    benchmark::DoNotOptimize(s.dict->Translate(text, out));
  }
}
BENCHMARK(BM_DictionaryLookupAnyContext);

void BM_DictionaryLookupInContext(benchmark::State& state) {
  Setup s(1);
  std::string text = Text(kTexts / 3);
  std::string component = "Label" + std::to_string(kTexts / 3);
  AnsiString out;
  for (auto _ : state) {
    benchmark::DoNotOptimize(s.dict->TranslateInContext(text, "TForm", out, component));
  }
}
BENCHMARK(BM_DictionaryLookupInContext);

// Reload of the table, locale and format settings, without any translator.
void BM_LanguageSwitchDictionaryOnly(benchmark::State& state) {
  Setup s;
  int next = 2;
  for (auto _ : state) {
    s.dict->SetLanguage(next);
    next = next == 2 ? 1 : 2;
  }
}
BENCHMARK(BM_LanguageSwitchDictionaryOnly)->Unit(benchmark::kMicrosecond);

// The whole switch of a flag button: the dictionary and the translator of a window with 60
// captioned and hinted labels.
void BM_LanguageSwitchWithTranslator(benchmark::State& state) {
  Setup s;
  s.dict->SetLanguage(0);
  auto* form = new TForm(&s.root);
  for (int i = 0; i < 60; ++i) {
    auto* label = new TLabel(form);
    label->SetName("Label" + std::to_string(i));
    label->SetParent(form);
    label->SetCaption(Text(i));
    label->SetHint(Text(i + 100));
  }
  auto* tr = new TIvTranslator(form);
  tr->SetDictionary(s.dict);
  tr->Targets()->Add("", "Caption");
  tr->Targets()->Add("", "Hint");
  tr->Activate();
  int next = 1;
  for (auto _ : state) {
    s.dict->SetLanguage(next);
    next = next % 7 + 1;
  }
}
BENCHMARK(BM_LanguageSwitchWithTranslator)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vsi
