#include "framework/description.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "framework/timer.h"

namespace vsi {
namespace {

class TTestForm : public TForm {
  VSI_CLASS(TTestForm)
  explicit TTestForm(TComponent* owner) : TForm(owner) {
    RegisterMethod("Clicked", [this](TObject*) { ++clicks; });
  }
  int clicks = 0;
};

const ClassInfo& TTestForm::StaticClass() {
  static const ClassInfo info = ClassBuilder<TTestForm>("TTestForm", &TForm::StaticClass()).Build();
  return info;
}

// Records the order of "loaded" notifications.
std::vector<std::string>* gLoaded = nullptr;
class TProbeLabel : public TLabel {
  VSI_CLASS(TProbeLabel)
  using TLabel::TLabel;
  void Loaded() override {
    TLabel::Loaded();
    if (gLoaded) gLoaded->push_back(Name());
  }
};
const ClassInfo& TProbeLabel::StaticClass() {
  static const ClassInfo info = ClassBuilder<TProbeLabel>("TProbeLabel", &TLabel::StaticClass()).Creatable().Build();
  return info;
}

class DescriptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const ClassInfo* c : {&TLabel::StaticClass(), &TPanel::StaticClass(), &TMemo::StaticClass(),
                               &TTimer::StaticClass(), &TProbeLabel::StaticClass(), &TSpeedButton::StaticClass()})
      RegisterClass(*c);
  }
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TApplication app{ctx};
};

// The reader's own cases, on a small description of no shipped window.
TEST_F(DescriptionTest, CreatesChildrenSetsPropertiesAndBindsHandlers) {
  auto* form = new TTestForm(&app);
  form->LoadDescription(R"(
TTestForm Sample {
  Caption "Caf\xe9 \"quoted\""   # an 8-bit text through the ANSI code page
  Color 16744576
  Font.Style [fsBold, fsItalic]
  TPanel Box {
    Left 10
    Top 20
    ParentColor true
    Font.Color clWhite
    TLabel Title {
      Caption "déc."
      Alignment taRightJustify
    }
  }
  TMemo Notes {
    Lines ("one" "two")
  }
  TSpeedButton Go {
    OnClick Clicked
  }
}
)");
  EXPECT_EQ(form->Name(), "Sample");
  EXPECT_EQ(form->Caption(), "Caf\xe9 \"quoted\"");
  EXPECT_EQ(form->Font()->Style(), fsBold | fsItalic);
  auto* panel = dynamic_cast<TPanel*>(form->FindComponent("Box"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->Parent(), form);
  EXPECT_EQ(panel->Color(), 16744576u) << "parent colour";
  auto* label = dynamic_cast<TLabel*>(form->FindComponent("Title"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Owner(), form) << "the form owns every component";
  EXPECT_EQ(label->Parent(), panel);
  EXPECT_EQ(label->Caption(), "d\xe9" "c.") << "UTF-8 descriptions become Windows-1252 captions";
  EXPECT_EQ(label->Font()->Color(), clWhite) << "inherited from the panel";
  EXPECT_EQ(label->Alignment(), taRightJustify);
  auto* memo = dynamic_cast<TMemo*>(form->FindComponent("Notes"));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->Text(), "one\r\ntwo");
  dynamic_cast<TControl*>(form->FindComponent("Go"))->Click();
  EXPECT_EQ(form->clicks, 1);
}

TEST_F(DescriptionTest, LoadedRunsInDescriptionOrderAfterEverythingIsSet) {
  std::vector<std::string> order;
  gLoaded = &order;
  auto* form = new TTestForm(&app);
  form->LoadDescription(R"(TTestForm F {
  TProbeLabel A { TProbeLabel B { } }
  TProbeLabel C { }
})");
  gLoaded = nullptr;
  EXPECT_EQ(order, (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_FALSE(form->FindComponent("C")->Loading());
}

TEST_F(DescriptionTest, MalformedDescriptionsNameTheLineAndProperty) {
  struct Case {
    const char* name;
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"unknown property", "TTestForm F {\n  Colour 5\n}", "line 2, property Colour: unknown property"},
      {"wrong kind", "TTestForm F {\n\n  Left \"x\"\n}", "line 3, property Left: an integer was expected"},
      {"unknown enum", "TTestForm F {\n  TLabel L {\n    Alignment taMiddle\n  }\n}", "line 3, property Alignment: unknown value taMiddle"},
      {"unknown handler", "TTestForm F {\n  OnShow Nowhere\n}", "line 2, property OnShow: unknown handler Nowhere"},
      {"unknown class", "TTestForm F {\n  TGizmo G { }\n}", "line 2: class TGizmo not found"},
      {"unterminated text", "TTestForm F {\n  Caption \"abc\n}", "line 2, property Caption: unterminated text"},
      {"missing brace", "TTestForm F {\n  Left 1\n", "missing } of F"},
      {"wrong root", "TPanel F {\n}", "TTestForm is not a TPanel"},
  };
  for (const Case& c : cases) {
    auto* form = new TTestForm(&app);
    try {
      form->LoadDescription(c.text);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const EDescriptionError& e) {
      EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << c.name << ": " << e.what();
    }
    delete form;
  }
}

}  // namespace
}  // namespace vsi
