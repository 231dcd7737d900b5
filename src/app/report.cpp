#include "app/report.h"

#include <chrono>
#include <memory>

#include "app/command_line.h"
#include "app/console_capture.h"
#include "app/fact_report.h"
#include "app/languages.h"
#include "app/program.h"
#include "app/system_facts.h"
#include "app/window_descriptions.h"
#include "framework/context.h"
#include "framework/description.h"
#include "framework/forms.h"
#include "framework/registry_access.h"
#include "i18n/dictionary.h"
#include "i18n/translator.h"
#include "probes/cpu_usage.h"

namespace vsi {

namespace {

constexpr char kTitle[] = "Velmora System Info 1.0";

// Components of the main window, made from its description without the window: the ones that
// produce the facts, or the caption labels with the dictionary and translator.
class TFactsForm : public TForm {
  VSI_CLASS(TFactsForm)
  using TForm::TForm;
};

const ClassInfo& TFactsForm::StaticClass() {
  static const ClassInfo info = ClassBuilder<TFactsForm>("TFactsForm", &TForm::StaticClass()).Build();
  return info;
}

void Collect(const DescNode& node, const std::vector<std::string>& names, std::vector<DescNode>& out) {
  for (const DescNode& child : node.children) {
    for (const std::string& name : names)
      if (SameText(child.name, name)) {
        DescNode copy = child;
        copy.children.clear();
        // Each fact is read when the report asks for it, so that one that fails leaves the
        // others; and there are no handlers here to bind.
        std::erase_if(copy.properties, [](const DescProperty& p) {
          return SameText(p.path, "AutoRetrieve") || (p.path.size() > 2 && SameText(p.path.substr(0, 2), "On"));
        });
        out.push_back(std::move(copy));
      }
    Collect(child, names, out);
  }
}

// The named components of the main window's description, in its order, on a form of their own.
TFactsForm* MakeForm(TApplication& app, const DescNode& main, const char* name,
                     const std::vector<std::string>& components) {
  DescNode node;
  node.className = "TFactsForm";
  node.name = name;
  Collect(main, components, node.children);
  auto form = std::make_unique<TFactsForm>(&app);
  ApplyDescription(*form, node);
  return form.release();
}

std::vector<std::string> CaptionLabelNames() {
  std::vector<std::string> names;
  for (const FactRow& row : kFactRows) names.push_back(row.captionLabel);
  names.push_back("Label15");
  names.push_back("Label16");
  return names;
}

// The language for this run, else the stored one; English when neither is one of the eight.
const LanguageRow& ReportLanguage(Platform& p, const CommandLine& cmd) {
  if (cmd.language) return *cmd.language;
  try {
    TRegistry reg(p.registry);
    if (reg.OpenKeyReadOnly(kSettingsKey))
      if (const LanguageRow* row = LanguageByState(reg.ReadString(kLanguageValue))) return *row;
  } catch (const std::exception&) {
    // A stored value of the wrong type: the window would say so; the report is in English.
  }
  return kLanguages[0];
}

struct ReportCaptions {
  std::map<std::string, AnsiString, std::less<>> texts;
  bool translated = false;  // into the language asked for; else as the description gives them
  std::string why;          // why not, when something said so
};

// The captions in the report's language: the window's labels translated by its dictionary.
// Without a usable dictionary, or with one that refuses the language, they stay as the
// description gives them (English).
ReportCaptions Captions(TApplication& app, const DescNode& main, const LanguageRow& language) {
  std::vector<std::string> names = CaptionLabelNames();
  names.push_back("IvDictionary1");
  names.push_back("IvTranslator1");
  ReportCaptions out;
  TFactsForm* form = nullptr;
  try {
    form = MakeForm(app, main, "Captions", names);
    auto& dictionary = dynamic_cast<TIvDictionary&>(*form->FindComponent("IvDictionary1"));
    SetProp(dictionary, "Language", PropValue(int64_t(language.index)));
    out.translated = dictionary.Active() && dictionary.Language() == language.index &&
                     dynamic_cast<TIvTranslator&>(*form->FindComponent("IvTranslator1")).Active();
  } catch (const std::exception& e) {
    out.why = e.what();
  }
  if (!out.translated) {
    // Never half translated: the labels start again from the description.
    delete form;
    form = MakeForm(app, main, "Captions", CaptionLabelNames());
  }
  out.texts = CaptionsOf(*form);
  return out;
}

std::vector<char> FixedDrives(IVolumes& volumes) {
  std::vector<char> letters;
  uint32_t mask = volumes.GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    char letter = static_cast<char>('a' + i);
    if ((mask & (1u << i)) && volumes.GetDriveType(std::string(1, letter) + ":\\") == DRIVE_FIXED_)
      letters.push_back(letter);
  }
  return letters;
}

template <class F>
void Try(F&& read) {
  try {
    read();
  } catch (const std::exception&) {
    // The fact stays missing; the others are read all the same.
  }
}

// One line on standard error. The report never waits for a person: without a console or a
// redirected handle the line is lost, and the exit status tells.
void Warn(Platform& p, std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  p.io.Write(StdStream::Error, "toolbar1.exe: " + text + "\r\n");
}

// The usage and the mistakes of a command line: in a box when there is nowhere to write them,
// unless the run is one nobody watches.
void Tell(Platform& p, const CommandLine& cmd, StdStream stream, const std::string& text, uint32_t icon) {
  if (!p.io.Write(stream, text) && !cmd.unattended) p.windows.MessageBox(0, text, kTitle, icon);
}

int WriteReport(AppContext& context, const CommandLine& cmd);

}  // namespace

