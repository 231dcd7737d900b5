// The shipped main window on the real window system moved between monitors of two scales: a
// WM_DPICHANGED as the system sends it (Wine has one monitor, so the message is sent here)
// lays the window out again at the new scale, takes the suggested rectangle, leaves no text
// wider than its control in the control's own font, and holds no more GDI objects after 100
// changes than after the first round.
#include "shipped_program.h"  // first: <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../support/process_counters.h"

namespace vsi {
namespace {

class DisplayScaleTest : public ShippedProgramTest {
 protected:
  HWND Main() const { return reinterpret_cast<HWND>(main_->Handle()); }
  void MoveToScale(int dpi) { last_ = ShippedProgramTest::MoveToScale(dpi); }
  // Every control's window where its 96-dpi bounds put it at this scale, and its text no wider
  // than it in the font it draws with (which it answers to WM_GETFONT).
  void ExpectLaidOutAt(int dpi) {
    const ViewScale view{dpi};
    int checked = 0;
    for (int i = 0; i < main_->ComponentCount(); ++i) {
      auto* c = dynamic_cast<TControl*>(main_->Components(i));
      if (!c || !c->HandleAllocated() || !c->Visible()) continue;
      HWND h = reinterpret_cast<HWND>(c->Handle());
      SCOPED_TRACE(c->Name());
      RECT r{};
      GetWindowRect(h, &r);
      MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
      const TRect want = view.Scale(c->BoundsRect());
      EXPECT_EQ(r.left, want.left);
      EXPECT_EQ(r.top, want.top);
      EXPECT_EQ(r.right - r.left, want.Width());
      wchar_t cls[32] = {};
      GetClassNameW(h, cls, 32);
      if (std::wstring(cls) != L"ComboBox") {  // its window holds the list
        EXPECT_EQ(r.bottom - r.top, want.Height());
      }
      // Captions of labels: one line, in the control's own font.
      auto* label = dynamic_cast<TLabel*>(c);
      std::wstring text(256, L'\0');
      text.resize(GetWindowTextW(h, text.data(), 256));
      if (!label || label->WordWrap() || text.empty() || text == L" ") continue;
      HFONT font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
      ASSERT_NE(font, nullptr);
      LOGFONTW lf{};
      GetObjectW(font, sizeof lf, &lf);
      EXPECT_EQ(std::abs(lf.lfHeight), view.FontHeight(c->Font()->Height())) << "the font is the control's, scaled";
      EXPECT_LE(TextWidth(h, text), r.right - r.left) << "\"" << c->Caption() << "\" at " << dpi << " dpi";
      ++checked;
    }
    EXPECT_GT(checked, 15);
  }
  RECT last_{};
};

TEST_F(DisplayScaleTest, MovingBetweenScalesLaysTheWindowOutAgainWithoutLeaking) {
  // The English window, whatever language an earlier test stored: some translated captions
  // are wider than their labels at 96 dpi already, which is the design's, not the scale's.
  main_->Get<TControl>("SpeedButton6").Click();
  app_.ProcessMessages();
  const int start = main_->View().dpi;
  ExpectLaidOutAt(start);
  const int other = start == 144 ? 96 : 144;
  MoveToScale(other);
  EXPECT_EQ(main_->View().dpi, other);
  RECT r{};
  GetWindowRect(Main(), &r);
  EXPECT_EQ(r.right - r.left, last_.right - last_.left) << "the suggested rectangle is taken";
  EXPECT_EQ(r.bottom - r.top, last_.bottom - last_.top);
  GetClientRect(Main(), &r);
  EXPECT_NEAR(r.right, (885 * other + 48) / 96, 1);
  EXPECT_NEAR(r.bottom, (190 * other + 48) / 96, 1);
  ExpectLaidOutAt(other);
  MoveToScale(start);
  ExpectLaidOutAt(start);
  // Every font and picture of both scales now exists: 20 more changes make nothing new (a
  // change that leaked one object would show 20).
  UpdateWindow(Main());
  const long before = counters::GdiTableEntries(GetCurrentProcess());
  const size_t fonts = ws_.Resources().FontCount(), pictures = ws_.Resources().ScaledBitmapCount();
  for (int i = 0; i < 10; ++i) {
    MoveToScale(other);
    RedrawWindow(Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    MoveToScale(start);
    RedrawWindow(Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  const long after = counters::GdiTableEntries(GetCurrentProcess());
  EXPECT_EQ(ws_.Resources().FontCount(), fonts);
  EXPECT_EQ(ws_.Resources().ScaledBitmapCount(), pictures);
  ASSERT_GT(before, 0);
  EXPECT_LE(after, before + 2) << "GDI objects before " << before << ", after 20 changes " << after;
  ExpectLaidOutAt(start);
}

}  // namespace
}  // namespace vsi
