#include "controls/ui_labels.h"

#include <algorithm>
#include <string_view>

#include "framework/ascii.h"
#include "framework/context.h"
#include "framework/format_settings.h"

namespace vsi {

// ---- TWideLabel / TWidePanel

const ClassInfo& TWideLabel::StaticClass() {
  static const ClassInfo info = ClassBuilder<TWideLabel>("TWideLabel", &TLabel::StaticClass())
                                    .Creatable()
                                    .Wide("Caption", &TWideLabel::Caption, &TWideLabel::SetCaption)
                                    .Wide("Hint", &TWideLabel::Hint, &TWideLabel::SetHint)
                                    .Build();
  return info;
}

TWideLabel::TWideLabel(TComponent* owner) : TLabel(owner) {}

void TWideLabel::SetCaption(const WideString& caption) {
  if (caption == wideCaption_) return;
  wideCaption_ = caption;
  SendWindowText(wideCaption_);
  Invalidate();
}

void TWideLabel::SetHint(const WideString& hint) {
  wideHint_ = hint;
  TControl::SetHint(ToAnsi(hint));
}

const ClassInfo& TWidePanel::StaticClass() {
  static const ClassInfo info = ClassBuilder<TWidePanel>("TWidePanel", &TPanel::StaticClass())
                                    .Creatable()
                                    .Wide("Caption", &TWidePanel::Caption, &TWidePanel::SetCaption)
                                    .Build();
  return info;
}

TWidePanel::TWidePanel(TComponent* owner) : TPanel(owner) {}

void TWidePanel::SetCaption(const WideString& caption) {
  if (caption == wideCaption_) return;
  wideCaption_ = caption;
  UpdateWindowText();
  Invalidate();
}

// ---- TUiLabel / TUiURLLabel

const ClassInfo& TUiLabel::StaticClass() {
  static const ClassInfo info = ClassBuilder<TUiLabel>("TUiLabel", &TLabel::StaticClass()).Creatable().Build();
  return info;
}

TUiLabel::TUiLabel(TComponent* owner) : TLabel(owner) {}

const ClassInfo& TUiURLLabel::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TUiURLLabel>("TUiURLLabel", &TUiLabel::StaticClass())
          .Creatable()
          .Int("BlinkColor", &TUiURLLabel::BlinkColor, &TUiURLLabel::SetBlinkColor)
          .Int("FlyByColor", &TUiURLLabel::FlyByColor, &TUiURLLabel::SetFlyByColor)
          .Int("UnvisitedColor", &TUiURLLabel::UnvisitedColor, &TUiURLLabel::SetUnvisitedColor)
          .Text("URL", &TUiURLLabel::URL, &TUiURLLabel::SetURL)
          .Bool("Visited", &TUiURLLabel::Visited, &TUiURLLabel::SetVisited)
          .Int("VisitedColor", &TUiURLLabel::VisitedColor, &TUiURLLabel::SetVisitedColor)
          .Build();
  return info;
}

TUiURLLabel::TUiURLLabel(TComponent* owner) : TUiLabel(owner) {
  cursor_ = crHandPoint;
  FontSpec f = font_->Spec();
  f.color = clHighlight;
  f.style |= fsUnderline;
  font_->SetSpec(f);
}

void TUiURLLabel::SetVisited(bool v) {
  if (v == visited_) return;
  visited_ = v;
  Recolor();
}

void TUiURLLabel::SetUnvisitedColor(TColor c) {
  if (c == unvisitedColor_) return;
  unvisitedColor_ = c;
  Recolor();
}

void TUiURLLabel::SetVisitedColor(TColor c) {
  if (c == visitedColor_) return;
  visitedColor_ = c;
  Recolor();
}

void TUiURLLabel::Recolor() {
  font_->SetColor(visited_ ? visitedColor_ : unvisitedColor_);
  Invalidate();
}

namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return std::string();
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

std::string Upper(std::string s) {
  for (char& c : s) c = AsciiUpper(c);
  return s;
}

