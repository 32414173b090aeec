#!/usr/bin/env bash
# Installs, with apt-get, whatever of the build and test tools this Debian 12 machine lacks.
set -euo pipefail

# python3-dbfread and shapelib (dbfdump) read the dBase tables the tests write, independently.
# qt6-base-dev builds quorvelwin and its Qt Test tests; fonts-dejavu-core gives the headless
# (offscreen) dialogs a font to measure and draw.
packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev python3 time python3-dbfread
  shapelib qt6-base-dev fonts-dejavu-core)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
# Node.js and npm run the ADIF interoperability test; a machine may have them from elsewhere.
command -v node >/dev/null 2>&1 || missing+=(nodejs)
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
