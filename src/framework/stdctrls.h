#pragma once
// The plain controls the windows use: label, panel, picture button, push button, memo and
// combo box.
#include <memory>
#include <string>

#include "framework/controls.h"
#include "framework/strings.h"

namespace vsi {

class TLabel : public TGraphicControl {
  VSI_CLASS(TLabel)
  explicit TLabel(TComponent* owner);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v) { autoSize_ = v; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  void Paint(ICanvas& canvas) override;
  AccessibleRole AccRole() const override { return AccessibleRole::StaticText; }
  // What it shows: without the hot-key markers.
  WideString AccName() const override;

 protected:
  // The text to draw, in UTF-16 (plain labels convert their 8-bit caption).
  virtual WideString DisplayText() const { return ToWide(caption_); }
  uint32_t TextFlags() const;

  bool autoSize_ = true;
  TAlignment alignment_ = taLeftJustify;
  bool wordWrap_ = false;
  bool transparent_ = false;
  bool showAccelChar_ = true;
};

// A one-pixel edge around r: the top and left lines in one colour, the bottom and right in
// the other (light then dark looks raised, dark then light lowered).
void DrawEdge(ICanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight);

enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
extern const EnumInfo kBevelCutNames;
enum TBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
extern const EnumInfo kBorderStyleNames;

class TPanel : public TCustomControl {
  VSI_CLASS(TPanel)
  explicit TPanel(TComponent* owner);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  void Paint(ICanvas& canvas) override;

 protected:
  virtual WideString DisplayText() const { return ToWide(caption_); }
  TBevelCut bevelOuter_ = bvRaised;
  TBevelCut bevelInner_ = bvNone;
  TBorderStyle borderStyle_ = bsNone;
  TAlignment alignment_ = taCenter;
};

// A flat picture button: a bitmap resource (Glyph) and/or a caption; its window text is the
// caption, or the hint when it only shows a picture.
class TSpeedButton : public TGraphicControl {
  VSI_CLASS(TSpeedButton)
  explicit TSpeedButton(TComponent* owner);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  const std::string& Glyph() const { return glyph_; }
  void SetGlyph(const std::string& resource);
  bool Hot() const { return hot_; }
  bool Pressed() const { return pressed_; }
  WideString WindowText() const override;
  AccessibleRole AccRole() const override { return AccessibleRole::PushButton; }
  void Paint(ICanvas& canvas) override;
  void WmMouseDown(MouseButton button, uint8_t shift, int x, int y) override;
  void WmMouseUp(MouseButton button, uint8_t shift, int x, int y) override;
  void WmMouseMove(uint8_t shift, int x, int y) override;
  void WmMouseLeave() override;

 private:
  bool flat_ = false;
  std::string glyph_;
  bool hot_ = false;
  bool pressed_ = false;
};

// A native push button.
class TButton : public TWinControl {
  VSI_CLASS(TButton)
  explicit TButton(TComponent* owner);
  AccessibleRole AccRole() const override { return AccessibleRole::Window; }

 protected:
  void CreateParams(WindowParams& params) const override;
};

// A push button with a picture beside its caption.
class TBitBtn : public TButton {
  VSI_CLASS(TBitBtn)
  using TButton::TButton;
  const std::string& Glyph() const { return glyph_; }
  void SetGlyph(const std::string& resource);

 protected:
  void CreateParams(WindowParams& params) const override;

 private:
  std::string glyph_;
};

enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
extern const EnumInfo kScrollStyleNames;

// The memo base class: a native multi-line edit whose lines are a string list. Once its
// window exists, the text is the window's: what the user typed is what Text and Lines give.
class TCustomMemo : public TWinControl {
  VSI_CLASS(TCustomMemo)
  explicit TCustomMemo(TComponent* owner);
  TStrings* Lines() const;
  void SetLines(TStrings* lines);  // copies the lines
  // All lines joined by CR LF, without a final line break.
  AnsiString Text() const;
  void SetText(const AnsiString& text);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle v) { scrollBars_ = v; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v) { wordWrap_ = v; }
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool v) { wantTabs_ = v; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v) { borderStyle_ = v; }
  WideString WindowText() const override;
  AccessibleRole AccRole() const override { return AccessibleRole::Window; }
  void Paint(ICanvas& canvas) override {}

 protected:
  void CreateParams(WindowParams& params) const override;
  // Takes the window's text into the lines when the user changed it.
  void ReadWindowText() const;
  AnsiString ListText() const;
  std::unique_ptr<TStringList> lines_;
  TScrollStyle scrollBars_ = ssNone;
  bool readOnly_ = false;
  bool wordWrap_ = true;
  bool wantTabs_ = false;
  TBorderStyle borderStyle_ = bsSingle;
  mutable AnsiString trailing_;  // a text set with a final line break keeps it
  mutable bool reading_ = false;
};

class TMemo : public TCustomMemo {
  VSI_CLASS(TMemo)
  using TCustomMemo::TCustomMemo;
};

// A native drop-down list whose items the control draws.
class TCustomComboBox : public TWinControl {
  VSI_CLASS(TCustomComboBox)
  explicit TCustomComboBox(TComponent* owner);
  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* items);  // copies the items
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int v) { itemHeight_ = v; }
  AnsiString Text() const;
  WideString WindowText() const override;
  void WmSelChange() override;
  AccessibleRole AccRole() const override { return AccessibleRole::Window; }
  void WmDrawItem(ICanvas& canvas, int index, const TRect& r, const DrawItemState& state) override;
  void Paint(ICanvas& canvas) override {}

  TNotifyEvent OnChange;

 protected:
  void CreateParams(WindowParams& params) const override;
  void CreateWindowHandle() override;
  virtual void Change();
  virtual void DrawItem(ICanvas& canvas, int index, const TRect& r, const DrawItemState& state);
  void SyncItems();
  std::unique_ptr<TStringList> items_;
  int itemIndex_ = -1;
  int itemHeight_ = 16;
};

class TComboBox : public TCustomComboBox {
  VSI_CLASS(TComboBox)
  using TCustomComboBox::TCustomComboBox;
};

}  // namespace vsi
