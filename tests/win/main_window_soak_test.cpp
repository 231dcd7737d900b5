// The real main window on the real window system, switched through its flag buttons a
// thousand times: after a warm-up the process holds no more GDI objects, windows or kernel
// handles than before, and the translator's table of originals keeps its size.
#include "platform/win32/win32_api.h"  // first: <windows.h> without its A/W name macros

#include <psapi.h>
#include <winternl.h>
#undef RegisterClass  // the framework's class registry, not user32's

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "app/languages.h"
#include "app/main_form.h"
#include "app/program.h"
#include "framework/context.h"
#include "framework/forms.h"
#include "i18n/translator.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_platform.h"
#include "../support/process_counters.h"
#include "shipped_program.h"
#include "platform/win32/win32_windows.h"

namespace vsi {
namespace {

// --- What this process holds ----------------------------------------------------------------
// Wine answers 0 to GetGuiResources and GetProcessHandleCount; where the system's answer is
// 0 (never true of a process with a window), the same things are counted by other means.

long GdiObjects() { return counters::GdiObjects(GetCurrentProcess()); }

// USER objects, or else the windows of this process (the USER objects a form makes).
long UserObjects() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return static_cast<long>(n);
  return counters::WindowsOfProcess(GetCurrentProcessId());
}

// Kernel handles, or else this process's entries in the system's handle list.
long KernelHandles() {
  DWORD n = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &n) && n) return static_cast<long>(n);
  return counters::HandlesInSystemList(GetCurrentProcessId());
}

struct Counters {
  long gdi, user, handles;
  size_t table;
};

class MainWindowSoakTest : public ShippedProgramTest {
 protected:
  void SetUp() override {
    ShippedProgramTest::SetUp();
    if (main_) translator_ = &main_->Get<TIvTranslator>("IvTranslator1");
  }

  // One click on each flag in turn, each followed by its repaint; false at the first
  // language that did not take.
  bool SwitchRound() {
    for (const LanguageRow& row : kLanguages) {
      main_->Get<TControl>(row.button).Click();
      app_.ProcessMessages();
      if (main_->Get<TControl>("Label1").Caption() != row.state || main_->Caption() != row.caption)
        return false;
    }
    return true;
  }

  Counters Now() const { return {GdiObjects(), UserObjects(), KernelHandles(), translator_->Table().size()}; }

  TIvTranslator* translator_ = nullptr;
};

TEST_F(MainWindowSoakTest, AThousandLanguageSwitchesLeaveTheProcessAsTheyFoundIt) {
  ASSERT_TRUE(translator_->Active());
  // Warm-up: every language once, so fonts, pictures and the dictionary's pages are in.
  ASSERT_TRUE(SwitchRound());
  ASSERT_TRUE(SwitchRound());
  const Counters before = Now();
  ASSERT_GT(before.gdi, 0) << "GDI objects cannot be counted here";
  ASSERT_GT(before.user, 0) << "USER objects cannot be counted here";
  ASSERT_GT(before.handles, 0) << "handles cannot be counted here";
  ASSERT_GT(before.table, 0u);

  Counters peak = before;
  constexpr int kRounds = 125;  // 1,000 switches
  for (int round = 0; round < kRounds; ++round) {
    ASSERT_TRUE(SwitchRound()) << "round " << round;
    if (round % 25 == 24) {
      Counters c = Now();
      peak = {std::max(peak.gdi, c.gdi), std::max(peak.user, c.user), std::max(peak.handles, c.handles),
              std::max(peak.table, c.table)};
    }
  }
  const Counters after = Now();
  for (const auto& [name, from, to] : {std::tuple{"gdi", before.gdi, after.gdi}, std::tuple{"user", before.user, after.user},
                                       std::tuple{"handles", before.handles, after.handles},
                                       std::tuple{"table", long(before.table), long(after.table)}})
    RecordProperty(name, std::to_string(from) + " -> " + std::to_string(to));
  // A few objects of slack for what the system itself caches; a leak of one object per
  // switch would be hundreds.
  EXPECT_LE(after.gdi, before.gdi + 4) << "GDI objects " << before.gdi << " -> " << after.gdi;
  EXPECT_LE(peak.gdi, before.gdi + 4);
  EXPECT_LE(after.user, before.user + 2) << "windows " << before.user << " -> " << after.user;
  EXPECT_LE(peak.user, before.user + 2);
  EXPECT_LE(after.handles, before.handles + 4) << "handles " << before.handles << " -> " << after.handles;
  EXPECT_LE(peak.handles, before.handles + 4);
  // The originals are remembered once per property, however often they are translated.
  EXPECT_EQ(after.table, before.table);
  EXPECT_EQ(peak.table, before.table);
  // The last round ended in Dutch; English brings back every original.
  main_->Get<TControl>("SpeedButton6").Click();
  EXPECT_EQ(main_->Get<TControl>("Label13").Caption(), "System Information");
}

}  // namespace
}  // namespace vsi
