#include "framework/stdctrls.h"

namespace vsi {

const EnumInfo kBevelCutNames{{"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
const EnumInfo kBorderStyleNames{{"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
const EnumInfo kScrollStyleNames{{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};

// ---- TLabel

const ClassInfo& TLabel::StaticClass() {
  static const ClassInfo info = ClassBuilder<TLabel>("TLabel", &TGraphicControl::StaticClass())
                                    .Creatable()
                                    .Enum("Alignment", kAlignmentNames, &TLabel::Alignment, &TLabel::SetAlignment)
                                    .Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize)
                                    .Bool("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar)
                                    .Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent)
                                    .Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap)
                                    .Build();
  return info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  parentColor_ = true;
  width_ = 65;
  height_ = 13;
}

void TLabel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}
void TLabel::SetWordWrap(bool v) {
  wordWrap_ = v;
  Invalidate();
}
void TLabel::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}
void TLabel::SetShowAccelChar(bool v) {
  showAccelChar_ = v;
  Invalidate();
}

WideString TLabel::AccName() const {
  WideString text = DisplayText();
  if (!showAccelChar_) return text;
  WideString out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && ++i == text.size()) break;  // "&&" is one "&"; a last "&" shows nothing
    out += text[i];
  }
  return out;
}

uint32_t TLabel::TextFlags() const {
  uint32_t flags = DT_EXPANDTABS_;
  flags |= wordWrap_ ? DT_WORDBREAK_ : 0;
  flags |= alignment_ == taRightJustify ? DT_RIGHT_ : alignment_ == taCenter ? DT_CENTER_ : DT_LEFT_;
  if (!showAccelChar_) flags |= DT_NOPREFIX_;
  return flags;
}

void TLabel::Paint(ICanvas& canvas) {
  TRect r = ClientRect();
  if (!transparent_) {
    canvas.SetBrush(color_);
    canvas.FillRect(r);
  }
  canvas.SetBrush(color_, BrushStyle::Clear);
  FontSpec font = font_->Spec();
  if (!enabled_) {
    // Engraved: the text in the highlight colour one pixel down and right, the shadow
    // colour over it.
    font.color = clBtnHighlight;
    canvas.SetFont(font);
    TRect lit{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
    canvas.DrawTextW(DisplayText(), lit, TextFlags());
    font.color = clBtnShadow;
  }
  canvas.SetFont(font);
  canvas.DrawTextW(DisplayText(), r, TextFlags());
}

// ---- TPanel

const ClassInfo& TPanel::StaticClass() {
  static const ClassInfo info = ClassBuilder<TPanel>("TPanel", &TCustomControl::StaticClass())
                                    .Creatable()
                                    .Enum("Alignment", kAlignmentNames, &TPanel::Alignment, &TPanel::SetAlignment)
                                    .Enum("BevelInner", kBevelCutNames, &TPanel::BevelInner, &TPanel::SetBevelInner)
                                    .Enum("BevelOuter", kBevelCutNames, &TPanel::BevelOuter, &TPanel::SetBevelOuter)
                                    .Enum("BorderStyle", kBorderStyleNames, &TPanel::BorderStyle, &TPanel::SetBorderStyle)
                                    .Build();
  return info;
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
  width_ = 185;
  height_ = 41;
}

void TPanel::SetBevelOuter(TBevelCut v) {
  bevelOuter_ = v;
  Invalidate();
}
void TPanel::SetBevelInner(TBevelCut v) {
  bevelInner_ = v;
  Invalidate();
}
void TPanel::SetBorderStyle(TBorderStyle v) {
  borderStyle_ = v;
  Invalidate();
}
void TPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}

void DrawEdge(ICanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight) {
  canvas.SetPen(topLeft);
  canvas.MoveTo(r.left, r.bottom - 1);
  canvas.LineTo(r.left, r.top);
  canvas.LineTo(r.right - 1, r.top);
  canvas.SetPen(bottomRight);
  canvas.LineTo(r.right - 1, r.bottom - 1);
  canvas.LineTo(r.left - 1, r.bottom - 1);
}

