#pragma once
// The drive selector: one item per drive present when its window is created, with a picture
// of the drive's kind; its current drive is a lower-case letter, or none ('\0').
#include "framework/stdctrls.h"

namespace vsi {

class TDriveComboBox : public TCustomComboBox {
  VSI_CLASS(TDriveComboBox)
  explicit TDriveComboBox(TComponent* owner);
  char Drive() const { return drive_; }
  // Stores the letter in lower case, selects its item and reports a change.
  void SetDrive(char letter);
  // Builds the list from the drives present now (done when the window is created).
  void BuildList();
  // Builds the list again for drives that came or went, and selects the current drive when it
  // is still there (no item when it is gone; the drive stays the current one). Reports no
  // change: the drive shown is the same. True when the current drive is listed.
  bool Rebuild();
  // The picture resource of item `index`.
  const std::string& ItemPicture(int index) const { return pictures_.at(index); }
  // The user picked item `index` (as the list reports it).
  void Pick(int index);
  void WmSelChange() override;

 protected:
  void CreateWindowHandle() override;
  void DrawItem(ICanvas& canvas, int index, const TRect& r, const DrawItemState& state) override;

 private:
  void SelectDrive();
  char drive_ = '\0';
  std::vector<std::string> pictures_;
};

}  // namespace vsi
