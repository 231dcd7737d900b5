#include "sysinfo/sysinfo_base.h"

#include <cmath>
#include <cstdio>

#include "framework/context.h"
#include "framework/dates.h"
#include "framework/exceptions.h"
#include "framework/registry_access.h"
#include "framework/strings.h"

namespace vsi {

AnsiString ReadTextOrEmpty(TRegistry& reg, const std::string& name) {
  try {
    return reg.ReadString(name);
  } catch (const ERegistryException&) {
    return AnsiString();
  }
}

// ---------------------------------------------------------------- pending changes

void TSysChangeList::Record(const AnsiString& name, const AnsiString& oldValue, const AnsiString& newValue) {
  for (auto it = items_.begin(); it != items_.end(); ++it) {
    if (it->name != name) continue;
    if (newValue == it->oldValue)
      items_.erase(it);  // back where it started: nothing left to apply
    else
      it->newValue = newValue;
    return;
  }
  items_.push_back(TPropChange{name, oldValue, newValue});
}

bool TSysChangeList::Has(const AnsiString& name) const {
  for (const TPropChange& c : items_)
    if (c.name == name) return true;
  return false;
}

bool TSysChangeList::Take(const AnsiString& name, TPropChange& out) {
  for (auto it = items_.begin(); it != items_.end(); ++it) {
    if (it->name != name) continue;
    out = std::move(*it);
    items_.erase(it);
    return true;
  }
  return false;
}

namespace {

TDateTime Now(AppContext& context) {
  SystemTime t;
  context.platform().system.GetLocalTime(t);
  return dates::EncodeDateTime(t);
}

// The comma-separated form of a string list: items with blanks, commas, quotes or control
// characters (and empty ones) are quoted, inner quotes doubled.
AnsiString CommaText(const TStrings& list) {
  AnsiString out;
  for (int i = 0; i < list.Count(); ++i) {
    const AnsiString& s = list.Strings(i);
    bool quote = s.empty();
    for (unsigned char c : s)
      if (c <= ' ' || c == ',' || c == '"') quote = true;
    if (i > 0) out += ',';
    if (!quote) {
      out += s;
      continue;
    }
    out += '"';
    for (char c : s) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  return out;
}

const char* KindTypeName(const PropInfo& p) {
  switch (p.kind) {
    case PropKind::Integer: return "Integer";
    case PropKind::Boolean: return "Boolean";
    case PropKind::Enum: return "Enumeration";
    case PropKind::Set: return "Set";
    case PropKind::Float: return "Double";
    case PropKind::AnsiText: return "AnsiString";
    case PropKind::WideText: return "WideString";
    case PropKind::Object: return p.objectClass ? p.objectClass->name.c_str() : "TObject";
    case PropKind::Event: return "TNotifyEvent";
    case PropKind::Data: return "Data";
  }
  return "";
}

AnsiString NarrowText(const WideString& w) {
  AnsiString out;
  out.reserve(w.size());
  for (char16_t c : w) out += c < 256 ? static_cast<char>(c) : '?';
  return out;
}

AnsiString FloatText(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  return buf;
}

}  // namespace

void ListObjectProperties(const TObject& obj, TStrings& lines, bool withTypes, const std::string& prefix) {
  for (const PropInfo* p : obj.ClassType().AllProperties()) {
    if (!p->CanRead()) continue;
    PropValue v = p->get(obj);
    AnsiString text;
    switch (p->kind) {
      case PropKind::Integer:
        if (auto* i = std::get_if<int64_t>(&v)) text = std::to_string(*i);
        break;
      case PropKind::Boolean:
        if (auto* i = std::get_if<int64_t>(&v)) text = *i ? "True" : "False";
        break;
      case PropKind::Enum:
        if (auto* i = std::get_if<int64_t>(&v)) {
          if (p->enumInfo && *i >= 0 && *i < static_cast<int64_t>(p->enumInfo->names.size()))
            text = p->enumInfo->names[static_cast<size_t>(*i)];
          else
            text = std::to_string(*i);
        }
        break;
      case PropKind::Set:
        if (auto* i = std::get_if<int64_t>(&v)) {
          text = "[";
          bool first = true;
          if (p->enumInfo)
            for (size_t bit = 0; bit < p->enumInfo->names.size() && bit < 64; ++bit)
              if ((static_cast<uint64_t>(*i) >> bit) & 1) {
                if (!first) text += ',';
                text += p->enumInfo->names[bit];
                first = false;
              }
          text += "]";
        }
        break;
      case PropKind::Float:
        if (auto* d = std::get_if<double>(&v)) text = FloatText(*d);
        break;
      case PropKind::AnsiText:
        if (auto* s = std::get_if<AnsiString>(&v)) text = *s;
        break;
      case PropKind::WideText:
        if (auto* s = std::get_if<WideString>(&v)) text = NarrowText(*s);
        break;
      case PropKind::Object: {
        TObject* const* o = std::get_if<TObject*>(&v);
        TObject* target = o ? *o : nullptr;
        if (target && target->Is<TStrings>()) {
          text = CommaText(static_cast<const TStrings&>(*target));
        } else if (target) {
          // A part of the object: its own properties under "Name.".
          ListObjectProperties(*target, lines, withTypes, prefix + p->name + ".");
          continue;
        }
        break;
      }
      case PropKind::Event:
      case PropKind::Data:
        text = "UNKNOWN";
        break;
    }
    if (withTypes)
      lines.Add(prefix + p->name + ": " + KindTypeName(*p) + " = " + text);
    else
      lines.Add(prefix + p->name + " = " + text);
  }
  if (obj.Is<TCollection>()) {
    const auto& coll = static_cast<const TCollection&>(obj);
    for (int i = 0; i < coll.Count(); ++i)
      ListObjectProperties(*coll.Items(i), lines, withTypes, prefix + "Item[" + std::to_string(i) + "].");
  }
}

void TSysChangeTracking::RecordChange(const AnsiString& name, const AnsiString& oldValue,
                                      const AnsiString& newValue) {
  changes_.Record(name, oldValue, newValue);
}

bool TSysChangeTracking::HasChange(const AnsiString& name) const { return changes_.Has(name); }

void TSysChangeTracking::CommitChange(const AnsiString& name) {
  if (!changes_.Has(name)) return;
  TDateTime now = Now(*context_);
  TPropChange entry;
  changes_.Take(name, entry);
  ReportChange(entry.name, entry.oldValue, entry.newValue, now);
}

void TSysChangeTracking::ReportChange(const AnsiString& name, const AnsiString& oldValue, const AnsiString& newValue,
                                      TDateTime time) {
  if (changeHandler_) changeHandler_(sender_, name, oldValue, newValue, time);
}

// ---------------------------------------------------------------- TSysObject

const ClassInfo& TSysObject::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSysObject>("TSysObject", &TPersistent::StaticClass()).Build();
  return info;
}

TSysObject::TSysObject(AppContext& context) : TSysChangeTracking(context, *this), context_(&context) {}

TSysObject::~TSysObject() = default;

Platform& TSysObject::Plat() const { return context_->platform(); }

TSysChangeEvent TSysObject::ForwardToThis() {
  return [this](TObject*, const AnsiString& name, const AnsiString& oldValue, const AnsiString& newValue,
                TDateTime time) { ReportChange(name, oldValue, newValue, time); };
}

void TSysObject::ListProperties(TStrings& lines) const { ListObjectProperties(*this, lines, false); }

void TSysObject::ListProperties(TStrings& lines, bool withTypes) const {
  ListObjectProperties(*this, lines, withTypes);
}

TRegistry& TSysObject::CreateRegistry() {
  if (!registry_) registry_ = std::make_unique<TRegistry>(Plat().registry, HKEY_CURRENT_USER_);
  return *registry_;
}

void TSysObject::SetRegistryRoot(RegKey root) {
  if (registry_) registry_->SetRootKey(root);
}

bool TSysObject::OpenRegKey(const std::string& path) { return registry_ && registry_->OpenKeyReadOnly(path); }

bool TSysObject::OpenRegKeyForWriting(const std::string& path) {
  return registry_ && registry_->OpenKey(path, false);
}

void TSysObject::CloseRegKey() {
  if (registry_) registry_->CloseKey();
}

bool TSysObject::RegKeyExists(const std::string& path) { return registry_ && registry_->KeyExists(path); }

void TSysObject::FreeRegistry() { registry_.reset(); }

// ---------------------------------------------------------------- collections

const ClassInfo& TSysCollection::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSysCollection>("TSysCollection", &TCollection::StaticClass()).Build();
  return info;
}

