#include "i18n/translator.h"

#include <algorithm>

#include "framework/collection.h"
#include "framework/context.h"
#include "framework/controls.h"
#include "framework/font.h"
#include "framework/forms.h"
#include "framework/scope_exit.h"
#include "framework/stdctrls.h"
#include "framework/strings.h"
#include "i18n/language.h"

namespace vsi {

const EnumInfo kIvTranslatorOptionNames{{"ivtoAutoTranslate", "ivtoCheckFont", "ivtoScaleMultiByte",
                                         "ivtoMirrorBiDirectional", "ivtoChangeFontCharset",
                                         "ivtoUpdateLocaleProperty", "ivtoAutoOpen", "ivtoTranslateSystemMenu",
                                         "ivtoTranslateOCX", "ivtoForceCharsetChange"}};
const EnumInfo kIvReadingOrderNames{{"ivroLeftToRight", "ivroRightToLeft"}};
const EnumInfo kIvCharsetChangeNames{{"ivccDisabled", "ivccNormal", "ivccAll"}};

bool IsInstanceOfName(const TObject& object, std::string_view className) {
  for (const ClassInfo* c = &object.ClassType(); c; c = c->parent)
    if (SameText(c->name, className)) return true;
  return false;
}

namespace {

bool IsMenuItem(const TObject* object) { return object && IsInstanceOfName(*object, "TMenuItem"); }

bool HasHotkey(const AnsiString& text) { return text.find('&') != AnsiString::npos; }

// The classes whose names end the context search: the framework's form and component bases.
bool IsContextStop(const ClassInfo& cls) {
  return cls.name == "TForm" || cls.name == "TCustomForm" || cls.name == "TComponent";
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Targets

bool TIvTargetProperty::Matches(std::string_view cls, std::string_view property) const {
  if (!propertyName.empty() && SameText(propertyName, property) && (className.empty() || SameText(className, cls)))
    return true;
  return !className.empty() && SameText(className, cls) && propertyName.empty();
}

const ClassInfo& TIvTargetProperties::StaticClass() {
  static const ClassInfo info = ClassBuilder<TIvTargetProperties>("TIvTargetProperties", &TPersistent::StaticClass())
                                    .Data("Data", &TIvTargetProperties::ReadOldData)
                                    .Build();
  return info;
}

const TIvTargetProperty& TIvTargetProperties::Items(int index) const {
  if (index < 0 || index >= Count()) throw ERangeError(Format("List index out of bounds (%d)", index));
  return items_[index];
}

bool TIvTargetProperties::Add(const AnsiString& className, const AnsiString& propertyName, uint8_t kind) {
  TIvTargetProperty entry{className, propertyName, kind};
  if (std::find(items_.begin(), items_.end(), entry) != items_.end()) return false;
  items_.push_back(std::move(entry));
  if (kind == TIvTargetProperty::Exclude) ++excludeCount_;
  return true;
}

void TIvTargetProperties::Clear() {
  items_.clear();
  excludeCount_ = 0;
}

bool TIvTargetProperties::Excluded(std::string_view cls, std::string_view property) const {
  if (excludeCount_ == 0) return false;
  for (const TIvTargetProperty& t : items_)
    if (t.kind == TIvTargetProperty::Exclude && t.Matches(cls, property)) return true;
  return false;
}

bool TIvTargetProperties::Accepts(std::string_view cls, std::string_view property) const {
  if (Excluded(cls, property)) return false;
  for (const TIvTargetProperty& t : items_)
    if (t.kind == TIvTargetProperty::Include && t.Matches(cls, property)) return true;
  return false;
}

void TIvTargetProperties::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TIvTargetProperties*>(&source)) {
    if (other == this) return;
    Clear();
    for (const TIvTargetProperty& t : other->items_) Add(t.className, t.propertyName, t.kind);
    return;
  }
  TPersistent::Assign(source);
}

namespace {

AnsiString NameOf(const DescValue& v, const char* what) {
  if (v.type != DescValue::Type::String && v.type != DescValue::Type::Ident)
    throw EIvMulti(Format("Target properties data: the %s on line %d is not a name", what, v.line));
  return v.text == "*" ? AnsiString() : v.text;
}

int64_t IntegerOf(const DescValue& v, const char* what) {
  if (v.type != DescValue::Type::Integer)
    throw EIvMulti(Format("Target properties data: the %s on line %d is not a number", what, v.line));
  return v.integer;
}

}  // namespace

void TIvTargetProperties::ReadTargetsData(const DescValue& value) {
  if (value.type != DescValue::Type::List || value.items.size() < 2)
    throw EIvMulti(Format("Target properties data on line %d is not a list of version, count and entries", value.line));
  const int64_t version = IntegerOf(value.items[0], "version");
  if (version > 1) throw EIvMulti(Format("Unknown target properties data version: %lld", static_cast<long long>(version)));
  const int64_t count = IntegerOf(value.items[1], "count");
  // The entries must all be there: a damaged count is reported, not trusted.
  if (count < 0 || static_cast<uint64_t>(count) != value.items.size() - 2)
    throw EIvMulti(Format("Target properties data on line %d announces %lld entries but holds %zu", value.line,
                          static_cast<long long>(count), value.items.size() - 2));
  for (size_t i = 2; i < value.items.size(); ++i) {
    const DescValue& e = value.items[i];
    if (e.type != DescValue::Type::List || e.items.size() != 3)
      throw EIvMulti(Format("Target properties data: the entry on line %d is not (class, property, kind)", e.line));
    const int64_t kind = IntegerOf(e.items[2], "kind");
    if (kind != TIvTargetProperty::Include && kind != TIvTargetProperty::Exclude)
      throw EIvMulti(Format("Target properties data: unknown kind %lld on line %d", static_cast<long long>(kind),
                            e.line));
    Add(NameOf(e.items[0], "class name"), NameOf(e.items[1], "property name"), static_cast<uint8_t>(kind));
  }
}

void TIvTargetProperties::ReadOldData(const DescValue& value) {
  if (value.type != DescValue::Type::List)
    throw EIvMulti(Format("Target properties data on line %d is not a list", value.line));
  // Either flat (class, property, class, property, ...) or a list of pairs.
  std::vector<const DescValue*> names;
  for (const DescValue& v : value.items) {
    if (v.type == DescValue::Type::List) {
      if (v.items.size() != 2)
        throw EIvMulti(Format("Target properties data: the entry on line %d is not (class, property)", v.line));
      names.push_back(&v.items[0]);
      names.push_back(&v.items[1]);
    } else {
      names.push_back(&v);
    }
  }
  if (names.size() % 2 != 0)
    throw EIvMulti(Format("Target properties data on line %d has a class without a property", value.line));
  for (size_t i = 0; i < names.size(); i += 2)
    Add(NameOf(*names[i], "class name"), NameOf(*names[i + 1], "property name"), TIvTargetProperty::Include);
}

DescValue TIvTargetProperties::TargetsData(const TIvTargetProperties* ancestor) const {
  auto name = [](const AnsiString& s) {
    DescValue v;
    v.type = DescValue::Type::String;
    v.text = s.empty() ? "*" : s;
    return v;
  };
  auto integer = [](int64_t n) {
    DescValue v;
    v.type = DescValue::Type::Integer;
    v.integer = n;
    return v;
  };
  DescValue out;
  out.type = DescValue::Type::List;
  out.items.push_back(integer(1));
  out.items.push_back(integer(0));
  for (const TIvTargetProperty& t : items_) {
    if (ancestor && std::find(ancestor->items_.begin(), ancestor->items_.end(), t) != ancestor->items_.end()) continue;
    DescValue e;
    e.type = DescValue::Type::List;
    e.items = {name(t.className), name(t.propertyName), integer(t.kind)};
    out.items.push_back(std::move(e));
  }
  out.items[1].integer = static_cast<int64_t>(out.items.size() - 2);
  return out;
}

// ---------------------------------------------------------------------------------------------
// Window menu access

namespace {
class PlatformWindowMenu : public IIvWindowMenu {
 public:
  explicit PlatformWindowMenu(IWindowSystem& windows) : windows_(windows) {}
  int ItemCount(WindowHandle window) override { return windows_.WindowMenuCount(window); }
  bool ItemInfo(WindowHandle window, int position, uint32_t& command, bool& separator) override {
    return windows_.WindowMenuItem(window, position, command, separator);
  }
  AnsiString ItemText(WindowHandle window, int position) override { return windows_.WindowMenuText(window, position); }
  void SetItemText(WindowHandle window, int position, uint32_t command, const AnsiString& text) override {
    windows_.SetWindowMenuText(window, position, command, text);
  }

