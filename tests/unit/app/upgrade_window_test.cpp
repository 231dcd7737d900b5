#include "app/upgrade_window.h"

#include <gtest/gtest.h>

#include "app/main_form.h"
#include "app/program.h"
#include "controls/ui_labels.h"
#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/description.h"
#include "framework/text_encoding.h"

namespace vsi {
namespace {

constexpr const char* kMemos[] = {"Memo1", "Memo2", "Memo3", "Memo4", "Memo5"};

std::string TrimLeft(const std::string& s) {
  size_t i = s.find_first_not_of(' ');
  return i == std::string::npos ? std::string() : s.substr(i);
}

std::string Blanks(size_t n) { return std::string(n, ' '); }

class UpgradeWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterAllClasses();
    CreateProgram(app);
    main = dynamic_cast<TMain*>(app.MainForm());
    for (int i = 0; i < app.ComponentCount(); ++i) {
      if (auto* f = dynamic_cast<Ttoolabout*>(app.Components(i))) upgrade = f;
      if (auto* f = dynamic_cast<Tabout*>(app.Components(i))) about = f;
    }
    ASSERT_NE(main, nullptr);
    ASSERT_NE(upgrade, nullptr);
    ASSERT_NE(about, nullptr);
  }

  template <class T = TControl>
  T& Part(const char* name) const {
    auto* c = dynamic_cast<T*>(upgrade->FindComponent(name));
    if (!c) throw Exception(std::string("no ") + name);
    return *c;
  }
  TMemo& Memo(const char* name) const { return Part<TMemo>(name); }
  const TStrings& Lines(const char* name) const { return *Memo(name).Lines(); }

  // Opens the upgrade window the way the user does: the main window's title-bar button.
  void OpenUpgrade() {
    if (!main->Showing()) main->Show();
    main->Get<TControl>("SpeedButton9").Click();
  }
  void ClickOk() {
    fp.windows.Deliver(Part("BitBtn1").Handle(), [](IWindowEvents& e) { e.WmClick(); });
  }
  // The memos shown, by name, as the controls and their windows both say.
  std::vector<std::string> VisibleMemos() const {
    std::vector<std::string> shown;
    for (const char* name : kMemos) {
      TMemo& m = Memo(name);
      if (m.HandleAllocated()) {
        EXPECT_EQ(fp.windows.windows.at(m.Handle()).visible, m.Visible()) << name;
      }
      if (m.Visible()) shown.push_back(name);
    }
    return shown;
  }
  int LiveForms() const {
    int n = 0;
    for (const auto& [h, w] : fp.windows.windows)
      if (w.params.kind == WindowKind::Form && !w.params.appWindow && !w.destroyed) ++n;
    return n;
  }

  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TApplication app{ctx};
  TMain* main = nullptr;
  Ttoolabout* upgrade = nullptr;
  Tabout* about = nullptr;
};

using Names = std::vector<std::string>;

TEST_F(UpgradeWindowTest, EachTextHasItsLineCountFirstLineAndTitle) {
  // First and title lines in the 8-bit (Windows-1252) text the memos hold.
  struct Row {
    const char* memo;
    const char* language;
    int lines;
    const char* first;
    const char* title;
  } rows[] = {
      {"Memo1", "English", 24, "Upgrade to", "Velmora System Info Professional 1.0"},
      {"Memo2", "French", 26, "Am\xE9liorez \xE0", "Velmora Information du Syst\xE8me Professionnel 1.0"},
      {"Memo3", "Italian", 25, "Promuova a", "Velmora Informazioni di Sistema Professionale 1.0"},
      {"Memo4", "German", 25, "Steigung zu", "Velmora Systeminformationen Professional 1.0"},
      {"Memo5", "Spanish", 25, "Actualice a", "Velmora Informaci\xF3n del sistema  Profesional 1.0"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.language);
    const TStrings& l = Lines(r.memo);
    ASSERT_EQ(l.Count(), r.lines);
    EXPECT_EQ(TrimLeft(l.Strings(0)), r.first);
    EXPECT_EQ(l.Strings(0).front(), ' ') << "centred by leading blanks";
    EXPECT_EQ(l.Strings(1), "");
    EXPECT_EQ(TrimLeft(l.Strings(2)), r.title);
    EXPECT_EQ(l.Strings(2).front(), ' ');
    EXPECT_EQ(l.Strings(3), "");
    for (int i = 0; i < l.Count(); ++i)
      EXPECT_EQ(l.Strings(i).find('?'), std::string::npos) << "line " << i + 1 << " lost a character: " << l.Strings(i);
  }
}

