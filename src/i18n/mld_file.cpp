#include "i18n/mld_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "framework/code_pages.h"
#include "framework/text_encoding.h"
#include "platform/locale.h"

namespace vsi {

// ---------------------------------------------------------------------------------------------
// Text conversions

WideString MldUtf8ToWide(std::string_view text) {
  WideString out;
  const size_t bad = DecodeUtf8(text, BadText::Reject, out);
  if (bad != std::string_view::npos) throw EMldError(Format("Malformed UTF-8 text at byte %zu", bad));
  return out;
}

AnsiString MldCodec::ToAnsi(uint32_t codePage, const WideString& text) const {
  if (text.empty()) return {};
  return toAnsi ? toAnsi(codePage, text) : Utf16ToCp1252(text);
}

WideString MldCodec::ToWide(uint32_t codePage, const AnsiString& text) const {
  if (text.empty()) return {};
  return toWide ? toWide(codePage, text) : Cp1252ToUtf16(text);
}

MldCodec MakeMldCodec(ILocale& locale) {
  MldCodec codec;
  codec.systemCodePage = locale.GetACP();
  codec.toAnsi = [&locale](uint32_t cp, const WideString& text) { return locale.WideToMultiByte(cp, text); };
  codec.toWide = [&locale](uint32_t cp, const AnsiString& text) { return locale.MultiByteToWide(cp, text); };
  return codec;
}

// ---------------------------------------------------------------------------------------------
// Bounded reading

namespace {

// Reads integers and texts from a byte range; any read past its end raises a read error that
// names the stream and the offset.
class ByteReader {
 public:
  ByteReader(const Bytes& data, const std::string& name, bool bigEndian, bool ansi, const MldCodec* codec)
      : data_(data), name_(name), bigEndian_(bigEndian), ansi_(ansi), codec_(codec) {}

  size_t pos = 0;

  [[noreturn]] void Fail() const {
    throw EMldError(Format("Stream read error in \"%s\" at offset %zu", name_.c_str(), pos), pos,
                    "The data runs past the end of the file");
  }
  void Need(size_t n) const {
    if (pos > data_.size() || n > data_.size() - pos) Fail();
  }
  void Skip(size_t n) {
    Need(n);
    pos += n;
  }
  uint8_t U8() { return static_cast<uint8_t>(Take(1)); }
  uint16_t U16() { return static_cast<uint16_t>(Take(2)); }
  uint32_t U32() { return Take(4); }
  // k characters without a length.
  AnsiString Code(size_t k, uint32_t codePage) { return Chars(k, codePage); }
  // A 16-bit length and that many characters.
  AnsiString Str(uint32_t codePage) { return Chars(U16(), codePage); }
  void SkipStr() {
    size_t n = U16();
    Skip(ansi_ ? n : 2 * n);
  }

 private:
  // The one place that knows the byte order: `bytes` bytes at `at`, already checked.
  uint32_t Load(size_t at, int bytes) const {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint32_t(data_[at + i]) << (8 * (bigEndian_ ? bytes - 1 - i : i));
    return v;
  }
  uint32_t Take(int bytes) {
    Need(bytes);
    const uint32_t v = Load(pos, bytes);
    pos += bytes;
    return v;
  }

  AnsiString Chars(size_t n, uint32_t codePage) {
    if (ansi_) {
      Need(n);
      AnsiString s(reinterpret_cast<const char*>(&data_[pos]), n);
      pos += n;
      return s;
    }
    Need(2 * n);
    // Every ANSI code page has ASCII below 0x80: such texts need no conversion.
    AnsiString ascii(n, '\0');
    size_t i = 0;
    for (; i < n; ++i) {
      const auto c = static_cast<char16_t>(Load(pos + 2 * i, 2));
      if (c == 0 || c >= 0x80) break;
      ascii[i] = static_cast<char>(c);
    }
    if (i == n) {
      pos += 2 * n;
      return ascii;
    }
    WideString w;
    w.reserve(n);
    for (i = 0; i < n; ++i) {
      const auto c = static_cast<char16_t>(Load(pos + 2 * i, 2));
      if (c == 0) break;
      w.push_back(c);
    }
    pos += 2 * n;
    return codec_->ToAnsi(codePage, w);
  }

