#pragma once
// The dictionary of the main window: languages, custom locales and translations read from a
// binary dictionary file (toolbar1.mld), from the same stream stored as a resource of the
// executable, or from data stored with the form.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "i18n/dictionary.h"
#include "i18n/mld_file.h"
#include "platform/system.h"

namespace vsi {

struct DescValue;
class ILocale;

// --- Where the bytes come from -----------------------------------------------------------------

// Size and last write time of a file: a cached dictionary is used only while both still hold.
using TIvFileStamp = FileStamp;

// The largest dictionary file read: the shipped one is a few kilobytes, and a file far larger
// than any dictionary is refused before it is read.
inline constexpr uint64_t kMaxDictionaryFileSize = uint64_t(1) << 20;

class IIvDictionaryStore {
 public:
  virtual ~IIvDictionaryStore() = default;
  // False when the file cannot be seen.
  virtual bool Stamp(const WideString& path, TIvFileStamp& out) = 0;
  // The whole file, read at once; raises EMldError saying why (without the file's name) when
  // it cannot be read or holds more than `maxSize` bytes.
  virtual Bytes ReadFile(const WideString& path, uint64_t maxSize) = 0;
  // A resource of the executable; false when there is none.
  virtual bool LoadResource(const std::string& name, const std::string& type, Bytes& out) = 0;
};

// Files and resources through the platform: file paths through its wide-character calls.
class TIvDiskStore : public IIvDictionaryStore {
 public:
  explicit TIvDiskStore(ISystem& system) : system_(system) {}
  bool Stamp(const WideString& path, TIvFileStamp& out) override;
  Bytes ReadFile(const WideString& path, uint64_t maxSize) override;
  bool LoadResource(const std::string& name, const std::string& type, Bytes& out) override;

 private:
  ISystem& system_;
};

// Per context: the store binary dictionaries read from; the disk unless replaced (tests).
class TIvDictionaryStorage {
 public:
  explicit TIvDictionaryStorage(AppContext& context);
  IIvDictionaryStore& Store() { return store_ ? *store_ : disk_; }
  void SetStore(IIvDictionaryStore* store) { store_ = store; }
  TIvDiskStore& Disk() { return disk_; }

 private:
  TIvDiskStore disk_;
  IIvDictionaryStore* store_ = nullptr;
};

// Windows path helpers over the platform's directories.
// `name` made absolute against `currentDirectory`, with "." and ".." folded.
std::string ExpandFileName(const std::string& name, const std::string& currentDirectory);
WideString ExpandFileName(const WideString& name, const WideString& currentDirectory);
// The directory part with its trailing separator ("C:\\Dir\\"), or empty.
std::string ExtractFilePath(const std::string& path);
WideString ExtractFilePath(const WideString& path);

// --- From records to the dictionary's objects ----------------------------------------------

// A language or custom locale record as the dictionary's object: a fresh object with the
// record's fields (so fields the record lacks keep their defaults), completed from the
// system's locale data. A sublanguage list that is not numbers raises EConvertError.
void ConvertLanguageRecord(const MldLanguage& in, ILocale& locale, TIvLanguage& out);
void ConvertLocaleRecord(const MldLocale& in, ILocale& locale, TIvLocale& out);

// Everything a dictionary file holds, read and converted as the dictionary will use it. Every
// fault, the reader's or the conversion's, raises EMldError with the place where reading
// stopped: once this has passed, no query of the file fails.
void CheckWholeDictionary(const MldFile& file, ILocale& locale);

// --- Components --------------------------------------------------------------------------------

enum TIvStorage : uint8_t { ivsFile, ivsEmbedded, ivsResource };
extern const EnumInfo kIvStorageNames;

class TIvCustomFileDictionary : public TIvCustomDictionary {
  VSI_CLASS(TIvCustomFileDictionary)
  explicit TIvCustomFileDictionary(TComponent* owner);

  // Reading resolves the name (beside the executable, then the current directory) and keeps
  // the resolved name; while designing, and with the other storages, it is returned as stored.
  AnsiString FileName() const;
  AnsiString StoredFileName() const { return fileName_; }
  void SetFileName(const AnsiString& name);
  TIvStorage Storage() const { return storage_; }
  void SetStorage(TIvStorage storage) { storage_ = storage; }

  // File storage: the resolved file exists. Other storages: always.
  bool CanOpen() override;

