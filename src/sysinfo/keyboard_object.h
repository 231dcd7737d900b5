#pragma once
// The keyboard object the main window retrieves at start: repeat delay and speed, caret
// blink time, type and layout; its component.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/strings.h"
#include "platform/locale.h"
#include "platform/system.h"
#include "sysinfo/sysinfo_base.h"

namespace vsi {

class TSysKeyboardObject : public TSysObject {
  VSI_CLASS(TSysKeyboardObject)
  explicit TSysKeyboardObject(AppContext& context);
  int32_t Delay() const { return delay_; }
  void SetDelay(int32_t value);
  int32_t Speed() const { return speed_; }
  void SetSpeed(int32_t value);
  bool NumLock() const { return numLock_; }
  bool CapsLock() const { return capsLock_; }
  bool ScrollLock() const { return scrollLock_; }
  int32_t Typ() const { return typ_; }
  int32_t SubTyp() const { return subTyp_; }
  int32_t FunctionKeys() const { return functionKeys_; }
  const AnsiString& Layout() const { return layout_; }
  int32_t CaretBlinkTime() const { return caretBlinkTime_; }
  void SetCaretBlinkTime(int32_t value);
  void Retrieve() override;
  void Apply() override;
  void DiscardBool(bool) {}
  void DiscardInt(int32_t) {}
  void DiscardText(const AnsiString&) {}

 private:
  int32_t delay_ = 0, speed_ = 0, typ_ = 0, subTyp_ = 0, functionKeys_ = 0, caretBlinkTime_ = 0;
  bool numLock_ = false, capsLock_ = false, scrollLock_ = false;
  AnsiString layout_;
};

class TSysKeyboard : public TSysBaseComponent {
  VSI_CLASS(TSysKeyboard)
  explicit TSysKeyboard(TComponent* owner);
  TSysKeyboardObject* Keyboard() const { return static_cast<TSysKeyboardObject*>(Object()); }
  void SetKeyboard(TSysKeyboardObject*) {}
};

}  // namespace vsi
