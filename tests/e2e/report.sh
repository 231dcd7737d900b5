# Sourced by suite.sh, after its last window has closed: the report (/report, json, a file,
# /lang, mistakes) against Wine's own facts and the slots of a window started right after,
# and Copy all in the real window (Ctrl+C and the right-click menu by real input through
# xdotool, a clipboard held by another program), read back by the driver; last, the report
# beside a damaged dictionary and without a console, where it must end by itself.
section "report"

# run_report ARGS...: toolbar1.exe from drive C: with these arguments; standard output in
# $out/report.out, standard error in $out/report.err; prints the exit status.
run_report() {
  (cd "$WINEPREFIX/drive_c" && wine "$exe" "$@" </dev/null >"$out/report.out" 2>"$out/report.err.raw")
  local status=$?
  # Wine's own notes on its stderr are not the program's.
  grep -v '^wine: \|fixme:\|err:' "$out/report.err.raw" >"$out/report.err"
  echo "$status"
}
# json_get FILE EXPRESSION: a value of the report (python3), "None" for null.
json_get() { python3 -c 'import json, sys; d = json.load(open(sys.argv[1], encoding="utf-8")); print(eval(sys.argv[2]))' "$@"; }
reg_value() {
  wine reg query "$1" /v "$2" </dev/null 2>/dev/null | vsi_crlf | sed -n "s/.*$2[[:space:]]*REG_[A-Z_]*[[:space:]]*//p"
}
version_key='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
processor_key='HKLM\Hardware\Description\System\CentralProcessor\0'

expect "/report json exits 0" "$(run_report /report json)" 0
cp "$out/report.out" "$out/report.json"
if json_get "$out/report.json" 'True' >/dev/null 2>&1; then pass "/report json parses as JSON"; else fail "/report json parses as JSON" "$(head -c 300 "$out/report.json")"; fi
expect "the report's keys are the stable ones" \
  "$(json_get "$out/report.json" '",".join(d.keys())')" \
  "cpu_usage_percent,memory_load_percent,screen,processor,vendor,os,service_pack,computer_name,drives,network,generated_at,program_version"
expect "nothing on standard error" "$(cat "$out/report.err")" ""
expect "os is the registry's ProductName" "$(json_get "$out/report.json" 'd["os"]')" "$(reg_value "$version_key" ProductName)"
expect "service_pack is the registry's CSDVersion" "$(json_get "$out/report.json" 'd["service_pack"]')" "$(reg_value "$version_key" CSDVersion)"
expect "vendor is the registry's VendorIdentifier" "$(json_get "$out/report.json" 'd["vendor"]')" "$(reg_value "$processor_key" VendorIdentifier)"
expect "computer_name is the host's name" "$(json_get "$out/report.json" 'd["computer_name"].lower()')" "$(hostname | tr A-Z a-z)"
expect "program_version is the version block's" "$(json_get "$out/report.json" 'd["program_version"]')" "1.0.0.0"
expect_match "generated_at is ISO 8601" "$(json_get "$out/report.json" 'd["generated_at"]')" \
  '^20[0-9]{2}-[01][0-9]-[0-3][0-9]T[0-2][0-9]:[0-5][0-9]:[0-5][0-9][+-][0-9]{2}:[0-9]{2}$'
# Not clamped: coarse idle ticks can put an idle machine's sample a little below 0.
expect_match "cpu_usage_percent is a sample, a number within a few points of 0 to 100" \
  "$(json_get "$out/report.json" '-5 <= d["cpu_usage_percent"] <= 105 and type(d["cpu_usage_percent"]).__name__')" '^float$'
expect_match "the network text is ipconfig's" "$(json_get "$out/report.json" 'd["network"].splitlines()[0]')" '[Hh]ost ?name'
for letter in $(json_get "$out/report.json" '" ".join(x["letter"] for x in d["drives"])'); do
  fields _ label serial fs total free < <(drive volume "$letter:\\")
  expect "$letter: label, serial, file system and size are the volume's" \
    "$(json_get "$out/report.json" "'\t'.join(str(x[k]) for x in d['drives'] if x['letter'] == '$letter' for k in ('label', 'serial', 'file_system', 'size'))")" \
    "$label"$'\t'"$serial"$'\t'"$fs"$'\t'"$total"
