#!/usr/bin/env bash
# Installs everything the build and the tests need on Debian 12, with apt-get.
# Idempotent: when every package is already installed it only checks and returns.
set -euo pipefail

packages=(
  cmake ninja-build g++ git python3
  clang libclang-rt-14-dev          # fuzz preset: libFuzzer and the sanitizer runtimes
  googletest libbenchmark-dev       # GoogleTest sources (built per toolchain), Google Benchmark
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64                       # 64-bit Wine runs the Windows tests and the program
  xvfb xauth x11-utils imagemagick  # headless display, window geometry, screenshots
  xdotool                           # real mouse and keyboard input for the end-to-end suite
  openbox                           # a window manager for the checks that need one
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup-deps: all ${#packages[@]} packages present"
  exit 0
fi

echo "setup-deps: installing ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup-deps: run as root or install sudo" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q </dev/null
"${sudo[@]}" apt-get install -y -q -o Dpkg::Use-Pty=0 "${missing[@]}" </dev/null
echo "setup-deps: done"