 private:
  IWindowSystem& windows_;
};
}  // namespace

TIvWindowMenuAccess::TIvWindowMenuAccess(AppContext& context)
    : platform_(std::make_unique<PlatformWindowMenu>(context.platform().windows)) {
  menu = platform_.get();
}

TIvWindowMenuAccess::~TIvWindowMenuAccess() = default;

// ---------------------------------------------------------------------------------------------
// Window menu names

const std::vector<TIvWindowMenuName>& WindowMenuNames() {
  static const std::vector<TIvWindowMenuName> names = {
      {0xF000, "&Size"},         {0xF010, "&Move"},         {0xF020, "Mi&nimize"},
      {0xF030, "Ma&ximize"},     {0xF040, "&Next"},         {0xF050, "&Previous"},
      {0xF060, "&Close"},        {0xF070, "&Vertical Scroll"}, {0xF080, "&Horizontal Scroll"},
      {0xF090, "&Mouse"},        {0xF100, "&Key"},          {0xF110, "&Arrange"},
      {0xF120, "&Restore"},      {0xF130, "&Task List"},    {0xF140, "&Screen Saver"},
      {0xF150, "&Hot Key"},      {0xF160, "&Default"},      {0xF170, "&Monitor Power"},
  };
  return names;
}

// ---------------------------------------------------------------------------------------------
// TIvCustomTranslator

const ClassInfo& TIvCustomTranslator::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TIvCustomTranslator>("TIvCustomTranslator", &TComponent::StaticClass())
          .Text("DictionaryName", &TIvCustomTranslator::DictionaryName, &TIvCustomTranslator::SetDictionaryName)
          .Event("OnLanguageChange", &TIvCustomTranslator::OnLanguageChange)
          .Event("OnLocaleChange", &TIvCustomTranslator::OnLocaleChange)
          .Build();
  return info;
}

