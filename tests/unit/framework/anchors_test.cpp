// A form told a new size by the window system moves its controls as their anchors say.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"

namespace vsi {
namespace {

TEST(AnchorsTest, ControlsKeepTheEdgesTheirAnchorsName) {
  struct Case {
    const char* name;
    uint8_t anchors;
    TRect grown;   // the client area 100 wider and 60 higher
    TRect shrunk;  // 100 narrower and 60 lower
  } cases[] = {
      {"left, top (the default)", akLeft | akTop, {10, 10, 60, 30}, {10, 10, 60, 30}},
      {"all four edges", akLeft | akTop | akRight | akBottom, {10, 10, 160, 90}, {10, 10, 10, 10}},
      {"right, bottom", akRight | akBottom, {110, 70, 160, 90}, {-90, -50, -40, -30}},
      {"none: centred", 0, {60, 40, 110, 60}, {10, 10, 60, 30}},
      {"left, right, none vertically", akLeft | akRight, {10, 40, 160, 60}, {10, 10, 10, 30}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakePlatform fp;
    AppContext ctx{fp.platform()};
    TApplication app{ctx};
    TForm* form = app.CreateForm<TForm>();
    form->SetBounds(0, 0, 200, 100);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 50, 20);
    panel->SetAnchors(c.anchors);
    form->Show();
    fp.windows.Deliver(form->Handle(), [](IWindowEvents& e) { e.WmSize(300, 160); });
    EXPECT_EQ(panel->BoundsRect(), c.grown);
    EXPECT_EQ(fp.windows.Window(panel->Handle()).bounds, c.grown);
    fp.windows.Deliver(form->Handle(), [](IWindowEvents& e) { e.WmSize(100, 40); });
    EXPECT_EQ(panel->BoundsRect(), c.shrunk);
    fp.windows.Deliver(form->Handle(), [](IWindowEvents& e) { e.WmSize(200, 100); });
    EXPECT_EQ(panel->BoundsRect(), (TRect{10, 10, 60, 30})) << "back at the first size, back in place";
  }
}

}  // namespace
}  // namespace vsi