namespace {
// A one-pixel bevel: light top-left, dark bottom-right (swapped when lowered).
void DrawBevel(ICanvas& canvas, TRect& r, TBevelCut cut) {
  if (cut == bvNone) return;
  if (cut != bvSpace) {
    const bool raised = cut == bvRaised;
    DrawEdge(canvas, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight);
  }
  r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
}
}  // namespace

void TPanel::Paint(ICanvas& canvas) {
  TRect r = ClientRect();
  canvas.SetBrush(color_);
  canvas.FillRect(r);
  if (borderStyle_ == bsSingle) {
    canvas.SetBrush(clBlack);
    canvas.FrameRect(r);
    r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
  DrawBevel(canvas, r, bevelOuter_);
  DrawBevel(canvas, r, bevelInner_);
  canvas.SetBrush(color_, BrushStyle::Clear);
  canvas.SetFont(font_->Spec());
  uint32_t flags = DT_SINGLELINE_ | DT_VCENTER_ |
                   (alignment_ == taRightJustify ? DT_RIGHT_ : alignment_ == taCenter ? DT_CENTER_ : DT_LEFT_);
  canvas.DrawTextW(DisplayText(), r, flags);
}

// ---- TSpeedButton

const ClassInfo& TSpeedButton::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSpeedButton>("TSpeedButton", &TGraphicControl::StaticClass())
                                    .Creatable()
                                    .Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat)
                                    .Text("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph)
                                    .Build();
  return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  width_ = 23;
  height_ = 22;
  parentColor_ = true;
}

void TSpeedButton::SetFlat(bool v) {
  flat_ = v;
  Invalidate();
}

void TSpeedButton::SetGlyph(const std::string& resource) {
  glyph_ = resource;
  Invalidate();
}

WideString TSpeedButton::WindowText() const { return ToWide(caption_.empty() ? hint_ : caption_); }

void TSpeedButton::Paint(ICanvas& canvas) {
  TRect r = ClientRect();
  canvas.SetBrush(color_);
  canvas.FillRect(r);
  // Flat buttons show their edge only under the pointer or while pressed.
  if (!flat_ || hot_ || pressed_) {
    DrawEdge(canvas, r, pressed_ ? clBtnShadow : clBtnHighlight, pressed_ ? clBtnHighlight : clBtnShadow);
  }
  int shift = pressed_ ? 1 : 0;
  if (!glyph_.empty()) {
    // Centred; the image size is the resource's, so ask the canvas where it can't be known.
    canvas.DrawImage(glyph_, -1 - shift, -1 - shift, true);
  }
  if (!caption_.empty()) {
    canvas.SetBrush(color_, BrushStyle::Clear);
    canvas.SetFont(font_->Spec());
    TRect tr{r.left + shift, r.top + shift, r.right + shift, r.bottom + shift};
    canvas.DrawText(caption_, tr, DT_CENTER_ | DT_VCENTER_ | DT_SINGLELINE_);
  }
}

void TSpeedButton::WmMouseDown(MouseButton button, uint8_t shift, int x, int y) {
  if (button != mbLeft || !enabled_) return;
  pressed_ = true;
  if (HandleAllocated()) Windows().SetCapture(Handle());
  Invalidate();
}

void TSpeedButton::WmMouseUp(MouseButton button, uint8_t shift, int x, int y) {
  if (button != mbLeft) return;
  bool wasPressed = pressed_;
  pressed_ = false;
  if (HandleAllocated()) Windows().ReleaseCapture();
  Invalidate();
  if (wasPressed && x >= 0 && y >= 0 && x < width_ && y < height_ && enabled_) Click();
}

void TSpeedButton::WmMouseMove(uint8_t, int x, int y) {
  bool inside = x >= 0 && y >= 0 && x < width_ && y < height_;
  if (inside != hot_) {
    hot_ = inside;
    Invalidate();
  }
}

void TSpeedButton::WmMouseLeave() {
  if (hot_) {
    hot_ = false;
    Invalidate();
  }
}