TIvCustomTranslator::TIvCustomTranslator(TComponent* owner) : TComponent(owner) {}

TIvCustomTranslator::~TIvCustomTranslator() {
  DeactivateBase();
  SetDictionaryRef(nullptr);
}

void TIvCustomTranslator::SetDictionaryRef(TIvDictionary* dictionary) {
  if (dictionary_ == dictionary) return;
  if (dictionary_) RemoveFreeNotification(dictionary_);
  dictionary_ = dictionary;
  // Told when the dictionary goes away, registered or not.
  if (dictionary_) FreeNotification(dictionary_);
}

void TIvCustomTranslator::SetDictionary(TIvDictionary* dictionary) {
  if (dictionary == dictionary_) return;
  if (active_) Release();
  SetDictionaryRef(dictionary);
}

void TIvCustomTranslator::SetDictionaryName(const AnsiString& name) {
  dictionaryName_ = name;
  TIvDictionary* found = Dictionaries(Context()).FindByName(name);
  if (found != dictionary_) SetDictionary(found);
}

void TIvCustomTranslator::DeactivateBase() {
  if (active_ && dictionary_) dictionary_->UnregisterTranslator(this);
  SetDictionaryRef(nullptr);
  active_ = false;
  scaled_ = false;
  mirrored_ = false;
}

void TIvCustomTranslator::Deactivate() { DeactivateBase(); }

void TIvCustomTranslator::Notification(TComponent* component, Operation operation) {
  TComponent::Notification(component, operation);
  if (operation == Operation::Remove && component == dictionary_) {
    // The dictionary is going: it has unregistered us if we were registered.
    dictionary_ = nullptr;
    active_ = false;
  }
}

// ---------------------------------------------------------------------------------------------
// TIvTranslator

const ClassInfo& TIvTranslator::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TIvTranslator>("TIvTranslator", &TIvCustomTranslator::StaticClass())
          .Creatable()
          .Object("Targets", TIvTargetProperties::StaticClass(), &TIvTranslator::Targets)
          .Data("TargetsData", &TIvTranslator::ReadTargetsData)
          .Set("Options", kIvTranslatorOptionNames, &TIvTranslator::Options, &TIvTranslator::SetOptions)
          .Enum("NativeLayout", kIvReadingOrderNames, &TIvTranslator::NativeLayout, &TIvTranslator::SetNativeLayout)
          .Enum("CharsetChange", kIvCharsetChangeNames, &TIvTranslator::CharsetChange,
                &TIvTranslator::SetCharsetChange)
          .Int("MultiByteScale", &TIvTranslator::MultiByteScale, &TIvTranslator::SetMultiByteScale)
          .Build();
  return info;
}

TIvTranslator::TIvTranslator(TComponent* owner)
    : TIvCustomTranslator(owner), targets_(std::make_unique<TIvTargetProperties>()) {}

TIvTranslator::~TIvTranslator() { Deactivate(); }

void TIvTranslator::Loaded() {
  TIvCustomTranslator::Loaded();
  if (!HasOption(ivtoAutoOpen)) return;
  if (dictionary_ || Dictionaries(Context()).Count() > 0) Activate();
}

