#!/usr/bin/env bash
# Soak run: toolbar1.exe built with accelerated timers (VSI_FAST_TIMERS: every timer 20
# times faster, so 30 minutes hold 10 hours of CPU and clock ticks) runs under Wine on a
# private Xvfb while its eight flag buttons are clicked in turn, evenly spread over the run.
# Every 30 s the driver's `counters` and /proc sample the program's process:
#
#   handles   kernel handles: GetProcessHandleCount, or where Wine answers 0, the process's
#             entries in the system handle list
#   gdi       GDI objects: GetGuiResources, or where Wine answers 0, the live entries of the
#             process's GDI handle table
#   user      USER objects: GetGuiResources, or where Wine answers 0, the process's windows
#             (menus, icons and cursors cannot be counted from outside under Wine)
#   private   Private_Dirty + Swap of /proc/<pid>/smaps_rollup, in kB (Wine answers 0 for
#             another process's PrivateUsage)
#
# After the warm-up, each counter must stay flat: the median of the last third of the
# samples may exceed the first sample after the warm-up by at most a small slack (handles
# and GDI 8, USER 4, private memory 5 % or 1 MB, whichever is more). Every switch is
# checked: the language-state label must name the language clicked.
#
#   scripts/soak.sh [DURATION_SECONDS]   # default 1800; SWITCHES (default 1000) in all
#
# VSI_SOAK_SWITCHES, VSI_SOAK_SAMPLE (seconds between samples, default 30), VSI_SOAK_WARMUP
# (default 120 s), VSI_SOAK_DPI (the display scale the window starts at, default 96: Wine
# reads HKCU\Control Panel\Desktop "LogPixels" when a process starts).
# Builds toolbar1 and e2e_driver with VSI_FAST_TIMERS=ON in build/soak-fast (VSI_SOAK_DIR
# another folder; VSI_SOAK_NO_BUILD=1 uses what is there). Prefix: VSI_WINEPREFIX (default
# build/wineprefix-soak). Samples go to build/soak.csv (VSI_SOAK_CSV). Exits 0 when
# everything stayed flat and every switch took, 1 otherwise.
set -uo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
duration="${1:-${VSI_SOAK_DURATION:-1800}}"
switches="${VSI_SOAK_SWITCHES:-1000}"
sample_every="${VSI_SOAK_SAMPLE:-30}"
warmup="${VSI_SOAK_WARMUP:-120}"
bin="${VSI_SOAK_DIR:-$root/build/soak-fast}"
csv="${VSI_SOAK_CSV:-$root/build/soak.csv}"
for v in duration switches sample_every warmup; do
  case "${!v}" in '' | *[!0-9]*) echo "$v must be a whole number" >&2; exit 2 ;; esac
done
[ "$duration" -gt 0 ] && [ "$sample_every" -gt 0 ] || { echo "durations must be above 0" >&2; exit 2; }

if [ "${VSI_SOAK_NO_BUILD:-0}" != 1 ]; then
  cmake -S "$root" -B "$bin" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVSI_FAST_TIMERS=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null || exit 1
  cmake --build "$bin" --target toolbar1 e2e_driver -j2 >&2 || exit 1
fi
app="$bin/toolbar1.exe"
driver="$bin/e2e_driver.exe"
for f in "$app" "$driver" "$bin/toolbar1.mld"; do
  [ -f "$f" ] || { echo "missing $f" >&2; exit 1; }
done

export VSI_WINEPREFIX="${VSI_WINEPREFIX:-$root/build/wineprefix-soak}"
export VSI_XVFB="${VSI_XVFB:-1}"
source scripts/wine-env.sh
vsi_wine_start || { echo "Wine did not start" >&2; exit 1; }
trap 'vsi_wine_stop' EXIT
wine reg delete 'HKCU\Software\Velmora' /f </dev/null >/dev/null 2>&1
soak_dpi="${VSI_SOAK_DPI:-96}"
case "$soak_dpi" in '' | *[!0-9]*) echo "VSI_SOAK_DPI must be a number" >&2; exit 2 ;; esac
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$soak_dpi" /f </dev/null >/dev/null 2>&1 ||
  { echo "could not set the display scale" >&2; exit 1; }
echo "display scale: $soak_dpi dpi" >&2

# The main window in any language: its caption changes with each switch.
window=(--class VsiForm --caption-prefix "  Velmora ")
drive() { wine "$driver" "${window[@]}" "$@" </dev/null 2>/dev/null | vsi_crlf; }

(cd "$bin" && exec wine ./toolbar1.exe </dev/null >/dev/null 2>&1) &
drive --timeout 60000 wait-window >/dev/null || { echo "toolbar1 did not show its window" >&2; exit 1; }
sleep 5  # the show-time fill and the network capture

# The Linux process: by its command line and the prefix in its environment.
pid=""
for p in /proc/[0-9]*; do
  first="$(tr '\0' '\n' 2>/dev/null <"$p/cmdline" | sed -n 1p)"
  [ "${first##*[/\\]}" == toolbar1.exe ] || continue
  [ "$(tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -cxF "WINEPREFIX=$WINEPREFIX")" -gt 0 ] || continue
  pid="${p#/proc/}"
done
[ -n "$pid" ] || { echo "no Linux process for toolbar1.exe" >&2; exit 1; }

