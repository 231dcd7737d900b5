#pragma once
// The translator: applies a dictionary's selected language to the components of a form. It
// walks the components and their published properties, replaces every targeted text by its
// translation, and remembers each original so that any later language (the original one
// included) can be applied again. It also adapts fonts, far-east scaling and right-to-left
// mirroring, and translates the window (system) menu.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "framework/component.h"
#include "framework/description.h"
#include "i18n/dictionary.h"
#include "platform/windowing.h"

namespace vsi {

class TControl;
class TFont;
class TStrings;
class TIvTranslator;
class TIvCustomTranslator;

// --- Options and restrictions ----------------------------------------------------------------

enum TIvTranslatorOption : uint8_t {
  ivtoAutoTranslate = 0,         // translate again when the dictionary reports a change
  ivtoCheckFont = 1,             // apply the language's font to the form
  ivtoScaleMultiByte = 2,        // scale the form for far-east languages
  ivtoMirrorBiDirectional = 3,   // mirror controls for right-to-left languages
  ivtoChangeFontCharset = 4,     // kept; no effect
  ivtoUpdateLocaleProperty = 5,  // also set integer properties named "locale"
  ivtoAutoOpen = 6,              // translate when the form has been loaded
  ivtoTranslateSystemMenu = 7,   // translate the form's window menu
  ivtoTranslateOCX = 8,          // translate foreign controls too
  ivtoForceCharsetChange = 9,    // kept; no effect
};
using TIvTranslatorOptions = uint16_t;
constexpr TIvTranslatorOptions IvTranslatorOption(TIvTranslatorOption o) {
  return static_cast<TIvTranslatorOptions>(1u << o);
}
constexpr TIvTranslatorOptions kIvDefaultTranslatorOptions = 463;
extern const EnumInfo kIvTranslatorOptionNames;

enum TIvReadingOrder : uint8_t { ivroLeftToRight, ivroRightToLeft };
extern const EnumInfo kIvReadingOrderNames;
enum TIvCharsetChange : uint8_t { ivccDisabled, ivccNormal, ivccAll };
extern const EnumInfo kIvCharsetChangeNames;

enum TIvRestriction : uint8_t {
  ivrBuildInTranslation = 0,  // skip the property walk
  ivrCustomTranslation = 1,   // skip the custom translation (memo texts)
  ivrFlip = 2,                // do not mirror or unmirror, do not set "locale" properties
  ivrReadingOrder = 3,        // skip the reading-order change
  ivrThisComponentOnly = 4,   // the restrictions do not pass to owned components
  ivrCharset = 5,             // do not change fonts
};
using TIvRestrictions = uint8_t;
constexpr TIvRestrictions IvRestriction(TIvRestriction r) { return static_cast<TIvRestrictions>(1u << r); }

using TIvTranslateEvent = std::function<void(TIvCustomTranslator* translator)>;
using TIvTranslateNotifyEvent = std::function<void(TIvTranslator* translator, TComponent* component)>;
using TIvRestrictComponentEvent =
    std::function<void(TIvTranslator* translator, TComponent* component, TIvRestrictions& restrictions)>;
using TIvRestrictObjectEvent = std::function<void(TIvTranslator* translator, TObject* object, bool& translate)>;
using TIvRestrictPropertyEvent =
    std::function<void(TIvTranslator* translator, TObject* object, const std::string& name, bool& translate)>;

// --- Targets ---------------------------------------------------------------------------------

// Which property of which class is translated. Empty class name: every class; empty property
// name: every property of that class.
struct TIvTargetProperty {
  enum Kind : uint8_t { Include = 0, Exclude = 1 };
  AnsiString className;
  AnsiString propertyName;
  uint8_t kind = Include;
  bool operator==(const TIvTargetProperty&) const = default;
  // Matches (class, property): same property (case-insensitive) for an empty or equal class,
  // or the same class with an empty property.
  bool Matches(std::string_view cls, std::string_view property) const;
};

class TIvTargetProperties : public TPersistent {
  VSI_CLASS(TIvTargetProperties)
  int Count() const { return static_cast<int>(items_.size()); }
  const TIvTargetProperty& Items(int index) const;
  int ExcludeCount() const { return excludeCount_; }
  // Appends unless an equal entry is present; false when it was already there.
  bool Add(const AnsiString& className, const AnsiString& propertyName, uint8_t kind = TIvTargetProperty::Include);
  void Clear();
  // Not excluded by any exclude entry, and matched by an include entry. The class is the
  // object's own class name: ancestors are not considered.
  bool Accepts(std::string_view cls, std::string_view property) const;
  bool Excluded(std::string_view cls, std::string_view property) const;
  void Assign(const TPersistent& source) override;

