#include "app/main_form.h"

#include "app/window_descriptions.h"
#include "controls/ui_labels.h"
#include "framework/context.h"
#include "app/fact_report.h"
#include "app/languages.h"
#include "app/live_facts.h"
#include "app/window_place.h"
#include "framework/clipboard.h"
#include "i18n/dictionary.h"
#include "framework/registry_access.h"
#include "framework/scope_exit.h"
#include "i18n/translator.h"
#include "controls/drive_combo.h"
#include "probes/disk_probes.h"
#include "probes/host_probe.h"
#include "sysinfo/drive.h"
#include "sysinfo/general_info.h"
#include "sysinfo/sysinfo_base.h"
#include "sysinfo/windows_version.h"

namespace vsi {

namespace {

constexpr uint16_t kVkF10 = 0x79;
constexpr uint16_t kVkApps = 0x5D;  // the menu key

}  // namespace

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
    RegisterMethod(std::string(row.button) + "Click", [this, &row](TObject*) { PickLanguage(row, !restoring_); });
  // The objects no slot shows read their facts once the window has been painted
  // (RetrieveDeferred); those the slots show read now, in the window's order, as when loaded.
  TSysRetrievalPolicy& policy = Context().Service<TSysRetrievalPolicy>();
  policy.deferring = true;
  {
    ScopeExit stopDeferring{[&] { policy.deferring = false; }};
    LoadDescription(std::string(WindowDescription("main")));
  }
  FactSources sources = FactSources::Of(*this);
  for (int i = 0; i < ComponentCount(); ++i) {
    auto* c = dynamic_cast<TSysBaseComponent*>(Components(i));
    if (!c || !c->AutoRetrieve()) continue;
    if (c == &sources.windows || c == &sources.drive)
      c->Refresh();
    else
      deferred_.push_back(c->Name());
  }
  // Where it was closed on this monitor layout; the designed place the first time.
  if (std::optional<TPoint> place = StoredPlace()) MoveTo(*place);
  facts_ = std::make_unique<SystemFacts>(Context(), sources);
  // The CPU slot changes every second, as the clock does.
  Get<TControl>(RowOf(Fact::CpuUsage).slot).SetPaintsAtOnce(true);
  OnShortcut = [this](uint16_t key, uint8_t shift) {
    const uint8_t mods = shift & (ssShift | ssAlt | ssCtrl);
    // Shift+F10 and the menu key: the right-click menu, for the keyboard.
    if ((key == kVkApps && mods == 0) || (key == kVkF10 && mods == ssShift)) {
      ShowContextMenu(FocusedPoint());
      return true;
    }
    if (key != 'C' || mods != ssCtrl) return false;
    // In the network box Ctrl+C copies what is selected there, as in any text box; with
    // nothing selected it copies all the facts, as anywhere else in the window.
    const auto& memo = Get<TMemo>("Memo2");
    IWindowSystem& windows = Plat().windows;
    if (memo.HandleAllocated() && windows.GetFocus() == memo.Handle() && windows.HasSelection(memo.Handle()))
      return false;
    CopyAll();
    return true;
  };
  for (const char* panel : {"WidePanel1", "Panel1", "Panel2", "Panel3"})
    Get<TControl>(panel).OnContextPopup = [this](TControl*, TPoint screen) { ShowContextMenu(screen); };
  // Last: it takes the shortcuts set above and adds its own.
  live_ = std::make_unique<LiveFacts>(*this);
}

TMain::~TMain() {
  if (deferredTimer_) Plat().windows.KillTimer(deferredTimer_);
}

void TMain::SetSlot(std::string_view slot, const AnsiString& value) {
  // Through a kept buffer: the CPU slot is written every second.
  ToWide(value, slotText_);
  Get<TWideLabel>(slot).SetCaption(slotText_);
}

void TMain::ShowFact(Fact fact) {
  // A damaged dictionary's box opens while the window is being made, and its loop already
  // dispatches Timer1's ticks: until the facts exist there is nothing to show.
  if (!facts_) return;
  SetSlot(RowOf(fact).slot, facts_->Read(fact));
}

void TMain::Timer1Timer(TObject*) {
  if (live_) live_->Tick();
  ShowFact(Fact::CpuUsage);
}

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
  // The language brought its own digit grouping: the figures already shown are written again.
  ShowDiskFigures();
}

void TMain::PickLanguage(const LanguageRow& row, bool picked) {
  ApplyLanguage(row);
  if (!picked) return;
  // Stored when chosen: log-off, a crash or another copy's close cannot lose it, and with two
  // copies running the last choice made is the one kept.
  try {
    StoreLanguage();
    languageUnstored_ = false;
  } catch (const std::exception&) {
    languageUnstored_ = true;  // tried again at close, where a failure is reported
  }
}

void TMain::Report(const std::exception& e) {
  if (TApplication* app = ApplicationOf(*this)) app->HandleException(e);
}

