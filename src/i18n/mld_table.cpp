#include "i18n/mld_table.h"

#include <charconv>
#include <sstream>
#include <vector>

#include "framework/code_pages.h"
#include "framework/text_encoding.h"

namespace vsi {

namespace {

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> cells;
  size_t start = 0;
  for (;;) {
    size_t tab = line.find('\t', start);
    cells.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  return cells;
}

std::string Unescape(std::string_view cell, int lineNo) {
  std::string out;
  out.reserve(cell.size());
  for (size_t i = 0; i < cell.size(); ++i) {
    if (cell[i] != '\\') {
      out.push_back(cell[i]);
      continue;
    }
    if (i + 1 >= cell.size()) throw EMldError(Format("Line %d: a backslash ends the cell", lineNo));
    switch (cell[++i]) {
      case 't': out.push_back('\t'); break;
      case 'n': out.push_back('\n'); break;
      case 'r': out.push_back('\r'); break;
      case '\\': out.push_back('\\'); break;
      case '#': out.push_back('#'); break;
      case '[': out.push_back('['); break;
      default: throw EMldError(Format("Line %d: unknown escape \"\\%c\"", lineNo, cell[i]));
    }
  }
  return out;
}

// `lineStart`: the cell begins its line, where "#" would make a comment and "[" a section.
std::string Escape(std::string_view text, bool lineStart = false) {
  std::string out;
  out.reserve(text.size() + 1);
  if (lineStart && !text.empty() && (text[0] == '#' || text[0] == '[')) out.push_back('\\');
  for (char c : text) {
    switch (c) {
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\\': out += "\\\\"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

int ParseInt(std::string_view cell, int lineNo, int low, int high) {
  int value = 0;
  auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
  if (ec != std::errc() || end != cell.data() + cell.size() || value < low || value > high)
    throw EMldError(Format("Line %d: \"%s\" is not a number from %d to %d", lineNo, std::string(cell).c_str(), low,
                           high));
  return value;
}

// A separator: one character (UTF-8) or none.
std::string ParseChar(const std::string& text, int lineNo) {
  if (MldUtf8ToWide(text).size() > 1) throw EMldError(Format("Line %d: a separator is one character", lineNo));
  return text;
}

// Field tables shared by the parser and the printer, so the two cannot drift apart.
enum class Kind { Int, Byte, Text, Char, Bool, Names };
template <class R>
struct Field {
  const char* key;
  Kind kind;
  int R::*i = nullptr;
  uint8_t R::*b = nullptr;
  AnsiString R::*t = nullptr;
  AnsiString R::*c = nullptr;
  bool R::*flag = nullptr;
  AnsiString (R::*names)[12] = nullptr;
  AnsiString (R::*days)[7] = nullptr;
};

template <class R>
Field<R> IntField(const char* key, int R::*m) {
  Field<R> f{key, Kind::Int};
  f.i = m;
  return f;
}
template <class R>
Field<R> ByteField(const char* key, uint8_t R::*m) {
  Field<R> f{key, Kind::Byte};
  f.b = m;
  return f;
}
template <class R>
Field<R> TextField(const char* key, AnsiString R::*m) {
  Field<R> f{key, Kind::Text};
  f.t = m;
  return f;
}

const std::vector<Field<MldLanguage>>& LanguageFields() {
  static const std::vector<Field<MldLanguage>> fields = {
      IntField("primary", &MldLanguage::primary),
      TextField("iso", &MldLanguage::isoLanguage),
      IntField("sub", &MldLanguage::defaultSubLanguage),
      TextField("country", &MldLanguage::isoCountry),
      TextField("sublanguages", &MldLanguage::subLanguages),
      TextField("variants", &MldLanguage::variants),
      IntField("charset", &MldLanguage::charset),
      IntField("codepage", &MldLanguage::codePage),
      ByteField("flags", &MldLanguage::flags),
      TextField("english", &MldLanguage::englishName),
      TextField("native", &MldLanguage::nativeName),
      TextField("font", &MldLanguage::fontName),
      IntField("fontsize", &MldLanguage::fontSize),
  };
  return fields;
}

const std::vector<Field<MldLocale>>& LocaleFields() {
  static const std::vector<Field<MldLocale>> fields = [] {
    std::vector<Field<MldLocale>> f = {
        IntField("primary", &MldLocale::primary),
        TextField("iso", &MldLocale::isoLanguage),
        IntField("sub", &MldLocale::sub),
        TextField("country", &MldLocale::isoCountry),
        IntField("charset", &MldLocale::charset),
        IntField("codepage", &MldLocale::codePage),
        ByteField("flag", &MldLocale::flag),
        TextField("englishLanguage", &MldLocale::englishLanguageName),
        TextField("englishCountry", &MldLocale::englishCountryName),
        TextField("nativeLanguage", &MldLocale::nativeLanguageName),
        TextField("nativeCountry", &MldLocale::nativeCountryName),
        TextField("abbreviatedLanguage", &MldLocale::abbreviatedLanguageName),
        TextField("countryName", &MldLocale::countryName),
        IntField("measurement", &MldLocale::measurementSystem),
        TextField("currency", &MldLocale::currencySymbol),
        IntField("currencyFormat", &MldLocale::currencyFormat),
        IntField("negativeCurrencyFormat", &MldLocale::negativeCurrencyFormat),
        IntField("currencyDigits", &MldLocale::currencyDigits),
    };
    auto ch = [](const char* key, AnsiString MldLocale::*m) {
      Field<MldLocale> x{key, Kind::Char};
      x.c = m;
      return x;
    };
    f.push_back(ch("thousandSeparator", &MldLocale::thousandSeparator));
    f.push_back(ch("decimalSeparator", &MldLocale::decimalSeparator));
    f.push_back(ch("dateSeparator", &MldLocale::dateSeparator));
    f.push_back(TextField("shortDate", &MldLocale::shortDateFormat));
    f.push_back(TextField("longDate", &MldLocale::longDateFormat));
    f.push_back(ch("timeSeparator", &MldLocale::timeSeparator));
    f.push_back(TextField("am", &MldLocale::amDesignator));
    f.push_back(TextField("pm", &MldLocale::pmDesignator));
    Field<MldLocale> tlz{"timeLeadingZero", Kind::Bool};
    tlz.flag = &MldLocale::timeLeadingZero;
    f.push_back(tlz);
    for (auto [key, m] : {std::pair{"timeFormat", &MldLocale::timeFormat},
                          std::pair{"timeMarkerPosition", &MldLocale::timeMarkerPosition},
                          std::pair{"calendarType", &MldLocale::calendarType},
                          std::pair{"optionalCalendar", &MldLocale::optionalCalendar},
                          std::pair{"firstDayOfWeek", &MldLocale::firstDayOfWeek},
                          std::pair{"firstWeekOfYear", &MldLocale::firstWeekOfYear}})
      f.push_back(IntField(key, m));
    Field<MldLocale> sm{"shortMonths", Kind::Names};
    sm.names = &MldLocale::shortMonthNames;
    Field<MldLocale> lm{"longMonths", Kind::Names};
    lm.names = &MldLocale::longMonthNames;
    Field<MldLocale> sd{"shortDays", Kind::Names};
    sd.days = &MldLocale::shortDayNames;
    Field<MldLocale> ld{"longDays", Kind::Names};
    ld.days = &MldLocale::longDayNames;
    f.insert(f.end(), {sm, lm, sd, ld});
    return f;
  }();
  return fields;
}

const std::vector<Field<MldLanguage>>& FieldsOf(const MldLanguage&) { return LanguageFields(); }
const std::vector<Field<MldLocale>>& FieldsOf(const MldLocale&) { return LocaleFields(); }

template <class R>
void SetField(R& record, const std::vector<std::string_view>& cells, int lineNo) {
  for (const Field<R>& f : FieldsOf(record)) {
    if (cells[0] != f.key) continue;
    const size_t want = f.kind != Kind::Names ? 1 : f.names ? 12 : 7;
    if (cells.size() - 1 > want) throw EMldError(Format("Line %d: too many values for \"%s\"", lineNo, f.key));
    std::vector<std::string> v;
    for (size_t k = 1; k <= want; ++k) v.push_back(k < cells.size() ? Unescape(cells[k], lineNo) : std::string());
    switch (f.kind) {
      case Kind::Int: record.*f.i = ParseInt(v[0], lineNo, 0, 0xFFFF); break;
      case Kind::Byte: record.*f.b = static_cast<uint8_t>(ParseInt(v[0], lineNo, 0, 255)); break;
      case Kind::Text: record.*f.t = v[0]; break;
      case Kind::Char: record.*f.c = ParseChar(v[0], lineNo); break;
      case Kind::Bool: record.*f.flag = ParseInt(v[0], lineNo, 0, 1) != 0; break;
      case Kind::Names:
        for (size_t k = 0; k < want; ++k) (f.names ? (record.*f.names)[k] : (record.*f.days)[k]) = v[k];
        break;
    }
    return;
  }
  throw EMldError(Format("Line %d: unknown key \"%s\"", lineNo, std::string(cells[0]).c_str()));
}

template <class R>
void PrintFields(std::ostringstream& out, const R& record, const std::vector<Field<R>>& fields) {
  for (const Field<R>& f : fields) {
    out << f.key;
    switch (f.kind) {
      case Kind::Int: out << '\t' << record.*f.i; break;
      case Kind::Byte: out << '\t' << int(record.*f.b); break;
      case Kind::Text: out << '\t' << Escape(record.*f.t); break;
      case Kind::Char: out << '\t' << Escape(record.*f.c); break;
      case Kind::Bool: out << '\t' << (record.*f.flag ? 1 : 0); break;
      case Kind::Names:
        if (f.names)
          for (const auto& s : record.*f.names) out << '\t' << Escape(s);
        else
          for (const auto& s : record.*f.days) out << '\t' << Escape(s);
        break;
    }
    out << '\n';
  }
}

}  // namespace

MldContent ParseMldTable(std::string_view text, MldWriteOptions* format) {
  MldContent content;
  MldWriteOptions ignored;
  if (!format) format = &ignored;
  enum class Section { None, Header, Language, Locale, Translations } section = Section::None;
  int lineNo = 0;
  size_t pos = 0;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;  // a byte-order mark from an editor
  while (pos < text.size()) {
    size_t eol = text.find('\n', pos);
    std::string_view line = text.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos);
    pos = eol == std::string_view::npos ? text.size() : eol + 1;
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      if (line == "[header]") {
        section = Section::Header;
      } else if (line == "[language]") {
        section = Section::Language;
        content.languages.emplace_back();
      } else if (line == "[locale]") {
        section = Section::Locale;
        content.locales.emplace_back();
      } else if (line == "[translations]") {
        section = Section::Translations;
      } else {
        throw EMldError(Format("Line %d: unknown section %s", lineNo, std::string(line).c_str()));
      }
      continue;
    }
    std::vector<std::string_view> cells = SplitTabs(line);
    switch (section) {
      case Section::None:
        throw EMldError(Format("Line %d: text before the first section", lineNo));
      case Section::Header:
        if (cells.size() != 2)
          throw EMldError(Format("Line %d: a header line is a key and one value", lineNo));
        if (cells[0] == "layout") {
          content.layout = static_cast<uint8_t>(ParseInt(cells[1], lineNo, 0, 3));
        } else if (cells[0] == "version") {
          format->version = ParseInt(cells[1], lineNo, 1, 255);
        } else if (cells[0] == "byteorder" && (cells[1] == "little" || cells[1] == "big")) {
          format->bigEndian = cells[1] == "big";
        } else if (cells[0] == "text" && (cells[1] == "8-bit" || cells[1] == "utf16")) {
          format->utf16 = cells[1] == "utf16";
        } else {
          throw EMldError(Format("Line %d: the header has \"layout\", \"version\", \"byteorder\" (little, big) "
                                 "and \"text\" (8-bit, utf16)",
                                 lineNo));
        }
        break;
      case Section::Language:
        SetField(content.languages.back(), cells, lineNo);
        break;
      case Section::Locale:
        SetField(content.locales.back(), cells, lineNo);
        break;
      case Section::Translations: {
        const bool c1 = content.layout == 1 || content.layout == 3;
        const bool c2 = content.layout == 1 || content.layout == 2;
        const size_t columns = content.languages.empty() ? 0 : content.languages.size() - 1;
        const size_t fixed = 1 + (c1 ? 1 : 0) + (c2 ? 1 : 0);
        if (cells.size() > fixed + columns)
          throw EMldError(Format("Line %d: %zu cells, but %zu languages take at most %zu", lineNo, cells.size(),
                                 content.languages.size(), fixed + columns));
        MldTranslation t;
        size_t k = 0;
        auto next = [&]() { return k < cells.size() ? Unescape(cells[k++], lineNo) : std::string(); };
        t.original = next();
        if (c1) t.context1 = next();
        if (c2) t.context2 = next();
        for (size_t col = 0; col < columns; ++col) t.texts.push_back(next());
        if (t.original.empty()) throw EMldError(Format("Line %d: the original text is empty", lineNo));
        content.translations.push_back(std::move(t));
        break;
      }
    }
  }
  return content;
}

std::string FormatMldTable(const MldContent& c, const MldWriteOptions* format) {
  std::ostringstream out;
  out << "[header]\nlayout\t" << int(c.layout) << '\n';
  if (format)
    out << "version\t" << format->version << "\nbyteorder\t" << (format->bigEndian ? "big" : "little") << "\ntext\t"
        << (format->utf16 ? "utf16" : "8-bit") << '\n';
  for (size_t i = 0; i < c.languages.size(); ++i) {
    out << "\n# language " << i << "\n[language]\n";
    PrintFields(out, c.languages[i], LanguageFields());
  }
  for (size_t i = 0; i < c.locales.size(); ++i) {
    out << "\n# locale " << i << "\n[locale]\n";
    PrintFields(out, c.locales[i], LocaleFields());
  }
  out << "\n[translations]\n# original";
  if (c.layout == 1 || c.layout == 3) out << "\tcontext 1";
  if (c.layout == 1 || c.layout == 2) out << "\tcontext 2";
  for (size_t k = 1; k < c.languages.size(); ++k) out << '\t' << c.languages[k].englishName;
  out << '\n';
  const size_t columns = c.languages.empty() ? 0 : c.languages.size() - 1;
  for (const MldTranslation& t : c.translations) {
    std::vector<std::string> cells{Escape(t.original, true)};
    if (c.layout == 1 || c.layout == 3) cells.push_back(Escape(t.context1));
    if (c.layout == 1 || c.layout == 2) cells.push_back(Escape(t.context2));
    for (size_t k = 0; k < columns; ++k) cells.push_back(k < t.texts.size() ? Escape(t.texts[k]) : std::string());
    while (cells.size() > 1 && cells.back().empty()) cells.pop_back();
    for (size_t k = 0; k < cells.size(); ++k) out << (k ? "\t" : "") << cells[k];
    out << '\n';
  }
  return out.str();
}

MldContent RecodeMldContent(const MldContent& content, uint32_t sys,
                            const std::function<AnsiString(uint32_t, const AnsiString&)>& convert) {
  MldContent c = content;
  // A text that does not convert is named by its record, so the table can be mended.
  std::string where;
  auto conv = [&](uint32_t cp, AnsiString& text) {
    try {
      text = convert(cp, text);
    } catch (const EMldError& e) {
      throw EMldError(where + ": " + e.what());
    }
  };
  for (size_t i = 0; i < c.languages.size(); ++i) {
    MldLanguage& l = c.languages[i];
    where = Format("language %zu", i);
    for (AnsiString* s : {&l.isoLanguage, &l.isoCountry, &l.subLanguages, &l.variants, &l.englishName, &l.fontName})
      conv(sys, *s);
    where = Format("language %zu, native name", i);
    conv(static_cast<uint32_t>(l.codePage), l.nativeName);
  }
  for (size_t i = 0; i < c.locales.size(); ++i) {
    MldLocale& l = c.locales[i];
    where = Format("locale %zu", i);
    const auto cp = static_cast<uint32_t>(l.codePage);
    for (AnsiString* s : {&l.isoLanguage, &l.isoCountry, &l.englishLanguageName, &l.englishCountryName,
                          &l.abbreviatedLanguageName, &l.countryName})
      conv(sys, *s);
    for (AnsiString* s : {&l.nativeLanguageName, &l.nativeCountryName, &l.currencySymbol, &l.thousandSeparator,
                          &l.decimalSeparator, &l.dateSeparator, &l.shortDateFormat, &l.longDateFormat,
                          &l.timeSeparator, &l.amDesignator, &l.pmDesignator})
      conv(cp, *s);
    for (auto& s : l.shortMonthNames) conv(cp, s);
    for (auto& s : l.longMonthNames) conv(cp, s);
    for (auto& s : l.shortDayNames) conv(cp, s);
    for (auto& s : l.longDayNames) conv(cp, s);
  }
  for (size_t i = 0; i < c.translations.size(); ++i) {
    MldTranslation& t = c.translations[i];
    where = Format("translation %zu", i + 1);
    conv(sys, t.original);
    conv(sys, t.context1);
    conv(sys, t.context2);
    for (size_t k = 0; k < t.texts.size(); ++k) {
      where = Format("translation %zu, language %zu", i + 1, k + 1);
      const uint32_t cp = k + 1 < c.languages.size() ? static_cast<uint32_t>(c.languages[k + 1].codePage) : sys;
      conv(cp, t.texts[k]);
    }
  }
  return c;
}

// Code page 0 is "the system's", which for the tool is Windows-1252.
AnsiString Utf8ToCodePage(uint32_t codePage, const std::string& utf8) {
  if (codePage == 0) codePage = 1252;
  const char16_t* high = SingleByteCodePage(codePage);
  AnsiString out;
  for (char16_t ch : MldUtf8ToWide(utf8)) {
    if (ch < 0x80) {
      out.push_back(static_cast<char>(ch));
      continue;
    }
    if (!high)
      throw EMldError(Format("\"%s\": mldtool has no table for code page %u; write the file with UTF-16 texts "
                             "(--utf16)",
                             utf8.c_str(), codePage));
    int b = 0;
    while (b < 128 && high[b] != ch) ++b;
    if (b == 128)
      throw EMldError(Format("\"%s\": code page %u has no character U+%04X", utf8.c_str(), codePage, unsigned(ch)));
    out.push_back(static_cast<char>(0x80 + b));
  }
  return out;
}

std::string CodePageToUtf8(uint32_t codePage, const AnsiString& text) {
  if (codePage == 0) codePage = 1252;
  const char16_t* high = SingleByteCodePage(codePage);
  WideString w;
  w.reserve(text.size());
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    const char16_t ch = b < 0x80 ? b : high ? high[b - 0x80] : 0;
    // Shown as anything else, the byte would come back as another text.
    if (ch == 0 && b != 0) {
      if (!high) throw EMldError(Format("mldtool has no table for code page %u to show byte 0x%02X", codePage, b));
      throw EMldError(Format("byte 0x%02X has no character in code page %u", b, codePage));
    }
    w.push_back(ch);
  }
  return Utf16ToUtf8(w);
}

namespace {
// Texts of the tool are UTF-8 throughout; UTF-16 streams convert straight to and from it.
MldCodec Utf8Codec() {
  MldCodec codec;
  codec.toAnsi = [](uint32_t, const WideString& w) {
    // UTF-8 cannot hold half a surrogate pair: it would come back as another character.
    std::string out;
    const size_t bad = EncodeUtf8(w, BadText::Reject, out);
    if (bad != std::u16string_view::npos)
      throw EMldError(Format("a text holds a lone surrogate U+%04X at unit %zu", unsigned(w[bad]), bad));
    return out;
  };
  codec.toWide = [](uint32_t, const AnsiString& s) { return MldUtf8ToWide(s); };
  return codec;
}
}  // namespace

MldWriteOptions MldTableFormat(std::string_view utf8Table) {
  MldWriteOptions format;
  ParseMldTable(utf8Table, &format);
  return format;
}

Bytes BuildMldFromTable(std::string_view utf8Table, const MldWriteOptions& options) {
  MldContent content = ParseMldTable(utf8Table);
  if (options.utf16) return WriteMld(content, options, Utf8Codec());
  return WriteMld(RecodeMldContent(content, 1252, Utf8ToCodePage), options);
}

std::string DumpMld(const Bytes& data, const std::string& name) {
  const bool utf16 = [&] {
    MldFile probe(data, name);
    return !probe.Header().ansi;
  }();
  MldFile f(data, name, utf16 ? Utf8Codec() : MldCodec{});
  const MldHeader& h = f.Header();
  MldContent content = f.ReadAll();
  if (!utf16) content = RecodeMldContent(content, 1252, CodePageToUtf8);
  std::ostringstream out;
  out << "# " << name << '\n'
      << "# " << h.languageCount << " languages at " << h.languageOffset << ", " << h.translationCount
      << " translations at " << h.translationOffset << ", " << h.localeCount << " locales at " << h.localeOffset
      << '\n';
  // The format too, so that building the dump gives the same file.
  MldWriteOptions format;
  format.version = h.version;
  format.bigEndian = h.bigEndian;
  format.utf16 = !h.ansi;
  out << FormatMldTable(content, &format);
  return out.str();
}

}  // namespace vsi