  // The stored value list "TargetsData": (1, count, (class, property, kind), ...) with "*" for
  // empty names. A version above 1 raises EIvMulti.
  void ReadTargetsData(const DescValue& value);
  // The older stored list "Data": class and property name pairs, all include.
  void ReadOldData(const DescValue& value);
  // The value to store: only entries the ancestor's targets do not already have.
  DescValue TargetsData(const TIvTargetProperties* ancestor = nullptr) const;

 private:
  std::vector<TIvTargetProperty> items_;
  int excludeCount_ = 0;
};

// --- Translator table and mirroring state ------------------------------------------------------

// One translated (object, property, original text).
struct TIvTranslatorTableItem {
  TObject* object = nullptr;
  AnsiString componentName;
  AnsiString propertyName;
  AnsiString original;
  AnsiString originalKey;  // the original without "&" markers for menu items
  AnsiString current;      // the last translation written (without "&" for menu items)
};
using TIvTranslatorTable = std::vector<TIvTranslatorTableItem>;

struct TIvBidirectionalState {
  TControl* control = nullptr;
  bool mirrored = false;
  int leftAtCreation = 0;
  bool rightToLeftApplied = false;
};

// --- Framework facilities the translator looks for -------------------------------------------

// A menu with automatic hot keys (the framework's menus implement it when they exist).
class IIvHotkeyMenu {
 public:
  virtual ~IIvHotkeyMenu() = default;
  virtual bool AutomaticHotkeys() const = 0;
  virtual void SetAutomaticHotkeys(bool automatic) = 0;
  // Adds a new empty item and removes it again, so the menu recomputes its hot keys.
  virtual void RecomputeHotkeys() = 0;
};

// A list box whose selection and check marks survive the translation of its lines.
class IIvListSelection {
 public:
  virtual ~IIvListSelection() = default;
  virtual int ItemIndex() const = 0;
  virtual void SetItemIndex(int index) = 0;
  virtual bool MultiSelect() const { return false; }
  virtual bool Selected(int index) const { return false; }
  virtual void SetSelected(int index, bool selected) {}
  virtual bool IsCheckList() const { return false; }
  virtual bool Checked(int index) const { return false; }
  virtual void SetChecked(int index, bool checked) {}
};

// The window (system) menu of a top-level window: GetSystemMenu, GetMenuItemCount,
// GetMenuItemInfoA (MIIM_ID | MIIM_TYPE), GetMenuStringA and SetMenuItemInfoA (MIIM_ID |
// MIIM_STRING). By default the platform's window system answers (TIvWindowMenuAccess).
class IIvWindowMenu {
 public:
  virtual ~IIvWindowMenu() = default;
  // Number of items, or -1 when the window has no window menu.
  virtual int ItemCount(WindowHandle window) = 0;
  // The item's command and whether it is a separator; false when it cannot be read.
  virtual bool ItemInfo(WindowHandle window, int position, uint32_t& command, bool& separator) = 0;
  // The item's text, at most 255 characters.
  virtual AnsiString ItemText(WindowHandle window, int position) = 0;
  virtual void SetItemText(WindowHandle window, int position, uint32_t command, const AnsiString& text) = 0;
};

// Per context: the window-menu access, the platform's window system unless a test installs
// another (or none).
struct TIvWindowMenuAccess {
  explicit TIvWindowMenuAccess(AppContext& context);
  ~TIvWindowMenuAccess();
  IIvWindowMenu* menu = nullptr;

