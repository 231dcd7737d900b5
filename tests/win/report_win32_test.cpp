// The clipboard, the program's own streams and files, and the shipped toolbar1.exe's report
// through a redirected standard output and with no console at all, on the real system (run
// under Wine).
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "framework/clipboard.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_windows.h"

namespace vsi {
namespace {

std::wstring ReadClipboardText() {
  std::wstring text;
  for (int attempt = 0; attempt < 50 && !::OpenClipboard(nullptr); ++attempt) ::Sleep(20);
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(::GlobalLock(data))) {
      text = p;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

class Win32ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The clipboard is opened for a window, as the main window does: Wine lets two openers
    // that both give none share it.
    owner = ::CreateWindowExW(0, L"STATIC", L"clipboard owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                              nullptr);
    ASSERT_NE(owner, nullptr);
  }
  void TearDown() override { ::DestroyWindow(owner); }
  WindowHandle Owner() const { return reinterpret_cast<WindowHandle>(owner); }
  HWND owner = nullptr;
  Win32Locale locale;
  Win32WindowSystem windows{::GetModuleHandleW(nullptr)};
  Win32Platform real{locale, windows};
  Platform p = real.platform();
};

TEST_F(Win32ClipboardTest, UnicodeTextReadsBackAsPut) {
  const WideString text = u"Velmora \u00e9\u00e8 \u20ac\r\nsecond line";
  ASSERT_EQ(CopyTextToClipboard(p, Owner(), text), ClipboardResult::Copied);
  EXPECT_EQ(ReadClipboardText(), L"Velmora \u00e9\u00e8 \u20ac\r\nsecond line");
  EXPECT_TRUE(::OpenClipboard(nullptr)) << "closed again";
  ::CloseClipboard();
}

// The build root: toolbar1.exe and e2e_driver.exe lie one folder above this test.
std::string BuildRoot() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir = path;
  dir.resize(dir.find_last_of('\\'));      // tests
  dir.resize(dir.find_last_of('\\') + 1);  // the build root
  return dir;
}

TEST_F(Win32ClipboardTest, HeldByAnotherProgramIsBusyThenFree) {
  ASSERT_EQ(CopyTextToClipboard(p, Owner(), u"before"), ClipboardResult::Copied);
  // Another program keeps it open for 1.5 s and says "held" once it has it.
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read, write;
  ASSERT_TRUE(::CreatePipe(&read, &write, &inherit, 0));
  ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = write;
  std::string line = "\"" + BuildRoot() + "e2e_driver.exe\" hold-clipboard 1500";
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) << line;
  ::CloseHandle(write);
  char said[16] = {};
  DWORD n = 0;
  ::ReadFile(read, said, sizeof said - 1, &n, nullptr);
  ASSERT_EQ(std::string(said).substr(0, 4), "held");
  DWORD start = ::GetTickCount();
  EXPECT_EQ(CopyTextToClipboard(p, Owner(), u"while held"), ClipboardResult::Busy);
  EXPECT_LT(::GetTickCount() - start, 2000u) << "a few short tries, no long wait";
  ::WaitForSingleObject(pi.hProcess, 10000);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  ::CloseHandle(read);
  EXPECT_EQ(ReadClipboardText(), L"before") << "nothing was put while it was held";
  EXPECT_EQ(CopyTextToClipboard(p, Owner(), u"after"), ClipboardResult::Copied);
  EXPECT_EQ(ReadClipboardText(), L"after");
}

std::string TempFolder() {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "vsi-report-" + std::to_string(::GetCurrentProcessId());
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::string ReadFile(const std::string& path) {
  std::string out;
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<missing>";
  char buffer[4096];
  DWORD n = 0;
  while (::ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n > 0) out.append(buffer, n);
  ::CloseHandle(f);
  return out;
}

int FilesIn(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  int n = 0;
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
  } while (::FindNextFileA(h, &found));
  ::FindClose(h);
  return n;
}

