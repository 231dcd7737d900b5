# Sourced by the end-to-end scripts (smoke.sh, suite.sh): counting checks, Wine and the
# program's lifetime, the driver, the window dump and screenshots.
#
#   source tests/e2e/lib.sh
#   e2e_begin      # build outputs present, Wine and a private Xvfb started; once per run
#   ...checks...
#   finish         # last line "N passed, M failed[, K skipped]"; exit 1 when anything failed
#
# VSI_MINGW_DIR picks the build folder (default build/mingw), VSI_WINEPREFIX the prefix,
# VSI_E2E_OUT the folder of logs, dumps and screenshots (default build/e2e).
[ -n "${E2E_LIB_LOADED:-}" ] && return 0
E2E_LIB_LOADED=1

set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$root"
bin="${VSI_MINGW_DIR:-$root/build/mingw}"
exe="$bin/toolbar1.exe"
driver="$bin/e2e_driver.exe"
out="${VSI_E2E_OUT:-$root/build/e2e}"

passed=0
failed=0
skipped=0
pass() { passed=$((passed + 1)); echo "ok   - $1"; }
fail() { failed=$((failed + 1)); echo "FAIL - $1${2:+ ($2)}"; }
# skip NAME REASON: a check this host cannot decide; counted apart, never as passed.
skip() { skipped=$((skipped + 1)); echo "skip - $1 ($2)"; }
finish() {
  echo "$passed passed, $failed failed$([ "$skipped" -gt 0 ] && echo ", $skipped skipped")"
  [ "$failed" -eq 0 ]
  exit $?
}
# section TITLE: a heading in the log, with the seconds since the run began (where the time goes).
section() { echo "# ---- $1 (at ${SECONDS} s)"; }
# check NAME COMMAND...: passes when the command succeeds.
check() {
  local name="$1"
  shift
  if "$@"; then pass "$name"; else fail "$name"; fi
}
# expect NAME ACTUAL EXPECTED
expect() {
  if [ "$2" == "$3" ]; then pass "$1"; else fail "$1" "got '$2', want '$3'"; fi
}
# expect_match NAME ACTUAL REGEX
expect_match() {
  if [[ "$2" =~ $3 ]]; then pass "$1"; else fail "$1" "got '$2', want /$3/"; fi
}

source scripts/wine-env.sh

app=
stop_app() {
  if [ -n "$app" ] && kill -0 "$app" 2>/dev/null; then kill "$app" 2>/dev/null; fi
  app=
}

# CPU load for the usage checks: busy shell loops, ended on every way out.
load_pids=()
start_cpu_load() {
  local k
  for k in $(seq 1 "$1"); do
    sh -c 'while :; do :; done' &
    load_pids+=($!)
  done
}
stop_cpu_load() {
  local p
  for p in "${load_pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${load_pids[@]}"; do wait "$p" 2>/dev/null; done
  load_pids=()
}

E2E_BEGUN=
e2e_begin() {
  [ -n "$E2E_BEGUN" ] && return 0
  E2E_BEGUN=1
  mkdir -p "$out"
  : >"$out/driver.err"
  local f
  for f in "$exe" "$driver"; do
    [ -f "$f" ] || { fail "build output $(basename "$f") exists"; finish; }
  done
  # Our own display, so the window and the pixels we check are not disturbed.
  [ "${VSI_WINE_DEPTH:-0}" -gt 0 ] || export VSI_XVFB=1
  vsi_wine_start || { fail "Wine and Xvfb start"; finish; }
  trap 'stop_cpu_load; stop_app; vsi_wine_stop' EXIT
}

main_prefix="  Velmora "
drive() { wine "$driver" --caption-prefix "$main_prefix" "$@" </dev/null 2>>"$out/driver.err" | vsi_crlf; }
settings='HKCU\Software\Velmora\Zeruzorazo1\Settings'
stored_language() {
  wine reg query "$settings" /v Language1 </dev/null 2>/dev/null | vsi_crlf |
    sed -n 's/.*Language1[[:space:]]*REG_SZ[[:space:]]*//p'
}

start_app() {
  (cd "$WINEPREFIX/drive_c" && exec wine "$exe" </dev/null >"$out/app.log" 2>&1) &
  app=$!
  drive --timeout 30000 wait-window >/dev/null
}

# close_app NAME: closes through WM_CLOSE and checks that the process ends with 0.
close_app() {
  local result
  result="$(drive --hidden --timeout 15000 close)"
  expect "$1: WM_CLOSE ends the program with exit code 0" "$result" $'exit\t0'
  if app_gone 100; then pass "$1: the Wine process is gone"; else fail "$1: the Wine process is gone"; stop_app; fi
  app=
}

