#!/usr/bin/env bash
# Start-up time under Wine: from process start to the main window shown with every slot
# filled at show (all but the CPU value, filled by the first timer tick, and the network
# box) and painted, against a bare Win32 window of the same size as the floor, and against
# that window with 66 bare child windows painting a line of text each (as many as the main
# window has controls that are windows: what those cost Wine whoever makes them).
#
#   scripts/bench-startup.sh [RUNS]      # default 10 runs of each, alternating
#
# Builds toolbar1, floor_window, floor_children and e2e_driver with the mingw preset (VSI_MINGW_DIR picks
# another build folder; VSI_BENCH_NO_BUILD=1 uses what is there; VSI_TOOLBAR1 another
# toolbar1.exe). Prints every run, the medians and their ratio. A measurement, not a test:
# exits 0 whatever the ratio, 1 only when it could not measure.
set -uo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
runs="${1:-10}"
bin="${VSI_MINGW_DIR:-$root/build/mingw}"

source scripts/mingw-build.sh
targets=(e2e_driver floor_window floor_children)
[ -z "${VSI_TOOLBAR1:-}" ] && targets+=(toolbar1)
vsi_mingw_build "$bin" "${targets[@]}" || exit 1
app="${VSI_TOOLBAR1:-$bin/toolbar1.exe}"
floor="$bin/floor_window.exe"
children="$bin/floor_children.exe"
driver="$bin/e2e_driver.exe"
for f in "$app" "$floor" "$children" "$driver"; do
  [ -f "$f" ] || { echo "missing $f" >&2; exit 1; }
done

# A prefix of our own, so the stored language (English labels) and nobody's session
# disturb the runs.
export VSI_WINEPREFIX="${VSI_WINEPREFIX:-$root/build/wineprefix-bench}"
source scripts/wine-env.sh
vsi_wine_start || { echo "Wine did not start" >&2; exit 1; }
trap 'vsi_wine_stop' EXIT
wine reg delete 'HKCU\Software\Velmora' /f </dev/null >/dev/null 2>&1

# The slots filled at show, by the labels left of them.
slots=("Memory Used" "Video Resolution" "Processor" "Operating System" "Disk Size"
       "Free Space" "Volume Label" "Serial number" "File System" "Computer Name")
# A slot is filled once it no longer holds the blank it was created with (a drive without
# a label fills "Volume Label" with an empty text).

# measure floor|children|app: prints the milliseconds of one start to the filled window, then
# those to the window first seen; nothing when it failed.
measure() {
  local out
  if [ "$1" == floor ] || [ "$1" == children ]; then
    local exe="$floor"
    [ "$1" == children ] && exe="$children"
    out="$(wine "$driver" launch-until-filled "$(winepath -w "$exe")" "  Velmora Floor" 30000 \
             </dev/null 2>/dev/null | vsi_crlf)"
  else
    out="$(wine "$driver" launch-until-filled "$(winepath -w "$app")" "  Velmora System" 30000 \
             "${slots[@]}" </dev/null 2>/dev/null | vsi_crlf)"
  fi
  awk '$1 == "window_ms" { w = $2 } $1 == "elapsed_ms" { print $2, w }' <<<"$out"
}
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Warm-up: the first start of each loads the DLLs into the page cache.
measure floor >/dev/null
measure children >/dev/null
measure app >/dev/null

floor_times=()
children_times=()
app_times=()
printf '%-4s %10s %14s %12s\n' run "floor ms" "66 children ms" "toolbar1 ms"
for i in $(seq 1 "$runs"); do
  read -r f _ < <(measure floor)
  read -r c _ < <(measure children)
  read -r a aw < <(measure app)
  printf '%-4s %10s %14s %12s %s\n' "$i" "${f:-fail}" "${c:-fail}" "${a:-fail}" "${aw:+(window seen at $aw)}"
  [ -n "$f" ] && floor_times+=("$f")
  [ -n "$c" ] && children_times+=("$c")
  [ -n "$a" ] && app_times+=("$a")
done
if [ "${#floor_times[@]}" -eq 0 ] || [ "${#app_times[@]}" -eq 0 ]; then
  echo "no measurement succeeded" >&2
  exit 1
fi
fm="$(printf '%s\n' "${floor_times[@]}" | median)"
am="$(printf '%s\n' "${app_times[@]}" | median)"
ratio="$(awk -v a="$am" -v f="$fm" 'BEGIN { printf "%.2f", a / f }')"
echo "start-up to filled window (Wine, median of ${#app_times[@]}/${#floor_times[@]}):" \
  "floor $fm ms, toolbar1 $am ms, ratio $ratio"
if [ "${#children_times[@]}" -gt 0 ]; then
  cm="$(printf '%s\n' "${children_times[@]}" | median)"
  echo "floor with 66 child windows $cm ms ($(awk -v c="$cm" -v f="$fm" 'BEGIN { printf "%.2f", c / f }') x the floor);" \
    "toolbar1 $(awk -v a="$am" -v c="$cm" 'BEGIN { printf "%.2f", a / c }') x that"
fi
exit 0
