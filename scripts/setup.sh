#!/usr/bin/env bash
# Quick start: installs what is missing, builds quorvelcon and converts the bundled example log.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_TESTS=OFF
cmake --build build --target quorvelcon quorvelwin quorvel_data quorvel_readme_txt

mkdir -p out
example=examples/cqww-cw.bin
converted=out/cqww-cw.adi
rm -f "$converted"  # quorvelcon never replaces a file; this is the script's own earlier result
./build/quorvelcon "$example" "$converted"
echo
echo "Converted $example into $converted:"
head -n 12 "$converted"
echo
echo "build/quorvelwin starts the dialog program."
