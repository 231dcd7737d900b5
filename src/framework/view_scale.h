#pragma once
// How a top-level window is shown on its monitor: the scale from the 96-pixels-per-inch values
// its description stores to the monitor's pixels, and the system's high-contrast mode. Controls
// keep and compute in 96-dpi units; only the framework turns them into native bounds, fonts and
// drawing, here, so no control multiplies by hand.
#include <algorithm>
#include <vector>

#include "platform/canvas.h"
#include "platform/types.h"

namespace vsi {

constexpr int kDesignDpi = 96;

struct ViewScale {
  int dpi = kDesignDpi;
  bool highContrast = false;

  bool Identity() const { return dpi == kDesignDpi && !highContrast; }
  // Rounded to the nearest pixel, halves away from zero: Unscale(Scale(v)) == v at any dpi
  // of 96 or more, so a size read back from the system is the one stored.
  int Scale(int v) const { return Round(static_cast<long long>(v) * dpi, kDesignDpi); }
  int Unscale(int v) const { return Round(static_cast<long long>(v) * kDesignDpi, dpi); }
  // Each edge on its own, so controls that touch still touch.
  TRect Scale(const TRect& r) const { return {Scale(r.left), Scale(r.top), Scale(r.right), Scale(r.bottom)}; }
  TRect Unscale(const TRect& r) const {
    return {Unscale(r.left), Unscale(r.top), Unscale(r.right), Unscale(r.bottom)};
  }
  TPoint Scale(TPoint p) const { return {Scale(p.x), Scale(p.y)}; }
  TPoint Unscale(TPoint p) const { return {Unscale(p.x), Unscale(p.y)}; }
  // A pen or frame never thins to nothing.
  int Line(int width) const { return width <= 0 ? width : std::max(1, Scale(width)); }
  // Character heights round down: glyphs do not grow in proportion (hinting), and a caption
  // designed to just fit its box must still fit when both are scaled.
  int FontHeight(int h) const {
    const long long v = static_cast<long long>(h < 0 ? -h : h) * dpi / kDesignDpi;
    return static_cast<int>(h < 0 ? -v : v);
  }
  FontSpec Font(FontSpec f) const {
    f.height = FontHeight(f.height);
    if (highContrast) f.color = clWindowText;
    return f;
  }
  // In high contrast every surface takes the window colour and every text and line the
  // window-text colour, so whatever the scheme, each fact stays readable.
  TColor Back(TColor c) const { return highContrast && c != clNone ? clWindow : c; }
  TColor Fore(TColor c) const { return highContrast && c != clNone ? clWindowText : c; }

  bool operator==(const ViewScale&) const = default;

 private:
  static int Round(long long num, long long den) {
    if (den <= 0) return static_cast<int>(num);
    return static_cast<int>(num >= 0 ? (2 * num + den) / (2 * den) : -((-2 * num + den) / (2 * den)));
  }
};

// The canvas paint code gets: it draws in 96-dpi units and this one draws on the real canvas
// at the window's scale and colours.
class ScaledCanvas : public ICanvas {
 public:
  ScaledCanvas(ICanvas& inner, const ViewScale& view) : inner_(inner), view_(view) {}

  void SetBrush(TColor color, BrushStyle style = BrushStyle::Solid) override {
    inner_.SetBrush(view_.Back(color), style);
  }
  void SetPen(TColor color, int width = 1, PenStyle style = PenStyle::Solid) override {
    inner_.SetPen(view_.Fore(color), view_.Line(width), style);
  }
  void SetFont(const FontSpec& font) override { inner_.SetFont(view_.Font(font)); }
  void FillRect(const TRect& r) override { inner_.FillRect(view_.Scale(r)); }
  void FrameRect(const TRect& r) override;
  void Rectangle(const TRect& r) override { inner_.Rectangle(view_.Scale(r)); }
  void MoveTo(int x, int y) override { inner_.MoveTo(view_.Scale(x), view_.Scale(y)); }
  void LineTo(int x, int y) override { inner_.LineTo(view_.Scale(x), view_.Scale(y)); }
  void Polygon(const std::vector<TPoint>& points) override;
  void Ellipse(const TRect& r) override { inner_.Ellipse(view_.Scale(r)); }
  void SetClipRect(const TRect* r) override;
  void TextOut(int x, int y, const AnsiString& text) override { inner_.TextOut(view_.Scale(x), view_.Scale(y), text); }
  void TextOutW(int x, int y, const WideString& text) override {
    inner_.TextOutW(view_.Scale(x), view_.Scale(y), text);
  }
  void TextRect(const TRect& clip, int x, int y, const AnsiString& text) override {
    inner_.TextRect(view_.Scale(clip), view_.Scale(x), view_.Scale(y), text);
  }
  int DrawText(const AnsiString& text, TRect& r, uint32_t flags) override;
  int DrawTextW(const WideString& text, TRect& r, uint32_t flags) override;
  TSize TextExtent(const AnsiString& text) override { return Unscale(inner_.TextExtent(text)); }
  TSize TextExtentW(const WideString& text) override { return Unscale(inner_.TextExtentW(text)); }
  void DrawFocusRect(const TRect& r) override { inner_.DrawFocusRect(view_.Scale(r)); }
  void DrawImage(const std::string& resource, int x, int y, bool transparent, int dpi = kDesignDpi) override;
  void StretchImage(const std::string& resource, const TRect& r) override {
    inner_.StretchImage(resource, view_.Scale(r));
  }
  bool DrawThemedBorder(const TRect& r) override { return inner_.DrawThemedBorder(view_.Scale(r)); }
  TColor ResolveColor(TColor c) override { return inner_.ResolveColor(c); }

 private:
  TSize Unscale(TSize s) const { return {view_.Unscale(s.cx), view_.Unscale(s.cy)}; }
  // Negative image coordinates mean "centred, shifted by -1 - n": the shift scales, the
  // centring is the real canvas's.
  int ImageCoord(int v) const { return v < 0 ? -1 - view_.Scale(-1 - v) : view_.Scale(v); }

  ICanvas& inner_;
  ViewScale view_;
};

}  // namespace vsi
