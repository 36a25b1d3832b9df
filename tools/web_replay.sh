#!/bin/sh
# Prints the browser's replay trace of SCRIPT on standard output (docs/replay.md): the web build's
# replay.html in Chromium on a private X server. Needs `make web` first.
#   tools/web_replay.sh [--timeout SECONDS] [--shots DIR] SCRIPT
exec python3 "$(dirname "$0")/web_replay.py" "$@"
