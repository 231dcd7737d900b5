// One idle second of the main window on the in-memory platform: the CPU slot's tick (one
// sample, its "%5.2f%%" text, the slot's caption and window text; the memory load read beside
// it, its slot written as the load moves, and every tenth second the drive's space read), the
// clock's tick (the time, its window text), and both together through the one timer the window
// arms for the second.
// Global operator new is replaced in this program and counted around each tick, so each
// benchmark reports the heap allocations of one tick after the first, which must stay 0: the
// window is on screen all day. BM_StartMainWindow times our own share of a start.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "app/main_form.h"
#include "app/program.h"
#include "controls/ui_labels.h"
#include "fakes/fake_platform.h"
#include "fakes/perf_data_builder.h"
#include "framework/context.h"
#include "framework/forms.h"
#include "framework/second_ticker.h"
#include "framework/text_encoding.h"
#include "framework/timer.h"
#include "unit/i18n/i18n_test_util.h"

namespace {
std::atomic<size_t> g_allocations{0};

void* Allocate(std::size_t size, std::size_t alignment) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (size == 0) size = 1;
  if (alignment <= alignof(std::max_align_t)) return std::malloc(size);
  return std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
}
}  // namespace

void* operator new(std::size_t size) {
  if (void* p = Allocate(size, 0)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, std::align_val_t a) {
  if (void* p = Allocate(size, static_cast<std::size_t>(a))) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t a) { return operator new(size, a); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size, 0); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size, 0); }
// GCC cannot see that the operator new above is malloc's too.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace vsi {
namespace {

// The program's windows made from their shipped descriptions, with the shipped dictionary
// beside the program, and the main window shown.
class IdleWindow {
 public:
  IdleWindow() {
    RegisterAllClasses();
    ctx.Service<TIvDictionaryStorage>().SetStore(&store);
    store.Put("C:\\Work\\toolbar1.mld", testing_i18n::ShippedDictionaryFile());
    // Ticks come just after the second begins, where the clock's timer settles.
    fp.system.localTime.milliseconds = fp.system.systemTime.milliseconds = SecondTicker::kAfterSecondMs;
    QueueSecond();  // the sampler's baseline at start
    CreateProgram(app);
    main = dynamic_cast<TMain*>(app.MainForm());
    main->Show();
  }

  // What the system does between two ticks: a second passes, the processors a quarter busy,
  // the memory load moves between 41 and 42 %. The fakes' records of what they were asked are
  // emptied (their storage kept): they are the test's memory, not the program's.
  void QueueSecond() {
    fp.system.AdvanceTime(1000);
    fp.system.memory.memoryLoad = fp.system.memory.memoryLoad == 41 ? 42 : 41;
    idle_ += 7'500'000;
    fp.registry.QueuePerfData(fake::ProcessorBlock(fp.system.systemTime, {idle_, idle_}));
    fp.registry.ForgetPerfRequestSizes();
    for (auto& [handle, window] : fp.windows.windows) window.invalidationLog.clear();
  }
  // Each second's tick runs both: Timer1's handler (the CPU slot) and the clock's poll.
  void CpuTick() { main->Get<TTimer>("Timer1").Tick(); }
  void ClockTick() { ctx.Service<PollingTimer>().Tick(); }
  void SecondTick() { fp.windows.timers.at(ctx.Service<SecondTicker>().Timer()).callback(); }
  std::string CpuSlot() { return Utf16ToUtf8(main->Get<TWideLabel>("WideLabel6").Caption()); }
  // The memory slot shows the load of the last tick.
  bool MemoryFollows() {
    return Utf16ToUtf8(main->Get<TWideLabel>("WideLabel7").Caption()) ==
           std::to_string(fp.system.memory.memoryLoad) + " %";
  }
  int ClockRedraws() { return main->Get<TUiClockStatus>("UiClockStatus1").Redraws(); }
  bool Failed() const { return !fp.windows.messageBoxes.empty(); }
  // Timer1 and the clock both go with the second's one timer.
  bool TimerOk() {
    return fp.windows.timers.count(ctx.Service<SecondTicker>().Timer()) && ctx.Service<PollingTimer>().OnTheSecond() &&
           main->Get<TTimer>("Timer1").Enabled();
  }

