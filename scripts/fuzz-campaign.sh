#!/usr/bin/env bash
# The fuzzing campaign: builds the fuzz targets with AddressSanitizer and
# UndefinedBehaviorSanitizer (clang) and runs each for RUNS executions (1,000,000 by default)
# from its seed corpus, JOBS targets at a time (2 by default), then prints per target the
# executions, executions per second, final coverage (cov:, ft:) and findings. Exits 1 when any
# target found something; the inputs it found are in BUILD/findings/<target>/.
#
#   scripts/fuzz-campaign.sh              every target
#   scripts/fuzz-campaign.sh adif trlog   only these
#   RUNS=200000 JOBS=1 scripts/fuzz-campaign.sh
#   MAX_TIME=60 scripts/fuzz-campaign.sh dxinfo   at most 60 s per target (a short campaign)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$(pwd)"
RUNS="${RUNS:-1000000}"
JOBS="${JOBS:-2}"
BUILD="${BUILD:-$ROOT/build/fuzz-campaign}"
MAX_LEN="${MAX_LEN:-8192}"
MAX_TIME="${MAX_TIME:-0}"
REALDATA="${REALDATA:-$(cd .. && pwd)/shared/realdata}"

# Real logs of other programs seed the targets of their formats when they are there; they are
# copied into the run's own corpus, never into the project.
declare -A REAL_SEEDS=([adif]=adif [trlog]=trlog [country_table]=cty)

build() {
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DQUORVEL_SANITIZE=ON -DQUORVEL_FUZZ=ON \
    -DQUORVEL_TESTS=OFF -DQUORVEL_WIN=OFF >/dev/null
  cmake --build "$BUILD" -j "$JOBS" >/dev/null
}

# Fresh working corpus of a target: its seeds, its regression files and small real logs.
prepare_corpus() {
  local name="$1" corpus="$BUILD/campaign/corpus/$1"
  rm -rf "$corpus" && mkdir -p "$corpus"
  cp "fuzz/corpus/$name"/* "$corpus"/
  [ -d "fuzz/regressions/$name" ] && cp "fuzz/regressions/$name"/* "$corpus"/
  local real="${REAL_SEEDS[$name]:-}"
  if [ -n "$real" ] && [ -d "$REALDATA/$real" ]; then
    find "$REALDATA/$real" -maxdepth 1 -type f -size -64k -exec cp {} "$corpus"/ \;
  fi
  chmod -R u+w "$corpus"
}

run_one() {
  local name="$1" log="$BUILD/campaign/$1.log" findings="$BUILD/findings/$1"
  prepare_corpus "$name"
  rm -rf "$findings" && mkdir -p "$findings"
  # A smaller quarantine keeps freed buffers in reuse (use after free is still caught within
  # the last 16 MB freed, far more than one input frees); leaks are checked.
  local status=0
  ASAN_OPTIONS="quarantine_size_mb=16:detect_leaks=1" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    "$BUILD/fuzz/${name}_fuzz" -runs="$RUNS" -max_len="$MAX_LEN" -timeout=25 \
    -rss_limit_mb=2048 -max_total_time="$MAX_TIME" -print_final_stats=1 \
    -artifact_prefix="$findings/" \
    "$BUILD/campaign/corpus/$name" >"$log" 2>&1 || status=$?
  local execs rate cov ft found
  execs="$(grep -o 'number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)"
  rate="$(grep -o 'average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)"
  cov="$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*$' || echo 0)"
  ft="$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*$' || echo 0)"
  found="$(find "$findings" -type f | wc -l)"
  [ "$status" -ne 0 ] && [ "$found" -eq 0 ] && found="exit $status"
  printf '%-14s %9s %7s %6s %6s  %s\n' "$name" "$execs" "$rate" "$cov" "$ft" "$found" |
    tee "$BUILD/campaign/$name.result"
}

main() {
  build
  mkdir -p "$BUILD/campaign"
  local targets=("$@")
  if [ ${#targets[@]} -eq 0 ]; then
    # Fastest first, so that a campaign cut short has finished the most targets.
    targets=(options detect settings section_table country_table arrl ct8 ct9 ct_old wrtc na
      command_line dxinfo dxcluster trlog adif)
    for source in fuzz/*_fuzz.cpp; do
      local name
      name="$(basename "$source" _fuzz.cpp)"
      [[ " ${targets[*]} " == *" $name "* ]] || targets+=("$name")
    done
  fi
  echo "$(date -u +%FT%TZ) $RUNS runs per target, $JOBS at a time, on $(nproc) cores"
  printf '%-14s %9s %7s %6s %6s  %s\n' target executions exec/s cov ft findings
  export -f run_one prepare_corpus
  export BUILD RUNS MAX_LEN MAX_TIME REALDATA
  export REAL_SEEDS_TEXT="$(declare -p REAL_SEEDS)"
  printf '%s\n' "${targets[@]}" |
    xargs -P "$JOBS" -I{} bash -c 'eval "$REAL_SEEDS_TEXT"; run_one "$1"' _ {}
  local failed=0
  for name in "${targets[@]}"; do
    local found
    found="$(awk '{print $6}' "$BUILD/campaign/$name.result")"
    [ "$found" = "0" ] || failed=1
  done
  echo "$(date -u +%FT%TZ) done"
  return "$failed"
}

main "$@"
