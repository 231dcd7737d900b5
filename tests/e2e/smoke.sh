#!/usr/bin/env bash
# End-to-end smoke test: starts toolbar1.exe under Wine on a private Xvfb, reads its
# window through e2e_driver.exe, checks texts, colours, language switching and the
# stored language, and closes it. Needs the mingw build (toolbar1, e2e_driver).
# Runs alone as a quick check, or as the first part of suite.sh (which the test script
# runs). Last line: "N passed, M failed"; exit status 1 when anything failed.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin

# ---------------------------------------------------------------- first run: English
wine reg delete 'HKCU\Software\Velmora' /f </dev/null >/dev/null 2>&1
if ! start_app; then
  fail "the main window appears within 30 s"
  finish
fi
pass "the main window appears within 30 s"

# The CPU slot is written by the one-second timer as "%5.2f%%".
cpu=""
for i in $(seq 1 60); do
  cpu="$(drive text "CPU Usage")"
  [[ "$cpu" =~ ^\ *[0-9]{1,3}[.,][0-9]{2}%$ ]] && break
  sleep 0.25
done
expect_match "CPU Usage slot shows a percentage with two decimals" "$cpu" '^ *[0-9]{1,3}[.,][0-9]{2}%$'

dump_window
caption="$(awk -F'\t' '$1 == "window" { print $2 }' "$out/dump.txt")"
expect "caption" "$caption" "  Velmora System Info 1.0"
read_geometry
expect "client area is 885 x 190" "${cw:-?} x ${ch:-?}" "885 x 190"

for t in "System Information" "Date - Time" "Hard Disks Information" "Network Information" \
         "CPU Usage" "Memory Used" "Video Resolution" "Processor" "Operating System" \
         "Disk Size" "Free Space" "Volume Label" "Serial number" "File System" "Computer Name" \
         "Velmora " "-" \
         "English" "French" "German" "Italian" "Dutch" "Portuguese" "Spanish" "Swedish"; do
  check "visible control \"$t\"" has_visible_child "$t"
done
check "Label1 holds the language state \"English\" (hidden)" has_hidden_child "English"
below_client() { child_line "$1" | awk -F'\t' '$6 >= 190 { found = 1 } END { exit !found }'; }
check "BitBtn2 lies below the client area" below_client "BitBtn2"

for label in "Memory Used" "Video Resolution" "Processor" "Operating System" "Computer Name"; do
  v="$(drive text "$label")"
  expect_match "\"$label\" slot is filled at show" "$v" '[^ ]'
done
expect_match "\"Disk Size\" slot shows grouped digits" "$(drive text "Disk Size")" '^ *[0-9]{1,3}([^0-9][0-9]{3})*$'
expect_match "\"File System\" slot of drive C: is NTFS" "$(drive text "File System")" '^NTFS$'

# Read as a screen reader reads it (MSAA): every caption, slot and flag by its name, with its
# role, visible and inside the client area.
drive items >"$out/items.txt"
# msaa_row LABEL: "<label role> <slot role> <inside 0/1> <slot name>" of the visible item named
# LABEL and the item right of it on its row ("inside": both lie in the client area).
msaa_row() {
  awk -F'\t' -v t="$1" -v cw="$cw" -v ch="$ch" '
    $1 == "item" { n++; x[n] = $4; y[n] = $5; w[n] = $6; h[n] = $7; role[n] = $3; name[n] = $9
                   if ($8 == "1" && $9 == t && !l) l = n }
    function in_client(i) { return x[i] >= 0 && y[i] >= 0 && x[i] + w[i] <= cw && y[i] + h[i] <= ch }
    END {
      if (!l) exit 1
      for (i = 1; i <= n; i++)
        if (i != l && x[i] > x[l] && (y[i] - y[l]) ^ 2 <= 9 && (!s || x[i] < x[s])) s = i
      if (!s) exit 1
      print role[l] "\t" role[s] "\t" (in_client(l) && in_client(s)) "\t" name[s]
    }' "$out/items.txt"
}
for label in "CPU Usage" "Memory Used" "Video Resolution" "Processor" "Operating System" \
             "Disk Size" "Free Space" "Serial number" "File System" "Computer Name"; do
  expect_match "MSAA: caption \"$label\" and its slot are static texts in the client area, the slot named" \
    "$(msaa_row "$label")" $'^text\ttext\t1\t[^ ]'
done
# The volume label may be empty: its slot is there all the same.
expect_match "MSAA: caption \"Volume Label\" and its slot are static texts in the client area" \
  "$(msaa_row "Volume Label")" $'^text\ttext\t1\t'
for t in "System Information" "Date - Time" "Hard Disks Information" "Network Information"; do
  expect_match "MSAA: heading \"$t\" is static text in the client area" \
    "$(awk -F'\t' -v t="$t" -v cw="$cw" -v ch="$ch" '$1 == "item" && $8 == "1" && $9 == t {
         print $3, ($4 >= 0 && $5 >= 0 && $4 + $6 <= cw && $5 + $7 <= ch); exit }' "$out/items.txt")" '^text 1$'