done
expect "the report lists every fixed drive, C: among them" "$(json_get "$out/report.json" '"C" in [x["letter"] for x in d["drives"]] and all(x["type"] == "fixed" for x in d["drives"])')" "True"

# The window started right after shows the same values.
start_app
slot() { drive text "$1"; }
for i in $(seq 1 50); do [ -n "$(slot "Computer Name")" ] && [ "$(slot "Computer Name")" != " " ] && break; sleep 0.2; done
expect "the window's Operating System is the report's os" "$(slot "Operating System")" "$(json_get "$out/report.json" 'd["os"]')"
expect "the window's Video Resolution is the report's screen" "$(slot "Video Resolution")" "$(json_get "$out/report.json" 'd["screen"]')"
expect "the window's Processor is the report's processor" "$(slot "Processor")" "$(json_get "$out/report.json" 'd["processor"]')"
expect "the window's Computer Name is the report's" "$(slot "Computer Name")" "$(json_get "$out/report.json" 'd["computer_name"]')"
expect "the window's Serial number is the report's for C:" "$(slot "Serial number")" \
  "$(json_get "$out/report.json" '[x["serial"] for x in d["drives"] if x["letter"] == "C"][0]')"
expect "the window's Disk Size is the report's for C:" "$(slot "Disk Size" | tr -cd 0-9)" \
  "$(json_get "$out/report.json" '[x["size"] for x in d["drives"] if x["letter"] == "C"][0]')"
memory="$(slot "Memory Used" | tr -cd 0-9)"
if awk -v a="$memory" -v b="$(json_get "$out/report.json" 'd["memory_load_percent"]')" 'BEGIN { d = a - b; exit !(a != "" && d <= 5 && d >= -5) }'; then
  pass "the window's Memory Used is the report's, within 5 points ($memory %)"
else
  fail "the window's Memory Used is the report's" "window '$memory', report $(json_get "$out/report.json" 'd["memory_load_percent"]')"
fi

# Copy all by real keys and clicks: focus the window with a click on the first column, then Ctrl+C.
dump_window
read_geometry
clipboard() { wine "$driver" clipboard </dev/null 2>>"$out/driver.err" | tr -d '\r'; }
# The memory load and the free space follow the machine: the copy holds what the slot showed
# just before it or shows just after it.
declare -A shown_before
for caption in "Memory Used" "Free Space"; do shown_before[$caption]="$(slot "$caption")"; done
xdotool mousemove $((cx + 200)) $((cy + 140)) click 1
sleep 0.3
xdotool key ctrl+c
sleep 0.5
clipboard >"$out/clipboard.txt"
expect "Ctrl+C: the program first" "$(sed -n 1p "$out/clipboard.txt")" "Velmora System Info 1.0"
for caption in "Memory Used" "Video Resolution" "Operating System" "Disk Size" "Free Space" "Volume Label" \
               "Serial number" "File System" "Computer Name"; do
  value="$(slot "$caption")"
  if [ -n "${shown_before[$caption]:-}" ] && grep -qxF "$caption: ${shown_before[$caption]}" "$out/clipboard.txt"; then
    value="${shown_before[$caption]}"
  fi
  check "Ctrl+C: \"$caption: $value\" as the window shows it" grep -qxF "$caption:${value:+ $value}" "$out/clipboard.txt"
done
expect_match "Ctrl+C: the CPU usage as the slot shows it" "$(grep '^CPU Usage:' "$out/clipboard.txt")" '^CPU Usage: +[0-9]{1,3}\.[0-9]{2}%$'
expect "Ctrl+C: the network text last, as the box shows it" \
  "$(sed -n '/^Network Information:$/,$p' "$out/clipboard.txt" | sed 1d | head -1)" \
  "$(json_get "$out/report.json" 'd["network"].splitlines()[0]')"

