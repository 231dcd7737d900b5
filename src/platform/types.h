#pragma once
// Plain value types shared by the platform boundary and everything above it.
#include <cstdint>
#include <string>
#include <vector>

namespace vsi {

// 8-bit text in the system's ANSI code page, and UTF-16 text of the Unicode controls.
using AnsiString = std::string;
using WideString = std::u16string;
using Bytes = std::vector<uint8_t>;

// A Win32 error code (ERROR_*). Kept apart from HRESULTs and booleans on purpose.
enum class WinError : uint32_t {
  Success = 0,
  FileNotFound = 2,
  PathNotFound = 3,
  AccessDenied = 5,
  InvalidHandle = 6,
  NotEnoughMemory = 8,
  BadFormat = 11,
  NotReady = 21,
  InvalidParameter = 87,
  InsufficientBuffer = 122,
  MoreData = 234,
  NoMoreItems = 259,
  NotConnected = 2250,
  Unknown = 0xFFFFFFFFu,
};
inline bool Succeeded(WinError e) { return e == WinError::Success; }

// Colour value: 0x00BBGGRR for RGB, 0xFF0000nn for system colour nn, 0x1FFFFFFF for none.
using TColor = uint32_t;
constexpr TColor Rgb(uint8_t r, uint8_t g, uint8_t b) { return r | (g << 8) | (uint32_t(b) << 16); }
constexpr TColor kSystemColorBase = 0xFF000000u;
constexpr TColor SysColor(uint8_t index) { return kSystemColorBase | index; }
constexpr bool IsSystemColor(TColor c) { return (c & 0xFF000000u) == kSystemColorBase; }
constexpr TColor clNone = 0x1FFFFFFFu;
constexpr TColor clBlack = Rgb(0, 0, 0);
constexpr TColor clWhite = Rgb(255, 255, 255);
constexpr TColor clYellow = Rgb(255, 255, 0);
constexpr TColor clLime = Rgb(0, 255, 0);
constexpr TColor clBlue = Rgb(0, 0, 255);
constexpr TColor clRed = Rgb(255, 0, 0);
constexpr TColor clSilver = Rgb(192, 192, 192);
constexpr TColor clAqua = Rgb(0, 255, 255);
constexpr TColor clPurple = Rgb(128, 0, 128);
constexpr TColor clNavy = Rgb(0, 0, 128);
constexpr TColor clGray = Rgb(128, 128, 128);
// System colour indices (COLOR_*).
constexpr TColor clBtnFace = SysColor(15);
constexpr TColor clBtnShadow = SysColor(16);
constexpr TColor clBtnHighlight = SysColor(20);
constexpr TColor clWindow = SysColor(5);
constexpr TColor clWindowText = SysColor(8);
constexpr TColor clHighlight = SysColor(13);
constexpr TColor clHighlightText = SysColor(14);
constexpr TColor clGrayText = SysColor(17);
constexpr TColor clInfoBk = SysColor(24);

struct TPoint {
  int x = 0, y = 0;
  bool operator==(const TPoint&) const = default;
};
struct TSize {
  int cx = 0, cy = 0;
  bool operator==(const TSize&) const = default;
};
struct TRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(TPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  bool Intersects(const TRect& r) const {
    return left < r.right && r.left < right && top < r.bottom && r.top < bottom;
  }
  bool operator==(const TRect&) const = default;
};

// Broken-down time as the system gives it (SYSTEMTIME).
struct SystemTime {
  uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0, hour = 0, minute = 0, second = 0, milliseconds = 0;
  bool operator==(const SystemTime&) const = default;
};

}  // namespace vsi
