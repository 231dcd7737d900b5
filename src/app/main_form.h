#pragma once
// The main window: system facts in four columns, a calendar and clock, drive facts, the
// network configuration, and eight language buttons.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/system_facts.h"
#include "app/upgrade_window.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "framework/timer.h"

namespace vsi {

class TWideLabel;
class TAVTools;
class LiveFacts;

class TMain : public TForm {
  VSI_CLASS(TMain)
  explicit TMain(TComponent* owner);
  ~TMain() override;

  // Handlers bound by the window description.
  void Timer1Timer(TObject* sender);
  void SpeedButton9Click(TObject* sender);
  void SpeedButton10Click(TObject* sender);
  void BitBtn2Click(TObject* sender);
  void FormShow(TObject* sender);
  void FormClose(TObject* sender);
  void DriveComboBox1Change(TObject* sender);
  // The eight flag handlers: each applies its row of the language table and, when the user
  // clicked it, stores it at once, so that no way of ending the program loses the choice.
  void ApplyLanguage(const struct LanguageRow& row);
  // The first step of FormShow: the stored language, or English. A stored value that cannot
  // be used is reported once, English is shown, and the value is left as it was.
  void RestoreLanguage();
  // The session ends (log-off, shutdown): what a close would store is stored now.
  void WmEndSession() override;
  void BitBtn1Click(TObject* sender);

  // A component of this window by name and class; raises when it is missing.
  template <class T>
  T& Get(std::string_view name) const {
    TComponent* c = FindComponent(name);
    T* t = dynamic_cast<T*>(c);
    if (!t) throw Exception(Format("Component %s not found", std::string(name).c_str()));
    return *t;
  }
  // The drive's size and free space as last read, grouped by the current format settings.
  void ShowDiskFigures();
  // Writes an 8-bit value into a display slot through the ANSI code page.
  void SetSlot(std::string_view slot, const AnsiString& value);

  // Puts every fact on the clipboard as "caption: value" lines in the window's language; says
  // so in a box when the clipboard cannot take them.
  void CopyAll();
  // A language for this run only: shown in place of the stored one, and not stored at close
  // unless a flag button is clicked.
  void SetLanguageForRun(const LanguageRow* row) { runLanguage_ = row; }
  SystemFacts& Facts() const { return *facts_; }
  // Refreshes the components that retrieve at start but that no slot shows; FormShow has a
  // timer run it once the window has been painted.
  void RetrieveDeferred();
  const std::vector<std::string>& DeferredRetrievals() const { return deferred_; }
  // Moves the window wholly onto a screen when it is not (a monitor went or shrank).
  void KeepOnScreen();

 protected:
  void CreateWindowHandle() override;

 private:
  // The place stored for the present monitor layout, if any (a value of another type or a
  // damaged one counts as none); and storing the window's present place, which never fails
  // aloud.
  std::optional<TPoint> StoredPlace() const;
  void StorePlace();
  // Writes the language in force as the stored choice; raises when the key refuses it.
  void StoreLanguage();
  // True when the stored choice is missing or not a language's name: then the language in
  // force is written at close. A choice another copy of the program stored since stays.
  bool StoredLanguageMissing() const;
  // A language applied by the restore or a click; `picked` when the user chose it.
  void PickLanguage(const struct LanguageRow& row, bool picked);
  // Reports a failure through the application's error box (one at a time).
  void Report(const std::exception& e);
  // Reads a fact into the model and shows it in its slot.
  void ShowFact(Fact fact);
  void ShowContextMenu(TPoint screen);
  // Where a menu opened from the keyboard goes: by the control with the focus.
  TPoint FocusedPoint() const;

  std::unique_ptr<SystemFacts> facts_;
  std::unique_ptr<LiveFacts> live_;
  WideString slotText_;
  std::vector<std::string> deferred_;
  uintptr_t deferredTimer_ = 0;
  const LanguageRow* runLanguage_ = nullptr;
  bool restoring_ = false;         // the restore clicks a flag: not the user's choice
  bool languageUnstored_ = false;  // the user's choice could not be stored when made
};

}  // namespace vsi
