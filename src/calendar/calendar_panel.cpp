#include "calendar/calendar_panel.h"

#include "framework/context.h"

namespace vsi {

TCustomCalendarPanel::TCustomCalendarPanel(TComponent* owner) : TCustomControl(owner) {}

void TCustomCalendarPanel::YearStartChanged() { Invalidate(); }

void TCustomCalendarPanel::SetEventMarkerColor(TColor c) {
  eventMarkerColor_ = c;
  Invalidate();
}

void TCustomCalendarPanel::SetEventMarkerShape(TEventShape s) {
  eventMarkerShape_ = s;
  Invalidate();
}

void TCustomCalendarPanel::SetBevelInner(TBevelCut v) {
  bevelInner_ = v;
  Invalidate();
}

void TCustomCalendarPanel::SetBevelOuter(TBevelCut v) {
  bevelOuter_ = v;
  Invalidate();
}

void TCustomCalendarPanel::SetBevelWidth(int v) {
  if (v < 0) v = 0;
  bevelWidth_ = v;
  Invalidate();
}

void TCustomCalendarPanel::SetBorderWidth(int v) {
  if (v < 0) v = 0;
  borderWidth_ = v;
  Invalidate();
}

void TCustomCalendarPanel::SetBorderStyle(TBorderStyle v) {
  borderStyle_ = v;
  Invalidate();
}

void TCustomCalendarPanel::ShowError(const std::string& message) {
  Windows().MessageBox(Handle(), message, "Error", MB_OK_ | MB_ICONERROR_);
}

void DrawBevel(ICanvas& canvas, TRect& r, TBevelCut cut, int width) {
  if (cut == bvNone) return;
  TColor light = clBtnHighlight, shadow = clBtnShadow;
  if (cut == bvLowered) std::swap(light, shadow);
  for (int k = 0; k < width && r.right - r.left > 1 && r.bottom - r.top > 1; ++k) {
    if (cut != bvSpace) {
      canvas.SetBrush(light);
      canvas.FillRect(TRect{r.left, r.top, r.right - 1, r.top + 1});
      canvas.FillRect(TRect{r.left, r.top, r.left + 1, r.bottom - 1});
      canvas.SetBrush(shadow);
      canvas.FillRect(TRect{r.left, r.bottom - 1, r.right, r.bottom});
      canvas.FillRect(TRect{r.right - 1, r.top, r.right, r.bottom});
    }
    r = TRect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
}

void TCustomCalendarPanel::PaintPanel(ICanvas& canvas) {
  TRect r = ClientRect();
  if (borderStyle_ == bsSingle) {
    canvas.SetBrush(clBlack);
    canvas.FrameRect(r);
    r = TRect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
  DrawBevel(canvas, r, bevelOuter_, bevelWidth_);
  // The border band and the rest are both in Color: one fill covers them.
  TRect band = r;
  r = TRect{r.left + borderWidth_, r.top + borderWidth_, r.right - borderWidth_, r.bottom - borderWidth_};
  if (bevelInner_ != bvNone) {
    canvas.SetBrush(color_);
    canvas.FillRect(band);
    DrawBevel(canvas, r, bevelInner_, bevelWidth_);
    canvas.SetBrush(color_);
    canvas.FillRect(r);
  } else {
    canvas.SetBrush(color_);
    canvas.FillRect(band);
  }
}

}  // namespace vsi
