#include "controls/drive_combo.h"

#include "framework/ascii.h"
#include "framework/context.h"
#include "framework/scope_exit.h"
#include "res/resource_names.h"

namespace vsi {

const ClassInfo& TDriveComboBox::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TDriveComboBox>("TDriveComboBox", &TCustomComboBox::StaticClass()).Creatable().Build();
  return info;
}

namespace {
constexpr int kPictureHeight = 16;
}  // namespace

TDriveComboBox::TDriveComboBox(TComponent* owner) : TCustomComboBox(owner) {
  // The drive of the current directory; a network path without a letter gives none.
  std::string dir = Plat().system.GetCurrentDirectory();
  drive_ = dir.empty() || dir[0] == '\\' ? '\0' : AsciiLower(dir[0]);
}

void TDriveComboBox::BuildList() {
  Platform& p = Plat();
  uint32_t mask = p.volumes.GetLogicalDrives();
  items_->BeginUpdate();
  ScopeExit endUpdate{[this] { items_->EndUpdate(); }};
  items_->Clear();
  pictures_.clear();
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i))) continue;
    char letter = static_cast<char>('a' + i);
    std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
    uint32_t type = p.volumes.GetDriveType(root);
    auto bracketedLabel = [&] {
      // No "insert a disk" prompt for an empty drive: its label is just "[]".
      std::string label;
      {
        const uint32_t old = p.volumes.SetErrorMode(SEM_FAILCRITICALERRORS_);
        ScopeExit restore{[&] { p.volumes.SetErrorMode(old); }};
        VolumeInformation info;
        if (p.volumes.GetVolumeInformation(root, info)) label = info.volumeName;
      }
      return "[" + p.locale.CharLower(label) + "]";
    };
    std::string text;
    std::string picture;
    switch (type) {
      case DRIVE_REMOVABLE_:
        text = std::string(1, letter) + ":";
        picture = res::kDriveFloppy;
        break;
      case DRIVE_FIXED_:
        text = std::string(1, letter) + ": " + bracketedLabel();
        picture = res::kDriveFixed;
        break;
      case DRIVE_REMOTE_: {
        std::string remote;
        std::string local = std::string(1, static_cast<char>('A' + i)) + ":";
        std::string part = Succeeded(p.volumes.WNetGetConnection(local, remote)) ? p.locale.CharLower(remote)
                                                                                 : bracketedLabel();
        text = std::string(1, letter) + ": " + part;
        picture = res::kDriveNetwork;
        break;
      }
      case DRIVE_CDROM_:
        text = std::string(1, letter) + ": " + bracketedLabel();
        picture = res::kDriveCdrom;
        break;
      case DRIVE_RAMDISK_:
        text = std::string(1, letter) + ": " + bracketedLabel();
        picture = res::kDriveRam;
        break;
      default:
        continue;  // unknown or no root: not listed
    }
    items_->Add(text);
    pictures_.push_back(picture);
  }
  // Tall enough for the text and the floppy picture.
  int textHeight = Plat().windows.MeasureText(font_->Spec(), "Wg").cy;
  itemHeight_ = textHeight > kPictureHeight ? textHeight : kPictureHeight;
}

void TDriveComboBox::CreateWindowHandle() {
  BuildList();
  TCustomComboBox::CreateWindowHandle();
  SelectDrive();
  Change();
}

bool TDriveComboBox::Rebuild() {
  BuildList();
  SelectDrive();
  return itemIndex_ >= 0;
}

void TDriveComboBox::SelectDrive() {
  int found = -1;
  for (int i = 0; i < items_->Count() && drive_ != '\0'; ++i) {
    const std::string& s = items_->Strings(i);
    if (s.size() >= 2 && AsciiLower(s[0]) == drive_ && s[1] == ':') {
      found = i;
      break;
    }
  }
  itemIndex_ = -2;  // force the update
  SetItemIndex(found);
}

void TDriveComboBox::SetDrive(char letter) {
  drive_ = AsciiLower(letter);
  SelectDrive();
  Change();
}

void TDriveComboBox::Pick(int index) {
  if (index < 0 || index >= items_->Count()) return;
  char picked = AsciiLower(items_->Strings(index)[0]);
  if (picked != drive_) SetDrive(picked);
  // The selection itself reports once more.
  itemIndex_ = index;
  Change();
}

void TDriveComboBox::WmSelChange() {
  Pick(HandleAllocated() ? Windows().ComboGetIndex(Handle()) : itemIndex_);
}

void TDriveComboBox::DrawItem(ICanvas& canvas, int index, const TRect& r, const DrawItemState& state) {
  canvas.SetBrush(state.selected ? clHighlight : color_);
  canvas.FillRect(r);
  if (index < 0 || index >= items_->Count()) return;
  canvas.DrawImage(pictures_[index], r.left + 2, r.top + (r.Height() - kPictureHeight) / 2, true);
  FontSpec f = font_->Spec();
  if (state.selected) f.color = clHighlightText;
  canvas.SetFont(f);
  canvas.SetBrush(color_, BrushStyle::Clear);
  TRect tr{r.left + 22, r.top, r.right, r.bottom};
  canvas.DrawText(items_->Strings(index), tr, DT_SINGLELINE_ | DT_VCENTER_ | DT_NOPREFIX_);
}

}  // namespace vsi
