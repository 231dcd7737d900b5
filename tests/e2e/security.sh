#!/usr/bin/env bash
# End-to-end security checks of toolbar1.exe under Wine (after the suite in the test script):
#   1. it imports at start only libraries the system keeps in its own folder (KnownDLLs);
#   2. a stand-in ipconfig.exe and stand-in libraries planted beside a copy of the program
#      and in its working folder are never started or loaded, while the network box fills
#      with the real "ipconfig /all";
#   3. one run that switches the language and closes writes nothing but its settings value:
#      the registry (HKCU, HKLM) and the files under the prefix's drive_c are compared before
#      and after, against what Wine changes anyway around a bare window's run.
# Needs the mingw build (toolbar1, e2e_driver, vsi_planted, vsi_planted_lib, floor_window).
# Last line: "N passed, M failed"; exit status 1 when anything failed.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
started=$SECONDS

planted_exe="$bin/vsi_planted.exe"
planted_lib="$bin/vsi_planted_lib.dll"
floor="$bin/floor_window.exe"
for f in "$planted_exe" "$planted_lib" "$floor"; do
  [ -f "$f" ] || { fail "build output $(basename "$f") exists"; finish; }
done
work="$out/security"
rm -rf "$work"
mkdir -p "$work"

# ---------------------------------------------------------------- libraries imported at start
section "libraries imported at start"
# Windows 10's KnownDLLs: always taken from the system folder. Any other library imported by
# name would be looked for in the program's folder first, before WinMain can say otherwise.
known="advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32
       msctf msvcrt normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32
       shlwapi user32 wldap32 ws2_32"
objdump="$(command -v x86_64-w64-mingw32-objdump || true)"
if [ -z "$objdump" ]; then
  # Not a pass, and not a skip that a summary hides: without the tool nothing was checked.
  fail "every library imported at start is a known system library" "no MinGW objdump to read the import table"
else
  imports="$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sed 's/\.dll$//' | sort -u)"
  unknown=""
  for d in $imports; do
    [[ " $(echo $known) " == *" $d "* ]] || unknown+="$d "
  done
  expect_match "toolbar1.exe imports kernel32 (the import table was read)" "$imports" 'kernel32'
  expect "every library imported at start is a known system library" "$unknown" ""
fi

# ---------------------------------------------------------------- planted programs and libraries
section "planted ipconfig.exe and libraries"
app_dir="$work/app"
cwd_dir="$work/cwd"
mkdir -p "$app_dir" "$cwd_dir"
cp "$exe" "$bin/toolbar1.mld" "$app_dir/"
# The libraries the program uses beyond the known ones (delay-loaded) and those it loads by
# name itself or through them (uxtheme by the common controls, winspool.drv for printers,
# winmm by the common controls, oleacc when a screen reader first asks for the window). Not version.dll: Wine's own advapi32 imports it while the
# process starts, before the program's first instruction, where nothing of ours can choose
# the folder (on Windows advapi32 is a known library and imports no version.dll).
planted_libs="comctl32.dll mpr.dll wsock32.dll uxtheme.dll winspool.drv winmm.dll oleacc.dll"
for d in "$app_dir" "$cwd_dir"; do
  cp "$planted_exe" "$d/ipconfig.exe"
  for l in $planted_libs; do cp "$planted_lib" "$d/$l"; done
done
markers() { find "$app_dir" "$cwd_dir" -iname '*.ran' -printf '%P ' | sort; }
# Wine prefers its own built-in libraries to a file of the same name in the program's folder;
# asked to take native files first for these names, it searches as Windows does, so a library
# taken from the wrong folder really is loaded there.
native_first="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}comctl32,mpr,wsock32,uxtheme,winspool.drv,winmm,oleacc=n,b"

# The stand-in itself, started in the program's folder, shows that these checks can fail: it
# leaves its marker, and the mpr.dll it imports is the planted one beside it.
(cd "$cwd_dir" && WINEDLLOVERRIDES="$native_first" timeout 30 wine "$app_dir/ipconfig.exe" </dev/null >"$work/control.log" 2>&1)
control="$(find "$app_dir" -iname '*.ran' -printf '%f\n' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')"
expect "control: the stand-in run in the program's folder leaves its marker and loads that folder's mpr.dll" \
  "$control" "ipconfig.exe.ran mpr.dll.ran "
