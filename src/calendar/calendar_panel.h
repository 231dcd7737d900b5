#pragma once
// The panel both the month calendar and the calendar group are made of: bevels, a border
// band, a colour, the default event marker, and the three change hooks their parts call.
#include <string>

#include "calendar/calendar_types.h"
#include "framework/controls.h"
#include "framework/stdctrls.h"

namespace vsi {

class TCustomCalendarPanel : public TCustomControl {
  VSI_CLASS(TCustomCalendarPanel)
  explicit TCustomCalendarPanel(TComponent* owner);

  // Called by the TYearStartAt setters; repaints.
  virtual void YearStartChanged();
  // One of the panel's date lists changed as a whole.
  virtual void DatesChanged() {}
  // One entry of a date list changed.
  virtual void DateChanged(TDateTime date) {}

  TColor EventMarkerColor() const { return eventMarkerColor_; }
  virtual void SetEventMarkerColor(TColor c);
  TEventShape EventMarkerShape() const { return eventMarkerShape_; }
  virtual void SetEventMarkerShape(TEventShape s);

  TBevelCut BevelInner() const { return bevelInner_; }
  virtual void SetBevelInner(TBevelCut v);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  virtual void SetBevelOuter(TBevelCut v);
  int BevelWidth() const { return bevelWidth_; }
  virtual void SetBevelWidth(int v);
  int BorderWidth() const { return borderWidth_; }
  virtual void SetBorderWidth(int v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  virtual void SetBorderStyle(TBorderStyle v);

  // Whether the native window exists (date lists stay quiet before).
  bool HasWindow() const { return HandleAllocated(); }
  void RequestRepaint() { Invalidate(); }
  // The modal error box (error icon, one OK button).
  void ShowError(const std::string& message);

  // Bevels, border band and fill, as any panel.
  void PaintPanel(ICanvas& canvas);
  void Paint(ICanvas& canvas) override { PaintPanel(canvas); }

 protected:
  TColor eventMarkerColor_ = clYellow;
  TEventShape eventMarkerShape_ = evsCircle;
  TBevelCut bevelInner_ = bvNone;
  TBevelCut bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TBorderStyle borderStyle_ = bsNone;
};

// A raised (or lowered) frame of `width` one-pixel rings, shrinking `r` as it goes.
void DrawBevel(ICanvas& canvas, TRect& r, TBevelCut cut, int width);

}  // namespace vsi
