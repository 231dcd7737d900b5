#include "framework/reflection.h"
#include "framework/ascii.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "framework/exceptions.h"
#include "framework/object.h"

namespace vsi {

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

int EnumInfo::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < names.size(); ++i)
    if (SameText(names[i], name)) return static_cast<int>(i);
  return -1;
}

bool ClassInfo::InheritsFrom(const ClassInfo& other) const {
  for (const ClassInfo* c = this; c; c = c->parent)
    if (c == &other) return true;
  return false;
}

const PropInfo* ClassInfo::FindProperty(std::string_view propName) const {
  for (const ClassInfo* c = this; c; c = c->parent)
    for (const PropInfo& p : c->props)
      if (SameText(p.name, propName)) return &p;
  return nullptr;
}

std::vector<const PropInfo*> ClassInfo::AllProperties() const {
  std::vector<const ClassInfo*> chain;
  for (const ClassInfo* c = this; c; c = c->parent) chain.push_back(c);
  std::vector<const PropInfo*> out;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const PropInfo& p : (*it)->props) {
      auto same = std::find_if(out.begin(), out.end(), [&](const PropInfo* q) { return SameText(q->name, p.name); });
      if (same != out.end())
        *same = &p;
      else
        out.push_back(&p);
    }
  }
  return out;
}

namespace {
struct NoCase {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), AsciiLessNoCase);
  }
};
// Filled once at start-up by the layers' registration calls; read-only afterwards.
std::map<std::string, const ClassInfo*, NoCase>& Classes() {
  static std::map<std::string, const ClassInfo*, NoCase> classes;
  return classes;
}

const PropInfo& Require(const TObject& obj, std::string_view name) {
  const PropInfo* p = obj.ClassType().FindProperty(name);
  if (!p) throw Exception(Format("Property %s does not exist", std::string(name).c_str()));
  return *p;
}
}  // namespace

void RegisterClass(const ClassInfo& info) { Classes()[info.name] = &info; }

const ClassInfo* FindClass(std::string_view name) {
  auto it = Classes().find(std::string(name));
  return it == Classes().end() ? nullptr : it->second;
}

PropValue GetProp(const TObject& obj, std::string_view name) {
  const PropInfo& p = Require(obj, name);
  if (!p.CanRead()) throw Exception(Format("Property %s is write-only", p.name.c_str()));
  return p.get(obj);
}

void SetProp(TObject& obj, std::string_view name, const PropValue& value) {
  const PropInfo& p = Require(obj, name);
  if (!p.CanWrite()) throw Exception(Format("Property %s is read-only", p.name.c_str()));
  p.set(obj, value);
}

int64_t GetIntProp(const TObject& obj, std::string_view name) { return std::get<int64_t>(GetProp(obj, name)); }
AnsiString GetStrProp(const TObject& obj, std::string_view name) { return std::get<AnsiString>(GetProp(obj, name)); }
TObject* GetObjectProp(const TObject& obj, std::string_view name) { return std::get<TObject*>(GetProp(obj, name)); }

const ClassInfo& TObject::StaticClass() {
  static const ClassInfo info = ClassBuilder<TObject>("TObject", nullptr).Build();
  return info;
}

const ClassInfo& TPersistent::StaticClass() {
  static const ClassInfo info = ClassBuilder<TPersistent>("TPersistent", &TObject::StaticClass()).Build();
  return info;
}

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& dest) const {
  throw EConvertError(Format("Cannot assign a %s to a %s", ClassName().c_str(), dest.ClassName().c_str()));
}

}  // namespace vsi
