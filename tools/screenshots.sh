#!/bin/bash
# Regenerates docs/screenshots/*.png: each screen of the game reached by a replay script and
# captured by the replay tool's `shot` command (see docs/replay.md). Needs an X display, so it
# runs under xvfb-run (`make screenshots` does that).
#   tools/screenshots.sh [BUILD_DIR]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out="$root/docs/screenshots"
replay="$build/skiddlewick-replay"
mkdir -p "$out"
export ALSOFT_DRIVERS=null

# shoot NAME SCRIPT: runs the script (which ends with `shot NAME.png`) with the output folder as
# its shots' folder; the tool never replaces a picture, so the old one goes first.
shoot() {
    local name=$1 script=$2
    rm -f "$out/$name.png"
    printf '%s\n' "$script" | "$replay" --shots "$out" - >/dev/null ||
        { echo "screenshots: $name failed" >&2; exit 1; }
    echo "screenshots: docs/screenshots/$name.png"
}

shoot title "boot
step 90
shot title.png"

# OPTIONS is the item below START GAME; on the options screen BACK is selected, with
# REDEFINE KEYS above it. The menus move with the arrow keys (38 up, 40 down) and enter (13).
shoot options "boot
press 40
step 1
release 40
press 13
step 1
release 13
step 5
shot options.png"

shoot redefine_keys "boot
press 40
step 1
release 40
press 13
step 1
release 13
press 38
step 1
release 38
press 13
step 1
release 13
step 5
shot redefine_keys.png"

# Normal traffic: a few steps left and down into the road with the cars going by.
shoot road "state Difficulty=1
boot
newgame 42
until 3
step 60
press 73
step 12
release 73
press 90
step 30
release 90
step 20
shot road.png"

# Easy traffic, seed 1: a crossing free of hits to the hut and up to the slope, then skiing.
shoot slope "state Difficulty=0
boot
newgame 1
until 3
press 73
step 12
release 73
press 90
step 85
release 90
press 81
until 4
release 81
step 150
shot slope.png"

# The no-money screen: the scripted test's game, whose fifth ambulance fee cannot be paid.
shoot no_money "$(sed -n '1,/^shot no_money.png/p' "$root/tests/replay/no_money.replay")"
