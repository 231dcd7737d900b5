#include "sysinfo/keyboard_object.h"

#include <utility>

#include "framework/context.h"
#include "framework/exceptions.h"
#include "framework/registry_access.h"
#include "framework/scope_exit.h"
#include "platform/platform.h"
#include "sysinfo/setting_helpers.h"

namespace vsi {

const ClassInfo& TSysKeyboardObject::StaticClass() {
  using O = TSysKeyboardObject;
  static const ClassInfo info = ClassBuilder<O>("TSysKeyboardObject", &TSysObject::StaticClass())
                                    .Int("Delay", &O::Delay, &O::SetDelay)
                                    .Int("Speed", &O::Speed, &O::SetSpeed)
                                    .Bool("NumLock", &O::NumLock, &O::DiscardBool)
                                    .Bool("CapsLock", &O::CapsLock, &O::DiscardBool)
                                    .Bool("ScrollLock", &O::ScrollLock, &O::DiscardBool)
                                    .Int("Typ", &O::Typ, &O::DiscardInt)
                                    .Int("SubTyp", &O::SubTyp, &O::DiscardInt)
                                    .Int("FunctionKeys", &O::FunctionKeys, &O::DiscardInt)
                                    .Text("Layout", &O::Layout, &O::DiscardText)
                                    .Int("CaretBlinkTime", &O::CaretBlinkTime, &O::SetCaretBlinkTime)
                                    .Build();
  return info;
}

TSysKeyboardObject::TSysKeyboardObject(AppContext& context) : TSysObject(context) {}

namespace {
AnsiString IntText(int32_t v) { return std::to_string(v); }
}  // namespace

void TSysKeyboardObject::SetDelay(int32_t value) { SetPending(*this, delay_, value, "Keyboard:Delay", IntText); }
void TSysKeyboardObject::SetSpeed(int32_t value) { SetPending(*this, speed_, value, "Keyboard:Speed", IntText); }
void TSysKeyboardObject::SetCaretBlinkTime(int32_t value) {
  SetPending(*this, caretBlinkTime_, value, "Keyboard:CaretBlinkTime", IntText);
}

void TSysKeyboardObject::Retrieve() {
  ISystem& s = Plat().system;
  int32_t v = 0;
  if (SpiGet(s, SPI_GETKEYBOARDDELAY_, v)) delay_ = v;
  if (SpiGet(s, SPI_GETKEYBOARDSPEED_, v)) speed_ = v;
  // The toggle bit; the "down" bits must not hide it while the key is held.
  numLock_ = (s.GetKeyState(VK_NUMLOCK_) & 1) != 0;
  capsLock_ = (s.GetKeyState(VK_CAPITAL_) & 1) != 0;
  scrollLock_ = (s.GetKeyState(VK_SCROLL_) & 1) != 0;
  typ_ = s.GetKeyboardType(0);
  subTyp_ = s.GetKeyboardType(1);
  functionKeys_ = s.GetKeyboardType(2);
  std::string layout;
  layout_ = s.GetKeyboardLayoutName(layout) ? UpToZero(layout).substr(0, 8) : AnsiString();
  caretBlinkTime_ = static_cast<int32_t>(s.GetCaretBlinkTime());
}

void TSysKeyboardObject::Apply() {
  ISystem& s = Plat().system;
  if (HasChange("Keyboard:CaretBlinkTime")) {
    CommitChange("Keyboard:CaretBlinkTime");
    s.SetCaretBlinkTime(static_cast<uint32_t>(caretBlinkTime_));
  }
  if (HasChange("Keyboard:Delay")) {
    CommitChange("Keyboard:Delay");
    s.SystemParametersInfo(SPI_SETKEYBOARDDELAY_, static_cast<uint32_t>(delay_), nullptr, 0);
  }
  if (HasChange("Keyboard:Speed")) {
    CommitChange("Keyboard:Speed");
    s.SystemParametersInfo(SPI_SETKEYBOARDSPEED_, static_cast<uint32_t>(speed_), nullptr, 0);
  }
}

// ---------------------------------------------------------------- component

const ClassInfo& TSysKeyboard::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSysKeyboard>("TSysKeyboard", &TSysBaseComponent::StaticClass())
                                    .Creatable()
                                    .Object("Keyboard", TSysKeyboardObject::StaticClass(), &TSysKeyboard::Keyboard,
                                            &TSysKeyboard::SetKeyboard)
                                    .Build();
  return info;
}

TSysKeyboard::TSysKeyboard(TComponent* owner) : TSysBaseComponent(owner) {
  AttachObject(std::make_unique<TSysKeyboardObject>(Context()));
}

}  // namespace vsi
