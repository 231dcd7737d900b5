#pragma once
// Published properties: each class lists its properties (name, kind, getter, setter) in a
// ClassInfo, so the window-description reader, the translator and the property listings can
// enumerate, read and write them by name and kind.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "framework/inline_function.h"
#include "platform/types.h"

// <windows.h> names a macro so; our function must keep its name wherever both are seen.
#ifdef RegisterClass
#undef RegisterClass
#endif

namespace vsi {

class TObject;
class TComponent;
struct DescValue;
struct ClassInfo;

using TNotifyEvent = std::function<void(TObject* sender)>;

enum class PropKind : uint8_t {
  Integer,   // any integral value, colours included
  Boolean,
  Enum,      // an index into EnumInfo::names
  Set,       // a bit set over EnumInfo::names
  Float,
  AnsiText,  // 8-bit text
  WideText,  // UTF-16 text
  Object,    // a reference: string list, collection, font, component, ...
  Event,     // a notification bound by handler name
  Data,      // a structured value only the class itself reads (stored lists)
};

struct EnumInfo {
  std::vector<std::string> names;
  int IndexOf(std::string_view name) const;  // -1 when unknown (case-insensitive)
};

using PropValue = std::variant<std::monostate, int64_t, double, AnsiString, WideString, TObject*, TNotifyEvent>;

struct PropInfo {
  std::string name;
  PropKind kind = PropKind::Integer;
  InlineFunction<PropValue(const TObject&)> get;      // empty: not readable
  InlineFunction<void(TObject&, const PropValue&)> set;  // empty: not writable
  InlineFunction<void(TObject&, const DescValue&)> setData;  // Data kind
  const EnumInfo* enumInfo = nullptr;
  const ClassInfo* objectClass = nullptr;  // Object kind: the class of the referenced object
  bool CanRead() const { return static_cast<bool>(get); }
  bool CanWrite() const { return static_cast<bool>(set); }
};

struct ClassInfo {
  std::string name;
  const ClassInfo* parent = nullptr;
  TComponent* (*create)(TComponent* owner) = nullptr;  // null for classes not made by name
  std::vector<PropInfo> props;                            // this class's own, in order

