#pragma once
// The binary dictionary file (MLD): reading and writing MLD streams of every version, both
// byte orders and both text widths into plain structures, and the decoders of the dictionary
// data stored in a window description ("LanguageData", "TranslationData", "LocaleData").
//
// Nothing here knows about components: the dictionary turns these records into its language
// and locale objects (and runs their completion) itself.
//
// The reader never reads outside its stream: every length, count and offset is checked
// against the stream's size, and a damaged stream raises EMldError with a clear message.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/exceptions.h"
#include "platform/types.h"

namespace vsi {

class ILocale;

// A malformed MLD stream or embedded dictionary data.
class EMldError : public Exception {
 public:
  static constexpr size_t kNoOffset = static_cast<size_t>(-1);
  explicit EMldError(const std::string& message, size_t offset = kNoOffset, std::string reason = {})
      : Exception(message), offset_(offset), reason_(std::move(reason)) {}
  // Where in the stream the reader stopped (kNoOffset when the fault has no place).
  size_t Offset() const { return offset_; }
  // What is wrong, without the stream's name and the offset, for a message that gives those
  // itself: the message when it names neither.
  std::string Reason() const { return reason_.empty() ? std::string(what()) : reason_; }

 private:
  size_t offset_;
  std::string reason_;
};

// Fixed messages.
inline constexpr const char* kMldNotValid = "The stream is not a valid MLD stream";
inline constexpr const char* kMldInvalidLanguageOffset = "Invalid language offset";
inline constexpr const char* kMldInvalidTranslationOffset = "Invalid translation offset";
inline constexpr const char* kMldInvalidLocaleOffset = "Invalid locale offset";
inline constexpr const char* kMldNoCustomLocales = "No custom locales";

// Code-page conversions the reader (UTF-16 files) and the writer need. Empty functions use
// the built-in Windows-1252 tables, which is what the build tool and the tests run with; the
// program passes the platform's conversions (MakeMldCodec).
struct MldCodec {
  uint32_t systemCodePage = 1252;  // "system" fields are converted with this one
  std::function<AnsiString(uint32_t codePage, const WideString& text)> toAnsi;
  std::function<WideString(uint32_t codePage, const AnsiString& text)> toWide;

  AnsiString ToAnsi(uint32_t codePage, const WideString& text) const;
  WideString ToWide(uint32_t codePage, const AnsiString& text) const;
};
// A codec over the platform's MultiByteToWideChar / WideCharToMultiByte and GetACP.
MldCodec MakeMldCodec(ILocale& locale);

// UTF-8 texts of the dictionary's sources are taken whole or not at all: bad UTF-8 (see
// framework/text_encoding.h) raises EMldError "Malformed UTF-8 text at byte N".
WideString MldUtf8ToWide(std::string_view text);

// The 42-byte header, already normalised: in version 1 the 8-bit flag comes from offset 7
// and the reserved words at 30 and 32 are 0; integers are in host order.
struct MldHeader {
  uint8_t version = 3;
  bool bigEndian = false;
  bool ansi = true;     // 8-bit texts; false: UTF-16
  uint8_t layout = 0;   // 0 none, 1 both contexts, 2 context 2 only, 3 context 1 only
  uint16_t languageCount = 0;
  uint32_t languageOffset = 0;
  uint16_t translationCount = 0;
  uint32_t translationOffset = 0;
  uint16_t localeCount = 0;
  uint32_t localeOffset = 0;
  uint16_t reserved30 = 0;
  uint32_t reserved32 = 0;