void TMain::RestoreLanguage() {
  restoring_ = true;
  ScopeExit restored{[this] { restoring_ = false; }};
  auto english = [this] { Get<TControl>(kLanguages[0].button).Click(); };
  if (runLanguage_) {
    try {
      Get<TControl>(runLanguage_->button).Click();
    } catch (const std::exception& e) {
      Report(e);
      english();
    }
    return;
  }
  auto& state = Get<TControl>("Label1");
  std::string stored;
  TRegistry reg(Plat().registry);
  // Reading needs no more: a key the user may only read still gives the stored language.
  if (reg.OpenKeyReadOnly(kSettingsKey)) {
    try {
      stored = reg.ReadString(kLanguageValue);
    } catch (const std::exception& e) {
      // A value of another type: said once, and left for the user's next choice to replace.
      Report(e);
      english();
      return;
    }
    state.SetCaption(stored);
    reg.CloseKey();
  }
  // Exact comparisons, in this order; anything else is English.
  for (const char* name : {"French", "German", "English", "Italian", "Spanish", "Portuguese", "Dutch", "Swedish"}) {
    if ((std::string(name) == "French" ? stored : state.Caption()) == name) {
      try {
        Get<TControl>(LanguageByState(name)->button).Click();
      } catch (const std::exception& e) {
        // Refused by the code page or missing from the dictionary: the window in English.
        Report(e);
        english();
      }
      return;
    }
  }
  english();
}

void TMain::FormShow(TObject*) {
  // The window is filled whatever the stored language turned out to be.
  try {
    RestoreLanguage();
  } catch (const std::exception& e) {
    Report(e);
  }
  // Each step may fail; the failure ends the handler there and the later slots stay blank.
  for (Fact fact : {Fact::ComputerName, Fact::MemoryLoad, Fact::Processor, Fact::SerialNumber, Fact::VolumeLabel,
                    Fact::FileSystem, Fact::Os, Fact::Vendor, Fact::Screen, Fact::ServicePack})
    ShowFact(fact);
  // The rest of the start waits for a timer, which comes only after the window has been
  // painted: it runs while the capture waits for ipconfig.
  if (!deferred_.empty() && !deferredTimer_)
    deferredTimer_ = StartTimer(Plat().windows, 1, [this] { RetrieveDeferred(); });
  // Let the filled slots paint before the capture's first 100 ms wait.
  Plat().windows.ProcessMessages();
  Get<TControl>("BitBtn1").Click();
}

void TMain::RetrieveDeferred() {
  if (deferredTimer_) {
    Plat().windows.KillTimer(deferredTimer_);
    deferredTimer_ = 0;
  }
  std::vector<std::string> names;
  names.swap(deferred_);
  for (const std::string& name : names)
    if (auto* c = dynamic_cast<TSysBaseComponent*>(FindComponent(name))) c->Refresh();
}

void TMain::DriveComboBox1Change(TObject*) {
  facts_->ChooseDrive(Get<TDriveComboBox>("DriveComboBox1").Drive());
  for (Fact fact : {Fact::SerialNumber, Fact::DiskSize, Fact::DiskFree, Fact::VolumeLabel, Fact::FileSystem})
    ShowFact(fact);
}

void TMain::ShowDiskFigures() {
  for (Fact fact : {Fact::DiskSize, Fact::DiskFree})
    if (std::optional<AnsiString> text = facts_->Reformat(fact)) SetSlot(RowOf(fact).slot, *text);
}

void TMain::BitBtn1Click(TObject*) { live_->CaptureNetwork(); }

void TMain::CopyAll() {
  Platform& p = Plat();
  FactSheet sheet;
  const AnsiString& caption = Caption();
  sheet.program = caption.substr(std::min(caption.size(), caption.find_first_not_of(' ')));
  sheet.version = p.io.FileVersion();
  p.system.GetLocalTime(sheet.local);
  p.system.GetSystemTime(sheet.utc);
  sheet.captions = CaptionsOf(*this);
  sheet.facts = facts_.get();
  sheet.drives.push_back(facts_->Drive());
  sheet.asWindowShows = true;
  ClipboardResult result = CopyTextToClipboard(p, Handle(), ToWide(FactsText(sheet, Context().format())));
  if (result == ClipboardResult::Copied) return;
  // Not an error of the program's: a warning the user can act on, and the window goes on.
  const char* message = result == ClipboardResult::Busy
                            ? "The clipboard is in use by another program. Nothing was copied."
                            : "The facts could not be put on the clipboard.";
  TApplication* app = ApplicationOf(*this);
  p.windows.MessageBox(Handle(), TranslateText(DefaultDictionary(Context()), message),
                       app ? app->Title() : std::string(), MB_OK_ | MB_ICONWARNING_);
}

