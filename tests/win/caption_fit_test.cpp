// Every caption of the main window, in every language and at the display scales people use,
// drawn with the real font: it fits its box and ends clear of the control beside it on its row
// (the value it names, or the clock), so no word is cut and none runs into its value.
#include "shipped_program.h"  // first: <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/languages.h"

namespace vsi {
namespace {

// The room a label's text has, in pixels of this scale: its own box, and a space's width short
// of the next control that begins right of it on its row.
int Room(const TControl& label, const ViewScale& view) {
  const TRect r = label.BoundsRect();
  int right = r.right;
  const TControl* parent = label.Parent();
  for (int i = 0; parent && i < parent->ControlCount(); ++i) {
    const TControl* other = parent->Controls(i);
    if (other == &label || !other->Visible()) continue;
    const TRect o = other->BoundsRect();
    const bool sameRow = o.top < r.bottom - 2 && o.bottom > r.top + 2;
    if (sameRow && o.left > r.left) right = std::min(right, o.left - 4);
  }
  return view.Scale(right) - view.Scale(r.left);
}

// Visible with every container it lies in: the network panel's captions are never shown.
bool Shown(const TControl& c) {
  for (const TControl* p = &c; p; p = p->Parent())
    if (!p->Visible()) return false;
  return true;
}

class CaptionFitTest : public ShippedProgramTest {};

TEST_F(CaptionFitTest, EveryCaptionFitsBesideItsValueInEveryLanguage) {
  for (int dpi : {96, 120, 144}) {
    if (dpi != 96) MoveToScale(dpi);
    const ViewScale view{dpi};
    for (const LanguageRow& row : kLanguages) {
      main_->Get<TControl>(row.button).Click();
      app_.ProcessMessages();
      int checked = 0;
      for (int i = 0; i < main_->ComponentCount(); ++i) {
        auto* label = dynamic_cast<TLabel*>(main_->Components(i));
        if (!label || !label->HandleAllocated() || !Shown(*label) || label->WordWrap()) continue;
        // The value slots hold facts of the machine, not words of ours.
        if (std::string(label->ClassName()) == "TWideLabel") continue;
        HWND h = reinterpret_cast<HWND>(label->Handle());
        std::wstring text(256, L'\0');
        text.resize(GetWindowTextW(h, text.data(), 256));
        if (text.empty() || text == L" ") continue;
        const int width = TextWidth(h, text), room = Room(*label, view);
        EXPECT_LE(width, room) << row.state << " at " << dpi << " dpi: " << label->Name() << " \""
                               << label->Caption() << "\" is " << width << " px in " << room;
        ++checked;
      }
      EXPECT_GT(checked, 15) << row.state;
    }
  }
  main_->Get<TControl>(kLanguages[0].button).Click();
}

}  // namespace
}  // namespace vsi