// Only web and mail addresses are handed to the shell: a label must never start a program,
// open a file or a share, or run another protocol's handler. The scheme is matched without
// regard to case, as the shell matches it. The rest may hold only what an address may hold
// (RFC 3986, with %-escapes): no blanks, quotes, backslashes or control characters, which
// the browser's or mailer's command line could take for arguments of its own.
bool IsLinkTarget(const std::string& target) {
  std::string u = Upper(target);
  size_t scheme = 0;
  for (const char* s : {"HTTP://", "HTTPS://", "MAILTO:"}) {
    if (u.rfind(s, 0) == 0) scheme = std::char_traits<char>::length(s);
  }
  if (scheme == 0 || target.size() == scheme) return false;
  // A mail link names an address and nothing more: header fields after "?" (attach=, body=,
  // cc=) would have the mailer attach a file or fill a message the user never wrote, and a
  // %-escape could spell the "?".
  if (u.rfind("MAILTO:", 0) == 0 && target.find_first_of("?%") != std::string::npos) return false;
  static constexpr std::string_view kPunctuation = "-._~:/?#[]@!$&'()*+,;=%";
  for (char c : target) {
    if (!IsAsciiAlnum(c) && kPunctuation.find(c) == std::string_view::npos) return false;
  }
  return true;
}

std::string Extension(const std::string& target) {
  size_t slash = target.find_last_of("/\\");
  size_t dot = target.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  return target.substr(dot);
}

}  // namespace

void TUiURLLabel::Click() {
  TUiLabel::Click();
  std::string target = Trim(url_);
  if (target.empty()) target = Trim(caption_);
  if (target.empty() || !IsLinkTarget(target)) return;
  Platform& p = Plat();
  if (p.shell.ShellOpen(target)) {
    SetVisited(true);
    return;
  }
  if (Upper(Extension(target)) == ".HTM")
    p.shell.Run(p.system.GetSystemDirectory() + "\\rundll32.exe", "RunDLL32.exe Shell32.dll,OpenAs_RunDLL *.htm");
}

bool TUiURLLabel::WmSetCursor() {
  if (HandleAllocated()) Windows().SetCursor(CursorKind::Hand);
  return true;
}

// ---- TUiClockStatus

const EnumInfo kUiFrameStyleNames{{"fsFlat", "fsLowered", "fsRaised", "fsNone"}};

const ClassInfo& TUiClockStatus::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TUiClockStatus>("TUiClockStatus", &TGraphicControl::StaticClass())
          .Creatable()
          .Bool("Active", &TUiClockStatus::Active, &TUiClockStatus::SetActive)
          .Enum("Alignment", kAlignmentNames, &TUiClockStatus::Alignment, &TUiClockStatus::SetAlignment)
          .Int("BorderWidth", &TUiClockStatus::BorderWidth, &TUiClockStatus::SetBorderWidth)
          .Int("CaptionOffset", &TUiClockStatus::CaptionOffset, &TUiClockStatus::SetCaptionOffset)
          .Int("FillColor", &TUiClockStatus::FillColor, &TUiClockStatus::SetFillColor)
          .Int("FlatColor", &TUiClockStatus::FlatColor, &TUiClockStatus::SetFlatColor)
          .Int("FlatColorAdjustment", &TUiClockStatus::FlatColorAdjustment, &TUiClockStatus::SetFlatColorAdjustment)
          .Text("Format", &TUiClockStatus::Format, &TUiClockStatus::SetFormat)
          .Enum("FrameStyle", kUiFrameStyleNames, &TUiClockStatus::FrameStyle, &TUiClockStatus::SetFrameStyle)
          .Int("Interval", &TUiClockStatus::Interval, &TUiClockStatus::SetInterval)
          .Build();
  return info;
}

TUiClockStatus::TUiClockStatus(TComponent* owner) : TGraphicControl(owner) {
  width_ = 150;
  height_ = 20;
  SetPaintsAtOnce(true);
  Context().Service<PollingTimer>().Register(this);
}

TUiClockStatus::~TUiClockStatus() {
  if (PollingTimer* t = Context().FindService<PollingTimer>()) t->Unregister(this);
}

