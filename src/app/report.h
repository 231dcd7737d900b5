#pragma once
// The report: the facts the main window shows, taken without showing it, written as text or
// JSON to standard output or to a file.
#include <string>

namespace vsi {

class AppContext;
struct CommandLine;

// How long the CPU usage is measured: the report's one sample spans at least this.
constexpr unsigned kReportCpuIntervalMs = 500;

// Takes and writes the report the command line asks for. Every fact that can be read is
// written; one that cannot is left empty (null in JSON). Returns 0, or 1 when the report could
// not be written.
int RunReport(AppContext& context, const CommandLine& commandLine);

// Writes the usage (to standard output; as an information box when there is none) and returns
// 0; or, for a wrong command line, the error and the usage to standard error (an error box when
// there is none) and returns 2.
int ShowUsage(AppContext& context, const CommandLine& commandLine);

}  // namespace vsi