done
for t in "${flag_order[@]}"; do
  expect_match "MSAA: the $t flag is a push button named \"$t\" in the client area" \
    "$(awk -F'\t' -v t="$t" -v cw="$cw" -v ch="$ch" '$1 == "item" && $8 == "1" && $9 == t {
         print $3, ($4 >= 0 && $5 >= 0 && $4 + $6 <= cw && $5 + $7 <= ch); exit }' "$out/items.txt")" '^button 1$'
done
expect_match "MSAA: the link is read as a link" \
  "$(awk -F'\t' '$1 == "item" && $9 == "www.velmora.com" { print $3; exit }' "$out/items.txt")" '^link$'

combo="$(awk -F'\t' '$1 == "child" && tolower($3) ~ /combo/ { print $10; exit }' "$out/dump.txt")"
expect_match "drive selector shows the current drive c:" "$combo" '^c: '
drive combo-items >"$out/drives.txt"
check "drive selector lists drive z:" grep -q $'^item\t[0-9]*\tz:' "$out/drives.txt"

memo="$(awk -F'\t' '$1 == "child" && $5 == 600 && $6 == 24 && $7 == 281 { print $10; exit }' "$out/dump.txt")"
expect_match "network box holds the ipconfig output" "$memo" '.{40,}'

# Pixels: background, the Swedish flag, the lime CPU text.
screenshot
convert "$out/root.png" -crop "${fw}x${fh}+${fx}+${fy}" +repage "$root/build/e2e-screenshot.png"
expect "window background is light blue (128,128,255) in column 1" "$(pixel 230 140)" "#8080FF"
expect "window background is light blue (128,128,255) in column 3" "$(pixel 560 150)" "#8080FF"
flag="$(colours_in 840 162 40 25)"
check "Swedish flag button shows blue and yellow" \
  bash -c 'grep -qx "#006AA7" <<<"$1" && grep -qx "#FECC00" <<<"$1"' _ "$flag"
check "CPU slot text is lime" bash -c 'grep -qx "#00FF00" <<<"$1"' _ "$(colours_in 120 26 105 13)"

# The upgrade window: the glyph button right of the caption bar; OK hides it again.
drive click-at 851 11 >/dev/null
upgrade="$(wine "$driver" --caption Velmora --timeout 5000 wait-window </dev/null 2>/dev/null | vsi_crlf)"
expect "upgrade button shows the upgrade window" "$upgrade" $'found\tVelmora'
if [ -z "$upgrade" ]; then
  fail "OK hides the upgrade window" "it never showed"
else
  wine "$driver" --caption Velmora click OK </dev/null >/dev/null 2>&1
  sleep 0.3
  if wine "$driver" --caption Velmora --timeout 300 wait-window </dev/null >/dev/null 2>&1; then
    fail "OK hides the upgrade window"
  else
    pass "OK hides the upgrade window"
  fi
fi

# Language: French, stored at close; the flag pressed as a screen reader presses it.
check "MSAA: the French flag's default action is done" press_item French
expect "French flag sets the French caption" "$(poll_caption "  Velmora Information du Système 1.0")" \
  "  Velmora Information du Système 1.0"
dump_window
check "Label1 holds \"French\"" has_hidden_child "French"
check "the dictionary translates the window (\"System Information\" -> \"Informations système\")" \
  has_visible_child "Informations système"
close_app "first run"
expect "closing stores Language1 = French" "$(stored_language)" "French"

# ---------------------------------------------------------------- second run: restored
if ! start_app; then
  fail "the main window appears again"
  finish
fi
pass "the main window appears again"
expect "the stored French is restored at show" "$(poll_caption "  Velmora Information du Système 1.0")" \
  "  Velmora Information du Système 1.0"
click_flag English
expect "English flag sets the English caption" "$(poll_caption "  Velmora System Info 1.0")" "  Velmora System Info 1.0"
drive click "-" >/dev/null
sleep 0.3
# Minimised either the window itself, or (as the application minimises) the application
# window "Velmora System Info 1.0" while the main window is hidden.
main_state="$(drive --hidden state)"
app_state="$(wine "$driver" --caption "Velmora System Info 1.0" --hidden state </dev/null 2>/dev/null | vsi_crlf)"
main_shown="$(drive --timeout 0 wait-window >/dev/null && echo yes || echo no)"
if [ "$main_state" == minimized ] || { [ "$main_shown" == no ] && [ "$app_state" == minimized ]; }; then
  pass "the \"-\" button minimises the window"
else
  fail "the \"-\" button minimises the window" "main $main_state, shown $main_shown; application $app_state"
fi
close_app "second run"
expect "closing stores Language1 = English" "$(stored_language)" "English"

# Run alone, this is the whole test; sourced by suite.sh, the suite goes on.
[ "${BASH_SOURCE[0]}" == "$0" ] && finish
