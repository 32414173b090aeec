#!/usr/bin/env bash
# Builds the Debian package with cpack, unpacks it into a temporary root and converts with the
# unpacked quorvelcon from another folder: it must find its reference files in the unpacked
# share/quorvel and give the same bytes as the build tree's program. Exit code 77 (skipped) when
# cpack or dpkg-deb is missing.
#
# package_test.sh BUILD_DIR BUILD_QUORVELCON SOURCE_DIR VERSION HAS_QUORVELWIN CONFIGURED_DATA_DIR CPACK
set -euo pipefail
build_dir="$1" build_quorvelcon="$2" source_dir="$3" version="$4" has_quorvelwin="$5"
configured_data_dir="$6" cpack="$7"

if ! command -v "$cpack" >/dev/null || ! command -v dpkg-deb >/dev/null; then
  echo "cpack or dpkg-deb missing: package test skipped"
  exit 77
fi

temp="$(mktemp -d)"
trap 'rm -rf "$temp"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

"$cpack" -G DEB --config "$build_dir/CPackConfig.cmake" -B "$temp/package" >"$temp/cpack.log" 2>&1 || {
  cat "$temp/cpack.log"
  exit 1
}
debs=("$temp"/package/*.deb)
if [ "${#debs[@]}" -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "cpack made no single .deb: ${debs[*]}"
  exit 1
fi
deb="${debs[0]}"

check_field() {
  local actual
  actual="$(dpkg-deb -f "$deb" "$1")"
  [ "$actual" = "$2" ] || fail "control field $1 is '$actual', expected '$2'"
}
check_field Package quorvel
check_field Version "$version"
check_field Section hamradio
[ -n "$(dpkg-deb -f "$deb" Depends)" ] || fail "the package depends on nothing"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "the package has no maintainer"

dpkg-deb -c "$deb" | awk '{print $NF}' >"$temp/contents"
man_page() { grep -qx "./usr/share/man/man1/$1.gz" "$temp/contents" && echo "$1.gz" || echo "$1"; }
expected=(./usr/bin/quorvelcon ./usr/share/quorvel/stsec.dat ./usr/share/quorvel/cqww.cty
  ./usr/share/quorvel/readme.txt "./usr/share/man/man1/$(man_page quorvelcon.1)")
dialog_files=(./usr/bin/quorvelwin "./usr/share/man/man1/$(man_page quorvelwin.1)"
  ./usr/share/applications/quorvelwin.desktop ./usr/share/icons/hicolor/scalable/apps/quorvel.svg)
for path in "${expected[@]}" "${dialog_files[@]}"; do
  in_package=0
  grep -qx "$path" "$temp/contents" && in_package=1
  wanted=1
  [[ " ${dialog_files[*]} " == *" $path "* ]] && wanted="$has_quorvelwin"
  [ "$in_package" -eq "$wanted" ] || fail "$path in the package: $in_package, expected $wanted"
done

root="$temp/root"
dpkg-deb -x "$deb" "$root"
installed="$root/usr/bin/quorvelcon"

# Converts $2 into $3 with program $1, run in the folder of the output, with a fixed clock.
convert() {
  (cd "$(dirname "$3")" && SOURCE_DATE_EPOCH=1800000000 "$1" "$2" "$(basename "$3")" |
    tr -d '\r')
}
mkdir -p "$temp/work" "$temp/reference" "$temp/bare"
example="$source_dir/examples/cqww-cw.bin"
convert "$installed" "$example" "$temp/work/example.adi" >"$temp/work/example.txt" ||
  fail "the unpacked quorvelcon failed on the example"
convert "$build_quorvelcon" "$example" "$temp/reference/example.adi" >"$temp/reference/example.txt"
grep -qx "Processed 21 QSO's" "$temp/work/example.txt" ||
  fail "no count line of the example's 21 QSOs: $(cat "$temp/work/example.txt")"
cmp -s "$temp/work/example.txt" "$temp/reference/example.txt" || fail "console text differs"
cmp -s "$temp/work/example.adi" "$temp/reference/example.adi" || fail "example ADIF differs"

# The zones of a spot listing come from cqww.cty, so the output tells whether it was found.
spots="$source_dir/tests/golden/cases/spot-logs/in-cluster.dat"
convert "$installed" "$spots" "$temp/work/spots.adi" >/dev/null
convert "$build_quorvelcon" "$spots" "$temp/reference/spots.adi" >/dev/null
cmp -s "$temp/work/spots.adi" "$temp/reference/spots.adi" ||
  fail "the unpacked quorvelcon did not use the unpacked reference files"
if [ ! -e "$configured_data_dir/cqww.cty" ]; then
  cp "$installed" "$temp/bare/quorvelcon"
  convert "$temp/bare/quorvelcon" "$spots" "$temp/bare/spots.adi" >/dev/null
  cmp -s "$temp/bare/spots.adi" "$temp/reference/spots.adi" &&
    fail "the spot listing converts the same without cqww.cty, so it proves nothing"
fi

if command -v groff >/dev/null; then
  for page in "$root"/usr/share/man/man1/*; do
    warnings="$( (zcat -f "$page" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww >/dev/null) 2>&1)"
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  done
fi
desktop="$root/usr/share/applications/quorvelwin.desktop"
if [ -f "$desktop" ]; then
  for line in Type=Application Exec=quorvelwin Icon=quorvel Terminal=false; do
    grep -qx "$line" "$desktop" || fail "desktop file lacks $line"
  done
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate refuses the desktop file"
  fi
fi

[ "$failures" -eq 0 ] || exit 1
echo "package $(basename "$deb") unpacks and converts"