 private:
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  testing_i18n::MemoryStore store{fp.system};
  TApplication app{ctx};
  TMain* main = nullptr;
  int64_t idle_ = 0;
};

// Runs `tick` once, then once per iteration with `between` outside the count and the clock.
template <class Tick, class Between>
void CountTicks(benchmark::State& state, Tick tick, Between between) {
  between();
  tick();  // the first tick may set up what the later ones reuse
  size_t total = 0, most = 0;
  for (auto _ : state) {
    state.PauseTiming();
    between();
    state.ResumeTiming();
    const size_t before = g_allocations.load(std::memory_order_relaxed);
    tick();
    const size_t n = g_allocations.load(std::memory_order_relaxed) - before;
    total += n;
    most = std::max(most, n);
  }
  state.counters["allocs_per_tick"] = benchmark::Counter(static_cast<double>(total), benchmark::Counter::kAvgIterations);
  state.counters["most_allocs_in_a_tick"] = static_cast<double>(most);
}

void BM_IdleTickCpu(benchmark::State& state) {
  IdleWindow w;
  if (!w.TimerOk()) return state.SkipWithError("the window's ticks are not on the second's timer");
  CountTicks(state, [&] { w.CpuTick(); }, [&] { w.QueueSecond(); });
  // Zero allocations prove nothing unless the tick did its work.
  if (w.Failed() || w.CpuSlot() != "25.00%") state.SkipWithError(("CPU slot shows \"" + w.CpuSlot() + "\"").c_str());
  if (!w.MemoryFollows()) state.SkipWithError("the memory slot did not follow the load");
}
BENCHMARK(BM_IdleTickCpu);

void BM_IdleTickClock(benchmark::State& state) {
  IdleWindow w;
  if (!w.TimerOk()) return state.SkipWithError("the window's ticks are not on the second's timer");
  const int before = w.ClockRedraws();
  // Each tick a second later, so each one has a new time to show.
  CountTicks(state, [&] { w.ClockTick(); }, [&] { w.QueueSecond(); });
  if (w.Failed() || w.ClockRedraws() - before != static_cast<int>(state.iterations()) + 1)
    state.SkipWithError("the clock did not redraw on every tick");
}
BENCHMARK(BM_IdleTickClock);

// The whole of a second's wake-up: the shared timer's tick, CPU slot and clock together.
void BM_IdleTickSecond(benchmark::State& state) {
  IdleWindow w;
  if (!w.TimerOk()) return state.SkipWithError("the window's ticks are not on the second's timer");
  const int before = w.ClockRedraws();
  CountTicks(state, [&] { w.SecondTick(); }, [&] { w.QueueSecond(); });
  if (w.Failed() || w.CpuSlot() != "25.00%" || !w.MemoryFollows() ||
      w.ClockRedraws() - before != static_cast<int>(state.iterations()) + 1)
    state.SkipWithError("the second's tick did not update all three");
}
BENCHMARK(BM_IdleTickSecond);

}  // namespace
}  // namespace vsi

namespace vsi {
namespace {

// Our own share of a start: the program's windows made from their descriptions, the
// dictionary read, the slots filled and the main window shown, on the in-memory platform
// (what Wine adds to it is measured by scripts/bench-startup.sh).
void BM_StartMainWindow(benchmark::State& state) {
  size_t allocations = 0;
  for (auto _ : state) {
    const size_t before = g_allocations.load(std::memory_order_relaxed);
    auto w = std::make_unique<IdleWindow>();
    allocations = g_allocations.load(std::memory_order_relaxed) - before;
    state.PauseTiming();  // the teardown is not the start's
    const bool failed = w->Failed();
    w.reset();
    state.ResumeTiming();
    if (failed) return state.SkipWithError("the start showed an error box");
  }
  state.counters["allocs_per_start"] = static_cast<double>(allocations);
}
BENCHMARK(BM_StartMainWindow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vsi
