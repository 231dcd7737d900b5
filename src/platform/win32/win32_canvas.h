#pragma once
// GDI drawing: the process's font and bitmap caches, and the ICanvas that paints through them.
// Their handles are held by the owners of win32_handles.h.
#include "platform/win32/win32_api.h"

#include <map>
#include <string>
#include <tuple>
#include <utility>

#include "platform/canvas.h"
#include "platform/win32/win32_handles.h"

namespace vsi {
namespace win32 {

// The drawing resources shared by every canvas of a window system: fonts by spec and bitmap
// resources by name, each made once and deleted with the cache; the theme functions, loaded
// from the system directory when the system has them.
class GdiResources {
 public:
  explicit GdiResources(HINSTANCE module);
  ~GdiResources();
  GdiResources(const GdiResources&) = delete;
  GdiResources& operator=(const GdiResources&) = delete;

  // Never null: a font the system cannot make falls back to the default GUI font.
  HFONT Font(const FontSpec& spec);
  // Null when the module has no such bitmap.
  HBITMAP Bitmap(const std::string& name);
  // The bitmap resampled for `dpi` (96: the bitmap itself); made once per name and scale.
  // A transparent picture keeps its bottom-left colour exact, so it stays transparent.
  HBITMAP ScaledBitmap(const std::string& name, int dpi, bool transparent);
  size_t FontCount() const { return fonts_.size(); }
  size_t ScaledBitmapCount() const { return scaledBitmaps_.size(); }

  // Draws the edit-box theme part over `r`; false without themes.
  bool DrawEditTheme(HWND hwnd, HDC dc, const RECT& r);

 private:
  using FontKey = std::tuple<std::string, int, uint8_t, uint8_t>;
  HINSTANCE module_;
  std::map<FontKey, ScopedGdiObject<HFONT>> fonts_;
  std::map<std::string, ScopedGdiObject<HBITMAP>> bitmaps_;
  std::map<std::tuple<std::string, int, bool>, ScopedGdiObject<HBITMAP>> scaledBitmaps_;

  using OpenThemeDataFn = HANDLE(WINAPI*)(HWND, LPCWSTR);
  using CloseThemeDataFn = HRESULT(WINAPI*)(HANDLE);
  using DrawThemeBackgroundFn = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);
  bool themesLoaded_ = false;
  ScopedModule uxtheme_;
  OpenThemeDataFn openTheme_ = nullptr;
  CloseThemeDataFn closeTheme_ = nullptr;
  DrawThemeBackgroundFn drawThemeBackground_ = nullptr;
};

// The system colour behind a TColor, or the colour itself.
COLORREF ResolveColorRef(TColor c);

}  // namespace win32

// ICanvas over a GDI device context. Solid fills and thin solid lines use the DC's own brush
// and pen colour, so painting creates no GDI object; other pens are made when first needed
// after a change and deleted with the canvas. Pens and brushes are selected only for the one
// call that needs them; a font stays selected while it is the one asked for.
class GdiCanvas : public ICanvas {
 public:
  // What becomes of the DC's state when the canvas goes. A DC lent by the system (BeginPaint,
  // WM_DRAWITEM) gets it back (Restore). A DC of our own that only canvases draw on (the paint
  // buffer) keeps it (Keep): the canvas then starts without clipping, and the next paint finds
  // its font still selected. Under Wine every font selection asks the X server's defaults
  // again, so not undoing it matters on every tick.
  enum class DcState { Restore, Keep };
  // `window` is used for themes; `client` is the area that centred images centre in.
  GdiCanvas(HDC dc, win32::GdiResources& resources, HWND window, TSize client, DcState state = DcState::Restore);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  void SetBrush(TColor color, BrushStyle style = BrushStyle::Solid) override;
  void SetPen(TColor color, int width = 1, PenStyle style = PenStyle::Solid) override;
  void SetFont(const FontSpec& font) override;
  void FillRect(const TRect& r) override;
  void FrameRect(const TRect& r) override;
  void Rectangle(const TRect& r) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polygon(const std::vector<TPoint>& points) override;
  void Ellipse(const TRect& r) override;
  void SetClipRect(const TRect* r) override;
  void TextOut(int x, int y, const AnsiString& text) override;
  void TextOutW(int x, int y, const WideString& text) override;
  void TextRect(const TRect& clip, int x, int y, const AnsiString& text) override;
  int DrawText(const AnsiString& text, TRect& r, uint32_t flags) override;
  int DrawTextW(const WideString& text, TRect& r, uint32_t flags) override;
  TSize TextExtent(const AnsiString& text) override;
  TSize TextExtentW(const WideString& text) override;
  void DrawFocusRect(const TRect& r) override;
  // Negative coordinates centre the image in the client area; -1 - n shifts it by n pixels
  // (a pressed picture button).
  void DrawImage(const std::string& resource, int x, int y, bool transparent, int dpi = 96) override;
  void StretchImage(const std::string& resource, const TRect& r) override;
  bool DrawThemedBorder(const TRect& r) override;
  TColor ResolveColor(TColor c) override;

  HDC Dc() const { return dc_; }

 private:
  bool BrushClear() const { return brushStyle_ == BrushStyle::Clear || brushColor_ == clNone; }
  HBRUSH Brush();        // null when the brush is clear
  HGDIOBJ FillObject();  // the brush, or the hollow stock brush
  HPEN Pen();
  // Selects the font asked for, unless it is already the DC's.
  void SelectFont();
  // Font, text colour and background mode for the text calls.
  void PrepareText();

  HDC dc_;
  win32::GdiResources& resources_;
  HWND window_;
  TSize client_;
  win32::SavedDC saved_;
  TColor brushColor_ = clWhite;
  BrushStyle brushStyle_ = BrushStyle::Solid;
  TColor penColor_ = clBlack;
  int penWidth_ = 1;
  PenStyle penStyle_ = PenStyle::Solid;
  FontSpec font_;
  win32::ScopedGdiObject<HPEN> pen_;  // only for pens the DC's own pen cannot be
};

}  // namespace vsi
