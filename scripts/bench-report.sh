#!/usr/bin/env bash
# Time of the report under Wine, whole process: "toolbar1.exe /report json /nonetwork" (the
# facts, with the CPU usage sampled over half a second, but without running ipconfig) and
# "toolbar1.exe /report json" (with the network text) against a bare process of the windows
# subsystem that starts and ends, the floor. Each run is timed inside Wine by e2e_driver
# (process creation to its end), with a warm wineserver, the three kinds alternating.
#
#   scripts/bench-report.sh [RUNS]      # default 10 runs of each
#
# Builds toolbar1, bare_process and e2e_driver with the mingw preset (VSI_MINGW_DIR picks
# another build folder; VSI_BENCH_NO_BUILD=1 uses what is there). Prints every run, the
# medians and their ratios to the floor. A measurement, not a test: exits 0 whatever the
# ratios, 1 only when it could not measure.
set -uo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
runs="${1:-10}"
bin="${VSI_MINGW_DIR:-$root/build/mingw}"

source scripts/mingw-build.sh
vsi_mingw_build "$bin" toolbar1 bare_process e2e_driver || exit 1
app="$bin/toolbar1.exe"
floor="$bin/bare_process.exe"
driver="$bin/e2e_driver.exe"
for f in "$app" "$floor" "$driver"; do
  [ -f "$f" ] || { echo "missing $f" >&2; exit 1; }
done

export VSI_WINEPREFIX="${VSI_WINEPREFIX:-$root/build/wineprefix-bench}"
source scripts/wine-env.sh
vsi_wine_start || { echo "Wine did not start" >&2; exit 1; }
trap 'vsi_wine_stop' EXIT
# toolbar1.mld beside the program, as it ships.
[ -f "$bin/toolbar1.mld" ] || { echo "missing $bin/toolbar1.mld" >&2; exit 1; }

# timed EXE ARGS...: milliseconds of one run, or nothing when it failed.
timed() {
  local exe="$1"
  shift
  wine "$driver" run-timed "$(winepath -w "$exe")" "$@" </dev/null 2>/dev/null | vsi_crlf |
    awk '$1 == "elapsed_ms" { ms = $2 } $1 == "exit" && $2 == "0" { ok = 1 } END { if (ok) print ms }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) exit 1; print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One of each first, not counted: the first start of an exe pays for reading it.
timed "$floor" >/dev/null
timed "$app" /report json /nonetwork >/dev/null
timed "$app" /report json >/dev/null

floor_ms=() bare_ms=() full_ms=()
for k in $(seq 1 "$runs"); do
  f="$(timed "$floor")"
  b="$(timed "$app" /report json /nonetwork)"
  n="$(timed "$app" /report json)"
  echo "run $k: floor ${f:-failed} ms, report without network ${b:-failed} ms, with network ${n:-failed} ms"
  [ -n "$f" ] && floor_ms+=("$f")
  [ -n "$b" ] && bare_ms+=("$b")
  [ -n "$n" ] && full_ms+=("$n")
done
fm="$(printf '%s\n' "${floor_ms[@]}" | median)" || { echo "no floor run succeeded" >&2; exit 1; }
bm="$(printf '%s\n' "${bare_ms[@]}" | median)" || { echo "no report run succeeded" >&2; exit 1; }
nm="$(printf '%s\n' "${full_ms[@]}" | median)" || { echo "no report run with the network succeeded" >&2; exit 1; }
echo "median of $runs: floor $fm ms; report without network $bm ms ($(awk -v a="$bm" -v b="$fm" 'BEGIN { printf "%.2f", a / b }') x the floor); with network $nm ms ($(awk -v a="$nm" -v b="$fm" 'BEGIN { printf "%.2f", a / b }') x the floor)"