void TIvTranslator::Notification(TComponent* component, Operation operation) {
  TIvCustomTranslator::Notification(component, operation);
  if (operation != Operation::Remove || !component) return;
  // Nothing may point at a component that is gone.
  if (component == root_) root_ = nullptr;
  size_t kept = 0;
  for (size_t i = 0; i < table_.size(); ++i) {
    if (table_[i].object == component) continue;
    if (kept != i) {
      table_[kept] = std::move(table_[i]);
      itemPass_[kept] = itemPass_[i];
    }
    ++kept;
  }
  table_.resize(kept);
  itemPass_.resize(kept);
  if (auto it = stateIndex_.find(static_cast<const TControl*>(dynamic_cast<TControl*>(component)));
      it != stateIndex_.end()) {
    const TIvBidirectionalState* dead = it->second;
    stateIndex_.erase(it);
    states_.erase(std::remove_if(states_.begin(), states_.end(), [&](const auto& s) { return s.get() == dead; }),
                  states_.end());
  }
}

WindowHandle TIvTranslator::RootHandle() {
  auto* control = dynamic_cast<TWinControl*>(root_);
  return control && control->HandleAllocated() ? control->Handle() : 0;
}

void TIvTranslator::Activate() {
  if (active_) {
    TranslateAll();
    return;
  }
  if (!dictionary_) {
    TIvDictionaries& registry = Dictionaries(Context());
    if (registry.Count() == 0) {
      TComponent* root = root_ ? root_ : Owner();
      throw EIvMulti(Format("No dictionary has been assigned to the translator component (%s on \"%s\" form)",
                            Name().c_str(), root ? root->Name().c_str() : ""));
    }
    TIvDictionary* found = dictionaryName_.empty() ? nullptr : registry.FindByName(dictionaryName_);
    SetDictionaryRef(found ? found : registry.Items(0));
  }
  if (!dictionary_->Enabled() || !dictionary_->CanOpen() || targets_->Count() == 0)
    return;
  if (!dictionary_->Active()) {
    TComponent::Fire(dictionary_->OnBeforeOpen, dictionary_);
    dictionary_->Open();
    TComponent::Fire(dictionary_->OnAfterOpen, dictionary_);
    // Open does nothing when the storage cannot be opened after all.
    if (!dictionary_ || !dictionary_->Active()) return;
  }
  if (auto* form = dynamic_cast<TForm*>(Owner())) {
    nativeFontName_ = form->Font()->Name();
    nativeFontSize_ = form->Font()->Size();
  } else {
    nativeFontName_.clear();
    nativeFontSize_ = 0;
  }
  if (!root_) root_ = Owner();
  TranslateAll();
  LanguageChanged(true, true);
  if (!dictionary_) return;  // a handler may have let it go
  dictionary_->RegisterTranslator(this);
  active_ = true;
}

void TIvTranslator::LanguageChanged(bool languageChanged, bool localeChanged) {
  if (active_ && HasOption(ivtoAutoTranslate)) Activate();
  if (languageChanged) Fire(OnLanguageChange, this);
  if (localeChanged) Fire(OnLocaleChange, this);
}

void TIvTranslator::Deactivate() {
  DeactivateBase();
  table_.clear();
  itemPass_.clear();
  root_ = nullptr;
}

void TIvTranslator::Release() {
  if (active_) {
    TComponent* root = root_;
    DeactivateBase();
    // Without a dictionary every remembered text goes back to its original.
    root_ = root;
    TranslateAll();
  }
  Deactivate();
}

void TIvTranslator::RevertToNative() {
  if (TIvDictionary* d = dictionary_) {
    const LCID locale = d->ActualLocale();
    const TIvDictionaryOptions options = d->Options();
    d->SetOptions(options & ~IvOption(ivdoAutoTranslate));
    ScopeExit restoreOptions{[&] { d->SetOptions(options); }};
    d->SetLanguage(0);
    Activate();
    d->SetLocaleSetting(locale);
  }
  Deactivate();
}

void TIvTranslator::TranslateFor(TComponent* component) {
  root_ = component;
  Activate();
}

void TIvTranslator::TranslateAll() {
  visited_.clear();
  ++pass_;
  rightToLeft_ = dictionary_ && LayoutClass(dictionary_->CurrentLanguage().LocaleId()) == 2;
  if (OnBeforeTranslate) OnBeforeTranslate(this);
  if (dictionary_ && HasOption(ivtoCheckFont) && dynamic_cast<TForm*>(root_)) ApplyFormFont();

  // Hot keys are kept as they are while the texts change, then computed again.
  std::vector<IIvHotkeyMenu*> menus;
  if (root_)
    for (int i = 0; i < root_->ComponentCount(); ++i)
      if (auto* menu = dynamic_cast<IIvHotkeyMenu*>(root_->Components(i)); menu && menu->AutomaticHotkeys()) {
        menu->SetAutomaticHotkeys(false);
        menus.push_back(menu);
      }

  if (root_) TranslateComponent(root_, 0);

  for (IIvHotkeyMenu* menu : menus) {
    menu->SetAutomaticHotkeys(true);
    menu->RecomputeHotkeys();
  }
  if (HasOption(ivtoTranslateSystemMenu)) TranslateWindowMenu(RootHandle());
  ScaleMultiByte();
  if (HasOption(ivtoMirrorBiDirectional)) {
    const bool mirrored = rightToLeft_ != (nativeLayout_ == ivroRightToLeft);
    if (mirrored != mirrored_) {
      mirrored_ = mirrored;
      // The frame follows the new reading order.
      if (auto* control = dynamic_cast<TWinControl*>(root_)) control->Invalidate();
    }
  }
  if (OnAfterTranslate) OnAfterTranslate(this);
}