TEST_F(UpgradeWindowTest, TheEnglishTextIsKeptAsWrittenTyposIncluded) {
  const TStrings& l = Lines("Memo1");
  ASSERT_EQ(l.Count(), 24);
  struct Row {
    int line;  // counted from 1
    std::string text;
  } rows[] = {
      {1, Blanks(53) + "Upgrade to"},
      {3, Blanks(32) + "Velmora System Info Professional 1.0"},
      {5, Blanks(33) + "Advanced System Information Features"},
      {8, "- CPU performance graph (simular to the one in Windows Task Manager)"},
      {12, Blanks(3) + "including network drives with progress bars"},
      {14, "- An indicator to tell you if a specific Internet server (Web - HTML, FTP, POP3/SMTP,"},
      {15, Blanks(2) + "DNS,etc) is on-line."},
      {18, "- Computer Info - CPU, Operating System, Video Resolution, Video Card, Sound Card,"},
      {19, "- Fully Mulitlingual - Displays in 22 Languages"},
      {20, "- Price (including free support and upgrades for 1 year)  20.00 $ U.S. - 17 \x80"},
      {22, "For more information goto   www.velmora.com"},
  };
  for (const Row& r : rows) EXPECT_EQ(l.Strings(r.line - 1), r.text) << "line " << r.line;
}

TEST_F(UpgradeWindowTest, EveryTextEndsWithThePriceAndTheContactLines) {
  for (const char* name : kMemos) {
    SCOPED_TRACE(name);
    const TStrings& l = Lines(name);
    const int n = l.Count();
    ASSERT_GE(n, 24);
    const std::string price = " 20.00 $ U.S. - 17 \x80";  // the euro sign as Windows-1252 0x80
    const std::string& priceLine = l.Strings(n - 5);
    ASSERT_GE(priceLine.size(), price.size());
    EXPECT_EQ(priceLine.substr(priceLine.size() - price.size()), price);
    EXPECT_EQ(priceLine.substr(0, 2), "- ");
    EXPECT_FALSE(l.Strings(n - 4).empty());
    EXPECT_EQ(TrimLeft(l.Strings(n - 4)), "") << "blanks only";
    EXPECT_EQ(l.Strings(n - 3), "For more information goto   www.velmora.com");
    EXPECT_EQ(l.Strings(n - 2), "");
    EXPECT_EQ(l.Strings(n - 1), "or write to   info@velmora.com");
  }
  // The window itself gets the Unicode euro sign back from the 8-bit text.
  OpenUpgrade();
  const WideString shown = fp.windows.Window(Memo("Memo1").Handle()).text;
  EXPECT_NE(shown.find(u"- 17 \u20AC"), WideString::npos) << Utf16ToUtf8(shown);
}

