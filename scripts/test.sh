#!/usr/bin/env bash
# Builds everything and runs every test:
#   1. native build (unit tests, benchmarks), unit tests with CTest;
#   2. MinGW-w64 build (toolbar1.exe, Windows tests, e2e driver), Windows tests under Wine;
#   3. the end-to-end suite of toolbar1.exe under Wine and Xvfb (tests/e2e/suite.sh), then
#      its security checks (tests/e2e/security.sh);
#   4. the fuzz targets (clang, sanitizers), each for a few seconds.
# Every step runs even when an earlier one failed (tests of a build that failed are
# reported as failed); the exit status is 1 if anything failed.
#
# VSI_JOBS: parallel jobs (default: number of cores). VSI_FUZZ_SECONDS: time per fuzz
# target (default 10; 0 leaves the fuzz build out).
set -uo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
jobs="${VSI_JOBS:-$(nproc)}"
fuzz_seconds="${VSI_FUZZ_SECONDS:-10}"
started=$SECONDS
mkdir -p build
rm -f build/native-ctest.log build/mingw-ctest.log build/e2e.log build/e2e-security.log

bash scripts/setup-deps.sh || { echo "test: installing the dependencies failed" >&2; exit 1; }

results=()
failed=0
# step NAME COMMAND...: runs a step and records its outcome and duration.
step() {
  local name="$1" t=$SECONDS
  shift
  echo
  echo "==== $name"
  if "$@"; then
    results+=("ok    $name ($((SECONDS - t)) s)")
    return 0
  fi
  results+=("FAIL  $name ($((SECONDS - t)) s)")
  failed=1
  return 1
}
# not_run NAME REASON: a step that could not run counts as failed (unlike a skipped check of
# the end-to-end suite, which is a check this host cannot decide).
not_run() {
  results+=("FAIL  $1 (not run: $2)")
  failed=1
}

# ctest_log LOG ARGS...: CTest with its output kept for the summary.
ctest_log() {
  local log="$1"
  shift
  ctest "$@" 2>&1 | tee "$log"
  return "${PIPESTATUS[0]}"
}

# ---------------------------------------------------------------- native
build_native() { cmake --preset native && cmake --build --preset native -j "$jobs"; }
if step "native build" build_native; then
  step "unit tests (native)" ctest_log build/native-ctest.log --preset native -j "$jobs" \
    --timeout 300 --no-tests=error
else
  not_run "unit tests (native)" "native build failed"
fi

# ---------------------------------------------------------------- Windows
build_mingw() { cmake --preset mingw && cmake --build --preset mingw -j "$jobs"; }
if step "MinGW-w64 build" build_mingw; then
  source scripts/wine-env.sh
  export VSI_XVFB=1  # tests draw on a private display, never on the user's
  if vsi_wine_start; then
    # Each case is a Wine process of its own; one that Wine fails to start at all (seen
    # once in a few hundred) gets a second start, a case that fails twice fails.
    step "Windows tests (Wine)" ctest_log build/mingw-ctest.log --preset mingw -j 1 --timeout 300 \
      --repeat until-pass:2
    step "end-to-end suite (Wine, Xvfb)" bash -c 'bash tests/e2e/suite.sh | tee build/e2e.log; exit "${PIPESTATUS[0]}"'
    step "end-to-end security checks (Wine, Xvfb)" \
      bash -c 'bash tests/e2e/security.sh | tee build/e2e-security.log; exit "${PIPESTATUS[0]}"'
    vsi_wine_stop
  else
    not_run "Windows tests (Wine)" "Wine or Xvfb did not start"
    not_run "end-to-end suite (Wine, Xvfb)" "Wine or Xvfb did not start"
    not_run "end-to-end security checks (Wine, Xvfb)" "Wine or Xvfb did not start"
  fi
else
  not_run "Windows tests (Wine)" "MinGW-w64 build failed"
  not_run "end-to-end suite (Wine, Xvfb)" "MinGW-w64 build failed"
  not_run "end-to-end security checks (Wine, Xvfb)" "MinGW-w64 build failed"
fi

# ---------------------------------------------------------------- fuzz
run_fuzzers() {
  local f name corpus seeds shipped status=0
  for f in build/fuzz/fuzz/fuzz_*; do
    [ -x "$f" ] || continue
    name="$(basename "$f")"
    corpus="build/fuzz/corpus/$name"
    mkdir -p "$corpus"
    # Seeds kept in the tree (fuzz/corpus/mld for fuzz_mld), if any, start the corpus.
    seeds="fuzz/corpus/${name#fuzz_}"
    [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null
    # The shipped window descriptions seed the description fuzzer as they are, read-only:
    # libFuzzer writes new inputs into the first directory alone.
    shipped=()
    [ "$name" = fuzz_description ] && shipped=(src/app/forms)
    echo "-- $name"
    # Undefined behaviour stops the run like a crash, instead of a line in the log.
    if ! UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}" \
        "$f" -max_total_time="$fuzz_seconds" -print_final_stats=0 "$corpus" "${shipped[@]}" >"build/fuzz/$name.log" 2>&1; then
      tail -n 40 "build/fuzz/$name.log"
      status=1
    else
      grep -E '^(#[0-9]+ +DONE|Done)' "build/fuzz/$name.log" | tail -n 1
    fi
  done
  return $status
}
if [ "$fuzz_seconds" != 0 ]; then
  build_fuzz() { cmake --preset fuzz && cmake --build --preset fuzz -j "$jobs"; }
  if step "fuzz build (clang, sanitizers)" build_fuzz; then
    step "fuzz targets (${fuzz_seconds} s each)" run_fuzzers
  else
    not_run "fuzz targets" "fuzz build failed"
  fi
fi

# ---------------------------------------------------------------- summary
echo
echo "==== summary"
printf '%s\n' "${results[@]}"
summary_line() {
  [ -f "$2" ] || return 0
  local line
  line="$(grep -E 'tests passed|No tests were found' "$2" | tail -n 1)"
  [ -n "$line" ] && echo "$1: $line"
}
summary_line "unit tests" build/native-ctest.log
summary_line "Windows tests" build/mingw-ctest.log
[ -f build/e2e.log ] && echo "end-to-end: $(tail -n 1 build/e2e.log)"
[ -f build/e2e-security.log ] && echo "end-to-end security: $(tail -n 1 build/e2e-security.log)"
echo "total time: $((SECONDS - started)) s"
if [ "$failed" -ne 0 ]; then
  echo "RESULT: FAILED"
  exit 1
fi
echo "RESULT: all passed"
