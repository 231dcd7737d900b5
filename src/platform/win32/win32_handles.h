#pragma once
// One owner per kind of handle, each giving its handle back the one way that kind is given
// back, on every path out: kernel objects (CloseHandle), file searches (FindClose), network
// enumerations (WNetCloseEnum), libraries (FreeLibrary), movable memory (GlobalFree), menus
// (DestroyMenu), image lists (ImageList_Destroy), GDI objects (DeleteObject), DCs of our own
// (DeleteDC), a window's DC (ReleaseDC) and a paint's (EndPaint); and the two guards that put
// a DC's state back: a selection, and SaveDC.
#include "platform/win32/win32_api.h"

#include <commctrl.h>

#include <utility>

namespace vsi::win32 {

// Owns one handle of the kind `Kind` describes: its type, the value that stands for none,
// which values are handles, and the call that gives one back.
template <class Kind>
class Scoped {
 public:
  using Type = typename Kind::Type;
  Scoped() = default;
  explicit Scoped(Type h) : h_(h) {}
  Scoped(Scoped&& o) noexcept : h_(o.Release()) {}
  Scoped& operator=(Scoped&& o) noexcept {
    if (this != &o) Reset(o.Release());
    return *this;
  }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  ~Scoped() { Reset(); }

  void Reset(Type h = Kind::None()) {
    if (Kind::Valid(h_)) Kind::Free(h_);
    h_ = h;
  }
  Type Get() const { return h_; }
  // For a call that answers a new handle through a pointer: the one held goes first.
  Type* Receive() {
    Reset();
    return &h_;
  }
  Type Release() { return std::exchange(h_, Kind::None()); }
  explicit operator bool() const { return Kind::Valid(h_); }

 private:
  Type h_ = Kind::None();
};

// Most kinds answer null for none; the kernel's file calls answer INVALID_HANDLE_VALUE.
template <class H>
struct NullIsNone {
  using Type = H;
  static H None() { return nullptr; }
  static bool Valid(H h) { return h != nullptr; }
};

struct KernelHandle : NullIsNone<HANDLE> {
  static bool Valid(HANDLE h) { return h && h != INVALID_HANDLE_VALUE; }
  static void Free(HANDLE h) { ::CloseHandle(h); }
};
struct FindHandle {
  using Type = HANDLE;
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static bool Valid(HANDLE h) { return h && h != INVALID_HANDLE_VALUE; }
  static void Free(HANDLE h) { ::FindClose(h); }
};
struct NetEnumHandle : NullIsNone<HANDLE> {
  static void Free(HANDLE h) { ::WNetCloseEnum(h); }
};
struct ModuleHandle : NullIsNone<HMODULE> {
  static void Free(HMODULE h) { ::FreeLibrary(h); }
};
struct GlobalMemoryHandle : NullIsNone<HGLOBAL> {
  static void Free(HGLOBAL h) { ::GlobalFree(h); }
};
struct MenuHandle : NullIsNone<HMENU> {
  static void Free(HMENU h) { ::DestroyMenu(h); }
};
struct ImageListHandle : NullIsNone<HIMAGELIST> {
  static void Free(HIMAGELIST h) { ::ImageList_Destroy(h); }
};
template <class H>
struct GdiObjectHandle : NullIsNone<H> {
  static void Free(H h) { ::DeleteObject(h); }
};
struct CreatedDcHandle : NullIsNone<HDC> {
  static void Free(HDC h) { ::DeleteDC(h); }
};

using ScopedHandle = Scoped<KernelHandle>;          // CreateFile, CreateEvent, CreateProcess, ...
using ScopedFindHandle = Scoped<FindHandle>;        // FindFirstFile
using ScopedNetEnum = Scoped<NetEnumHandle>;        // WNetOpenEnum
using ScopedModule = Scoped<ModuleHandle>;          // LoadLibrary
using ScopedGlobalMemory = Scoped<GlobalMemoryHandle>;  // GlobalAlloc
using ScopedMenu = Scoped<MenuHandle>;              // CreateMenu, CreatePopupMenu
using ScopedImageList = Scoped<ImageListHandle>;    // ImageList_Create
template <class H>
using ScopedGdiObject = Scoped<GdiObjectHandle<H>>;  // a pen, brush, font, bitmap or region
using ScopedCreatedDC = Scoped<CreatedDcHandle>;    // CreateDC, CreateCompatibleDC

// A window's or the screen's DC (GetDC): ReleaseDC.
class ScopedGetDC {
 public:
  explicit ScopedGetDC(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
  ScopedGetDC(const ScopedGetDC&) = delete;
  ScopedGetDC& operator=(const ScopedGetDC&) = delete;
  ~ScopedGetDC() {
    if (dc_) ::ReleaseDC(hwnd_, dc_);
  }
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// A paint's DC (BeginPaint): EndPaint, which also validates the area painted.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND hwnd) : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &ps_)) {}
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  ~ScopedPaint() { ::EndPaint(hwnd_, &ps_); }
  HDC Get() const { return dc_; }
  const RECT& Area() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back when it goes, so the object can
// be deleted afterwards. A null object selects nothing.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? ::SelectObject(dc, object) : nullptr) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// SaveDC on entry, RestoreDC on exit: colours, modes, clipping and selections come back.
// With `save` false it does neither.
class SavedDC {
 public:
  explicit SavedDC(HDC dc, bool save = true) : dc_(dc), id_(save ? ::SaveDC(dc) : 0) {}
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;
  ~SavedDC() {
    if (id_) ::RestoreDC(dc_, id_);
  }

 private:
  HDC dc_;
  int id_;
};

}  // namespace vsi::win32
