#include "controls/register.h"

#include "controls/drive_combo.h"
#include "controls/ui_labels.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "framework/timer.h"

namespace vsi {

void RegisterControlClasses() {
  for (const ClassInfo* cls :
       {&TLabel::StaticClass(), &TPanel::StaticClass(), &TSpeedButton::StaticClass(), &TButton::StaticClass(),
        &TBitBtn::StaticClass(), &TMemo::StaticClass(), &TComboBox::StaticClass(), &TTimer::StaticClass(),
        &TWideLabel::StaticClass(), &TWidePanel::StaticClass(), &TUiLabel::StaticClass(),
        &TUiURLLabel::StaticClass(), &TUiClockStatus::StaticClass(), &TDriveComboBox::StaticClass()})
    RegisterClass(*cls);
}

}  // namespace vsi
