#!/bin/bash
# shoot-pages.sh OUTDIR [BUILD_DIR]
# Screenshots of all seven tabs in both languages, each taken by a scripted
# window session against the simulated pack with the port open:
# OUTDIR/en-1.png ... en-7.png and zh-1.png ... zh-7.png.
set -eu
[ $# -ge 1 ] || { echo "usage: shoot-pages.sh OUTDIR [BUILD_DIR]" >&2; exit 2; }
out=$(realpath -m "$1")
build=$(realpath "${2:-build}")
mkdir -p "$out"
cd "$(dirname "$0")/.."
for lang in en zh; do
    for tab in 1 2 3 4 5 6 7; do
        tools/window-session.sh --lang "$lang" --tab "$tab" --wait 2 --build "$build" \
            --shot "$out/$lang-$tab.png" >/dev/null
        echo "$out/$lang-$tab.png"
    done
done