 private:
  std::unique_ptr<IIvWindowMenu> platform_;
};

// Window-menu commands (SC_*) and the English names that are looked up for them.
struct TIvWindowMenuName {
  uint32_t command;
  const char* name;
};
const std::vector<TIvWindowMenuName>& WindowMenuNames();

// An extension that may handle some steps itself; each hook returns true when it did.
class TIvModule {
 public:
  virtual ~TIvModule() = default;
  virtual bool CustomTranslate(TIvTranslator& translator, TComponent& component) { return false; }
  virtual bool MirrorControl(TIvTranslator& translator, TControl& control) { return false; }
  virtual bool UnmirrorControl(TIvTranslator& translator, TControl& control) { return false; }
  virtual bool ChangeReadingOrder(TIvTranslator& translator, TControl& control) { return false; }
};

// Per context: the registered modules (none in the program).
struct TIvModules {
  explicit TIvModules(AppContext&) {}
  std::vector<TIvModule*> list;
};

// --- TIvCustomTranslator ---------------------------------------------------------------------

class TIvCustomTranslator : public TComponent, public IIvTranslator {
  VSI_CLASS(TIvCustomTranslator)
  explicit TIvCustomTranslator(TComponent* owner);
  ~TIvCustomTranslator() override;

  const AnsiString& DictionaryName() const { return dictionaryName_; }
  // Looks the dictionary up by name; a different dictionary while active first releases.
  void SetDictionaryName(const AnsiString& name);
  TIvDictionary* Dictionary() const { return dictionary_; }
  // Binds a dictionary directly (tests, programs that build forms in code).
  void SetDictionary(TIvDictionary* dictionary);

  TIvTranslateEvent OnBeforeTranslate, OnAfterTranslate;
  TNotifyEvent OnLanguageChange, OnLocaleChange;

  bool Active() const { return active_; }
  bool ScaledBit() const { return scaled_; }
  bool MirroredBit() const { return mirrored_; }

  virtual WindowHandle RootHandle() { return 0; }
  virtual void TranslateAll() {}
  void LanguageChanged(bool languageChanged, bool localeChanged) override {}
  virtual void Activate() { active_ = true; }
  void Deactivate() override;
  virtual void Release() { Deactivate(); }

  void Notification(TComponent* component, Operation operation) override;

 protected:
  void SetDictionaryRef(TIvDictionary* dictionary);
  void DeactivateBase();

  AnsiString dictionaryName_;
  TIvDictionary* dictionary_ = nullptr;
  bool active_ = false;
  bool scaled_ = false;
  bool mirrored_ = false;
};

// --- TIvTranslator ---------------------------------------------------------------------------

class TIvTranslator : public TIvCustomTranslator {
  VSI_CLASS(TIvTranslator)
  explicit TIvTranslator(TComponent* owner);
  ~TIvTranslator() override;

  TIvTargetProperties* Targets() const { return targets_.get(); }
  void SetTargets(const TIvTargetProperties& targets) { targets_->Assign(targets); }
  // The stored value list of the window description.
  void ReadTargetsData(const DescValue& value) { targets_->ReadTargetsData(value); }
  TIvTranslatorOptions Options() const { return options_; }
  void SetOptions(TIvTranslatorOptions options) { options_ = options & 0x3FF; }
  bool HasOption(TIvTranslatorOption o) const { return (options_ & IvTranslatorOption(o)) != 0; }
  TIvReadingOrder NativeLayout() const { return nativeLayout_; }
  void SetNativeLayout(TIvReadingOrder order) { nativeLayout_ = order; }
  TIvCharsetChange CharsetChange() const { return charsetChange_; }
  void SetCharsetChange(TIvCharsetChange change) { charsetChange_ = change; }
  int MultiByteScale() const { return multiByteScale_; }
  void SetMultiByteScale(int percent) { multiByteScale_ = percent; }

