#!/bin/bash
# Installs the Debian packages the build, the tests and the tools need, and only those missing:
# a second run costs nothing.
set -euo pipefail

# libclang-rt-14-dev holds clang's libFuzzer and sanitizer runtimes, which clang only recommends.
# emscripten compiles the web build (its JavaScript optimiser needs node-acorn); chromium runs it.
packages=(
    build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev clang-format python3
    libglfw3-dev libopenal-dev libopenal1 libstb-dev libgl-dev libgl1-mesa-dri mesa-utils
    libgtest-dev libgmock-dev libbenchmark-dev
    libvorbis-dev
    libx11-dev xvfb xauth xdotool imagemagick sox x11-apps
    libsdl2-dev
    emscripten node-acorn chromium
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
