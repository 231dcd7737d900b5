#pragma once
// An in-memory registry: a tree of keys with typed values under each predefined root, real
// handles that must be closed, access rights remembered per handle, switches that force
// failures, a scripted HKEY_PERFORMANCE_DATA and dynamic values (the 95-family statistic).
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace vsi::fake {

// Access bits of the handle rights (KEY_*).
constexpr uint32_t KEY_SET_VALUE_ = 0x0002;
constexpr uint32_t KEY_CREATE_SUB_KEY_ = 0x0004;
constexpr uint32_t KEY_ENUMERATE_SUB_KEYS_ = 0x0008;
// ERROR_BAD_PATHNAME: a sub-key path that starts with a backslash.
constexpr WinError kBadPathname = static_cast<WinError>(161);
// ERROR_KEY_DELETED: the key behind an open handle was deleted.
constexpr WinError kKeyDeleted = static_cast<WinError>(1018);

class FakeRegistry : public IRegistry {
 public:
  struct Value {
    std::string name;  // as written, case kept
    uint32_t type = REG_NONE_;
    Bytes data;
  };
  // One call of OpenKey/CreateKey, for tests that check how keys were opened.
  struct OpenRecord {
    RegKey parent = 0;
    std::string subKey;
    uint32_t access = 0;
    bool create = false;
    WinError result = WinError::Success;
  };

  FakeRegistry();
  ~FakeRegistry() override;

  // --- IRegistry ---
  WinError OpenKey(RegKey parent, const std::string& subKey, uint32_t access, RegKey& out) override;
  WinError CreateKey(RegKey parent, const std::string& subKey, uint32_t access, RegKey& out) override;
  WinError QueryValue(RegKey key, const std::string& name, uint32_t* type, uint8_t* data,
                      uint32_t& size) override;
  WinError SetValue(RegKey key, const std::string& name, uint32_t type, const uint8_t* data,
                    uint32_t size) override;
  WinError EnumKey(RegKey key, uint32_t index, std::string& name) override;
  WinError EnumValue(RegKey key, uint32_t index, std::string& name) override;
  WinError CloseKey(RegKey key) override;

  // --- Arranging the tree (paths relative to a root, '\' separated, any case) ---
  void AddKey(RegKey root, const std::string& path);
  void SetRaw(RegKey root, const std::string& path, const std::string& name, uint32_t type, Bytes data);
  // REG_SZ with its terminating zero, as RegSetValueEx is normally called.
  void SetString(RegKey root, const std::string& path, const std::string& name, const std::string& value,
                 uint32_t type = REG_SZ_);
  void SetDword(RegKey root, const std::string& path, const std::string& name, uint32_t value);
  void SetBinary(RegKey root, const std::string& path, const std::string& name, const Bytes& value);
  // A value whose bytes are made on every read (for instance the 95-family CPU statistic).
  void SetDynamic(RegKey root, const std::string& path, const std::string& name, uint32_t type,
                  std::function<Bytes()> producer);
  bool DeleteKey(RegKey root, const std::string& path);  // with its subtree
  bool DeleteValue(RegKey root, const std::string& path, const std::string& name);

  // --- Inspecting ---
  bool HasKey(RegKey root, const std::string& path) const;
  std::optional<Value> GetValue(RegKey root, const std::string& path, const std::string& name) const;
  // The text of a REG_SZ / REG_EXPAND_SZ value without its terminating zero.
  std::optional<std::string> GetString(RegKey root, const std::string& path, const std::string& name) const;
  int OpenHandleCount() const { return static_cast<int>(handles_.size()); }
  // The rights a still-open handle was opened with; nullopt for an unknown handle.
  std::optional<uint32_t> HandleAccess(RegKey key) const;
  // The path (from its root, original case of the tree) of a still-open handle.
  std::optional<std::string> HandlePath(RegKey key) const;
  const std::vector<OpenRecord>& OpenLog() const { return openLog_; }
  // Number of QueryValue calls that reached the value (also failed ones).
  int ReadCount(RegKey root, const std::string& path, const std::string& name) const;
  int WriteCount() const { return writeCount_; }

  // --- Forcing failures ---
  // Opening or creating `path` (or anything below it) with rights that intersect `deniedRights`
  // fails with AccessDenied: deny KEY_SET_VALUE_ to model a user who may only read.
  void DenyAccess(RegKey root, const std::string& path, uint32_t deniedRights = 0xFFFFFFFFu);
  // Reading value `name` of `path` fails with `error` (the output is not touched).
  void FailValueRead(RegKey root, const std::string& path, const std::string& name,
                     WinError error = WinError::AccessDenied);
  // Writing any value under `path` fails with `error`.
  void FailValueWrite(RegKey root, const std::string& path, WinError error = WinError::AccessDenied);
  void ClearFailures();

  // --- HKEY_PERFORMANCE_DATA (value "238" unless told otherwise) ---
  // Blocks are answered in order; the last one is answered again when the queue runs dry.
  // A block stays at the front until a query with a large enough buffer receives it.
  void QueuePerfData(Bytes block, const std::string& name = "238");
  // A producer asked once per delivered block (after the queue, if any, is empty).
  void SetPerfDataSource(std::function<Bytes()> producer, const std::string& name = "238");
  // The next queries answer `error` (with nothing written) instead of data.
  void FailPerfQuery(WinError error) { perfFailure_ = error; }
  // The buffer sizes passed to every query of HKEY_PERFORMANCE_DATA, in order.
  const std::vector<uint32_t>& PerfRequestSizes() const { return perfSizes_; }
  // Empties that record, keeping its storage (a benchmark that counts allocations per query).
  void ForgetPerfRequestSizes() { perfSizes_.clear(); }
  int PerfDeliveries() const { return perfDeliveries_; }

 private:
  struct Node {
    std::string name;
    std::vector<std::shared_ptr<Node>> children;
    std::vector<Value> values;
    std::map<std::string, std::function<Bytes()>> dynamic;  // lower-case value name
    std::weak_ptr<Node> parent;
    bool deleted = false;  // handles to it then answer ERROR_KEY_DELETED
  };
  struct Handle {
    std::shared_ptr<Node> node;
    RegKey root = 0;
    std::string path;  // lower-case, from the root
    uint32_t access = 0;
  };
  struct Denial {
    RegKey root;
    std::string path;
    uint32_t rights;
  };
  struct ReadFailure {
    RegKey root;
    std::string path, name;
    WinError error;
  };
  struct WriteFailure {
    RegKey root;
    std::string path;
    WinError error;
  };
  struct PerfScript {
    std::deque<Bytes> queue;
    std::optional<Bytes> last;     // repeated once the queue is empty
    std::optional<Bytes> pending;  // made by the producer, not delivered yet
    std::function<Bytes()> producer;
  };

  WinError Open(RegKey parent, const std::string& subKey, uint32_t access, bool create, RegKey& out);
  bool Resolve(RegKey key, std::shared_ptr<Node>& node, RegKey& root, std::string& path, uint32_t& access) const;
  std::shared_ptr<Node> Find(RegKey root, const std::string& path) const;
  std::shared_ptr<Node> Make(RegKey root, const std::string& path);
  bool Denied(RegKey root, const std::string& path, uint32_t access) const;
  WinError QueryPerf(const std::string& name, uint32_t* type, uint8_t* data, uint32_t& size);
  static std::string Lower(std::string s);
  static std::vector<std::string> Split(const std::string& path);
  static std::string Join(const std::vector<std::string>& parts);
  static Value* FindValue(Node& node, const std::string& name);

  std::map<RegKey, std::shared_ptr<Node>> roots_;
  std::map<RegKey, Handle> handles_;
  RegKey nextHandle_ = 0x1000;
  std::vector<OpenRecord> openLog_;
  std::vector<Denial> denials_;
  std::vector<ReadFailure> readFailures_;
  std::vector<WriteFailure> writeFailures_;
  std::map<std::string, int> readCounts_;  // "root|path|name" lower-case
  int writeCount_ = 0;
  std::map<std::string, PerfScript> perf_;
  std::optional<WinError> perfFailure_;
  std::vector<uint32_t> perfSizes_;
  int perfDeliveries_ = 0;
};

}  // namespace vsi::fake
