#pragma once
// The program on the in-memory platform: its windows made from the shipped descriptions as
// the program makes them, with the main window, the upgrade window and their parts by name.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/program.h"
#include "app/upgrade_window.h"
#include "controls/ui_labels.h"
#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/description.h"
#include "framework/text_encoding.h"

namespace vsi {

// One copy of the program. What the platform must hold before the context reads it (the code
// page, a stored value) is arranged by the function given.
struct ProgramOnFake {
  explicit ProgramOnFake(const std::function<void(fake::FakePlatform&)>& arrange = {})
      : arranged_((RegisterAllClasses(), arrange ? arrange(fp) : void(), true)) {}

  // The program's windows, made as at start-up; the main window not shown yet.
  TMain& Create() {
    CreateProgram(app);
    main = dynamic_cast<TMain*>(app.MainForm());
    EXPECT_NE(main, nullptr);
    return *main;
  }
  // Made and shown (its slots filled), as the message loop does.
  TMain& Start() {
    Create().Show();
    return *main;
  }
  TMain& Main() const { return *main; }
  // A part of the main window by name.
  template <class T = TControl>
  T& Part(const char* name) const {
    return main->Get<T>(name);
  }
  template <class F>
  F* FormOf() const {
    for (int i = 0; i < app.ComponentCount(); ++i)
      if (auto* f = dynamic_cast<F*>(app.Components(i))) return f;
    return nullptr;
  }
  Ttoolabout& Upgrade() const {
    auto* f = FormOf<Ttoolabout>();
    if (!f) throw Exception("no upgrade window");
    return *f;
  }
  // A part of the upgrade window by name.
  template <class T = TControl>
  T& UpgradePart(const char* name) const {
    auto* c = dynamic_cast<T*>(Upgrade().FindComponent(name));
    if (!c) throw Exception(std::string("no ") + name);
    return *c;
  }
  void Click(const char* button) { Part(button).Click(); }
  // A display slot's text, UTF-8.
  std::string Slot(const char* name) const { return Utf16ToUtf8(Part<TWideLabel>(name).Caption()); }
  // The texts of the message boxes shown so far.
  std::vector<std::string> Boxes() const {
    std::vector<std::string> out;
    for (auto& m : fp.windows.messageBoxes) out.push_back(m.text);
    return out;
  }

  fake::FakePlatform fp;

 private:
  bool arranged_;

 public:
  AppContext ctx{fp.platform()};
  TApplication app{ctx};
  TMain* main = nullptr;
};

class ProgramFixture : public ::testing::Test, public ProgramOnFake {};

}  // namespace vsi
