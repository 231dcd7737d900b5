#include "controls/ui_labels.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "fakes/fake_platform.h"
#include "framework/second_ticker.h"
#include "framework/context.h"
#include "framework/forms.h"

namespace vsi {
namespace {

class UiLabelsTest : public ::testing::Test {
 protected:
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TApplication app{ctx};
  TForm* form = app.CreateForm<TForm>();
};

TEST_F(UiLabelsTest, ClockUsesTheTimeSeparatorAndRedrawsOnlyWhenTheTextChanges) {
  fp.system.localTime = {2024, 6, 1, 14, 9, 5, 3, 0};
  auto* clock = new TUiClockStatus(form);
  clock->SetFormat("hh:nn:ss");
  clock->Loaded();
  EXPECT_EQ(clock->Text(), "09:05:03");
  int redraws = clock->Redraws();
  fp.windows.TickTimers();
  fp.windows.TickTimers();
  EXPECT_EQ(clock->Redraws(), redraws) << "two ticks in the same second draw nothing new";
  ctx.format().timeSeparator = '.';
  fp.system.localTime = {2024, 6, 1, 14, 9, 5, 4, 0};
  fp.windows.TickTimers();
  EXPECT_EQ(clock->Text(), "09.05.04");
  EXPECT_EQ(clock->Redraws(), redraws + 1);
}

TEST_F(UiLabelsTest, ClockWindowTextGoesThroughTheCodePage) {
  fp.system.localTime = {2024, 6, 1, 14, 9, 5, 3, 0};
  auto* clock = new TUiClockStatus(form);
  clock->SetParent(form);
  form->HandleNeeded();
  const WideString& shown = fp.windows.Window(clock->Handle()).text;
  struct Case {
    const char* name;
    const char* format;  // code page 1252
    WideString expected;
  } cases[] = {
      {"letters beyond ASCII", "hh:nn \"\xE9t\xE9\"", u"09:05 \u00e9t\u00e9"},
      {"ASCII after a longer text", "hh:nn:ss", u"09:05:03"},
      {"the euro sign", "hh \"\x80\"", u"09 \u20ac"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clock->SetFormat(c.format);
    EXPECT_EQ(shown, c.expected);
  }
}

TEST_F(UiLabelsTest, ClocksShareOnePollingTimerThatEndsWithTheLast) {
  auto* a = new TUiClockStatus(form);
  auto* b = new TUiClockStatus(form);
  EXPECT_EQ(fp.windows.ArmedTimers(), 1u);
  delete a;
  EXPECT_EQ(fp.windows.ArmedTimers(), 1u);
  delete b;
  EXPECT_EQ(fp.windows.ArmedTimers(), 0u);
}

// A clock that shows whole seconds is asked on the second's tick; one that shows milliseconds,
// or asks less often than every second, keeps a timer of its own at its interval.
TEST_F(UiLabelsTest, ClocksOnWholeSecondsGoWithTheSecond) {
  struct Case {
    const char* name;
    const char* format;
    int interval;
    bool onTheSecond;
  } cases[] = {
      {"whole seconds, asked twice a second", "hh:nn:ss", 500, true},
      {"whole seconds, asked every second", "hh:nn:ss", 1000, true},
      {"milliseconds shown", "ss.zzz", 500, false},
      {"asked every five seconds", "hh:nn", 5000, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto clock = std::make_unique<TUiClockStatus>(form);
    clock->SetFormat(c.format);
    clock->SetInterval(c.interval);
    fp.windows.TickTimers();  // a tick settles where the clock is asked
    PollingTimer& polling = ctx.Service<PollingTimer>();
    ASSERT_EQ(fp.windows.ArmedTimers(), 1u);
    if (kTimerSpeedUp != 1 || !c.onTheSecond) {
      EXPECT_FALSE(polling.OnTheSecond());
      EXPECT_EQ(fp.windows.timers.at(polling.Timer()).interval, static_cast<uint32_t>(c.interval / kTimerSpeedUp));
    } else {
      EXPECT_TRUE(polling.OnTheSecond());
      EXPECT_EQ(polling.Timer(), 0u);
      EXPECT_TRUE(fp.windows.timers.count(ctx.Service<SecondTicker>().Timer()));
    }
  }
}

// A format that starts to show milliseconds takes the clock off the second at the next tick,
// and back when it stops.
TEST_F(UiLabelsTest, ClockLeavesTheSecondWhenItsFormatShowsMilliseconds) {
  if (kTimerSpeedUp != 1) GTEST_SKIP() << "the soak build keeps its sped-up timers";
  auto clock = std::make_unique<TUiClockStatus>(form);
  clock->SetFormat("hh:nn:ss");
  PollingTimer& polling = ctx.Service<PollingTimer>();
  ASSERT_TRUE(polling.OnTheSecond());
  clock->SetFormat("nn:ss.zzz");
  fp.windows.TickTimers();
  EXPECT_FALSE(polling.OnTheSecond());
  EXPECT_EQ(fp.windows.timers.at(polling.Timer()).interval, 500u);
  EXPECT_EQ(fp.windows.ArmedTimers(), 1u) << "the second's timer ended with its last use";
  clock->SetFormat("hh:nn:ss");
  fp.windows.TickTimers();
  EXPECT_TRUE(polling.OnTheSecond());
  EXPECT_EQ(fp.windows.ArmedTimers(), 1u);
}

TEST_F(UiLabelsTest, ClockWithoutFormatShowsTheDefaultDateAndTime) {
  fp.system.localTime = {2024, 6, 1, 14, 9, 5, 3, 0};
  ctx.format().shortDateFormat = "dd/mm/yyyy";
  ctx.format().longTimeFormat = "hh:nn:ss";
  auto* clock = new TUiClockStatus(form);
  clock->Loaded();
  EXPECT_EQ(clock->Text(), "14/06/2024 09:05:03");
}

TEST_F(UiLabelsTest, LinkLabelOpensItsUrlOrCaptionAndTurnsVisited) {
  auto* link = new TUiURLLabel(form);
  link->SetCaption("www.velmora.com");
  link->SetURL("  http://www.velmora.com/index_fr.html ");
  TColor before = link->Font()->Color();
  link->Click();
  ASSERT_EQ(fp.shell.opened.size(), 1u);
  EXPECT_EQ(fp.shell.opened[0], "http://www.velmora.com/index_fr.html") << "the URL, trimmed";
  EXPECT_TRUE(link->Visited());
  EXPECT_EQ(link->Font()->Color(), clPurple);
  EXPECT_NE(before, clPurple) << "the font colour is set only when Visited is assigned";

  auto* plain = new TUiURLLabel(form);
  plain->SetCaption("http://www.velmora.com");
  plain->Click();
  EXPECT_EQ(fp.shell.opened.back(), "http://www.velmora.com") << "an empty URL opens the caption";

  auto* blank = new TUiURLLabel(form);
  blank->SetCaption("   ");
  size_t calls = fp.shell.opened.size();
  blank->Click();
  EXPECT_EQ(fp.shell.opened.size(), calls) << "nothing to open";
}

TEST_F(UiLabelsTest, FailedHtmOpenStartsTheChooserByFullPathAndOthersStaySilent) {
  fp.shell.openSucceeds = false;
  fp.system.systemDirectory = "C:\\windows\\system32";
  auto* link = new TUiURLLabel(form);
  link->SetURL("http://www.velmora.com/page.htm");
  link->Click();
  EXPECT_FALSE(link->Visited());
  ASSERT_EQ(fp.shell.runs.size(), 1u);
  EXPECT_EQ(fp.shell.runs[0].first, "C:\\windows\\system32\\rundll32.exe");
  EXPECT_EQ(fp.shell.runs[0].second, "RunDLL32.exe Shell32.dll,OpenAs_RunDLL *.htm");
  link->SetURL("http://www.velmora.com/index_fr.html");
  link->Click();
  EXPECT_EQ(fp.shell.runs.size(), 1u) << ".html is not .htm";
  EXPECT_TRUE(fp.windows.messageBoxes.empty()) << "failures are not reported";
}

// What a label's URL may be (from the window description or a dictionary file beside the
// program): only web and mail addresses reach the shell, exactly as written; anything else
// opens nothing and starts nothing, not even the chooser of a failed ".htm".
TEST_F(UiLabelsTest, LinkLabelOpensOnlyWebAndMailAddresses) {
  struct Case {
    const char* name;
    const char* url;
    bool opens;
  };
  const Case cases[] = {
      {"http", "http://www.velmora.com/index_fr.html", true},
      {"https with query, escape and fragment", "https://www.velmora.com/a?b=1&c=%20d#top", true},
      {"scheme in capitals", "HTTP://WWW.VELMORA.COM/", true},
      {"scheme in mixed case", "HtTpS://velmora.com", true},
      {"mailto", "mailto:info@velmora.com", true},
      {"mailto with subject", "MAILTO:info@velmora.com?subject=Upgrade", false},
      {"mailto with attachment", "mailto:info@velmora.com?attach=C:/Users/x/Documents/secret.docx", false},
      {"mailto with body", "mailto:info@velmora.com?body=Send%20me%20everything", false},
      {"mailto with escaped question mark", "mailto:info@velmora.com%3Fattach=x", false},
      {"program by full path", "C:\\windows\\system32\\calc.exe", false},
      {"program by name", "calc.exe", false},
      {"relative path up", "..\\evil.exe", false},
      {"relative path up, forward slash", "../evil.htm", false},
      {"UNC path", "\\\\evil-host\\share\\payload.exe", false},
      {"file URL", "file:///C:/x.htm", false},
      {"file URL of a share", "FILE://evil-host/share/payload.exe", false},
      {"javascript", "javascript:alert(1)", false},
      {"vbscript", "vbscript:msgbox(1)", false},
      {"search protocol", "search-ms:query=x&crumb=location:\\\\evil-host\\share", false},
      {"other protocol handler", "ms-settings:", false},
      {"ftp", "ftp://velmora.com/x.exe", false},
      {"scheme without slashes", "http:evil.exe", false},
      {"look-alike scheme", "httpx://velmora.com", false},
      {"scheme after a blank", "x http://velmora.com", false},
      {"command line", "cmd /c del", false},
      {"scheme alone", "https://", false},
      {"mailto alone", "mailto:", false},
      {"quote that ends the handler's argument", "http://velmora.com\" --user-data-dir=C:\\x", false},
      {"blank inside", "http://velmora.com/a b", false},
      {"line break inside", "mailto:a@velmora.com\r\nbcc:b@velmora.com", false},
      {"tab inside", "http://velmora.com/\tx", false},
      {"backslash inside", "http://velmora.com\\..\\evil.exe", false},
      {"non-ASCII byte", "http://velmora.com/\xe9", false},
  };
  fp.shell.openSucceeds = false;  // a refused ".htm" would start the chooser: it must not
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* link = new TUiURLLabel(form);
    link->SetCaption("www.velmora.com");
    link->SetURL(c.url);
    size_t opened = fp.shell.opened.size();
    link->Click();
    if (c.opens) {
      ASSERT_EQ(fp.shell.opened.size(), opened + 1);
      EXPECT_EQ(fp.shell.opened.back(), c.url);
    } else {
      EXPECT_EQ(fp.shell.opened.size(), opened);
    }
    EXPECT_TRUE(fp.shell.runs.empty());
    EXPECT_FALSE(link->Visited());
  }
}

TEST_F(UiLabelsTest, ACaptionThatIsNoAddressOpensNothingEither) {
  // "www.velmora.com" without a scheme is also the name of a .com program, which the shell
  // would look for in the current folder.
  for (const char* caption : {"C:\\windows\\system32\\calc.exe", "file:///C:/x.htm", "www.velmora.com"}) {
    auto* link = new TUiURLLabel(form);
    link->SetCaption(caption);
    link->Click();
  }
  EXPECT_TRUE(fp.shell.opened.empty());
  EXPECT_TRUE(fp.shell.runs.empty());
}

TEST_F(UiLabelsTest, WideLabelDrawsItsUnicodeCaptionWithHotkeyPrefixes) {
  auto* label = new TWideLabel(form);
  label->SetParent(form);
  label->SetCaption(u"R&D \u20ac");
  form->Show();
  EXPECT_EQ(fp.windows.Window(label->Handle()).text, u"R&D \u20ac");
  auto canvas = fp.windows.Paint(label->Handle());
  ASSERT_EQ(canvas.Texts().size(), 1u);
  EXPECT_EQ(canvas.Texts()[0], "R&D \xe2\x82\xac");
  auto op = std::find_if(canvas.ops.begin(), canvas.ops.end(),
                         [](const fake::CanvasOp& o) { return o.kind == fake::CanvasOp::Kind::DrawTextW; });
  EXPECT_EQ(op->flags & DT_NOPREFIX_, 0u) << "& underlines the next character";
  const PropInfo* caption = label->ClassType().FindProperty("Caption");
  EXPECT_EQ(caption->kind, PropKind::WideText);
}

TEST_F(UiLabelsTest, ClockFramesAreDrawnAsTheirStyleSays) {
  using Kind = fake::CanvasOp::Kind;
  // One line of a frame: its colour and its ends.
  struct Line {
    TColor pen;
    TPoint from, to;
    bool operator==(const Line&) const = default;
  };
  const TColor hi = clBtnHighlight, sh = clBtnShadow;
  // A 73 x 17 clock: the top and left edges, then the right and bottom ones.
  auto edges = [](TColor topLeft, TColor bottomRight, int inset) {
    const int l = inset, t = inset, r = 72 - inset, b = 16 - inset;
    return std::vector<Line>{{topLeft, {l, b}, {l, t}},
                             {topLeft, {l, t}, {r, t}},
                             {bottomRight, {r, t}, {r, b}},
                             {bottomRight, {r, b}, {l - 1, b}}};
  };
  struct Row {
    const char* name;
    TUiFrameStyle style;
    int width;
    std::vector<Line> lines;
    int frames;  // one-colour frames (flat)
  } rows[] = {
      {"raised", fsRaised, 1, edges(hi, sh, 0), 0},
      {"lowered", fsLowered, 1, edges(sh, hi, 0), 0},
      {"lowered, two pixels", fsLowered, 2, [&] {
         auto lines = edges(sh, hi, 0);
         for (const Line& l : edges(sh, hi, 1)) lines.push_back(l);
         return lines;
       }(), 0},
      {"flat", fsFlat, 1, {}, 1},
      {"none", fsNone, 1, {}, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    auto* clock = new TUiClockStatus(form);
    clock->SetParent(form);
    clock->SetBounds(328, 4, 73, 17);
    clock->SetFrameStyle(r.style);
    clock->SetBorderWidth(r.width);
    fake::RecordingCanvas canvas;
    clock->Paint(canvas);
    std::vector<Line> lines;
    int frames = 0;
    for (const auto& op : canvas.ops) {
      if (op.kind == Kind::LineTo) lines.push_back({op.pen, op.points[0], op.points[1]});
      if (op.kind == Kind::FrameRect) {
        ++frames;
        EXPECT_EQ(op.brush, clBtnShadow) << "in FlatColor";
      }
    }
    EXPECT_EQ(lines, r.lines);
    EXPECT_EQ(frames, r.frames);
    delete clock;
  }
}

TEST_F(UiLabelsTest, ADisabledLabelIsDrawnEngraved) {
  auto* plain = new TLabel(form);
  plain->SetCaption("Memory Used");
  auto* wide = new TWideLabel(form);
  wide->SetCaption(u"Free Space");
  for (TLabel* label : {plain, static_cast<TLabel*>(wide)}) {
    SCOPED_TRACE(label->ClassName());
    label->SetParent(form);
    label->SetBounds(8, 16, 105, 13);
    label->Font()->SetColor(clWhite);
    struct Drawn {
      TColor color;
      TRect rect;
      bool operator==(const Drawn&) const = default;
    };
    auto texts = [&] {
      fake::RecordingCanvas canvas;
      label->Paint(canvas);
      std::vector<Drawn> out;
      for (const auto& op : canvas.ops)
        if (op.kind == fake::CanvasOp::Kind::DrawTextW) out.push_back({op.font.color, op.rect});
      return out;
    };
    EXPECT_EQ(texts(), (std::vector<Drawn>{{clWhite, {0, 0, 105, 13}}})) << "enabled: once, in its colour";
    label->SetEnabled(false);
    EXPECT_EQ(texts(), (std::vector<Drawn>{{clBtnHighlight, {1, 1, 106, 14}}, {clBtnShadow, {0, 0, 105, 13}}}))
        << "disabled: highlight one pixel down and right, shadow over it";
  }
}

}  // namespace
}  // namespace vsi
