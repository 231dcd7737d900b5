#include "app/command_line.h"

#include <algorithm>

#include "app/languages.h"
#include "framework/ascii.h"
#include "framework/reflection.h"

namespace vsi {

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> args;
  size_t i = 0;
  const size_t n = line.size();
  auto blank = [&](size_t k) { return line[k] == ' ' || line[k] == '\t'; };
  // The program's name: quoted paths cannot hold quotes, and backslashes are path separators.
  if (i < n && line[i] == '"') {
    size_t close = line.find('"', i + 1);
    i = close == std::string::npos ? n : close + 1;
  }
  while (i < n && !blank(i)) ++i;
  for (;;) {
    while (i < n && blank(i)) ++i;
    if (i >= n) break;
    std::string arg;
    bool quoted = false;
    while (i < n && (quoted || !blank(i))) {
      if (line[i] == '\\') {
        size_t slashes = 0;
        while (i < n && line[i] == '\\') ++slashes, ++i;
        if (i < n && line[i] == '"') {
          arg.append(slashes / 2, '\\');
          if (slashes % 2 == 1) {
            arg += '"';
            ++i;
          }
        } else {
          arg.append(slashes, '\\');
        }
        continue;
      }
      if (line[i] == '"') {
        // A doubled quote inside quotes is one quote, as the runtime has it since 2008.
        if (quoted && i + 1 < n && line[i + 1] == '"') {
          arg += '"';
          i += 2;
          continue;
        }
        quoted = !quoted;
        ++i;
        continue;
      }
      arg += line[i++];
    }
    args.push_back(std::move(arg));
  }
  return args;
}

namespace {

// The switch name without its "/", "-" or "--", lower-cased; empty for an operand.
std::string SwitchName(const std::string& arg) {
  size_t skip = 0;
  if (arg.rfind("--", 0) == 0)
    skip = 2;
  else if (!arg.empty() && (arg[0] == '/' || arg[0] == '-'))
    skip = 1;
  if (skip == 0 || arg.size() == skip) return {};
  std::string name;
  for (size_t k = skip; k < arg.size(); ++k) name += AsciiLower(arg[k]);
  return name;
}

bool IsSwitch(const std::string& arg) { return !SwitchName(arg).empty(); }

const LanguageRow* LanguageByName(const std::string& name) {
  for (const LanguageRow& row : kLanguages)
    if (SameText(name, row.state)) return &row;
  return nullptr;
}

CommandLine Fail(std::string message) {
  CommandLine out;
  out.action = CommandLine::Action::Error;
  out.error = std::move(message);
  return out;
}

}  // namespace

namespace {

CommandLine Parse(const std::vector<std::string>& args) {
  CommandLine out;
  bool report = false, noNetwork = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const std::string name = SwitchName(arg);
    if (name == "?" || name == "h" || name == "help") {
      CommandLine usage;
      usage.action = CommandLine::Action::Usage;
      return usage;
    }
    if (name == "report") {
      if (report) return Fail("/report is given twice");
      report = true;
      // Its operands: "json", then a file; either may be left out.
      if (i + 1 < args.size() && !IsSwitch(args[i + 1]) && SameText(args[i + 1], "json")) {
        out.json = true;
        ++i;
      }
      if (i + 1 < args.size() && !IsSwitch(args[i + 1])) {
        out.file = args[++i];
        if (out.file.empty()) return Fail("/report: the file name is empty");
      }
    } else if (name == "lang") {
      if (out.language) return Fail("/lang is given twice");
      if (i + 1 >= args.size() || IsSwitch(args[i + 1])) return Fail("/lang needs a language name");
      out.language = LanguageByName(args[++i]);
      if (!out.language) return Fail("/lang: unknown language \"" + args[i] + "\"");
    } else if (name == "nonetwork") {
      noNetwork = true;
    } else if (!name.empty()) {
      return Fail("unknown switch \"" + arg + "\"");
    } else {
      return Fail("unexpected argument \"" + arg + "\"");
    }
  }
  if (noNetwork && !report) return Fail("/nonetwork goes with /report");
  out.network = !noNetwork;
  out.action = report ? CommandLine::Action::Report : CommandLine::Action::Window;
  return out;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine out = Parse(args);
  out.unattended = std::any_of(args.begin(), args.end(), [](const std::string& a) { return SwitchName(a) == "report"; });
  return out;
}

std::string UsageText() {
  return "Velmora System Info 1.0\r\n"
         "\r\n"
         "toolbar1.exe [/lang NAME]\r\n"
         "    Shows the window.\r\n"
         "toolbar1.exe /report [json] [FILE] [/nonetwork] [/lang NAME]\r\n"
         "    Writes the system facts without showing the window: as text, or with \"json\" as\r\n"
         "    one JSON object; to standard output, or to FILE, which is replaced as a whole.\r\n"
         "    /nonetwork leaves out the network configuration (\"ipconfig /all\").\r\n"
         "\r\n"
         "/lang NAME  English, French, German, Italian, Spanish, Swedish, Portuguese or Dutch:\r\n"
         "            the language of the window or of the text report, for this run only.\r\n"
         "/?          Shows this text.\r\n"
         "\r\n"
         "Switches begin with / or -- and may be written in any case. From a command prompt,\r\n"
         "\"start /wait toolbar1.exe /report\" keeps the prompt from writing over the report.\r\n"
         "Exit status: 0 done, 1 the report could not be written, 2 a wrong command line.\r\n";
}

}  // namespace vsi
