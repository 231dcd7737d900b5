#!/usr/bin/env bash
# toolbar1.exe against a floor and a peer, under Wine on a private Xvfb, in one run:
#
#   floor     floor_window.exe: a bare window of the main window's size with a one-second
#             timer, the least a program like ours can do
#   toolbar1  the program
#   taskmgr   Wine's own task manager, a peer that also shows the CPU usage
#
#   scripts/bench-peers.sh [IDLE_SECONDS]    # default 300; try 20 for a quick look
#
# The figures:
#   start-up        median of VSI_PEERS_RUNS starts (default 5) of each. floor and toolbar1
#                   as scripts/bench-startup.sh measures them: from process start to the
#                   window shown with every slot filled (network text excluded) and a sent
#                   message answered after that. taskmgr has no slots: to its "Task Manager"
#                   window shown by the started process and a sent WM_NULL answered, i.e. its
#                   message loop running with the window up (the floor is measured the same way).
#   idle CPU        all three started side by side, left 15 s to settle, then utime + stime
#                   of each program's own Linux process (/proc/<pid>/stat, all its threads)
#                   over IDLE_SECONDS. The Linux process of each is found by its command line
#                   and the WINEPREFIX in its environment. wineserver's share is NOT included:
#                   one server serves all three and Wine's own service processes, so its time
#                   cannot be split; its total over the same period is printed under the table.
#   private memory  at the end of the idle period, Private_Dirty + Swap of each process's
#                   /proc/<pid>/smaps_rollup: the pages that process alone has written (heap,
#                   stacks, written image pages), the nearest Linux figure to Windows' private
#                   bytes. Pages of Wine's DLLs that stay clean are shared and count for
#                   nobody. GetProcessMemoryInfo is no help here: asked about another process,
#                   Wine answers 0 for PrivateUsage (it is filled from swap alone).
#
#   exe size        of the toolbar1.exe measured (the stripped one that ships).
#   allocations     heap allocations of one CPU-slot tick and of one clock tick after the
#                   first, as build/native/bench/benchmarks counts them on the in-memory
#                   platform (BM_IdleTickCpu, BM_IdleTickClock).
#
# Goals: start-up at most 1.15 times the floor with 66 child windows (as many as the main
# window's controls) and below the peer's; idle CPU at most a tenth of the peer's; private
# memory at most 1.4 times the floor; the exe at most 1.5 MB; no allocation per tick.
#
# Builds toolbar1, floor_window, floor_children and e2e_driver with the mingw preset (VSI_MINGW_DIR picks
# another build folder; VSI_BENCH_NO_BUILD=1 uses what is there; VSI_TOOLBAR1 another
# toolbar1.exe), and the benchmarks with the native preset (VSI_NATIVE_DIR another folder).
# Prefix: VSI_WINEPREFIX (default build/wineprefix-peers). Run it niced
# on a shared machine; the three programs share the same conditions. A measurement, not a
# test: exits 0 whatever the figures, 1 only when it could not measure.
set -uo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
idle="${1:-${VSI_PEERS_IDLE_SECONDS:-300}}"
runs="${VSI_PEERS_RUNS:-5}"
settle=15
bin="${VSI_MINGW_DIR:-$root/build/mingw}"
native="${VSI_NATIVE_DIR:-$root/build/native}"
case "$idle" in '' | *[!0-9]*) echo "usage: $0 [IDLE_SECONDS]" >&2; exit 2 ;; esac
[ "$idle" -gt 0 ] || { echo "IDLE_SECONDS must be above 0" >&2; exit 2; }

# Everything the start-up script needs too: it is then told not to build again.
source scripts/mingw-build.sh
targets=(e2e_driver floor_window floor_children)
[ -z "${VSI_TOOLBAR1:-}" ] && targets+=(toolbar1)
vsi_mingw_build "$bin" "${targets[@]}" || exit 1
app="${VSI_TOOLBAR1:-$bin/toolbar1.exe}"
floor="$bin/floor_window.exe"
driver="$bin/e2e_driver.exe"
for f in "$app" "$floor" "$driver"; do
  [ -f "$f" ] || { echo "missing $f" >&2; exit 1; }
