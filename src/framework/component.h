#pragma once
// Components: named objects owned by another component (a form owns everything on it).
// The owner frees what it owns. The context (platform, format settings, process-wide state)
// is found through the owner chain.
#include <string>
#include <vector>

#include "framework/object.h"

namespace vsi {

class AppContext;
struct Platform;

enum ComponentState : uint32_t { csLoading = 1, csDestroying = 4, csReading = 8 };
enum ComponentStyle : uint32_t { csInheritable = 1, csCheckPropAvail = 2 };
enum class Operation { Insert, Remove };

class TComponent : public TPersistent {
  VSI_CLASS(TComponent)
  explicit TComponent(TComponent* owner);
  // A root component (the application, or a test's root) bound to a context.
  explicit TComponent(AppContext& context);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  virtual void SetName(const std::string& name);
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const;
  TComponent* FindComponent(std::string_view name) const;

  AppContext& Context() const { return *context_; }
  Platform& Plat() const;

  uint32_t ComponentState() const { return state_; }
  uint32_t ComponentStyle() const { return style_; }
  bool Loading() const { return (state_ & csLoading) != 0; }
  bool Destroying() const { return (state_ & csDestroying) != 0; }

  // The window-description reader brackets property assignment with these; Loaded() is the
  // "loaded" notification, sent in description order once everything is set.
  void SetLoading(bool loading);
  virtual void Loaded();

  // Sent to every owned component (and the owner) when a component is inserted or removed,
  // so references to it can be dropped.
  virtual void Notification(TComponent* component, Operation operation);
  // Asks `other` to be notified when this component is destroyed, even across owners.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

  // Runs a notify event, if set.
  static void Fire(const TNotifyEvent& event, TObject* sender) {
    if (event) event(sender);
  }

 protected:
  void SetComponentStyle(uint32_t style) { style_ = style; }

 private:
  void Insert(TComponent* child);
  void Remove(TComponent* child);

  TComponent* owner_ = nullptr;
  AppContext* context_ = nullptr;
  std::string name_;
  int tag_ = 0;
  uint32_t state_ = 0;
  uint32_t style_ = csInheritable;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
};

// Creates a component of a registered class by name; raises when the class is unknown.
TComponent* CreateComponent(std::string_view className, TComponent* owner);

}  // namespace vsi
