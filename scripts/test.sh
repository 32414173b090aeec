#!/usr/bin/env bash
# Builds and runs the whole test suite: plain (gcc), then sanitized (clang with AddressSanitizer
# and UndefinedBehaviorSanitizer), then the engine's tests under ThreadSanitizer (a large
# conversion reads ahead on a second thread), then each fuzz target for a short while.
set -euo pipefail
cd "$(dirname "$0")/.."
FUZZ_SECONDS="${FUZZ_SECONDS:-8}"
JOBS="$(nproc)"

bash scripts/install-deps.sh

echo "== plain build and tests"
cmake -S . -B build/plain -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=g++
cmake --build build/plain -j "$JOBS"
(cd build/plain && ctest -j "$JOBS" --output-on-failure)

echo "== sanitized build and tests"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ -DQUORVEL_SANITIZE=ON -DQUORVEL_FUZZ=ON
cmake --build build/sanitize -j "$JOBS"
(cd build/sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest -j "$JOBS" --output-on-failure)

echo "== engine tests under ThreadSanitizer"
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DQUORVEL_THREAD_SANITIZE=ON -DQUORVEL_WIN=OFF
cmake --build build/tsan -j "$JOBS" --target quorvel_tests
(cd build/tsan/tests && TSAN_OPTIONS=halt_on_error=1 ./quorvel_tests --gtest_brief=1)

echo "== fuzz targets, ${FUZZ_SECONDS}s each"
# Real logs of other programs seed the targets of their formats when shared/realdata is there.
REALDATA="$(cd .. && pwd)/shared/realdata"
declare -A REAL_SEEDS=([trlog]=trlog [cabrillo]=cabrillo)
for target in build/sanitize/fuzz/*_fuzz; do
  name="$(basename "$target" _fuzz)"
  work="build/sanitize/fuzz-corpus/$name"
  mkdir -p "$work"
  seeds=("fuzz/corpus/$name")
  real="${REAL_SEEDS[$name]:-}"
  [ -n "$real" ] && [ -d "$REALDATA/$real" ] && seeds+=("$REALDATA/$real")
  "$target" -max_total_time="$FUZZ_SECONDS" -rss_limit_mb=2048 -print_final_stats=0 \
    "$work" "${seeds[@]}" 2>"build/sanitize/fuzz-$name.log" || {
    tail -n 40 "build/sanitize/fuzz-$name.log"
    echo "fuzz target $name failed"
    exit 1
  }
  echo "$name: $(grep -o 'DONE.*' "build/sanitize/fuzz-$name.log" || echo done)"
done
echo "All tests and fuzz targets passed."
