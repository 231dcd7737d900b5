#include "framework/registry_access.h"

#include <vector>

#include "framework/exceptions.h"

namespace vsi {

TRegistry::TRegistry(IRegistry& registry, RegKey root) : reg_(registry), root_(root) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(RegKey root) {
  CloseKey();
  root_ = root;
}

void TRegistry::CloseKey() {
  if (current_ != 0) reg_.CloseKey(current_);
  current_ = 0;
  path_.clear();
}

bool TRegistry::Open(const std::string& key, bool canCreate, uint32_t access) {
  bool absolute = !key.empty() && key[0] == '\\';
  std::string sub = absolute ? key.substr(1) : key;
  RegKey parent = (absolute || current_ == 0) ? root_ : current_;
  RegKey opened = 0;
  WinError e = canCreate ? reg_.CreateKey(parent, sub, access, opened) : reg_.OpenKey(parent, sub, access, opened);
  if (!Succeeded(e)) return false;
  std::string newPath = (absolute || current_ == 0) ? sub : (path_.empty() ? sub : path_ + "\\" + sub);
  CloseKey();
  current_ = opened;
  path_ = newPath;
  return true;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) { return Open(key, canCreate, KEY_ALL_ACCESS_); }

bool TRegistry::OpenKeyReadOnly(const std::string& key) { return Open(key, false, KEY_READ_); }

bool TRegistry::KeyExists(const std::string& key) {
  bool absolute = !key.empty() && key[0] == '\\';
  RegKey parent = (absolute || current_ == 0) ? root_ : current_;
  RegKey probe = 0;
  if (!Succeeded(reg_.OpenKey(parent, absolute ? key.substr(1) : key, KEY_READ_, probe))) return false;
  reg_.CloseKey(probe);
  return true;
}

bool TRegistry::ValueExists(const std::string& name) {
  uint32_t size = 0;
  WinError e = reg_.QueryValue(current_ ? current_ : root_, name, nullptr, nullptr, size);
  return Succeeded(e) || e == WinError::MoreData;
}

bool TRegistry::ReadBinary(const std::string& name, std::string& out, uint32_t* type) {
  RegKey key = current_ ? current_ : root_;
  uint32_t size = 0;
  uint32_t t = 0;
  WinError e = reg_.QueryValue(key, name, &t, nullptr, size);
  if (!Succeeded(e) && e != WinError::MoreData) return false;
  // The value may grow between the two calls: ask again with the size the call reports.
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::string buffer(size, '\0');
    uint32_t got = size;
    e = reg_.QueryValue(key, name, &t, reinterpret_cast<uint8_t*>(buffer.data()), got);
    if (Succeeded(e)) {
      buffer.resize(got <= size ? got : size);
      out = std::move(buffer);
      if (type) *type = t;
      return true;
    }
    if (e != WinError::MoreData) return false;
    size = got > size ? got : size + 256;
  }
  return false;
}

std::string TRegistry::ReadString(const std::string& name) {
  std::string data;
  uint32_t type = 0;
  if (!ReadBinary(name, data, &type)) return std::string();
  if (type != REG_SZ_ && type != REG_EXPAND_SZ_)
    throw ERegistryException(Format("Invalid data type for '%s'", name.c_str()));
  // Only what the call reported, up to the first terminator.
  auto nul = data.find('\0');
  if (nul != std::string::npos) data.resize(nul);
  return data;
}

int32_t TRegistry::ReadInteger(const std::string& name) {
  std::string data;
  uint32_t type = 0;
  if (!ReadBinary(name, data, &type)) throw ERegistryException(Format("Failed to get data for '%s'", name.c_str()));
  if (type != REG_DWORD_ || data.size() < 4)
    throw ERegistryException(Format("Invalid data type for '%s'", name.c_str()));
  return static_cast<int32_t>(uint8_t(data[0]) | uint8_t(data[1]) << 8 | uint8_t(data[2]) << 16 |
                              uint32_t(uint8_t(data[3])) << 24);
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  WinError e = reg_.SetValue(current_ ? current_ : root_, name, REG_SZ_,
                             reinterpret_cast<const uint8_t*>(value.c_str()), static_cast<uint32_t>(value.size() + 1));
  if (!Succeeded(e)) throw ERegistryException(Format("Failed to set data for '%s'", name.c_str()));
}

void TRegistry::WriteInteger(const std::string& name, int32_t value) {
  uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(uint32_t(value) >> 24)};
  WinError e = reg_.SetValue(current_ ? current_ : root_, name, REG_DWORD_, bytes, 4);
  if (!Succeeded(e)) throw ERegistryException(Format("Failed to set data for '%s'", name.c_str()));
}

void TRegistry::GetKeyNames(std::vector<std::string>& out) {
  out.clear();
  if (!current_) return;
  std::string name;
  for (uint32_t i = 0; Succeeded(reg_.EnumKey(current_, i, name)); ++i) out.push_back(name);
}

void TRegistry::GetValueNames(std::vector<std::string>& out) {
  out.clear();
  if (!current_) return;
  std::string name;
  for (uint32_t i = 0; Succeeded(reg_.EnumValue(current_, i, name)); ++i) out.push_back(name);
}

}  // namespace vsi
