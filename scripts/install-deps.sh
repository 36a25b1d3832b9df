#!/bin/bash
# Installs the Debian packages the build, the tests and the tools need, and only those missing:
# a second run costs nothing.
#   scripts/install-deps.sh        everything: the game, its tests, benchmarks, fuzzing, web build
#   scripts/install-deps.sh game   only what building and playing the game needs (`make run`)
#   scripts/install-deps.sh unit   the game and the tests that need no browser (`make unit`)
#   scripts/install-deps.sh check  only the layer and style check (`make check`)
set -euo pipefail

# The game and its asset generator: a C++ compiler, CMake and Ninja, and the libraries found
# through pkg-config (glfw3, openal, stb, vorbisenc/vorbis/ogg), CMake's FindZLIB (zlib, for
# links to runs) and FindOpenGL (the GL headers, libOpenGL and libGLX). libgl1-mesa-dri holds Mesa's OpenGL drivers, without which no
# window opens.
game_packages=(
    build-essential cmake ninja-build pkg-config
    libglfw3-dev libopenal-dev libopenal1 libstb-dev libvorbis-dev zlib1g-dev
    libgl-dev libopengl-dev libgl1-mesa-dri
)
# The layer check is a python3 script; the style check is clang-format.
check_packages=(clang-format python3)
# The tests without a browser: GoogleTest, their private X server (xvfb-run needs xauth), the
# end-to-end tests' Xlib, xdotool and ImageMagick's import, and appstreamcli, which checks the
# installed metainfo as the software centres read it.
test_packages=(
    libgtest-dev libgmock-dev
    libx11-dev xvfb xauth xdotool imagemagick appstream
)
# The rest: tools for looking at the game by hand (glxinfo, xwd, sox), the benchmarks and the
# SDL2 peer they compare against, fuzzing (libclang-rt-14-dev holds clang's libFuzzer and
# sanitizer runtimes, which clang only recommends), and the web build (emscripten compiles it,
# its JavaScript optimiser needs node-acorn, chromium runs it and the browser tests, and the touch
# test drives chromium through its DevTools protocol with python3-websocket; brotli measures the
# page's download in tools/page_weight.sh).
other_packages=(
    clang libclang-rt-14-dev mesa-utils sox x11-apps
    libbenchmark-dev libsdl2-dev
    emscripten node-acorn chromium python3-websocket brotli
)

case "${1:-all}" in
check) packages=("${check_packages[@]}") ;;
game) packages=("${game_packages[@]}") ;;
unit) packages=("${game_packages[@]}" "${test_packages[@]}") ;;
all)
    packages=("${game_packages[@]}" "${check_packages[@]}" "${test_packages[@]}"
        "${other_packages[@]}")
    ;;
*)
    echo "usage: $0 [game|unit|check|all]" >&2
    exit 2
    ;;
esac

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