void TMain::ShowContextMenu(TPoint screen) {
  // The languages first, each in its own words and the one in force checked: with Shift+F10
  // they are the keyboard's and the screen reader's way to the flags.
  constexpr uint32_t kCopyAll = 1, kRefresh = 2, kFirstLanguage = 100;
  std::vector<MenuItemSpec> items;
  const std::string& current = Get<TControl>("Label1").Caption();
  for (size_t i = 0; i < kLanguages.size(); ++i) {
    MenuItemSpec item;
    item.wideText = kLanguages[i].ownName;
    item.command = kFirstLanguage + static_cast<uint32_t>(i);
    item.checked = current == kLanguages[i].state;
    items.push_back(std::move(item));
  }
  items.push_back({"-"});
  items.push_back({TranslateText(DefaultDictionary(Context()), "Copy all") + "\tCtrl+C", kCopyAll});
  items.push_back({TranslateText(DefaultDictionary(Context()), "Refresh") + "\tF5", kRefresh});
  const uint32_t chosen = Plat().windows.TrackPopupMenu(Handle(), items, screen);
  if (chosen == kCopyAll) {
    CopyAll();
  } else if (chosen == kRefresh) {
    live_->Refresh();
  } else if (chosen >= kFirstLanguage && chosen < kFirstLanguage + kLanguages.size()) {
    // Exactly what its flag does, stored choice included.
    Get<TControl>(kLanguages[chosen - kFirstLanguage].button).Click();
  }
}

TPoint TMain::FocusedPoint() const {
  // Just inside the control with the keyboard, as the system places a keyboard's menu; the
  // window's own corner when none of ours has it.
  IWindowSystem& windows = Plat().windows;
  const WindowHandle focus = windows.GetFocus();
  const int inset = View().Scale(8);
  for (int i = 0; i < ComponentCount(); ++i) {
    auto* control = dynamic_cast<TControl*>(Components(i));
    if (control && control->HandleAllocated() && control->Handle() == focus)
      return windows.ClientToScreen(focus, {inset, inset});
  }
  return windows.ClientToScreen(Handle(), {inset, inset});
}

void TMain::CreateWindowHandle() {
  TForm::CreateWindowHandle();
  // Wholly on a screen, whatever was stored or designed: a monitor may have gone since.
  KeepOnScreen();
  // The network text follows the machine's addresses (where the system tells of them).
  WatchAddressChanges();
}

void TMain::KeepOnScreen() {
  const TRect r = WindowRect();
  const TPoint place = PlaceOnScreen({r.left, r.top}, {r.Width(), r.Height()}, Plat().windows.Monitors());
  if (place.x != r.left || place.y != r.top) MoveTo(place);
}

std::optional<TPoint> TMain::StoredPlace() const {
  TRegistry reg(Plat().registry);
  if (!reg.OpenKeyReadOnly(kSettingsKey)) return std::nullopt;
  try {
    return vsi::StoredPlace(reg.ReadString(kPlaceValue), MonitorLayout(Plat().windows.Monitors()));
  } catch (const std::exception&) {
    return std::nullopt;  // a value of another type: as on the first run, not an error
  }
}

void TMain::StorePlace() {
  if (!HandleAllocated()) return;
  const TRect r = WindowRect();
  // A minimised window's place is the system's parking place, not the user's.
  if (r.left <= -32000 || r.top <= -32000 || Windows().IsMinimized(Handle())) return;
  TRegistry reg(Plat().registry);
  if (!reg.OpenKey(kSettingsKey, true)) return;
  std::string stored;
  try {
    stored = reg.ReadString(kPlaceValue);
  } catch (const std::exception&) {
    // Replaced as a whole below.
  }
  try {
    reg.WriteString(kPlaceValue, WithPlace(stored, MonitorLayout(Plat().windows.Monitors()), {r.left, r.top}));
  } catch (const std::exception&) {
    // The place is a convenience: a settings key that refuses it costs the next start its
    // place, not the user an error box (the language's own failure is reported).
  }
  reg.CloseKey();
}

void TMain::StoreLanguage() {
  TRegistry reg(Plat().registry);
  if (!reg.OpenKey(kSettingsKey, true)) return;
  reg.WriteString(kLanguageValue, Get<TControl>("Label1").Caption());
  reg.CloseKey();
}

bool TMain::StoredLanguageMissing() const {
  TRegistry reg(Plat().registry);
  if (!reg.OpenKeyReadOnly(kSettingsKey)) return true;
  try {
    return LanguageByState(reg.ReadString(kLanguageValue)) == nullptr;
  } catch (const std::exception&) {
    return false;  // a value of another type stays until the user chooses
  }
}

void TMain::FormClose(TObject*) {
  StorePlace();
  // The choice was stored when made; what is left is the first run's language, or a choice
  // whose store failed then. A language given for this run leaves the stored choice alone.
  if (languageUnstored_ || (!runLanguage_ && StoredLanguageMissing())) StoreLanguage();
}

void TMain::WmEndSession() {
  // The process may be ended without a close; nobody is left to read an error box.
  try {
    FormClose(this);
  } catch (const std::exception&) {
  }
}

}  // namespace vsi
