#pragma once
// The registry as the Win32 API shows it (advapi32), plus an owning key handle.
#include <cstdint>
#include <string>
#include <utility>

#include "platform/types.h"

namespace vsi {

// A key handle; the predefined roots carry their Win32 values.
using RegKey = uintptr_t;
constexpr RegKey HKEY_CLASSES_ROOT_ = 0x80000000u;
constexpr RegKey HKEY_CURRENT_USER_ = 0x80000001u;
constexpr RegKey HKEY_LOCAL_MACHINE_ = 0x80000002u;
constexpr RegKey HKEY_USERS_ = 0x80000003u;
constexpr RegKey HKEY_PERFORMANCE_DATA_ = 0x80000004u;
constexpr RegKey HKEY_CURRENT_CONFIG_ = 0x80000005u;
constexpr RegKey HKEY_DYN_DATA_ = 0x80000006u;
inline bool IsPredefinedKey(RegKey k) { return k >= 0x80000000u && k <= 0x80000006u; }

enum RegType : uint32_t {
  REG_NONE_ = 0,
  REG_SZ_ = 1,
  REG_EXPAND_SZ_ = 2,
  REG_BINARY_ = 3,
  REG_DWORD_ = 4,
  REG_MULTI_SZ_ = 7,
  REG_QWORD_ = 11,
};

constexpr uint32_t KEY_QUERY_VALUE_ = 0x0001;
constexpr uint32_t KEY_READ_ = 0x20019;
constexpr uint32_t KEY_WRITE_ = 0x20006;
constexpr uint32_t KEY_ALL_ACCESS_ = 0xF003F;

class IRegistry {
 public:
  virtual ~IRegistry() = default;
  // RegOpenKeyExA. On failure `out` is not touched.
  virtual WinError OpenKey(RegKey parent, const std::string& subKey, uint32_t access, RegKey& out) = 0;
  // RegCreateKeyExA (opens the key when it exists). On failure `out` is not touched.
  virtual WinError CreateKey(RegKey parent, const std::string& subKey, uint32_t access, RegKey& out) = 0;
  // RegQueryValueExA. `data` may be null to ask for the size; `size` is in/out as in the API
  // (on MoreData it holds the size needed, except for HKEY_PERFORMANCE_DATA where the API
  // leaves it undefined). `type` may be null.
  virtual WinError QueryValue(RegKey key, const std::string& name, uint32_t* type, uint8_t* data,
                              uint32_t& size) = 0;
  // RegSetValueExA.
  virtual WinError SetValue(RegKey key, const std::string& name, uint32_t type, const uint8_t* data,
                            uint32_t size) = 0;
  // RegEnumKeyExA: the name of subkey `index`, NoMoreItems past the end.
  virtual WinError EnumKey(RegKey key, uint32_t index, std::string& name) = 0;
  // RegEnumValueA: the name of value `index`, NoMoreItems past the end.
  virtual WinError EnumValue(RegKey key, uint32_t index, std::string& name) = 0;
  // RegCloseKey. Closing a predefined root is a harmless no-op.
  virtual WinError CloseKey(RegKey key) = 0;
};

// Owns an opened key and closes it on every path.
class ScopedRegKey {
 public:
  explicit ScopedRegKey(IRegistry& reg, RegKey key = 0) : reg_(&reg), key_(key) {}
  ScopedRegKey(const ScopedRegKey&) = delete;
  ScopedRegKey& operator=(const ScopedRegKey&) = delete;
  ScopedRegKey(ScopedRegKey&& o) noexcept : reg_(o.reg_), key_(std::exchange(o.key_, 0)) {}
  ~ScopedRegKey() { Reset(); }
  RegKey Get() const { return key_; }
  RegKey* Receive() { Reset(); return &key_; }
  explicit operator bool() const { return key_ != 0; }
  void Reset() {
    if (key_ != 0) reg_->CloseKey(key_);
    key_ = 0;
  }

 private:
  IRegistry* reg_;
  RegKey key_;
};

}  // namespace vsi
