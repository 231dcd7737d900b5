#pragma once
// The system-information family: information objects that read a group of facts from the
// system (Retrieve) and can write changed settings back (Apply), and the non-visual components
// that own one object each, decide when it retrieves and pass its change reports to a log.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/collection.h"
#include "framework/component.h"
#include "framework/format_settings.h"
#include "platform/registry.h"

namespace vsi {

class AppContext;
struct Platform;
class TRegistry;
class TStrings;
class TSysLog;
class TSysBaseComponent;

// Sender, property name ("Area:Property"), old value, new value, time of the commit.
using TSysChangeEvent = std::function<void(TObject* sender, const AnsiString& name, const AnsiString& oldValue,
                                           const AnsiString& newValue, TDateTime time)>;
// The log's event: Sender, propertyDescription, oldValue, newValue, datetime.
using TSysLogChangeEvent = TSysChangeEvent;

// One pending change.
struct TPropChange {
  AnsiString name;
  AnsiString oldValue;
  AnsiString newValue;
};

// The pending changes of an object or a collection, in recording order.
class TSysChangeList {
 public:
  // Undoing a change (back to its first old value) drops the entry; a further change keeps
  // the first old value.
  void Record(const AnsiString& name, const AnsiString& oldValue, const AnsiString& newValue);
  bool Has(const AnsiString& name) const;
  // Removes the first entry of that name into `out`; false when there is none.
  bool Take(const AnsiString& name, TPropChange& out);
  int Count() const { return static_cast<int>(items_.size()); }
  const TPropChange& operator[](int index) const { return items_[static_cast<size_t>(index)]; }
  void Clear() { items_.clear(); }

 private:
  std::vector<TPropChange> items_;
};

// Appends the published properties of `obj` to `lines` as "Name = value" (or, typed,
// "Name: Type = value"); referenced objects other than string lists are listed recursively
// under "Name.", collection items under "Item[i].".
void ListObjectProperties(const TObject& obj, TStrings& lines, bool withTypes, const std::string& prefix = {});

// A text value that the window reads while it starts: a value of another type (left there by
// some other program) gives empty text for that value alone, and the start goes on.
AnsiString ReadTextOrEmpty(TRegistry& reg, const std::string& name);

// Pending changes and the handler they are reported to when committed: what information
// objects and their collections share. `sender` is the object the reports name.
class TSysChangeTracking {
 public:
  // An empty handler switches reporting off.
  void SetChangeHandler(TSysChangeEvent handler) { changeHandler_ = std::move(handler); }
  const TSysChangeEvent& ChangeHandler() const { return changeHandler_; }
  void RecordChange(const AnsiString& name, const AnsiString& oldValue, const AnsiString& newValue);
  bool HasChange(const AnsiString& name) const;
  // Reports the entry (with the current local time) and drops it; nothing when there is none.
  void CommitChange(const AnsiString& name);
  void ReportChange(const AnsiString& name, const AnsiString& oldValue, const AnsiString& newValue, TDateTime time);
  const TSysChangeList& PendingChanges() const { return changes_; }

 protected:
  TSysChangeTracking(AppContext& context, TObject& sender) : context_(&context), sender_(&sender) {}
  TSysChangeTracking(const TSysChangeTracking&) = delete;
  TSysChangeTracking& operator=(const TSysChangeTracking&) = delete;
  ~TSysChangeTracking() = default;

 private:
  AppContext* context_;
  TObject* sender_;
  TSysChangeEvent changeHandler_;
  TSysChangeList changes_;
};

// Base of every information object.
class TSysObject : public TPersistent, public TSysChangeTracking {
  VSI_CLASS(TSysObject)
  explicit TSysObject(AppContext& context);
  ~TSysObject() override;
  TSysObject(const TSysObject&) = delete;
  TSysObject& operator=(const TSysObject&) = delete;

  AppContext& Context() const { return *context_; }
  Platform& Plat() const;

  // When true, a setter applies right after recording its change.
  bool AutoApply() const { return autoApply_; }
  void SetAutoApply(bool value) { autoApply_ = value; }
  // The component that attached this object; null for parts owned by other objects.
  TSysBaseComponent* OwnerComponent() const { return ownerComponent_; }
  void SetOwnerComponent(TSysBaseComponent* component) { ownerComponent_ = component; }
  // A handler for parts of this object: their reports rise through this object's ReportChange.
  TSysChangeEvent ForwardToThis();

  virtual void ListProperties(TStrings& lines) const;
  virtual void ListProperties(TStrings& lines, bool withTypes) const;
  virtual void Retrieve() = 0;
  virtual void Apply() = 0;

 protected:
  // The registry accessor, made on demand (root HKEY_CURRENT_USER) and kept until freed.
  TRegistry& CreateRegistry();
  TRegistry* Registry() const { return registry_.get(); }
  void SetRegistryRoot(RegKey root);  // nothing when there is no accessor
  // Opens an existing key for reading only: our objects only read what they retrieve, and an
  // ordinary user may not open HKEY_LOCAL_MACHINE keys with full access.
  bool OpenRegKey(const std::string& path);
  // Opens an existing key with full access, for Apply.
  bool OpenRegKeyForWriting(const std::string& path);
  void CloseRegKey();
  bool RegKeyExists(const std::string& path);
  void FreeRegistry();

