#include "i18n/mld_table.h"

#include <charconv>
#include <sstream>
#include <vector>

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
      default: throw EMldError(Format("Line %d: unknown escape \"\\%c\"", lineNo, cell[i]));
    }
  }
  return out;
}

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
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

char ParseChar(const std::string& text, int lineNo) {
  if (text.size() > 1 || (text.size() == 1 && static_cast<unsigned char>(text[0]) >= 0x80))
    throw EMldError(Format("Line %d: a separator is one ASCII character", lineNo));
  return text.empty() ? 0 : text[0];
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
  char R::*c = nullptr;
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
    auto ch = [](const char* key, char MldLocale::*m) {
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
      case Kind::Char: out << '\t' << Escape(record.*f.c ? std::string(1, record.*f.c) : std::string()); break;
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

MldContent ParseMldTable(std::string_view text) {
  MldContent content;
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
        if (cells[0] != "layout" || cells.size() != 2)
          throw EMldError(Format("Line %d: the header has only \"layout\"", lineNo));
        content.layout = static_cast<uint8_t>(ParseInt(cells[1], lineNo, 0, 3));
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

std::string FormatMldTable(const MldContent& c) {
  std::ostringstream out;
  out << "[header]\nlayout\t" << int(c.layout) << '\n';
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
    std::vector<std::string> cells{Escape(t.original)};
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
  for (MldLanguage& l : c.languages) {
    for (AnsiString* s : {&l.isoLanguage, &l.isoCountry, &l.subLanguages, &l.variants, &l.englishName, &l.fontName})
      *s = convert(sys, *s);
    l.nativeName = convert(static_cast<uint32_t>(l.codePage), l.nativeName);
  }
  for (MldLocale& l : c.locales) {
    const auto cp = static_cast<uint32_t>(l.codePage);
    for (AnsiString* s : {&l.isoLanguage, &l.isoCountry, &l.englishLanguageName, &l.englishCountryName,
                          &l.abbreviatedLanguageName, &l.countryName})
      *s = convert(sys, *s);
    for (AnsiString* s : {&l.nativeLanguageName, &l.nativeCountryName, &l.currencySymbol, &l.shortDateFormat,
                          &l.longDateFormat, &l.amDesignator, &l.pmDesignator})
      *s = convert(cp, *s);
    for (char* sep : {&l.thousandSeparator, &l.decimalSeparator, &l.dateSeparator, &l.timeSeparator}) {
      AnsiString s = convert(cp, *sep ? AnsiString(1, *sep) : AnsiString());
      if (s.size() > 1) throw EMldError(Format("The separator \"%s\" is more than one byte", s.c_str()));
      *sep = s.empty() ? 0 : s[0];
    }
    for (auto& s : l.shortMonthNames) s = convert(cp, s);
    for (auto& s : l.longMonthNames) s = convert(cp, s);
    for (auto& s : l.shortDayNames) s = convert(cp, s);
    for (auto& s : l.longDayNames) s = convert(cp, s);
  }
  for (MldTranslation& t : c.translations) {
    t.original = convert(sys, t.original);
    t.context1 = convert(sys, t.context1);
    t.context2 = convert(sys, t.context2);
    for (size_t k = 0; k < t.texts.size(); ++k) {
      const uint32_t cp = k + 1 < c.languages.size() ? static_cast<uint32_t>(c.languages[k + 1].codePage) : sys;
      t.texts[k] = convert(cp, t.texts[k]);
    }
  }
  return c;
}

AnsiString Utf8ToCodePage(uint32_t codePage, const std::string& utf8) {
  WideString w = Utf8ToWide(utf8);
  if (codePage == 1252 || codePage == 0) {
    AnsiString a = WideToCp1252(w);
    if (Cp1252ToWide(a) != w)
      throw EMldError(Format("\"%s\" has characters that Windows-1252 cannot hold", utf8.c_str()));
    return a;
  }
  for (char16_t ch : w)
    if (ch >= 0x80)
      throw EMldError(Format("\"%s\": only Windows-1252 texts can be written as 8-bit text here (code page %u); "
                             "write the file with UTF-16 texts instead",
                             utf8.c_str(), codePage));
  return AnsiString(utf8);
}

std::string CodePageToUtf8(uint32_t codePage, const AnsiString& text) {
  if (codePage == 1252 || codePage == 0) return WideToUtf8(Cp1252ToWide(text));
  std::string out;
  for (char c : text) {
    auto b = static_cast<unsigned char>(c);
    if (b < 0x80)
      out.push_back(c);
    else
      out += Format("\\x%02X", b);  // no table for this code page: show the byte
  }
  return out;
}

namespace {
// Texts of the tool are UTF-8 throughout; UTF-16 streams convert straight to and from it.
MldCodec Utf8Codec() {
  MldCodec codec;
  codec.toAnsi = [](uint32_t, const WideString& w) { return WideToUtf8(w); };
  codec.toWide = [](uint32_t, const AnsiString& s) { return Utf8ToWide(s); };
  return codec;
}
}  // namespace

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
      << "# version " << int(h.version) << ", " << (h.bigEndian ? "big-endian" : "little-endian") << ", "
      << (h.ansi ? "8-bit texts" : "UTF-16 texts") << '\n'
      << "# " << h.languageCount << " languages at " << h.languageOffset << ", " << h.translationCount
      << " translations at " << h.translationOffset << ", " << h.localeCount << " locales at " << h.localeOffset
      << '\n';
  out << FormatMldTable(content);
  return out.str();
}

}  // namespace vsi
