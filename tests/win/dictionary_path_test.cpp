// The dictionary beside a program whose folder name the ANSI code page lacks (Greek and CJK
// letters under code page 1252): a copy of this test program in such a folder, beside a copy
// of toolbar1.mld, finds and reads it.
#include "platform/win32/win32_api.h"

#include <gtest/gtest.h>

#include <string>

#include "build_files.h"
#include "i18n/binary_dictionary.h"
#include "i18n/dictionary.h"
#include "platform/win32/win32_platform.h"
#include "real_platform.h"

namespace vsi {
namespace {

constexpr const wchar_t* kChildVariable = L"VSI_DICTIONARY_CHILD";
constexpr DWORD kChildFound = 42;

std::wstring ThisProgramWide() {
  wchar_t path[32768] = {};
  GetModuleFileNameW(nullptr, path, 32768);
  return path;
}

// Copies of this program and the dictionary in a folder of their own, removed again.
struct ForeignFolder {
  ForeignFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder = std::wstring(temp) + L"vsi-\x0393\x03bb\x03ce\x03c3\x03c3\x03b1-\x8f9e\x66f8";
    CreateDirectoryW(folder.c_str(), nullptr);
    exe = folder + L"\\win_tests.exe";
    mld = folder + L"\\toolbar1.mld";
  }
  ~ForeignFolder() {
    DeleteFileW(exe.c_str());
    DeleteFileW(mld.c_str());
    RemoveDirectoryW(folder.c_str());
  }
  std::wstring folder, exe, mld;
};

TEST(WinDictionaryPath, TheFileBesideAProgramInAFolderOutsideTheAnsiCodePageIsFound) {
  const std::wstring shipped = BuildFile(L"toolbar1.mld");
  ASSERT_FALSE(shipped.empty()) << "toolbar1.mld not found above the test exe";
  ForeignFolder place;
  BOOL lossy = FALSE;
  char ansi[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, place.folder.c_str(), -1, ansi, MAX_PATH, nullptr, &lossy);
  ASSERT_TRUE(lossy) << "the folder's name fits the ANSI code page: it would show nothing";
  ASSERT_TRUE(CopyFileW(ThisProgramWide().c_str(), place.exe.c_str(), FALSE)) << GetLastError();
  ASSERT_TRUE(CopyFileW(shipped.c_str(), place.mld.c_str(), FALSE)) << GetLastError();

  // Started from the system folder, so that only the program's own folder holds the file.
  wchar_t systemDir[MAX_PATH] = {};
  GetSystemDirectoryW(systemDir, MAX_PATH);
  std::wstring command = L"\"" + place.exe + L"\" --gtest_filter=WinDictionaryPath.ChildSide";
  SetEnvironmentVariableW(kChildVariable, L"1");
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  // Without a console: its own test report is not ours.
  const BOOL started = CreateProcessW(place.exe.c_str(), command.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS,
                                      nullptr, systemDir, &si, &pi);
  SetEnvironmentVariableW(kChildVariable, nullptr);
  ASSERT_TRUE(started) << GetLastError();
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_EQ(code, kChildFound) << "the copy did not find and read the dictionary beside it";
}

WideString Wide(const std::wstring& s) { return WideString(reinterpret_cast<const char16_t*>(s.c_str()), s.size()); }

TEST(WinDictionaryPath, WholeFilesAreReadThroughWidePathsUpToTheirCap) {
  ForeignFolder place;
  const char content[] = "MLD-whole!";
  HANDLE out = CreateFileW(place.mld.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(out, INVALID_HANDLE_VALUE) << GetLastError();
  DWORD written = 0;
  WriteFile(out, content, 10, &written, nullptr);
  CloseHandle(out);
  Win32System sys;
  const WideString path = Wide(place.mld);
  FileStamp stamp;
  ASSERT_TRUE(sys.GetFileStamp(path, stamp));
  EXPECT_EQ(stamp.size, 10u);
  EXPECT_NE(stamp.writeTime, 0);
  EXPECT_FALSE(sys.GetFileStamp(Wide(place.folder), stamp)) << "a folder is not a file";
  Bytes data;
  EXPECT_EQ(sys.ReadWholeFile(path, 10, data), 0u);
  EXPECT_EQ(data, Bytes(content, content + 10));
  EXPECT_EQ(sys.ReadWholeFile(path, 9, data), ERROR_FILE_TOO_LARGE_);
  // Another program writing it: not read half-written.
  HANDLE writer = CreateFileW(place.mld.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(sys.ReadWholeFile(path, 100, data), static_cast<uint32_t>(ERROR_SHARING_VIOLATION));
  CloseHandle(writer);
  DeleteFileW(place.mld.c_str());
  EXPECT_EQ(sys.ReadWholeFile(path, 100, data), static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(sys.GetModuleFileNameWide(), Wide(ThisProgramWide()));
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  EXPECT_EQ(sys.GetCurrentDirectoryWide(), Wide(current));
}

// The copy's side of the test above; skipped in any other run.
TEST(WinDictionaryPath, ChildSide) {
  if (GetEnvironmentVariableW(kChildVariable, nullptr, 0) == 0) GTEST_SKIP() << "run by the test above";
  RealPlatform<> p;
  auto* dict = new TIvBinaryDictionary(&p.root);
  dict->SetFileName("toolbar1.mld");
  dict->SetLanguage(0);
  ASSERT_TRUE(dict->CanOpen()) << dict->FileName();
  dict->Open();
  ASSERT_TRUE(dict->Active());
  dict->SetLanguage(1);
  ASSERT_EQ(TranslateText(dict, "Free Space"), "Espace libre");
  ExitProcess(kChildFound);
}

}  // namespace
}  // namespace vsi
