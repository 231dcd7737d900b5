#include "app/fact_report.h"

#include <cmath>

#include "controls/ui_labels.h"
#include "framework/context.h"
#include "framework/dates.h"
#include "framework/exceptions.h"
#include "framework/format_settings.h"
#include "framework/text_encoding.h"
#include "platform/locale.h"

namespace vsi {

namespace {

constexpr const char* kDriveTitle = "Label15";
constexpr const char* kNetworkTitle = "Label16";

const char* DriveTypeKey(TSysDriveType type) {
  switch (type) {
    case TSysDriveType::dtNoRootDir: return "no_root";
    case TSysDriveType::dtFloppy: return "removable";
    case TSysDriveType::dtFixed: return "fixed";
    case TSysDriveType::dtNetwork: return "remote";
    case TSysDriveType::dtCDROM: return "cdrom";
    case TSysDriveType::dtRAM: return "ramdisk";
    default: return "unknown";
  }
}

AnsiString Caption(const FactSheet& sheet, std::string_view label) {
  auto it = sheet.captions.find(label);
  return it == sheet.captions.end() ? AnsiString() : it->second;
}

void Line(AnsiString& out, const AnsiString& caption, const AnsiString& value) {
  out += caption;
  out += ':';
  if (!value.empty()) out += ' ' + value;
  out += "\r\n";
}

// Lone LF and CR become CRLF, so that the text pastes as lines everywhere.
AnsiString WithCrLf(const AnsiString& text) {
  AnsiString out;
  out.reserve(text.size() + text.size() / 32);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string AnsiToUtf8(ILocale& locale, const AnsiString& ansi) {
  return Utf16ToUtf8(locale.MultiByteToWide(CP_ACP_, ansi));
}

std::string JsonHundredths(double value) {
  if (!std::isfinite(value)) return "null";
  // Signed as a whole: the sign once, before the integer part. The program never sets a C
  // locale, but a decimal comma must not reach JSON even if something loaded did.
  std::string out = Format("%.2f", value);
  for (char& c : out)
    if (c == ',') c = '.';
  return out == "-0.00" ? "0.00" : out;
}

std::map<std::string, AnsiString, std::less<>> CaptionsOf(TComponent& form) {
  std::map<std::string, AnsiString, std::less<>> out;
  auto take = [&](const char* name) {
    TComponent* c = form.FindComponent(name);
    // The Unicode labels keep the text they were given; the others are the translator's.
    if (auto* wide = dynamic_cast<TWideLabel*>(c))
      out[name] = form.Context().platform().locale.WideToMultiByte(CP_ACP_, wide->Caption());
    else if (auto* control = dynamic_cast<TControl*>(c))
      out[name] = control->Caption();
  };
  for (const FactRow& row : kFactRows) take(row.captionLabel);
  take(kDriveTitle);
  take(kNetworkTitle);
  return out;
}

AnsiString FactsText(const FactSheet& sheet, const TFormatSettings& fs) {
  // The date in the language's order, the time on the 24-hour clock.
  AnsiString out = sheet.program + "\r\n" + FormatDateTime(fs, "ddddd hh:nn:ss", sheet.local) + "\r\n\r\n";
  const SystemFacts& facts = *sheet.facts;
  auto value = [&](Fact f) {
    if (!sheet.asWindowShows && facts.Missing(f)) return AnsiString();
    return facts.Text(f).value_or(AnsiString());
  };
  for (const FactRow& row : kFactRows)
    if (!IsDriveFact(row.fact)) Line(out, Caption(sheet, row.captionLabel), value(row.fact));
  for (const DriveFacts& d : sheet.drives) {
    out += "\r\n";
    Line(out, Caption(sheet, kDriveTitle), d.letter ? AnsiString(1, d.letter) + ":" : AnsiString());
    for (Fact f : kDriveFacts) {
      const std::optional<AnsiString>& text = d.texts[DriveFactIndex(f)];
      bool unread = f == Fact::DiskSize ? !d.size : f == Fact::DiskFree ? !d.free : !d.volumeRead;
      Line(out, Caption(sheet, RowOf(f).captionLabel),
           (!sheet.asWindowShows && unread) || !text ? AnsiString() : *text);
    }
  }
  if (facts.Network()) {
    out += "\r\n";
    Line(out, Caption(sheet, kNetworkTitle), AnsiString());
    AnsiString network = WithCrLf(*facts.Network());
    out += network;
    if (!network.empty() && network.back() != '\n') out += "\r\n";
  }
  return out;
}

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F)
          out += Format("\\u%04x", c);
        else
          out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string Iso8601(const SystemTime& local, const SystemTime& utc) {
  double days = dates::EncodeDateTime(local) - dates::EncodeDateTime(utc);
  long minutes = std::lround(days * 24 * 4) * 15;  // offsets are whole quarter hours
  char sign = minutes < 0 ? '-' : '+';
  long m = minutes < 0 ? -minutes : minutes;
  return Format("%04u-%02u-%02uT%02u:%02u:%02u%c%02ld:%02ld", local.year, local.month, local.day, local.hour,
                local.minute, local.second, sign, m / 60, m % 60);
}

std::string FactsJson(const FactSheet& sheet, ILocale& locale) {
  const SystemFacts& facts = *sheet.facts;
  auto text = [&](Fact f) {
    if (facts.Missing(f)) return std::string("null");
    return JsonString(AnsiToUtf8(locale, facts.Text(f).value_or(AnsiString())));
  };
  auto optionalText = [&](const std::optional<AnsiString>& t, bool read) {
    return read && t ? JsonString(AnsiToUtf8(locale, *t)) : std::string("null");
  };
  auto number = [](const std::optional<int64_t>& n) { return n ? std::to_string(*n) : std::string("null"); };

  std::string out = "{\r\n";
  auto field = [&](const char* key, const std::string& value, bool last = false) {
    out += Format("  \"%s\": ", key) + value + (last ? "\r\n" : ",\r\n");
  };
  std::optional<double> cpu = facts.CpuUsagePercent();
  field("cpu_usage_percent", cpu ? JsonHundredths(*cpu) : "null");
  std::optional<int> memory = facts.MemoryLoadPercent();
  field("memory_load_percent", memory ? std::to_string(*memory) : "null");
  for (Fact f : {Fact::Screen, Fact::Processor, Fact::Vendor, Fact::Os, Fact::ServicePack, Fact::ComputerName})
    field(RowOf(f).key, text(f));
  out += "  \"drives\": [";
  for (size_t i = 0; i < sheet.drives.size(); ++i) {
    const DriveFacts& d = sheet.drives[i];
    auto at = [&](Fact f) { return d.texts[DriveFactIndex(f)]; };
    out += i == 0 ? "\r\n    {" : ",\r\n    {";
    out += "\"letter\": " + JsonString(std::string(1, d.letter));
    out += ", \"type\": " + JsonString(DriveTypeKey(d.type));
    out += ", \"size\": " + number(d.size);
    out += ", \"free\": " + number(d.free);
    out += ", \"label\": " + optionalText(at(Fact::VolumeLabel), d.volumeRead);
    out += ", \"serial\": " + optionalText(at(Fact::SerialNumber), d.volumeRead);
    out += ", \"file_system\": " + optionalText(at(Fact::FileSystem), d.volumeRead) + "}";
  }
  out += sheet.drives.empty() ? "],\r\n" : "\r\n  ],\r\n";
  field("network", facts.Network() ? JsonString(AnsiToUtf8(locale, *facts.Network())) : "null");
  field("generated_at", JsonString(Iso8601(sheet.local, sheet.utc)));
  field("program_version", JsonString(sheet.version), true);
  return out + "}\r\n";
}

}  // namespace vsi