TSysCollection::TSysCollection(AppContext& context, ItemFactory factory)
    : TCollection(std::move(factory)), TSysChangeTracking(context, *this), context_(&context) {}

void TSysCollection::Apply() {
  for (int i = 0; i < Count(); ++i)
    if (auto* item = dynamic_cast<TSysCollectionItem*>(Items(i))) item->Apply();
}

void TSysCollection::ListProperties(TStrings& lines) const { ListObjectProperties(*this, lines, false); }

void TSysCollection::ListProperties(TStrings& lines, bool withTypes) const {
  ListObjectProperties(*this, lines, withTypes);
}

const ClassInfo& TSysCollectionItem::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TSysCollectionItem>("TSysCollectionItem", &TCollectionItem::StaticClass()).Build();
  return info;
}

TSysCollectionItem::TSysCollectionItem(TCollection* collection) : TCollectionItem(collection) {}

TSysCollection* TSysCollectionItem::SysCollection() const { return dynamic_cast<TSysCollection*>(Collection()); }

AnsiString TSysCollectionItem::ChangeName(const char* pattern) const {
  char buf[256];
  std::snprintf(buf, sizeof buf, pattern, Index());
  return buf;
}

bool TSysCollectionItem::HasItemChange(const char* pattern) const {
  TSysCollection* c = SysCollection();
  return c && c->HasChange(ChangeName(pattern));
}

