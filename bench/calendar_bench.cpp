// A full paint of the main window's calendar (80-band gradient, names, week numbers, the
// days) on the recording canvas, the pieces it is made of, and a pointer move.
#include <benchmark/benchmark.h>

#include "calendar/calendar_group.h"
#include "fakes/fake_platform.h"
#include "framework/context.h"

namespace vsi {
namespace {

struct CalendarSetup {
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TComponent root{ctx};
  TMonthCalendar* cal = nullptr;
  CalendarPaintInputs in;

  CalendarSetup() {
    fp.system.localTime = SystemTime{2004, 3, 0, 21, 14, 30, 0, 0};
    cal = new TMonthCalendar(&root);
    cal->SetBounds(0, 0, 150, 130);
    cal->SetColor(16744576);
    cal->SetShowWeeks(true);
    cal->SetShowToday(true);
    cal->SetCaptionColor(clWhite);
    cal->SetCaptionTextColor(clBlue);
    cal->SetTextColor(clBlue);
    cal->SetLineColor(clSilver);
    cal->SetThemesAvailable(true);
    cal->MoveToDate(21, 3, 2004);
    in.now = fp.system.localTime;
    in.focused = true;
  }
};

void BM_CalendarFullPaint(benchmark::State& state) {
  CalendarSetup s;
  // All 42 cells: the adjacent months' days as well.
  s.cal->SetShowDaysBefore(state.range(0) != 0);
  s.cal->SetShowDaysAfter(state.range(0) != 0);
  fake::RecordingCanvas canvas;
  canvas.themes = true;
  canvas.ops.reserve(512);
  for (auto _ : state) {
    canvas.ops.clear();
    s.cal->PaintCalendar(canvas, s.in);
    benchmark::DoNotOptimize(canvas.ops.data());
  }
  state.counters["calls"] = static_cast<double>(canvas.ops.size());
}
BENCHMARK(BM_CalendarFullPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// What a pointer move costs: the layout, the hit-test and the hover bookkeeping, across the
// caption, an arrow and the days.
void BM_CalendarPointerMove(benchmark::State& state) {
  CalendarSetup s;
  s.cal->HandleNeeded();
  const TPoint path[] = {{70, 7}, {122, 7}, {60, 60}, {100, 100}};
  size_t k = 0;
  for (auto _ : state) {
    const TPoint p = path[k++ % 4];
    s.cal->WmMouseMove(0, p.x, p.y);
  }
}
BENCHMARK(BM_CalendarPointerMove)->Unit(benchmark::kMicrosecond);

void BM_GradientFill(benchmark::State& state) {
  fake::RecordingCanvas canvas;
  canvas.ops.reserve(128);
  for (auto _ : state) {
    canvas.ops.clear();
    TMonthCalendar::GradientFill(canvas, TRect{1, 1, 149, 129}, clWhite, clBtnFace, gdHorizontal);
    benchmark::DoNotOptimize(canvas.ops.data());
  }
}
BENCHMARK(BM_GradientFill)->Unit(benchmark::kMicrosecond);

void BM_StepMonth(benchmark::State& state) {
  CalendarSetup s;
  int delta = 1;
  for (auto _ : state) {
    s.cal->StepMonth(delta);
    delta = -delta;
    benchmark::DoNotOptimize(s.cal->CurrentDate());
  }
}
BENCHMARK(BM_StepMonth);

void BM_WeekNumbers(benchmark::State& state) {
  cal::YearStart ys;
  int month = 1;
  for (auto _ : state) {
    int sum = 0;
    for (int r = 1; r <= 6; ++r) sum += cal::WeekNumber(r, month, 2004, 7, ys);
    benchmark::DoNotOptimize(sum);
    month = month % 12 + 1;
  }
}
BENCHMARK(BM_WeekNumbers);

}  // namespace
}  // namespace vsi
