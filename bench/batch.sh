#!/bin/sh
# Times a batch of conversions: COUNT ADIF logs of 100 to 1,000 QSOs (made by quorvel_loggen)
# converted into CT 8 logs one after the other and with xargs -P JOBS. Uses the Release build
# of bench/run.py (build/bench); the logs and outputs go to build/bench/batch.
#
#     sh bench/batch.sh [COUNT] [JOBS]        # defaults: 1000 logs, as many jobs as cores
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-1000}
jobs=${2:-$(nproc)}
build=$root/build/bench
folder=$build/batch
[ -x "$build/quorvelcon" ] && [ -x "$build/bench/quorvel_loggen" ] ||
  { echo "batch.sh: build first: python3 bench/run.py --quick --only 'CT8 to CT8'" >&2; exit 1; }
mkdir -p "$folder/logs"
i=1
while [ "$i" -le "$count" ]; do
  log=$folder/logs/log$i.adi
  [ -f "$log" ] || "$build/bench/quorvel_loggen" "$log" $(((i % 10 + 1) * 100)) 3 "$i" >/dev/null
  i=$((i + 1))
done

run() {  # run JOBS: seconds for converting every log with JOBS runs at a time
  rm -rf "$folder/out" && mkdir "$folder/out"
  start=$(date +%s.%N)
  find "$folder/logs" -name '*.adi' -print0 |
    QUORVELCON=$build/quorvelcon OUT=$folder/out xargs -0 -P"$1" -n1 \
      sh -c 'f=${0##*/}; exec "$QUORVELCON" "$0" "$OUT/${f%.adi}.bin" >/dev/null'
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}

echo "$count logs, $(du -sh "$folder/logs" | cut -f1)"
echo "one at a time: $(run 1) s"
echo "xargs -P$jobs: $(run "$jobs") s"
