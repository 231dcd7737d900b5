#include "framework/component.h"

#include <algorithm>

#include "framework/context.h"

namespace vsi {

const ClassInfo& TComponent::StaticClass() {
  static const ClassInfo info = ClassBuilder<TComponent>("TComponent", &TPersistent::StaticClass())
                                    .Text("Name", &TComponent::Name, &TComponent::SetName)
                                    .Int("Tag", &TComponent::Tag, &TComponent::SetTag)
                                    .Build();
  return info;
}

TComponent::TComponent(TComponent* owner) : owner_(owner), context_(owner ? owner->context_ : nullptr) {
  if (!owner) throw Exception("A component needs an owner or a context");
  owner->Insert(this);
}

TComponent::TComponent(AppContext& context) : context_(&context) {}

TComponent::~TComponent() {
  state_ |= csDestroying;
  // Tell everyone that asked to know; they drop their references.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& theirs = other->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    other->Notification(this, Operation::Remove);
  }
  // Owned components go newest first.
  while (!components_.empty()) {
    TComponent* child = components_.back();
    delete child;  // removes itself from components_
  }
  if (owner_) owner_->Remove(this);
}

Platform& TComponent::Plat() const { return context_->platform(); }

void TComponent::SetName(const std::string& name) { name_ = name; }

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) throw ERangeError(Format("List index out of bounds (%d)", index));
  return components_[index];
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameText(c->name_, name)) return c;
  return nullptr;
}

void TComponent::SetLoading(bool loading) {
  if (loading)
    state_ |= csLoading;
  else
    state_ &= ~uint32_t(csLoading);
}

void TComponent::Loaded() { SetLoading(false); }

void TComponent::Notification(TComponent* component, Operation operation) {
  if (operation == Operation::Remove && component != this)
    for (TComponent* c : components_) c->Notification(component, operation);
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end()) {
    freeNotifies_.push_back(other);
    other->freeNotifies_.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other), freeNotifies_.end());
  if (other)
    other->freeNotifies_.erase(std::remove(other->freeNotifies_.begin(), other->freeNotifies_.end(), this),
                               other->freeNotifies_.end());
}

void TComponent::Insert(TComponent* child) {
  components_.push_back(child);
  Notification(child, Operation::Insert);
}

void TComponent::Remove(TComponent* child) {
  components_.erase(std::remove(components_.begin(), components_.end(), child), components_.end());
  if (!Destroying()) Notification(child, Operation::Remove);
}

TComponent* CreateComponent(std::string_view className, TComponent* owner) {
  const ClassInfo* cls = FindClass(className);
  if (!cls || !cls->create) throw Exception(Format("Class %s not found", std::string(className).c_str()));
  return cls->create(owner);
}

}  // namespace vsi
