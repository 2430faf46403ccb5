#!/usr/bin/env bash
# compare_gif.sh BUILD_DIR: our GIF files of the bundled characters and of a
# ten-stroke one against ImageMagick's `convert -layers optimize` and
# `gifsicle -O3` of the same frames with the same delays (export_gif_frames
# writes them). Prints a Markdown table of the sizes, then the time each tool
# takes for the ten-stroke character (the best of 5 runs, whole processes).
set -euo pipefail
if [ $# -ne 1 ]; then
    echo "Usage: $0 BUILD_DIR" >&2
    exit 1
fi
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)
for tool in convert gifsicle; do
    command -v "$tool" >/dev/null || { echo "$0: $tool is not installed" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/export_gif_frames" "$root/samples" "$work"

# The frames with their delays, as arguments for convert.
frame_args() {
    local dir=$1 delay file
    while read -r delay file; do printf '%s\n' -delay "$delay" "$dir/$file"; done <"$dir/frames.txt"
}

size() { stat -c %s "$1"; }

best_of_5() {
    local best="" t
    for _ in 1 2 3 4 5; do
        t=$( { TIMEFORMAT=%R; time "$@" >/dev/null 2>&1; } 2>&1 )
        if [ -z "$best" ] || awk "BEGIN { exit !($t < $best) }"; then best=$t; fi
    done
    echo "$best"
}

header="| Character | Frames | Ours | convert -layers optimize | gifsicle -O3 |"
echo "$header Ours / convert | Ours / gifsicle |"
echo "|---|---:|---:|---:|---:|---:|---:|"
total_ours=0 total_im=0 total_gs=0
for dir in "$work"/*/; do
    name=$(basename "$dir")
    [ -f "$dir/frames.txt" ] || continue
    mapfile -t args < <(frame_args "$dir")
    convert -loop 0 "${args[@]}" "$work/$name-plain.gif"
    convert -loop 0 "${args[@]}" -layers optimize "$work/$name-im.gif"
    gifsicle -O3 "$work/$name-plain.gif" -o "$work/$name-gs.gif"
    ours=$(size "$work/$name.gif") im=$(size "$work/$name-im.gif") gs=$(size "$work/$name-gs.gif")
    frames=$(wc -l <"$dir/frames.txt")
    awk -v n="$name" -v f="$frames" -v o="$ours" -v i="$im" -v g="$gs" \
        'BEGIN { printf "| %s | %d | %d | %d | %d | %.3f | %.3f |\n", n, f, o, i, g, o / i, o / g }'
    if [ "$name" != ten-strokes ]; then
        total_ours=$((total_ours + ours)) total_im=$((total_im + im)) total_gs=$((total_gs + gs))
    fi
done
awk -v o="$total_ours" -v i="$total_im" -v g="$total_gs" \
    'BEGIN { printf "| the ten samples | | %d | %d | %d | %.3f | %.3f |\n", o, i, g, o / i, o / g }'

dir="$work/ten-strokes"
mapfile -t args < <(frame_args "$dir")
echo
echo "Ten-stroke character, seconds (best of 5, whole processes):"
im=$(best_of_5 convert -loop 0 "${args[@]}" -layers optimize "$work/t.gif")
gs=$(best_of_5 gifsicle -O3 "$work/ten-strokes-plain.gif" -o "$work/t.gif")
echo "  convert -layers optimize: $im"
echo "  gifsicle -O3:             $gs"
