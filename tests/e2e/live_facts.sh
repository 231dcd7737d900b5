#!/usr/bin/env bash
# The facts that follow the machine while the window stays open: another process takes a few
# gigabytes and the "Memory Used" slot rises within two seconds (Wine's memory load follows
# /proc/meminfo). Sourced by suite.sh; runs alone too. F5 is checked with real keys in
# window_input.sh.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin

section "live facts: the memory load follows another process's allocation"
if ! command -v python3 >/dev/null; then
  skip "the memory slot follows an allocation" "python3 is not installed"
  return 0 2>/dev/null || finish
fi
if ! start_app; then
  fail "the main window appears for the live facts"
  return 0 2>/dev/null || finish
fi
poll_caption "  Velmora System Info 1.0" >/dev/null

memory_percent() { drive text "Memory Used" | tr -dc '0-9'; }
# A quarter of what is available, at most 4 GiB: plenty to move the load, never a squeeze.
avail_kb="$(awk '$1 == "MemAvailable:" { print $2 }' /proc/meminfo)"
total_kb="$(awk '$1 == "MemTotal:" { print $2 }' /proc/meminfo)"
take_kb=$((avail_kb / 4))
[ "$take_kb" -gt $((4 << 20)) ] && take_kb=$((4 << 20))
rise=$((take_kb * 100 / total_kb / 2))  # half the share the allocation must show

before="$(memory_percent)"
fifo="$out/allocated.fifo"
rm -f "$fifo"
mkfifo "$fifo"
# Every page written, so the system counts it; held until we are done.
python3 -c '
import sys, time
n = int(sys.argv[1]) * 1024
b = bytearray(n)
b[::4096] = b"\x01" * len(range(0, n, 4096))
print("ready", flush=True)
time.sleep(30)
' "$take_kb" >"$fifo" &
allocator=$!
read -r -t 60 ready <"$fifo"
after="$before"
if [ "${ready:-}" == "ready" ]; then
  # Polled for two seconds from the moment the memory is taken.
  for i in $(seq 1 8); do
    sleep 0.25
    after="$(memory_percent)"
    [ -n "$after" ] && [ -n "$before" ] && [ "$after" -ge $((before + rise)) ] && break
  done
fi
kill "$allocator" 2>/dev/null
wait "$allocator" 2>/dev/null
rm -f "$fifo"
check "\"Memory Used\" rises within 2 s of another process taking $((take_kb >> 10)) MiB ($before % -> $after %, at least +$rise)" \
  test -n "$before" -a -n "$after" -a "${after:-0}" -ge $((${before:-0} + rise))

# And falls back once it is given back.
for i in $(seq 1 12); do
  sleep 0.25
  back="$(memory_percent)"
  [ -n "$back" ] && [ "$back" -le $((before + rise / 2)) ] && break
done
check "\"Memory Used\" falls back when the memory is freed ($after % -> $back %)" \
  test -n "$back" -a "${back:-999}" -le $((${before:-0} + rise / 2))
close_app "after the memory checks"

# Run alone, this is the whole test; sourced by suite.sh, the suite goes on.
[ "${BASH_SOURCE[0]}" == "$0" ] && finish
