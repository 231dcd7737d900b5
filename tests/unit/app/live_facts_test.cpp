// The facts that change while the window stays open: the memory load on every second's tick,
// the chosen drive's space every ten, the resolution on a display change, the drive list when
// volumes come or go, and the network text on F5, on the menu's "Refresh" and on an address
// change; each slot written only when its text changes.
#include <gtest/gtest.h>

#include "app/live_facts.h"
#include "controls/drive_combo.h"
#include "facts_fixture.h"

namespace vsi {
namespace {

class LiveFactsTest : public FactsFixture {
 protected:
  void SetUp() override { ShowWindow(); }
  void Tick() { main->Get<TTimer>("Timer1").Tick(); }
  // Repaint requests of a slot's window so far.
  size_t Redraws(const char* slot) { return fp.windows.Window(main->Get<TControl>(slot).Handle()).invalidationLog.size(); }
  bool Press(uint16_t key, uint8_t shift = 0) {
    bool taken = false;
    fp.windows.Deliver(main->Handle(), [&](IWindowEvents& e) { taken = e.WmShortcut(key, shift); });
    return taken;
  }
  size_t Captures() const { return fp.processes.starts.size(); }
  std::string Network() { return main->Get<TMemo>("Memo2").Text(); }
  // What ipconfig prints from now on.
  void Prints(const std::string& text) { fp.processes.Script(kIpconfig, {{text}, 1}); }
  void Type(const std::string& text) { main->Get<TMemo>("Memo2").SetText(Network() + text); }
  TDriveComboBox& Selector() { return main->Get<TDriveComboBox>("DriveComboBox1"); }
  std::vector<std::string> DriveItems() {
    std::vector<std::string> items;
    for (const WideString& w : fp.windows.Window(Selector().Handle()).comboItems) items.push_back(Utf16ToUtf8(w));
    return items;
  }
  std::string ShownDrive() { return Utf16ToUtf8(fp.windows.Window(Selector().Handle()).text); }
  void NoBoxes() {
    for (auto& m : fp.windows.messageBoxes) ADD_FAILURE() << m.text;
    EXPECT_EQ(fp.volumes.criticalErrorBoxes, 0) << "a \"no disk\" prompt";
  }
  static constexpr uint64_t kGB = 1000ull * 1000 * 1000;
  // An 8 GB drive labelled "STICK" with FREE bytes free.
  static fake::FakeDrive Stick(uint32_t type, uint64_t free = 0) {
    fake::FakeDrive stick;
    stick.type = type;
    stick.label = "STICK";
    stick.totalBytes = 8 * kGB;
    stick.freeBytes = stick.freeBytesAvailable = free;
    return stick;
  }
  static constexpr uint16_t kF5 = 0x74;
};

TEST_F(LiveFactsTest, TheMemorySlotFollowsTheLoadOnEverySecondsTick) {
  ASSERT_EQ(Slot("WideLabel7"), "42 %");
  struct Step {
    uint32_t load;
    const char* shown;
  } steps[] = {{42, "42 %"}, {57, "57 %"}, {57, "57 %"}, {91, "91 %"}, {9, "9 %"}, {9, "9 %"}};
  for (const Step& s : steps) {
    fp.system.memory.memoryLoad = s.load;
    const std::string before = Slot("WideLabel7");
    const size_t redraws = Redraws("WideLabel7");
    Tick();
    EXPECT_EQ(Slot("WideLabel7"), s.shown);
    EXPECT_EQ(Redraws("WideLabel7") - redraws, before == s.shown ? 0u : 1u) << s.shown << ": drawn only on a change";
    EXPECT_EQ(main->Facts().Text(Fact::MemoryLoad), s.shown) << "what Copy all and the report read";
  }
  EXPECT_EQ(main->Facts().MemoryLoadPercent(), 9);
  NoBoxes();
}

TEST_F(LiveFactsTest, FreeSpaceFollowsAFillingDriveEveryTenSeconds) {
  ASSERT_EQ(Slot("WideLabel23"), "40,000,000,000");
  fake::FakeDrive& c = fp.volumes.Drive('C');
  std::vector<int> changedAt;
  for (int second = 1; second <= 35; ++second) {
    // A gigabyte a second for 25 seconds, then nothing more.
    if (second <= 25) c.freeBytesAvailable = c.freeBytes = 40 * kGB - second * kGB;
    const std::string before = Slot("WideLabel23");
    const size_t redraws = Redraws("WideLabel23");
    Tick();
    if (Slot("WideLabel23") != before) changedAt.push_back(second);
    EXPECT_EQ(Redraws("WideLabel23") - redraws, Slot("WideLabel23") != before ? 1u : 0u) << "second " << second;
    if (second == 10) {
      EXPECT_EQ(Slot("WideLabel23"), "30,000,000,000");
    }
    if (second == 20) {
      EXPECT_EQ(Slot("WideLabel23"), "20,000,000,000");
    }
  }
  EXPECT_EQ(changedAt, (std::vector<int>{10, 20, 30})) << "read every ten seconds, drawn only when it moved";
  EXPECT_EQ(Slot("WideLabel23"), "15,000,000,000");
  EXPECT_EQ(main->Facts().Drive().free, int64_t(15 * kGB));
  EXPECT_EQ(Slot("WideLabel22"), "100,000,000,000") << "the size stays";
  NoBoxes();
}

TEST_F(LiveFactsTest, AShownDriveThatWentAwayReadsMinusOneWithoutABox) {
  fp.volumes.AddDrive('E', Stick(DRIVE_REMOVABLE_, 3 * kGB));
  Selector().Rebuild();
  Selector().Pick(static_cast<int>(DriveItems().size()) - 1);
  ASSERT_EQ(Slot("WideLabel23"), "3,000,000,000");
  // Pulled out, and the system says nothing of it (or the message is lost).
  fp.volumes.RemoveDrive('E');
  for (int second = 1; second <= 30; ++second) Tick();
  EXPECT_EQ(Slot("WideLabel22"), "-1");
  EXPECT_EQ(Slot("WideLabel23"), "-1");
  NoBoxes();
}

TEST_F(LiveFactsTest, ADisplayChangeShowsTheNewResolutionAndKeepsTheWindowOnAScreen) {
  ASSERT_EQ(Slot("WideLabel9"), "1280 x 1024");
  // A second monitor to the right holds the window; then it goes and the main one changes mode.
  fp.windows.monitors.push_back({{1280, 0, 2560, 1024}, {1280, 0, 2560, 1024}, false, 96});
  main->MoveTo({1900, 500});
  fp.system.currentMode = DisplayMode{1920, 1080, 32, 60, 0};
  fp.windows.monitors = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1050}, true, 96}};
  const size_t untouched = Redraws("WideLabel7");
  fp.windows.ChangeDisplay();
  EXPECT_EQ(Slot("WideLabel9"), "1920 x 1080");
  EXPECT_EQ(main->Facts().Text(Fact::Screen), "1920 x 1080");
  const TRect r = main->WindowRect();
  EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= 1920 && r.bottom <= 1050)
      << r.left << "," << r.top << " " << r.right << "," << r.bottom;
  EXPECT_EQ(Redraws("WideLabel7"), untouched) << "the other slots stay as they are";
  NoBoxes();
}

