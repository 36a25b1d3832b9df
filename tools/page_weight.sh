#!/bin/sh
# What a first visit to the page downloads, file by file: its bytes, and as a server that
# compresses would send it, gzip -9 and brotli at its best (-q 11). A Markdown table for
# docs/PERFORMANCE.md.
#
#     tools/page_weight.sh [WEB_BUILD]     (default build-web)
set -eu
web=${1:-build-web}
files="index.html touch.js runs.js runs_panel.js skiddlewick.js skiddlewick.wasm skiddlewick.data
manifest.webmanifest icon-192.png icon-512.png service-worker.js"
echo "| file | bytes | gzip -9 | brotli |"
echo "| --- | ---: | ---: | ---: |"
total=0 total_gzip=0 total_brotli=0
for name in $files; do
    path=$web/$name
    if [ ! -f "$path" ]; then
        echo "page_weight: $path is missing (make web)" >&2
        exit 1
    fi
    bytes=$(wc -c <"$path")
    gzip=$(gzip -9c "$path" | wc -c)
    brotli=$(brotli -c -q 11 "$path" | wc -c)
    echo "| \`$name\` | $bytes | $gzip | $brotli |"
    total=$((total + bytes)) total_gzip=$((total_gzip + gzip)) total_brotli=$((total_brotli + brotli))
done
echo "| all | $total | $total_gzip | $total_brotli |"