void TSysCollectionItem::RecordItemChange(const char* pattern, const AnsiString& oldValue,
                                          const AnsiString& newValue) {
  if (TSysCollection* c = SysCollection()) c->RecordChange(ChangeName(pattern), oldValue, newValue);
}

void TSysCollectionItem::CommitItemChange(const char* pattern) {
  if (TSysCollection* c = SysCollection()) c->CommitChange(ChangeName(pattern));
}

// ---------------------------------------------------------------- components

const ClassInfo& TSysComponent::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSysComponent>("TSysComponent", &TComponent::StaticClass())
                                    .Text("About", &TSysComponent::About, &TSysComponent::SetAbout)
                                    .Build();
  return info;
}

TSysComponent::TSysComponent(TComponent* owner) : TComponent(owner) {}

const ClassInfo& TSysBaseComponent::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TSysBaseComponent>("TSysBaseComponent", &TSysComponent::StaticClass())
          .Object("SysLog", TSysLog::StaticClass(), &TSysBaseComponent::SysLog, &TSysBaseComponent::SetSysLog)
          .Bool("Retrieved", &TSysBaseComponent::Retrieved)
          .Bool("AutoRetrieve", &TSysBaseComponent::AutoRetrieve, &TSysBaseComponent::SetAutoRetrieve)
          .Event("OnRefresh", &TSysBaseComponent::OnRefresh)
          .Event("OnAfterRefresh", &TSysBaseComponent::OnAfterRefresh)
          .Build();
  return info;
}

TSysBaseComponent::TSysBaseComponent(TComponent* owner) : TSysComponent(owner) {}

TSysBaseComponent::~TSysBaseComponent() {
  if (object_) {
    object_->SetChangeHandler(nullptr);
    object_.reset();
  }
  SetSysLog(nullptr);
}

void TSysBaseComponent::SetSysLog(TSysLog* log) {
  if (log == sysLog_) return;
  if (sysLog_) sysLog_->RemoveFreeNotification(this);
  sysLog_ = log;
  // Told when the log goes, wherever it lives, so the reference never dangles.
  if (sysLog_) sysLog_->FreeNotification(this);
}

void TSysBaseComponent::Refresh() {
  Fire(OnRefresh, this);
  Retrieve();
  retrieved_ = true;
  Fire(OnAfterRefresh, this);
}

void TSysBaseComponent::Retrieve() {
  if (object_) object_->Retrieve();
}

void TSysBaseComponent::Loaded() {
  TSysComponent::Loaded();
  if (!autoRetrieve_) return;
  if (const auto* policy = Context().FindService<TSysRetrievalPolicy>(); policy && policy->deferring) return;
  Refresh();
}

void TSysBaseComponent::Notification(TComponent* component, Operation operation) {
  TSysComponent::Notification(component, operation);
  if (operation == Operation::Remove && component != nullptr &&
      component == static_cast<TComponent*>(sysLog_))
    sysLog_ = nullptr;
}

void TSysBaseComponent::AttachObject(std::unique_ptr<TSysObject> object) {
  object_ = std::move(object);
  if (!object_) return;
  object_->SetChangeHandler(Forwarder());
  object_->SetOwnerComponent(this);
}