// ---- TButton

const ClassInfo& TButton::StaticClass() {
  static const ClassInfo info = ClassBuilder<TButton>("TButton", &TWinControl::StaticClass()).Creatable().Build();
  return info;
}

const ClassInfo& TBitBtn::StaticClass() {
  static const ClassInfo info = ClassBuilder<TBitBtn>("TBitBtn", &TButton::StaticClass())
                                    .Creatable()
                                    .Text("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph)
                                    .Build();
  return info;
}

void TBitBtn::SetGlyph(const std::string& resource) {
  if (resource == glyph_) return;
  glyph_ = resource;
  if (HandleAllocated()) Windows().SetButtonImage(Handle(), glyph_);
}

void TBitBtn::CreateParams(WindowParams& params) const {
  TButton::CreateParams(params);
  params.image = glyph_;
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  width_ = 75;
  height_ = 25;
  tabStop_ = true;
}

void TButton::CreateParams(WindowParams& params) const {
  TWinControl::CreateParams(params);
  params.kind = WindowKind::Button;
}

// ---- TCustomMemo

const ClassInfo& TCustomMemo::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TCustomMemo>("TCustomMemo", &TWinControl::StaticClass())
          .Enum("BorderStyle", kBorderStyleNames, &TCustomMemo::BorderStyle, &TCustomMemo::SetBorderStyle)
          .Object("Lines", TStrings::StaticClass(), &TCustomMemo::Lines, &TCustomMemo::SetLines)
          .Bool("ReadOnly", &TCustomMemo::ReadOnly, &TCustomMemo::SetReadOnly)
          .Bool("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs)
          .Enum("ScrollBars", kScrollStyleNames, &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars)
          .Text("Text", &TCustomMemo::Text, &TCustomMemo::SetText)
          .Bool("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap)
          .Build();
  return info;
}

const ClassInfo& TMemo::StaticClass() {
  static const ClassInfo info = ClassBuilder<TMemo>("TMemo", &TCustomMemo::StaticClass()).Creatable().Build();
  return info;
}

TCustomMemo::TCustomMemo(TComponent* owner) : TWinControl(owner), lines_(std::make_unique<TStringList>()) {
  width_ = 185;
  height_ = 89;
  tabStop_ = true;
  color_ = clWindow;
  lines_->OnChange = [this](TObject*) {
    if (reading_) return;  // taken from the window: nothing to send back
    trailing_.clear();
    UpdateWindowText();
  };
}

namespace {
template <class S>
size_t WithoutFinalBreaks(const S& text) {
  size_t end = text.size();
  while (end > 0 && (text[end - 1] == '\r' || text[end - 1] == '\n')) --end;
  return end;
}
}  // namespace

void TCustomMemo::SetLines(TStrings* lines) {
  if (lines && lines != lines_.get()) lines_->Assign(*lines);
}

AnsiString TCustomMemo::ListText() const {
  AnsiString text = lines_->Text();
  if (text.size() >= 2) text.resize(text.size() - 2);  // no final line break
  return text + trailing_;
}

void TCustomMemo::ReadWindowText() const {
  if (!HandleAllocated() || reading_) return;
  AnsiString shown = ToAnsi(Windows().GetText(Handle()));
  if (shown == ListText()) return;
  reading_ = true;
  lines_->SetText(shown);
  reading_ = false;
  trailing_ = shown.substr(WithoutFinalBreaks(shown));
}

TStrings* TCustomMemo::Lines() const {
  ReadWindowText();
  return lines_.get();
}

AnsiString TCustomMemo::Text() const {
  ReadWindowText();
  return ListText();
}

void TCustomMemo::SetText(const AnsiString& text) {
  // What the window shows before the change, in UTF-16.
  const WideString shown = HandleAllocated() ? Windows().GetText(Handle()) : WideString();
  reading_ = true;
  lines_->SetText(text);
  reading_ = false;
  // The list forgets a final line break; the memo keeps it, as an edit control does.
  const size_t end = WithoutFinalBreaks(text);
  trailing_ = text.substr(end);
  if (!HandleAllocated()) return;
  // Only final line breaks changed (the translator drops them on every switch): the window
  // keeps its own UTF-16 text, so characters typed outside the code page are not lost.
  const WideString body = shown.substr(0, WithoutFinalBreaks(shown));
  if (ToAnsi(body) == text.substr(0, end)) {
    const WideString kept = body + ToWide(trailing_);
    if (kept != shown) Windows().SetText(Handle(), kept);
    return;
  }
  UpdateWindowText();
}

WideString TCustomMemo::WindowText() const { return ToWide(ListText()); }

void TCustomMemo::CreateParams(WindowParams& params) const {
  TWinControl::CreateParams(params);
  params.kind = WindowKind::Memo;
  params.vScroll = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
  params.readOnly = readOnly_;
  params.wantTabs = wantTabs_;
}

// ---- TCustomComboBox

const ClassInfo& TCustomComboBox::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TCustomComboBox>("TCustomComboBox", &TWinControl::StaticClass())
          .Int("ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight)
          .Int("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex)
          .Object("Items", TStrings::StaticClass(), &TCustomComboBox::Items, &TCustomComboBox::SetItems)
          .Event("OnChange", &TCustomComboBox::OnChange)
          .Build();
  return info;
}

const ClassInfo& TComboBox::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TComboBox>("TComboBox", &TCustomComboBox::StaticClass()).Creatable().Build();
  return info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TStringList>()) {
  width_ = 145;
  height_ = 21;
  tabStop_ = true;
  color_ = clWindow;
  items_->OnChange = [this](TObject*) { SyncItems(); };
}

void TCustomComboBox::SetItems(TStrings* items) {
  if (items && items != items_.get()) items_->Assign(*items);
}

void TCustomComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= items_->Count()) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  if (HandleAllocated()) Windows().ComboSetIndex(Handle(), itemIndex_);
  UpdateWindowText();
}

