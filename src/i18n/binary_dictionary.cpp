#include "i18n/binary_dictionary.h"

#include <cctype>

#include "framework/context.h"
#include "framework/description.h"
#include "framework/forms.h"
#include "i18n/mld_lists.h"
#include "platform/platform.h"

namespace vsi {

namespace {

constexpr const char* kResourceName = "MlDictionary";
constexpr const char* kResourceType = "POLYVERBUM";

template <class Char>
bool IsSeparator(Char c) {
  return c == '\\' || c == '/';
}

template <class S>
bool HasDirectoryPart(const S& name) {
  for (auto c : name)
    if (IsSeparator(c) || c == ':') return true;
  return false;
}

// One algorithm for ANSI and wide paths: only separators, ':' and '.' are looked at.
template <class S>
S ExpandPath(const S& name, const S& currentDirectory) {
  using Char = typename S::value_type;
  if (name.empty()) return name;
  // A POSIX path (tests and tools on the build machine) is taken as it is.
  if (name[0] == '/') return name;
  S full;
  if (name.size() >= 2 && name[1] == ':') {
    full = name;
  } else if (name.size() >= 2 && IsSeparator(name[0]) && IsSeparator(name[1])) {
    full = name;  // UNC
  } else if (IsSeparator(name[0])) {
    S drive = currentDirectory.size() >= 2 && currentDirectory[1] == ':' ? currentDirectory.substr(0, 2) : S();
    full = drive + name;
  } else {
    full = currentDirectory;
    if (!full.empty() && !IsSeparator(full.back())) full += Char('\\');
    full += name;
  }
  // Fold "." and ".." (never above the root).
  S prefix;
  size_t start = 0;
  if (full.size() >= 2 && full[1] == ':') {
    prefix = full.substr(0, 2);
    start = 2;
  } else if (full.size() >= 2 && IsSeparator(full[0]) && IsSeparator(full[1])) {
    prefix = S(2, Char('\\'));
    start = 2;
  }
  const S dot(1, Char('.')), dots(2, Char('.'));
  std::vector<S> parts;
  S piece;
  auto flush = [&] {
    if (piece == dots) {
      if (!parts.empty()) parts.pop_back();
    } else if (!piece.empty() && piece != dot) {
      parts.push_back(piece);
    }
    piece.clear();
  };
  for (size_t i = start; i < full.size(); ++i) {
    if (IsSeparator(full[i]))
      flush();
    else
      piece += full[i];
  }
  flush();
  const bool unc = prefix.size() == 2 && IsSeparator(prefix[0]);
  S out = prefix;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0 || !unc) out += Char('\\');
    out += parts[i];
  }
  if (parts.empty()) out += Char('\\');
  return out;
}

std::string TooLarge(uint64_t cap) {
  if (cap % (1u << 20) == 0) return Format("The file is larger than %llu MiB", static_cast<unsigned long long>(cap >> 20));
  return Format("The file is larger than %llu bytes", static_cast<unsigned long long>(cap));
}

template <class S>
S FolderOf(const S& path) {
  for (size_t i = path.size(); i-- > 0;)
    if (IsSeparator(path[i]) || path[i] == ':') return path.substr(0, i + 1);
  return S();
}

}  // namespace

// --- Stores ------------------------------------------------------------------------------------

bool TIvDiskStore::Stamp(const WideString& path, TIvFileStamp& out) { return system_.GetFileStamp(path, out); }

Bytes TIvDiskStore::ReadFile(const WideString& path, uint64_t maxSize) {
  Bytes data;
  const uint32_t error = system_.ReadWholeFile(path, maxSize, data);
  if (error == ERROR_FILE_TOO_LARGE_) throw EMldError(TooLarge(maxSize));
  if (error != 0) {
    std::string why = system_.SysErrorMessage(error);
    while (!why.empty() && static_cast<unsigned char>(why.back()) <= ' ') why.pop_back();
    throw EMldError("The file cannot be read" + (why.empty() ? Format(" (error %u)", error) : ". " + why));
  }
  return data;
}

