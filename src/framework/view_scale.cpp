#include "framework/view_scale.h"

namespace vsi {

void ScaledCanvas::FrameRect(const TRect& r) {
  // A one-pixel frame grows with the scale: the edges are filled bands of the scaled width.
  const TRect s = view_.Scale(r);
  const int w = view_.Line(1);
  if (w <= 1 || s.Width() <= 2 * w || s.Height() <= 2 * w) {
    inner_.FrameRect(s);
    return;
  }
  inner_.FillRect({s.left, s.top, s.right, s.top + w});
  inner_.FillRect({s.left, s.bottom - w, s.right, s.bottom});
  inner_.FillRect({s.left, s.top + w, s.left + w, s.bottom - w});
  inner_.FillRect({s.right - w, s.top + w, s.right, s.bottom - w});
}

void ScaledCanvas::Polygon(const std::vector<TPoint>& points) {
  std::vector<TPoint> scaled;
  scaled.reserve(points.size());
  for (TPoint p : points) scaled.push_back(view_.Scale(p));
  inner_.Polygon(scaled);
}

void ScaledCanvas::SetClipRect(const TRect* r) {
  if (!r) {
    inner_.SetClipRect(nullptr);
    return;
  }
  const TRect s = view_.Scale(*r);
  inner_.SetClipRect(&s);
}

int ScaledCanvas::DrawText(const AnsiString& text, TRect& r, uint32_t flags) {
  TRect s = view_.Scale(r);
  int height = inner_.DrawText(text, s, flags);
  if (flags & DT_CALCRECT_) r = view_.Unscale(s);
  return view_.Unscale(height);
}

int ScaledCanvas::DrawTextW(const WideString& text, TRect& r, uint32_t flags) {
  TRect s = view_.Scale(r);
  int height = inner_.DrawTextW(text, s, flags);
  if (flags & DT_CALCRECT_) r = view_.Unscale(s);
  return view_.Unscale(height);
}

void ScaledCanvas::DrawImage(const std::string& resource, int x, int y, bool transparent, int dpi) {
  // Pictures are drawn for 96 dpi: the real canvas resamples them to the window's scale.
  inner_.DrawImage(resource, ImageCoord(x), ImageCoord(y), transparent, view_.Scale(dpi));
}

}  // namespace vsi
