#!/usr/bin/env bash
# The window on scaled displays and its remembered place. Wine 8 takes the display scale of a
# new process from HKCU\Control Panel\Desktop "LogPixels" (a REG_DWORD, read at its start), so
# the program is started again at 96, 120, 144 and 192 dpi: the client area is 885 x 190 at
# the scale (within a pixel), the children lie in their parents as they do at 96 (and what a
# screen reader reads, MSAA, in the client area), the flags
# are the 96-dpi pictures enlarged smoothly (near a smooth enlargement of the 96-dpi flag, far
# from a blocky one, with the blended colours a blocky copy lacks), and the resolution slot
# reads the Xvfb screen's real size. The 144-dpi
# window is saved as screenshot-144dpi.png beside the others. Then the place: closed at one,
# started again there; a stored place off every screen opens wholly on it. Sourced by
# suite.sh; leaves 96 dpi and English stored.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin

section "display scales and the remembered place"
desktop='HKCU\Control Panel\Desktop'
screen_size="$(xdpyinfo -display "$DISPLAY" 2>/dev/null | awk '/dimensions:/ { split($2, d, "x"); print d[1] " x " d[2]; exit }')"
[ -n "$screen_size" ] || screen_size="1920 x 1200"
error_boxes() { wine "$driver" windows </dev/null 2>>"$out/driver.err" | vsi_crlf | awk -F'\t' '$2 == "1" && $3 == "#32770"' | wc -l; }
set_dpi() { wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1; }
scaled() { echo $((($1 * $2 + 48) / 96)); }

# outside_parents: "text" of every visible child not inside its parent (the client area for
# the top level), from the last dump; the dump lists parents before their children.
outside_parents() {
  awk -F'\t' -v cw="$cw" -v ch="$ch" '
    $1 == "child" {
      d = $2; x = $5; y = $6; w = $7; h = $8
      px[d] = x; py[d] = y; pw[d] = w; ph[d] = h
      if (d == 1) { l = 0; t = 0; r = cw; b = ch } else { l = px[d-1]; t = py[d-1]; r = l + pw[d-1]; b = t + ph[d-1] }
      if ($9 == "1" && (x < l || y < t || x + w > r || y + h > b)) print $10
    }' "$out/dump.txt" | sort
}

# outside_items: "role name" of every visible item a screen reader reads (MSAA) that does not
# lie in the client area.
outside_items() {
  drive items | awk -F'\t' -v cw="$cw" -v ch="$ch" '
    $1 == "item" && $8 == "1" && ($4 < 0 || $5 < 0 || $4 + $6 > cw || $5 + $7 > ch) { print $3, $9 }' | sort
}

# flag_crop DPI FILE: the English flag as the screen shows it, from the last dump and screenshot.
flag_crop() {
  local line bx by bw bh fw fh
  line="$(awk -F'\t' '$1 == "child" && $9 == "1" && $10 == "English" { print $5, $6, $7, $8; exit }' "$out/dump.txt")"
  read -r bx by bw bh <<<"$line"
  fw="$(scaled 36 "$1")"
  fh="$(scaled 22 "$1")"
  convert "$out/root.png" -crop "${fw}x${fh}+$((cx + bx + (bw - fw) / 2))+$((cy + by + (bh - fh) / 2))" +repage "$2"
}

