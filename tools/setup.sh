#!/usr/bin/env bash
# Installs every Debian package Orvello needs to build, run and test.
# Idempotent and non-interactive: packages already installed are skipped.
# Works as root or through sudo.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # graphics: OpenGL 1.1 + GLU, EGL for headless rendering, Mesa's software driver
  libgl1-mesa-dev libglu1-mesa-dev libegl-dev libegl-mesa0 libgl1-mesa-dri
  # windows, input, audio output
  libsdl2-dev
  # archive, images, music
  libunarr-dev libjpeg62-turbo-dev libpng-dev zlib1g-dev libvorbis-dev
  # windowed tests and screenshots
  xvfb xauth xdotool x11-apps imagemagick
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all ${#packages[@]} packages already installed"
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo_cmd=(sudo)
  else
    echo "setup: need root or sudo to install: ${missing[*]}" >&2
    exit 1
  fi
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
echo "setup: done"