# The flag buttons and the hidden language-state label, by their English texts (dump:
# child depth class id x y w h visible text).
languages=(English French German Italian Spanish Swedish Portuguese Dutch)
dump="$(drive dump)"
declare -A flag
for name in "${languages[@]}"; do
  flag[$name]="$(awk -F'\t' -v n="$name" '$1 == "child" && $2 == 1 && $9 == 1 && $10 == n { print $4; exit }' <<<"$dump")"
  [ -n "${flag[$name]}" ] || { echo "no flag button \"$name\"" >&2; exit 1; }
done
state_id="$(awk -F'\t' '$1 == "child" && $2 == 1 && $9 == 0 && $10 == "English" { print $4; exit }' <<<"$dump")"
[ -n "$state_id" ] || { echo "no language-state label" >&2; exit 1; }

# sample ELAPSED SWITCHES: one CSV line "seconds,switches,handles,gdi,user,private_kb".
sample() {
  local out handles gdi user private
  out="$(drive counters)" || return 1
  field() { awk -F'\t' -v k="$1" '$1 == k { print $2 }' <<<"$out"; }
  handles="$(field handles)"; [ "${handles:-0}" -gt 0 ] || handles="$(field handle_list)"
  gdi="$(field gdi)"; [ "${gdi:-0}" -gt 0 ] || gdi="$(field gdi_table)"
  user="$(field user)"; [ "${user:-0}" -gt 0 ] || user="$(field windows)"
  private="$(awk '$1 == "Private_Dirty:" || $1 == "Swap:" { s += $2 } END { print s + 0 }' "/proc/$pid/smaps_rollup" 2>/dev/null)"
  echo "$1,$2,$handles,$gdi,$user,${private:-}"
}

mkdir -p "$(dirname "$csv")"
echo "seconds,switches,handles,gdi,user,private_kb" >"$csv"
echo "soak: $duration s, $switches switches, a sample every $sample_every s, warm-up $warmup s" >&2
printf '%8s %8s %8s %6s %6s %11s\n' seconds switches handles gdi user private_kb
start=$SECONDS
done_switches=0
failed_switches=0
next_sample=0
alive=1
while :; do
  now=$((SECONDS - start))
  if [ "$now" -ge "$next_sample" ]; then
    if ! kill -0 "$pid" 2>/dev/null; then alive=0; echo "toolbar1 has ended" >&2; break; fi
    line="$(sample "$now" "$done_switches")" || { echo "no sample at $now s" >&2; line=""; }
    if [ -n "$line" ]; then
      echo "$line" >>"$csv"
      IFS=, read -r a b c d e f <<<"$line"
      printf '%8s %8s %8s %6s %6s %11s\n' "$a" "$b" "$c" "$d" "$e" "$f"
    fi
    next_sample=$((next_sample + sample_every))
    [ "$now" -ge "$duration" ] && [ "$done_switches" -ge "$switches" ] && break
  fi
  if [ "$done_switches" -lt "$switches" ] &&
     [ $((now * switches)) -ge $((done_switches * duration)) ]; then
    name="${languages[$((done_switches % ${#languages[@]}))]}"
    drive click-id "${flag[$name]}" >/dev/null
    [ "$(drive text-id "$state_id")" == "$name" ] || failed_switches=$((failed_switches + 1))
    done_switches=$((done_switches + 1))
    continue
  fi
  # Past the end with every switch done: one last sample now.
  if [ "$now" -ge "$duration" ] && [ "$done_switches" -ge "$switches" ]; then
    next_sample=$now
    continue
  fi
  sleep 0.2
done
elapsed=$((SECONDS - start))
[ "$alive" = 1 ] && drive close >/dev/null

# ---------------------------------------------------------------- verdict
# After the warm-up: the first sample against the median of the last third.
verdict="$(awk -F, -v w="$warmup" '
  NR == 1 { next }
  $1 >= w { n++; for (k = 3; k <= 6; k++) v[n, k] = $k }
  function median(k, from, to,   i, j, m, t, a) {
    m = 0
    for (i = from; i <= to; i++) a[++m] = v[i, k]
    for (i = 2; i <= m; i++) for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
    return m % 2 ? a[(m + 1) / 2] : (a[m / 2] + a[m / 2 + 1]) / 2
  }
  END {
    if (n < 3) { print "too few samples after the warm-up (" n ")"; exit 1 }
    split("handles gdi user private_kb", name, " ")
    from = n - int(n / 3) + 1
    bad = 0
    for (k = 3; k <= 6; k++) {
      first = v[1, k]; last = median(k, from, n)
      slack = k == 6 ? (first * 0.05 > 1024 ? first * 0.05 : 1024) : (k == 5 ? 4 : 8)
      ok = last <= first + slack
      if (!ok) bad = 1
      printf "%-10s first after warm-up %10s, median of the last third %10s: %s\n", name[k - 2], first, last, ok ? "flat" : "GROWS"
    }
    exit bad
  }' "$csv")"
flat=$?
echo
echo "$verdict"
echo "switches: $done_switches done, $failed_switches did not take; $elapsed s; samples in $csv"
[ "$alive" = 1 ] || { echo "RESULT: toolbar1 ended during the soak"; exit 1; }
if [ "$flat" -ne 0 ] || [ "$failed_switches" -ne 0 ] || [ "$done_switches" -lt "$switches" ]; then
  echo "RESULT: NOT flat"
  exit 1
fi
echo "RESULT: flat"
exit 0
