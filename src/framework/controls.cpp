#include "framework/controls.h"

#include <algorithm>
#include <climits>

#include "framework/context.h"

namespace vsi {

const EnumInfo kAlignNames{{"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};
const EnumInfo kAlignmentNames{{"taLeftJustify", "taRightJustify", "taCenter"}};
const EnumInfo kAnchorNames{{"akLeft", "akTop", "akRight", "akBottom"}};

const ClassInfo& TControl::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TControl>("TControl", &TComponent::StaticClass())
          .Int("Left", &TControl::Left, &TControl::SetLeft)
          .Int("Top", &TControl::Top, &TControl::SetTop)
          .Int("Width", &TControl::Width, &TControl::SetWidth)
          .Int("Height", &TControl::Height, &TControl::SetHeight)
          .Int("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth)
          .Int("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight)
          .Enum("Align", kAlignNames, &TControl::Align, &TControl::SetAlign)
          .Set("Anchors", kAnchorNames, &TControl::Anchors, &TControl::SetAnchors)
          .Text("Caption", &TControl::Caption, &TControl::SetCaption)
          .Text("Hint", &TControl::Hint, &TControl::SetHint)
          .Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
          .Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint)
          .Bool("Visible", &TControl::Visible, &TControl::SetVisible)
          .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled)
          .Int("Color", &TControl::Color, &TControl::SetColor)
          .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
          .Object("Font", TFont::StaticClass(), &TControl::Font, &TControl::SetFont)
          .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
          .Int("TabOrder", &TControl::TabOrder, &TControl::SetTabOrder)
          .Bool("TabStop", &TControl::TabStop, &TControl::SetTabStop)
          .Int("Cursor", &TControl::Cursor, &TControl::SetCursor)
          .Event("OnClick", &TControl::OnClick)
          .Build();
  return info;
}

const ClassInfo& TWinControl::StaticClass() {
  static const ClassInfo info = ClassBuilder<TWinControl>("TWinControl", &TControl::StaticClass()).Build();
  return info;
}

const ClassInfo& TCustomControl::StaticClass() {
  static const ClassInfo info = ClassBuilder<TCustomControl>("TCustomControl", &TWinControl::StaticClass()).Build();
  return info;
}

const ClassInfo& TGraphicControl::StaticClass() {
  static const ClassInfo info = ClassBuilder<TGraphicControl>("TGraphicControl", &TControl::StaticClass()).Build();
  return info;
}

class TControl::ViewEvents : public IWindowEvents {
 public:
  explicit ViewEvents(TControl& control) : c_(control) {}
  void WmPaint(ICanvas& canvas) override {
    const ViewScale view = c_.View();
    if (view.Identity()) return Events().WmPaint(canvas);
    ScaledCanvas scaled(canvas, view);
    Events().WmPaint(scaled);
  }
  void WmMouseDown(MouseButton b, uint8_t shift, int x, int y) override {
    const ViewScale v = c_.View();
    Events().WmMouseDown(b, shift, v.Unscale(x), v.Unscale(y));
  }
  void WmMouseUp(MouseButton b, uint8_t shift, int x, int y) override {
    const ViewScale v = c_.View();
    Events().WmMouseUp(b, shift, v.Unscale(x), v.Unscale(y));
  }
  void WmMouseMove(uint8_t shift, int x, int y) override {
    const ViewScale v = c_.View();
    Events().WmMouseMove(shift, v.Unscale(x), v.Unscale(y));
  }
  void WmMouseLeave() override { Events().WmMouseLeave(); }
  bool WmKeyDown(uint16_t key, uint8_t shift) override { return Events().WmKeyDown(key, shift); }
  bool WmShortcut(uint16_t key, uint8_t shift) override { return Events().WmShortcut(key, shift); }
  void WmKeyUp(uint16_t key, uint8_t shift) override { Events().WmKeyUp(key, shift); }
  bool WmWantsKey(uint16_t key) override { return Events().WmWantsKey(key); }
  void WmChar(char ch) override { Events().WmChar(ch); }
  void WmFocus(bool gained) override { Events().WmFocus(gained); }
  void WmClick() override { Events().WmClick(); }
  void WmSelChange() override { Events().WmSelChange(); }
  void WmShow() override { Events().WmShow(); }
  void WmSize(int w, int h) override {
    const ViewScale v = c_.View();
    Events().WmSize(v.Unscale(w), v.Unscale(h));
  }
  bool WmClose() override { return Events().WmClose(); }
  void WmEndSession() override { Events().WmEndSession(); }
  void WmDestroy() override { Events().WmDestroy(); }
  void WmDrawItem(ICanvas& canvas, int index, const TRect& r, const DrawItemState& state) override {
    const ViewScale view = c_.View();
    if (view.Identity()) return Events().WmDrawItem(canvas, index, r, state);
    ScaledCanvas scaled(canvas, view);
    Events().WmDrawItem(scaled, index, view.Unscale(r), state);
  }
  bool WmTooltip(std::string& text, TPoint& clientPos) override {
    bool own = Events().WmTooltip(text, clientPos);
    clientPos = c_.View().Scale(clientPos);
    return own;
  }
  bool WmSetCursor() override { return Events().WmSetCursor(); }
  void WmDpiChanged(int dpi, const TRect& suggested) override { Events().WmDpiChanged(dpi, suggested); }
  TSize WmMinSize() override { return Events().WmMinSize(); }
  void WmDisplayChange() override { Events().WmDisplayChange(); }
  void WmVolumesChange(bool arrived, uint32_t drives) override { Events().WmVolumesChange(arrived, drives); }
  void WmAddressChange() override { Events().WmAddressChange(); }
  // The items' bounds are the window's pixels already: the form measures them through the
  // same scale its children's windows are placed with.
  bool WmAccessibleItems(std::vector<AccessibleItem>& items) override { return Events().WmAccessibleItems(items); }
  void WmAccessibleAction(int index) override { Events().WmAccessibleAction(index); }

 private:
  IWindowEvents& Events() { return c_; }
  TControl& c_;
};

TControl::TControl(TComponent* owner)
    : TComponent(owner), font_(std::make_unique<TFont>()), events_(std::make_unique<ViewEvents>(*this)) {
  font_->OnChange = [this](TObject*) {
    parentFont_ = false;
    FontChanged();
  };
}

TControl::~TControl() {
  // Children belong to their owner; they only lose their parent here.
  for (TControl* child : controls_) child->parent_ = nullptr;
  controls_.clear();
  if (parent_) {
    auto& siblings = parent_->controls_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  if (handle_) {
    WindowHandle h = handle_;
    handle_ = 0;
    Windows().DestroyWindow(h);
  }
}

IWindowSystem& TControl::Windows() const { return Context().platform().windows; }

void TControl::SetParent(TControl* parent) {
  if (parent == parent_) return;
  if (parent_) {
    auto& siblings = parent_->controls_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  parent_ = parent;
  if (parent_) {
    parent_->controls_.push_back(this);
    if (parentColor_) ParentColorChanged();
    if (parentFont_) ParentFontChanged();
    if (align_ != alNone) parent_->RealignChildren();
    if (parent_->HandleAllocated()) HandleNeeded();
  }
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (handle_) Windows().SetBounds(handle_, NativeRect(BoundsRect()));
  // Placed by the program: the anchors start from here.
  if (anchorsTaken_ && parent_ && !parent_->aligning_) TakeAnchors();
  if (resized) RealignChildren();
}

void TControl::SetClientWidth(int v) { SetWidth(v + (Width() - ClientWidth())); }
void TControl::SetClientHeight(int v) { SetHeight(v + (Height() - ClientHeight())); }

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  if (parent_) parent_->RealignChildren();
}

void TControl::RealignChildren() {
  TRect area = ClientRect();
  aligning_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{aligning_};
  for (TControl* c : controls_) {
    switch (c->align_) {
      case alTop:
        c->SetBounds(area.left, area.top, area.Width(), c->height_);
        area.top += c->height_;
        break;
      case alBottom:
        c->SetBounds(area.left, area.bottom - c->height_, area.Width(), c->height_);
        area.bottom -= c->height_;
        break;
      case alLeft:
        c->SetBounds(area.left, area.top, c->width_, area.Height());
        area.left += c->width_;
        break;
      case alRight:
        c->SetBounds(area.right - c->width_, area.top, c->width_, area.Height());
        area.right -= c->width_;
        break;
      case alClient:
        c->SetBounds(area.left, area.top, area.Width(), area.Height());
        break;
      case alNone: {
        if (!c->anchorsTaken_ || c->anchors_ == (akLeft | akTop)) break;
        // One direction: the start and size a pair of anchors gives for a change of the
        // parent's size by `grown`.
        auto place = [](int start, int size, int grown, bool near, bool far, int& newStart, int& newSize) {
          newStart = start;
          newSize = size;
          if (near && far)
            newSize = std::max(size + grown, 0);
          else if (far)
            newStart = start + grown;
          else if (!near)
            newStart = start + std::max(grown, 0) / 2;  // centred while larger than designed
        };
        const TRect& b = c->anchorBase_;
        int l, t, w, h;
        place(b.left, b.Width(), area.Width() - c->anchorParent_.cx, c->anchors_ & akLeft, c->anchors_ & akRight, l, w);
        place(b.top, b.Height(), area.Height() - c->anchorParent_.cy, c->anchors_ & akTop, c->anchors_ & akBottom, t, h);
        c->SetBounds(l, t, w, h);
        break;
      }
    }
  }
}

void TControl::TakeAnchors() {
  anchorBase_ = BoundsRect();
  anchorParent_ = {parent_->ClientWidth(), parent_->ClientHeight()};
  anchorsTaken_ = true;
}

void TControl::SetTabOrder(int v) {
  if (v == tabOrder_) return;
  tabOrder_ = v;
  if (handle_ && parent_) parent_->ArrangeTabOrder();
}

void TControl::ArrangeTabOrder() {
  // Only windowed controls take part; those without a TabOrder come last, in their order.
  std::vector<TControl*> ordered;
  for (TControl* c : controls_)
    if (c->handle_ && dynamic_cast<TWinControl*>(c)) ordered.push_back(c);
  if (ordered.size() < 2) return;
  auto key = [](const TControl* c) { return c->tabOrder_ < 0 ? INT_MAX : c->tabOrder_; };
  std::stable_sort(ordered.begin(), ordered.end(),
                   [&](const TControl* a, const TControl* b) { return key(a) < key(b); });
  std::vector<WindowHandle> sequence;
  sequence.reserve(ordered.size());
  for (const TControl* c : ordered) sequence.push_back(c->handle_);
  Windows().ArrangeTabOrder(sequence);
}

void TControl::ScaleBy(int numerator, int denominator) {
  if (denominator == 0) return;
  auto scale = [&](int v) { return v * numerator / denominator; };
  for (TControl* c : controls_) c->ScaleBy(numerator, denominator);
  SetBounds(scale(left_), scale(top_), scale(width_), scale(height_));
  if (!parentFont_) {
    font_->SetHeight(scale(font_->Height()));
    parentFont_ = false;
  }
}

void TControl::SetCaption(const AnsiString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  UpdateWindowText();
  Invalidate();
}

void TControl::SetHint(const AnsiString& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  if (handle_) Windows().SetHint(handle_, showHint_ ? hint_ : std::string());
  UpdateWindowText();
}

void TControl::SetShowHint(bool v) {
  showHint_ = v;
  parentShowHint_ = false;
  if (handle_) Windows().SetHint(handle_, showHint_ ? hint_ : std::string());
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (handle_) Windows().SetVisible(handle_, visible_);
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (handle_) Windows().SetEnabled(handle_, enabled_);
  Invalidate();
}

void TControl::SetColor(TColor color) {
  parentColor_ = false;
  if (color == color_) return;
  color_ = color;
  ColorChanged();
}

void TControl::SetParentColor(bool v) {
  parentColor_ = v;
  if (v && parent_) ParentColorChanged();
}

void TControl::SetFont(TFont* font) {
  if (font && font != font_.get()) font_->Assign(*font);
}

void TControl::SetParentFont(bool v) {
  parentFont_ = v;
  if (v && parent_) ParentFontChanged();
}

TColor TControl::EffectiveColor() const { return color_; }

void TControl::ParentColorChanged() {
  if (!parent_) return;
  color_ = parent_->color_;
  ColorChanged();
}

void TControl::ParentFontChanged() {
  if (!parent_) return;
  font_->SetSpec(parent_->font_->Spec());
  parentFont_ = true;  // SetSpec cleared it through OnChange
}

void TControl::ColorChanged() {
  if (handle_) Windows().SetColor(handle_, View().Back(color_));
  Invalidate();
  for (TControl* c : controls_)
    if (c->parentColor_) c->ParentColorChanged();
}

void TControl::FontChanged() {
  if (handle_) Windows().SetFont(handle_, View().Font(font_->Spec()));
  Invalidate();
  for (TControl* c : controls_)
    if (c->parentFont_) c->ParentFontChanged();
}

WideString TControl::ToWide(const AnsiString& s) const {
  return Context().platform().locale.MultiByteToWide(CP_ACP_, s);
}

void TControl::ToWide(const AnsiString& s, WideString& out) const {
  // Every ANSI code page keeps 7-bit ASCII as it is, so times and percentages need no
  // conversion call.
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) {
      out = ToWide(s);
      return;
    }
  out.resize(s.size());
  for (size_t i = 0; i < s.size(); ++i) out[i] = static_cast<char16_t>(s[i]);
}

AnsiString TControl::ToAnsi(const WideString& s) const {
  return Context().platform().locale.WideToMultiByte(CP_ACP_, s);
}

WideString TControl::WindowText() const { return ToWide(caption_); }

void TControl::UpdateWindowText() {
  if (handle_) Windows().SetText(handle_, WindowText());
  AccNameChanged();
}

void TControl::SendWindowText(const WideString& text) {
  if (handle_) Windows().SetText(handle_, text);
  AccNameChanged();
}

void TControl::CreateParams(WindowParams& params) const {
  params.kind = WindowKind::Custom;
  params.parent = parent_ ? parent_->handle_ : 0;
  params.bounds = BoundsRect();
  params.text = WindowText();
  params.color = color_;
  params.font = font_->Spec();
  params.visible = visible_;
  params.enabled = enabled_;
  params.tabStop = tabStop_;
  params.paintsAtOnce = paintsAtOnce_;
  if (parent_) {
    for (const TControl* sibling : parent_->controls_) {
      if (sibling == this) break;
      if (sibling->BoundsRect().Intersects(params.bounds)) {
        params.overlapsEarlier = true;
        break;
      }
    }
  }
}

void TControl::ApplyView() {
  if (handle_) {
    const ViewScale view = View();
    Windows().SetBounds(handle_, NativeRect(BoundsRect()));
    Windows().SetFont(handle_, view.Font(font_->Spec()));
    Windows().SetColor(handle_, view.Back(color_));
  }
  for (TControl* c : controls_) c->ApplyView();
}

void TControl::CreateWnd() {
  WindowParams params;
  CreateParams(params);
  // The one place where the stored 96-dpi values become the native window's.
  const ViewScale view = View();
  params.bounds = NativeRect(params.bounds);
  params.font = view.Font(params.font);
  params.color = view.Back(params.color);
  params.itemHeight = view.Scale(params.itemHeight);
  params.dpi = view.dpi;
  handle_ = Windows().CreateWindow(params, events_.get());
  if (!handle_) throw EOutOfResources(Format("Error creating window for %s", Name().c_str()));
  // Anchors keep the distances the control has when its window is made.
  if (parent_) TakeAnchors();
  if (showHint_ && !hint_.empty()) Windows().SetHint(handle_, hint_);
  CreateWindowHandle();
}

void TControl::HandleNeeded() {
  if (handle_) return;
  if (parent_ && !parent_->handle_) {
    parent_->HandleNeeded();
    if (handle_) return;  // the parent made ours
  }
  CreateWnd();
  CreateChildHandles();
  if (parent_) parent_->ArrangeTabOrder();
}

void TControl::CreateChildHandles() {
  bool created = false;
  for (TControl* c : controls_)
    if (!c->handle_) {
      c->CreateWnd();
      c->CreateChildHandles();
      created = true;
    }
  if (created) ArrangeTabOrder();
}

void TControl::DestroyHandle() {
  for (TControl* c : controls_) c->DestroyHandle();
  if (handle_) {
    WindowHandle h = handle_;
    handle_ = 0;
    Windows().DestroyWindow(h);
  }
}

void TControl::Invalidate() {
  if (!handle_) return;
  if (paintsAtOnce_)
    Windows().PaintNow(handle_);
  else
    Windows().Invalidate(handle_, nullptr, false);
}

void TControl::InvalidateRect(const TRect& r, bool erase) {
  if (handle_) Windows().Invalidate(handle_, &r, erase);
}

void TControl::Paint(ICanvas& canvas) {
  canvas.SetBrush(color_);
  canvas.FillRect(ClientRect());
}

void TControl::Click() { Fire(OnClick, this); }

AccessibleRole TControl::AccRole() const { return AccessibleRole::None; }

void TControl::AccNameChanged() {
  TControl* top = this;
  while (top->parent_) top = top->parent_;
  if (top == this || !top->handle_) return;
  int index = 0;
  bool found = false;
  top->WalkAccessible([&](TControl& c, const TRect&, bool) {
    if (&c == this) return found = true;
    ++index;
    return false;
  });
  if (found) Windows().AccessibleNameChanged(top->handle_, index);
}

void TControl::WmMouseUp(MouseButton button, uint8_t shift, int x, int y) {
  // A release inside the control after a press is a click, as for buttons.
  if (button == mbLeft && x >= 0 && y >= 0 && x < width_ && y < height_ && enabled_) Click();
  if (button == mbRight) {
    // The nearest control, this one or one it lies on, that has a context menu shows it.
    for (TControl* c = this; c; c = c->Parent())
      if (c->OnContextPopup) {
        TPoint screen = handle_ ? Windows().ClientToScreen(handle_, {x, y}) : TPoint{x, y};
        c->OnContextPopup(this, screen);
        return;
      }
  }
}

AnsiString StripHotkeys(const AnsiString& text) {
  AnsiString out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += text[i];
  }
  return out;
}

}  // namespace vsi