  bool ContextMode() const { return layout != 0; }
  bool HasContext1() const { return layout == 1 || layout == 3; }
  bool HasContext2() const { return layout == 1 || layout == 2; }
};
inline constexpr size_t kMldHeaderSize = 42;

// One language record as stored. ISO codes are empty when their first character is NUL or
// their number (primary / default sublanguage) is 0; flags keep bits 0 and 1 only.
struct MldLanguage {
  int primary = 0;
  AnsiString isoLanguage;
  int defaultSubLanguage = 0;
  AnsiString isoCountry;
  AnsiString subLanguages;  // comma-separated decimal numbers, as stored
  AnsiString variants;      // comma-separated, as stored
  int charset = 0;          // stored from version 3 on; the dictionary derives its own
  int codePage = 0;
  uint8_t flags = 0;
  AnsiString englishName;
  AnsiString nativeName;    // in the record's code page
  AnsiString fontName;
  int fontSize = 0;
  bool operator==(const MldLanguage&) const = default;
};

// One custom locale record as stored. A separator is the text of its one-character field as
// converted (empty when there is none); the locale takes its first byte.
struct MldLocale {
  int primary = 0;
  AnsiString isoLanguage;
  int sub = 0;
  AnsiString isoCountry;
  int charset = 0;
  int codePage = 0;
  uint8_t flag = 0;
  AnsiString englishLanguageName, englishCountryName, nativeLanguageName, nativeCountryName;
  AnsiString abbreviatedLanguageName, countryName;
  int measurementSystem = 0;
  AnsiString currencySymbol;
  int currencyFormat = 0, negativeCurrencyFormat = 0, currencyDigits = 0;
  AnsiString thousandSeparator, decimalSeparator, dateSeparator;
  AnsiString shortDateFormat, longDateFormat;
  AnsiString timeSeparator;
  AnsiString amDesignator, pmDesignator;
  bool timeLeadingZero = false;
  int timeFormat = 0, timeMarkerPosition = 0, calendarType = 0, optionalCalendar = 0;
  int firstDayOfWeek = 0, firstWeekOfYear = 0;
  AnsiString shortMonthNames[12], longMonthNames[12];  // January first
  AnsiString shortDayNames[7], longDayNames[7];        // Monday first
  bool operator==(const MldLocale&) const = default;
};

// One translation record with every column: texts[k - 1] is language k's text (k = 1 .. n-1);
// an empty text means "no translation".
struct MldTranslation {
  AnsiString original;
  AnsiString context1;  // form class name (layouts 1 and 3)
  AnsiString context2;  // component name or resource identifier (layouts 1 and 2)
  std::vector<AnsiString> texts;
  bool operator==(const MldTranslation&) const = default;
};

// One kept entry of the selected language (what the dictionary's table holds).
struct MldEntry {
  uint8_t source = 0;  // 0: the selected language's text; 1: the fallback language's
  AnsiString original, context1, context2, translation;
};

// Everything an MLD stream holds, for the writer, the tool and the tests.
struct MldContent {
  uint8_t layout = 0;
  std::vector<MldLanguage> languages;
  std::vector<MldLocale> locales;
  std::vector<MldTranslation> translations;
  bool operator==(const MldContent&) const = default;
};

// An opened MLD stream: the bytes and the checked header. Every query walks the records
// again from its section's offset (no index is kept); reaching one language's translations
// costs one pass over the translation section with the unused columns skipped, not converted.
class MldFile {
 public:
  // Checks the signature and the header's offsets and counts against the stream's size.
  // `name` (a file name, or a resource or property name) is named in read errors.
  MldFile(Bytes data, std::string name, MldCodec codec = {});
  // Reads the whole file; a file that cannot be opened or read raises EMldError naming it.
  static MldFile Load(const std::string& path, MldCodec codec = {});
  static Bytes ReadFileBytes(const std::string& path);

  const MldHeader& Header() const { return header_; }
  const std::string& Name() const { return name_; }
  const Bytes& Data() const { return data_; }
  const MldCodec& Codec() const { return codec_; }
  int LanguageCount() const { return header_.languageCount; }
  int TranslationCount() const { return header_.translationCount; }
  int LocaleCount() const { return header_.localeCount; }
  bool ContextMode() const { return header_.ContextMode(); }

