#include "i18n/mld_lists.h"

#include <string_view>

namespace vsi {

namespace {

// Reads the items of one list in order, checking each one's type.
class ListReader {
 public:
  ListReader(const DescValue& list, const char* what, const MldTextConverter& toAnsi)
      : list_(list), what_(what), toAnsi_(toAnsi) {
    if (list.type != DescValue::Type::List) Fail(list, "is not a list");
  }
  bool AtEnd() const { return next_ >= list_.items.size(); }
  const DescValue& Next() {
    if (AtEnd()) Fail(list_, "ends too early");
    return list_.items[next_++];
  }
  int64_t Int(int64_t low = 0, int64_t high = 0xFFFF) {
    const DescValue& v = Next();
    if (v.type != DescValue::Type::Integer || v.integer < low || v.integer > high)
      Fail(v, Format("has no number from %lld to %lld where one belongs", static_cast<long long>(low),
                     static_cast<long long>(high)).c_str());
    return v.integer;
  }
  // A text in code page `codePage` (0: the system's).
  AnsiString Text(uint32_t codePage = 0) {
    const DescValue& v = Next();
    if (v.type != DescValue::Type::String) Fail(v, "has no text where one belongs");
    return toAnsi_ ? toAnsi_(codePage, v.text) : AnsiString(v.text);
  }
  // A separator: a character code, or a text of at most one character.
  AnsiString Char(uint32_t codePage) {
    const DescValue& v = Next();
    if (v.type == DescValue::Type::Integer && v.integer >= 0 && v.integer <= 255)
      return v.integer ? AnsiString(1, static_cast<char>(v.integer)) : AnsiString();
    if (v.type == DescValue::Type::String) {
      AnsiString s = toAnsi_ ? toAnsi_(codePage, v.text) : AnsiString(v.text);
      if (s.size() <= 1) return s;
    }
    Fail(v, "has no separator character where one belongs");
  }
  void Names(AnsiString* out, size_t n, uint32_t codePage) {
    ListReader names(Next(), what_, toAnsi_);
    for (size_t i = 0; i < n; ++i) out[i] = names.Text(codePage);
    names.End();
  }
  ListReader Record() { return ListReader(Next(), what_, toAnsi_); }
  void End() {
    if (!AtEnd()) Fail(list_.items[next_], "has more values than its record holds");
  }
  [[noreturn]] void Fail(const DescValue& at, const char* problem) const {
    throw EMldError(Format("The %s data on line %d %s", what_, at.line ? at.line : list_.line, problem));
  }