# app_gone TENTHS: waits up to TENTHS tenths of a second for the program's process to end;
# succeeds when it has.
app_gone() {
  local i
  for i in $(seq 1 "$1"); do kill -0 "$app" 2>/dev/null || return 0; sleep 0.1; done
  ! kill -0 "$app" 2>/dev/null
}

# The flag buttons by place: their hints (and so their texts) follow the language.
declare -A flag_x=([English]=504 [French]=552 [German]=600 [Italian]=648 [Dutch]=696
                   [Portuguese]=744 [Spanish]=792 [Swedish]=840)
flag_order=(English French German Italian Dutch Portuguese Spanish Swedish)
# flag_name LANGUAGE: the name a screen reader reads for that flag now (its hint, in the
# window's language): the flags are the one row of eight push buttons, in this order.
flag_name() {
  local i k=0
  for i in "${!flag_order[@]}"; do [ "${flag_order[$i]}" == "$1" ] && k=$((i + 1)); done
  drive items | awk -F'\t' '$1 == "item" && $3 == "button" && $8 == "1" { print $5 "\t" $4 "\t" $9 }' |
    sort -t $'\t' -k1,1n -k2,2n |
    awk -F'\t' -v k="$k" '{ n[$1]++; if (n[$1] == k) name[$1] = $3 } END { for (y in n) if (n[y] == 8) print name[y] }'
}
# press_item NAME: the default action of the first visible item of that name (MSAA).
press_item() { drive press "$1" >/dev/null; }
# click_flag LANGUAGE: pressed as a screen reader presses it (MSAA); by a click at its place
# when the reader's way fails (smoke.sh checks that way on its own).
click_flag() {
  local name
  name="$(flag_name "$1")"
  [ -n "$name" ] && drive press "$name" >/dev/null && return 0
  echo "click_flag $1: not pressed through MSAA (name '$name'), clicked at its place" >>"$out/driver.err"
  drive click-at $((flag_x[$1] + 20)) 174 >/dev/null
}

# poll_caption EXPECTED: waits up to 5 s for the main caption; prints the last one read.
poll_caption() {
  local c i
  for i in $(seq 1 25); do
    c="$(drive caption)"
    [ "$c" == "$1" ] && break
    sleep 0.2
  done
  printf '%s' "$c"
}

# dump_window: the driver's dump of the main window into $out/dump.txt. A dump without
# controls is taken again (three times at most, 0.3 s apart); each such miss is logged with
# the top-level windows of the moment in driver.err, to tell a lost window from a lost read.
dump_window() {
  local attempt
  for attempt in 1 2 3; do
    drive dump >"$out/dump.txt"
    grep -q '^child' "$out/dump.txt" && return 0
    {
      echo "dump without controls (attempt $attempt):"
      cat "$out/dump.txt"
      wine "$driver" windows </dev/null 2>&1 | vsi_crlf
    } >>"$out/driver.err"
    sleep 0.3
  done
  return 1
}

# Fields of the dump: child depth class id x y w h visible text.
child_line() { awk -F'\t' -v t="$1" '$1 == "child" && $10 == t' "$out/dump.txt"; }
has_visible_child() { child_line "$1" | awk -F'\t' '$9 == "1" { found = 1 } END { exit !found }'; }
has_hidden_child() { child_line "$1" | awk -F'\t' '$9 == "0" { found = 1 } END { exit !found }'; }
# child_at X Y: "visible<TAB>text" of the control at this place (relative to the client area).
child_at() { awk -F'\t' -v x="$1" -v y="$2" '$1 == "child" && $5 == x && $6 == y { print $9 "\t" $10; exit }' "$out/dump.txt"; }
# Client and frame rectangles of the last dump, in screen coordinates.
read_geometry() {
  read -r _ cx cy cw ch < <(grep '^client' "$out/dump.txt") || true
  read -r _ fx fy fw fh < <(grep '^frame' "$out/dump.txt") || true
}

# screenshot [FILE]: the whole display (default $out/root.png).
screenshot() { import -display "$DISPLAY" -window root "${1:-$out/root.png}"; }
# pixel X Y: colour at a client point of the last screenshot, as #RRGGBB.
pixel() {
  convert "$out/root.png" -crop "1x1+$((cx + $1))+$((cy + $2))" +repage -depth 8 txt:- |
    sed -n 's/.*\(#[0-9A-Fa-f]\{6\}\).*/\1/p' | tr a-f A-F
}
# colours_in X Y W H [FILE]: the distinct colours of a client rectangle, one #RRGGBB a line.
colours_in() {
  convert "${5:-$out/root.png}" -crop "${3}x${4}+$((cx + $1))+$((cy + $2))" +repage -depth 8 -unique-colors txt:- |
    sed -n 's/.*\(#[0-9A-Fa-f]\{6\}\).*/\1/p' | tr a-f A-F
}
