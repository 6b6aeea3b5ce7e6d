#!/bin/bash
# Installs what building and testing need on Debian 12, as root. Idempotent:
# asks apt only for packages that are missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick fonts-dejavu-core
  libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxinerama1 libxfixes3 libxxf86vm1
  googletest libdeflate-dev zlib1g-dev fp-utils-3.2.2 python3
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