# The right-click menu in French: its item, then the copy in the window's language.
click_flag French
poll_caption "${lang_caption[French]}" >/dev/null
xdotool mousemove $((cx + 60)) $((cy + 44)) click 3
sleep 0.8
screenshot "$out/copy-menu.png"
# The eight languages come first, then the separator, which the arrows pass over: the ninth
# Down is Copy all.
xdotool key --delay 40 Down Down Down Down Down Down Down Down Down Return
sleep 0.5
clipboard >"$out/clipboard-fr.txt"
expect "right-click menu: Copy all copies in French" "$(sed -n 1p "$out/clipboard-fr.txt")" "Velmora Information du Système 1.0"
check "right-click menu: French captions" grep -q "^Mémoire utilisée: " "$out/clipboard-fr.txt"

# Another program holds the clipboard: the window says so and goes on.
wine "$driver" hold-clipboard 6000 </dev/null >"$out/hold.txt" 2>>"$out/driver.err" &
holder=$!
for i in $(seq 1 50); do grep -q held "$out/hold.txt" 2>/dev/null && break; sleep 0.1; done
xdotool mousemove $((cx + 200)) $((cy + 140)) click 1
xdotool key ctrl+c
box="$(drive --timeout 5000 box)"
expect "a held clipboard: the window says so, in French" "$box" \
  $'box\tVelmora System Info 1.0\tLe presse-papiers est utilisé par un autre programme. Rien n\'a été copié.'
drive box-ok >/dev/null
wait "$holder"
expect "after the holder let go the clipboard still holds the last copy" "$(clipboard | sed -n 1p)" "Velmora Information du Système 1.0"
click_flag English
poll_caption "${lang_caption[English]}" >/dev/null
close_app "report window"

# /lang: the report and the window in another language, the stored choice untouched.
expect "/report /lang German exits 0" "$(run_report /report /lang German)" 0
expect "/report /lang German: the program's German name first" "$(head -1 "$out/report.out" | tr -d '\r')" "Velmora Systeminformationen 1.0"
check "/report /lang German: German captions" grep -q "^Belegter Speicher: " "$out/report.out"
(cd "$WINEPREFIX/drive_c" && exec wine "$exe" /lang Dutch </dev/null >"$out/app.log" 2>&1) &
app=$!
expect "/lang Dutch: the window speaks Dutch" "$(wine "$driver" --caption "${lang_caption[Dutch]}" --timeout 30000 wait-window </dev/null 2>/dev/null | vsi_crlf)" \
  "found	${lang_caption[Dutch]}"
main_prefix="${lang_caption[Dutch]}"
close_app "/lang Dutch"
main_prefix="  Velmora "
expect "/lang leaves the stored choice as it was" "$(stored_language)" "English"

# To a file: replaced as a whole, nothing on standard output, nothing left beside it.
echo "old and longer than nothing" >"$WINEPREFIX/drive_c/facts.json"
expect "/report json C:\\facts.json exits 0" "$(run_report /report json 'C:\facts.json')" 0
expect "/report FILE: nothing on standard output" "$(cat "$out/report.out")" ""
expect "/report FILE: the file is the JSON report" "$(json_get "$WINEPREFIX/drive_c/facts.json" 'd["program_version"]')" "1.0.0.0"
expect "/report FILE: no temporary file left" "$(ls "$WINEPREFIX/drive_c" | grep -c '\.tmp$')" 0
expect "/report text to a file exits 0" "$(run_report /report 'C:\facts.txt')" 0
expect "/report text to a file: the program first" "$(head -1 "$WINEPREFIX/drive_c/facts.txt" | tr -d '\r')" "Velmora System Info 1.0"
rm -f "$WINEPREFIX/drive_c/facts.json" "$WINEPREFIX/drive_c/facts.txt"
expect "/report to a folder that does not exist exits 1" "$(run_report /report 'C:\no such folder\f.txt')" 1
check "/report to a folder that does not exist says why" grep -q "Cannot write the report" "$out/report.err"