bool TIvDiskStore::LoadResource(const std::string& name, const std::string& type, Bytes& out) {
  return system_.LoadModuleResource(name, type, out);
}

TIvDictionaryStorage::TIvDictionaryStorage(AppContext& context) : disk_(context.platform().system) {}

// --- Paths -------------------------------------------------------------------------------------

std::string ExpandFileName(const std::string& name, const std::string& currentDirectory) {
  return ExpandPath(name, currentDirectory);
}
WideString ExpandFileName(const WideString& name, const WideString& currentDirectory) {
  return ExpandPath(name, currentDirectory);
}
std::string ExtractFilePath(const std::string& path) { return FolderOf(path); }
WideString ExtractFilePath(const WideString& path) { return FolderOf(path); }

// --- From records to objects -------------------------------------------------------------------

void ConvertLanguageRecord(const MldLanguage& in, ILocale& locale, TIvLanguage& out) {
  TIvLanguage language;
  language.primary = in.primary;
  language.isoLanguage = in.isoLanguage;
  language.defaultSubLanguage = in.defaultSubLanguage;
  language.isoCountry = in.isoCountry;
  language.SetSubLanguagesText(in.subLanguages);
  language.SetVariantsText(in.variants);
  language.SetCodePage(in.codePage);
  language.flags = in.flags & 3;
  language.englishName = in.englishName;
  language.nativeName = in.nativeName;
  language.fontName = in.fontName;
  language.fontSize = in.fontSize;
  language.Complete(locale);
  out.Assign(language);
}

void ConvertLocaleRecord(const MldLocale& in, ILocale& locale, TIvLocale& out) {
  TIvLocale l;
  l.primary = in.primary;
  l.isoLanguage = in.isoLanguage;
  l.sub = in.sub;
  l.isoCountry = in.isoCountry;
  l.charset = static_cast<uint8_t>(in.charset & 0xFF);
  l.codePage = in.codePage;
  l.flag = in.flag;
  l.englishLanguageName = in.englishLanguageName;
  l.englishCountryName = in.englishCountryName;
  l.nativeLanguageName = in.nativeLanguageName;
  l.nativeCountryName = in.nativeCountryName;
  l.abbreviatedLanguageName = in.abbreviatedLanguageName;
  l.countryName = in.countryName;
  l.measurementSystem = static_cast<uint8_t>(in.measurementSystem);
  l.currencySymbol = in.currencySymbol;
  l.currencyFormat = static_cast<uint8_t>(in.currencyFormat);
  l.negativeCurrencyFormat = static_cast<uint8_t>(in.negativeCurrencyFormat);
  l.currencyDigits = static_cast<uint8_t>(in.currencyDigits);
  // The first byte of each converted separator, 0 when it converts to nothing.
  auto first = [](const AnsiString& s) { return s.empty() ? '\0' : s[0]; };
  l.thousandSeparator = first(in.thousandSeparator);
  l.decimalSeparator = first(in.decimalSeparator);
  l.dateSeparator = first(in.dateSeparator);
  l.shortDateFormat = in.shortDateFormat;
  l.longDateFormat = in.longDateFormat;
  l.listSeparator = 0;  // the record carries none
  l.timeSeparator = first(in.timeSeparator);
  l.amDesignator = in.amDesignator;
  l.pmDesignator = in.pmDesignator;
  l.timeLeadingZero = in.timeLeadingZero;
  l.timeFormat = static_cast<uint8_t>(in.timeFormat);
  l.timeMarkerPosition = static_cast<uint8_t>(in.timeMarkerPosition);
  l.calendarType = static_cast<uint8_t>(in.calendarType);
  l.optionalCalendar = static_cast<uint8_t>(in.optionalCalendar);
  l.firstDayOfWeek = static_cast<uint8_t>(in.firstDayOfWeek);
  l.firstWeekOfYear = static_cast<uint8_t>(in.firstWeekOfYear);
  for (int i = 0; i < 12; ++i) {
    l.shortMonthNames[i] = in.shortMonthNames[i];
    l.longMonthNames[i] = in.longMonthNames[i];
  }
  for (int i = 0; i < 7; ++i) {
    l.shortDayNames[i] = in.shortDayNames[i];
    l.longDayNames[i] = in.longDayNames[i];
  }
  l.Complete(locale);
  out.Assign(l);
}

