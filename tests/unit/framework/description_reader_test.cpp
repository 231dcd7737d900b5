// The reader against damaged and hostile texts: nesting, numbers, component references of the
// wrong class and broken UTF-8 or UTF-16.
#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/description.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"

namespace vsi {
namespace {

class TReaderForm : public TForm {
  VSI_CLASS(TReaderForm)
  using TForm::TForm;
};
const ClassInfo& TReaderForm::StaticClass() {
  static const ClassInfo info = ClassBuilder<TReaderForm>("TReaderForm", &TForm::StaticClass()).Build();
  return info;
}

// A label that points at another label: its setter takes a TLabel and uses it as one.
class TBuddyLabel : public TLabel {
  VSI_CLASS(TBuddyLabel)
  using TLabel::TLabel;
  TLabel* Buddy() const { return buddy_; }
  void SetBuddy(TLabel* buddy) {
    buddy_ = buddy;
    if (buddy_) buddyCaption_ = buddy_->Caption();
  }
  TLabel* buddy_ = nullptr;
  AnsiString buddyCaption_;
};
const ClassInfo& TBuddyLabel::StaticClass() {
  static const ClassInfo info = ClassBuilder<TBuddyLabel>("TBuddyLabel", &TLabel::StaticClass())
                                    .Creatable()
                                    .Object("Buddy", TLabel::StaticClass(), &TBuddyLabel::Buddy, &TBuddyLabel::SetBuddy)
                                    .Build();
  return info;
}

std::string ErrorOf(const std::string& text) {
  try {
    ParseDescription(text);
  } catch (const EDescriptionError& e) {
    return e.what();
  }
  return "";
}

TEST(DescriptionReaderTest, DeepNestingIsAnErrorNotAStackOverflow) {
  const std::string lists = "TReaderForm F { Lines " + std::string(100000, '(') + " }";
  std::string children = "TReaderForm F { ";
  for (int i = 0; i < 100000; ++i) children += "TPanel P { ";
  for (const std::string& text : {lists, children}) {
    const std::string error = ErrorOf(text);
    EXPECT_NE(error.find("nested more than 64 deep"), std::string::npos) << error;
  }

  // Real windows nest a few levels; that stays well inside the limit.
  const DescNode node = ParseDescription("T F { P (((1) 2)) TPanel A { TPanel B { TLabel C { } } } }");
  EXPECT_EQ(node.properties.at(0).value.items.at(0).items.at(0).items.at(0).integer, 1);
  EXPECT_EQ(node.children.at(0).children.at(0).children.at(0).name, "C");
}

TEST(DescriptionReaderTest, NumbersAreWholeWordsThatFit) {
  struct Good {
    const char* text;
    DescValue::Type type;
    int64_t integer;
    double real;
  };
  using T = DescValue::Type;
  const Good good[] = {
      {"010", T::Integer, 10, 0},  // decimal, not octal
      {"-0x10", T::Integer, -16, 0},
      {"0x00FF8080", T::Integer, 0xFF8080, 0},
      {"0x7FFFFFFFFFFFFFFF", T::Integer, INT64_MAX, 0},
      {"-9223372036854775808", T::Integer, INT64_MIN, 0},
      {"2.5", T::Float, 0, 2.5},
      {"-1.", T::Float, 0, -1.0},
  };
  for (const Good& g : good) {
    SCOPED_TRACE(g.text);
    const DescNode node = ParseDescription(std::string("T F { P ") + g.text + " Q (" + g.text + ")}");
    for (const DescValue& v : {node.properties.at(0).value, node.properties.at(1).value.items.at(0)}) {
      EXPECT_EQ(v.type, g.type);
      EXPECT_EQ(v.integer, g.integer);
      EXPECT_EQ(v.real, g.real);
    }
  }

  struct Bad {
    const char* name;
    std::string text;
    const char* error;
  };
  const Bad bad[] = {
      {"letters after digits", "12px", "bad number"},
      {"two points", "1.2.3", "bad number"},
      {"prefix alone", "0x", "bad number"},
      {"sign alone", "-", "bad number"},
      {"hex digit past the prefix", "0x1G", "bad number"},
      {"point first", "-.5", "bad number"},
      {"beyond 64 bits", "99999999999999999999", "number out of range"},
      {"below 64 bits", "-0x8000000000000001", "number out of range"},
      {"beyond a double", "1" + std::string(400, '0') + ".0", "number out of range"},
  };
  for (const Bad& b : bad) {
    const std::string error = ErrorOf("T F {\n  Left " + b.text + "\n}");
    EXPECT_NE(error.find(std::string("line 2, property Left: ") + b.error), std::string::npos)
        << b.name << ": " << error;
  }
}

class DescriptionReferenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const ClassInfo* c : {&TLabel::StaticClass(), &TMemo::StaticClass(), &TBuddyLabel::StaticClass()})
      RegisterClass(*c);
  }
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TApplication app{ctx};
};

TEST_F(DescriptionReferenceTest, AComponentOfAnotherClassIsRefused) {
  auto* form = new TReaderForm(&app);
  try {
    form->LoadDescription("TReaderForm F {\n  TBuddyLabel A {\n    Buddy M\n  }\n  TMemo M { }\n}");
    ADD_FAILURE() << "a memo was taken for a label";
  } catch (const EDescriptionError& e) {
    EXPECT_NE(std::string(e.what()).find("line 3, property Buddy: M is not a TLabel"), std::string::npos) << e.what();
  }
  auto* buddy = dynamic_cast<TBuddyLabel*>(form->FindComponent("A"));
  ASSERT_NE(buddy, nullptr);
  EXPECT_EQ(buddy->Buddy(), nullptr);
}

TEST_F(DescriptionReferenceTest, AComponentOfTheClassOrADerivedOneIsSetAfterItIsMade) {
  auto* form = new TReaderForm(&app);
  form->LoadDescription(R"(TReaderForm F {
  TBuddyLabel A { Buddy B }
  TLabel B { Caption "named later" }
  TBuddyLabel C { Buddy A }
})");
  auto* a = dynamic_cast<TBuddyLabel*>(form->FindComponent("A"));
  auto* c = dynamic_cast<TBuddyLabel*>(form->FindComponent("C"));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(a->Buddy(), form->FindComponent("B"));
  EXPECT_EQ(a->buddyCaption_, "named later");
  EXPECT_EQ(c->Buddy(), a);
}

}  // namespace
}  // namespace vsi