TEST_F(LiveFactsTest, VolumesThatComeAndGoRebuildTheDriveList) {
  const std::vector<std::string> at_start = DriveItems();
  ASSERT_EQ(ShownDrive(), "c: [system]");
  const int volumeQueries = fp.volumes.volumeQueries;
  fp.volumes.AddDrive('F', Stick(DRIVE_FIXED_));
  fp.windows.ChangeVolumes(true, 1u << 5);
  std::vector<std::string> with_stick = at_start;
  with_stick.push_back("f: [stick]");
  EXPECT_EQ(DriveItems(), with_stick);
  EXPECT_EQ(ShownDrive(), "c: [system]") << "the chosen drive stays chosen";
  EXPECT_EQ(Slot("WideLabel24"), "SYSTEM");
  EXPECT_GT(fp.volumes.volumeQueries, volumeQueries) << "the list was read again";

  fp.volumes.RemoveDrive('F');
  fp.windows.ChangeVolumes(false, 1u << 5);
  EXPECT_EQ(DriveItems(), at_start);
  EXPECT_EQ(ShownDrive(), "c: [system]");
  NoBoxes();
}

TEST_F(LiveFactsTest, TheShownDriveGoingAndComingBackIsReadAgain) {
  fake::FakeDrive stick = Stick(DRIVE_FIXED_, 2 * kGB);
  fp.volumes.AddDrive('F', stick);
  fp.windows.ChangeVolumes(true, 1u << 5);
  Selector().Pick(static_cast<int>(DriveItems().size()) - 1);
  ASSERT_EQ(Slot("WideLabel24"), "STICK");

  fp.volumes.RemoveDrive('F');
  fp.windows.ChangeVolumes(false, 1u << 5);
  EXPECT_EQ(ShownDrive(), "") << "no item for a drive that is gone";
  EXPECT_EQ(Slot("WideLabel22"), "-1");
  EXPECT_EQ(Slot("WideLabel23"), "-1");

  stick.label = "BACKUP";
  fp.volumes.AddDrive('F', stick);
  fp.windows.ChangeVolumes(true, 1u << 5);
  EXPECT_EQ(ShownDrive(), "f: [backup]") << "chosen again when it is back";
  EXPECT_EQ(Slot("WideLabel24"), "BACKUP");
  EXPECT_EQ(Slot("WideLabel23"), "2,000,000,000");
  NoBoxes();
}

