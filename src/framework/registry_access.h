#pragma once
// The registry accessor: one open key at a time under a root (HKEY_CURRENT_USER unless set).
// Paths beginning with a backslash are taken from the root, others from the open key.
#include <string>
#include <vector>

#include "platform/registry.h"

namespace vsi {

class TRegistry {
 public:
  explicit TRegistry(IRegistry& registry, RegKey root = HKEY_CURRENT_USER_);
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  RegKey RootKey() const { return root_; }
  void SetRootKey(RegKey root);
  RegKey CurrentKey() const { return current_; }
  const std::string& CurrentPath() const { return path_; }

  // Opens with full access (KEY_ALL_ACCESS), creating the key when `canCreate`. False on failure.
  bool OpenKey(const std::string& key, bool canCreate);
  // Opens for reading only (KEY_READ): enough for an ordinary user under HKEY_LOCAL_MACHINE.
  bool OpenKeyReadOnly(const std::string& key);
  void CloseKey();
  bool KeyExists(const std::string& key);
  bool ValueExists(const std::string& name);

  // A missing value gives empty text; another type raises "Invalid data type for '%s'".
  std::string ReadString(const std::string& name);
  // A missing value raises "Failed to get data for '%s'"; another type "Invalid data type for '%s'".
  int32_t ReadInteger(const std::string& name);
  // Raw bytes of a value of any type; false when missing.
  bool ReadBinary(const std::string& name, std::string& out, uint32_t* type = nullptr);
  // Failure raises "Failed to set data for '%s'".
  void WriteString(const std::string& name, const std::string& value);
  void WriteInteger(const std::string& name, int32_t value);
  // Names of the open key's subkeys / values.
  void GetKeyNames(std::vector<std::string>& out);
  void GetValueNames(std::vector<std::string>& out);

 private:
  bool Open(const std::string& key, bool canCreate, uint32_t access);
  IRegistry& reg_;
  RegKey root_;
  RegKey current_ = 0;
  std::string path_;
};

}  // namespace vsi