  const Bytes& data_;
  const std::string& name_;
  bool bigEndian_;
  bool ansi_;
  const MldCodec* codec_;
};

// A fixed-width code field: nothing from its first NUL on.
AnsiString CodeField(AnsiString s) {
  size_t nul = s.find('\0');
  if (nul != AnsiString::npos) s.resize(nul);
  return s;
}

// A separator byte of the embedded data as the text of a one-character field.
AnsiString SeparatorText(uint8_t b) { return b ? AnsiString(1, static_cast<char>(b)) : AnsiString(); }
// The byte the embedded data keeps for a separator; it has room for one.
uint8_t SeparatorByte(const AnsiString& s) {
  if (s.size() > 1) throw EMldError(Format("The separator \"%s\" is more than one byte", s.c_str()));
  return s.empty() ? 0 : static_cast<uint8_t>(s[0]);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// MldFile

MldFile::MldFile(Bytes data, std::string name, MldCodec codec)
    : data_(std::move(data)), name_(std::move(name)), codec_(std::move(codec)) {
  if (data_.size() < 3 || std::memcmp(data_.data(), "MLD", 3) != 0) throw EMldError(kMldNotValid, 0);
  ByteReader r(data_, name_, false, true, &codec_);
  r.Need(kMldHeaderSize);
  MldHeader& h = header_;
  h.version = data_[3];
  h.bigEndian = data_[4] == 0;
  h.ansi = (h.version == 1 ? data_[7] : data_[5]) != 0;
  h.layout = data_[6];
  ByteReader n(data_, name_, h.bigEndian, true, &codec_);
  n.pos = 12;
  h.languageCount = n.U16();
  h.languageOffset = n.U32();
  h.translationCount = n.U16();
  h.translationOffset = n.U32();
  h.localeCount = n.U16();
  h.localeOffset = n.U32();
  h.reserved30 = n.U16();
  h.reserved32 = n.U32();
  if (h.version == 1) {
    h.reserved30 = 0;
    h.reserved32 = 0;
  }
}

Bytes MldFile::ReadFileBytes(const std::string& path) {
  // Plain stdio: a file stream would bring the whole iostream machinery into the program.
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) throw EMldError(Format("Cannot open file \"%s\". %s", path.c_str(), std::strerror(errno)));
  struct Closer {
    std::FILE* f;
    ~Closer() { std::fclose(f); }
  } closer{in};
  // Read to the end rather than trust a size asked beforehand: the file may change meanwhile.
  Bytes data;
  uint8_t chunk[64 * 1024];
  for (;;) {
    const size_t n = std::fread(chunk, 1, sizeof chunk, in);
    data.insert(data.end(), chunk, chunk + n);
    if (n < sizeof chunk) break;
  }
  if (std::ferror(in)) throw EMldError(Format("Stream read error in \"%s\"", path.c_str()));
  return data;
}

MldFile MldFile::Load(const std::string& path, MldCodec codec) {
  return MldFile(ReadFileBytes(path), path, std::move(codec));
}

MldLanguage MldFile::Language(int index) const {
  if (index < 0 || index >= LanguageCount()) throw ERangeError(Format("Language index %d is out of range", index));
  MldCursor c(*this);
  c.SeekLanguages();
  for (int i = 0; i < index; ++i) c.NextLanguage();
  return c.NextLanguage();
}

std::vector<MldLanguage> MldFile::Languages() const {
  MldCursor c(*this);
  c.SeekLanguages();
  std::vector<MldLanguage> out;
  for (int i = 0; i < LanguageCount(); ++i) out.push_back(c.NextLanguage());
  return out;
}

MldLocale MldFile::Locale(int index) const {
  MldCursor c(*this);
  c.SeekLocales();
  if (index < 0 || index >= LocaleCount()) throw ERangeError(Format("Locale index %d is out of range", index));
  for (int i = 0; i < index; ++i) c.NextLocale();
  return c.NextLocale();
}

std::vector<MldLocale> MldFile::Locales() const {
  std::vector<MldLocale> out;
  if (LocaleCount() == 0) return out;
  MldCursor c(*this);
  c.SeekLocales();
  for (int i = 0; i < LocaleCount(); ++i) out.push_back(c.NextLocale());
  return out;
}

std::vector<MldTranslation> MldFile::Translations() const {
  std::vector<MldTranslation> out;
  MldCursor c(*this);
  if (!header_.ansi) {
    // Each UTF-16 column is converted with its own language's code page.
    std::vector<uint32_t> codePages;
    std::vector<MldLanguage> languages = Languages();
    for (size_t k = 1; k < languages.size(); ++k) codePages.push_back(static_cast<uint32_t>(languages[k].codePage));
    c.SetColumnCodePages(std::move(codePages));
  }
  c.SeekTranslations();
  for (int i = 0; i < TranslationCount(); ++i) out.push_back(c.NextTranslation());
  return out;
}

void MldFile::LoadTranslations(int selected, int fallback, uint32_t codePage, std::vector<MldEntry>& out) const {
  MldCursor c(*this);
  c.SeekTranslations();
  // Bounded by what the section can hold, so a damaged count cannot ask for much.
  out.reserve(out.size() + std::min<size_t>(TranslationCount(), data_.size() / 2));
  MldEntry e;
  for (int i = 0; i < TranslationCount(); ++i)
    if (c.NextEntry(selected, fallback, codePage, e)) out.push_back(std::move(e));
}

MldContent MldFile::ReadAll() const {
  MldContent content;
  content.layout = header_.layout;
  content.languages = Languages();
  content.locales = Locales();
  content.translations = Translations();
  return content;
}

// ---------------------------------------------------------------------------------------------
// MldCursor

namespace {
ByteReader ReaderAt(const MldFile& f, size_t pos) {
  ByteReader r(f.Data(), f.Name(), f.Header().bigEndian, f.Header().ansi, &f.Codec());
  r.pos = pos;
  return r;
}

// Version 3 records start with their size; a size larger than the fields read skips the
// surplus, a smaller one is ignored.
void SkipRecordRest(ByteReader& r, size_t start, int version, uint16_t size) {
  if (version >= 3 && size > r.pos - start) r.Skip(start + size - r.pos);
}
}  // namespace

MldCursor::MldCursor(const MldFile& file) : file_(file) {}

namespace {
// `field` is where the header holds the offset: the place named when it is wrong.
void Seek(size_t& pos, uint32_t offset, const Bytes& data, const char* message, size_t field) {
  // Zero, or beyond the stream: nothing valid can be there.
  if (offset == 0 || offset > data.size()) throw EMldError(message, field);
  pos = offset;
}
}  // namespace

void MldCursor::SeekLanguages() {
  Seek(pos_, file_.Header().languageOffset, file_.Data(), kMldInvalidLanguageOffset, 14);
}

void MldCursor::SeekTranslations() {
  Seek(pos_, file_.Header().translationOffset, file_.Data(), kMldInvalidTranslationOffset, 20);
}

void MldCursor::SeekLocales() {
  if (file_.Header().localeCount == 0) throw EMldError(kMldNoCustomLocales, 24);
  Seek(pos_, file_.Header().localeOffset, file_.Data(), kMldInvalidLocaleOffset, 26);
}

MldLanguage MldCursor::NextLanguage() {
  const MldHeader& h = file_.Header();
  const uint32_t sys = file_.Codec().systemCodePage;
  ByteReader r = ReaderAt(file_, pos_);
  const size_t start = r.pos;
  const int v = h.version;
  MldLanguage l;
  uint16_t size = v >= 3 ? r.U16() : 0;
  l.primary = r.U16();
  if (v >= 2) l.isoLanguage = CodeField(r.Code(2, sys));
  l.defaultSubLanguage = r.U16();
  if (v >= 2) l.isoCountry = CodeField(r.Code(2, sys));
  l.subLanguages = r.Str(sys);
  if (v >= 2) l.variants = r.Str(sys);
  if (v >= 3) l.charset = r.U16();
  l.codePage = r.U16();
  l.flags = r.U8() & 3;
  l.englishName = r.Str(sys);
  l.nativeName = r.Str(static_cast<uint32_t>(l.codePage));
  l.fontName = r.Str(sys);
  l.fontSize = r.U8();
  SkipRecordRest(r, start, v, size);
  if (l.primary == 0) l.isoLanguage.clear();
  if (l.defaultSubLanguage == 0) l.isoCountry.clear();
  pos_ = r.pos;
  return l;
}

MldLocale MldCursor::NextLocale() {
  const MldHeader& h = file_.Header();
  const uint32_t sys = file_.Codec().systemCodePage;
  ByteReader r = ReaderAt(file_, pos_);
  const size_t start = r.pos;
  const int v = h.version;
  MldLocale l;
  uint16_t size = v >= 3 ? r.U16() : 0;
  l.primary = r.U16();
  if (v >= 2) l.isoLanguage = CodeField(r.Code(2, sys));
  l.sub = r.U16();
  if (v >= 2) l.isoCountry = CodeField(r.Code(2, sys));
  if (v >= 3) l.charset = r.U16() & 0xFF;
  l.codePage = r.U16();
  const auto cp = static_cast<uint32_t>(l.codePage);
  l.flag = r.U8();
  l.englishLanguageName = r.Str(sys);
  l.englishCountryName = r.Str(sys);
  l.nativeLanguageName = r.Str(cp);
  l.nativeCountryName = r.Str(cp);
  l.abbreviatedLanguageName = r.Str(sys);
  l.countryName = r.Str(sys);
  l.measurementSystem = r.U8();
  l.currencySymbol = r.Str(cp);
  l.currencyFormat = r.U8();
  l.negativeCurrencyFormat = r.U8();
  l.currencyDigits = r.U8();
  l.thousandSeparator = CodeField(r.Code(1, cp));
  l.decimalSeparator = CodeField(r.Code(1, cp));
  l.dateSeparator = CodeField(r.Code(1, cp));
  l.shortDateFormat = r.Str(cp);
  l.longDateFormat = r.Str(cp);
  l.timeSeparator = CodeField(r.Code(1, cp));
  l.amDesignator = r.Str(cp);
  l.pmDesignator = r.Str(cp);
  l.timeLeadingZero = r.U8() != 0;
  l.timeFormat = r.U8();
  l.timeMarkerPosition = r.U8();
  l.calendarType = r.U8();
  l.optionalCalendar = r.U8();
  l.firstDayOfWeek = r.U8();
  l.firstWeekOfYear = r.U8();
  for (auto& s : l.shortMonthNames) s = r.Str(cp);
  for (auto& s : l.longMonthNames) s = r.Str(cp);
  for (auto& s : l.shortDayNames) s = r.Str(cp);
  for (auto& s : l.longDayNames) s = r.Str(cp);
  SkipRecordRest(r, start, v, size);
  pos_ = r.pos;
  return l;
}

MldTranslation MldCursor::NextTranslation() {
  const MldHeader& h = file_.Header();
  const uint32_t sys = file_.Codec().systemCodePage;
  ByteReader r = ReaderAt(file_, pos_);
  MldTranslation t;
  t.original = r.Str(sys);
  if (h.HasContext1()) t.context1 = r.Str(sys);
  if (h.HasContext2()) t.context2 = r.Str(sys);
  for (int k = 1; k < h.languageCount; ++k) {
    uint32_t cp = static_cast<size_t>(k - 1) < columnCodePages_.size() ? columnCodePages_[k - 1] : sys;
    t.texts.push_back(r.Str(cp));
  }
  pos_ = r.pos;
  return t;
}

bool MldCursor::NextEntry(int selected, int fallback, uint32_t codePage, MldEntry& out) {
  const MldHeader& h = file_.Header();
  const uint32_t sys = file_.Codec().systemCodePage;
  ByteReader r = ReaderAt(file_, pos_);
  out.original = r.Str(sys);
  out.context1 = h.HasContext1() ? r.Str(sys) : AnsiString();
  out.context2 = h.HasContext2() ? r.Str(sys) : AnsiString();
  AnsiString mine, spare;
  for (int k = 1; k < h.languageCount; ++k) {
    if (k == selected)
      mine = r.Str(codePage);
    else if (k == fallback)
      spare = r.Str(codePage);
    else
      r.SkipStr();
  }
  pos_ = r.pos;
  if (!mine.empty()) {
    out.source = 0;
    out.translation = std::move(mine);
    return true;
  }
  if (!spare.empty()) {
    out.source = 1;
    out.translation = std::move(spare);
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// Writing

namespace {

class ByteWriter {
 public:
  ByteWriter(bool bigEndian, bool ansi, const MldCodec& codec) : bigEndian_(bigEndian), ansi_(ansi), codec_(codec) {}
  Bytes out;

  void U8(unsigned v, const char* what = "byte") {
    if (v > 0xFF) throw EMldError(Format("The %s value %u does not fit in 8 bits", what, v));
    out.push_back(static_cast<uint8_t>(v));
  }
  void U16(unsigned v, const char* what = "16-bit") {
    if (v > 0xFFFF) throw EMldError(Format("The %s value %u does not fit in 16 bits", what, v));
    Put(v, 2);
  }
  void U32(uint64_t v) {
    if (v > 0xFFFFFFFFu) throw EMldError("The stream is too large for 32-bit offsets");
    Put(static_cast<uint32_t>(v), 4);
  }
  void PatchU16(size_t at, unsigned v) {
    if (v > 0xFFFF) throw EMldError(Format("The record size %u does not fit in 16 bits", v));
    Patch(at, v, 2);
  }
  void PatchU32(size_t at, uint64_t v) {
    if (v > 0xFFFFFFFFu) throw EMldError("The stream is too large for 32-bit offsets");
    Patch(at, static_cast<uint32_t>(v), 4);
  }
  void Str(const AnsiString& text, uint32_t codePage) {
    if (ansi_) {
      U16(Len(text.size()));
      out.insert(out.end(), text.begin(), text.end());
    } else {
      WideString w = codec_.ToWide(codePage, text);
      U16(Len(w.size()));
      for (char16_t c : w) Put(c, 2);
    }
  }
  void Code(const AnsiString& text, size_t k, uint32_t codePage) {
    if (ansi_) {
      if (text.size() > k) throw EMldError(Format("\"%s\" is longer than %zu characters", text.c_str(), k));
      out.insert(out.end(), text.begin(), text.end());
      out.insert(out.end(), k - text.size(), 0);
    } else {
      WideString w = codec_.ToWide(codePage, text);
      if (w.size() > k) throw EMldError(Format("\"%s\" is longer than %zu characters", text.c_str(), k));
      w.resize(k, u'\0');
      for (char16_t c : w) Put(c, 2);
    }
  }

 private:
  static unsigned Len(size_t n) {
    if (n > 0xFFFF) throw EMldError("A text is longer than 65535 characters");
    return static_cast<unsigned>(n);
  }
  void Put(uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * (bigEndian_ ? bytes - 1 - i : i))));
  }
  void Patch(size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * (bigEndian_ ? bytes - 1 - i : i)));
  }
  bool bigEndian_;
  bool ansi_;
  const MldCodec& codec_;
};

}  // namespace