TEST(Win32ProgramIo, ReplaceFileWritesWholeAndLeavesNoTemporaryFile) {
  Win32ProgramIo io;
  const std::string folder = TempFolder();
  const std::string target = folder + "\\facts \xC3\xA9.json";  // UTF-8 name
  ASSERT_EQ(io.ReplaceFile(target, "first"), WinError::Success);
  ASSERT_EQ(io.ReplaceFile(target, "second, longer"), WinError::Success);
  EXPECT_EQ(ReadFile(folder + "\\facts \xE9.json"), "second, longer") << "the name as the system has it";
  EXPECT_EQ(FilesIn(folder), 1);
  // A folder of that name cannot be replaced by a file: refused, the folder left as it was.
  const std::string blocked = folder + "\\blocked";
  ::CreateDirectoryA(blocked.c_str(), nullptr);
  EXPECT_NE(io.ReplaceFile(blocked, "x"), WinError::Success);
  EXPECT_EQ(::GetFileAttributesA(blocked.c_str()) & FILE_ATTRIBUTE_DIRECTORY, DWORD(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(io.ReplaceFile(folder + "\\no such folder\\f.txt", "x"), WinError::PathNotFound);
  EXPECT_EQ(FilesIn(folder), 1) << "no temporary file left behind";
  ::DeleteFileA((folder + "\\facts \xE9.json").c_str());
  ::RemoveDirectoryA(blocked.c_str());
  ::RemoveDirectoryA(folder.c_str());
}

// A replace that fails after the new text was written: the target still holds the old text
// and no temporary file is left. The target is held open by another program that lets others
// read and write it but not rename or delete it, so writing over it in place would succeed
// where the rename cannot.
TEST(Win32ProgramIo, AFailedReplaceLeavesTheOldFileWhole) {
  Win32ProgramIo io;
  const std::string folder = TempFolder();
  const std::string target = folder + "\\facts.txt";
  ASSERT_EQ(io.ReplaceFile(target, "old"), WinError::Success);
  HANDLE holder = ::CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_NE(io.ReplaceFile(target, "new, and longer than the old"), WinError::Success);
  ::CloseHandle(holder);
  EXPECT_EQ(ReadFile(target), "old") << "the old file is left whole";
  EXPECT_EQ(FilesIn(folder), 1) << "no temporary file left behind";
  ::DeleteFileA(target.c_str());
  ::RemoveDirectoryA(folder.c_str());
}

TEST(Win32ProgramIo, CommandLineAndVersion) {
  Win32ProgramIo io;
  EXPECT_NE(io.CommandLine().find("win_tests"), std::string::npos) << io.CommandLine();
  EXPECT_EQ(io.FileVersion(), "") << "the test program has no version block";
}

// The shipped program, started as a script or a scheduler would: output to a pipe.
struct Finished {
  DWORD exit = 0xFFFFFFFF;
  std::string output, error;
};


Finished RunToolbar1(const std::string& arguments) {
  Finished run;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE outRead, outWrite, errRead, errWrite;
  ::CreatePipe(&outRead, &outWrite, &inherit, 0);
  ::CreatePipe(&errRead, &errWrite, &inherit, 0);
  ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  ::SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = outWrite;
  si.hStdError = errWrite;
  std::string line = "\"" + BuildRoot() + "toolbar1.exe\" " + arguments;
  PROCESS_INFORMATION pi{};
  if (::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    ::CloseHandle(outWrite);
    ::CloseHandle(errWrite);
    auto drain = [](HANDLE h, std::string& into) {
      char buffer[4096];
      DWORD n = 0;
      while (::ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) into.append(buffer, n);
    };
    std::thread errors([&] { drain(errRead, run.error); });
    drain(outRead, run.output);
    errors.join();
    ::WaitForSingleObject(pi.hProcess, 60000);
    ::GetExitCodeProcess(pi.hProcess, &run.exit);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
  } else {
    ::CloseHandle(outWrite);
    ::CloseHandle(errWrite);
  }
  ::CloseHandle(outRead);
  ::CloseHandle(errRead);
  return run;
}

TEST(Toolbar1Report, JsonThroughARedirectedOutput) {
  Finished run = RunToolbar1("/report json /nonetwork");
  ASSERT_EQ(run.exit, 0u) << run.error;
  EXPECT_EQ(run.output.substr(0, 3), "{\r\n");
  EXPECT_NE(run.output.find("\"program_version\": \"1.0.0.0\""), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\"network\": null"), std::string::npos);
  EXPECT_EQ(run.error, "");
}

TEST(Toolbar1Report, MistakesGoToStandardErrorWithExitCode2) {
  Finished run = RunToolbar1("/nonsense");
  EXPECT_EQ(run.exit, 2u);
  EXPECT_EQ(run.output, "");
  EXPECT_NE(run.error.find("unknown switch \"/nonsense\""), std::string::npos) << run.error;
  EXPECT_NE(run.error.find("/report [json] [FILE]"), std::string::npos) << run.error;
  Finished usage = RunToolbar1("/?");
  EXPECT_EQ(usage.exit, 0u);
  EXPECT_NE(usage.output.find("/lang NAME"), std::string::npos) << usage.output;
}

// Started as a scheduler may start it: no console and no standard handles at all, a damaged
// toolbar1.mld beside a copy of the program. A box would wait for a person; the run must end
// by itself, its report written in English, and the exit status tells what a line could not.
TEST(Toolbar1Report, WithoutAConsoleADamagedDictionaryWaitsForNobody) {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "vsi-report-" + std::to_string(::GetCurrentProcessId()) + "\\";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(::CopyFileA((BuildRoot() + "toolbar1.exe").c_str(), (folder + "toolbar1.exe").c_str(), FALSE));
  {
    HANDLE in = ::CreateFileA((BuildRoot() + "toolbar1.mld").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(in, INVALID_HANDLE_VALUE);
    std::string bytes(::GetFileSize(in, nullptr), '\0');
    DWORD n = 0;
    ::ReadFile(in, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    ::CloseHandle(in);
    bytes.resize(n - 10);  // cut inside the last translations
    HANDLE out = ::CreateFileA((folder + "toolbar1.mld").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    ::CloseHandle(out);
  }
  auto run = [&](const std::string& arguments) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string line = "\"" + folder + "toolbar1.exe\" " + arguments;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, folder.c_str(),
                          &si, &pi))
      return DWORD(0xFFFFFFFF);
    // Not a measure of speed: only a run that never ends is ended here.
    DWORD exit = 0xFFFFFFFE;
    if (::WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0)
      ::GetExitCodeProcess(pi.hProcess, &exit);
    else
      ::TerminateProcess(pi.hProcess, 99);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return exit;
  };
  const std::string file = folder + "facts.txt";
  EXPECT_EQ(run("/report \"" + file + "\" /nonetwork /lang German"), 0u) << "0xFFFFFFFE: it waited for a person";
  HANDLE in = ::CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  std::string report(4096, '\0');
  DWORD n = 0;
  if (in != INVALID_HANDLE_VALUE) {
    ::ReadFile(in, report.data(), static_cast<DWORD>(report.size()), &n, nullptr);
    ::CloseHandle(in);
  }
  report.resize(n);
  EXPECT_EQ(report.substr(0, report.find("\r\n")), "Velmora System Info 1.0") << "in English throughout";
  EXPECT_EQ(run("/report json /nonetwork"), 1u) << "nowhere to write it";
  EXPECT_EQ(run("/report /bogus"), 2u);
  for (const char* name : {"toolbar1.exe", "toolbar1.mld", "facts.txt"}) ::DeleteFileA((folder + name).c_str());
  ::RemoveDirectoryA(folder.c_str());
}

}  // namespace
}  // namespace vsi