find "$app_dir" "$cwd_dir" -iname '*.ran' -delete

(cd "$cwd_dir" && WINEDLLOVERRIDES="$native_first" exec wine "$app_dir/toolbar1.exe" </dev/null >"$work/app.log" 2>&1) &
app=$!
if drive --timeout 30000 wait-window >/dev/null; then
  pass "planted: the copy of the program shows its window"
  # Memo2 (600, 24, 281 wide) holds the real command's output once the capture has ended.
  memo=""
  for i in $(seq 1 100); do
    drive dump >"$out/dump.txt"
    memo="$(awk -F'\t' '$1 == "child" && $5 == 600 && $6 == 24 && $7 == 281 { print $10; exit }' "$out/dump.txt")"
    [[ "$memo" =~ [Hh]ost[[:space:]]?[Nn]ame ]] && break
    sleep 0.2
  done
  expect_match "planted: the network box holds the system's ipconfig output" "$memo" '[Hh]ost ?[Nn]ame'
  # A screen reader's first request: the program loads oleacc then, from the system folder.
  expect_match "planted: the window is read as a screen reader reads it" "$(drive items | head -n 1)" $'^item\t1\t'
  if [[ "$memo" == *"PLANTED PROGRAM RAN"* ]]; then
    fail "planted: the stand-in's text is not in the network box"
  else
    pass "planted: the stand-in's text is not in the network box"
  fi
  close_app "planted"
else
  fail "planted: the copy of the program shows its window" "$(tail -n 3 "$work/app.log" | tr '\n' ' ')"
  stop_app
fi
expect "planted: no stand-in was started or loaded" "$(markers)" ""

