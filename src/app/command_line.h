#pragma once
// The program's command line: the window (optionally in a language chosen for this run), the
// report of the system facts as text or JSON, or the usage.
#include <string>
#include <vector>

namespace vsi {

struct LanguageRow;

struct CommandLine {
  enum class Action : unsigned char { Window, Report, Usage, Error };
  Action action = Action::Window;
  bool json = false;
  bool network = true;
  std::string file;                       // UTF-8; empty: standard output
  const LanguageRow* language = nullptr;  // for this run; null: the stored choice
  std::string error;                      // Action::Error: what is wrong, one line
  // "/report" is among the arguments, even of a wrong command line: a run nobody watches, so
  // nothing is shown in a box.
  bool unattended = false;
};

// Splits a command line as the C runtime does for argv: blanks separate; double quotes group;
// 2n backslashes before a quote give n and the quote opens or closes, 2n+1 give n and a
// quote; other backslashes are kept. The program's name comes first and is dropped: it ends
// at its closing quote, or else at the first blank, without backslash rules.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// Switches begin with "/", "-" or "--" and are matched without regard to case.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The usage, CRLF line ends.
std::string UsageText();

}  // namespace vsi
