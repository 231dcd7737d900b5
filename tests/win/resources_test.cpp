// The resources of the shipped toolbar1.exe, read from the file itself: every picture
// the windows load by name, the manifest and the version block.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "build_files.h"
#include "res/resource_names.h"

namespace {

class ToolbarResources : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = vsi::ToolbarExe();
    ASSERT_FALSE(path_.empty()) << "toolbar1.exe not found above the test exe";
    module_ = LoadLibraryExW(path_.c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr) << "error " << GetLastError();
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }

  std::wstring path_;
  HMODULE module_ = nullptr;
};

struct BitmapCase {
  const char* name;
  int width;
  int height;
};

TEST_F(ToolbarResources, EveryPictureLoadsWithItsSize) {
  const BitmapCase cases[] = {
      {vsi::res::kFlagEnglish, 36, 22},    {vsi::res::kFlagFrench, 36, 22},
      {vsi::res::kFlagGerman, 36, 22},     {vsi::res::kFlagItalian, 36, 22},
      {vsi::res::kFlagSpanish, 36, 22},    {vsi::res::kFlagSwedish, 36, 22},
      {vsi::res::kFlagPortuguese, 36, 22}, {vsi::res::kFlagDutch, 36, 22},
      {vsi::res::kUpgradeGlyph, 16, 16},   {vsi::res::kOkGlyph, 16, 16},
      {vsi::res::kDriveFloppy, 16, 16},    {vsi::res::kDriveFixed, 16, 16},
      {vsi::res::kDriveNetwork, 16, 16},   {vsi::res::kDriveCdrom, 16, 16},
      {vsi::res::kDriveRam, 16, 16},
  };
  for (const BitmapCase& c : cases) {
    SCOPED_TRACE(c.name);
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(module_, c.name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, c.width);
    EXPECT_EQ(info.bmHeight, c.height);
    EXPECT_EQ(info.bmBitsPixel, 24);
    DeleteObject(bitmap);
  }
}

// Picture buttons take the bottom-left pixel as transparent: on a flag it must be the
// frame, a colour the flag itself does not use, or part of the flag would vanish.
TEST_F(ToolbarResources, FlagsKeepTheirTransparentColourOnTheFrameOnly) {
  const char* flags[] = {vsi::res::kFlagEnglish, vsi::res::kFlagFrench,  vsi::res::kFlagGerman,
                         vsi::res::kFlagItalian, vsi::res::kFlagSpanish, vsi::res::kFlagSwedish,
                         vsi::res::kFlagPortuguese, vsi::res::kFlagDutch};
  for (const char* name : flags) {
    SCOPED_TRACE(name);
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(module_, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof dib, &dib), static_cast<int>(sizeof dib));
    const int w = dib.dsBm.bmWidth, h = dib.dsBm.bmHeight, stride = dib.dsBm.bmWidthBytes;
    const auto* bits = static_cast<const unsigned char*>(dib.dsBm.bmBits);
    auto at = [&](int x, int y) {  // y from the top; the DIB is bottom-up
      const unsigned char* p = bits + (h - 1 - y) * stride + x * 3;
      return RGB(p[2], p[1], p[0]);
    };
    const COLORREF key = at(0, h - 1);
    int inside_with_key = 0, colours_inside = 0;
    std::vector<COLORREF> seen;
    for (int y = 1; y < h - 1; ++y) {
      for (int x = 1; x < w - 1; ++x) {
        COLORREF c = at(x, y);
        if (c == key) ++inside_with_key;
        bool known = false;
        for (COLORREF s : seen) known |= s == c;
        if (!known) seen.push_back(c);
      }
    }
    colours_inside = static_cast<int>(seen.size());
    EXPECT_EQ(inside_with_key, 0);
    EXPECT_GE(colours_inside, 2) << "a flag has at least two colours";
    DeleteObject(bitmap);
  }
}

TEST_F(ToolbarResources, IconAndHandCursorLoad) {
  HICON by_name = static_cast<HICON>(LoadImageA(module_, vsi::res::kMainIcon, IMAGE_ICON, 32, 32, 0));
  EXPECT_NE(by_name, nullptr);
  if (by_name) DestroyIcon(by_name);
  HICON by_id = static_cast<HICON>(
      LoadImageA(module_, MAKEINTRESOURCEA(vsi::res::kMainIconId), IMAGE_ICON, 16, 16, 0));
  EXPECT_NE(by_id, nullptr);
  if (by_id) DestroyIcon(by_id);

  HCURSOR hand = static_cast<HCURSOR>(LoadImageA(module_, vsi::res::kHandCursor, IMAGE_CURSOR, 0, 0, 0));
  ASSERT_NE(hand, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(hand, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_LT(info.xHotspot, 32u);
  EXPECT_LT(info.yHotspot, 4u) << "the hot spot is the fingertip at the top";
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DestroyCursor(hand);
}

std::string ResourceText(HMODULE module, LPCSTR type, LPCSTR name) {
  HRSRC found = FindResourceA(module, name, type);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const char* data = static_cast<const char*>(LockResource(loaded));
  return data ? std::string(data, SizeofResource(module, found)) : std::string();
}

TEST_F(ToolbarResources, ManifestAsksForCommonControls6AndNamesWindows10) {
  std::string manifest = ResourceText(module_, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
  ASSERT_FALSE(manifest.empty());
  const char* must_contain[] = {
      "Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"",
      "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
      "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
      ">true/pm</dpiAware>", ">PerMonitorV2, PerMonitor</dpiAwareness>", "level=\"asInvoker\"",
  };
  for (const char* text : must_contain) EXPECT_NE(manifest.find(text), std::string::npos) << text;
}

// Through void(*)() so the compiler accepts the change of signature.
template <typename Fn>
Fn Function(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

TEST_F(ToolbarResources, VersionBlockNamesTheProduct) {
  // version.dll is loaded here rather than linked: only this test needs it.
  HMODULE version = LoadLibraryW(L"version.dll");
  ASSERT_NE(version, nullptr);
  using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
  using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
  using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
  auto size_of = Function<SizeFn>(version, "GetFileVersionInfoSizeW");
  auto info_of = Function<InfoFn>(version, "GetFileVersionInfoW");
  auto query = Function<QueryFn>(version, "VerQueryValueW");
  ASSERT_TRUE(size_of && info_of && query);

  DWORD ignored = 0;
  DWORD size = size_of(path_.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<unsigned char> block(size);
  ASSERT_TRUE(info_of(path_.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(query(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));  // 1.0
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));

  struct Row {
    const wchar_t* key;
    const wchar_t* value;
  };
  const Row rows[] = {
      {L"ProductName", L"Velmora System Info"}, {L"CompanyName", L"Velmora"},
      {L"OriginalFilename", L"toolbar1.exe"},   {L"InternalName", L"toolbar1"},
      {L"FileVersion", L"1.0.0.0"},             {L"ProductVersion", L"1.0.0.0"},
  };
  for (const Row& row : rows) {
    std::wstring key = std::wstring(L"\\StringFileInfo\\040904E4\\") + row.key;
    wchar_t* value = nullptr;
    UINT chars = 0;
    ASSERT_TRUE(query(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &chars))
        << "missing " << std::string(key.begin(), key.end());
    EXPECT_EQ(std::wstring(value), row.value);
  }
  FreeLibrary(version);
}

}  // namespace