AnsiString TCustomComboBox::Text() const {
  return itemIndex_ >= 0 && itemIndex_ < items_->Count() ? items_->Strings(itemIndex_) : AnsiString();
}

WideString TCustomComboBox::WindowText() const { return ToWide(Text()); }

void TCustomComboBox::CreateParams(WindowParams& params) const {
  TWinControl::CreateParams(params);
  params.kind = WindowKind::ComboBox;
  params.itemHeight = itemHeight_;
}

void TCustomComboBox::CreateWindowHandle() {
  SyncItems();
  Windows().ComboSetIndex(Handle(), itemIndex_);
}

void TCustomComboBox::SyncItems() {
  if (!HandleAllocated()) return;
  std::vector<WideString> texts;
  texts.reserve(items_->Count());
  for (int i = 0; i < items_->Count(); ++i) texts.push_back(ToWide(items_->Strings(i)));
  Windows().ComboSetItems(Handle(), texts);
  Windows().ComboSetIndex(Handle(), itemIndex_);
}

void TCustomComboBox::WmSelChange() {
  itemIndex_ = HandleAllocated() ? Windows().ComboGetIndex(Handle()) : itemIndex_;
  Change();
}

void TCustomComboBox::Change() { Fire(OnChange, this); }

void TCustomComboBox::WmDrawItem(ICanvas& canvas, int index, const TRect& r, const DrawItemState& state) {
  DrawItem(canvas, index, r, state);
}

void TCustomComboBox::DrawItem(ICanvas& canvas, int index, const TRect& r, const DrawItemState& state) {
  canvas.SetBrush(state.selected ? clHighlight : color_);
  canvas.FillRect(r);
  if (index < 0 || index >= items_->Count()) return;
  FontSpec f = font_->Spec();
  if (state.selected) f.color = clHighlightText;
  canvas.SetFont(f);
  canvas.SetBrush(color_, BrushStyle::Clear);
  canvas.TextOut(r.left + 2, r.top, items_->Strings(index));
}

}  // namespace vsi
