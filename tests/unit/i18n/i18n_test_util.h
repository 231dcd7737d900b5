#pragma once
// Test helpers for the dictionary: an in-memory storage dictionary (languages, custom locales
// and translation rows held in plain vectors) and an in-memory file store.
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/description.h"
#include "framework/text_encoding.h"
#include "i18n/binary_dictionary.h"
#include "i18n/dictionary.h"
#include "i18n/language.h"
#include "i18n/mld_table.h"

namespace vsi::testing_i18n {

#ifdef VSI_SOURCE_DIR
// The shipped dictionary table, data/toolbar1.tsv (UTF-8). The unit tests' build names the
// source folder.
inline std::string ShippedTable() {
  std::ifstream in(std::string(VSI_SOURCE_DIR) + "/data/toolbar1.tsv", std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// toolbar1.mld as the build makes it from data/toolbar1.tsv.
inline Bytes ShippedDictionaryFile() { return BuildMldFromTable(ShippedTable(), {}); }
#endif

// A language as a reader would leave it, completed against the fake locale database.
inline TIvLanguage MakeLanguage(ILocale& locale, int primary, const char* subLanguages, int codePage,
                                const char* englishName = "") {
  TIvLanguage l;
  l.primary = primary;
  l.SetSubLanguagesText(subLanguages);
  l.SetCodePage(codePage);
  l.englishName = englishName;
  l.Complete(locale);
  return l;
}

// One translation row: texts[k - 1] is language k's text; empty = none.
struct Row {
  AnsiString original, context1, context2;
  std::vector<AnsiString> texts;
};

// A dictionary whose storage is a few vectors; counts the storage queries.
class MemoryDictionary : public TIvCustomDictionary {
 public:
  explicit MemoryDictionary(TComponent* owner) : TIvCustomDictionary(owner) {}

  std::vector<TIvLanguage> languages;
  std::vector<TIvLocale> locales;
  std::vector<Row> rows;
  bool contextMode = false;
  bool canOpen = true;
  int loads = 0;
  // Runs inside every Translate (to model a lookup that loads a string-table text).
  std::function<void()> duringTranslate;

  int LanguageCount() override { return static_cast<int>(languages.size()); }
  void GetLanguage(int index, TIvLanguage& language) override {
    if (index < 0 || index >= LanguageCount()) throw ERangeError(Format("Language index %d is out of range", index));
    language.Assign(languages[index]);
  }
  int LocaleCount() override { return static_cast<int>(locales.size()); }
  void GetLocale(int index, TIvLocale& locale) override { locale.Assign(locales.at(index)); }
  bool CanOpen() override { return canOpen; }
  bool Translate(const AnsiString& text, AnsiString& translation) override {
    if (duringTranslate) duringTranslate();
    return TIvCustomDictionary::Translate(text, translation);
  }
  void LoadTranslations() override {
    ++loads;
    SetContextMode(contextMode);
    Table().clear();
    int s = SelectedIndex(), f = FallbackIndex();
    auto column = [](const Row& r, int i) -> const AnsiString* {
      if (i < 1 || i > static_cast<int>(r.texts.size()) || r.texts[i - 1].empty()) return nullptr;
      return &r.texts[i - 1];
    };
    for (const Row& r : rows) {
      TIvTranslation t;
      t.original = r.original;
      t.context1 = r.context1;
      t.context2 = r.context2;
      if (const AnsiString* own = column(r, s)) {
        t.translation = *own;
      } else if (const AnsiString* other = column(r, f)) {
        t.source = 1;
        t.translation = *other;
      } else {
        continue;
      }
      ConvertNativeString(t);
      Table().push_back(t);
    }
    SortTranslations();
  }
};

// A translator stand-in that records what it is told.
class RecordingTranslator : public IIvTranslator {
 public:
  explicit RecordingTranslator(TIvDictionary* dictionary, bool unregisters = true)
      : dictionary_(dictionary), unregisters_(unregisters) {
    dictionary_->RegisterTranslator(this);
  }
  void LanguageChanged(bool languageChanged, bool localeChanged) override {
    changes.push_back({languageChanged, localeChanged});
  }
  ~RecordingTranslator() override {
    if (dictionary_) dictionary_->UnregisterTranslator(this);
  }
  void Deactivate() override {
    ++deactivations;
    if (unregisters_ && dictionary_) dictionary_->UnregisterTranslator(this);
    dictionary_ = nullptr;  // the dictionary forgets it either way
  }
  std::vector<std::pair<bool, bool>> changes;
  int deactivations = 0;

 private:
  TIvDictionary* dictionary_;
  bool unregisters_;
};

// Files (paths in UTF-8) and resources held in memory; a write bumps the file's stamp as the
// disk would.
class MemoryStore : public IIvDictionaryStore {
 public:
  explicit MemoryStore(fake::FakeSystem& system) : system_(system) {}
  void Put(const std::string& path, Bytes data) {
    auto& f = files_[path];
    f.data = std::move(data);
    ++f.version;
    system_.AddFile(path);
  }
  void Erase(const std::string& path) {
    files_.erase(path);
    system_.RemoveFile(path);
  }
  bool Stamp(const WideString& path, TIvFileStamp& out) override {
    auto it = files_.find(Utf16ToUtf8(path));
    if (it == files_.end()) return false;
    out = {it->second.data.size(), it->second.version};
    return true;
  }
  Bytes ReadFile(const WideString& path, uint64_t maxSize) override {
    ++reads;
    auto it = files_.find(Utf16ToUtf8(path));
    if (it == files_.end()) throw EMldError("The file cannot be read. The system cannot find the file specified");
    if (it->second.data.size() > maxSize) throw EMldError("The file is larger than 1 MiB");
    return it->second.data;
  }
  bool LoadResource(const std::string& name, const std::string& type, Bytes& out) override {
    auto it = resources.find(name + "/" + type);
    if (it == resources.end()) return false;
    out = it->second;
    return true;
  }
  std::map<std::string, Bytes> resources;
  int reads = 0;

 private:
  struct File {
    Bytes data;
    int64_t version = 0;
  };
  fake::FakeSystem& system_;
  std::map<std::string, File> files_;
};

// Values of a window description, for the stored list properties.
inline DescValue DescInt(int64_t n) {
  DescValue v;
  v.type = DescValue::Type::Integer;
  v.integer = n;
  return v;
}
inline DescValue DescStr(const char* s) {
  DescValue v;
  v.type = DescValue::Type::String;
  v.text = s;
  return v;
}
inline DescValue DescList(std::vector<DescValue> items) {
  DescValue v;
  v.type = DescValue::Type::List;
  v.items = std::move(items);
  return v;
}

}  // namespace vsi::testing_i18n