outside96=""
for dpi in 96 120 144 192; do
  set_dpi "$dpi"
  if ! start_app; then
    fail "$dpi dpi: the main window appears"
    stop_app
    continue
  fi
  slot=""
  for i in $(seq 1 50); do
    slot="$(drive text "Video Resolution")"
    [ -n "$slot" ] && [ "$slot" != " " ] && break
    sleep 0.2
  done
  sleep 0.5
  dump_window
  read_geometry
  want_w="$(scaled 885 "$dpi")"
  want_h="$(scaled 190 "$dpi")"
  if [ "${cw:-0}" -ge $((want_w - 1)) ] && [ "${cw:-0}" -le $((want_w + 1)) ] &&
     [ "${ch:-0}" -ge $((want_h - 1)) ] && [ "${ch:-0}" -le $((want_h + 1)) ]; then
    pass "$dpi dpi: the client area is $want_w x $want_h"
  else
    fail "$dpi dpi: the client area is $want_w x $want_h" "got ${cw:-?} x ${ch:-?}"
  fi
  outside="$(outside_parents | tr '\n' '|')"
  items_outside="$(outside_items | tr '\n' '|')"
  if [ "$dpi" == 96 ]; then
    outside96="$outside"
    items_outside96="$items_outside"
    echo "# outside their parents at 96 dpi, by design: ${outside96:-none}"
    echo "# read by MSAA outside the client area at 96 dpi, by design: ${items_outside96:-none}"
    # Only child windows, and what lies outside its parent by design (the "-" button): every
    # label, slot, link and flag is inside.
    expect "96 dpi: every item a reader reads lies in the client area, but for what lies outside by design" \
      "$(tr '|' '\n' <<<"$items_outside" | awk -v design="|$outside96" '
           $1 != "window" && $0 != "" && index(design, "|" substr($0, length($1) + 2) "|") == 0' | tr '\n' '|')" ""
  else
    expect "$dpi dpi: every child lies in its parent as at 96 dpi" "$outside" "$outside96"
    expect "$dpi dpi: every item a reader reads lies in the client area as at 96 dpi" "$items_outside" "$items_outside96"
  fi
  expect "$dpi dpi: the resolution slot reads the screen's size" "$slot" "$screen_size"
  screenshot
  flag_crop "$dpi" "$out/flag-$dpi.png"
  if [ "$dpi" == 96 ]; then
    cp "$out/flag-96.png" "$out/flag-reference.png"
  else
    # The 96-dpi picture, enlarged smoothly: far nearer a smooth enlargement of the 96-dpi
    # flag than a blocky one (each pixel repeated), which is what a plain stretch would give.
    size="$(identify -format '%wx%h' "$out/flag-$dpi.png")"
    smooth="$(convert "$out/flag-reference.png" -filter Triangle -resize "$size!" png:- |
      compare -metric RMSE "$out/flag-$dpi.png" - null: 2>&1 | sed -n 's/.*(\([0-9.]*\)).*/\1/p')"
    blocky="$(convert "$out/flag-reference.png" -filter Point -resize "$size!" png:- |
      compare -metric RMSE "$out/flag-$dpi.png" - null: 2>&1 | sed -n 's/.*(\([0-9.]*\)).*/\1/p')"
    if awk -v s="${smooth:-1}" -v b="${blocky:-0}" 'BEGIN { exit !(s < 0.09 && s < b / 1.5) }'; then
      pass "$dpi dpi: the flag is the 96-dpi picture, smoothly enlarged (RMSE $smooth; blocky would be $blocky)"
    else
      fail "$dpi dpi: the flag is the 96-dpi picture, smoothly enlarged" "RMSE ${smooth:-none} to smooth, ${blocky:-none} to blocky"
    fi
    # Resampled smoothly: blended edges add colours; pixels copied in blocks would not.
    c96="$(convert "$out/flag-reference.png" -unique-colors txt:- | grep -c '#')"
    cs="$(convert "$out/flag-$dpi.png" -unique-colors txt:- | grep -c '#')"
    if [ "$cs" -gt $((c96 + 2)) ]; then
      pass "$dpi dpi: the flag is smooth, not blocky ($cs colours against $c96)"
    else
      fail "$dpi dpi: the flag is smooth, not blocky" "$cs colours against $c96 at 96 dpi"
    fi
  fi
  if [ "$dpi" == 144 ]; then
    read -r _ fx fy fw fh < <(grep '^frame' "$out/dump.txt")
    convert "$out/root.png" -crop "${fw}x${fh}+${fx}+${fy}" +repage "$out/screenshot-144dpi.png"
    echo "# saved $out/screenshot-144dpi.png"
  fi
  close_app "$dpi dpi"
done
set_dpi 96

# ---- the place
if start_app; then
  moved="$(drive move 300 400)"
  expect "place: the window moves" "$moved" $'moved\t300\t400'
  close_app "place: moved"
  start_app
  dump_window
  read_geometry
  expect "place: it opens where it was closed" "$fx $fy" "300 400"
  close_app "place: reopened"
else
  fail "place: the main window appears"
  stop_app
fi
layout="$(wine reg query "$settings" /v Position1 </dev/null 2>/dev/null | vsi_crlf |
  sed -n 's/.*Position1[[:space:]]*REG_SZ[[:space:]]*\([^=]*\)=.*/\1/p')"
expect_match "place: stored beside the language for this monitor layout" "$layout" '^[0-9]+x[0-9]+[-+][0-9]+[-+][0-9]+$'
wine reg add "$settings" /v Position1 /d "$layout=4000,-900" /f </dev/null >/dev/null 2>&1
if start_app; then
  dump_window
  read_geometry
  sw="${screen_size%% x *}"
  sh="${screen_size##* x }"
  if [ "${fx:-0}" -ge 0 ] && [ "${fy:-0}" -ge 0 ] && [ $((fx + fw)) -le "$sw" ] && [ $((fy + fh)) -le "$sh" ]; then
    pass "place: a place off every screen opens wholly on it ($fx, $fy)"
  else
    fail "place: a place off every screen opens wholly on it" "frame ${fx:-?} ${fy:-?} ${fw:-?} x ${fh:-?}"
  fi
  expect "place: no error box" "$(error_boxes)" "0"
  close_app "place: off screen"
else
  fail "place: the main window appears off screen"
  stop_app
fi
# The next runs open at the designed place again.
wine reg delete "$settings" /v Position1 /f </dev/null >/dev/null 2>&1