 private:
  AppContext* context_;
  bool autoApply_ = false;
  TSysBaseComponent* ownerComponent_ = nullptr;
  std::unique_ptr<TRegistry> registry_;
};

// A collection of an information object, with its own pending changes and change handler.
class TSysCollection : public TCollection, public TSysChangeTracking {
  VSI_CLASS(TSysCollection)
  TSysCollection(AppContext& context, ItemFactory factory);
  AppContext& Context() const { return *context_; }

  // Applies each item in index order.
  virtual void Apply();
  virtual void ListProperties(TStrings& lines) const;
  virtual void ListProperties(TStrings& lines, bool withTypes) const;

 private:
  AppContext* context_;
};

class TSysCollectionItem : public TCollectionItem {
  VSI_CLASS(TSysCollectionItem)
  explicit TSysCollectionItem(TCollection* collection);
  virtual void Apply() {}

 protected:
  // `pattern` is formatted with the item's index ("Network:Card%d:Description").
  AnsiString ChangeName(const char* pattern) const;
  bool HasItemChange(const char* pattern) const;
  void RecordItemChange(const char* pattern, const AnsiString& oldValue, const AnsiString& newValue);
  void CommitItemChange(const char* pattern);

 private:
  TSysCollection* SysCollection() const;
};

// The family's component base: the text property About, which does nothing.
class TSysComponent : public TComponent {
  VSI_CLASS(TSysComponent)
  explicit TSysComponent(TComponent* owner);
  const AnsiString& About() const { return about_; }
  void SetAbout(const AnsiString& value) { about_ = value; }

 private:
  AnsiString about_;
};

// The retrieval policy shared by the single-object components and the aggregate.
class TSysBaseComponent : public TSysComponent {
  VSI_CLASS(TSysBaseComponent)
  explicit TSysBaseComponent(TComponent* owner);
  ~TSysBaseComponent() override;

  TSysLog* SysLog() const { return sysLog_; }
  void SetSysLog(TSysLog* log);
  bool Retrieved() const { return GetRetrieved(); }
  // A plain switch: setting it triggers nothing; the loaded notification reads it.
  bool AutoRetrieve() const { return autoRetrieve_; }
  void SetAutoRetrieve(bool value) { autoRetrieve_ = value; }
  TNotifyEvent OnRefresh;
  TNotifyEvent OnAfterRefresh;

  // OnRefresh, Retrieve, Retrieved = true, OnAfterRefresh. Nothing is caught.
  void Refresh();
  // The component-level retrieval: by default the owned object's.
  virtual void Retrieve();

  void Loaded() override;
  void Notification(TComponent* component, Operation operation) override;

  // The owned object (null only for the aggregate, which owns many).
  TSysObject* Object() const { return object_.get(); }

 protected:
  virtual bool GetRetrieved() const { return retrieved_; }
  // Takes `object`, makes this component its owner and its change handler the forwarder.
  void AttachObject(std::unique_ptr<TSysObject> object);
  // Passes a report to SysLog; the sender is not passed on.
  void ForwardChange(TObject* sender, const AnsiString& name, const AnsiString& oldValue, const AnsiString& newValue,
                     TDateTime time);
  TSysChangeEvent Forwarder();

 private:
  TSysLog* sysLog_ = nullptr;
  bool retrieved_ = false;
  bool autoRetrieve_ = false;
  std::unique_ptr<TSysObject> object_;
};

// While a window is being made, the retrievals its first paint does not need can wait: a
// component loaded while `deferring` is set leaves its AutoRetrieve to the window, which
// refreshes it when it is ready to (one per context).
struct TSysRetrievalPolicy {
  explicit TSysRetrievalPolicy(AppContext&) {}
  bool deferring = false;
};

// Writes change reports as lines to a string list, a memo and a list box.
class TSysLog : public TSysComponent {
  VSI_CLASS(TSysLog)
  explicit TSysLog(TComponent* owner);
  ~TSysLog() override;

  TSysLogChangeEvent OnLog;
  // Sinks, none owned. The memo's "Lines" and the list box's "Items" receive the lines.
  TStrings* Strings() const { return strings_; }
  void SetStrings(TStrings* strings) { strings_ = strings; }
  TComponent* Memo() const { return memo_; }
  void SetMemo(TComponent* memo);
  TComponent* ListBox() const { return listBox_; }
  void SetListBox(TComponent* listBox);

  void Log(const AnsiString& propertyDescription, const AnsiString& oldValue, const AnsiString& newValue,
           TDateTime datetime);
  // "name:old - new date[ time]".
  AnsiString FormatLine(const AnsiString& propertyDescription, const AnsiString& oldValue,
                        const AnsiString& newValue, TDateTime datetime) const;

  void Notification(TComponent* component, Operation operation) override;

 private:
  TStrings* strings_ = nullptr;
  TComponent* memo_ = nullptr;
  TComponent* listBox_ = nullptr;
};

// The NT/95 family and version flags, computed once per context from the version record.
struct SysPlatformFlags {
  explicit SysPlatformFlags(AppContext& context);
  uint32_t platformId = 0;
  bool isNT = false;
  bool isWin2000 = false;
  bool isWinXP = false;
  bool plusAvailable = true;
};
SysPlatformFlags& PlatformFlags(AppContext& context);

}  // namespace vsi