int RunReport(AppContext& context, const CommandLine& cmd) {
  Platform& p = context.platform();
  try {
    return WriteReport(context, cmd);
  } catch (const std::exception& e) {
    // Not a fact that failed (those are left empty) but the report itself.
    Warn(p, AnsiToUtf8(p.locale, e.what()));
    return 1;
  }
}

namespace {

int WriteReport(AppContext& context, const CommandLine& cmd) {
  RegisterAllClasses();
  Platform& p = context.platform();
  const auto start = std::chrono::steady_clock::now();
  // The sampler's baseline first: the other facts are read while the interval runs.
  Try([&] { context.Service<CpuUsageSampler>(); });

  TApplication app(context);
  app.SetTitle(kTitle);
  // What the window would show in a box (a damaged dictionary) is a line on standard error
  // here; the dictionary installs its own handler only where none is set.
  std::string* collecting = nullptr;
  app.OnException = [&](TObject*, const std::exception& e) {
    if (collecting) {
      if (collecting->empty()) *collecting = e.what();
    } else {
      Warn(p, AnsiToUtf8(p.locale, e.what()));
    }
  };
  const DescNode main = ParseDescription(std::string(WindowDescription("main")));
  const LanguageRow& wanted = ReportLanguage(p, cmd);
  std::string problem;
  collecting = &problem;
  ReportCaptions captions = Captions(app, main, wanted);
  collecting = nullptr;
  if (problem.empty()) problem = captions.why;
  problem = AnsiToUtf8(p.locale, problem.substr(0, problem.find_last_not_of(". ") + 1));
  // One language throughout: the one asked for, else English, and one line that says so.
  const LanguageRow& language = captions.translated ? wanted : kLanguages[0];
  if (!captions.translated && &wanted != &kLanguages[0])
    Warn(p, std::string(wanted.state) + " cannot be applied (" +
                (problem.empty() ? std::string("no dictionary") : problem) +
                "); the report is in English");
  else if (!problem.empty())
    Warn(p, problem + (captions.translated ? "" : "; the report is in English"));
  FactSheet sheet;
  sheet.captions = std::move(captions.texts);

  TFactsForm* sources = MakeForm(app, main, "Facts",
                                 {"SysInfo1", "AVTools1", "SysWindows1", "SysDrive1", "DiskInfo1", "OtherInfo1",
                                  "ZeruzoRazo1"});
  SystemFacts facts(context, FactSources::Of(*sources));
  // In the order the window fills its slots.
  for (Fact f : {Fact::ComputerName, Fact::MemoryLoad, Fact::Processor, Fact::Os, Fact::Vendor, Fact::Screen,
                 Fact::ServicePack})
    Try([&] { facts.Read(f); });
  for (char letter : FixedDrives(p.volumes)) {
    Try([&] {
      facts.ChooseDrive(letter);
      for (Fact f : kDriveFacts) Try([&] { facts.Read(f); });
    });
    sheet.drives.push_back(facts.Drive());
  }
  if (cmd.network) {
    bool whole = false;
    auto text = CaptureConsoleText(p, p.system.GetSystemDirectory() + "\\ipconfig.exe", "ipconfig /all", {}, &whole);
    // A capture that had to be ended or was cut is not ipconfig's answer: null, not a part.
    if (text && whole) facts.SetNetwork(*text);
  }
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  if (elapsed < 0 || elapsed < static_cast<long long>(kReportCpuIntervalMs))
    p.system.Sleep(kReportCpuIntervalMs - static_cast<unsigned>(elapsed < 0 ? 0 : elapsed));
  Try([&] { facts.Read(Fact::CpuUsage); });

  sheet.program = AnsiString(language.caption).substr(AnsiString(language.caption).find_first_not_of(' '));
  sheet.version = p.io.FileVersion();
  p.system.GetLocalTime(sheet.local);
  p.system.GetSystemTime(sheet.utc);
  sheet.facts = &facts;
  const std::string bytes =
      cmd.json ? FactsJson(sheet, p.locale) : AnsiToUtf8(p.locale, FactsText(sheet, context.format()));

  if (!cmd.file.empty()) {
    WinError error = p.io.ReplaceFile(cmd.file, bytes);
    if (error != WinError::Success) {
      std::string why = p.system.SysErrorMessage(static_cast<uint32_t>(error));
      if (why.empty()) why = Format("error %u", static_cast<unsigned>(error));
      Warn(p, "Cannot write the report to \"" + cmd.file + "\": " + AnsiToUtf8(p.locale, why));
      return 1;
    }
    return 0;
  }
  return p.io.Write(StdStream::Output, bytes) ? 0 : 1;
}

}  // namespace

int ShowUsage(AppContext& context, const CommandLine& cmd) {
  Platform& p = context.platform();
  if (cmd.action == CommandLine::Action::Usage) {
    Tell(p, cmd, StdStream::Output, UsageText(), MB_ICONINFORMATION_);
    return 0;
  }
  Tell(p, cmd, StdStream::Error, "toolbar1.exe: " + cmd.error + "\r\n\r\n" + UsageText(), MB_ICONERROR_);
  return 2;
}

}  // namespace vsi
