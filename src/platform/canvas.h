#pragma once
// A drawing surface. GDI implements it in the Windows build (double-buffered); tests record
// every call. Colours may be system colours: the canvas resolves them when it draws.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

// <windows.h>, when a Win32 file included it first, maps these names to its -A/-W functions;
// here they are canvas methods.
#undef DrawText
#undef TextOut

namespace vsi {

enum FontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

constexpr uint8_t DEFAULT_CHARSET_ = 1;
constexpr uint8_t ANSI_CHARSET_ = 0;

struct FontSpec {
  std::string name = "MS Sans Serif";
  int height = 11;  // character height in pixels
  TColor color = clWindowText;
  uint8_t style = 0;  // FontStyle bits
  uint8_t charset = DEFAULT_CHARSET_;
  bool operator==(const FontSpec&) const = default;
};

enum class BrushStyle : uint8_t { Solid, Clear };
enum class PenStyle : uint8_t { Solid, Dash, Dot, Clear };

// DrawText flags (DT_*).
constexpr uint32_t DT_LEFT_ = 0x0000;
constexpr uint32_t DT_CENTER_ = 0x0001;
constexpr uint32_t DT_RIGHT_ = 0x0002;
constexpr uint32_t DT_VCENTER_ = 0x0004;
constexpr uint32_t DT_BOTTOM_ = 0x0008;
constexpr uint32_t DT_WORDBREAK_ = 0x0010;
constexpr uint32_t DT_SINGLELINE_ = 0x0020;
constexpr uint32_t DT_EXPANDTABS_ = 0x0040;
constexpr uint32_t DT_NOCLIP_ = 0x0100;
constexpr uint32_t DT_CALCRECT_ = 0x0400;
constexpr uint32_t DT_NOPREFIX_ = 0x0800;

class ICanvas {
 public:
  virtual ~ICanvas() = default;
  // Brush: fill colour of FillRect, Rectangle, Polygon; with Clear, text is drawn transparently.
  virtual void SetBrush(TColor color, BrushStyle style = BrushStyle::Solid) = 0;
  virtual void SetPen(TColor color, int width = 1, PenStyle style = PenStyle::Solid) = 0;
  virtual void SetFont(const FontSpec& font) = 0;
  virtual void FillRect(const TRect& r) = 0;
  // A one-pixel frame in the brush colour.
  virtual void FrameRect(const TRect& r) = 0;
  // Outline with the pen, inside filled with the brush.
  virtual void Rectangle(const TRect& r) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  virtual void Polygon(const std::vector<TPoint>& points) = 0;
  // Ellipse inside `r`: outline with the pen, inside filled with the brush.
  virtual void Ellipse(const TRect& r) = 0;
  // Limits all drawing to `r` (SelectClipRgn); null removes the limit.
  virtual void SetClipRect(const TRect* r) = 0;
  virtual void TextOut(int x, int y, const AnsiString& text) = 0;
  virtual void TextOutW(int x, int y, const WideString& text) = 0;
  // Text clipped to `clip`.
  virtual void TextRect(const TRect& clip, int x, int y, const AnsiString& text) = 0;
  // DrawTextA / DrawTextW; with DT_CALCRECT `r` receives the needed size. Returns the height.
  virtual int DrawText(const AnsiString& text, TRect& r, uint32_t flags) = 0;
  virtual int DrawTextW(const WideString& text, TRect& r, uint32_t flags) = 0;
  virtual TSize TextExtent(const AnsiString& text) = 0;
  virtual TSize TextExtentW(const WideString& text) = 0;
  virtual void DrawFocusRect(const TRect& r) = 0;
  // A bitmap resource by name at (x, y); the colour of its bottom-left pixel is transparent
  // when `transparent` is set. Pictures are drawn for 96 pixels per inch; another `dpi`
  // resamples them to that scale with a smoothing filter.
  virtual void DrawImage(const std::string& resource, int x, int y, bool transparent, int dpi = 96) = 0;
  // A bitmap resource stretched over `r`.
  virtual void StretchImage(const std::string& resource, const TRect& r) = 0;
  // The themed border of an edit-like control; false when the system has no themes.
  virtual bool DrawThemedBorder(const TRect& r) = 0;
  // Turns a system colour into RGB (others pass through).
  virtual TColor ResolveColor(TColor c) = 0;
};

}  // namespace vsi
