#include "app/program.h"

#include "app/command_line.h"
#include "app/main_form.h"
#include "app/report.h"
#include "controls/register.h"
#include "framework/context.h"
#include "framework/forms.h"
#include "platform/platform.h"
#include "probes/cpu_usage.h"
#include "calendar/register.h"
#include "i18n/register.h"
#include "probes/register.h"
#include "sysinfo/register.h"

namespace vsi {

void RegisterAllClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterControlClasses();
  RegisterProbeClasses();
  RegisterSysinfoClasses();
  RegisterCalendarClasses();
  RegisterI18nClasses();
}

void CreateProgram(TApplication& app) {
  RegisterAllClasses();
  // Once for the whole process, before anything touches a drive: an empty card reader,
  // floppy or DVD drive then answers "not ready" instead of asking the user for a disk.
  IVolumes& volumes = app.Context().platform().volumes;
  volumes.SetErrorMode(volumes.SetErrorMode(SEM_FAILCRITICALERRORS_) | SEM_FAILCRITICALERRORS_);
  // The CPU usage sampler's start-up runs before any window exists.
  app.Context().Service<CpuUsageSampler>();
  app.SetTitle("Velmora System Info 1.0");
  app.CreateHandle();
  app.CreateForm<TMain>();
  app.CreateForm<Tabout>();
  app.CreateForm<Ttoolabout>();
}

namespace {

constexpr char kTitle[] = "Velmora System Info 1.0";

int RunWindow(AppContext& context, const CommandLine& cmd) {
  TApplication app(context);
  try {
    CreateProgram(app);
    if (cmd.language) static_cast<TMain*>(app.MainForm())->SetLanguageForRun(cmd.language);
    return app.Run();
  } catch (const std::exception& e) {
    // Closed while a box of the start-up was open: what failed after that is no news.
    if (app.Terminated()) return 0;
    app.SetTitle(kTitle);
    app.ShowException(e);
    return 1;
  }
}

// The last word when something unforeseen leaves the program: a box for the window, a line
// on standard error for a run without one (nobody may be there to press OK).
void LastWord(AppContext& context, bool windowed, const std::string& message) {
  try {
    Platform& p = context.platform();
    if (windowed)
      p.windows.MessageBox(0, WithFullStop(message), kTitle, MB_OK_ | MB_ICONERROR_);
    else
      p.io.Write(StdStream::Error, "toolbar1.exe: " + message + "\r\n");
  } catch (...) {
    // Nothing is left to tell it with.
  }
}

}  // namespace

int RunProgram(AppContext& context) {
  bool windowed = true;
  // Nothing leaves the entry point: an exception there would end the process without a word.
  try {
    const CommandLine cmd = ParseCommandLine(SplitCommandLine(context.platform().io.CommandLine()));
    windowed = cmd.action == CommandLine::Action::Window;
    switch (cmd.action) {
      case CommandLine::Action::Report: return RunReport(context, cmd);
      case CommandLine::Action::Usage:
      case CommandLine::Action::Error: return ShowUsage(context, cmd);
      case CommandLine::Action::Window: break;
    }
    return RunWindow(context, cmd);
  } catch (const std::exception& e) {
    LastWord(context, windowed, e.what());
  } catch (...) {
    LastWord(context, windowed, "An unexpected failure ended the program");
  }
  return 1;
}

}  // namespace vsi