void CheckWholeDictionary(const MldFile& file, ILocale& locale) {
  if (file.LanguageCount() == 0) throw EMldError("The file holds no languages", 12);
  // Each record is converted where it stands, so that a record the dictionary cannot use is
  // named by its place, as the reader names its own faults.
  MldCursor languages(file);
  languages.SeekLanguages();
  for (int i = 0; i < file.LanguageCount(); ++i) {
    const size_t at = languages.Position();
    const MldLanguage record = languages.NextLanguage();
    try {
      TIvLanguage language;
      ConvertLanguageRecord(record, locale, language);
    } catch (const std::exception& e) {
      throw EMldError(Format("Language %d cannot be used: %s", i, e.what()), at);
    }
  }
  if (file.LocaleCount() > 0) {
    MldCursor locales(file);
    locales.SeekLocales();
    for (int i = 0; i < file.LocaleCount(); ++i) {
      const size_t at = locales.Position();
      const MldLocale record = locales.NextLocale();
      try {
        TIvLocale converted;
        ConvertLocaleRecord(record, locale, converted);
      } catch (const std::exception& e) {
        throw EMldError(Format("Locale %d cannot be used: %s", i, e.what()), at);
      }
    }
  }
  file.Translations();
}

// --- TIvCustomFileDictionary ---------------------------------------------------------------

const EnumInfo kIvStorageNames{{"ivsFile", "ivsEmbedded", "ivsResource"}};

const ClassInfo& TIvCustomFileDictionary::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TIvCustomFileDictionary>("TIvCustomFileDictionary", &TIvCustomDictionary::StaticClass())
          .Text("FileName", &TIvCustomFileDictionary::FileName, &TIvCustomFileDictionary::SetFileName)
          .Enum("Storage", kIvStorageNames, &TIvCustomFileDictionary::Storage, &TIvCustomFileDictionary::SetStorage)
          .Build();
  return info;
}

TIvCustomFileDictionary::TIvCustomFileDictionary(TComponent* owner) : TIvCustomDictionary(owner) {}

void TIvCustomFileDictionary::SetFileName(const AnsiString& name) {
  fileName_ = name;
  wideName_.clear();  // made from the new name when next needed
}

// The name is looked for through the wide calls: the ANSI ones answer '?' for a character of
// the program's folder that the code page lacks, and such a path names no file.
WideString TIvCustomFileDictionary::FindFile(const WideString& name) const {
  ISystem& system = Plat().system;
  TIvFileStamp stamp;
  // The program's own folder first: a file of that name in whatever folder the program was
  // started from must not replace the one that ships beside it.
  if (!HasDirectoryPart(name)) {
    const WideString folder = ExtractFilePath(system.GetModuleFileNameWide());
    if (!folder.empty() && system.GetFileStamp(folder + name, stamp)) return folder + name;
  }
  const WideString expanded = ExpandFileName(name, system.GetCurrentDirectoryWide());
  return system.GetFileStamp(expanded, stamp) ? expanded : WideString();
}

AnsiString TIvCustomFileDictionary::FileName() const {
  if (storage_ != ivsFile || fileName_.empty()) return fileName_;
  if (wideName_.empty()) wideName_ = Plat().locale.MultiByteToWide(CP_ACP_, fileName_);
  const WideString found = FindFile(wideName_);
  if (!found.empty()) {
    wideName_ = found;
    fileName_ = Plat().locale.WideToMultiByte(CP_ACP_, found);
  }
  return fileName_;
}

