#include "framework/format_settings.h"
#include "framework/ascii.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vsi {

namespace {

void ReadChar(ILocale& loc, LCID id, LCTYPE type, char& field) {
  std::string s;
  if (loc.GetLocaleInfo(id, type, s) && !s.empty()) field = s[0];
}
void ReadText(ILocale& loc, LCID id, LCTYPE type, std::string& field) {
  std::string s;
  if (loc.GetLocaleInfo(id, type, s)) field = s;
}
void ReadByte(ILocale& loc, LCID id, LCTYPE type, uint8_t& field) {
  std::string s;
  if (loc.GetLocaleInfo(id, type, s) && !s.empty() && std::isdigit(static_cast<unsigned char>(s[0])))
    field = static_cast<uint8_t>(std::atoi(s.c_str()));
}

// Turns a locale time format (h:mm:ss tt) into the framework's form (h:nn:ss AMPM).
std::string ConvertTimeFormat(const std::string& in) {
  std::string out;
  for (size_t i = 0; i < in.size(); ++i) {
    char c = in[i];
    if (c == 'm') {
      out += 'n';
    } else if (c == 't') {
      while (i + 1 < in.size() && in[i + 1] == 't') ++i;
      out += "AMPM";
    } else if (c == 'H') {
      out += 'h';
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

TFormatSettings TFormatSettings::FromLocale(ILocale& loc, LCID id) {
  TFormatSettings fs;
  ReadChar(loc, id, LOCALE_STHOUSAND_, fs.thousandSeparator);
  ReadChar(loc, id, LOCALE_SDECIMAL_, fs.decimalSeparator);
  ReadChar(loc, id, LOCALE_SDATE_, fs.dateSeparator);
  ReadChar(loc, id, LOCALE_STIME_, fs.timeSeparator);
  ReadChar(loc, id, LOCALE_SLIST_, fs.listSeparator);
  ReadText(loc, id, LOCALE_SCURRENCY_, fs.currencyString);
  ReadByte(loc, id, LOCALE_ICURRENCY_, fs.currencyFormat);
  ReadByte(loc, id, LOCALE_INEGCURR_, fs.negCurrFormat);
  ReadByte(loc, id, LOCALE_ICURRDIGITS_, fs.currencyDecimals);
  ReadText(loc, id, LOCALE_SSHORTDATE_, fs.shortDateFormat);
  ReadText(loc, id, LOCALE_SLONGDATE_, fs.longDateFormat);
  ReadText(loc, id, LOCALE_S1159_, fs.timeAMString);
  ReadText(loc, id, LOCALE_S2359_, fs.timePMString);
  std::string tf;
  if (loc.GetLocaleInfo(id, LOCALE_STIMEFORMAT_, tf) && !tf.empty()) {
    fs.longTimeFormat = ConvertTimeFormat(tf);
    // The short form drops the seconds.
    std::string shortForm = fs.longTimeFormat;
    auto p = shortForm.find("ss");
    if (p != std::string::npos && p > 0) shortForm.erase(p - 1, 3);
    fs.shortTimeFormat = shortForm;
  }
  for (int i = 0; i < 12; ++i) {
    ReadText(loc, id, LOCALE_SABBREVMONTHNAME1_ + i, fs.shortMonthNames[i]);
    ReadText(loc, id, LOCALE_SMONTHNAME1_ + i, fs.longMonthNames[i]);
  }
  // The locale numbers days from Monday; the settings from Sunday.
  for (int i = 0; i < 7; ++i) {
    int slot = (i + 1) % 7;
    ReadText(loc, id, LOCALE_SABBREVDAYNAME1_ + i, fs.shortDayNames[slot]);
    ReadText(loc, id, LOCALE_SDAYNAME1_ + i, fs.longDayNames[slot]);
  }
  return fs;
}

std::string FormatFixed(const TFormatSettings& fs, double value, int width, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, value);
  std::string s(buf);
  if (fs.decimalSeparator != '.') {
    for (char& c : s)
      if (c == '.') c = fs.decimalSeparator;
  }
  return s;
}

std::string FormatGroupedInteger(const TFormatSettings& fs, long double value) {
  long double rounded = std::round(value);
  long double magnitude = std::fabs(rounded);
  if (magnitude >= 1e16L) {
    // Beyond the precision: scientific notation, as a general format of 16 digits would.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15LE", value);
    std::string s(buf);
    if (fs.decimalSeparator != '.')
      for (char& c : s)
        if (c == '.') c = fs.decimalSeparator;
    return s;
  }
  char digits[32];
  std::snprintf(digits, sizeof digits, "%.0Lf", magnitude);
  std::string d(digits);
  std::string out;
  int n = static_cast<int>(d.size());
  for (int i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0 && fs.thousandSeparator != '\0') out += fs.thousandSeparator;
    out += d[i];
  }
  if (rounded < 0) out.insert(out.begin(), '-');
  return out;
}

namespace {

std::string Pad(int v, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, v);
  return buf;
}

int CountRun(const std::string& f, size_t i, char lower) {
  int n = 0;
  while (i + n < f.size() && AsciiLower(f[i + n]) == lower) ++n;
  return n;
}

void AppendFormatted(const TFormatSettings& fs, const std::string& f, const SystemTime& t, std::string& out,
                     int depth) {
  bool lastWasHour = false;
  for (size_t i = 0; i < f.size();) {
    char c = f[i];
    char lc = AsciiLower(c);
    if (c == '"' || c == '\'') {
      size_t end = f.find(c, i + 1);
      if (end == std::string::npos) end = f.size();
      out.append(f, i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    if (lc == 'a') {
      if (f.compare(i, 4, "AMPM") == 0 || f.compare(i, 4, "ampm") == 0) {
        out += t.hour < 12 ? fs.timeAMString : fs.timePMString;
        i += 4;
        continue;
      }
      if (f.compare(i, 5, "am/pm") == 0 || f.compare(i, 5, "AM/PM") == 0) {
        out += t.hour < 12 ? f.substr(i, 2) : f.substr(i + 3, 2);
        i += 5;
        continue;
      }
      if (f.compare(i, 3, "a/p") == 0 || f.compare(i, 3, "A/P") == 0) {
        out += t.hour < 12 ? f[i] : f[i + 2];
        i += 3;
        continue;
      }
      out += c;
      ++i;
      continue;
    }
    switch (lc) {
      case 'c':
        if (depth < 2) {
          AppendFormatted(fs, fs.shortDateFormat, t, out, depth + 1);
          if (t.hour || t.minute || t.second) {
            out += ' ';
            AppendFormatted(fs, fs.longTimeFormat, t, out, depth + 1);
          }
        }
        ++i;
        break;
      case 'd': {
        int n = CountRun(f, i, 'd');
        if (n == 1) out += std::to_string(t.day);
        else if (n == 2) out += Pad(t.day, 2);
        else if (n == 3) out += fs.shortDayNames[t.dayOfWeek % 7];
        else if (n == 4) out += fs.longDayNames[t.dayOfWeek % 7];
        else if (n == 5 && depth < 2) AppendFormatted(fs, fs.shortDateFormat, t, out, depth + 1);
        else if (depth < 2) AppendFormatted(fs, fs.longDateFormat, t, out, depth + 1);
        i += n;
        break;
      }
      case 'm': {
        int n = CountRun(f, i, 'm');
        if (lastWasHour && n <= 2) {
          out += n == 1 ? std::to_string(t.minute) : Pad(t.minute, 2);
        } else if (n == 1) {
          out += std::to_string(t.month);
        } else if (n == 2) {
          out += Pad(t.month, 2);
        } else if (n == 3) {
          out += fs.shortMonthNames[(t.month + 11) % 12];
        } else {
          out += fs.longMonthNames[(t.month + 11) % 12];
        }
        i += n;
        lastWasHour = false;
        continue;
      }
      case 'y': {
        int n = CountRun(f, i, 'y');
        out += n <= 2 ? Pad(t.year % 100, 2) : Pad(t.year, 4);
        i += n;
        break;
      }
      case 'h': {
        int n = CountRun(f, i, 'h');
        // With an AM/PM marker anywhere in the format the hour is on the 12-hour clock.
        bool twelve = f.find("AMPM") != std::string::npos || f.find("ampm") != std::string::npos ||
                      f.find("am/pm") != std::string::npos || f.find("AM/PM") != std::string::npos;
        int h = t.hour;
        if (twelve) {
          h %= 12;
          if (h == 0) h = 12;
        }
        out += n == 1 ? std::to_string(h) : Pad(h, 2);
        i += n;
        lastWasHour = true;
        continue;
      }
      case 'n': {
        int n = CountRun(f, i, 'n');
        out += n == 1 ? std::to_string(t.minute) : Pad(t.minute, 2);
        i += n;
        break;
      }
      case 's': {
        int n = CountRun(f, i, 's');
        out += n == 1 ? std::to_string(t.second) : Pad(t.second, 2);
        i += n;
        break;
      }
      case 'z': {
        int n = CountRun(f, i, 'z');
        out += n >= 3 ? Pad(t.milliseconds, 3) : std::to_string(t.milliseconds);
        i += n;
        break;
      }
      case 't': {
        int n = CountRun(f, i, 't');
        if (depth < 2) AppendFormatted(fs, n == 1 ? fs.shortTimeFormat : fs.longTimeFormat, t, out, depth + 1);
        i += n;
        break;
      }
      case '/':
        out += fs.dateSeparator;
        ++i;
        break;
      case ':':
        out += fs.timeSeparator;
        ++i;
        break;
      default:
        out += c;
        ++i;
        break;
    }
    if (lc != ' ') lastWasHour = false;
  }
}

}  // namespace

std::string FormatDateTime(const TFormatSettings& fs, const std::string& format, const SystemTime& t) {
  std::string out;
  FormatDateTime(fs, format, t, out);
  return out;
}

void FormatDateTime(const TFormatSettings& fs, const std::string& format, const SystemTime& t, std::string& out) {
  static const std::string kGeneral = "c";
  out.clear();
  AppendFormatted(fs, format.empty() ? kGeneral : format, t, out, 0);
}

}  // namespace vsi