  TIvTranslateNotifyEvent OnTranslate, OnScale;
  TIvRestrictComponentEvent OnRestrictComponent;
  TIvRestrictObjectEvent OnRestrictObject;
  TIvRestrictPropertyEvent OnRestrictProperty;

  // Overrides of the base.
  WindowHandle RootHandle() override;
  void TranslateAll() override;
  void LanguageChanged(bool languageChanged, bool localeChanged) override;
  void Activate() override;
  void Deactivate() override;
  void Release() override;

  // Own operations.
  TComponent* Root() const { return root_; }
  virtual void TranslateObject(TObject* object, TIvRestrictions restrictions);
  virtual void ApplyFormFont();
  virtual void MirrorControl(TControl& control, TIvBidirectionalState& state);
  virtual void UnmirrorControl(TControl& control, TIvBidirectionalState& state);
  virtual void CustomTranslate(TComponent& component);
  virtual void ChangeReadingOrder(TControl& control);
  virtual void TranslateComponent(TComponent* component, TIvRestrictions restrictions);
  virtual void TranslateFor(TComponent* component);
  virtual void RevertToNative();
  virtual void RefreshMirroredControl(TControl& control);
  // Re-places the mirrored controls; nothing unless the form is mirrored.
  virtual void RefreshMirroredLayout();

  const TIvTranslatorTable& Table() const { return table_; }
  const AnsiString& NativeFontName() const { return nativeFontName_; }
  int NativeFontSize() const { return nativeFontSize_; }
  bool LanguageIsRightToLeft() const { return rightToLeft_; }
  // The state of a control, or null when none was made.
  const TIvBidirectionalState* StateOf(const TControl* control) const;

  void Loaded() override;
  void Notification(TComponent* component, Operation operation) override;

  // The translation of one value, remembering its original.
  AnsiString TranslateValue(TObject* object, const AnsiString& componentName, const AnsiString& value,
                            const std::string& propertyName);

 protected:
  AnsiString Lookup(TObject* object, const AnsiString& original, const AnsiString& originalKey,
                    const AnsiString& componentName);
  void TranslateLines(TObject* object, TStrings& lines, const AnsiString& componentName,
                      const std::string& propertyName);
  void TranslateFont(TObject* object, TFont& font, TIvRestrictions restrictions);
  void TranslateWindowMenu(WindowHandle window);
  void ScaleMultiByte();
  TIvBidirectionalState& StateFor(TControl& control);

 private:
  std::unique_ptr<TIvTargetProperties> targets_;
  TIvTranslatorOptions options_ = kIvDefaultTranslatorOptions;
  TIvReadingOrder nativeLayout_ = ivroLeftToRight;
  TIvCharsetChange charsetChange_ = ivccNormal;
  int multiByteScale_ = 100;

  TComponent* root_ = nullptr;
  std::unordered_set<const TObject*> visited_;
  TIvTranslatorTable table_;
  // Per item, the full translation it was last used in. An original that comes back after
  // the program rewrote its text reuses its idle item instead of adding a twin: a label the
  // program sets on every switch would otherwise add an item per switch.
  std::vector<uint64_t> itemPass_;
  uint64_t pass_ = 0;
  AnsiString nativeFontName_;
  int nativeFontSize_ = 0;
  bool rightToLeft_ = false;
  // The window menu's texts as the system wrote them, per (window, command): a language
  // without a name for an item, English among them, gives the system's own text back.
  std::map<std::pair<WindowHandle, uint32_t>, AnsiString> menuOriginals_;
  std::vector<std::unique_ptr<TIvBidirectionalState>> states_;
  std::unordered_map<const TControl*, TIvBidirectionalState*> stateIndex_;
  // The walked properties of each class met, in the framework's order (computed once).
  std::unordered_map<const ClassInfo*, std::vector<const PropInfo*>> walkedProperties_;
};

// True when `object`'s class or one of its ancestors is named `className`.
bool IsInstanceOfName(const TObject& object, std::string_view className);

}  // namespace vsi