TEST_F(LiveFactsTest, AnAddressChangeCapturesTheNetworkTextAgain) {
  ASSERT_EQ(fp.windows.addressWatchers, std::vector<WindowHandle>{main->Handle()}) << "the window watches them";
  const size_t captures = Captures();
  Type(" my note");
  Prints("IPv4 Address . . : 10.8.0.6\r\n");
  fp.windows.ChangeAddresses();
  EXPECT_EQ(Captures(), captures + 1);
  EXPECT_EQ(Network(), "IPv4 Address . . : 10.8.0.6\r\n") << "the typed note goes with the old text";
  EXPECT_EQ(main->Facts().Network(), Network()) << "what Copy all and the report read";
  NoBoxes();
}

TEST_F(LiveFactsTest, AnAddressChangeDuringACaptureIsTakenUpByOneMoreCapture) {
  // The first capture's wait dispatches two address changes and an F5: one more capture
  // follows it, and none runs inside it.
  fp.processes.Script(kIpconfig, {{"old\r\n", "", ""}, 3});
  int during = 0;
  fp.windows.onProcessMessages = [&] {
    if (fp.processes.openChildren == 0 || during++ > 0) return;
    Prints("new\r\n");
    fp.windows.ChangeAddresses();
    fp.windows.ChangeAddresses();
    Press(kF5);
  };
  const size_t captures = Captures();
  fp.windows.ChangeAddresses();
  EXPECT_EQ(Captures(), captures + 2);
  EXPECT_EQ(Network(), "new\r\n");
  EXPECT_EQ(fp.processes.openChildren, 0);
  NoBoxes();
}

TEST_F(LiveFactsTest, F5CapturesOnceEvenWhenPressedTwice) {
  const size_t captures = Captures();
  Type(" my note");
  Prints("after F5\r\n");
  // The second press comes while the first capture waits for ipconfig.
  int presses = 0;
  fp.windows.onProcessMessages = [&] {
    if (fp.processes.openChildren > 0 && presses == 1) {
      ++presses;
      EXPECT_TRUE(Press(kF5)) << "taken, though nothing new starts";
    }
  };
  ++presses;
  EXPECT_TRUE(Press(kF5));
  EXPECT_EQ(presses, 2) << "the second press came during the capture";
  EXPECT_EQ(Captures(), captures + 1);
  EXPECT_EQ(Network(), "after F5\r\n") << "the typed note is replaced by the fresh capture";
  fp.windows.onProcessMessages = nullptr;

  // Another key, or F5 with a modifier, captures nothing.
  Type(" kept");
  for (uint8_t shift : {uint8_t(ssShift), uint8_t(ssCtrl), uint8_t(ssAlt)}) EXPECT_FALSE(Press(kF5, shift));
  EXPECT_FALSE(Press(0x75));
  Tick();
  main->Get<TControl>("SpeedButton7").Click();  // French
  EXPECT_EQ(Captures(), captures + 1);
  EXPECT_NE(Network().find(" kept"), std::string::npos) << "nothing but a capture replaces typed text";
  NoBoxes();
}

TEST_F(LiveFactsTest, TheRightClickMenuOffersRefresh) {
  struct Row {
    const char* flag;
    const char* text;
  } rows[] = {{"SpeedButton6", "Refresh\tF5"}, {"SpeedButton1", "Aktualisieren\tF5"}};
  for (const Row& r : rows) {
    main->Get<TControl>(r.flag).Click();
    fp.windows.menus.clear();
    fp.windows.nextMenuCommand = 0;
    auto rightClick = [&] {
      fp.windows.Deliver(main->Get<TControl>("Panel1").Handle(), [](IWindowEvents& e) { e.WmMouseUp(mbRight, 0, 3, 4); });
    };
    rightClick();
    ASSERT_EQ(fp.windows.menus.size(), 1u);
    uint32_t refresh = 0;
    for (const MenuItemSpec& item : fp.windows.menus[0])
      if (Utf8(item.text) == r.text) refresh = item.command;
    ASSERT_NE(refresh, 0u) << r.text;
    const size_t captures = Captures();
    Type(" my note");
    Prints(std::string("refreshed for ") + r.flag + "\r\n");
    fp.system.memory.memoryLoad = 63;
    fp.windows.nextMenuCommand = refresh;
    rightClick();
    EXPECT_EQ(Captures(), captures + 1) << r.text;
    EXPECT_EQ(Network(), std::string("refreshed for ") + r.flag + "\r\n");
    EXPECT_EQ(Slot("WideLabel7"), "63 %") << "the changing facts are read too";
    fp.system.memory.memoryLoad = 42;
  }
  NoBoxes();
}

}  // namespace
}  // namespace vsi
