# Sourced by the run and test scripts: Wine in a prefix of our own, on a display.
#
#   source scripts/wine-env.sh
#   vsi_wine_start      # prefix, display, warm wineserver
#   ...wine ...
#   vsi_wine_stop       # wineserver -k, then the Xvfb we started (if any)
#
# VSI_WINEPREFIX overrides the prefix (default build/wineprefix); VSI_XVFB=1 starts a
# private Xvfb even when DISPLAY is set. Calls nest: only the outermost start/stop pair
# does the work, so a script that sources this can be run alone or from another one.

VSI_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${VSI_WINEPREFIX:-$VSI_ROOT/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

vsi_log() { echo "[wine-env] $*" >&2; }

# A display number nobody uses: neither a socket nor a lock file.
vsi_free_display() {
  local n
  for n in $(seq 91 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      echo "$n"
      return 0
    fi
  done
  return 1
}

vsi_xvfb_start() {
  local n tries
  for tries in 1 2 3; do
    n="$(vsi_free_display)" || { vsi_log "no free X display"; return 1; }
    # Large enough for the main window at 200 % (1776 x 420 with its frame).
    Xvfb ":$n" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
    VSI_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n" VSI_XVFB_PID
        vsi_log "Xvfb on :$n (pid $VSI_XVFB_PID)"
        return 0
      fi
      kill -0 "$VSI_XVFB_PID" 2>/dev/null || break  # lost the race for that number
      sleep 0.1
    done
    kill "$VSI_XVFB_PID" 2>/dev/null || true
    wait "$VSI_XVFB_PID" 2>/dev/null || true
    VSI_XVFB_PID=
  done
  vsi_log "Xvfb did not start"
  return 1
}

# First use of the prefix: create it, then stop Wine waiting 2 s for an absent window
# manager each time a window closes.
vsi_wine_prefix() {
  [ -f "$WINEPREFIX/.vsi-ready" ] && return 0
  vsi_log "creating Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  timeout 60 wineserver -w || true
  touch "$WINEPREFIX/.vsi-ready"
}

vsi_wine_start() {
  VSI_WINE_DEPTH=$(( ${VSI_WINE_DEPTH:-0} + 1 ))
  export VSI_WINE_DEPTH
  [ "$VSI_WINE_DEPTH" -gt 1 ] && return 0
  VSI_XVFB_PID=
  if [ -z "${DISPLAY:-}" ] || [ "${VSI_XVFB:-0}" = 1 ]; then
    vsi_xvfb_start || return 1
  fi
  # The screen's size as the X server has it ("1920 x 1200"), for the tests that check the
  # size the program reads through Wine against a source of their own.
  VSI_SCREEN="$(xdpyinfo -display "$DISPLAY" 2>/dev/null | awk '/dimensions:/ { split($2, d, "x"); print d[1] " x " d[2]; exit }')"
  export VSI_SCREEN
  vsi_wine_prefix
  # Keep one server alive and start Wine's service processes now, with their output
  # away from us: otherwise they inherit the pipes of whoever runs the next exe (CTest),
  # which then waits for them.
  if ! wineserver -p 2>/dev/null; then
    timeout 30 wineserver -w || true
    wineserver -p 2>/dev/null || true
  fi
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  # ipconfig starts the network service host on first use; started now, it holds none of
  # the pipes of the test that would otherwise start it.
  wine ipconfig </dev/null >/dev/null 2>&1 || true
}

vsi_wine_stop() {
  [ "${VSI_WINE_DEPTH:-0}" -gt 0 ] || return 0
  VSI_WINE_DEPTH=$(( VSI_WINE_DEPTH - 1 ))
  [ "$VSI_WINE_DEPTH" -gt 0 ] && return 0
  wineserver -k 2>/dev/null || true
  timeout 20 wineserver -w 2>/dev/null || true
  if [ -n "${VSI_XVFB_PID:-}" ]; then
    kill "$VSI_XVFB_PID" 2>/dev/null || true
    wait "$VSI_XVFB_PID" 2>/dev/null || true
    VSI_XVFB_PID=
    unset DISPLAY
  fi
}

# Converts the CRLF of Windows console output to LF.
vsi_crlf() { tr -d '\r'; }