TEST_F(UpgradeWindowTest, TheWindowAndItsPartsSitAtTheirPlaces) {
  EXPECT_EQ(upgrade->Caption(), "Velmora");
  EXPECT_EQ(upgrade->Left(), 224);
  EXPECT_EQ(upgrade->Top(), 113);
  EXPECT_EQ(upgrade->OuterWidth(), 598);
  EXPECT_EQ(upgrade->OuterHeight(), 472);
  EXPECT_EQ(upgrade->BorderStyle(), bsSizeable);
  EXPECT_EQ(upgrade->Color(), clBtnFace);
  EXPECT_EQ(upgrade->Font()->Name(), "MS Sans Serif");
  EXPECT_EQ(upgrade->Font()->Height(), 11);

  struct Row {
    const char* name;
    TRect bounds;
    const char* text;  // window text, UTF-8: a flag button's is its hint
    bool visible;
    int tabOrder;      // -1: not checked
  } rows[] = {
      {"Memo1", {8, 8, 577, 377}, nullptr, true, 0},
      {"Memo2", {8, 8, 577, 377}, nullptr, false, 1},
      {"Memo3", {8, 8, 577, 377}, nullptr, false, 2},
      {"Memo4", {8, 8, 577, 377}, nullptr, false, 3},
      {"Memo5", {8, 8, 577, 377}, nullptr, false, 4},
      {"SpeedButton6", {8, 394, 48, 419}, "English", true, -1},
      {"SpeedButton7", {56, 394, 96, 419}, "French", true, -1},
      {"SpeedButton1", {103, 394, 143, 419}, "German", true, -1},
      {"SpeedButton2", {151, 394, 191, 419}, "Italian", true, -1},
      {"SpeedButton4", {199, 394, 239, 419}, "Spanish", true, -1},
      {"UiURLLabel1", {264, 400, 481, 433}, "www.velmora.com", true, -1},
      {"BitBtn1", {496, 392, 561, 417}, "OK", true, 5},
  };
  OpenUpgrade();
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TControl& c = Part(r.name);
    EXPECT_EQ(c.BoundsRect(), r.bounds);
    EXPECT_EQ(c.Visible(), r.visible);
    if (r.tabOrder >= 0) {
      EXPECT_EQ(c.TabOrder(), r.tabOrder);
    }
    ASSERT_TRUE(c.HandleAllocated());
    if (r.text) {
      EXPECT_EQ(Utf16ToUtf8(fp.windows.Window(c.Handle()).text), r.text);
    }
  }
  struct Flag {
    const char* name;
    const char* glyph;
  } flags[] = {{"SpeedButton6", "FLAG_ENGLISH"},
               {"SpeedButton7", "FLAG_FRENCH"},
               {"SpeedButton1", "FLAG_GERMAN"},
               {"SpeedButton2", "FLAG_ITALIAN"},
               {"SpeedButton4", "FLAG_SPANISH"}};
  for (const Flag& f : flags) {
    auto& b = Part<TSpeedButton>(f.name);
    EXPECT_EQ(b.Glyph(), f.glyph) << f.name;
    EXPECT_TRUE(b.Flat()) << f.name;
    EXPECT_TRUE(b.ShowHint()) << f.name;
  }
  for (const char* name : kMemos) {
    TMemo& m = Memo(name);
    EXPECT_EQ(m.Font()->Color(), clBlue) << name;
    EXPECT_EQ(m.Font()->Style(), fsBold) << name;
    EXPECT_EQ(m.Font()->Height(), 11) << name;
    EXPECT_TRUE(m.WordWrap()) << name;
    EXPECT_EQ(m.ScrollBars(), ssNone) << name;
    EXPECT_FALSE(m.ReadOnly()) << name << ": the user may type into it";
  }
  auto& link = Part<TUiURLLabel>("UiURLLabel1");
  EXPECT_EQ(link.URL(), "http://www.velmora.com");
  EXPECT_EQ(link.Font()->Style(), fsBold | fsUnderline);
  EXPECT_EQ(link.Font()->Height(), 16);
  EXPECT_EQ(Part("BitBtn1").Font()->Color(), clBlue);
  EXPECT_EQ(fp.windows.Window(Part("BitBtn1").Handle()).image, "OK_GLYPH") << "OK shows its picture";
}

TEST_F(UpgradeWindowTest, ItOpensAtItsOuterSizeInAnOrdinarySizeableFrame) {
  OpenUpgrade();
  const fake::FakeWindow& w = fp.windows.Window(upgrade->Handle());
  EXPECT_TRUE(w.params.outerBounds);
  EXPECT_EQ(w.bounds, (TRect{224, 113, 224 + 598, 113 + 472})) << "the whole window, frame included";
  EXPECT_TRUE(w.params.sizeable);
  EXPECT_FALSE(w.params.toolWindow);
  EXPECT_TRUE(w.params.systemMenu);
  EXPECT_TRUE(w.params.minimizeBox);
  EXPECT_TRUE(w.params.maximizeBox);
  // The inside is what the frame leaves (the fake's classic 4-pixel border, 19-pixel caption).
  EXPECT_EQ(upgrade->ClientWidth(), 590);
  EXPECT_EQ(upgrade->ClientHeight(), 445);
  EXPECT_EQ(upgrade->OuterWidth(), 598);
  EXPECT_EQ(upgrade->OuterHeight(), 472);
  // Dragged smaller, OK and the flags would be cut off: the designed size is the least.
  TSize least;
  fp.windows.Deliver(upgrade->Handle(), [&](IWindowEvents& e) { least = e.WmMinSize(); });
  EXPECT_EQ(least, (TSize{598, 472}));
  TSize mainLeast{1, 1};
  fp.windows.Deliver(main->Handle(), [&](IWindowEvents& e) { mainLeast = e.WmMinSize(); });
  EXPECT_EQ(mainLeast, (TSize{0, 0})) << "a tool window of fixed size asks nothing";
  // Owned by the taskbar window, it would be minimised with the main window by a window
  // manager (the whole owner group goes); it stands alone instead.
  EXPECT_EQ(w.params.owner, 0u) << "the upgrade window has no owner";
  EXPECT_EQ(fp.windows.Window(main->Handle()).params.owner, app.Handle());
  EXPECT_NE(app.Handle(), 0u);
}