Bytes WriteMld(const MldContent& content, const MldWriteOptions& options, const MldCodec& codec) {
  const int v = options.version;
  if (v < 1 || v > 255) throw EMldError(Format("Unknown MLD version %d", v));
  if (content.layout > 3) throw EMldError(Format("Unknown translation layout %d", content.layout));
  const bool ansi = !options.utf16;
  const uint32_t sys = codec.systemCodePage;
  ByteWriter w(options.bigEndian, ansi, codec);
  w.out.assign(kMldHeaderSize, 0);
  std::memcpy(w.out.data(), "MLD", 3);
  w.out[3] = static_cast<uint8_t>(v);
  w.out[4] = options.bigEndian ? 0 : 1;
  w.out[5] = ansi ? 1 : 0;
  w.out[6] = content.layout;
  if (v == 1) w.out[7] = ansi ? 1 : 0;

  const size_t n = content.languages.size();
  if (n > 0xFFFF || content.translations.size() > 0xFFFF || content.locales.size() > 0xFFFF)
    throw EMldError("Too many records for an MLD stream (at most 65535 of each kind)");
  // Header integers, patched once the sections are laid out.
  auto header = [&](size_t at, uint64_t value, int bytes) {
    if (bytes == 2)
      w.PatchU16(at, static_cast<unsigned>(value));
    else
      w.PatchU32(at, value);
  };

  const size_t languageOffset = w.out.size();
  for (const MldLanguage& l : content.languages) {
    const size_t start = w.out.size();
    if (v >= 3) w.U16(0);
    w.U16(static_cast<unsigned>(l.primary), "primary");
    if (v >= 2) w.Code(l.isoLanguage, 2, sys);
    w.U16(static_cast<unsigned>(l.defaultSubLanguage), "sublanguage");
    if (v >= 2) w.Code(l.isoCountry, 2, sys);
    w.Str(l.subLanguages, sys);
    if (v >= 2) w.Str(l.variants, sys);
    if (v >= 3) w.U16(static_cast<unsigned>(l.charset), "charset");
    w.U16(static_cast<unsigned>(l.codePage), "code page");
    w.U8(l.flags);
    w.Str(l.englishName, sys);
    w.Str(l.nativeName, static_cast<uint32_t>(l.codePage));
    w.Str(l.fontName, sys);
    w.U8(static_cast<unsigned>(l.fontSize), "font size");
    if (v >= 3) w.PatchU16(start, static_cast<unsigned>(w.out.size() - start));
  }

  const size_t localeOffset = content.locales.empty() ? 0 : w.out.size();
  for (const MldLocale& l : content.locales) {
    const size_t start = w.out.size();
    const auto cp = static_cast<uint32_t>(l.codePage);
    if (v >= 3) w.U16(0);
    w.U16(static_cast<unsigned>(l.primary), "primary");
    if (v >= 2) w.Code(l.isoLanguage, 2, sys);
    w.U16(static_cast<unsigned>(l.sub), "sublanguage");
    if (v >= 2) w.Code(l.isoCountry, 2, sys);
    if (v >= 3) w.U16(static_cast<unsigned>(l.charset), "charset");
    w.U16(static_cast<unsigned>(l.codePage), "code page");
    w.U8(l.flag);
    w.Str(l.englishLanguageName, sys);
    w.Str(l.englishCountryName, sys);
    w.Str(l.nativeLanguageName, cp);
    w.Str(l.nativeCountryName, cp);
    w.Str(l.abbreviatedLanguageName, sys);
    w.Str(l.countryName, sys);
    w.U8(static_cast<unsigned>(l.measurementSystem));
    w.Str(l.currencySymbol, cp);
    w.U8(static_cast<unsigned>(l.currencyFormat));
    w.U8(static_cast<unsigned>(l.negativeCurrencyFormat));
    w.U8(static_cast<unsigned>(l.currencyDigits));
    w.Code(l.thousandSeparator, 1, cp);
    w.Code(l.decimalSeparator, 1, cp);
    w.Code(l.dateSeparator, 1, cp);
    w.Str(l.shortDateFormat, cp);
    w.Str(l.longDateFormat, cp);
    w.Code(l.timeSeparator, 1, cp);
    w.Str(l.amDesignator, cp);
    w.Str(l.pmDesignator, cp);
    w.U8(l.timeLeadingZero ? 1 : 0);
    for (int x : {l.timeFormat, l.timeMarkerPosition, l.calendarType, l.optionalCalendar, l.firstDayOfWeek,
                  l.firstWeekOfYear})
      w.U8(static_cast<unsigned>(x));
    for (const auto& s : l.shortMonthNames) w.Str(s, cp);
    for (const auto& s : l.longMonthNames) w.Str(s, cp);
    for (const auto& s : l.shortDayNames) w.Str(s, cp);
    for (const auto& s : l.longDayNames) w.Str(s, cp);
    if (v >= 3) w.PatchU16(start, static_cast<unsigned>(w.out.size() - start));
  }

  const size_t translationOffset = w.out.size();
  const bool c1 = content.layout == 1 || content.layout == 3;
  const bool c2 = content.layout == 1 || content.layout == 2;
  const size_t columns = n > 0 ? n - 1 : 0;
  for (const MldTranslation& t : content.translations) {
    if (t.texts.size() > columns)
      throw EMldError(Format("\"%s\" has %zu translations for %zu languages", t.original.c_str(), t.texts.size(), n));
    w.Str(t.original, sys);
    if (c1) w.Str(t.context1, sys);
    if (c2) w.Str(t.context2, sys);
    for (size_t k = 0; k < columns; ++k)
      w.Str(k < t.texts.size() ? t.texts[k] : AnsiString(), static_cast<uint32_t>(content.languages[k + 1].codePage));
  }

  header(12, n, 2);
  header(14, languageOffset, 4);
  header(18, content.translations.size(), 2);
  header(20, translationOffset, 4);
  header(24, content.locales.size(), 2);
  header(26, localeOffset, 4);
  return std::move(w.out);
}

