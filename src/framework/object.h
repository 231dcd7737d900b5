#pragma once
// The root classes: TObject (class identity), TPersistent (assignable, listable state).
#include "framework/exceptions.h"
#include "framework/reflection.h"

namespace vsi {

class TObject {
 public:
  virtual ~TObject() = default;
  static const ClassInfo& StaticClass();
  virtual const ClassInfo& ClassType() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassType().name; }
  bool InheritsFrom(const ClassInfo& cls) const { return ClassType().InheritsFrom(cls); }
  template <class T>
  bool Is() const {
    return InheritsFrom(T::StaticClass());
  }
};

class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

class TPersistent : public TObject {
  VSI_CLASS(TPersistent)
  // Copies `source` into this object; raises "Cannot assign a X to a Y" when it can't.
  virtual void Assign(const TPersistent& source);

 protected:
  virtual void AssignTo(TPersistent& dest) const;
};

}  // namespace vsi