void TUiClockStatus::SetFormat(const std::string& f) {
  format_ = f;
  if (!Loading()) UpdateText();
}

void TUiClockStatus::SetInterval(int ms) {
  interval_ = ms;
  PollingTimer& t = Context().Service<PollingTimer>();
  t.Unregister(this);
  t.Register(this);
}

void TUiClockStatus::SetAlignment(TAlignment a) {
  alignment_ = a;
  Invalidate();
}
void TUiClockStatus::SetCaptionOffset(int v) {
  captionOffset_ = v;
  Invalidate();
}
void TUiClockStatus::SetFillColor(TColor c) {
  fillColor_ = c;
  Invalidate();
}
void TUiClockStatus::SetFrameStyle(TUiFrameStyle s) {
  frameStyle_ = s;
  Invalidate();
}
void TUiClockStatus::SetFlatColor(TColor c) {
  flatColor_ = c;
  Invalidate();
}
void TUiClockStatus::SetBorderWidth(int v) {
  borderWidth_ = v;
  Invalidate();
}

void TUiClockStatus::UpdateText() {
  SystemTime now;
  Plat().system.GetLocalTime(now);
  // Formatted into a buffer kept from tick to tick: twice a second, no allocation.
  FormatDateTime(Context().format(), format_, now, nextText_);
  if (nextText_ == text_) return;
  text_.swap(nextText_);
  ++redraws_;
  ToWide(text_, windowText_);
  SendWindowText(windowText_);
  Invalidate();
}

bool TUiClockStatus::ChangesOnTheSecond() const {
  // "z" shows milliseconds; an empty format is the date and the long time.
  return format_.find_first_of("zZ") == std::string::npos;
}

void TUiClockStatus::Loaded() {
  TGraphicControl::Loaded();
  UpdateText();
}

void TUiClockStatus::Paint(ICanvas& canvas) {
  TRect r = ClientRect();
  for (int i = 0; i < borderWidth_ && frameStyle_ != fsNone; ++i) {
    if (frameStyle_ == fsFlat) {
      canvas.SetBrush(flatColor_);
      canvas.FrameRect(r);
    } else {
      // A raised frame is lit from the top left; a lowered one from the bottom right.
      const bool raised = frameStyle_ == fsRaised;
      DrawEdge(canvas, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight);
    }
    r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
  canvas.SetBrush(fillColor_);
  canvas.FillRect(r);
  canvas.SetBrush(fillColor_, BrushStyle::Clear);
  canvas.SetFont(font_->Spec());
  TRect tr{r.left + captionOffset_, r.top, r.right - captionOffset_, r.bottom};
  uint32_t flags = DT_SINGLELINE_ | DT_VCENTER_ | DT_NOPREFIX_ |
                   (alignment_ == taRightJustify ? DT_RIGHT_ : alignment_ == taCenter ? DT_CENTER_ : DT_LEFT_);
  canvas.DrawText(text_, tr, flags);
}

// ---- PollingTimer

bool PollingTimer::CanAlign() const {
  if (kTimerSpeedUp != 1 || controls_.empty() || controls_.front()->Interval() > 1000) return false;
  return std::all_of(controls_.begin(), controls_.end(), [](const TUiClockStatus* c) { return c->ChangesOnTheSecond(); });
}

void PollingTimer::Follow() {
  if (controls_.empty())
    repeat_.Stop();
  else if (CanAlign())
    repeat_.WithTheSecond([this] { Tick(); });
  else
    repeat_.Every(controls_.front()->Interval(), [this] { Tick(); });
}

void PollingTimer::Register(TUiClockStatus* control) {
  controls_.push_back(control);
  Follow();
}

void PollingTimer::Unregister(TUiClockStatus* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  Follow();
}

void PollingTimer::Tick() {
  // A copy, as a control may go while the others update; kept, so a tick allocates nothing.
  ticking_.assign(controls_.begin(), controls_.end());
  for (TUiClockStatus* c : ticking_)
    if (c->Active() && c->Visible()) c->UpdateText();
  // A format may have changed: the clocks may now need their own timer, or no longer.
  if (!controls_.empty()) Follow();
}

}  // namespace vsi