TEST_F(UpgradeWindowTest, MaximisedItKeepsItsPartsTogetherInItsMiddle) {
  OpenUpgrade();
  struct Row {
    const char* name;
    TRect designed;
    TRect maximised;  // in a 1272 x 970 client area: 682 wider, 525 higher
  } rows[] = {
      {"Memo1", {8, 8, 577, 377}, {349, 270, 918, 639}},
      {"Memo5", {8, 8, 577, 377}, {349, 270, 918, 639}},
      {"SpeedButton6", {8, 394, 48, 419}, {349, 656, 389, 681}},
      {"SpeedButton4", {199, 394, 239, 419}, {540, 656, 580, 681}},
      {"UiURLLabel1", {264, 400, 481, 433}, {605, 662, 822, 695}},
      {"BitBtn1", {496, 392, 561, 417}, {837, 654, 902, 679}},
  };
  auto check = [&](TRect Row::*which, const char* when) {
    for (const Row& r : rows) {
      TControl& c = Part(r.name);
      EXPECT_EQ(c.BoundsRect(), r.*which) << r.name << " " << when;
      EXPECT_EQ(fp.windows.Window(c.Handle()).bounds, r.*which) << r.name << " " << when;
    }
  };
  check(&Row::designed, "as opened");
  // The system sizes the window and tells it its new client area.
  fp.windows.Deliver(upgrade->Handle(), [](IWindowEvents& e) { e.WmSize(1272, 970); });
  check(&Row::maximised, "maximised");
  fp.windows.Deliver(upgrade->Handle(), [](IWindowEvents& e) { e.WmSize(590, 445); });
  check(&Row::designed, "restored");
  fp.windows.Deliver(upgrade->Handle(), [](IWindowEvents& e) { e.WmSize(300, 200); });
  check(&Row::designed, "made smaller: nothing moves out at the top or left");
}

TEST_F(UpgradeWindowTest, TabGoesFromTheShownTextToOkAndBack) {
  OpenUpgrade();
  const WindowHandle form = upgrade->Handle(), ok = Part("BitBtn1").Handle();
  for (const char* flag : {"SpeedButton6", "SpeedButton2"}) {
    Part(flag).Click();
    const WindowHandle text = Memo(VisibleMemos().front().c_str()).Handle();
    EXPECT_FALSE(fp.windows.Window(text).params.wantTabs) << "Tab passes the text on";
    EXPECT_EQ(fp.windows.NextTabStop(form, text, false), ok) << flag;
    EXPECT_EQ(fp.windows.NextTabStop(form, ok, false), text) << flag << ": the hidden texts are passed by";
    EXPECT_EQ(fp.windows.NextTabStop(form, ok, true), text) << flag;
  }
}

TEST_F(UpgradeWindowTest, EachFlagShowsExactlyItsOwnText) {
  struct Row {
    const char* button;
    const char* memo;
  } rows[] = {
      {"SpeedButton7", "Memo2"},  // French
      {"SpeedButton1", "Memo4"},  // German
      {"SpeedButton2", "Memo3"},  // Italian
      {"SpeedButton4", "Memo5"},  // Spanish
      {"SpeedButton6", "Memo1"},  // English
  };
  OpenUpgrade();
  EXPECT_EQ(VisibleMemos(), Names{"Memo1"}) << "English the first time";
  for (const Row& r : rows) {
    Part(r.button).Click();
    EXPECT_EQ(VisibleMemos(), Names{r.memo}) << r.button;
  }
}

TEST_F(UpgradeWindowTest, SpanishThenEnglishLeavesOnlyTheEnglishText) {
  OpenUpgrade();
  Part("SpeedButton4").Click();
  EXPECT_EQ(VisibleMemos(), Names{"Memo5"});
  Part("SpeedButton6").Click();
  EXPECT_EQ(VisibleMemos(), Names{"Memo1"});
}

