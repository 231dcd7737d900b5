#include "fakes/fake_registry.h"

#include <algorithm>
#include <cstring>

namespace vsi::fake {

namespace {

std::string Key3(RegKey root, const std::string& path, const std::string& name) {
  return std::to_string(root) + "|" + path + "|" + name;
}

bool IsBelow(const std::string& path, const std::string& prefix) {
  if (prefix.empty()) return true;
  if (path.size() < prefix.size() || path.compare(0, prefix.size(), prefix) != 0) return false;
  return path.size() == prefix.size() || path[prefix.size()] == '\\';
}

}  // namespace

FakeRegistry::FakeRegistry() {
  for (RegKey root : {HKEY_CLASSES_ROOT_, HKEY_CURRENT_USER_, HKEY_LOCAL_MACHINE_, HKEY_USERS_,
                      HKEY_CURRENT_CONFIG_, HKEY_DYN_DATA_}) {
    roots_[root] = std::make_shared<Node>();
  }
}

FakeRegistry::~FakeRegistry() = default;

std::string FakeRegistry::Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

std::vector<std::string> FakeRegistry::Split(const std::string& path) {
  std::vector<std::string> parts;
  std::string cur;
  for (char c : path) {
    if (c == '\\') {
      if (!cur.empty()) parts.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) parts.push_back(cur);
  return parts;
}

std::string FakeRegistry::Join(const std::vector<std::string>& parts) {
  std::string out;
  for (const auto& p : parts) {
    if (!out.empty()) out += '\\';
    out += p;
  }
  return out;
}

FakeRegistry::Value* FakeRegistry::FindValue(Node& node, const std::string& name) {
  const std::string low = Lower(name);
  for (auto& v : node.values) {
    if (Lower(v.name) == low) return &v;
  }
  return nullptr;
}

std::shared_ptr<FakeRegistry::Node> FakeRegistry::Find(RegKey root, const std::string& path) const {
  auto it = roots_.find(root);
  if (it == roots_.end()) return nullptr;
  std::shared_ptr<Node> node = it->second;
  for (const auto& part : Split(path)) {
    const std::string low = Lower(part);
    std::shared_ptr<Node> next;
    for (const auto& child : node->children) {
      if (Lower(child->name) == low) next = child;
    }
    if (!next) return nullptr;
    node = next;
  }
  return node;
}

std::shared_ptr<FakeRegistry::Node> FakeRegistry::Make(RegKey root, const std::string& path) {
  auto it = roots_.find(root);
  if (it == roots_.end()) return nullptr;
  std::shared_ptr<Node> node = it->second;
  for (const auto& part : Split(path)) {
    const std::string low = Lower(part);
    std::shared_ptr<Node> next;
    for (const auto& child : node->children) {
      if (Lower(child->name) == low) next = child;
    }
    if (!next) {
      next = std::make_shared<Node>();
      next->name = part;
      next->parent = node;
      node->children.push_back(next);
    }
    node = next;
  }
  return node;
}

bool FakeRegistry::Resolve(RegKey key, std::shared_ptr<Node>& node, RegKey& root, std::string& path,
                           uint32_t& access) const {
  if (IsPredefinedKey(key)) {
    auto it = roots_.find(key);
    if (it == roots_.end()) return false;
    node = it->second;
    root = key;
    path.clear();
    access = KEY_ALL_ACCESS_;
    return true;
  }
  auto it = handles_.find(key);
  if (it == handles_.end()) return false;
  node = it->second.node;
  root = it->second.root;
  path = it->second.path;
  access = it->second.access;
  return true;
}

bool FakeRegistry::Denied(RegKey root, const std::string& path, uint32_t access) const {
  for (const auto& d : denials_) {
    if (d.root == root && IsBelow(path, d.path) && (access & d.rights) != 0) return true;
  }
  return false;
}

WinError FakeRegistry::Open(RegKey parent, const std::string& subKey, uint32_t access, bool create,
                            RegKey& out) {
  OpenRecord rec{parent, subKey, access, create, WinError::Success};
  auto finish = [&](WinError e) {
    rec.result = e;
    openLog_.push_back(rec);
    return e;
  };
  std::shared_ptr<Node> base;
  RegKey root = 0;
  std::string basePath;
  uint32_t parentAccess = 0;
  if (!Resolve(parent, base, root, basePath, parentAccess)) return finish(WinError::InvalidHandle);
  if (base->deleted) return finish(kKeyDeleted);
  if (!subKey.empty() && subKey[0] == '\\') return finish(kBadPathname);
  std::vector<std::string> parts = Split(basePath);
  for (auto& p : Split(subKey)) parts.push_back(Lower(p));
  const std::string full = Join(parts);
  if (Denied(root, full, access)) return finish(WinError::AccessDenied);
  std::shared_ptr<Node> node = Find(root, full);
  if (!node) {
    if (!create) return finish(WinError::FileNotFound);
    if (!IsPredefinedKey(parent) && (parentAccess & KEY_CREATE_SUB_KEY_) == 0) return finish(WinError::AccessDenied);
    std::vector<std::string> given = Split(basePath);
    for (auto& p : Split(subKey)) given.push_back(p);
    node = Make(root, Join(given));  // existing parts match in any case; new ones keep the caller's
  }
  RegKey h = nextHandle_;
  nextHandle_ += 4;
  handles_[h] = Handle{node, root, full, access};
  out = h;
  return finish(WinError::Success);
}

WinError FakeRegistry::OpenKey(RegKey parent, const std::string& subKey, uint32_t access, RegKey& out) {
  return Open(parent, subKey, access, false, out);
}

WinError FakeRegistry::CreateKey(RegKey parent, const std::string& subKey, uint32_t access, RegKey& out) {
  return Open(parent, subKey, access, true, out);
}

WinError FakeRegistry::QueryPerf(const std::string& name, uint32_t* type, uint8_t* data, uint32_t& size) {
  perfSizes_.push_back(size);
  if (perfFailure_) return *perfFailure_;
  auto it = perf_.find(Lower(name));
  if (it == perf_.end()) return WinError::FileNotFound;
  PerfScript& s = it->second;
  const Bytes* block = nullptr;
  if (!s.queue.empty()) {
    block = &s.queue.front();
  } else if (s.producer) {
    if (!s.pending) s.pending = s.producer();
    block = &*s.pending;
  } else if (s.last) {
    block = &*s.last;
  } else {
    return WinError::FileNotFound;
  }
  // The real key leaves the size undefined on MoreData; the caller has to grow on its own.
  if (data == nullptr || size < block->size()) return WinError::MoreData;
  if (!block->empty()) std::memcpy(data, block->data(), block->size());
  size = static_cast<uint32_t>(block->size());
  if (type) *type = REG_BINARY_;
  ++perfDeliveries_;
  if (!s.queue.empty()) {
    s.last = std::move(s.queue.front());
    s.queue.pop_front();
  } else if (s.pending) {
    s.last = std::move(*s.pending);
    s.pending.reset();
  }
  return WinError::Success;
}

WinError FakeRegistry::QueryValue(RegKey key, const std::string& name, uint32_t* type, uint8_t* data,
                                  uint32_t& size) {
  if (key == HKEY_PERFORMANCE_DATA_) return QueryPerf(name, type, data, size);
  std::shared_ptr<Node> node;
  RegKey root = 0;
  std::string path;
  uint32_t access = 0;
  if (!Resolve(key, node, root, path, access)) return WinError::InvalidHandle;
  if (node->deleted) return kKeyDeleted;
  if ((access & KEY_QUERY_VALUE_) == 0) return WinError::AccessDenied;
  const std::string lname = Lower(name);
  readCounts_[Key3(root, path, lname)]++;
  for (const auto& f : readFailures_) {
    if (f.root == root && Lower(f.path) == path && Lower(f.name) == lname) return f.error;
  }
  Bytes dynamicBytes;
  uint32_t vtype = 0;
  const Bytes* bytes = nullptr;
  auto dyn = node->dynamic.find(lname);
  Value* v = FindValue(*node, name);
  if (!v) return WinError::FileNotFound;
  vtype = v->type;
  if (dyn != node->dynamic.end()) {
    dynamicBytes = dyn->second();
    bytes = &dynamicBytes;
  } else {
    bytes = &v->data;
  }
  const uint32_t needed = static_cast<uint32_t>(bytes->size());
  if (data == nullptr) {
    size = needed;
    if (type) *type = vtype;
    return WinError::Success;
  }
  if (size < needed) {
    size = needed;
    return WinError::MoreData;
  }
  if (needed) std::memcpy(data, bytes->data(), needed);
  size = needed;
  if (type) *type = vtype;
  return WinError::Success;
}

WinError FakeRegistry::SetValue(RegKey key, const std::string& name, uint32_t type, const uint8_t* data,
                                uint32_t size) {
  std::shared_ptr<Node> node;
  RegKey root = 0;
  std::string path;
  uint32_t access = 0;
  if (!Resolve(key, node, root, path, access)) return WinError::InvalidHandle;
  if (node->deleted) return kKeyDeleted;
  if ((access & KEY_SET_VALUE_) == 0) return WinError::AccessDenied;
  for (const auto& f : writeFailures_) {
    if (f.root == root && IsBelow(path, Lower(f.path))) return f.error;
  }
  if (data == nullptr && size != 0) return WinError::InvalidParameter;
  ++writeCount_;
  Bytes bytes(data, data + size);
  if (Value* v = FindValue(*node, name)) {
    v->type = type;
    v->data = std::move(bytes);
  } else {
    node->values.push_back(Value{name, type, std::move(bytes)});
  }
  node->dynamic.erase(Lower(name));
  return WinError::Success;
}

WinError FakeRegistry::EnumKey(RegKey key, uint32_t index, std::string& name) {
  std::shared_ptr<Node> node;
  RegKey root = 0;
  std::string path;
  uint32_t access = 0;
  if (!Resolve(key, node, root, path, access)) return WinError::InvalidHandle;
  if (node->deleted) return kKeyDeleted;
  if ((access & KEY_ENUMERATE_SUB_KEYS_) == 0) return WinError::AccessDenied;
  if (index >= node->children.size()) return WinError::NoMoreItems;
  name = node->children[index]->name;
  return WinError::Success;
}

WinError FakeRegistry::EnumValue(RegKey key, uint32_t index, std::string& name) {
  std::shared_ptr<Node> node;
  RegKey root = 0;
  std::string path;
  uint32_t access = 0;
  if (!Resolve(key, node, root, path, access)) return WinError::InvalidHandle;
  if (node->deleted) return kKeyDeleted;
  if ((access & KEY_QUERY_VALUE_) == 0) return WinError::AccessDenied;
  if (index >= node->values.size()) return WinError::NoMoreItems;
  name = node->values[index].name;
  return WinError::Success;
}

WinError FakeRegistry::CloseKey(RegKey key) {
  if (IsPredefinedKey(key)) return WinError::Success;
  return handles_.erase(key) ? WinError::Success : WinError::InvalidHandle;
}

void FakeRegistry::AddKey(RegKey root, const std::string& path) { Make(root, path); }

void FakeRegistry::SetRaw(RegKey root, const std::string& path, const std::string& name, uint32_t type,
                          Bytes data) {
  auto node = Make(root, path);
  if (!node) return;
  if (Value* v = FindValue(*node, name)) {
    v->type = type;
    v->data = std::move(data);
  } else {
    node->values.push_back(Value{name, type, std::move(data)});
  }
  node->dynamic.erase(Lower(name));
}

void FakeRegistry::SetString(RegKey root, const std::string& path, const std::string& name,
                             const std::string& value, uint32_t type) {
  Bytes b(value.begin(), value.end());
  b.push_back(0);
  SetRaw(root, path, name, type, std::move(b));
}

void FakeRegistry::SetDword(RegKey root, const std::string& path, const std::string& name, uint32_t value) {
  Bytes b(4);
  std::memcpy(b.data(), &value, 4);
  SetRaw(root, path, name, REG_DWORD_, std::move(b));
}

void FakeRegistry::SetBinary(RegKey root, const std::string& path, const std::string& name, const Bytes& value) {
  SetRaw(root, path, name, REG_BINARY_, value);
}

void FakeRegistry::SetDynamic(RegKey root, const std::string& path, const std::string& name, uint32_t type,
                              std::function<Bytes()> producer) {
  SetRaw(root, path, name, type, {});
  auto node = Find(root, path);
  node->dynamic[Lower(name)] = std::move(producer);
}

bool FakeRegistry::DeleteKey(RegKey root, const std::string& path) {
  auto node = Find(root, path);
  if (!node || node == roots_[root]) return false;
  std::function<void(Node&)> mark = [&](Node& n) {
    n.deleted = true;
    for (auto& c : n.children) mark(*c);
  };
  mark(*node);
  if (auto parent = node->parent.lock()) {
    auto& ch = parent->children;
    ch.erase(std::remove(ch.begin(), ch.end(), node), ch.end());
  }
  return true;
}

bool FakeRegistry::DeleteValue(RegKey root, const std::string& path, const std::string& name) {
  auto node = Find(root, path);
  if (!node) return false;
  const std::string low = Lower(name);
  auto& vs = node->values;
  auto it = std::find_if(vs.begin(), vs.end(), [&](const Value& v) { return Lower(v.name) == low; });
  if (it == vs.end()) return false;
  vs.erase(it);
  node->dynamic.erase(low);
  return true;
}

bool FakeRegistry::HasKey(RegKey root, const std::string& path) const { return Find(root, path) != nullptr; }

std::optional<FakeRegistry::Value> FakeRegistry::GetValue(RegKey root, const std::string& path,
                                                          const std::string& name) const {
  auto node = Find(root, path);
  if (!node) return std::nullopt;
  Value* v = FindValue(*node, name);
  if (!v) return std::nullopt;
  return *v;
}

std::optional<std::string> FakeRegistry::GetString(RegKey root, const std::string& path,
                                                   const std::string& name) const {
  auto v = GetValue(root, path, name);
  if (!v || (v->type != REG_SZ_ && v->type != REG_EXPAND_SZ_)) return std::nullopt;
  std::string s(v->data.begin(), v->data.end());
  if (auto z = s.find('\0'); z != std::string::npos) s.resize(z);
  return s;
}

std::optional<uint32_t> FakeRegistry::HandleAccess(RegKey key) const {
  auto it = handles_.find(key);
  if (it == handles_.end()) return std::nullopt;
  return it->second.access;
}

std::optional<std::string> FakeRegistry::HandlePath(RegKey key) const {
  auto it = handles_.find(key);
  if (it == handles_.end()) return std::nullopt;
  std::vector<std::string> parts;
  for (auto n = it->second.node; n; n = n->parent.lock()) {
    if (!n->parent.lock()) break;  // the root has no name
    parts.insert(parts.begin(), n->name);
  }
  return Join(parts);
}

int FakeRegistry::ReadCount(RegKey root, const std::string& path, const std::string& name) const {
  auto it = readCounts_.find(Key3(root, Join(Split(Lower(path))), Lower(name)));
  return it == readCounts_.end() ? 0 : it->second;
}

void FakeRegistry::DenyAccess(RegKey root, const std::string& path, uint32_t deniedRights) {
  denials_.push_back(Denial{root, Join(Split(Lower(path))), deniedRights});
}

void FakeRegistry::FailValueRead(RegKey root, const std::string& path, const std::string& name, WinError error) {
  readFailures_.push_back(ReadFailure{root, Join(Split(Lower(path))), name, error});
}

void FakeRegistry::FailValueWrite(RegKey root, const std::string& path, WinError error) {
  writeFailures_.push_back(WriteFailure{root, Join(Split(Lower(path))), error});
}

void FakeRegistry::ClearFailures() {
  denials_.clear();
  readFailures_.clear();
  writeFailures_.clear();
  perfFailure_.reset();
}

void FakeRegistry::QueuePerfData(Bytes block, const std::string& name) {
  perf_[Lower(name)].queue.push_back(std::move(block));
}

void FakeRegistry::SetPerfDataSource(std::function<Bytes()> producer, const std::string& name) {
  auto& s = perf_[Lower(name)];
  s.producer = std::move(producer);
  s.pending.reset();
}

}  // namespace vsi::fake
