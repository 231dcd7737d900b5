#include "app/program.h"

#include "app/command_line.h"
#include "app/main_form.h"
#include "app/report.h"
#include "controls/register.h"
#include "framework/context.h"
#include "framework/forms.h"
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

int RunProgram(AppContext& context) {
  const CommandLine cmd = ParseCommandLine(SplitCommandLine(context.platform().io.CommandLine()));
  switch (cmd.action) {
    case CommandLine::Action::Report: return RunReport(context, cmd);
    case CommandLine::Action::Usage:
    case CommandLine::Action::Error: return ShowUsage(context, cmd);
    case CommandLine::Action::Window: break;
  }
  TApplication app(context);
  try {
    CreateProgram(app);
    if (cmd.language) static_cast<TMain*>(app.MainForm())->SetLanguageForRun(cmd.language);
  } catch (const std::exception& e) {
    app.SetTitle("Velmora System Info 1.0");
    app.ShowException(e);
    return 1;
  }
  return app.Run();
}

}  // namespace vsi
