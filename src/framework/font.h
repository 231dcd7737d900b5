#pragma once
// Fonts as published properties: name, character height in pixels, colour, style, charset.
#include "framework/object.h"
#include "platform/canvas.h"

namespace vsi {

extern const EnumInfo kFontStyleNames;  // fsBold, fsItalic, fsUnderline, fsStrikeOut

class TFont : public TPersistent {
  VSI_CLASS(TFont)
  TFont() = default;
  const FontSpec& Spec() const { return spec_; }
  void SetSpec(const FontSpec& spec);

  const std::string& Name() const { return spec_.name; }
  void SetName(const std::string& name);
  int Height() const { return spec_.height; }
  void SetHeight(int height);
  // Points at 96 pixels per inch (the layout is fixed at that resolution).
  int Size() const { return (spec_.height * 72 + 48) / 96; }
  void SetSize(int points) { SetHeight((points * 96 + 36) / 72); }
  TColor Color() const { return spec_.color; }
  void SetColor(TColor color);
  uint8_t Style() const { return spec_.style; }
  void SetStyle(uint8_t style);
  uint8_t Charset() const { return spec_.charset; }
  void SetCharset(uint8_t charset);

  void Assign(const TPersistent& source) override;

  TNotifyEvent OnChange;

 private:
  void Changed();
  FontSpec spec_;
};

}  // namespace vsi