void TSysBaseComponent::ForwardChange(TObject*, const AnsiString& name, const AnsiString& oldValue,
                                      const AnsiString& newValue, TDateTime time) {
  if (sysLog_) sysLog_->Log(name, oldValue, newValue, time);
}

TSysChangeEvent TSysBaseComponent::Forwarder() {
  return [this](TObject* sender, const AnsiString& name, const AnsiString& oldValue, const AnsiString& newValue,
                TDateTime time) { ForwardChange(sender, name, oldValue, newValue, time); };
}

// ---------------------------------------------------------------- the log

const ClassInfo& TSysLog::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSysLog>("TSysLog", &TSysComponent::StaticClass())
                                    .Creatable()
                                    .Object("Memo", TComponent::StaticClass(), &TSysLog::Memo, &TSysLog::SetMemo)
                                    .Object("ListBox", TComponent::StaticClass(), &TSysLog::ListBox,
                                            &TSysLog::SetListBox)
                                    .Build();
  return info;
}

TSysLog::TSysLog(TComponent* owner) : TSysComponent(owner) {}

TSysLog::~TSysLog() {
  SetMemo(nullptr);
  SetListBox(nullptr);
}

void TSysLog::SetMemo(TComponent* memo) {
  if (memo == memo_) return;
  if (memo_ && memo_ != listBox_) memo_->RemoveFreeNotification(this);
  memo_ = memo;
  if (memo_) memo_->FreeNotification(this);
}

void TSysLog::SetListBox(TComponent* listBox) {
  if (listBox == listBox_) return;
  if (listBox_ && listBox_ != memo_) listBox_->RemoveFreeNotification(this);
  listBox_ = listBox;
  if (listBox_) listBox_->FreeNotification(this);
}

void TSysLog::Notification(TComponent* component, Operation operation) {
  TSysComponent::Notification(component, operation);
  if (operation != Operation::Remove || component == nullptr) return;
  if (component == memo_) memo_ = nullptr;
  if (component == listBox_) listBox_ = nullptr;
}

AnsiString TSysLog::FormatLine(const AnsiString& propertyDescription, const AnsiString& oldValue,
                               const AnsiString& newValue, TDateTime datetime) const {
  const TFormatSettings& fs = Context().format();
  SystemTime t = dates::DecodeDateTime(datetime);
  AnsiString when = FormatDateTime(fs, fs.shortDateFormat, t);
  double whole = 0;
  if (std::modf(datetime, &whole) != 0) when += " " + FormatDateTime(fs, fs.longTimeFormat, t);
  return propertyDescription + ":" + oldValue + " - " + newValue + " " + when;
}

namespace {
TStrings* SinkLines(TComponent* control, const char* property) {
  if (!control) return nullptr;
  TObject* lines = GetObjectProp(*control, property);
  return lines && lines->Is<TStrings>() ? static_cast<TStrings*>(lines) : nullptr;
}
}  // namespace

void TSysLog::Log(const AnsiString& propertyDescription, const AnsiString& oldValue, const AnsiString& newValue,
                  TDateTime datetime) {
  if (OnLog) OnLog(this, propertyDescription, oldValue, newValue, datetime);
  AnsiString line = FormatLine(propertyDescription, oldValue, newValue, datetime);
  if (TStrings* memoLines = SinkLines(memo_, "Lines")) memoLines->Add(line);
  if (TStrings* items = SinkLines(listBox_, "Items")) items->Add(line);
  if (strings_) {
    try {
      strings_->Add(line);
    } catch (const std::exception&) {
      // A full or sorted-duplicate list must not stop the change being applied.
    }
  }
}

// ---------------------------------------------------------------- platform flags

SysPlatformFlags::SysPlatformFlags(AppContext& context) {
  ISystem& sys = context.platform().system;
  OsVersionInfo v;
  if (sys.GetVersionEx(v)) {
    platformId = v.platformId;
    isNT = v.platformId == VER_PLATFORM_WIN32_NT_;
    isWin2000 = isNT && v.majorVersion == 5 && v.minorVersion == 0;
    isWinXP = isNT && v.majorVersion == 5 && v.minorVersion == 1;
  }
  // The desktop extension of the 95 family: font smoothing and full-window dragging.
  if (platformId == VER_PLATFORM_WIN32_WINDOWS_)
    plusAvailable = sys.SystemParametersInfo(SPI_GETWINDOWSEXTENSION_, 1, nullptr, 0);
}

SysPlatformFlags& PlatformFlags(AppContext& context) { return context.Service<SysPlatformFlags>(); }

}  // namespace vsi
