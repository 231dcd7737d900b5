#!/usr/bin/env bash
# Builds toolbar1.exe and starts it under Wine.
#
# With a display (DISPLAY set) the window opens there and the script returns when you
# close it. Without one it runs on a private Xvfb, saves build/screenshot.png once the
# window has filled in, and closes the program again.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

bash scripts/setup-deps.sh

cmake --preset mingw >/dev/null
targets=(toolbar1 e2e_driver)
# Whatever target puts the dictionary beside the exe, if the build has one.
while read -r t; do targets+=("$t"); done < <(
  cmake --build build/mingw --target help | sed -n 's/^\([A-Za-z0-9_.-]*\): .*/\1/p' | grep -iE '^(mld|dictionary|toolbar1_mld|toolbar1-mld)' || true)
cmake --build build/mingw --target "${targets[@]}"

exe="$root/build/mingw/toolbar1.exe"
driver="$root/build/mingw/e2e_driver.exe"
[ -f "$root/build/mingw/toolbar1.mld" ] || echo "run: note: no toolbar1.mld beside the exe; the window stays untranslated" >&2

source scripts/wine-env.sh
trap vsi_wine_stop EXIT

if [ -n "${DISPLAY:-}" ] && [ "${VSI_XVFB:-0}" != 1 ]; then
  vsi_wine_start
  echo "run: starting toolbar1.exe on $DISPLAY; close its window to finish"
  (cd "$WINEPREFIX/drive_c" && wine "$exe" </dev/null)
  exit 0
fi

vsi_wine_start
shot="${VSI_SCREENSHOT:-$root/build/screenshot.png}"
(cd "$WINEPREFIX/drive_c" && exec wine "$exe" </dev/null >/dev/null 2>&1) &
app=$!

drive() { wine "$driver" --caption-prefix "  Velmora " "$@" </dev/null 2>/dev/null | vsi_crlf; }

if ! drive --timeout 30000 wait-window >/dev/null; then
  echo "run: the window did not appear" >&2
  kill "$app" 2>/dev/null || true
  exit 1
fi
# Let the show-time fill and the first CPU samples arrive before the picture.
sleep "${VSI_SHOT_DELAY:-3}"
read -r _ x y w h < <(drive dump | grep "^frame") || true
import -display "$DISPLAY" -window root "$shot"
if [ -n "${w:-}" ] && [ "$w" -gt 0 ]; then
  convert "$shot" -crop "${w}x${h}+${x}+${y}" +repage "$shot"
fi
echo "run: screenshot saved to $shot"
echo "run: window caption: $(drive caption)"
drive close >/dev/null || true
wait "$app" 2>/dev/null || true
echo "run: toolbar1.exe closed"
