// The probes and the drive, display, network and keyboard objects on the real system (run
// under Wine): what they read must be what the system itself reports.
#include "platform/win32/win32_api.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/context.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_windows.h"
#include "real_platform.h"
#include "probes/disk_probes.h"
#include "probes/host_probe.h"
#include "probes/screen_probe.h"
#include "probes/vendor_probe.h"
#include "sysinfo/drive.h"
#include "sysinfo/start_objects.h"

namespace vsi {
namespace {

// Just enough of a locale for the context's start-up (the format settings keep their
// defaults); the probes under test do not ask it.
class BareLocale : public ILocale {
 public:
  bool GetLocaleInfo(LCID, LCTYPE, std::string&) override { return false; }
  bool SetLocaleInfo(LCID, LCTYPE, const std::string&) override { return false; }
  LCID GetUserDefaultLCID() override { return 0x0409; }
  LCID GetSystemDefaultLCID() override { return 0x0409; }
  LCID GetThreadLocale() override { return 0x0409; }
  bool SetThreadLocale(LCID) override { return false; }
  uint32_t GetACP() override { return ::GetACP(); }
  uint32_t GetOEMCP() override { return ::GetOEMCP(); }
  std::vector<uint32_t> EnumSystemCodePages(bool) override { return {}; }
  std::vector<LCID> EnumSystemLocales(bool) override { return {}; }
  bool IsValidLocale(LCID) override { return false; }
  WideString MultiByteToWide(uint32_t, const AnsiString& text) override { return WideString(text.begin(), text.end()); }
  AnsiString WideToMultiByte(uint32_t, const WideString& text) override { return AnsiString(text.begin(), text.end()); }
  std::string VerLanguageName(LANGID) override { return {}; }
  AnsiString OemToChar(const AnsiString& oem) override { return oem; }
  AnsiString CharLower(const AnsiString& text) override { return text; }
  AnsiString CharUpper(const AnsiString& text) override { return text; }
};

class Win32ProbesTest : public ::testing::Test, protected RealPlatform<BareLocale> {};

// What the system says about C:, asked directly.
struct VolumeFacts {
  std::string label, fileSystem;
  DWORD serial = 0, flags = 0;
  ULONGLONG total = 0, available = 0;
};
VolumeFacts AskC() {
  VolumeFacts f;
  char label[MAX_PATH + 1] = {}, fs[MAX_PATH + 1] = {};
  DWORD maxLen = 0;
  EXPECT_TRUE(GetVolumeInformationA("C:\\", label, sizeof label, &f.serial, &maxLen, &f.flags, fs, sizeof fs));
  f.label = label;
  f.fileSystem = fs;
  ULARGE_INTEGER avail{}, total{}, free{};
  EXPECT_TRUE(GetDiskFreeSpaceExA("C:\\", &avail, &total, &free));
  f.total = total.QuadPart;
  f.available = avail.QuadPart;
  return f;
}

std::string SerialText(DWORD serial) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04lX-%04lX", (unsigned long)(serial >> 16), (unsigned long)(serial & 0xFFFF));
  return buf;
}

TEST_F(Win32ProbesTest, DiskInfoDescribesDriveC) {
  VolumeFacts c = AskC();
  auto* d = new TDiskInfo(&root);
  EXPECT_EQ(d->Disk(), 'C');
  EXPECT_EQ(d->VolumeLabel(), c.label);
  EXPECT_EQ(d->FileSystem(), c.fileSystem);
  EXPECT_EQ(d->FileSystem(), "NTFS");
  EXPECT_EQ(static_cast<uint32_t>(d->SerialNumber()), c.serial);
  ASSERT_EQ(d->SerialNumberStr().size(), 9u);
  EXPECT_EQ(d->SerialNumberStr()[4], '-');
  EXPECT_EQ(d->SerialNumberStr(), SerialText(c.serial));
  EXPECT_EQ(d->DriveType(), dtFixed);
  EXPECT_EQ(d->DiskSize(), static_cast<int64_t>(c.total));
  EXPECT_GT(d->DiskSize(), 0);
  // Free space moves while other programs write; it must be this volume's, not -1.
  EXPECT_GE(d->DiskFree(), 0);
  EXPECT_LE(d->DiskFree(), d->DiskSize());
  EXPECT_NEAR(static_cast<double>(d->DiskFree()), static_cast<double>(c.available), 256.0 * 1024 * 1024);
}

TEST_F(Win32ProbesTest, DriveObjectAgreesWithTheSystem) {
  VolumeFacts c = AskC();
  TSysDriveObject drive(ctx);
  drive.SetDrive('c');
  EXPECT_EQ(drive.Drive(), 'C');
  EXPECT_EQ(drive.DriveType(), TSysDriveType::dtFixed);
  EXPECT_EQ(drive.VolumeLabel(), c.label);
  EXPECT_EQ(drive.SerialNumber(), SerialText(c.serial));
  EXPECT_EQ(drive.FileSystem(), "NTFS");
  EXPECT_EQ(drive.DiskSize(), static_cast<int64_t>(c.total));
  EXPECT_GT(drive.BytesPerSector(), 0u);
  EXPECT_GT(drive.SectorsPerCluster(), 0u);
  EXPECT_GT(drive.MaximumLength(), 0u);
  EXPECT_EQ(drive.HasOption(fsCaseIsPreserved), (c.flags & FILE_CASE_PRESERVED_NAMES) != 0);
  EXPECT_EQ(drive.HasOption(fsSupportsUnicode), (c.flags & FILE_UNICODE_ON_DISK) != 0);
  EXPECT_EQ(drive.HasOption(fsPersistentACLs), (c.flags & FILE_PERSISTENT_ACLS) != 0);
}

TEST_F(Win32ProbesTest, DriveWithoutRootGivesMinusOne) {
  // Find a letter that names no drive.
  DWORD mask = GetLogicalDrives();
  char letter = 0;
  for (char l = 'Y'; l > 'D'; --l)
    if (!(mask & (1u << (l - 'A')))) {
      letter = l;
      break;
    }
  ASSERT_NE(letter, 0);
  auto* d = new TDiskInfo(&root);
  d->SetDisk(letter);
  EXPECT_EQ(d->DriveType(), dtNoDrive);
  EXPECT_EQ(d->DiskSize(), -1);
  EXPECT_EQ(d->DiskFree(), -1);
}

// The probe reads the display mode; the checks come from elsewhere: the X server's own size,
// read by the script that started Wine (scripts/wine-env.sh sets VSI_SCREEN), and GDI's size
// of the screen's device context.
TEST_F(Win32ProbesTest, ScreenResolutionIsTheScreensSize) {
  auto* o = new TOtherInfo(&root);
  const std::string shown = o->ScreenResolutionText();
  HDC screen = ::GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  char gdi[64];
  std::snprintf(gdi, sizeof gdi, "%d x %d", ::GetDeviceCaps(screen, HORZRES), ::GetDeviceCaps(screen, VERTRES));
  ::ReleaseDC(nullptr, screen);
  EXPECT_EQ(shown, gdi);
  const char* x = std::getenv("VSI_SCREEN");
  if (x && *x)
    EXPECT_EQ(shown, x) << "the X server's screen";
  else
    std::printf("VSI_SCREEN not set (run under scripts/wine-env.sh): checked against GDI only\n");
}

TEST_F(Win32ProbesTest, VendorIdentifierFromTheRegistry) {
  char vendor[64] = {};
  DWORD size = sizeof vendor;
  ASSERT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, "Hardware\\Description\\System\\CentralProcessor\\0", "VendorIdentifier",
                         RRF_RT_REG_SZ, nullptr, vendor, &size),
            ERROR_SUCCESS);
  auto* s = new TSystemInfo(&root);
  EXPECT_EQ(s->CpuVendorText(), vendor);
  EXPECT_FALSE(s->CpuVendorText().empty());

  SYSTEM_INFO si;
  GetSystemInfo(&si);
  SystemInfo ours;
  win.system.GetSystemInfo(ours);
  EXPECT_EQ(ours.processorType, si.dwProcessorType);
