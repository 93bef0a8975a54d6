#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the project needs.
# Safe to run again: packages already present are left as they are.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libfreeimage-dev libarchive-dev zlib1g-dev libpng-dev libjpeg62-turbo-dev
  libcairo2-dev libpango1.0-dev libfontconfig-dev fonts-liberation fonts-dejavu-core
  libwxgtk3.2-dev xvfb xauth
  googletest libgtest-dev libgmock-dev
  imagemagick libjpeg-turbo-progs
)

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "install-deps: run as root or install sudo" >&2
  exit 1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