WideString TIvCustomFileDictionary::ResolvedPath() const {
  if (fileName_.empty()) return {};
  ISystem& system = Plat().system;
  if (wideName_.empty()) wideName_ = Plat().locale.MultiByteToWide(CP_ACP_, fileName_);
  TIvFileStamp stamp;
  FileName();
  return system.GetFileStamp(wideName_, stamp) ? wideName_ : WideString();
}

bool TIvCustomFileDictionary::CanOpen() { return storage_ != ivsFile || ResolvedFileExists(); }

// --- TIvBinaryDictionary -------------------------------------------------------------------

const ClassInfo& TIvBinaryDictionary::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TIvBinaryDictionary>("TIvBinaryDictionary", &TIvCustomFileDictionary::StaticClass())
          .Creatable()
          .Data("LanguageData", &TIvBinaryDictionary::ReadLanguageData)
          .Data("TranslationData", &TIvBinaryDictionary::ReadTranslationData)
          .Data("LocaleData", &TIvBinaryDictionary::ReadLocaleData)
          .Data("Languages", &TIvBinaryDictionary::ReadLanguageList)
          .Data("Translations", &TIvBinaryDictionary::ReadTranslationList)
          .Data("Locales", &TIvBinaryDictionary::ReadLocaleList)
          .Build();
  return info;
}

TIvBinaryDictionary::TIvBinaryDictionary(TComponent* owner) : TIvCustomFileDictionary(owner) {}

TIvBinaryDictionary::~TIvBinaryDictionary() = default;

void TIvBinaryDictionary::Loaded() {
  TIvCustomFileDictionary::Loaded();
  if (Storage() != ivsFile || !ResolvedFileExists()) return;
  // A damaged file must not stop the program: it is said once, and the window keeps its own
  // texts, as when there is no file.
  try {
    OpenStream();
  } catch (const EMldError& e) {
    damaged_ = true;
    stream_.reset();
    streamSource_ = StreamSource::None;
    Report(e);
  }
}

bool TIvBinaryDictionary::Report(const std::exception& e) {
  TApplication* app = ApplicationOf(*this);
  if (!app) return false;
  app->HandleException(e);
  return true;
}

bool TIvBinaryDictionary::CanOpen() { return !damaged_ && TIvCustomFileDictionary::CanOpen(); }

AnsiString TIvBinaryDictionary::Ansi(const WideString& path) const {
  return Plat().locale.WideToMultiByte(CP_ACP_, path);
}

std::unique_ptr<MldFile> TIvBinaryDictionary::ReadWholeFile(IIvDictionaryStore& store, const WideString& path,
                                                            const TIvFileStamp* stamp) {
  const AnsiString name = Ansi(path);
  try {
    // A file far larger than any dictionary is not read at all.
    if (stamp && stamp->size > kMaxDictionaryFileSize) throw EMldError(TooLarge(kMaxDictionaryFileSize));
    // Read at once and parsed from memory: whatever happens to the file meanwhile, what is
    // checked and used is one whole file.
    auto file = std::make_unique<MldFile>(store.ReadFile(path, kMaxDictionaryFileSize), name,
                                          MakeMldCodec(Plat().locale));
    CheckWholeDictionary(*file, Plat().locale);
    return file;
  } catch (const EMldError& e) {
    // One text: the file and where reading stopped, each once, then what is wrong.
    const std::string where =
        e.Offset() == EMldError::kNoOffset ? "" : Format(", reading stopped at offset %zu", e.Offset());
    throw EMldError(Format("Damaged dictionary file \"%s\"%s: %s", name.c_str(), where.c_str(), e.Reason().c_str()),
                    e.Offset());
  }
}