void TIvTranslator::TranslateComponent(TComponent* component, TIvRestrictions restrictions) {
  if (!component) return;
  if ((component->ComponentStyle() & csCheckPropAvail) && !HasOption(ivtoTranslateOCX)) return;
  if (OnRestrictComponent) OnRestrictComponent(this, component, restrictions);
  const TIvRestrictions inherited = (restrictions & IvRestriction(ivrThisComponentOnly)) ? 0 : restrictions;
  // A handler may free components: walk a copy.
  std::vector<TComponent*> owned;
  owned.reserve(component->ComponentCount());
  for (int i = 0; i < component->ComponentCount(); ++i) owned.push_back(component->Components(i));
  for (TComponent* c : owned)
    if (!dynamic_cast<TForm*>(c)) TranslateComponent(c, inherited);

  if (!(restrictions & IvRestriction(ivrBuildInTranslation))) TranslateObject(component, restrictions);
  if (!(restrictions & IvRestriction(ivrCustomTranslation))) CustomTranslate(*component);

  auto* control = dynamic_cast<TControl*>(component);
  if (HasOption(ivtoMirrorBiDirectional) && control) {
    TIvBidirectionalState& state = StateFor(*control);
    const bool changed = state.rightToLeftApplied != rightToLeft_;
    if (!(restrictions & IvRestriction(ivrFlip))) {
      if (component == root_)
        state.rightToLeftApplied = rightToLeft_;
      else if (rightToLeft_ == (nativeLayout_ == ivroRightToLeft))
        UnmirrorControl(*control, state);
      else
        MirrorControl(*control, state);
    }
    if (changed && !(restrictions & IvRestriction(ivrReadingOrder))) ChangeReadingOrder(*control);
  }
  if (OnTranslate) OnTranslate(this, component);
  if (control) control->Invalidate();
}

void TIvTranslator::TranslateObject(TObject* object, TIvRestrictions restrictions) {
  if (!object) return;
  if (dynamic_cast<TIvDictionary*>(object) || dynamic_cast<TIvCustomTranslator*>(object) ||
      dynamic_cast<TFont*>(object))
    return;
  if (!visited_.insert(object).second) return;
  if (OnRestrictObject) {
    bool translate = true;
    OnRestrictObject(this, object, translate);
    if (!translate) return;
  }

  auto* component = dynamic_cast<TComponent*>(object);
  const LCID translationLocale = dictionary_ ? dictionary_->TranslationLocale() : 0;
  const bool localeRightToLeft = dictionary_ && LayoutClass(translationLocale) == 2;
  const bool walkIntegers = HasOption(ivtoUpdateLocaleProperty) || (mirrored_ && !localeRightToLeft) ||
                            (!mirrored_ && localeRightToLeft);
  const AnsiString componentName = component && component != root_ ? component->Name() : AnsiString();
  const std::string& cls = object->ClassName();
  // The memo's text is translated as a whole by CustomTranslate, without its final line breaks.
  const bool memo = dynamic_cast<TCustomMemo*>(object) != nullptr;

  auto cached = walkedProperties_.find(&object->ClassType());
  if (cached == walkedProperties_.end()) {
    std::vector<const PropInfo*> walked;
    for (const PropInfo* p : object->ClassType().AllProperties()) {
      if (p->kind != PropKind::AnsiText && p->kind != PropKind::Object && p->kind != PropKind::Integer) continue;
      // Only what can be read and written: a getter alone may gather its answer afresh from the
      // system on every read (the printers), which a translation has no business doing.
      if (!p->CanRead() || !p->CanWrite()) continue;
      walked.push_back(p);
    }
    cached = walkedProperties_.emplace(&object->ClassType(), std::move(walked)).first;
  }
  for (const PropInfo* p : cached->second) {
    if (p->kind == PropKind::Integer && !walkIntegers) continue;
    if (OnRestrictProperty) {
      bool translate = true;
      OnRestrictProperty(this, object, p->name, translate);
      if (!translate) continue;
    }
    switch (p->kind) {
      case PropKind::Integer:
        if (component && SameText(p->name, "locale") && !(restrictions & IvRestriction(ivrFlip)))
          p->set(*object, PropValue(static_cast<int64_t>(translationLocale)));
        break;
      case PropKind::AnsiText: {
        if (component && SameText(p->name, "name")) break;
        if (memo && SameText(p->name, "Text")) break;
        if (!targets_->Accepts(cls, p->name)) break;
        AnsiString value = std::get<AnsiString>(p->get(*object));
        if (value.empty()) break;
        AnsiString translated = TranslateValue(object, componentName, value, p->name);
        if (translated != value) p->set(*object, PropValue(std::move(translated)));
        break;
      }
      case PropKind::Object: {
        // A list nobody asked to translate is not even read: some lists (the system's fonts
        // and printers) are gathered afresh on every read.
        if (p->objectClass && p->objectClass->InheritsFrom(TStrings::StaticClass()) &&
            !targets_->Accepts(cls, p->name))
          break;
        TObject* ref = std::get<TObject*>(p->get(*object));
        if (!ref) break;
        if (auto* lines = dynamic_cast<TStrings*>(ref)) {
          if (targets_->Accepts(cls, p->name)) TranslateLines(object, *lines, componentName, p->name);
        } else if (auto* collection = dynamic_cast<TCollection*>(ref)) {
          for (int i = 0; i < collection->Count(); ++i) TranslateObject(collection->Items(i), restrictions);
        } else if (auto* font = dynamic_cast<TFont*>(ref)) {
          TranslateFont(object, *font, restrictions);
        } else if (auto* referenced = dynamic_cast<TComponent*>(ref)) {
          // Components of the same owner are walked by TranslateComponent.
          if (component && referenced->Owner() != component->Owner()) TranslateObject(referenced, restrictions);
        } else {
          TranslateObject(ref, restrictions);
        }
        break;
      }
      default:
        break;
    }
  }
}