#if defined(_M_X64) || defined(__x86_64__)
  EXPECT_EQ(ours.processorType, 8664u);
#endif
}

TEST_F(Win32ProbesTest, HostFacts) {
  auto* t = new TAVTools(&root);
  char dir[MAX_PATH] = {};
  GetWindowsDirectoryA(dir, MAX_PATH);
  std::string windowsDir = dir;
  if (windowsDir.back() != '\\') windowsDir += '\\';
  EXPECT_EQ(t->dirWindows(), windowsDir);
  ASSERT_FALSE(t->dirWinSys().empty());
  EXPECT_EQ(t->dirWinSys().back(), '\\');
  EXPECT_EQ(t->Version(), "1.01");
  EXPECT_FALSE(t->MachineName().empty());
  EXPECT_EQ(t->DriveNumber(), SerialText(AskC().serial).erase(4, 1));

  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  ASSERT_TRUE(GetVersionExA(&v));
#pragma GCC diagnostic pop
  char expected[256];
  if (v.szCSDVersion[0])
    std::snprintf(expected, sizeof expected, "Windows NT %lu.%lu (Build %lu: %s)", v.dwMajorVersion,
                  v.dwMinorVersion, v.dwBuildNumber, v.szCSDVersion);
  else
    std::snprintf(expected, sizeof expected, "Windows NT %lu.%lu (Build %lu)", v.dwMajorVersion, v.dwMinorVersion,
                  v.dwBuildNumber);
  EXPECT_EQ(t->OSInfo(), expected);
}

TEST_F(Win32ProbesTest, StartObjectsRetrieveOnTheRealSystem) {
  TSysDisplayObject display(ctx);
  EXPECT_NO_THROW(display.Retrieve());
  EXPECT_GT(display.DisplayModes()->Count(), 0);

  TSysKeyboardObject keyboard(ctx);
  keyboard.Retrieve();
  EXPECT_EQ(keyboard.Layout().size(), 8u);
  EXPECT_GT(keyboard.FunctionKeys(), 0);

  TSysNetworkObject network(ctx);
  EXPECT_NO_THROW(network.Retrieve());
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD len = sizeof name;
  ASSERT_TRUE(GetComputerNameA(name, &len));
  EXPECT_EQ(network.ComputerName(), name);
}

}  // namespace
}  // namespace vsi
