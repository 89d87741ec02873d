#!/usr/bin/env bash
# Installs every Debian package the project needs, only what is missing.
# Never the i386 architecture or wine32: these machines cannot run 32-bit code.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  libz-mingw-w64-dev zlib1g-dev
  googletest libgtest-dev libbenchmark-dev
  wine wine64 fonts-wine xvfb xauth x11-utils imagemagick xdotool fonts-wqy-microhei icoutils libstb-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
