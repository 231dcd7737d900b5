#pragma once
// The upgrade window (advertises the professional edition in five languages) and the about
// window, both created hidden at start after the main window.
#include <string_view>

#include "framework/forms.h"

namespace vsi {

class Ttoolabout : public TForm {
  VSI_CLASS(Ttoolabout)
  explicit Ttoolabout(TComponent* owner);

  // The flag buttons: each shows its own text and hides the other four.
  void SpeedButton6Click(TObject* sender);  // English, Memo1
  void SpeedButton7Click(TObject* sender);  // French, Memo2
  void SpeedButton1Click(TObject* sender);  // German, Memo4
  void SpeedButton2Click(TObject* sender);  // Italian, Memo3
  void SpeedButton4Click(TObject* sender);  // Spanish, Memo5
  void BitBtn1Click(TObject* sender);

 private:
  // Sets the visibility of Memo1 to Memo5 in that order; only Memo<number> stays visible.
  void ShowOnly(int number);
};

// Empty and never shown; kept for its place among the program's windows.
class Tabout : public TForm {
  VSI_CLASS(Tabout)
  explicit Tabout(TComponent* owner);
};

}  // namespace vsi