 private:
  const DescValue& list_;
  const char* what_;
  const MldTextConverter& toAnsi_;
  size_t next_ = 0;
};

int64_t Version(ListReader& r, const char* what) {
  const DescValue& v = r.Next();
  if (v.type != DescValue::Type::Integer) r.Fail(v, "does not start with its version");
  if (v.integer > 2 || v.integer < 0)
    throw EMldError(Format("Unknown %s data version: %lld", what, static_cast<long long>(v.integer)));
  return v.integer;
}

// The count must match the records present: a damaged count is reported, not trusted.
int64_t Count(ListReader& r, size_t present) {
  const DescValue& v = r.Next();
  if (v.type != DescValue::Type::Integer || v.integer < 0 || static_cast<uint64_t>(v.integer) != present)
    r.Fail(v, Format("announces %lld records but holds %zu", static_cast<long long>(v.integer), present).c_str());
  return v.integer;
}

}  // namespace

MldListHead ReadListHead(const DescValue& value, const char* what) {
  const MldTextConverter none;
  ListReader r(value, what, none);
  MldListHead head;
  head.version = static_cast<int>(Version(r, what));
  const bool layout = std::string_view(what) == "translation" && head.version >= 2;
  if (layout) head.layout = static_cast<uint8_t>(r.Int(0, 3));
  const size_t before = layout ? 3 : 2;
  head.count = static_cast<size_t>(Count(r, value.items.size() >= before ? value.items.size() - before : 0));
  return head;
}

std::vector<MldLanguage> DecodeLanguageList(const DescValue& value, const MldTextConverter& toAnsi) {
  ListReader r(value, "language", toAnsi);
  const int64_t version = Version(r, "language");
  const int64_t count = Count(r, value.items.size() >= 2 ? value.items.size() - 2 : 0);
  std::vector<MldLanguage> out;
  for (int64_t i = 0; i < count; ++i) {
    ListReader e = r.Record();
    MldLanguage l;
    l.primary = static_cast<int>(e.Int());
    l.subLanguages = e.Text();
    l.defaultSubLanguage = static_cast<int>(e.Int());
    if (version >= 2) l.charset = static_cast<int>(e.Int());
    l.codePage = static_cast<int>(e.Int());
    l.englishName = e.Text();
    l.nativeName = e.Text(static_cast<uint32_t>(l.codePage));
    l.fontName = e.Text();
    l.fontSize = static_cast<int>(e.Int());
    l.flags = static_cast<uint8_t>(e.Int(0, 255) & 3);
    e.End();
    out.push_back(std::move(l));
  }
  return out;
}

MldTranslationData DecodeTranslationList(const DescValue& value, int languageCount, const MldTextConverter& toAnsi,
                                         uint32_t textCodePage) {
  ListReader r(value, "translation", toAnsi);
  const int64_t version = Version(r, "translation");
  MldTranslationData out;
  if (version >= 2) out.layout = static_cast<uint8_t>(r.Int(0, 3));
  const size_t head = version >= 2 ? 3 : 2;
  const int64_t count = Count(r, value.items.size() >= head ? value.items.size() - head : 0);
  const bool c1 = out.layout == 1 || out.layout == 3;
  const bool c2 = out.layout == 1 || out.layout == 2;
  for (int64_t i = 0; i < count; ++i) {
    ListReader e = r.Record();
    MldTranslation t;
    t.original = DecodeEmbeddedText(e.Text());
    if (c1) t.context1 = e.Text();
    if (c2) t.context2 = e.Text();
    for (int k = 1; k < languageCount; ++k) t.texts.push_back(DecodeEmbeddedText(e.Text(textCodePage)));
    e.End();
    out.translations.push_back(std::move(t));
  }
  return out;
}

std::vector<MldLocale> DecodeLocaleList(const DescValue& value, const MldTextConverter& toAnsi) {
  ListReader r(value, "locale", toAnsi);
  const int64_t version = Version(r, "locale");
  const int64_t count = Count(r, value.items.size() >= 2 ? value.items.size() - 2 : 0);
  std::vector<MldLocale> out;
  for (int64_t i = 0; i < count; ++i) {
    ListReader e = r.Record();
    MldLocale l;
    l.primary = static_cast<int>(e.Int());
    l.sub = static_cast<int>(e.Int());
    if (version >= 2) l.charset = static_cast<int>(e.Int(0, 255));
    l.codePage = static_cast<int>(e.Int());
    l.flag = static_cast<uint8_t>(e.Int(0, 255));
    // The texts the binary file keeps in the record's code page are converted with it.
    const auto cp = static_cast<uint32_t>(l.codePage);
    l.englishLanguageName = e.Text();
    l.englishCountryName = e.Text();
    l.nativeLanguageName = e.Text(cp);
    l.nativeCountryName = e.Text(cp);
    l.abbreviatedLanguageName = e.Text();
    l.countryName = e.Text();
    l.measurementSystem = static_cast<int>(e.Int());
    l.currencySymbol = e.Text(cp);
    l.currencyFormat = static_cast<int>(e.Int());
    l.negativeCurrencyFormat = static_cast<int>(e.Int());
    l.currencyDigits = static_cast<int>(e.Int());
    l.thousandSeparator = e.Char(cp);
    l.decimalSeparator = e.Char(cp);
    l.dateSeparator = e.Char(cp);
    l.shortDateFormat = e.Text(cp);
    l.longDateFormat = e.Text(cp);
    l.timeSeparator = e.Char(cp);
    l.amDesignator = e.Text(cp);
    l.pmDesignator = e.Text(cp);
    l.timeLeadingZero = e.Int(0, 255) != 0;
    for (int* n : {&l.timeFormat, &l.timeMarkerPosition, &l.calendarType, &l.optionalCalendar, &l.firstDayOfWeek,
                   &l.firstWeekOfYear})
      *n = static_cast<int>(e.Int());
    e.Names(l.shortMonthNames, 12, cp);
    e.Names(l.longMonthNames, 12, cp);
    e.Names(l.shortDayNames, 7, cp);
    e.Names(l.longDayNames, 7, cp);
    e.End();
    out.push_back(std::move(l));
  }
  return out;
}

}  // namespace vsi