const MldFile& TIvBinaryDictionary::OpenStream() {
  if (StoredFileName().empty()) throw Exception("No FileName property set");
  IIvDictionaryStore& store = Context().Service<TIvDictionaryStorage>().Store();
  if (Storage() == ivsFile) {
    WideString path = ResolvedPath();
    if (path.empty()) path = Plat().locale.MultiByteToWide(CP_ACP_, FileName());
    TIvFileStamp stamp;
    const bool seen = store.Stamp(path, stamp);
    // The copy in memory stands for the file only while the file is still the one read.
    const bool current = seen && streamSource_ == StreamSource::File && streamPath_ == path && streamStamp_ == stamp;
    const bool refused = seen && stream_ && refusedPath_ == path && refusedStamp_ == stamp;
    if (!current && !refused) {
      try {
        std::unique_ptr<MldFile> file = ReadWholeFile(store, path, seen ? &stamp : nullptr);
        stream_ = std::move(file);
        ++streamLoads_;
        // A file that could not be stamped is read again by the next query.
        streamSource_ = seen ? StreamSource::File : StreamSource::None;
        streamPath_ = path;
        streamStamp_ = stamp;
      } catch (const EMldError& e) {
        // A damaged replacement of the file in use: said once, and the whole copy read
        // before goes on serving. Without such a copy (or a file that is gone) it fails.
        if (!seen || !stream_ || streamSource_ != StreamSource::File) {
          stream_.reset();
          streamSource_ = StreamSource::None;
          throw;
        }
        refusedPath_ = path;
        refusedStamp_ = stamp;
        if (!Report(e)) throw;
      }
    }
  } else if (streamSource_ != StreamSource::Resource) {
    stream_.reset();
    streamSource_ = StreamSource::None;
    Bytes data;
    if (!store.LoadResource(kResourceName, kResourceType, data))
      throw EMldError(Format("Resource %s not found", kResourceName));
    stream_ = std::make_unique<MldFile>(std::move(data), kResourceName, MakeMldCodec(Plat().locale));
    ++streamLoads_;
    streamSource_ = StreamSource::Resource;
  }
  SetContextMode(stream_->ContextMode());
  return *stream_;
}

bool TIvBinaryDictionary::UsesEmbedded() {
  return Storage() == ivsEmbedded;
}

void TIvBinaryDictionary::Convert(const MldLanguage& in, TIvLanguage& out) {
  ConvertLanguageRecord(in, Plat().locale, out);
}

void TIvBinaryDictionary::Convert(const MldLocale& in, TIvLocale& out) { ConvertLocaleRecord(in, Plat().locale, out); }

// --- Embedded data -------------------------------------------------------------------------

namespace {

Bytes BytesOf(const DescValue& value) {
  Bytes out;
  if (value.type == DescValue::Type::String) {
    // Hexadecimal digits; blanks and line breaks between them are ignored.
    int high = -1;
    for (char c : value.text) {
      if (std::isspace(static_cast<unsigned char>(c))) continue;
      int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                  : (c >= 'a' && c <= 'f')                     ? c - 'a' + 10
                  : (c >= 'A' && c <= 'F')                     ? c - 'A' + 10
                                                               : -1;
      if (digit < 0) throw EMldError("Invalid property type!");
      if (high < 0) {
        high = digit;
      } else {
        out.push_back(static_cast<uint8_t>(high << 4 | digit));
        high = -1;
      }
    }
    if (high >= 0) throw EMldError("Invalid property type!");
    return out;
  }
  if (value.type == DescValue::Type::List) {
    for (const DescValue& item : value.items) {
      if (item.type != DescValue::Type::Integer || item.integer < 0 || item.integer > 255)
        throw EMldError("Invalid property type!");
      out.push_back(static_cast<uint8_t>(item.integer));
    }
    return out;
  }
  throw EMldError("Invalid property type!");
}

uint32_t Le(const Bytes& d, size_t offset, int width) {
  if (d.size() < offset + width) throw EMldError("Dictionary data is truncated");
  uint32_t v = 0;
  for (int i = 0; i < width; ++i) v |= static_cast<uint32_t>(d[offset + i]) << (8 * i);
  return v;
}

void CheckVersion(const Bytes& d, const char* what) {
  uint32_t version = Le(d, 0, 2);
  if (version > 1) throw EMldError(Format("Unknown %s data version: %u", what, version));
}

}  // namespace