# A value of the wrong type: that fact is null, the others are there, exit 0.
vendor="$(reg_value "$processor_key" VendorIdentifier)"
wine reg add "$processor_key" /v VendorIdentifier /t REG_DWORD /d 7 /f </dev/null >/dev/null 2>&1
expect "a wrong-typed VendorIdentifier: the report exits 0" "$(run_report /report json /nonetwork)" 0
expect "a wrong-typed VendorIdentifier: vendor is null, the rest is there" \
  "$(json_get "$out/report.out" '[k for k, v in d.items() if v is None]')" "['vendor', 'network']"
wine reg add "$processor_key" /v VendorIdentifier /t REG_SZ /d "$vendor" /f </dev/null >/dev/null 2>&1
expect "VendorIdentifier restored" "$(reg_value "$processor_key" VendorIdentifier)" "$vendor"

# Usage and mistakes.
expect "/? exits 0" "$(run_report /?)" 0
check "/? prints the usage" grep -q "/report \[json\] \[FILE\]" "$out/report.out"
expect "an unknown switch exits 2" "$(run_report /bogus)" 2
check "an unknown switch: the usage on standard error" grep -q "unknown switch \"/bogus\"" "$out/report.err"
expect "an unknown switch: nothing on standard output" "$(cat "$out/report.out")" ""

# A damaged toolbar1.mld beside a copy of the program: the report says so in one line on
# standard error, goes on in English and ends by itself. A box would wait for a person until
# timeout ends the run (124).
damaged="$WINEPREFIX/drive_c/damaged"
rm -rf "$damaged" && mkdir -p "$damaged"
cp "$exe" "$damaged/toolbar1.exe"
mld_size=$(stat -c %s "$bin/toolbar1.mld")
head -c $((mld_size - 10)) "$bin/toolbar1.mld" >"$damaged/toolbar1.mld"  # cut inside the last translations
# run_damaged [timeout options] ARGS...: the copy, from its folder, ended after 10 s at most.
run_damaged() {
  (cd "$damaged" && timeout -k 2 10 wine "$damaged/toolbar1.exe" "$@" </dev/null >"$out/damaged.out" 2>"$out/damaged.err.raw")
  local status=$?
  grep -v '^wine: \|fixme:\|err:' "$out/damaged.err.raw" >"$out/damaged.err"
  echo "$status"
}
json_valid() { python3 -m json.tool "$1" >/dev/null 2>"$out/json-tool.err"; }
expect "damaged dictionary: /report json ends by itself with exit 0" "$(run_damaged /report json)" 0
check "damaged dictionary: the JSON parses (python3 -m json.tool)" json_valid "$out/damaged.out"
expect "damaged dictionary: one line on standard error" "$(wc -l <"$out/damaged.err")" 1
expect_match "damaged dictionary: the line names the file and the language" "$(cat "$out/damaged.err")" \
  'Damaged dictionary file ".*toolbar1\.mld".*the report is in English'
expect "damaged dictionary: /report /lang German ends by itself with exit 0" "$(run_damaged /report /lang German /nonetwork)" 0
expect "damaged dictionary, /lang German: the report is in English" "$(head -1 "$out/damaged.out" | tr -d '\r')" "Velmora System Info 1.0"
check "damaged dictionary, /lang German: English captions" grep -q "^Memory Used: " "$out/damaged.out"
expect_match "damaged dictionary, /lang German: the line says so" "$(cat "$out/damaged.err")" \
  '^toolbar1\.exe: German cannot be applied \(Damaged dictionary file .*\); the report is in English'
# No console and nowhere to write: standard output closed, standard error refusing writes (with
# both closed Wine does not start the program at all). Nothing can be shown, the exit status tells.
run_no_console() {
  (cd "$damaged" && timeout -k 2 10 wine "$damaged/toolbar1.exe" "$@" </dev/null >&- 2</dev/null)
  echo $?
}
expect "damaged dictionary, no console: /report json FILE ends by itself with exit 0" \
  "$(run_no_console /report json 'C:\damaged\facts.json')" 0
check "damaged dictionary, no console: the file parses (python3 -m json.tool)" json_valid "$damaged/facts.json"
expect "damaged dictionary, no console, nowhere to write: exit 1" "$(run_no_console /report json)" 1
expect "no console, a wrong command line with /report: exit 2, no box" "$(run_no_console /report /bogus)" 2
rm -rf "$damaged"
