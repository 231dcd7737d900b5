#include "app/main_form.h"

#include "app/window_descriptions.h"
#include "controls/ui_labels.h"
#include "framework/context.h"
#include "app/console_capture.h"
#include "app/languages.h"
#include "framework/registry_access.h"
#include "i18n/translator.h"
#include "controls/drive_combo.h"
#include "probes/disk_probes.h"
#include "probes/host_probe.h"
#include "sysinfo/drive.h"
#include "sysinfo/general_info.h"
#include "sysinfo/windows_version.h"

namespace vsi {

const ClassInfo& TMain::StaticClass() {
  static const ClassInfo info = ClassBuilder<TMain>("TMain", &TForm::StaticClass()).Build();
  return info;
}

TMain::TMain(TComponent* owner) : TForm(owner) {
  RegisterMethod("Timer1Timer", [this](TObject* s) { Timer1Timer(s); });
  RegisterMethod("SpeedButton9Click", [this](TObject* s) { SpeedButton9Click(s); });
  RegisterMethod("SpeedButton10Click", [this](TObject* s) { SpeedButton10Click(s); });
  RegisterMethod("BitBtn2Click", [this](TObject* s) { BitBtn2Click(s); });
  RegisterMethod("FormShow", [this](TObject* s) { FormShow(s); });
  RegisterMethod("FormClose", [this](TObject* s) { FormClose(s); });
  RegisterMethod("DriveComboBox1Change", [this](TObject* s) { DriveComboBox1Change(s); });
  RegisterMethod("BitBtn1Click", [this](TObject* s) { BitBtn1Click(s); });
  for (const LanguageRow& row : kLanguages)
    RegisterMethod(std::string(row.button) + "Click", [this, &row](TObject*) { ApplyLanguage(row); });
  LoadDescription(std::string(WindowDescription("main")));
}

void TMain::SetSlot(std::string_view slot, const AnsiString& value) {
  Get<TWideLabel>(slot).SetCaption(ToWide(value));
}

void TMain::Timer1Timer(TObject*) { SetSlot("WideLabel6", Get<TAVTools>("AVTools1").CpuUsageText()); }

void TMain::SpeedButton9Click(TObject*) {
  // Not modal; a second click only brings it forward.
  for (int i = 0; i < Owner()->ComponentCount(); ++i)
    if (auto* upgrade = dynamic_cast<Ttoolabout*>(Owner()->Components(i))) {
      if (upgrade->Showing())
        upgrade->BringToFront();
      else
        upgrade->Show();
      return;
    }
}

void TMain::SpeedButton10Click(TObject*) { SetWindowState(wsMinimized); }

void TMain::BitBtn2Click(TObject*) {
  SetProp(*GetObjectProp(Get<TComponent>("MonthCalendarGroup1"), "NameOfMonths"), "January", PropValue(AnsiString(" ")));
}

void TMain::ApplyLanguage(const LanguageRow& row) {
  SetProp(Get<TComponent>("IvDictionary1"), "Language", PropValue(int64_t(row.index)));
  Get<TIvTranslator>("IvTranslator1").RefreshMirroredLayout();
  Get<TControl>("Label1").SetCaption(row.state);
  SetCaption(row.caption);
  // One name at a time: the calendar redraws after each.
  auto& calendar = Get<TComponent>("MonthCalendarGroup1");
  TObject* months = GetObjectProp(calendar, "NameOfMonths");
  static const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                          "July",    "August",   "September", "October", "November", "December"};
  for (int i = 0; i < 12; ++i) SetProp(*months, kMonths[i], PropValue(AnsiString(row.months[i])));
  TObject* days = GetObjectProp(calendar, "NameOfDays");
  static const char* const kDays[7] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
  for (int i = 0; i < 7; ++i) SetProp(*days, kDays[i], PropValue(AnsiString(row.days[i])));
  Get<TUiURLLabel>("UiURLLabel1").SetURL(std::string(kHomePage) + row.page);
}

void TMain::RestoreLanguage() {
  auto& state = Get<TControl>("Label1");
  std::string stored;
  TRegistry reg(Plat().registry);
  // Reading needs no more: a key the user may only read still gives the stored language.
  if (reg.OpenKeyReadOnly(kSettingsKey)) {
    stored = reg.ReadString(kLanguageValue);
    state.SetCaption(stored);
    reg.CloseKey();
  }
  // Exact comparisons, in this order; anything else is English.
  for (const char* name : {"French", "German", "English", "Italian", "Spanish", "Portuguese", "Dutch", "Swedish"}) {
    if ((std::string(name) == "French" ? stored : state.Caption()) == name) {
      Get<TControl>(LanguageByState(name)->button).Click();
      return;
    }
  }
  Get<TControl>("SpeedButton6").Click();
}

void TMain::FormShow(TObject*) {
  RestoreLanguage();
  // Each step may fail; the failure ends the handler there and the later slots stay blank.
  SetSlot("WideLabel27", Get<TAVTools>("AVTools1").MachineName());
  SetSlot("WideLabel7", Get<TSysInfo>("SysInfo1").MemoryLoaded());
  SetSlot("WideLabel10", Get<TSysInfo>("SysInfo1").ProcessorType());
  TSysDriveObject& drive = *Get<TSysDrive>("SysDrive1").Drive();
  SetSlot("WideLabel25", drive.SerialNumber());
  SetSlot("WideLabel24", drive.VolumeLabel());
  SetSlot("WideLabel26", drive.FileSystem());
  TSysWindowsObject& windows = *Get<TSysWindows>("SysWindows1").Windows();
  SetSlot("WideLabel8", windows.ProductName());
  SetSlot("WideLabel11", Get<TSystemInfo>("ZeruzoRazo1").CpuVendorText());
  SetSlot("WideLabel9", Get<TOtherInfo>("OtherInfo1").ScreenResolutionText());
  SetSlot("WideLabel39", windows.CSDVersion());
  // Let the filled slots paint before the capture's first 100 ms wait.
  Plat().windows.ProcessMessages();
  Get<TControl>("BitBtn1").Click();
}

void TMain::DriveComboBox1Change(TObject*) {
  char letter = Get<TDriveComboBox>("DriveComboBox1").Drive();
  TSysDriveObject& drive = *Get<TSysDrive>("SysDrive1").Drive();
  drive.SetDrive(letter);
  auto& disk = Get<TDiskInfo>("DiskInfo1");
  disk.SetDisk(letter);
  const TFormatSettings& fs = Context().format();
  SetSlot("WideLabel25", drive.SerialNumber());
  SetSlot("WideLabel22", FormatGroupedInteger(fs, static_cast<long double>(disk.DiskSize())));
  SetSlot("WideLabel23", FormatGroupedInteger(fs, static_cast<long double>(disk.DiskFree())));
  SetSlot("WideLabel24", drive.VolumeLabel());
  SetSlot("WideLabel26", drive.FileSystem());
}

void TMain::BitBtn1Click(TObject*) {
  auto& memo = Get<TMemo>("Memo2");
  memo.SetText("");
  // By full path: a program of that name beside us or in the current folder never runs.
  Platform& p = Plat();
  CaptureConsoleOutput(p, p.system.GetSystemDirectory() + "\\ipconfig.exe", "ipconfig /all", memo);
}

void TMain::FormClose(TObject*) {
  std::string state = Get<TControl>("Label1").Caption();
  TRegistry reg(Plat().registry);
  if (reg.OpenKey(kSettingsKey, true)) {
    reg.WriteString(kLanguageValue, state);
    reg.CloseKey();
  }
}

}  // namespace vsi
