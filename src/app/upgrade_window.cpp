#include "app/upgrade_window.h"

#include <string>

#include "app/window_descriptions.h"

namespace vsi {

const ClassInfo& Ttoolabout::StaticClass() {
  static const ClassInfo info = ClassBuilder<Ttoolabout>("Ttoolabout", &TForm::StaticClass()).Build();
  return info;
}

Ttoolabout::Ttoolabout(TComponent* owner) : TForm(owner) {
  RegisterMethod("SpeedButton6Click", [this](TObject* s) { SpeedButton6Click(s); });
  RegisterMethod("SpeedButton7Click", [this](TObject* s) { SpeedButton7Click(s); });
  RegisterMethod("SpeedButton1Click", [this](TObject* s) { SpeedButton1Click(s); });
  RegisterMethod("SpeedButton2Click", [this](TObject* s) { SpeedButton2Click(s); });
  RegisterMethod("SpeedButton4Click", [this](TObject* s) { SpeedButton4Click(s); });
  RegisterMethod("BitBtn1Click", [this](TObject* s) { BitBtn1Click(s); });
  std::string_view text = WindowDescription("toolabout");
  if (!text.empty()) LoadDescription(std::string(text));
}

void Ttoolabout::ShowOnly(int number) {
  for (int i = 1; i <= 5; ++i) {
    std::string name = "Memo" + std::to_string(i);
    auto* memo = dynamic_cast<TControl*>(FindComponent(name));
    if (!memo) throw Exception(Format("Component %s not found", name.c_str()));
    memo->SetVisible(i == number);
  }
}

void Ttoolabout::SpeedButton6Click(TObject*) { ShowOnly(1); }
void Ttoolabout::SpeedButton7Click(TObject*) { ShowOnly(2); }
void Ttoolabout::SpeedButton1Click(TObject*) { ShowOnly(4); }
void Ttoolabout::SpeedButton2Click(TObject*) { ShowOnly(3); }
void Ttoolabout::SpeedButton4Click(TObject*) { ShowOnly(5); }

// Not the main window, so closing only hides it and the chosen text is kept.
void Ttoolabout::BitBtn1Click(TObject*) { Close(); }

const ClassInfo& Tabout::StaticClass() {
  static const ClassInfo info = ClassBuilder<Tabout>("Tabout", &TForm::StaticClass()).Build();
  return info;
}

Tabout::Tabout(TComponent* owner) : TForm(owner) {
  std::string_view text = WindowDescription("about");
  if (!text.empty()) LoadDescription(std::string(text));
}

}  // namespace vsi