AnsiString TIvTranslator::TranslateValue(TObject* object, const AnsiString& componentName, const AnsiString& value,
                                         const std::string& propertyName) {
  if (value.empty()) return value;
  const bool menuItem = IsMenuItem(object);
  const AnsiString key = menuItem && HasHotkey(value) ? StripHotkeys(value) : value;
  for (size_t i = 0; i < table_.size(); ++i) {
    TIvTranslatorTableItem& item = table_[i];
    if (item.object == object && item.propertyName == propertyName && item.current == key) {
      AnsiString result = Lookup(object, item.original, item.originalKey, item.componentName);
      item.current = menuItem ? StripHotkeys(result) : result;
      itemPass_[i] = pass_;
      return result;
    }
  }
  // A text the table does not know (first translation, or changed by the program): a new
  // original. Old items stay; they are only dropped with their component.
  AnsiString result = Lookup(object, value, key, componentName);
  AnsiString current = menuItem ? StripHotkeys(result) : result;
  // An original this property had before, whose item this translation has not used (equal
  // lines of one list each keep an item of their own), takes that item back.
  for (size_t i = 0; i < table_.size(); ++i) {
    TIvTranslatorTableItem& item = table_[i];
    if (item.object == object && item.propertyName == propertyName && item.original == value &&
        item.originalKey == key && item.componentName == componentName && itemPass_[i] != pass_) {
      item.current = std::move(current);
      itemPass_[i] = pass_;
      return result;
    }
  }
  table_.push_back({object, componentName, propertyName, value, key, std::move(current)});
  itemPass_.push_back(pass_);
  return result;
}

AnsiString TIvTranslator::Lookup(TObject* object, const AnsiString& original, const AnsiString& originalKey,
                                 const AnsiString& componentName) {
  TIvDictionary* d = dictionary_;
  if (!d) return original;
  const bool retryKey = IsMenuItem(object) && HasHotkey(original);
  AnsiString translation;
  if (d->ContextMode()) {
    bool found = false;
    if (root_) {
      for (const ClassInfo* c = &root_->ClassType(); c && !IsContextStop(*c) && !found; c = c->parent) {
        found = d->TranslateInContext(original, c->name, translation, componentName);
        if (!found && retryKey) found = d->TranslateInContext(originalKey, c->name, translation, componentName);
      }
    }
    if (found) return d->ApplyMissingTranslation(original, true, translation);
    if (d->HasOption(ivdoUseFlatTranslation)) {
      found = d->Translate(original, translation);
      if (!found && retryKey) found = d->Translate(originalKey, translation);
      if (found) return translation;
    }
    return d->ApplyMissingTranslation(original, false, AnsiString());
  }
  bool found = d->Translate(original, translation);
  if (!found && retryKey) found = d->Translate(originalKey, translation);
  return d->ApplyMissingTranslation(original, found, translation);
}

