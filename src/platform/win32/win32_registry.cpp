#include "platform/win32/win32_api.h"

#include <cstring>

#include "platform/win32/win32_internal.h"
#include "platform/win32/win32_platform.h"

namespace vsi {

namespace {

HKEY H(RegKey k) { return reinterpret_cast<HKEY>(k); }
WinError E(LONG code) { return static_cast<WinError>(static_cast<uint32_t>(code)); }

}  // namespace

Win32Registry::Win32Registry() : systemLacksProcessorObject_(win32::RunningOnWine()) {}

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
  const bool processorData = key == HKEY_PERFORMANCE_DATA_ && name == "238";
  WinError synthesized = WinError::Success;
  if (processorData && systemLacksProcessorObject_ && data && Synthesize(type, data, size, synthesized))
    return synthesized;
  DWORD t = 0, s = size;
  const LONG r = RegQueryValueExA(H(key), name.c_str(), nullptr, type ? &t : nullptr, data, &s);
  if (processorData && r == ERROR_SUCCESS && data && !win32::PerfDataHasObject(data, s, 238)) {
    systemLacksProcessorObject_ = true;
    if (Synthesize(type, data, size, synthesized)) return synthesized;
  }
  size = s;
  if (type && (r == ERROR_SUCCESS || r == ERROR_MORE_DATA)) *type = t;
  return E(r);
}

bool Win32Registry::Synthesize(uint32_t* type, uint8_t* data, uint32_t& size, WinError& result) {
  std::vector<uint8_t> block;
  if (!win32::SynthesizeProcessorPerfData(block)) return false;  // the system's answer stands
  if (block.size() > size) {
    result = WinError::MoreData;
    return true;
  }
  std::memcpy(data, block.data(), block.size());
  size = static_cast<uint32_t>(block.size());
  if (type) *type = REG_BINARY;
  result = WinError::Success;
  return true;
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
