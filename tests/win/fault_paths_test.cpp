// Fault paths of the real platform under Wine: what a captured child inherits and how it is
// ended, the shell's COM apartment, and the error box of a timer that keeps failing.
#include "platform/win32/win32_api.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "child_probe.h"
#include "framework/context.h"
#include "framework/exceptions.h"
#include "framework/forms.h"
#include "framework/timer.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_windows.h"

namespace vsi {
namespace {

using child_probe::ChildEnvironment;
using child_probe::ThisProgram;

// Waits for the child in passes, reading what it writes, as the capture does.
std::string Collect(IChildProcess& child, bool& ended, int passes = 100) {
  std::string out;
  ended = false;
  for (int pass = 0; pass < passes && !ended; ++pass) {
    ended = child.Wait(100, [] {});
    uint32_t n = 0;
    if (!child.Available(n)) break;
    if (n) {
      std::string chunk(n, '\0');
      chunk.resize(child.Read(reinterpret_cast<uint8_t*>(chunk.data()), n));
      out += chunk;
    }
  }
  return out;
}

std::string Cmd() { return Win32System().GetSystemDirectory() + "\\cmd.exe"; }

TEST(Win32CapturedChild, InheritsThePipesWriteEndAndNothingElse) {
  // An inheritable handle of ours that a child would get with every other one.
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  ASSERT_TRUE(SetHandleInformation(event, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT));
  Win32Processes processes;
  std::unique_ptr<IChildProcess> child;
  {
    ChildEnvironment probe("VSI_CHILD_PROBE", "signal:" + std::to_string(reinterpret_cast<uintptr_t>(event)));
    child = processes.StartCaptured(ThisProgram(), "win_tests.exe");
  }
  ASSERT_NE(child, nullptr);
  bool ended = false;
  Collect(*child, ended, 300);
  EXPECT_TRUE(ended);
  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the child held our event";
  CloseHandle(event);
}

TEST(Win32CapturedChild, StandardErrorArrivesInTheSamePipe) {
  Win32Processes processes;
  auto child = processes.StartCaptured(Cmd(), "cmd.exe /c echo velmora-out& echo velmora-error 1>&2");
  ASSERT_NE(child, nullptr);
  bool ended = false;
  std::string out = Collect(*child, ended);
  EXPECT_TRUE(ended);
  EXPECT_NE(out.find("velmora-out"), std::string::npos) << out;
  EXPECT_NE(out.find("velmora-error"), std::string::npos) << out;
}

TEST(Win32CapturedChild, APeekAfterTheEndFailsAndTerminateEndsARunningChild) {
  Win32Processes processes;
  auto quick = processes.StartCaptured(Cmd(), "cmd.exe /c echo x");
  ASSERT_NE(quick, nullptr);
  bool ended = false;
  Collect(*quick, ended);
  ASSERT_TRUE(ended);
  // Nothing left and nobody to write: the pipe is broken. (Wine may signal the process a
  // moment before it has closed the child's handles.)
  uint32_t n = 0;
  bool peeked = true;
  for (int i = 0; i < 50 && peeked; ++i) {
    peeked = quick->Available(n);
    if (peeked) Sleep(20);
  }
  EXPECT_FALSE(peeked) << n << " bytes";

  std::unique_ptr<IChildProcess> sleeper;
  {
    ChildEnvironment probe("VSI_CHILD_PROBE", "sleep");
    sleeper = processes.StartCaptured(ThisProgram(), "win_tests.exe");
  }
  ASSERT_NE(sleeper, nullptr);
  EXPECT_FALSE(sleeper->Wait(200, [] {})) << "it sleeps for a minute";
  sleeper->Terminate();
  EXPECT_TRUE(sleeper->Wait(5000, [] {}));
  sleeper->Terminate();  // ended already: nothing happens
}

TEST(Win32ShellOpen, CallsTheShellInAnApartmentThreadedComThreadAndGivesItBack) {
  HRESULT during = E_FAIL;
  Win32Shell shell;
  shell.execute = [&](SHELLEXECUTEINFOA& info) {
    // S_FALSE: COM is already there, apartment-threaded.
    during = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(during)) CoUninitialize();
    EXPECT_STREQ(info.lpFile, "https://www.velmora.com/");
    return false;
  };
  EXPECT_FALSE(shell.ShellOpen("https://www.velmora.com/"));
  EXPECT_EQ(during, S_FALSE);
  HRESULT after = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  EXPECT_EQ(after, S_OK) << "no apartment left behind";
  if (SUCCEEDED(after)) CoUninitialize();
}

// Counts the message boxes ("#32770" dialogs) of one thread that are open at one time.
BOOL CALLBACK CountDialog(HWND hwnd, LPARAM count) {
  char cls[16] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (std::string(cls) == "#32770" && IsWindowVisible(hwnd)) ++*reinterpret_cast<int*>(count);
  return TRUE;
}
BOOL CALLBACK CloseDialog(HWND hwnd, LPARAM) {
  char cls[16] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (std::string(cls) == "#32770") PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
  return TRUE;
}

TEST(Win32ErrorBox, ATimerThatKeepsFailingOpensOneBoxAtATime) {
  Win32Locale locale;
  Win32WindowSystem windows(GetModuleHandleA(nullptr));
  Win32Platform platform(locale, windows);
  AppContext context(platform.platform());
  TApplication app(context);
  app.SetTitle("Velmora Error Box Test");
  app.CreateHandle();
  std::atomic<bool> stop{false}, done{false};
  auto* timer = new TTimer(&app);
  timer->SetInterval(50);
  timer->SetOnTimer([&](TObject*) {
    if (stop) {
      windows.PostQuit(0);
      return;
    }
    throw Exception("Unable to locate the \"Processor\" performance object");
  });
  // Another thread looks at this one's windows: the boxes are modal, so this thread sits in
  // their loops while they are open.
  const DWORD self = GetCurrentThreadId();
  int most = 0, seenOpen = 0;
  std::thread watcher([&] {
    for (int i = 0; i < 40; ++i) {
      Sleep(50);
      int open = 0;
      EnumThreadWindows(self, CountDialog, reinterpret_cast<LPARAM>(&open));
      if (open > most) most = open;
      if (open > 0) ++seenOpen;
    }
    stop = true;
    for (int i = 0; i < 200 && !done; ++i) {
      EnumThreadWindows(self, CloseDialog, 0);
      Sleep(50);
    }
  });
  windows.RunMessageLoop();
  done = true;
  watcher.join();
  EXPECT_GT(seenOpen, 0) << "the failure was shown";
  EXPECT_EQ(most, 1) << "one box at a time, not a box inside the box every tick";
}

}  // namespace
}  // namespace vsi