void TIvTranslator::TranslateLines(TObject* object, TStrings& lines, const AnsiString& componentName,
                                   const std::string& propertyName) {
  int selectedIndex = -1;
  std::vector<bool> selected, checked;
  auto* list = dynamic_cast<IIvListSelection*>(object);
  auto* combo = dynamic_cast<TCustomComboBox*>(object);
  if (list) {
    selectedIndex = list->ItemIndex();
    for (int i = 0; i < lines.Count(); ++i) {
      if (list->MultiSelect()) selected.push_back(list->Selected(i));
      if (list->IsCheckList()) checked.push_back(list->Checked(i));
    }
  } else if (combo) {
    if (!combo->Visible()) return;  // an invisible combo box keeps its items
    selectedIndex = combo->ItemIndex();
  }

  if (object->ClassName() != "TOutline") {
    auto* sortedList = dynamic_cast<TStringList*>(&lines);
    const bool sorted = sortedList && sortedList->Sorted();
    if (sorted) sortedList->SetSorted(false);
    lines.BeginUpdate();
    ScopeExit restore{[&] {
      lines.EndUpdate();
      if (sorted) sortedList->SetSorted(true);
    }};
    for (int i = 0; i < lines.Count(); ++i) {
      const AnsiString& line = lines.Strings(i);
      AnsiString translated = TranslateValue(object, componentName, line, propertyName);
      if (translated != line) lines.SetStrings(i, translated);
    }
  }

  if (list) {
    for (size_t i = 0; i < checked.size() && static_cast<int>(i) < lines.Count(); ++i)
      list->SetChecked(static_cast<int>(i), checked[i]);
    for (size_t i = 0; i < selected.size() && static_cast<int>(i) < lines.Count(); ++i)
      list->SetSelected(static_cast<int>(i), selected[i]);
    if (selectedIndex != -1) list->SetItemIndex(selectedIndex);
  } else if (combo && selectedIndex != -1) {
    combo->SetItemIndex(selectedIndex);
  }
}

void TIvTranslator::CustomTranslate(TComponent& component) {
  for (TIvModule* m : Context().Service<TIvModules>().list) m->CustomTranslate(*this, component);
  auto* memo = dynamic_cast<TCustomMemo*>(&component);
  if (!memo || !targets_->Accepts(memo->ClassName(), "Text")) return;
  AnsiString text = memo->Text();
  size_t end = text.size();
  while (end > 0 && (text[end - 1] == '\r' || text[end - 1] == '\n')) --end;
  const bool trailing = end != text.size();
  text.resize(end);
  AnsiString translated = TranslateValue(memo, memo->Name(), text, "Text");
  if (trailing || translated != text) memo->SetText(translated);
}

void TIvTranslator::ChangeReadingOrder(TControl& control) {
  for (TIvModule* m : Context().Service<TIvModules>().list)
    if (m->ChangeReadingOrder(*this, control)) return;
}

// ---- fonts

void TIvTranslator::ApplyFormFont() {
  auto* form = dynamic_cast<TForm*>(root_);
  if (!dictionary_ || !form || !form->HandleAllocated()) return;
  const TIvLanguage& language = dictionary_->CurrentLanguage();
  const AnsiString name = language.fontName.empty() ? nativeFontName_ : language.fontName;
  const int size = language.fontSize == 0 ? nativeFontSize_ : language.fontSize;
  TFont& font = *form->Font();
  if (!name.empty() && font.Name() != name) font.SetName(name);
  if (size != 0 && font.Size() != size) font.SetSize(size);
  if (font.Charset() != language.Charset()) font.SetCharset(language.Charset());
}

void TIvTranslator::TranslateFont(TObject* object, TFont& font, TIvRestrictions restrictions) {
  if (!dictionary_ || charsetChange_ == ivccDisabled || (restrictions & IvRestriction(ivrCharset)) ||
      object->ClassName() == "TColumnTitle")
    return;
  if (charsetChange_ == ivccNormal) {
    if (auto* windowed = dynamic_cast<TWinControl*>(object); windowed && !windowed->HandleAllocated()) {
      TControl* parent = windowed->Parent();
      if (!parent || !parent->HandleAllocated()) return;
      try {
        windowed->HandleNeeded();
      } catch (const std::exception&) {
        return;  // no window: leave its font alone
      }
    }
  }
  const TIvLanguage& language = dictionary_->CurrentLanguage();
  if (!language.fontName.empty() && font.Name() != language.fontName) font.SetName(language.fontName);
  if (language.fontSize != 0 && font.Size() != language.fontSize) font.SetSize(language.fontSize);
  if (font.Charset() != language.Charset()) font.SetCharset(language.Charset());
}

