#!/usr/bin/env bash
# Builds both configurations and the fuzz targets, runs every test, and ends
# with the line "N passed, M failed" (", K skipped" when some were skipped).
# Environment: ZUB_FUZZ_SECONDS (default 5) per fuzz target; ZUB_SKIP_WIN32=1
# and ZUB_SKIP_FUZZ=1 leave those parts out for a quick local run.
set -uo pipefail
source "$(dirname "$0")/setup.sh"

passed=0 failed=0 skipped=0
failures=()

# count_junit FILE: adds the counts of a CTest JUnit report to the totals.
count_junit() {
  local f=$1 t fl sk
  [ -f "$f" ] || return 0
  local head
  head=$(tr "\n" " " < "$f" | grep -o "<testsuite [^>]*" | head -1)
  t=$(echo "$head" | grep -oE '[[:space:]]tests="[0-9]+"' | grep -o '[0-9]*' | head -1)
  fl=$(echo "$head" | grep -oE '[[:space:]]failures="[0-9]+"' | grep -o '[0-9]*' | head -1)
  sk=$(echo "$head" | grep -oE '[[:space:]]skipped="[0-9]+"' | grep -o '[0-9]*' | head -1)
  t=${t:-0} fl=${fl:-0} sk=${sk:-0}
  passed=$((passed + t - fl - sk))
  failed=$((failed + fl))
  skipped=$((skipped + sk))
}

# run_ctest NAME: runs one build tree's tests; a tree that did not build is a failure.
run_ctest() {
  local name=$1 dir="$ZUB_ROOT/build/$1"
  rm -f "$dir/ctest-junit.xml"
  local before=$failed
  # Native tests keep their files in a folder of this run, not the shared
  # /tmp, so runs side by side never meet (Wine's temp is the prefix's own).
  local temp=()
  if [ "$name" = native ]; then
    rm -rf "$dir/tmp" && mkdir -p "$dir/tmp"
    temp=(env "TEST_TMPDIR=$dir/tmp" "TMPDIR=$dir/tmp")
  fi
  (cd "$dir" && "${temp[@]}" ctest --output-on-failure -j "$ZUB_JOBS" --output-junit ctest-junit.xml)
  local status=$?
  count_junit "$dir/ctest-junit.xml"
  # CTest failed but its report shows no failure: count the run itself.
  if [ "$status" -ne 0 ] && [ "$failed" -eq "$before" ]; then
    failed=$((failed + 1))
    failures+=("ctest $name (status $status)")
  fi
}

build_or_fail() {
  local what=$1; shift
  zub_log "building $what"
  if ! "$@"; then
    failed=$((failed + 1))
    failures+=("build $what")
    return 1
  fi
}

cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  zub_stop_xvfb
}
trap cleanup EXIT
trap 'exit 130' INT TERM

zub_install || { echo "0 passed, 1 failed"; exit 1; }

if build_or_fail native zub_build_native; then
  zub_log "native tests"
  run_ctest native
fi

if [ "${ZUB_SKIP_WIN32:-0}" != 1 ] && build_or_fail win32 zub_build_win32; then
  zub_log "win32 tests under Wine"
  zub_wine_env
  zub_start_xvfb
  # A persistent server, and Wine's own background processes started now with
  # their output away from CTest, which would otherwise wait for their pipes.
  wineserver -p 2>/dev/null
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1
  run_ctest win32
  cleanup
fi

if [ "${ZUB_SKIP_FUZZ:-0}" != 1 ] && build_or_fail fuzz zub_build_fuzz; then
  secs=${ZUB_FUZZ_SECONDS:-5}
  for f in "$ZUB_ROOT"/build/fuzz/fuzz/fuzz_*; do
    [ -x "$f" ] || continue
    name=$(basename "$f")
    zub_log "fuzzing $name for ${secs}s"
    corpus="$ZUB_ROOT/build/fuzz/corpus/$name"
    mkdir -p "$corpus"
    seeds=()
    [ -d "$ZUB_ROOT/fuzz/seeds/${name#fuzz_}" ] && seeds+=("$ZUB_ROOT/fuzz/seeds/${name#fuzz_}")
    if "$f" -max_total_time="$secs" -print_final_stats=0 "$corpus" "${seeds[@]}" >"$corpus.log" 2>&1; then
      passed=$((passed + 1))
    else
      tail -n 40 "$corpus.log"
      failed=$((failed + 1))
      failures+=("$name")
    fi
  done
fi

for f in "${failures[@]}"; do
  zub_log "FAILED: $f"
done
line="$passed passed, $failed failed"
[ "$skipped" -gt 0 ] && line="$line, $skipped skipped"
echo "$line"
[ "$failed" -eq 0 ]
