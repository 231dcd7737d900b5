// What a screen reader finds in the main window: every label, value slot, link and flag as an
// item with the text it shows (a flag: its language) at its place on the screen's scale, a
// flag's default action doing what its click does, and a slot's change told to readers.
#include <gtest/gtest.h>

#include <set>

#include "app/languages.h"
#include "controls/ui_labels.h"
#include "facts_fixture.h"

namespace vsi {
namespace {

class AccessibilityTest : public FactsFixture {
 protected:
  std::vector<AccessibleItem> Items() {
    std::vector<AccessibleItem> items;
    bool own = false;
    fp.windows.Deliver(main->Handle(), [&](IWindowEvents& e) { own = e.WmAccessibleItems(items); });
    EXPECT_TRUE(own) << "the main window answers for its client area itself";
    return items;
  }
  // The item that stands for this control: found by its place, measured independently from the
  // native windows the control and the panels it lies on have (a control drawn by its parent:
  // the parent's place plus its own, scaled).
  TRect PlaceOf(const TControl& c) {
    TRect r = c.HandleAllocated() ? fp.windows.Window(c.Handle()).bounds : main->View().Scale(c.BoundsRect());
    for (const TControl* p = c.Parent(); p && p != main; p = p->Parent()) {
      const TRect& b = fp.windows.Window(p->Handle()).bounds;
      r = {r.left + b.left, r.top + b.top, r.right + b.left, r.bottom + b.top};
    }
    return r;
  }
  const AccessibleItem* ItemAt(const std::vector<AccessibleItem>& items, const TRect& place) {
    for (const AccessibleItem& item : items)
      if (item.bounds == place) return &item;
    return nullptr;
  }
  int IndexOf(const std::vector<AccessibleItem>& items, const TControl& c) {
    const TRect place = PlaceOf(c);
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i].bounds == place) return static_cast<int>(i);
    return -1;
  }
  void Act(int index) {
    fp.windows.Deliver(main->Handle(), [&](IWindowEvents& e) { e.WmAccessibleAction(index); });
  }
  int NameChanges(const TControl& c) {
    auto it = fp.windows.nameChanges.find({main->Handle(), IndexOf(Items(), c)});
    return it == fp.windows.nameChanges.end() ? 0 : it->second;
  }
};

class AccessibilityAtScaleTest : public AccessibilityTest, public ::testing::WithParamInterface<int> {};

// Every label, slot, link and the clock as text with what it shows, every picture button as a
// push button named after its hint, the network box as the system's own edit, each at its place.
TEST_P(AccessibilityAtScaleTest, EveryTextAndFlagIsAnItemAtItsPlaceWithWhatItShows) {
  fp.windows.monitors = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true, GetParam()}};
  ShowWindow();
  ASSERT_EQ(main->View().dpi, GetParam());
  const std::vector<AccessibleItem> items = Items();
  std::set<std::string> flags;
  int texts = 0;
  for (int i = 0; i < main->ComponentCount(); ++i) {
    auto* c = dynamic_cast<TControl*>(main->Components(i));
    if (!c) continue;
    SCOPED_TRACE(c->Name());
    AccessibleRole role;
    std::string name;
    if (auto* w = dynamic_cast<TWideLabel*>(c)) {
      role = AccessibleRole::StaticText, name = Utf16ToUtf8(w->Caption());
    } else if (auto* l = dynamic_cast<TLabel*>(c)) {
      role = dynamic_cast<TUiURLLabel*>(c) ? AccessibleRole::Link : AccessibleRole::StaticText;
      name = Utf8(StripHotkeys(l->Caption()));
    } else if (auto* clock = dynamic_cast<TUiClockStatus*>(c)) {
      role = AccessibleRole::StaticText, name = clock->Text();
    } else if (auto* b = dynamic_cast<TSpeedButton*>(c)) {
      role = AccessibleRole::PushButton, name = Utf8(b->Caption().empty() ? b->Hint() : b->Caption());
    } else if (dynamic_cast<TMemo*>(c)) {
      role = AccessibleRole::Window;
    } else {
      continue;
    }
    const AccessibleItem* item = ItemAt(items, PlaceOf(*c));
    ASSERT_NE(item, nullptr) << "no item at the control's place";
    EXPECT_EQ(item->role, role);
    bool shown = true;
    for (const TControl* p = c; p; p = p->Parent()) shown = shown && p->Visible();
    EXPECT_EQ(item->visible, shown) << "a control on a hidden panel is there, and said to be invisible";
    if (role == AccessibleRole::Window) {
      EXPECT_EQ(item->window, c->Handle()) << "the system's own object stands for a native window";
      continue;
    }
    EXPECT_EQ(Utf16ToUtf8(item->name), name);
    if (role == AccessibleRole::PushButton && !c->Hint().empty()) flags.insert(name);
    if (role == AccessibleRole::StaticText && shown && name.find_first_not_of(' ') != std::string::npos) ++texts;
  }
  EXPECT_EQ(flags, (std::set<std::string>{"English", "French", "German", "Italian", "Dutch", "Portuguese", "Spanish",
                                          "Swedish"}));
  EXPECT_GE(texts, 30) << "the captions and the filled slots";
}

INSTANTIATE_TEST_SUITE_P(Dpi, AccessibilityAtScaleTest, ::testing::Values(96, 144, 120));

TEST_F(AccessibilityTest, AFlagsDefaultActionSwitchesTheLanguageAsItsClickDoes) {
  ShowWindow();
  auto& german = main->Get<TSpeedButton>("SpeedButton1");
  const int index = IndexOf(Items(), german);
  ASSERT_GE(index, 0);
  Act(index);
  EXPECT_EQ(main->Caption(), "  Velmora Systeminformationen 1.0");
  EXPECT_EQ(fp.registry.GetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue), "German");
  // A press only reaches what the reader was shown: not a hidden flag, not past the last item.
  auto& french = main->Get<TSpeedButton>("SpeedButton7");
  const int frenchIndex = IndexOf(Items(), french);
  french.SetVisible(false);
  Act(frenchIndex);
  Act(static_cast<int>(Items().size()));
  Act(-1);
  EXPECT_EQ(main->Caption(), "  Velmora Systeminformationen 1.0");
  EXPECT_FALSE(Items()[frenchIndex].visible);
}

TEST_F(AccessibilityTest, AChangedSlotIsToldToReadersOnceAndAnUnchangedOneNotAtAll) {
  ShowWindow();
  auto& memory = main->Get<TWideLabel>("WideLabel7");
  const int before = NameChanges(memory);
  fp.system.memory.memoryLoad = 57;
  main->Get<TTimer>("Timer1").Tick();
  ASSERT_EQ(Slot("WideLabel7"), "57 %");
  EXPECT_EQ(NameChanges(memory), before + 1);
  main->Get<TTimer>("Timer1").Tick();
  EXPECT_EQ(NameChanges(memory), before + 1) << "the same text is not announced again";
  // The item told is the one that shows the new text.
  EXPECT_EQ(Utf16ToUtf8(Items()[IndexOf(Items(), memory)].name), "57 %");
}

}  // namespace
}  // namespace vsi