void TIvBinaryDictionary::SetLanguageData(const Bytes& data) {
  CheckVersion(data, "language");
  embeddedLanguages_ = static_cast<int>(Le(data, 2, 2));
  languageData_ = data;
  hasLanguageData_ = true;
}

void TIvBinaryDictionary::SetTranslationData(const Bytes& data) {
  CheckVersion(data, "translation");
  SetContextMode(Le(data, 2, 2) != 0);
  embeddedTranslations_ = static_cast<int>(Le(data, 4, 4));
  translationData_ = data;
  hasTranslationData_ = true;
}

void TIvBinaryDictionary::SetLocaleData(const Bytes& data) {
  CheckVersion(data, "locale");
  embeddedLocales_ = static_cast<int>(Le(data, 2, 2));
  localeData_ = data;
  hasLocaleData_ = true;
}

void TIvBinaryDictionary::ReadLanguageData(const DescValue& value) { SetLanguageData(BytesOf(value)); }
void TIvBinaryDictionary::ReadTranslationData(const DescValue& value) { SetTranslationData(BytesOf(value)); }
void TIvBinaryDictionary::ReadLocaleData(const DescValue& value) { SetLocaleData(BytesOf(value)); }

// Reading a list only checks it and counts its records; the queries decode it again.
void TIvBinaryDictionary::ReadLanguageList(const DescValue& value) {
  embeddedLanguages_ = static_cast<int>(ReadListHead(value, "language").count);
  languageList_ = std::make_unique<DescValue>(value);
  olderForm_ = true;
}

void TIvBinaryDictionary::ReadTranslationList(const DescValue& value) {
  MldListHead head = ReadListHead(value, "translation");
  SetContextMode(head.layout != 0);
  embeddedTranslations_ = static_cast<int>(head.count);
  translationList_ = std::make_unique<DescValue>(value);
  olderForm_ = true;
}

void TIvBinaryDictionary::ReadLocaleList(const DescValue& value) {
  embeddedLocales_ = static_cast<int>(ReadListHead(value, "locale").count);
  localeList_ = std::make_unique<DescValue>(value);
  olderForm_ = true;
}

AnsiString TIvBinaryDictionary::ListText(uint32_t codePage, const std::string& utf8) {
  MldCodec codec = MakeMldCodec(Plat().locale);
  return codec.ToAnsi(codePage ? codePage : codec.systemCodePage, MldUtf8ToWide(utf8));
}

std::vector<MldLanguage> TIvBinaryDictionary::EmbeddedLanguages() {
  if (hasLanguageData_) return DecodeLanguageData(languageData_);
  if (languageList_)
    return DecodeLanguageList(*languageList_, [this](uint32_t cp, const std::string& t) { return ListText(cp, t); });
  throw EMldError("Could not find the property");
}

std::vector<MldLocale> TIvBinaryDictionary::EmbeddedLocales() {
  if (hasLocaleData_) return DecodeLocaleData(localeData_);
  if (localeList_)
    return DecodeLocaleList(*localeList_, [this](uint32_t cp, const std::string& t) { return ListText(cp, t); });
  throw EMldError("Could not find the property");
}

// --- Storage queries -----------------------------------------------------------------------

int TIvBinaryDictionary::LanguageCount() {
  return UsesEmbedded() ? embeddedLanguages_ : OpenStream().LanguageCount();
}

int TIvBinaryDictionary::LocaleCount() { return UsesEmbedded() ? embeddedLocales_ : OpenStream().LocaleCount(); }

int TIvBinaryDictionary::TranslationCount() {
  return UsesEmbedded() ? embeddedTranslations_ : OpenStream().TranslationCount();
}