done

# ---------------------------------------------------------------- allocations per tick
# First, while nothing else of ours runs. The benchmarks' counters as JSON; a counter that
# cannot be read stays empty ("not measured").
if [ "${VSI_BENCH_NO_BUILD:-0}" != 1 ]; then
  if [ ! -f "$native/build.ninja" ]; then
    if [ "$native" = "$root/build/native" ]; then
      cmake --preset native >/dev/null || exit 1
    else
      cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
    fi
  fi
  cmake --build "$native" --target benchmarks -j2 >&2 || exit 1
fi
cpu_allocs=""
clock_allocs=""
if [ -x "$native/bench/benchmarks" ]; then
  ticks_json="$("$native/bench/benchmarks" --benchmark_filter='^BM_IdleTick' --benchmark_format=json 2>/dev/null)"
  # counter NAME BENCHMARK: the counter of that benchmark's entry, nothing when it has none.
  counter() {
    awk -v want="\"$2\"," -v key="\"$1\":" '
      $1 == "\"name\":" { name = $2 } $1 == key && name == want { v = $2; sub(/,$/, "", v); print v + 0; exit }' <<<"$ticks_json"
  }
  cpu_allocs="$(counter allocs_per_tick BM_IdleTickCpu)"
  clock_allocs="$(counter allocs_per_tick BM_IdleTickClock)"
fi
echo "allocations per tick after the first: CPU slot ${cpu_allocs:-?}, clock ${clock_allocs:-?}" >&2

export VSI_WINEPREFIX="${VSI_WINEPREFIX:-$root/build/wineprefix-peers}"
export VSI_XVFB="${VSI_XVFB:-1}"
source scripts/wine-env.sh
vsi_wine_start || { echo "Wine did not start" >&2; exit 1; }
trap 'vsi_wine_stop' EXIT
wine reg delete 'HKCU\Software\Velmora' /f </dev/null >/dev/null 2>&1

app_caption="  Velmora System Info 1.0"
floor_caption="  Velmora Floor"
peer_caption="Task Manager"
peer_exe='C:\windows\system32\taskmgr.exe'

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) exit; if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# ratio A B: A / B with two decimals, "n/a" when B is zero or either is missing.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "" || b + 0 == 0) print "n/a"; else printf "%.2f", a / b }'; }
# at_most A B LIMIT: "met" when A / B <= LIMIT.
at_most() { awk -v a="$1" -v b="$2" -v l="$3" 'BEGIN { if (a == "" || b == "" || b + 0 == 0) print "not measured"; else print (a / b <= l ? "met" : "NOT met") }'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "") print "not measured"; else print (a + 0 < b + 0 ? "met" : "NOT met") }'; }

# ---------------------------------------------------------------- start-up
echo "== start-up ($runs runs each)" >&2
startup_out="$(VSI_BENCH_NO_BUILD=1 VSI_MINGW_DIR="$bin" VSI_TOOLBAR1="$app" bash scripts/bench-startup.sh "$runs")"
echo "$startup_out" >&2
floor_ms="$(sed -n 's/.*floor \([0-9.]*\) ms, toolbar1 [0-9.]* ms.*/\1/p' <<<"$startup_out" | tail -n 1)"
app_ms="$(sed -n 's/.*floor [0-9.]* ms, toolbar1 \([0-9.]*\) ms.*/\1/p' <<<"$startup_out" | tail -n 1)"
children_ms="$(sed -n 's/^floor with 66 child windows \([0-9.]*\) ms.*/\1/p' <<<"$startup_out" | tail -n 1)"

peer_start() {
  wine "$driver" launch-until-filled "$peer_exe" "$peer_caption" 30000 </dev/null 2>/dev/null |
    vsi_crlf | awk '$1 == "elapsed_ms" { print $2 }'
}
peer_start >/dev/null  # warm-up, as the others had
peer_times=()
for i in $(seq 1 "$runs"); do
  t="$(peer_start)"
  echo "taskmgr run $i: ${t:-fail} ms" >&2
  [ -n "$t" ] && peer_times+=("$t")