// ---------------------------------------------------------------------------------------------
// Embedded data

AnsiString DecodeEmbeddedText(std::string_view text) {
  AnsiString out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '#' && i + 1 < text.size()) {
      switch (text[i + 1]) {
        case 'C': out.push_back('\r'); ++i; continue;
        case 'L': out.push_back('\n'); ++i; continue;
        case 'T': out.push_back('\t'); ++i; continue;
        case '#': out.push_back('#'); ++i; continue;
        default: break;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

AnsiString EncodeEmbeddedText(std::string_view text) {
  AnsiString out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\r': out += "#C"; break;
      case '\n': out += "#L"; break;
      case '\t': out += "#T"; break;
      case '#': out += "##"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

namespace {
const MldCodec& PlainCodec() {
  static const MldCodec codec;
  return codec;
}

void CheckVersion(unsigned version, const char* what) {
  if (version > 1) throw EMldError(Format("Unknown %s data version: %u", what, version));
}
}  // namespace

std::vector<MldLanguage> DecodeLanguageData(const Bytes& data) {
  static const std::string name = "LanguageData";
  ByteReader r(data, name, false, true, &PlainCodec());
  CheckVersion(r.U16(), "language");
  const unsigned count = r.U16();
  std::vector<MldLanguage> out;
  for (unsigned i = 0; i < count; ++i) {
    MldLanguage l;
    l.primary = r.U16();
    l.subLanguages = r.Str(0);
    l.defaultSubLanguage = r.U16();
    l.charset = r.U16();
    l.codePage = r.U16();
    l.englishName = r.Str(0);
    l.nativeName = r.Str(0);
    l.fontName = r.Str(0);
    l.fontSize = r.U16();
    l.flags = r.U8() & 3;
    out.push_back(std::move(l));
  }
  return out;
}

MldTranslationData DecodeTranslationData(const Bytes& data, int languageCount) {
  static const std::string name = "TranslationData";
  ByteReader r(data, name, false, true, &PlainCodec());
  CheckVersion(r.U16(), "translation");
  MldTranslationData out;
  const unsigned layout = r.U16();
  if (layout > 3) throw EMldError(Format("Unknown translation layout %u in TranslationData", layout));
  out.layout = static_cast<uint8_t>(layout);
  const bool c1 = layout == 1 || layout == 3;
  const bool c2 = layout == 1 || layout == 2;
  const uint32_t count = r.U32();
  const int columns = std::max(languageCount - 1, 0);
  // Every entry takes at least two bytes, so a damaged count cannot make us reserve much.
  out.translations.reserve(std::min<size_t>(count, data.size() / 2));
  for (uint32_t i = 0; i < count; ++i) {
    MldTranslation t;
    t.original = DecodeEmbeddedText(r.Str(0));
    if (c1) t.context1 = r.Str(0);
    if (c2) t.context2 = r.Str(0);
    t.texts.reserve(columns);
    for (int k = 0; k < columns; ++k) t.texts.push_back(DecodeEmbeddedText(r.Str(0)));
    out.translations.push_back(std::move(t));
  }
  return out;
}

std::vector<MldLocale> DecodeLocaleData(const Bytes& data) {
  static const std::string name = "LocaleData";
  ByteReader r(data, name, false, true, &PlainCodec());
  CheckVersion(r.U16(), "locale");
  const unsigned count = r.U16();
  std::vector<MldLocale> out;
  for (unsigned i = 0; i < count; ++i) {
    MldLocale l;
    l.primary = r.U16();
    l.sub = r.U16();
    l.charset = r.U16() & 0xFF;
    l.codePage = r.U16();
    l.flag = r.U8();
    l.englishLanguageName = r.Str(0);
    l.englishCountryName = r.Str(0);
    l.nativeLanguageName = r.Str(0);
    l.nativeCountryName = r.Str(0);
    l.abbreviatedLanguageName = r.Str(0);
    l.countryName = r.Str(0);
    l.measurementSystem = r.U16();
    l.currencySymbol = r.Str(0);
    l.currencyFormat = r.U16();
    l.negativeCurrencyFormat = r.U16();
    l.currencyDigits = r.U16();
    l.thousandSeparator = SeparatorText(r.U8());
    l.decimalSeparator = SeparatorText(r.U8());
    l.dateSeparator = SeparatorText(r.U8());
    l.shortDateFormat = r.Str(0);
    l.longDateFormat = r.Str(0);
    l.timeSeparator = SeparatorText(r.U8());
    l.amDesignator = r.Str(0);
    l.pmDesignator = r.Str(0);
    l.timeLeadingZero = r.U8() != 0;
    l.timeFormat = r.U16();
    l.timeMarkerPosition = r.U16();
    l.calendarType = r.U16();
    l.optionalCalendar = r.U16();
    l.firstDayOfWeek = r.U16();
    l.firstWeekOfYear = r.U16();
    for (auto& s : l.shortMonthNames) s = r.Str(0);
    for (auto& s : l.longMonthNames) s = r.Str(0);
    for (auto& s : l.shortDayNames) s = r.Str(0);
    for (auto& s : l.longDayNames) s = r.Str(0);
    out.push_back(std::move(l));
  }
  return out;
}

Bytes EncodeLanguageData(const std::vector<MldLanguage>& languages) {
  ByteWriter w(false, true, PlainCodec());
  w.U16(1);
  w.U16(static_cast<unsigned>(languages.size()), "language count");
  for (const MldLanguage& l : languages) {
    w.U16(static_cast<unsigned>(l.primary), "primary");
    w.Str(l.subLanguages, 0);
    w.U16(static_cast<unsigned>(l.defaultSubLanguage), "sublanguage");
    w.U16(static_cast<unsigned>(l.charset), "charset");
    w.U16(static_cast<unsigned>(l.codePage), "code page");
    w.Str(l.englishName, 0);
    w.Str(l.nativeName, 0);
    w.Str(l.fontName, 0);
    w.U16(static_cast<unsigned>(l.fontSize), "font size");
    w.U8(l.flags & 3u);
  }
  return std::move(w.out);
}

Bytes EncodeTranslationData(uint8_t layout, const std::vector<MldTranslation>& translations) {
  ByteWriter w(false, true, PlainCodec());
  w.U16(1);
  w.U16(layout);
  w.U32(translations.size());
  const bool c1 = layout == 1 || layout == 3;
  const bool c2 = layout == 1 || layout == 2;
  for (const MldTranslation& t : translations) {
    w.Str(EncodeEmbeddedText(t.original), 0);
    if (c1) w.Str(t.context1, 0);
    if (c2) w.Str(t.context2, 0);
    for (const AnsiString& s : t.texts) w.Str(EncodeEmbeddedText(s), 0);
  }
  return std::move(w.out);
}

Bytes EncodeLocaleData(const std::vector<MldLocale>& locales) {
  ByteWriter w(false, true, PlainCodec());
  w.U16(1);
  w.U16(static_cast<unsigned>(locales.size()), "locale count");
  for (const MldLocale& l : locales) {
    w.U16(static_cast<unsigned>(l.primary), "primary");
    w.U16(static_cast<unsigned>(l.sub), "sublanguage");
    w.U16(static_cast<unsigned>(l.charset), "charset");
    w.U16(static_cast<unsigned>(l.codePage), "code page");
    w.U8(l.flag);
    for (const AnsiString* s : {&l.englishLanguageName, &l.englishCountryName, &l.nativeLanguageName,
                                &l.nativeCountryName, &l.abbreviatedLanguageName, &l.countryName})
      w.Str(*s, 0);
    w.U16(static_cast<unsigned>(l.measurementSystem));
    w.Str(l.currencySymbol, 0);
    w.U16(static_cast<unsigned>(l.currencyFormat));
    w.U16(static_cast<unsigned>(l.negativeCurrencyFormat));
    w.U16(static_cast<unsigned>(l.currencyDigits));
    w.U8(SeparatorByte(l.thousandSeparator));
    w.U8(SeparatorByte(l.decimalSeparator));
    w.U8(SeparatorByte(l.dateSeparator));
    w.Str(l.shortDateFormat, 0);
    w.Str(l.longDateFormat, 0);
    w.U8(SeparatorByte(l.timeSeparator));
    w.Str(l.amDesignator, 0);
    w.Str(l.pmDesignator, 0);
    w.U8(l.timeLeadingZero ? 1 : 0);
    for (int x : {l.timeFormat, l.timeMarkerPosition, l.calendarType, l.optionalCalendar, l.firstDayOfWeek,
                  l.firstWeekOfYear})
      w.U16(static_cast<unsigned>(x));
    for (const auto& s : l.shortMonthNames) w.Str(s, 0);
    for (const auto& s : l.longMonthNames) w.Str(s, 0);
    for (const auto& s : l.shortDayNames) w.Str(s, 0);
    for (const auto& s : l.longDayNames) w.Str(s, 0);
  }
  return std::move(w.out);
}

}  // namespace vsi
