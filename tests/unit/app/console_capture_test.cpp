#include "app/console_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/forms.h"

namespace vsi {
namespace {

using fake::ChildScript;

constexpr char kIpconfig[] = "C:\\WINDOWS\\system32\\ipconfig.exe";

class CaptureTest : public ::testing::Test {
 protected:
  void Capture() { CaptureConsoleOutput(ctx.platform(), kIpconfig, "ipconfig /all", *memo); }
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TApplication app{ctx};
  TForm* form = app.CreateForm<TForm>();
  TMemo* memo = new TMemo(form);
};

TEST_F(CaptureTest, AChildThatEndsAtOnceIsCollectedInOnePass) {
  fp.processes.Script(kIpconfig, {{"Host Name . . : velmora\r\n", "Node Type . . : Hybrid\r\n"}, 1});
  memo->SetText("before ");
  Capture();
  EXPECT_EQ(fp.processes.waitCalls, 1);
  EXPECT_EQ(fp.processes.waitTimeouts, std::vector<uint32_t>{100});
  EXPECT_EQ(memo->Text(), "before Host Name . . : velmora\r\nNode Type . . : Hybrid\r\n");
  ASSERT_EQ(fp.processes.starts.size(), 1u);
  EXPECT_EQ(fp.processes.starts[0].applicationPath, kIpconfig);
  EXPECT_EQ(fp.processes.starts[0].commandLine, "ipconfig /all");
  EXPECT_EQ(fp.processes.openChildren, 0) << "handles closed";
}

TEST_F(CaptureTest, NothingWrittenOrNothingStartedLeavesTheMemoAsItWas) {
  fp.processes.Script(kIpconfig, {{}, 2});
  memo->SetText("kept");
  Capture();
  EXPECT_EQ(memo->Text(), "kept");
  fp.processes.Script(kIpconfig, {{"x"}, 1, true});
  Capture();
  EXPECT_EQ(memo->Text(), "kept");
}

// A child that never ends: about 15 s of waiting, during which the window never goes longer
// than one 100 ms wait without handling its messages, and those that arrive during a wait are
// handled at once; then the child is ended and what it wrote is kept.
TEST_F(CaptureTest, AChildThatNeverEndsIsEndedAfterAboutFifteenSecondsWhileTheWindowAnswers) {
  fp.processes.Script(kIpconfig, {{"first\r\n", "second\r\n"}, -1});
  fp.processes.messagesDuringWaits = {1, 70, 140};  // a click early, midway, late
  auto waited = [&] {
    uint32_t ms = 0;
    for (uint32_t t : fp.processes.waitTimeouts) ms += t;
    return ms;
  };
  uint32_t lastHandled = 0, longestWithout = 0;
  std::map<int, int> handledInWait;  // message handling by the wait it happened in (or after)
  fp.windows.onProcessMessages = [&] {
    longestWithout = std::max(longestWithout, waited() - lastHandled);
    lastHandled = waited();
    ++handledInWait[fp.processes.waitCalls];
  };
  Capture();
  EXPECT_GE(waited(), 14000u) << "given about 15 s to end by itself";
  EXPECT_LE(waited(), 16000u) << "and not much more";
  EXPECT_LE(longestWithout, 100u) << "messages handled at least every 100 ms of waiting";
  EXPECT_EQ(waited() - lastHandled, 0u) << "and after the last wait";
  for (int wait : fp.processes.messagesDuringWaits)
    EXPECT_EQ(handledInWait[wait], handledInWait[wait + 1] + 1) << "a message arriving in wait " << wait
                                                                 << " is handled then, not only after it";
  EXPECT_EQ(fp.processes.blockedReads, 0) << "never reads what is not there";
  EXPECT_EQ(memo->Text(), "first\r\nsecond\r\n") << "what it wrote is kept";
  EXPECT_EQ(fp.processes.terminations, 1);
  EXPECT_EQ(fp.processes.leftRunning, 0) << "no child outlives the capture";
}

TEST_F(CaptureTest, AFailedPeekEndsTheLoopWithWhatWasCollected) {
  ChildScript script{{"a", "b", "c"}, -1};
  script.peekFailsFrom = 2;
  fp.processes.Script(kIpconfig, script);
  Capture();
  EXPECT_EQ(fp.processes.waitCalls, 2);
  EXPECT_EQ(memo->Text(), "ab");
  EXPECT_EQ(fp.processes.leftRunning, 0);
}

TEST_F(CaptureTest, ClosingTheWindowDuringTheCaptureEndsTheChildAtOnce) {
  form->Show();
  fp.processes.Script(kIpconfig, {{"a", "b"}, -1});
  fp.windows.onProcessMessages = [&] {
    if (fp.processes.waitCalls == 3 && form->HandleAllocated()) form->Close();
  };
  Capture();
  EXPECT_TRUE(fp.windows.quitPosted);
  EXPECT_EQ(fp.processes.waitCalls, 3) << "not up to 15 s more";
  EXPECT_EQ(fp.processes.terminations, 1);
  EXPECT_EQ(fp.processes.leftRunning, 0);
  EXPECT_EQ(fp.processes.openChildren, 0);
}

TEST_F(CaptureTest, OutputStopsAtTheFirstZeroByteAndIsConvertedFromOem) {
  // 0x82 0xB3 in code page 437 are e-acute and a box-drawing bar.
  fp.processes.Script(kIpconfig, {{std::string("caf\x82 \xb3", 6) + std::string(1, '\0') + "hidden"}, 1});
  Capture();
  EXPECT_EQ(memo->Text(), "caf\xe9 \xa6");
}

TEST_F(CaptureTest, MoreThanOneMebibyteIsCutNeverOverflowed) {
  std::string big(700 * 1024, 'a');
  fp.processes.Script(kIpconfig, {{big, big, big}, 3});
  Capture();
  EXPECT_EQ(memo->Text().size(), static_cast<size_t>(kCaptureLimit));
}

TEST_F(CaptureTest, AHandlerRunningMidCaptureDoesNotDisturbIt) {
  fp.processes.Script(kIpconfig, {{"a", "b", "c"}, 3});
  int reentered = 0;
  fp.windows.onProcessMessages = [&] { ++reentered; };
  Capture();
  EXPECT_EQ(reentered, 3);
  EXPECT_EQ(memo->Text(), "abc");
}

TEST_F(CaptureTest, MessagesArrivingDuringAWaitAreDispatchedBeforeThePassEnds) {
  // The window answers (a click, another program asking for a slot's text) without waiting
  // for the 100 ms pass to end.
  fp.processes.Script(kIpconfig, {{"a", "b", "c"}, 3});
  fp.processes.messagesDuringWaits = {1, 2};
  Capture();
  EXPECT_EQ(fp.processes.dispatchesDuringWaits, 2);
  EXPECT_EQ(fp.windows.processMessagesCalls, 3 + 2);
  EXPECT_EQ(memo->Text(), "abc");
}

}  // namespace
}  // namespace vsi
