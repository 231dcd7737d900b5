#pragma once
// Controls: components with a place on a parent, a caption, colours and a font. In the Windows
// build every control gets a native window (its peer) when its parent's window is created;
// setters store the value and forward it to the peer when there is one. Without peers (tests)
// the same code runs: tests call Paint with a recording canvas and the input handlers directly.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/font.h"
#include "framework/view_scale.h"
#include "platform/windowing.h"

namespace vsi {

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };
extern const EnumInfo kAlignNames;
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
extern const EnumInfo kAlignmentNames;
enum TCursorKind : int16_t { crDefault = 0, crHandPoint = -21 };
// The edges of its parent a control keeps its distance to when the parent is resized; with
// neither edge of a direction it stays centred in that direction when the parent grows.
enum TAnchorKind : uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
extern const EnumInfo kAnchorNames;

class TControl : public TComponent, public IWindowEvents {
  VSI_CLASS(TControl)
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // Parent and children (the controls placed on this one, in insertion order).
  TControl* Parent() const { return parent_; }
  virtual void SetParent(TControl* parent);
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(index); }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }
  void SetClientWidth(int v);
  void SetClientHeight(int v);
  TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  uint8_t Anchors() const { return anchors_; }
  void SetAnchors(uint8_t anchors) { anchors_ = anchors; }
  // Scales position, size and font by numerator/denominator.
  virtual void ScaleBy(int numerator, int denominator);

  const AnsiString& Caption() const { return caption_; }
  virtual void SetCaption(const AnsiString& caption);
  const AnsiString& Hint() const { return hint_; }
  void SetHint(const AnsiString& hint);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool v) { parentShowHint_ = v; }
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  TFont* Font() const { return font_.get(); }
  // Copies the given font into the control's own.
  void SetFont(TFont* font);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int v);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v) { tabStop_ = v; }
  int Cursor() const { return cursor_; }
  void SetCursor(int cursor) { cursor_ = cursor; }
  // The colour actually shown: the parent's when ParentColor is set.
  TColor EffectiveColor() const;

  TNotifyEvent OnClick;
  // The context menu of this control and of the controls on it: called with the control
  // released on and the place in screen coordinates when the right button is released.
  std::function<void(TControl* sender, TPoint screen)> OnContextPopup;

  // How this control's window shows: the scale and contrast of the form it lies on. Bounds,
  // fonts and colours stay in the description's 96-dpi values; the native window gets them
  // through this, and paint code and input get a 96-dpi canvas and coordinates.
  virtual ViewScale View() const { return parent_ ? parent_->View() : ViewScale{}; }
  // Sends bounds, font and colour to this control's window and its children's again (the
  // form's scale changed).
  void ApplyView();

  // Native window.
  WindowHandle Handle() const { return handle_; }
  bool HandleAllocated() const { return handle_ != 0; }
  // Creates this control's window and then its children's (parents first).
  void HandleNeeded();
  void CreateChildHandles();
  void DestroyHandle();
  // Asks for a repaint of the whole control: at once for a control that paints at once,
  // else when the message queue comes to it.
  void Invalidate();
  void InvalidateRect(const TRect& r, bool erase);
  // For the few controls a timer changes every second: each change is drawn at once, which
  // costs the system less than a paint message. Set before the window is made: the window
  // keeps its drawing state from paint to paint.
  bool PaintsAtOnce() const { return paintsAtOnce_; }
  void SetPaintsAtOnce(bool v) { paintsAtOnce_ = v; }
  // The text the native window carries: what the control shows (readers, tests).
  virtual WideString WindowText() const;
  // Converts 8-bit text through the system's ANSI code page.
  WideString ToWide(const AnsiString& s) const;
  // The same into `out`, reusing its storage: what a timer shows every second needs no new
  // buffer each time.
  void ToWide(const AnsiString& s, WideString& out) const;
  AnsiString ToAnsi(const WideString& s) const;

  // What a screen reader is told of this control: its role (None: no item of its own, its
  // children may still be), its name (what it shows; a picture button's hint) and its
  // default action (what a click does).
  virtual AccessibleRole AccRole() const;
  virtual WideString AccName() const { return WindowText(); }
  virtual void AccDoDefaultAction() { Click(); }
  // Readers are told when the name changed.
  void AccNameChanged();
  // Goes through the controls on this one as a reader does: every control with a role is
  // an item, in child order, depth first (a control without one stands for its children).
  // `visit` gets the control, its bounds in this control's pixels and whether it shows;
  // it returns true to stop, and so does the walk.
  template <class Visit>
  bool WalkAccessible(Visit&& visit) {
    return WalkAccessible(*this, {0, 0}, visible_, visit);
  }

  // Painting and input, called by the peer (or by tests).
  virtual void Paint(ICanvas& canvas);
  virtual void Click();
  void WmPaint(ICanvas& canvas) override { Paint(canvas); }
  void WmMouseUp(MouseButton button, uint8_t shift, int x, int y) override;
  void WmClick() override { Click(); }
  void WmDestroy() override { handle_ = 0; }

 protected:
  virtual void CreateParams(WindowParams& params) const;
  // The native window's rectangle for a rectangle in 96-dpi units.
  virtual TRect NativeRect(const TRect& r) const { return View().Scale(r); }
  virtual void CreateWnd();
  // After the window exists (e.g. fill a native list).
  virtual void CreateWindowHandle() {}
  // Re-sends the window text to the peer.
  void UpdateWindowText();
  // Sends this text as the window text, without making a copy of it.
  void SendWindowText(const WideString& text);
  virtual void FontChanged();
  virtual void ColorChanged();
  void ParentColorChanged();
  void ParentFontChanged();
  void RealignChildren();
  void TakeAnchors();
  // Puts the children's windows in tab order, so that the keyboard follows TabOrder.
  void ArrangeTabOrder();
  IWindowSystem& Windows() const;

  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  AnsiString caption_;
  AnsiString hint_;
  bool visible_ = true;
  bool paintsAtOnce_ = false;
  bool enabled_ = true;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TColor color_ = clBtnFace;
  bool parentColor_ = false;
  bool parentFont_ = true;
  int tabOrder_ = -1;
  bool tabStop_ = false;
  int cursor_ = crDefault;
  TAlign align_ = alNone;
  uint8_t anchors_ = akLeft | akTop;
  // The place the anchors start from: the control's bounds and its parent's client size
  // when its window was made (or the program last placed it).
  TRect anchorBase_;
  TSize anchorParent_;
  bool anchorsTaken_ = false;
  bool aligning_ = false;  // moving the children itself
  std::unique_ptr<TFont> font_;
  TControl* parent_ = nullptr;
  std::vector<TControl*> controls_;
  WindowHandle handle_ = 0;

 private:
  template <class Visit>
  static bool WalkAccessible(TControl& parent, TPoint origin, bool shown, Visit& visit) {
    for (TControl* c : parent.controls_) {
      // Each level's origin is scaled on its own, as the children's windows are placed.
      TRect r = c->NativeRect(c->BoundsRect());
      r = {r.left + origin.x, r.top + origin.y, r.right + origin.x, r.bottom + origin.y};
      const bool childShown = shown && c->visible_;
      if (c->AccRole() != AccessibleRole::None ? visit(*c, r, childShown)
                                               : WalkAccessible(*c, {r.left, r.top}, childShown, visit))
        return true;
    }
    return false;
  }

  // What the native window reports, turned into 96-dpi units for the control.
  class ViewEvents;
  std::unique_ptr<ViewEvents> events_;
};

// Controls that may hold others and take the focus.
class TWinControl : public TControl {
  VSI_CLASS(TWinControl)
  using TControl::TControl;
};

// Controls that paint themselves.
class TCustomControl : public TWinControl {
  VSI_CLASS(TCustomControl)
  using TWinControl::TWinControl;
};

// Controls without children of their own (labels, picture buttons).
class TGraphicControl : public TControl {
  VSI_CLASS(TGraphicControl)
  using TControl::TControl;
};

// Removes the "&" hot-key markers from a text ("&&" stays one "&").
AnsiString StripHotkeys(const AnsiString& text);

}  // namespace vsi
