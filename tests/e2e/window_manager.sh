#!/usr/bin/env bash
# The windows under a window manager, as on a desktop: the other checks run on a bare Xvfb,
# where nothing minimises a group of windows together or keeps a window's least size.
# Here Wine hands the windows to openbox (the prefix's X11 "Managed" set to Y for the run):
# minimising the upgrade window leaves the main window on screen, and the upgrade window
# cannot be made smaller than its designed size. Sourced by suite.sh; leaves the prefix
# unmanaged and openbox stopped.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin

section "the windows under a window manager"
if ! command -v openbox >/dev/null || ! command -v xdotool >/dev/null; then
  skip "the windows under a window manager" "openbox or xdotool is not installed (scripts/setup-deps.sh installs them)"
  return 0 2>/dev/null || finish
fi

x11_driver='HKCU\Software\Wine\X11 Driver'
wine reg add "$x11_driver" /v Managed /d Y /f </dev/null >/dev/null 2>&1
openbox >"$out/openbox.log" 2>&1 &
wm=$!
# Up when it has claimed the screen (it sets its check window on the root).
for i in $(seq 1 50); do
  xprop -display "$DISPLAY" -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

upgrade() { wine "$driver" --caption Velmora "$@" </dev/null 2>>"$out/driver.err" | vsi_crlf; }
# map_state TITLE: the X map state of the top-level window with exactly that title.
map_state() {
  local id
  id="$(xdotool search --name "^$1\$" 2>/dev/null | head -1)"
  [ -n "$id" ] && xwininfo -display "$DISPLAY" -id "$id" | awk '/Map State:/ { print $3 }'
}

if ! start_app; then
  fail "the main window appears under the window manager"
else
  drive click-at 851 11 >/dev/null   # the upgrade button
  if ! upgrade --timeout 10000 wait-window >/dev/null; then
    fail "the upgrade button opens the upgrade window under the window manager"
  else
    up="$(xdotool search --name '^Velmora$' | head -1)"
    # Dragged smaller than designed, the window manager stops at the least size.
    xdotool windowsize --sync "$up" 200 150 2>/dev/null || xdotool windowsize "$up" 200 150
    sleep 0.5
    read -r _ _ _ fw fh < <(upgrade dump | grep '^frame') || true
    expect "the upgrade window cannot be made smaller than 598 x 472" "$fw x $fh" "598 x 472"

    xdotool windowminimize --sync "$up"
    expect "the window manager minimises the upgrade window" "$(map_state Velmora)" "IsUnMapped"
    expect "the main window stays on screen" "$(map_state "  Velmora System Info 1.0")" "IsViewable"
    expect "and the program still calls it normal" "$(drive --hidden state)" "normal"
    drive click-at 851 11 >/dev/null
    sleep 0.5
    expect "the upgrade button brings the minimised window back" "$(map_state Velmora)" "IsViewable"
  fi
  close_app "under the window manager"
fi

kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
wine reg add "$x11_driver" /v Managed /d N /f </dev/null >/dev/null 2>&1
