// The window's calendar shows the month's full name and the year whenever they fit between
// the arrows it draws, in every language and at every scale; only a caption wider than that
// space is shortened. Read back from what the window paints, in the monitor's pixels.
#include <gtest/gtest.h>

#include <climits>

#include "app/languages.h"
#include "calendar_fixture.h"

namespace vsi::caltest {
namespace {

using Op = fake::CanvasOp;

class CalendarCaptionFit : public CalendarFixture {};

TEST_F(CalendarCaptionFit, FullNameWheneverItFitsBetweenTheDrawnArrows) {
  for (int dpi : {96, 120, 144, 168}) {
    SCOPED_TRACE("at " + std::to_string(dpi) + " dpi");
    fp.windows.monitors[0].dpi = dpi;
    TMonthCalendarGroup* g = ShippedGroup();
    TMonthCalendar* c = g->Calendar(0);
    ASSERT_EQ(host->View().dpi, dpi);
    int full = 0, shortened = 0;
    for (const LanguageRow& row : kLanguages) {
      // As the language's flag button sets them.
      for (int m = 1; m <= 12; ++m) g->NameOfMonths()->SetName(m, row.months[m - 1]);
      for (int m = 1; m <= 12; ++m) {
        const std::string name = std::string(row.state) + " month " + std::to_string(m);
        g->SetMonth(static_cast<uint16_t>(m));
        const fake::RecordingCanvas canvas = fp.windows.Paint(c->Handle());
        // The space between the arrows as drawn: right of the previous-month triangle, left of
        // the next-month one.
        int left = 0, right = INT_MAX;
        const Op* caption = nullptr;
        bool clipped = false;
        for (const Op& op : canvas.ops) {
          if (op.kind == Op::Kind::TextOut) caption = &op;
          if (op.kind == Op::Kind::ClipRect) clipped = true;
          if (op.kind != Op::Kind::Polygon) continue;
          int lo = INT_MAX, hi = INT_MIN;
          for (TPoint p : op.points) lo = std::min(lo, p.x), hi = std::max(hi, p.x);
          if (hi < ViewScale{dpi}.Scale(75))  // left of the middle
            left = std::max(left, hi + 1);
          else
            right = std::min(right, lo);
        }
        ASSERT_NE(caption, nullptr) << name;
        const std::string whole = std::string(row.months[m - 1]) + " 2004";
        const int wholeWidth = fake::RecordingCanvas::Measure(caption->font, whole.size()).cx;
        const bool fits = wholeWidth <= right - left;
        EXPECT_EQ(caption->text == whole, fits)
            << name << ": \"" << caption->text << "\" for \"" << whole << "\", " << wholeWidth << " px in "
            << right - left;
        const int drawn = fake::RecordingCanvas::Measure(caption->font, caption->text.size()).cx;
        if (!clipped) {
          EXPECT_GE(caption->x, left) << name << " under the previous-month arrow";
          EXPECT_LE(caption->x + drawn, right) << name << " under the next-month arrow";
        }
        (caption->text == whole ? full : shortened)++;
      }
    }
    // Both kinds occur: the table does not pass by showing only one.
    EXPECT_GT(full, 0);
    EXPECT_GT(shortened, 0);
  }
}

}  // namespace
}  // namespace vsi::caltest
