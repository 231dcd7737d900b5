#include "app/main_form.h"

#include "app/window_descriptions.h"
#include "controls/ui_labels.h"
#include "framework/context.h"
#include "probes/host_probe.h"

namespace vsi {

const ClassInfo& TMain::StaticClass() {
  static const ClassInfo info = ClassBuilder<TMain>("TMain", &TForm::StaticClass()).Build();
  return info;
}

TMain::TMain(TComponent* owner) : TForm(owner) {
  RegisterMethod("Timer1Timer", [this](TObject* s) { Timer1Timer(s); });
  RegisterMethod("SpeedButton9Click", [this](TObject* s) { SpeedButton9Click(s); });
  RegisterMethod("SpeedButton10Click", [this](TObject* s) { SpeedButton10Click(s); });
  RegisterMethod("BitBtn2Click", [this](TObject* s) { BitBtn2Click(s); });
  RegisterMethod("FormShow", [this](TObject* s) { FormShow(s); });
  RegisterMethod("FormClose", [this](TObject* s) { FormClose(s); });
  // Handlers of features that are wired up elsewhere do nothing until then.
  for (const char* name : {"SpeedButton1Click", "SpeedButton2Click", "SpeedButton3Click", "SpeedButton4Click",
                           "SpeedButton5Click", "SpeedButton6Click", "SpeedButton7Click", "SpeedButton8Click",
                           "BitBtn1Click", "DriveComboBox1Change"})
    if (!FindMethod(name)) RegisterMethod(name, [](TObject*) {});
  LoadDescription(std::string(WindowDescription("main")));
}

void TMain::SetSlot(std::string_view slot, const AnsiString& value) {
  Get<TWideLabel>(slot).SetCaption(ToWide(value));
}

void TMain::Timer1Timer(TObject*) { SetSlot("WideLabel6", Get<TAVTools>("AVTools1").CpuUsageText()); }

void TMain::SpeedButton9Click(TObject*) {
  // Not modal; a second click only brings it forward.
  for (int i = 0; i < Owner()->ComponentCount(); ++i)
    if (auto* upgrade = dynamic_cast<Ttoolabout*>(Owner()->Components(i))) {
      if (upgrade->Showing())
        upgrade->BringToFront();
      else
        upgrade->Show();
      return;
    }
}

void TMain::SpeedButton10Click(TObject*) { SetWindowState(wsMinimized); }

void TMain::BitBtn2Click(TObject*) {}

void TMain::FormShow(TObject*) {}

void TMain::FormClose(TObject*) {}

const ClassInfo& Ttoolabout::StaticClass() {
  static const ClassInfo info = ClassBuilder<Ttoolabout>("Ttoolabout", &TForm::StaticClass()).Build();
  return info;
}

Ttoolabout::Ttoolabout(TComponent* owner) : TForm(owner) {
  std::string_view text = WindowDescription("toolabout");
  if (!text.empty()) LoadDescription(std::string(text));
}

const ClassInfo& Tabout::StaticClass() {
  static const ClassInfo info = ClassBuilder<Tabout>("Tabout", &TForm::StaticClass()).Build();
  return info;
}

Tabout::Tabout(TComponent* owner) : TForm(owner) {
  std::string_view text = WindowDescription("about");
  if (!text.empty()) LoadDescription(std::string(text));
}

}  // namespace vsi