# ---------------------------------------------------------------- what one run writes
section "registry and files written by one run"
settings_key='HKEY_CURRENT_USER\Software\Velmora\Zeruzorazo1\Settings'
# A .reg export as one line per value, "[key]<TAB>name=data", and one per key, "[key]";
# data split over several lines is joined.
flatten_reg() {
  iconv -f UTF-16LE -t UTF-8 "$1" | tr -d '\r' | sed '1s/^\xEF\xBB\xBF//' | awk '
    /^\[/ { key = $0; print key; next }
    /^$/ || /^Windows Registry Editor/ || /^REGEDIT/ { next }
    { line = $0
      while (line ~ /\\$/ && (getline more) > 0) { sub(/\\$/, "", line); sub(/^[ \t]+/, "", more); line = line more }
      print key "\t" line }'
}
# snapshot NAME: both hives and every file of drive_c (path, modification time, size).
snapshot() {
  local hive
  : >"$work/$1.reg"
  for hive in HKCU HKLM; do
    # An export fails now and then on a loaded machine without a word; it gets three tries,
    # and what Wine said is kept.
    local try
    for try in 1 2 3; do
      rm -f "$work/$1-$hive.reg"
      wine reg export "$hive" "$work/$1-$hive.reg" /y </dev/null >/dev/null 2>>"$work/reg-export.err" &&
        [ -s "$work/$1-$hive.reg" ] && break
      echo "# export of $hive for $1 failed (try $try)" >>"$work/reg-export.err"
      sleep 1
    done
    if [ -s "$work/$1-$hive.reg" ]; then
      flatten_reg "$work/$1-$hive.reg" >>"$work/$1.reg"
    else
      echo "EXPORT FAILED $hive" >>"$work/$1.reg"
    fi
  done
  LC_ALL=C sort -o "$work/$1.reg" "$work/$1.reg"
  (cd "$WINEPREFIX/drive_c" && find . -printf '%p\t%T@\t%s\n') | LC_ALL=C sort >"$work/$1.files"
}
# changed A B KIND: what differs between two snapshots, one identity a line: a registry key
# or "key<TAB>value name", or a file path; added, removed and changed entries alike.
changed() {
  if [ "$3" == reg ]; then
    LC_ALL=C comm -3 "$work/$1.reg" "$work/$2.reg" | sed 's/^\t//' | sed 's/^\(\[[^]]*\]\t\("\([^"\\]\|\\.\)*"\|@\)\)=.*/\1/'
  else
    LC_ALL=C comm -3 "$work/$1.files" "$work/$2.files" | sed 's/^\t//' | cut -f1
  fi | LC_ALL=C sort -u
}

# A bare window first, to learn what Wine itself changes around any run: started, waited
# for, closed by the driver, with "ipconfig /all" run once like the program does. Started
# and shut down once before the first snapshot, so that what happens only on Wine's first
# start of a window is not counted.
run_floor() {
  (cd "$WINEPREFIX/drive_c" && exec wine "$floor" </dev/null >/dev/null 2>&1) &
  local pid=$!
  wine "$driver" --caption "  Velmora Floor" --timeout 30000 wait-window </dev/null >/dev/null 2>>"$out/driver.err"
  (cd "$WINEPREFIX/drive_c" && wine ipconfig /all </dev/null >/dev/null 2>&1)
  local r
  r="$(wine "$driver" --caption "  Velmora Floor" --hidden --timeout 15000 close </dev/null 2>>"$out/driver.err" | vsi_crlf)"
  wait "$pid" 2>/dev/null
  [ "$r" == $'exit\t0' ]
}
wine reg add 'HKCU\Software\Velmora\Zeruzorazo1\Settings' /v Language1 /d English /f </dev/null >/dev/null 2>&1
check "floor: a bare window runs and closes (warm-up)" run_floor
snapshot before
check "floor: a bare window runs and closes" run_floor
snapshot floor

# The program: shown and filled, German chosen with its flag, closed (it stores "German").
if start_app; then
  pass "writes: the main window appears"
  memo=""
  for i in $(seq 1 100); do
    drive dump >"$out/dump.txt"
    memo="$(awk -F'\t' '$1 == "child" && $5 == 600 && $6 == 24 && $7 == 281 { print $10; exit }' "$out/dump.txt")"
    [ -n "$memo" ] && break
    sleep 0.2
  done
  expect_match "writes: the network box is filled" "$memo" '.'
  click_flag German
  expect "writes: the German flag switches the caption" "$(poll_caption "  Velmora Systeminformationen 1.0")" \
    "  Velmora Systeminformationen 1.0"
  close_app "writes"
else
  fail "writes: the main window appears"
  stop_app
fi
snapshot after
expect "writes: the stored language is the one chosen" "$(stored_language)" "German"

# What Wine changes around the bare window's run is taken out; the floor run's own changes
# are listed in floor-*.txt for a look.
changed before floor reg >"$work/floor-reg.txt"
changed before floor files >"$work/floor-files.txt"
# Wine's display driver writes its adapters' keys under a new GUID whenever it sets a
# display up again, so they differ from any earlier run and are left out by name.
wine_display_keys='\\Control\\(Video|Class\\\{4d36e968-e325-11ce-bfc1-08002be10318\})\\|\\Hardware Profiles\\'
changed floor after reg | grep -vxF -f "$work/floor-reg.txt" | grep -viE "$wine_display_keys" >"$work/program-reg.txt"
changed floor after files | grep -vxF -f "$work/floor-files.txt" >"$work/program-files.txt"
# The window's place is stored too; an earlier run of this prefix may have left the same one.
expect "writes: the only registry changes are the settings values (language, and place)" \
  "$(grep -vxF "[$settings_key]	\"Position1\"" "$work/program-reg.txt" | tr '\n' '|')" "[$settings_key]	\"Language1\"|"
expect "writes: no file under drive_c changes" "$(tr '\n' '|' <"$work/program-files.txt")" ""
if grep -q "EXPORT FAILED" "$work/before.reg" "$work/floor.reg" "$work/after.reg"; then
  fail "writes: the registry exports succeeded"
  sed 's/^/# /' "$work/reg-export.err"
fi

echo "# security checks took $((SECONDS - started)) s"
finish
