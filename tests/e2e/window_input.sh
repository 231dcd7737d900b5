#!/usr/bin/env bash
# The window used with a real mouse and keyboard (xdotool on the Xvfb display), as a new user
# tries it: the minimise button every time the window shows, the keyboard's Tab, Shift+Tab
# and Alt+F4, text typed into the network box across language switches and replaced by F5's
# fresh capture, the window menu in
# the chosen language, and the upgrade window's frame, maximise, minimise, OK picture and
# Tab. Sourced by suite.sh after its own runs (English is stored); leaves English stored.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin

section "the window under real mouse and keyboard input"
if ! command -v xdotool >/dev/null; then
  skip "real mouse and keyboard input" "xdotool is not installed (scripts/setup-deps.sh installs it)"
  return 0 2>/dev/null || finish
fi

# real_click X Y: a real left click at a client point of the window whose client area
# starts at (cx, cy) on the screen (read_geometry, read_upgrade).
real_click() {
  xdotool mousemove --sync $((cx + $1)) $((cy + $2)) click 1
  sleep 0.4
}
# real_key KEY...: real key presses, to whatever window has the keyboard.
real_key() {
  xdotool key --delay 60 "$@"
  sleep 0.4
}
# main_focus, upgrade_focus: "class x y" of the control with the keyboard focus.
main_focus() { drive focus | awk -F'\t' '$1 == "focus" { print tolower($2) " " $4 " " $5 }'; }
main_state() { drive --hidden state; }
upgrade() { wine "$driver" --caption Velmora "$@" </dev/null 2>>"$out/driver.err" | vsi_crlf; }
upgrade_focus() { upgrade focus | awk -F'\t' '$1 == "focus" { print tolower($2) " " $4 " " $5 }'; }
# poll COMMAND... EXPECTED: runs the command until it prints EXPECTED (3 s at most); prints
# the last output.
poll() {
  local want="${*: -1}" got i
  for i in $(seq 1 15); do
    got="$("${@:1:$#-1}")"
    [ "$got" == "$want" ] && break
    sleep 0.2
  done
  printf '%s' "$got"
}
# read_upgrade: the upgrade window's dump into $out/upgrade.txt; its client origin and size
# into cx, cy, cw, ch.
read_upgrade() {
  upgrade dump >"$out/upgrade.txt"
  read -r _ cx cy cw ch < <(grep '^client' "$out/upgrade.txt") || true
  read -r _ fx fy fw fh < <(grep '^frame' "$out/upgrade.txt") || true
}
upgrade_child() { awk -F'\t' -v c="$1" '$1 == "child" && tolower($3) == c { print $5 " " $6 " " $7 " " $8; exit }' "$out/upgrade.txt"; }
# nc_click DRIVER_FUNCTION CODE: a real click on the frame where the hit test answers CODE.
nc_click() {
  local x y
  read -r _ x y < <("$1" nc-point "$2") || return 1
  xdotool mousemove --sync "$x" "$y" click 1
  sleep 0.6
}

if ! start_app; then
  fail "the main window appears for the input runs"
  return 0 2>/dev/null || finish
fi
poll_caption "  Velmora System Info 1.0" >/dev/null
dump_window
read_geometry

# ---- the minimise button, every time the window shows
real_click 875 8
expect "\"-\" minimises the window" "$(poll main_state minimized)" "minimized"
drive --hidden taskbar-restore >/dev/null
expect "the taskbar button brings it back" "$(poll main_state normal)" "normal"
real_click 875 8
expect "\"-\" minimises it again after the restore" "$(poll main_state minimized)" "minimized"
drive --hidden taskbar-restore >/dev/null
poll main_state normal >/dev/null

# ---- Tab and Shift+Tab in the stored order
# Focus places (client x y): the calendar, the drive selector, the network box; nothing out
# of sight (BitBtn2 lies below the window's edge).
real_click 300 110  # a day of the calendar
at_calendar="$(main_focus)"
check "a click on the calendar gives it the keyboard ($at_calendar)" test -n "$at_calendar"
tab_round=()
for k in 1 2 3; do
  real_key Tab
  tab_round+=("$(main_focus)")
done
expect "Tab: drive selector, network box, calendar" "$(printf '%s;' "${tab_round[@]}")" \
  "combobox 408 28;edit 600 24;$at_calendar;"
back_round=()
for k in 1 2 3; do
  real_key shift+Tab
  back_round+=("$(main_focus)")
done
expect "Shift+Tab goes back the same way" "$(printf '%s;' "${back_round[@]}")" \
  "edit 600 24;combobox 408 28;$at_calendar;"
real_key Tab
real_key Tab
selection="$(drive focus | awk -F'\t' '$1 == "selection" { print $2 " " $3 }')"
check "tabbing into the network box selects none of its text ($selection)" \
  awk -v s="$selection" 'BEGIN { split(s, a, " "); exit !(s != "" && a[1] == a[2]) }'

# ---- what the user types into the network box survives a language switch
real_click 700 60
real_key ctrl+End
xdotool type --delay 40 " my note 42"
sleep 0.4
click_real_flag() { real_click $((flag_x[$1] + 20)) 174; }
click_real_flag French
expect "a real click on the French flag switches" "$(poll_caption "  Velmora Information du Système 1.0")" \
  "  Velmora Information du Système 1.0"
click_real_flag English
poll_caption "  Velmora System Info 1.0" >/dev/null
dump_window
check "the typed note is still in the network box after French and English" \
  grep -q $'^child\t.*\t600\t24\t281\t.*my note 42' "$out/dump.txt"

# ---- Ctrl+C in the network box with nothing selected copies all the facts
real_click 700 60
real_key ctrl+c
expect "Ctrl+C in the network box without a selection copies the facts" \
  "$(wine "$driver" clipboard </dev/null 2>>"$out/driver.err" | tr -d '\r' | sed -n 1p)" "Velmora System Info 1.0"

# ---- the language by keyboard alone: Shift+F10, the arrow keys and Enter
real_click 700 60
real_key shift+F10
real_key Down Down Return
expect "Shift+F10, Down, Down, Enter: the menu's second language, French" \
  "$(poll_caption "  Velmora Information du Système 1.0")" "  Velmora Information du Système 1.0"
expect "the language chosen from the menu is stored" "$(stored_language)" "French"
real_key Menu
real_key Down Return
expect "the menu key, Down, Enter: English again" "$(poll_caption "  Velmora System Info 1.0")" \
  "  Velmora System Info 1.0"

# ---- Escape in the network box does what it does elsewhere: nothing
real_click 700 60
real_key Escape
sleep 0.5
expect "Escape in the network box leaves the window open" "$(drive caption)" "  Velmora System Info 1.0"
real_click 300 10
real_key Escape
expect "Escape elsewhere leaves it open too" "$(drive caption)" "  Velmora System Info 1.0"

# ---- scrolling the network box never brings in its neighbours' pixels
# The box runs a pixel under its caption strip. Scrolled down a line at a time and back to
# the top, it must look as it does once it has painted all of itself anew.
real_click 700 60
real_key ctrl+Home
for k in $(seq 1 14); do xdotool key Down; done
sleep 0.3
real_key ctrl+Home
# Right of the caret and left of the scroll bar: the caret's blink is no difference.
box_pixels() { convert "$1" -crop "240x128+$((cx + 612))+$((cy + 27))" +repage -depth 8 rgb:- | md5sum; }
screenshot "$out/network-scrolled.png"
drive repaint-at 700 60 >/dev/null
sleep 0.4
screenshot "$out/network-repainted.png"
expect "the network box scrolled back to its top shows only its own text" \
  "$(box_pixels "$out/network-scrolled.png")" "$(box_pixels "$out/network-repainted.png")"

# ---- F5 captures the network text again: the fresh ipconfig output replaces the note
network_text() { drive dump | awk -F'\t' '$1 == "child" && $5 == 600 && $6 == 24 && $7 == 281 { print $10; exit }'; }
real_click 700 60
real_key F5
for i in $(seq 1 100); do
  text="$(network_text)"
  [[ "$text" != *"my note 42"* && ${#text} -ge 40 ]] && break
  sleep 0.2
done
check "F5 captures the network text again: the typed note is replaced by ipconfig's output" \
  test "${#text}" -ge 40 -a "${text/my note 42/}" == "$text"

# ---- the window menu speaks the chosen language
# Opened with Alt+Space; an item is chosen by its underlined letter. French "Réd&uire"
# minimises; English has no item on "u".
click_real_flag French
poll_caption "  Velmora Information du Système 1.0" >/dev/null
real_click 200 10
real_key alt+space
real_key u
expect "French window menu: Alt+Space, u (Réd&uire) minimises" "$(poll main_state minimized)" "minimized"
drive --hidden taskbar-restore >/dev/null
poll main_state normal >/dev/null
if drive window-menu >"$out/window-menu.txt" 2>/dev/null; then
  check "the window menu reads \"&Déplacer\" and \"&Fermer\\tAlt+F4\"" \
    bash -c 'grep -q "&Déplacer" "$1" && grep -q "&Fermer\\\\tAlt+F4" "$1"' _ "$out/window-menu.txt"
fi
click_real_flag English
poll_caption "  Velmora System Info 1.0" >/dev/null
real_click 200 10
real_key alt+space
real_key u
expect "English window menu: u chooses nothing" "$(main_state)" "normal"
real_key Escape
real_key alt+space
real_key n
expect "English window menu: Alt+Space, n (Mi&nimize) minimises" "$(poll main_state minimized)" "minimized"
drive --hidden taskbar-restore >/dev/null
poll main_state normal >/dev/null

# ---- the upgrade window
real_click 851 11
if ! upgrade --timeout 10000 wait-window >/dev/null; then
  fail "the upgrade button opens the upgrade window"
else
  read_upgrade
  expect "the upgrade window's outer size is 598 x 472" "$fw x $fh" "598 x 472"
  read -r _ style < <(upgrade style | grep '^style')
  check "it has a sizeable frame with the minimise and maximise boxes (style $style)" \
    test $(( 0x$style & 0x00070000 )) -eq $(( 0x00070000 ))
  # The OK button shows its picture beside its caption: the green check left of "OK".
  read -r ox oy ow oh <<<"$(upgrade_child button)"
  screenshot "$out/upgrade.png"
  colours="$(colours_in "$ox" "$oy" $((ow / 2)) "$oh" "$out/upgrade.png" | paste -sd ' ')"
  check "the OK button shows its picture (colours $colours)" \
    bash -c 'grep -q "#006E00" <<<"$1" && grep -q "#28C828" <<<"$1"' _ "$colours"

  # Tab goes from the shown text to OK and back.
  real_click 200 150
  real_key Tab
  expect "upgrade window: Tab goes from the text to OK" "$(upgrade_focus)" "button 496 392"
  real_key Tab
  expect "upgrade window: and back to the text" "$(upgrade_focus)" "edit 8 8"

  # Maximised, it keeps its parts together in its middle.
  nc_click upgrade 9
  expect "the maximise box maximises it" "$(poll upgrade state maximized)" "maximized"
  read_upgrade
  read -r mx my mw mh <<<"$(awk -F'\t' '$1 == "child" && tolower($3) == "edit" && $9 == 1 { print $5 " " $6 " " $7 " " $8; exit }' "$out/upgrade.txt")"
  read -r ox oy ow oh <<<"$(upgrade_child button)"
  # Designed for a 590 x 445 inside: as far from each edge as from the opposite one.
  expect "maximised: the text lies in the middle of the window (${cw}x${ch})" "$mx,$my ${mw}x${mh}" \
    "$((8 + (cw - 590) / 2)),$((8 + (ch - 445) / 2)) 569x369"

  check "maximised: OK keeps its place beside the text ($ox,$oy)" test $((ox - mx)) -eq 488 -a $((oy - my)) -eq 384
  screenshot "$out/upgrade-maximised.png"
  nc_click upgrade 9
  read_upgrade
  expect "the same box restores its size" "$(upgrade state) $fw x $fh" "normal 598 x 472"

  # Minimised, it goes alone; the main window stays.
  nc_click upgrade 8
  expect "the upgrade window's minimise box minimises it" "$(upgrade --hidden state)" "minimized"
  expect "the main window stays as it was" "$(main_state)" "normal"
  dump_window
  read_geometry
  real_click 851 11
  expect "the upgrade button brings it back" "$(poll upgrade --hidden state normal)" "normal"
  read_upgrade
  read -r ox oy ow oh <<<"$(upgrade_child button)"
  real_click $((ox + ow / 2)) $((oy + oh / 2))
  check "OK closes it" bash -c '! wine "$1" --caption Velmora caption </dev/null >/dev/null 2>&1' _ "$driver"
fi

# ---- Alt+F4 right after a drive is picked
dump_window
read_geometry
real_click 500 37   # opens the drive list
real_key Down
real_key Return
expect "a drive picked from the list: the drive selector has the keyboard" "$(main_focus | cut -d' ' -f1)" "combobox"
real_key alt+F4
if ! app_gone 100; then
  fail "Alt+F4 from the drive selector closes the window"
  close_app "after Alt+F4"
else
  wait "$app"
  expect "Alt+F4 from the drive selector closes the window and ends the program with 0" "$?" "0"
  app=
fi
expect "closing with Alt+F4 stores Language1 = English" "$(stored_language)" "English"
