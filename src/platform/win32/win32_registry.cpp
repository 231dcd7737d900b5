#include "platform/win32/win32_api.h"

#include <vector>

#include "platform/win32/win32_platform.h"

namespace vsi {

namespace {

HKEY H(RegKey k) { return reinterpret_cast<HKEY>(k); }
WinError E(LONG code) { return static_cast<WinError>(static_cast<uint32_t>(code)); }

}  // namespace

WinError Win32Registry::OpenKey(RegKey parent, const std::string& subKey, uint32_t access, RegKey& out) {
  HKEY h = nullptr;
  const LONG r = RegOpenKeyExA(H(parent), subKey.c_str(), 0, access, &h);
  if (r == ERROR_SUCCESS) out = reinterpret_cast<RegKey>(h);
  return E(r);
}

WinError Win32Registry::CreateKey(RegKey parent, const std::string& subKey, uint32_t access, RegKey& out) {
  HKEY h = nullptr;
  const LONG r = RegCreateKeyExA(H(parent), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                 &h, nullptr);
  if (r == ERROR_SUCCESS) out = reinterpret_cast<RegKey>(h);
  return E(r);
}

WinError Win32Registry::QueryValue(RegKey key, const std::string& name, uint32_t* type, uint8_t* data,
                                   uint32_t& size) {
  DWORD t = 0, s = size;
  const LONG r = RegQueryValueExA(H(key), name.c_str(), nullptr, type ? &t : nullptr, data, &s);
  size = s;
  if (type && (r == ERROR_SUCCESS || r == ERROR_MORE_DATA)) *type = t;
  return E(r);
}

WinError Win32Registry::SetValue(RegKey key, const std::string& name, uint32_t type, const uint8_t* data,
                                 uint32_t size) {
  return E(RegSetValueExA(H(key), name.c_str(), 0, type, data, size));
}

WinError Win32Registry::EnumKey(RegKey key, uint32_t index, std::string& name) {
  char buf[256];  // key names are at most 255 characters
  DWORD len = sizeof buf;
  const LONG r = RegEnumKeyExA(H(key), index, buf, &len, nullptr, nullptr, nullptr, nullptr);
  if (r == ERROR_SUCCESS) name.assign(buf, len);
  return E(r);
}

WinError Win32Registry::EnumValue(RegKey key, uint32_t index, std::string& name) {
  std::vector<char> buf(16384);  // value names are at most 16383 characters
  DWORD len = static_cast<DWORD>(buf.size());
  const LONG r = RegEnumValueA(H(key), index, buf.data(), &len, nullptr, nullptr, nullptr, nullptr);
  if (r == ERROR_SUCCESS) name.assign(buf.data(), len);
  return E(r);
}

WinError Win32Registry::CloseKey(RegKey key) {
  if (IsPredefinedKey(key)) return WinError::Success;
  return E(RegCloseKey(H(key)));
}

}  // namespace vsi