done
peer_ms=""
[ "${#peer_times[@]}" -gt 0 ] && peer_ms="$(printf '%s\n' "${peer_times[@]}" | median)"

# ---------------------------------------------------------------- idle CPU and memory
# unix_pid NAME: the Linux process of the Windows program NAME (case-insensitive file name)
# running in our prefix.
# (Whole reads only: a reader that stops early would fail the pipe under pipefail.)
in_our_prefix() { [ "$(tr '\0' '\n' 2>/dev/null <"$1/environ" | grep -cxF "WINEPREFIX=$WINEPREFIX")" -gt 0 ]; }
unix_pid() {
  local want p first base
  want="$(tr '[:upper:]' '[:lower:]' <<<"$1")"
  for p in /proc/[0-9]*; do
    first="$(tr '\0' '\n' 2>/dev/null <"$p/cmdline" | sed -n 1p)"
    [ -n "$first" ] || continue
    base="${first##*[/\\]}"
    [ "$(tr '[:upper:]' '[:lower:]' <<<"$base")" == "$want" ] || continue
    in_our_prefix "$p" || continue
    echo "${p#/proc/}"
    return 0
  done
  return 1
}
wineserver_pid() {
  local p
  for p in /proc/[0-9]*; do
    case "$(cat "$p/comm" 2>/dev/null)" in wineserver*) ;; *) continue ;; esac
    in_our_prefix "$p" || continue
    echo "${p#/proc/}"
    return 0
  done
  return 1
}
# cpu_ticks PID: utime + stime in clock ticks (fields 14 and 15, after the "(comm)" field).
cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" 2>/dev/null | awk '{ print $12 + $13 }'; }
# private_kb PID: Private_Dirty + Swap of the process, in kB.
private_kb() { awk '$1 == "Private_Dirty:" || $1 == "Swap:" { s += $2 } END { print s + 0 }' "/proc/$1/smaps_rollup" 2>/dev/null; }

echo "== idle: all three for $idle s after $settle s to settle" >&2
(cd "$(dirname "$floor")" && exec wine "./$(basename "$floor")" </dev/null >/dev/null 2>&1) &
(cd "$(dirname "$app")" && exec wine "./$(basename "$app")" </dev/null >/dev/null 2>&1) &
wine "$peer_exe" </dev/null >/dev/null 2>&1 &
for caption in "$floor_caption" "$app_caption" "$peer_caption"; do
  wine "$driver" --caption "$caption" --timeout 30000 wait-window </dev/null >/dev/null 2>&1 ||
    { echo "no window \"$caption\"" >&2; exit 1; }
done
floor_pid="$(unix_pid "$(basename "$floor")")"
app_pid="$(unix_pid "$(basename "$app")")"
peer_pid="$(unix_pid taskmgr.exe)"
server_pid="$(wineserver_pid)"
for v in floor_pid app_pid peer_pid; do
  [ -n "${!v}" ] || { echo "no Linux process for $v" >&2; exit 1; }
done
echo "Linux processes: floor $floor_pid, toolbar1 $app_pid, taskmgr $peer_pid, wineserver ${server_pid:-?}" >&2
sleep "$settle"
declare -A t0 t1
for v in floor_pid app_pid peer_pid server_pid; do [ -n "${!v}" ] && t0[$v]="$(cpu_ticks "${!v}")"; done
sleep "$idle"
for v in floor_pid app_pid peer_pid server_pid; do [ -n "${!v}" ] && t1[$v]="$(cpu_ticks "${!v}")"; done
hz="$(getconf CLK_TCK)"
cpu_s() { awk -v a="${t0[$1]:-}" -v b="${t1[$1]:-}" -v hz="$hz" 'BEGIN { if (a == "" || b == "") exit; printf "%.2f", (b - a) / hz }'; }
floor_cpu="$(cpu_s floor_pid)"
app_cpu="$(cpu_s app_pid)"
peer_cpu="$(cpu_s peer_pid)"
server_cpu="$(cpu_s server_pid)"
floor_mem="$(private_kb "$floor_pid")"
app_mem="$(private_kb "$app_pid")"
peer_mem="$(private_kb "$peer_pid")"
for caption in "$floor_caption" "$app_caption" "$peer_caption"; do
  wine "$driver" --caption "$caption" close </dev/null >/dev/null 2>&1