  bool InheritsFrom(const ClassInfo& other) const;
  // Case-insensitive; a derived class's property hides an ancestor's of the same name.
  const PropInfo* FindProperty(std::string_view propName) const;
  // Ancestors' properties first, in declaration order; a redeclared one keeps its place.
  std::vector<const PropInfo*> AllProperties() const;
};

bool SameText(std::string_view a, std::string_view b);

// Registry of classes that window descriptions may name.
void RegisterClass(const ClassInfo& info);
const ClassInfo* FindClass(std::string_view name);

// Reading and writing by name; an unknown property raises EPropertyError.
PropValue GetProp(const TObject& obj, std::string_view name);
void SetProp(TObject& obj, std::string_view name, const PropValue& value);
int64_t GetIntProp(const TObject& obj, std::string_view name);
AnsiString GetStrProp(const TObject& obj, std::string_view name);
TObject* GetObjectProp(const TObject& obj, std::string_view name);

// Builds a ClassInfo for class C with member-function getters and setters.
template <class C>
class ClassBuilder {
 public:
  ClassBuilder(std::string name, const ClassInfo* parent) {
    info_.name = std::move(name);
    info_.parent = parent;
  }
  // C must have a constructor C(TComponent* owner).
  ClassBuilder& Creatable() {
    info_.create = [](TComponent* owner) -> TComponent* { return new C(owner); };
    return *this;
  }
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Int(std::string name, G get, S set = nullptr) {
    return Add(std::move(name), PropKind::Integer, get, set,
               [](auto v) { return PropValue(static_cast<int64_t>(v)); },
               [](const PropValue& v) { return std::get<int64_t>(v); });
  }
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Bool(std::string name, G get, S set = nullptr) {
    return Add(std::move(name), PropKind::Boolean, get, set,
               [](auto v) { return PropValue(static_cast<int64_t>(v ? 1 : 0)); },
               [](const PropValue& v) { return std::get<int64_t>(v) != 0; });
  }
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Enum(std::string name, const EnumInfo& names, G get, S set = nullptr) {
    Add(std::move(name), PropKind::Enum, get, set, [](auto v) { return PropValue(static_cast<int64_t>(v)); },
        [](const PropValue& v) { return std::get<int64_t>(v); });
    info_.props.back().enumInfo = &names;
    return *this;
  }
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Set(std::string name, const EnumInfo& names, G get, S set = nullptr) {
    Add(std::move(name), PropKind::Set, get, set, [](auto v) { return PropValue(static_cast<int64_t>(v)); },
        [](const PropValue& v) { return std::get<int64_t>(v); });
    info_.props.back().enumInfo = &names;
    return *this;
  }
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Float(std::string name, G get, S set = nullptr) {
    return Add(std::move(name), PropKind::Float, get, set, [](auto v) { return PropValue(static_cast<double>(v)); },
               [](const PropValue& v) {
                 if (auto* i = std::get_if<int64_t>(&v)) return static_cast<double>(*i);
                 return std::get<double>(v);
               });
  }
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Text(std::string name, G get, S set = nullptr) {
    return Add(std::move(name), PropKind::AnsiText, get, set, [](const auto& v) { return PropValue(AnsiString(v)); },
               [](const PropValue& v) { return std::get<AnsiString>(v); });
  }
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Wide(std::string name, G get, S set = nullptr) {
    return Add(std::move(name), PropKind::WideText, get, set, [](const auto& v) { return PropValue(WideString(v)); },
               [](const PropValue& v) { return std::get<WideString>(v); });
  }
  // A reference to an object (string list, font, collection, component). `cls` is the class
  // of the referenced objects.
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Object(std::string name, const ClassInfo& cls, G get, S set = nullptr) {
    Add(std::move(name), PropKind::Object, get, set, [](auto* v) { return PropValue(static_cast<TObject*>(v)); },
        [](const PropValue& v) { return std::get<TObject*>(v); });
    info_.props.back().objectClass = &cls;
    return *this;
  }
  ClassBuilder& Event(std::string name, TNotifyEvent C::*field) {
    PropInfo p;
    p.name = std::move(name);
    p.kind = PropKind::Event;
    p.get = [field](const TObject& o) { return PropValue(static_cast<const C&>(o).*field); };
    p.set = [field](TObject& o, const PropValue& v) { static_cast<C&>(o).*field = std::get<TNotifyEvent>(v); };
    info_.props.push_back(std::move(p));
    return *this;
  }
  template <class S>
  ClassBuilder& Data(std::string name, S set) {
    PropInfo p;
    p.name = std::move(name);
    p.kind = PropKind::Data;
    p.setData = [set](TObject& o, const DescValue& v) { (static_cast<C&>(o).*set)(v); };
    info_.props.push_back(std::move(p));
    return *this;
  }
  ClassInfo Build() { return std::move(info_); }

 private:
  template <class G, class S, class ToValue, class FromValue>
  ClassBuilder& Add(std::string name, PropKind kind, G get, S set, ToValue toValue, FromValue fromValue) {
    PropInfo p;
    p.name = std::move(name);
    p.kind = kind;
    p.get = [get, toValue](const TObject& o) { return toValue((static_cast<const C&>(o).*get)()); };
    if constexpr (!std::is_same_v<S, std::nullptr_t>) {
      p.set = [set, fromValue](TObject& o, const PropValue& v) {
        using Arg = typename SetterArg<S>::type;
        (static_cast<C&>(o).*set)(static_cast<Arg>(fromValue(v)));
      };
    }
    info_.props.push_back(std::move(p));
    return *this;
  }
  template <class S>
  struct SetterArg;
  template <class R, class K, class A>
  struct SetterArg<R (K::*)(A)> {
    using type = std::remove_cvref_t<A>;
  };
  ClassInfo info_;
};

// Declares the class's metadata; place at the top of the class body.
#define VSI_CLASS(Self)                                                           \
 public:                                                                           \
  static const ::vsi::ClassInfo& StaticClass();                                    \
  const ::vsi::ClassInfo& ClassType() const override { return StaticClass(); }

}  // namespace vsi
