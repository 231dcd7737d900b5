#pragma once
// What the main window keeps up to date while it stays open: the memory load every second,
// the chosen drive's size and free space every ten, the resolution when the display's mode
// changes, the drive list when volumes come or go, and the network text when the machine's
// addresses change or the user asks (F5, the menu's "Refresh").
#include <cstdint>

#include "app/system_facts.h"

namespace vsi {

class TMain;

class LiveFacts {
 public:
  // Seconds between two reads of the drive's space.
  static constexpr int kDiskSpacePeriod = 10;

  // Takes the window's display, volume and address notices and its F5 (after the window's own
  // shortcuts are set).
  explicit LiveFacts(TMain& window);
  LiveFacts(const LiveFacts&) = delete;
  LiveFacts& operator=(const LiveFacts&) = delete;

  // The one-second tick, beside the CPU slot's: a slot is written only when its text changes.
  void Tick();
  // The network text captured again, and the changing facts read now. Nothing new starts while
  // a capture runs.
  void Refresh();
  // Clears the network box and captures "ipconfig /all" into it. A capture asked for while one
  // runs (its wait dispatches messages) is not started: an address change is taken up by one
  // more capture once it ends, a key or menu request is dropped.
  void CaptureNetwork();
  bool Capturing() const { return capturing_; }

 private:
  void Show(Fact fact);
  void ShowDiskSpace();
  void DisplayChanged();
  void VolumesChanged(uint32_t drives);
  void AddressesChanged();

  TMain& window_;
  int ticks_ = 0;
  bool capturing_ = false;
  bool captureAgain_ = false;
};

}  // namespace vsi