TEST_F(UpgradeWindowTest, OkHidesTheWindowAndTheNextOpeningShowsTheLastChosenText) {
  OpenUpgrade();
  ASSERT_TRUE(upgrade->Showing());
  const WindowHandle window = upgrade->Handle();
  Part("SpeedButton2").Click();  // Italian
  ClickOk();
  EXPECT_FALSE(upgrade->Showing());
  EXPECT_FALSE(fp.windows.Window(window).visible);
  EXPECT_FALSE(fp.windows.Window(window).destroyed) << "hidden, not destroyed";
  EXPECT_TRUE(main->Showing()) << "only the upgrade window goes";
  EXPECT_FALSE(fp.windows.quitPosted);

  OpenUpgrade();
  EXPECT_TRUE(upgrade->Showing());
  EXPECT_EQ(upgrade->Handle(), window) << "the same window again";
  EXPECT_TRUE(fp.windows.Window(window).visible);
  EXPECT_EQ(VisibleMemos(), Names{"Memo3"});
  EXPECT_EQ(LiveForms(), 2) << "the main window and one upgrade window";
  for (auto& m : fp.windows.messageBoxes) ADD_FAILURE() << m.text;
}

TEST_F(UpgradeWindowTest, TheCloseBoxHidesItLikeOk) {
  OpenUpgrade();
  Part("SpeedButton4").Click();
  bool closes = true;
  fp.windows.Deliver(upgrade->Handle(), [&](IWindowEvents& e) { closes = e.WmClose(); });
  EXPECT_FALSE(closes) << "the window is kept";
  EXPECT_FALSE(upgrade->Showing());
  EXPECT_TRUE(main->Showing());
  OpenUpgrade();
  EXPECT_EQ(VisibleMemos(), Names{"Memo5"});
}

TEST_F(UpgradeWindowTest, SwitchingTheMainWindowToDutchLeavesTheUpgradeTextsAlone) {
  OpenUpgrade();
  Part("SpeedButton7").Click();  // French
  std::vector<std::string> before;
  for (const char* name : kMemos) before.push_back(Memo(name).Text());
  const WideString shownBefore = fp.windows.Window(Memo("Memo2").Handle()).text;

  main->Get<TControl>("SpeedButton8").Click();
  ASSERT_EQ(main->Get<TControl>("Label1").Caption(), "Dutch") << "the main window did switch";

  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(Memo(kMemos[i]).Text(), before[i]) << kMemos[i];
  EXPECT_EQ(fp.windows.Window(Memo("Memo2").Handle()).text, shownBefore);
  EXPECT_EQ(VisibleMemos(), Names{"Memo2"});
  EXPECT_EQ(upgrade->Caption(), "Velmora");
  EXPECT_EQ(Part("SpeedButton7").Hint(), "French");
  EXPECT_EQ(Part("BitBtn1").Caption(), "OK");
  for (auto& m : fp.windows.messageBoxes) ADD_FAILURE() << m.text;
}

TEST_F(UpgradeWindowTest, TheLinkOpensTheHomePageAndTurnsPurpleOnlyWhenItOpened) {
  OpenUpgrade();
  auto& link = Part<TUiURLLabel>("UiURLLabel1");
  EXPECT_EQ(link.Font()->Color(), clBlue) << "its own blue until visited";
  fp.shell.openSucceeds = false;
  link.Click();
  ASSERT_EQ(fp.shell.opened, (Names{"http://www.velmora.com"}));
  EXPECT_FALSE(link.Visited());
  EXPECT_EQ(link.Font()->Color(), clBlue);
  fp.shell.openSucceeds = true;
  link.Click();
  EXPECT_TRUE(link.Visited());
  EXPECT_EQ(link.Font()->Color(), clPurple);
}

TEST_F(UpgradeWindowTest, TheAboutWindowIsEmptyAndNeverShown) {
  EXPECT_EQ(about->Caption(), "about");
  EXPECT_EQ(about->Left(), 360);
  EXPECT_EQ(about->Top(), 417);
  EXPECT_EQ(about->OuterWidth(), 364);
  EXPECT_EQ(about->OuterHeight(), 234);
  EXPECT_EQ(about->BorderStyle(), bsSizeable);
  EXPECT_EQ(about->Color(), clBtnFace);
  EXPECT_EQ(about->Font()->Name(), "MS Sans Serif");
  EXPECT_EQ(about->ComponentCount(), 0);
  OpenUpgrade();
  ClickOk();
  OpenUpgrade();
  EXPECT_FALSE(about->Showing());
  EXPECT_FALSE(about->HandleAllocated()) << "no window was ever made for it";
}

}  // namespace
}  // namespace vsi
