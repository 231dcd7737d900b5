#pragma once
// The clock field, the plain and link labels of the TUi family, and the Unicode label and panel.
#include <set>
#include <string>

#include "framework/stdctrls.h"
#include "framework/timer.h"

namespace vsi {

// Unicode label: its caption and hint hold UTF-16 text.
class TWideLabel : public TLabel {
  VSI_CLASS(TWideLabel)
  explicit TWideLabel(TComponent* owner);
  const WideString& Caption() const { return wideCaption_; }
  void SetCaption(const WideString& caption);
  const WideString& Hint() const { return wideHint_; }
  void SetHint(const WideString& hint);
  WideString WindowText() const override { return wideCaption_; }

 protected:
  WideString DisplayText() const override { return wideCaption_; }

 private:
  WideString wideCaption_;
  WideString wideHint_;
};

// Unicode panel.
class TWidePanel : public TPanel {
  VSI_CLASS(TWidePanel)
  explicit TWidePanel(TComponent* owner);
  const WideString& Caption() const { return wideCaption_; }
  void SetCaption(const WideString& caption);
  WideString WindowText() const override { return wideCaption_; }

 protected:
  WideString DisplayText() const override { return wideCaption_; }

 private:
  WideString wideCaption_;
};

// The plain label of the TUi family (brand and e-mail labels).
class TUiLabel : public TLabel {
  VSI_CLASS(TUiLabel)
  explicit TUiLabel(TComponent* owner);
};

// A label that opens its URL (or its caption) with the shell when clicked.
class TUiURLLabel : public TUiLabel {
  VSI_CLASS(TUiURLLabel)
  explicit TUiURLLabel(TComponent* owner);
  const std::string& URL() const { return url_; }
  void SetURL(const std::string& url) { url_ = url; }
  bool Visited() const { return visited_; }
  void SetVisited(bool v);
  TColor UnvisitedColor() const { return unvisitedColor_; }
  void SetUnvisitedColor(TColor c);
  TColor VisitedColor() const { return visitedColor_; }
  void SetVisitedColor(TColor c);
  TColor BlinkColor() const { return blinkColor_; }
  void SetBlinkColor(TColor c) { blinkColor_ = c; }
  TColor FlyByColor() const { return flyByColor_; }
  void SetFlyByColor(TColor c) { flyByColor_ = c; }
  void Click() override;
  bool WmSetCursor() override;
  AccessibleRole AccRole() const override { return AccessibleRole::Link; }

 private:
  void Recolor();
  std::string url_;
  bool visited_ = false;
  TColor unvisitedColor_ = clHighlight;
  TColor visitedColor_ = clPurple;
  TColor blinkColor_ = clRed;
  TColor flyByColor_ = clRed;
};

enum TUiFrameStyle : uint8_t { fsFlat, fsLowered, fsRaised, fsNone };
extern const EnumInfo kUiFrameStyleNames;

// A clock field: shows the local time in its format, refreshed by the shared polling timer.
class TUiClockStatus : public TGraphicControl {
  VSI_CLASS(TUiClockStatus)
  explicit TUiClockStatus(TComponent* owner);
  ~TUiClockStatus() override;
  const std::string& Format() const { return format_; }
  void SetFormat(const std::string& f);
  bool Active() const { return active_; }
  void SetActive(bool v) { active_ = v; }
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  int CaptionOffset() const { return captionOffset_; }
  void SetCaptionOffset(int v);
  TColor FillColor() const { return fillColor_; }
  void SetFillColor(TColor c);
  TUiFrameStyle FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(TUiFrameStyle s);
  TColor FlatColor() const { return flatColor_; }
  void SetFlatColor(TColor c);
  int FlatColorAdjustment() const { return flatColorAdjustment_; }
  void SetFlatColorAdjustment(int v) { flatColorAdjustment_ = v; }
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);
  // The last formatted time.
  const std::string& Text() const { return text_; }
  // Formats the time again; redraws only when the text changed.
  void UpdateText();
  void Loaded() override;
  void Paint(ICanvas& canvas) override;
  WideString WindowText() const override { return ToWide(text_); }
  AccessibleRole AccRole() const override { return AccessibleRole::StaticText; }
  int Redraws() const { return redraws_; }
  // True when the text changes at most once a second: the format shows no milliseconds.
  bool ChangesOnTheSecond() const;

 private:
  std::string format_;
  bool active_ = true;
  int interval_ = 500;
  TAlignment alignment_ = taLeftJustify;
  int captionOffset_ = 2;
  TColor fillColor_ = clBtnFace;
  TUiFrameStyle frameStyle_ = fsFlat;
  TColor flatColor_ = clBtnShadow;
  int flatColorAdjustment_ = 30;
  int borderWidth_ = 1;
  std::string text_;
  std::string nextText_;
  WideString windowText_;
  int redraws_ = 0;
};

// The one polling timer shared by every polling control of a context, at the first control's
// interval. While every clock's text changes only with the second and the interval is at
// most a second, the clocks are asked on the SecondTicker's tick instead: the same texts,
// shown within a few milliseconds of their change rather than up to an interval late, in
// the wake-up the process has each second anyway.
class PollingTimer {
 public:
  explicit PollingTimer(AppContext& context) : repeat_(context) {}
  // The control's Interval is read from it: set it before registering.
  void Register(TUiClockStatus* control);
  void Unregister(TUiClockStatus* control);
  void Tick();
  bool Armed() const { return repeat_.Running(); }
  // The own timer, 0 while the clocks go with the second.
  uintptr_t Timer() const { return repeat_.Timer(); }
  bool OnTheSecond() const { return repeat_.GoesWithTheSecond(); }

 private:
  bool CanAlign() const;
  // Moves the polling to the second's tick or to an own timer at the first control's
  // interval, as the clocks now allow.
  void Follow();

  std::vector<TUiClockStatus*> controls_;
  std::vector<TUiClockStatus*> ticking_;
  RepeatingCall repeat_;
};

}  // namespace vsi