  // Language i (records 0 .. i are read); ERangeError when i is not below the count.
  MldLanguage Language(int index) const;
  std::vector<MldLanguage> Languages() const;
  // Locale i; "No custom locales" when there are none, ERangeError beyond the count.
  MldLocale Locale(int index) const;
  // All custom locales; empty when the count is 0.
  std::vector<MldLocale> Locales() const;
  // Every translation record with every column, each column converted with its own
  // language's code page (UTF-16 files).
  std::vector<MldTranslation> Translations() const;

  // The table of the selected language: for each record, language `selected`'s column when
  // not empty (source 0), else language `fallback`'s when not empty (source 1), else dropped.
  // Language 0 has no column. UTF-16 columns are converted with `codePage`. Unsorted.
  void LoadTranslations(int selected, int fallback, uint32_t codePage, std::vector<MldEntry>& out) const;

  // Everything (languages, locales, translations).
  MldContent ReadAll() const;

 private:
  Bytes data_;
  std::string name_;
  MldCodec codec_;
  MldHeader header_;
};

// Sequential reading over an MldFile, one record at a time.
class MldCursor {
 public:
  explicit MldCursor(const MldFile& file);
  // Positions at the first record of a section; raise the invalid-offset messages (and
  // "No custom locales" for an empty locale section).
  void SeekLanguages();
  void SeekTranslations();
  void SeekLocales();
  MldLanguage NextLanguage();
  MldLocale NextLocale();
  MldTranslation NextTranslation();
  // Reads the next translation record keeping only columns `selected` and `fallback`
  // (converted with `codePage`); returns false when both are empty.
  bool NextEntry(int selected, int fallback, uint32_t codePage, MldEntry& out);
  size_t Position() const { return pos_; }
  // Code pages of the text columns of NextTranslation (column k-1 = language k); columns
  // without one use the system code page. Only UTF-16 streams need them.
  void SetColumnCodePages(std::vector<uint32_t> codePages) { columnCodePages_ = std::move(codePages); }

 private:
  const MldFile& file_;
  size_t pos_ = 0;
  std::vector<uint32_t> columnCodePages_;
};

struct MldWriteOptions {
  int version = 3;         // 1, 2 or 3
  bool bigEndian = false;
  bool utf16 = false;      // UTF-16 texts instead of 8-bit
};
// Writes an MLD stream. Texts are 8-bit in their field's code page (the system code page of
// the codec, or the record's own); with utf16 they are widened through the codec. Raises
// EMldError when a count, length or offset does not fit its field.
Bytes WriteMld(const MldContent& content, const MldWriteOptions& options, const MldCodec& codec = {});

// Embedded dictionary data (the binary properties stored with a form). Little-endian, 8-bit
// texts. Translation texts are "#"-encoded (see DecodeEmbeddedText). A version above 1 raises
// "Unknown language data version: N" (translation, locale alike); damaged data raises EMldError.
std::vector<MldLanguage> DecodeLanguageData(const Bytes& data);
struct MldTranslationData {
  uint8_t layout = 0;
  std::vector<MldTranslation> translations;
};
// `languageCount` gives the number of text columns (languageCount - 1 per entry).
MldTranslationData DecodeTranslationData(const Bytes& data, int languageCount);
std::vector<MldLocale> DecodeLocaleData(const Bytes& data);
Bytes EncodeLanguageData(const std::vector<MldLanguage>& languages);
Bytes EncodeTranslationData(uint8_t layout, const std::vector<MldTranslation>& translations);
Bytes EncodeLocaleData(const std::vector<MldLocale>& locales);

// "#C" -> CR, "#L" -> LF, "#T" -> tab, "##" -> "#"; any other "#x" stays as it is.
AnsiString DecodeEmbeddedText(std::string_view text);
AnsiString EncodeEmbeddedText(std::string_view text);

}  // namespace vsi
