#pragma once
// What the retrieved-at-start objects share: the pending-setter pattern and small readers.
#include <string>
#include <utility>

#include "framework/strings.h"
#include "platform/system.h"
#include "sysinfo/sysinfo_base.h"

namespace vsi {

inline const char* BoolText(bool v) { return v ? "true" : "false"; }
// The Boolean form of the registry-backed settings' change records.
inline const char* BoolNumber(bool v) { return v ? "-1" : "0"; }

// The setter pattern: nothing when unchanged; otherwise record, store, and apply when the
// object applies at once.
template <class T, class ToText>
void SetPending(TSysObject& obj, T& field, T value, const char* name, ToText text) {
  if (field == value) return;
  obj.RecordChange(name, text(field), text(value));
  field = std::move(value);
  if (obj.AutoApply()) obj.Apply();
}

inline AnsiString UpToZero(AnsiString s) {
  auto nul = s.find('\0');
  if (nul != AnsiString::npos) s.resize(nul);
  return s;
}

inline bool SpiGet(ISystem& system, uint32_t action, int32_t& value) {
  int32_t v = 0;
  if (!system.SystemParametersInfo(action, 0, &v, 0)) return false;
  value = v;
  return true;
}

}  // namespace vsi
