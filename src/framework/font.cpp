#include "framework/font.h"

namespace vsi {

const EnumInfo kFontStyleNames{{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};

const ClassInfo& TFont::StaticClass() {
  static const ClassInfo info = ClassBuilder<TFont>("TFont", &TPersistent::StaticClass())
                                    .Int("Charset", &TFont::Charset, &TFont::SetCharset)
                                    .Int("Color", &TFont::Color, &TFont::SetColor)
                                    .Int("Height", &TFont::Height, &TFont::SetHeight)
                                    .Text("Name", &TFont::Name, &TFont::SetName)
                                    .Int("Size", &TFont::Size, &TFont::SetSize)
                                    .Set("Style", kFontStyleNames, &TFont::Style, &TFont::SetStyle)
                                    .Build();
  return info;
}

void TFont::SetSpec(const FontSpec& spec) {
  if (spec == spec_) return;
  spec_ = spec;
  Changed();
}

void TFont::SetName(const std::string& name) {
  if (name == spec_.name) return;
  spec_.name = name;
  Changed();
}

void TFont::SetHeight(int height) {
  // A negative height is a character height, as the system takes it.
  if (height < 0) height = -height;
  if (height == spec_.height) return;
  spec_.height = height;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == spec_.color) return;
  spec_.color = color;
  Changed();
}

void TFont::SetStyle(uint8_t style) {
  if (style == spec_.style) return;
  spec_.style = style;
  Changed();
}

void TFont::SetCharset(uint8_t charset) {
  if (charset == spec_.charset) return;
  spec_.charset = charset;
  Changed();
}

void TFont::Assign(const TPersistent& source) {
  if (auto* f = dynamic_cast<const TFont*>(&source)) {
    SetSpec(f->spec_);
    return;
  }
  TPersistent::Assign(source);
}

void TFont::Changed() {
  if (OnChange) OnChange(this);
}

}  // namespace vsi
