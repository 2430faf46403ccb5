#!/bin/sh
# Remakes the bundled characters' region files from their descriptions:
# for every samples/src/NAME.strokes, draw_strokes draws one picture per
# stroke and felmar traces each into samples/NAME-00.rgn, NAME-01.rgn, ...
# The scripts samples/NAME.zep are written by hand and left alone.
#
#   tools/make_samples.sh BUILD_DIR     (draw_strokes and felmar built there)
set -eu

if [ $# -ne 1 ]; then
    echo "Usage: $0 BUILD_DIR" >&2
    exit 1
fi
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)
draw="$build/tools/draw_strokes"
felmar="$build/bin/felmar"
for program in "$draw" "$felmar"; do
    [ -x "$program" ] || { echo "$0: $program is not built" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for description in "$root"/samples/src/*.strokes; do
    name=$(basename "$description" .strokes)
    "$draw" "$description" "$work/$name"
    # A stroke that was dropped from a description must not leave its old file.
    rm -f "$root/samples/$name"-[0-9][0-9].rgn
    for picture in "$work/$name"-[0-9][0-9].bmp; do
        "$felmar" "$picture"
        mv "$picture.rgn" "$root/samples/$(basename "$picture" .bmp).rgn"
    done
done
