#include "app/live_facts.h"

#include "app/console_capture.h"
#include "app/main_form.h"
#include "app/window_place.h"
#include "controls/drive_combo.h"
#include "framework/context.h"
#include "framework/scope_exit.h"
#include "platform/platform.h"

namespace vsi {

namespace {
constexpr uint16_t kVkF5 = 0x74;
}  // namespace

LiveFacts::LiveFacts(TMain& window) : window_(window) {
  window.OnDisplayChange = [this](TObject*) { DisplayChanged(); };
  window.OnVolumesChange = [this](bool, uint32_t drives) { VolumesChanged(drives); };
  window.OnAddressChange = [this](TObject*) { AddressesChanged(); };
  // F5 alone; the window's other keys go where they went.
  window.OnShortcut = [this, others = std::move(window.OnShortcut)](uint16_t key, uint8_t shift) {
    if (key == kVkF5 && (shift & (ssShift | ssAlt | ssCtrl)) == 0) {
      Refresh();
      return true;
    }
    return others && others(key, shift);
  };
}

void LiveFacts::Show(Fact fact) {
  SystemFacts& facts = window_.Facts();
  if (facts.Update(fact)) window_.SetSlot(RowOf(fact).slot, facts.Text(fact).value_or(AnsiString()));
}

void LiveFacts::ShowDiskSpace() {
  // The drive's facts are read first when its window is made: until then there is nothing to
  // follow.
  SystemFacts& facts = window_.Facts();
  if (!facts.Text(Fact::DiskFree)) return;
  facts.RereadDiskSpace();
  Show(Fact::DiskSize);
  Show(Fact::DiskFree);
}

void LiveFacts::Tick() {
  Show(Fact::MemoryLoad);
  if (++ticks_ >= kDiskSpacePeriod) {
    ticks_ = 0;
    ShowDiskSpace();
  }
}

void LiveFacts::Refresh() {
  if (capturing_) return;
  Show(Fact::MemoryLoad);
  Show(Fact::Screen);
  ShowDiskSpace();
  CaptureNetwork();
}

void LiveFacts::CaptureNetwork() {
  if (capturing_) return;
  // A notice that comes after the close: nobody is left to read the text.
  if (TApplication* app = ApplicationOf(window_); app && app->Terminated()) return;
  capturing_ = true;
  ScopeExit done{[this] { capturing_ = false; }};
  Platform& p = window_.Plat();
  auto& memo = window_.Get<TMemo>("Memo2");
  do {
    captureAgain_ = false;
    memo.SetText("");
    // By full path: a program of that name beside us or in the current folder never runs.
    CaptureConsoleOutput(p, p.system.GetSystemDirectory() + "\\ipconfig.exe", "ipconfig /all", memo);
    window_.Facts().SetNetwork(memo.Text());
    // The window closed during the wait: nobody reads a second capture.
    if (TApplication* app = ApplicationOf(window_); app && app->Terminated()) break;
  } while (captureAgain_);
}

void LiveFacts::DisplayChanged() {
  Show(Fact::Screen);
  // Wholly on a screen still: the monitor it was on may be smaller now, or gone.
  window_.KeepOnScreen();
}

void LiveFacts::VolumesChanged(uint32_t drives) {
  auto& selector = window_.Get<TDriveComboBox>("DriveComboBox1");
  if (!selector.HandleAllocated()) return;  // the list is built when its window is made
  selector.Rebuild();
  // The shown drive itself came or went (a stick, a disc): all its facts are read again;
  // a drive that is gone reads -1 for its sizes.
  const char letter = selector.Drive();
  if (letter >= 'a' && letter <= 'z' && (drives & (1u << (letter - 'a')))) window_.DriveComboBox1Change(&selector);
}

void LiveFacts::AddressesChanged() {
  if (capturing_) {
    captureAgain_ = true;  // what the running capture printed may be from before the change
    return;
  }
  CaptureNetwork();
}

}  // namespace vsi