 protected:
  bool ResolvedFileExists() const { return !ResolvedPath().empty(); }
  // The full path of the file that FileName resolves to, through the wide calls (so a folder
  // whose name the ANSI code page lacks is found); empty when there is no such file.
  WideString ResolvedPath() const;

 private:
  WideString FindFile(const WideString& name) const;

  mutable AnsiString fileName_;  // reading the name stores the resolved one back
  mutable WideString wideName_;  // the same, whole (the ANSI one may have lost characters)
  TIvStorage storage_ = ivsFile;
};

class TIvBinaryDictionary : public TIvCustomFileDictionary {
  VSI_CLASS(TIvBinaryDictionary)
  explicit TIvBinaryDictionary(TComponent* owner);
  ~TIvBinaryDictionary() override;

  // A damaged file (whatever finds the damage: the size, the reader or the conversion) is
  // reported once when the form has been loaded; the dictionary then stays closed, as
  // without a file. A file replaced later by a damaged one is reported once too, and the
  // whole copy read before goes on serving.
  void Loaded() override;
  bool CanOpen() override;
  bool FileDamaged() const { return damaged_; }

  int LanguageCount() override;
  void GetLanguage(int index, TIvLanguage& language) override;
  int LocaleCount() override;
  void GetLocale(int index, TIvLocale& locale) override;
  int TranslationCount() override;
  void GetLanguages(std::vector<std::unique_ptr<TIvLanguage>>& list) override;
  void GetLocales(std::vector<std::unique_ptr<TIvLocale>>& list) override;
  void LoadTranslations() override;

  // Stored properties of the embedded storage (binary data as hexadecimal text, or a list of
  // byte values). Reading them only counts the records.
  void ReadLanguageData(const DescValue& value);
  void ReadTranslationData(const DescValue& value);
  void ReadLocaleData(const DescValue& value);
  // The older form of the same data, value lists of version 1 or 2 ("Languages",
  // "Translations", "Locales"), only ever read. The binary form wins where a form has both.
  void ReadLanguageList(const DescValue& value);
  void ReadTranslationList(const DescValue& value);
  void ReadLocaleList(const DescValue& value);
  // Some embedded data was found in the older list form.
  bool FoundOlderForm() const { return olderForm_; }
  void SetLanguageData(const Bytes& data);
  void SetTranslationData(const Bytes& data);
  void SetLocaleData(const Bytes& data);

  // How many times the stream was read from its source (the cache at work).
  int StreamLoads() const { return streamLoads_; }

 private:
  // The MLD stream of file or resource storage, read again when the file changed on disk.
  const MldFile& OpenStream();
  // The file read whole, at once, and checked whole; any fault raises EMldError with the
  // one message that names the file and where reading stopped.
  std::unique_ptr<MldFile> ReadWholeFile(IIvDictionaryStore& store, const WideString& path, const TIvFileStamp* stamp);
  // Tells the application (an error box); false when there is none to tell.
  bool Report(const std::exception& e);
  // Embedded storage is used (otherwise file or resource).
  bool UsesEmbedded();
  std::vector<MldLanguage> EmbeddedLanguages();
  std::vector<MldLocale> EmbeddedLocales();
  // A text of a stored list, UTF-8 in the description, in the code page its field needs.
  AnsiString ListText(uint32_t codePage, const std::string& utf8);
  void Convert(const MldLanguage& in, TIvLanguage& out);
  void Convert(const MldLocale& in, TIvLocale& out);
  AnsiString Ansi(const WideString& path) const;

  enum class StreamSource : uint8_t { None, File, Resource };
  std::unique_ptr<MldFile> stream_;
  StreamSource streamSource_ = StreamSource::None;
  WideString streamPath_;
  TIvFileStamp streamStamp_;
  // A replacement already refused: not read and not reported again while it stays as it is.
  WideString refusedPath_;
  TIvFileStamp refusedStamp_;
  int streamLoads_ = 0;
  bool damaged_ = false;

  Bytes languageData_, translationData_, localeData_;
  bool hasLanguageData_ = false, hasTranslationData_ = false, hasLocaleData_ = false;
  int embeddedLanguages_ = 0, embeddedTranslations_ = 0, embeddedLocales_ = 0;
  std::unique_ptr<DescValue> languageList_, translationList_, localeList_;
  bool olderForm_ = false;
};

}  // namespace vsi
