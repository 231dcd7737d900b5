#include "controls/ui_labels.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
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

TEST_F(UiLabelsTest, ClocksShareOnePollingTimerThatEndsWithTheLast) {
  auto* a = new TUiClockStatus(form);
  auto* b = new TUiClockStatus(form);
  EXPECT_EQ(fp.windows.ArmedTimers(), 1u);
  EXPECT_EQ(fp.windows.timers.begin()->second.interval, 500u / kTimerSpeedUp);
  delete a;
  EXPECT_EQ(fp.windows.ArmedTimers(), 1u);
  delete b;
  EXPECT_EQ(fp.windows.ArmedTimers(), 0u);
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

TEST_F(UiLabelsTest, LinkLabelNeverHandsProgramsToTheShell) {
  auto* link = new TUiURLLabel(form);
  for (const char* target : {"C:\\windows\\system32\\calc.exe", "file:///C:/x.htm", "cmd /c del"}) {
    link->SetURL(target);
    link->Click();
  }
  EXPECT_TRUE(fp.shell.opened.empty());
  EXPECT_TRUE(fp.shell.runs.empty());
  link->SetURL("mailto:info@velmora.com");
  link->Click();
  EXPECT_EQ(fp.shell.opened.size(), 1u);
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

}  // namespace
}  // namespace vsi