void TIvBinaryDictionary::GetLanguage(int index, TIvLanguage& language) {
  if (!UsesEmbedded()) {
    Convert(OpenStream().Language(index), language);
    return;
  }
  std::vector<MldLanguage> all = EmbeddedLanguages();
  if (index < 0 || index >= static_cast<int>(all.size()))
    throw ERangeError(Format("Language index %d is out of range", index));
  Convert(all[index], language);
}

void TIvBinaryDictionary::GetLanguages(std::vector<std::unique_ptr<TIvLanguage>>& list) {
  std::vector<MldLanguage> all = UsesEmbedded() ? EmbeddedLanguages() : OpenStream().Languages();
  for (const MldLanguage& record : all) {
    auto language = std::make_unique<TIvLanguage>();
    Convert(record, *language);
    list.push_back(std::move(language));
  }
}

void TIvBinaryDictionary::GetLocale(int index, TIvLocale& locale) {
  if (!UsesEmbedded()) {
    Convert(OpenStream().Locale(index), locale);
    return;
  }
  try {
    std::vector<MldLocale> all = EmbeddedLocales();
    if (index < 0 || index >= static_cast<int>(all.size()))
      throw ERangeError(Format("Locale index %d is out of range", index));
    Convert(all[index], locale);
  } catch (const std::exception&) {
    throw EIvMulti("No dictionary data! Set the FileName property.");
  }
}

void TIvBinaryDictionary::GetLocales(std::vector<std::unique_ptr<TIvLocale>>& list) {
  std::vector<MldLocale> all;
  if (UsesEmbedded()) {
    if (embeddedLocales_ == 0) return;
    all = EmbeddedLocales();
  } else {
    const MldFile& stream = OpenStream();
    if (stream.LocaleCount() == 0) return;
    all = stream.Locales();
  }
  for (const MldLocale& record : all) {
    auto locale = std::make_unique<TIvLocale>();
    Convert(record, *locale);
    list.push_back(std::move(locale));
  }
}

void TIvBinaryDictionary::LoadTranslations() {
  auto& table = Table();
  table.clear();
  int selected = SelectedIndex();
  int fallback = FallbackIndex();
  auto codePage = static_cast<uint32_t>(CurrentLanguage().CodePage());
  std::vector<MldEntry> entries;
  if (UsesEmbedded()) {
    MldTranslationData data;
    if (hasTranslationData_)
      data = DecodeTranslationData(translationData_, LanguageCount());
    else if (translationList_)
      data = DecodeTranslationList(
          *translationList_, LanguageCount(), [this](uint32_t cp, const std::string& t) { return ListText(cp, t); },
          codePage);
    else
      throw EMldError("Could not find the property");
    SetContextMode(data.layout != 0);
    for (MldTranslation& record : data.translations) {
      auto column = [&](int index) -> const AnsiString* {
        if (index < 1 || index > static_cast<int>(record.texts.size())) return nullptr;
        const AnsiString& text = record.texts[index - 1];
        return text.empty() ? nullptr : &text;
      };
      MldEntry entry;
      if (const AnsiString* own = column(selected)) {
        entry.source = 0;
        entry.translation = *own;
      } else if (const AnsiString* other = column(fallback)) {
        entry.source = 1;
        entry.translation = *other;
      } else {
        continue;
      }
      entry.original = std::move(record.original);
      entry.context1 = std::move(record.context1);
      entry.context2 = std::move(record.context2);
      entries.push_back(std::move(entry));
    }
  } else {
    OpenStream().LoadTranslations(selected, fallback, codePage, entries);
  }
  table.reserve(entries.size());
  for (MldEntry& e : entries) {
    TIvTranslation t;
    t.source = e.source;
    t.original = std::move(e.original);
    t.context1 = std::move(e.context1);
    t.context2 = std::move(e.context2);
    t.translation = std::move(e.translation);
    ConvertNativeString(t);
    table.push_back(std::move(t));
  }
  SortTranslations();
}

}  // namespace vsi