done

# ---------------------------------------------------------------- table
fmt_ms() { [ -n "$1" ] && echo "$1 ms" || echo "n/a"; }
fmt_cpu() { [ -n "$1" ] && awk -v s="$1" -v d="$idle" 'BEGIN { printf "%.2f s (%.3f %%)", s, 100 * s / d }' || echo "n/a"; }
fmt_mb() { [ -n "$1" ] && awk -v k="$1" 'BEGIN { printf "%.1f MB", k / 1024 }' || echo "n/a"; }
exe_bytes="$(stat -c %s "$app" 2>/dev/null)"
exe_mb="$(awk -v b="$exe_bytes" 'BEGIN { if (b != "") printf "%.2f", b / 1048576 }')"
# Zero allocations: met when both counters were read and are 0.
no_allocs() {
  if [ -z "$cpu_allocs" ] || [ -z "$clock_allocs" ]; then echo "not measured"; return; fi
  awk -v a="$cpu_allocs" -v b="$clock_allocs" 'BEGIN { print (a + 0 == 0 && b + 0 == 0 ? "met" : "NOT met") }'
}
echo
echo "| figure | toolbar1 | against | ratio | goal | |"
echo "|---|---|---|---|---|---|"
echo "| start-up to the filled window (median of $runs) | $(fmt_ms "$app_ms") | floor with 66 children $(fmt_ms "$children_ms") | $(ratio "$app_ms" "$children_ms") | at most 1.15 x | $(at_most "$app_ms" "$children_ms" 1.15) |"
echo "| | | taskmgr $(fmt_ms "$peer_ms") | $(ratio "$app_ms" "$peer_ms") | below taskmgr | $(below "$app_ms" "$peer_ms") |"
echo "| | | bare floor $(fmt_ms "$floor_ms") | $(ratio "$app_ms" "$floor_ms") | | |"
echo "| idle CPU over $idle s (user + system) | $(fmt_cpu "$app_cpu") | taskmgr $(fmt_cpu "$peer_cpu") | $(ratio "$app_cpu" "$peer_cpu") | at most 0.1 x | $(at_most "$app_cpu" "$peer_cpu" 0.1) |"
echo "| | | bare floor $(fmt_cpu "$floor_cpu") | $(ratio "$app_cpu" "$floor_cpu") | | |"
echo "| private memory (written pages) | $(fmt_mb "$app_mem") | bare floor $(fmt_mb "$floor_mem") | $(ratio "$app_mem" "$floor_mem") | at most 1.4 x | $(at_most "$app_mem" "$floor_mem" 1.4) |"
echo "| | | taskmgr $(fmt_mb "$peer_mem") | $(ratio "$app_mem" "$peer_mem") | | |"
echo "| size of toolbar1.exe | ${exe_mb:-n/a} MB | | | at most 1.5 MB | $(awk -v m="$exe_mb" 'BEGIN { if (m == "") print "not measured"; else print (m + 0 <= 1.5 ? "met" : "NOT met") }') |"
echo "| heap allocations per tick after the first (CPU slot, clock) | ${cpu_allocs:-n/a}, ${clock_allocs:-n/a} | | | 0 | $(no_allocs) |"
echo
echo "wineserver over the same $idle s (shared by all three and Wine's services, not in the" \
  "figures): $(fmt_cpu "$server_cpu")"
echo "$(date -u '+%Y-%m-%d %H:%M UTC'); Wine $(wine --version 2>/dev/null), $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
[ -n "$floor_ms" ] && [ -n "$app_ms" ] && [ -n "$floor_cpu" ] && [ -n "$app_mem" ] || exit 1
exit 0