// ---- window menu

void TIvTranslator::TranslateWindowMenu(WindowHandle window) {
  if (!dictionary_ || !window) return;
  IIvWindowMenu* menu = Context().Service<TIvWindowMenuAccess>().menu;
  if (!menu) return;
  const int count = menu->ItemCount(window);
  for (int i = 0; i < count; ++i) {
    uint32_t command = 0;
    bool separator = false;
    if (!menu->ItemInfo(window, i, command, separator) || separator) continue;
    const auto& names = WindowMenuNames();
    auto it = std::find_if(names.begin(), names.end(), [&](const TIvWindowMenuName& n) { return n.command == command; });
    if (it == names.end()) continue;
    const AnsiString& original =
        menuOriginals_.try_emplace({window, command}, menu->ItemText(window, i)).first->second;
    AnsiString text = TranslateText(dictionary_, it->name);
    if (text == it->name) {
      // Untranslated (English): the system's text, which on a Windows of another language
      // is not the English name.
      text = original;
    } else if (size_t tab = original.find('\t'); tab != AnsiString::npos) {
      text += original.substr(tab);  // keep the shortcut column ("\tAlt+F4")
    }
    menu->SetItemText(window, i, command, text);
  }
}

// ---- scaling

void TIvTranslator::ScaleMultiByte() {
  auto* root = dynamic_cast<TWinControl*>(root_);
  if (!dictionary_ || !HasOption(ivtoScaleMultiByte) || multiByteScale_ == 100 || !root) return;
  const bool farEast = LayoutClass(dictionary_->CurrentLanguage().LocaleId()) == 1;
  if (farEast && !scaled_) {
    if (auto* form = dynamic_cast<TForm*>(root); form && form->AutoScroll())
      throw EIvMulti("Cannot scale a form (" + form->Name() + ") that has AutoScroll property set True");
    if (multiByteScale_ <= 0) return;  // a scale of zero or less would collapse the form
    root->ScaleBy(multiByteScale_, 100);
    scaled_ = true;
    if (OnScale) OnScale(this, root);
  } else if (!farEast && scaled_) {
    if (multiByteScale_ > 0) root->ScaleBy(100, multiByteScale_);
    scaled_ = false;
    if (OnScale) OnScale(this, root);
  }
}

// ---- mirroring

TIvBidirectionalState& TIvTranslator::StateFor(TControl& control) {
  if (auto it = stateIndex_.find(&control); it != stateIndex_.end()) return *it->second;
  auto state = std::make_unique<TIvBidirectionalState>();
  state->control = &control;
  state->leftAtCreation = control.Left();
  TIvBidirectionalState& ref = *state;
  states_.push_back(std::move(state));
  stateIndex_[&control] = &ref;
  return ref;
}

const TIvBidirectionalState* TIvTranslator::StateOf(const TControl* control) const {
  auto it = stateIndex_.find(control);
  return it == stateIndex_.end() ? nullptr : it->second;
}

void TIvTranslator::MirrorControl(TControl& control, TIvBidirectionalState& state) {
  for (TIvModule* m : Context().Service<TIvModules>().list)
    if (m->MirrorControl(*this, control)) return;
  if (state.mirrored) return;
  state.mirrored = true;
  state.rightToLeftApplied = true;
  if (TControl* parent = control.Parent()) control.SetLeft(parent->ClientWidth() - control.Width() - control.Left());
}

void TIvTranslator::UnmirrorControl(TControl& control, TIvBidirectionalState& state) {
  for (TIvModule* m : Context().Service<TIvModules>().list)
    if (m->UnmirrorControl(*this, control)) return;
  if (!state.mirrored) return;
  state.mirrored = false;
  state.rightToLeftApplied = false;
  control.SetLeft(state.leftAtCreation);
}

void TIvTranslator::RefreshMirroredControl(TControl& control) {
  if (!mirrored_ || !control.Parent() || &control == root_) return;
  if (auto it = stateIndex_.find(&control); it != stateIndex_.end() && it->second->mirrored)
    control.SetLeft(control.Parent()->ClientWidth() - control.Width() - it->second->leftAtCreation);
}

void TIvTranslator::RefreshMirroredLayout() {
  if (!mirrored_) return;
  for (const auto& state : states_) {
    TControl* control = state->control;
    if (control == root_ || !control->Parent() || !state->mirrored) continue;
    const int left = control->Parent()->ClientWidth() - control->Width() - state->leftAtCreation;
    if (left != control->Left()) control->SetLeft(left);
  }
}

}  // namespace vsi
