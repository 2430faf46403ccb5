#!/usr/bin/env bash
# check-player.sh [BUILD]: drives the Qt player (BUILD/bin/zepplayer, BUILD
# defaulting to build/) on a virtual screen with xdotool, as a learner
# practising 十: Ctrl+T must show the character in light grey and nothing in
# black; the ink must show while the first stroke is dragged, and the stroke
# turn black once accepted; the second stroke dragged backwards must show its
# ink in red for a moment; dragged the right way it ends the session, and the
# whole animation must then paint the first stroke red again. Esc must leave
# practice for the still picture; the canvas' context menu must start
# recall (an empty canvas); Esc must leave it. Then look-up: Ctrl+L must
# clear the canvas and show the tool window; 一 drawn must show and bring
# candidates; Esc must leave for 十; 一 drawn again, the first candidate must
# load 一 and play it. The next Esc must close the player with exit code 0.
#
# Needs Xvfb, xdotool and ImageMagick, and for look-up the handwriting model
# (tegaki-zinnia-japanese) and the imported set in BUILD/share/zepplayer
# (scripts/import-kanji.sh makes it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
player=$root/${1:-build}/bin/zepplayer
[ -x "$player" ] || { echo "no $player" >&2; exit 1; }
for tool in Xvfb xdotool convert; do
  command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done
set_file=$(dirname "$player")/../share/zepplayer/kanji.sqlite
[ -f "$set_file" ] || { echo "no $set_file: bash scripts/import-kanji.sh" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -s "$work/player.pid" ] && kill "$(cat "$work/player.pid")" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*" >&2
  if [ -f "$work/shot.png" ]; then
    cp "$work/shot.png" "$(dirname "$player")/check-player-failed.png"
    echo "last screenshot: $(dirname "$player")/check-player-failed.png" >&2
  fi
  exit 1
}
step() { echo "  $*"; }

source "$root/scripts/screen.sh"

start_screen 800x600 "$work" || fail "Xvfb did not start"

cp "$root"/samples/juu.zep "$root"/samples/juu-*.rgn "$work"/
(
  cd "$work"
  code=0
  QT_QPA_PLATFORM=xcb "$player" juu.zep &
  echo $! >"$work/player.pid"
  wait $! || code=$?
  echo "$code" >"$work/exit-code"
) >/dev/null 2>&1 &
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^ZEP Player$' | head -1) ||
  fail "the player's window did not open"

keys() {
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  xdotool key --delay 50 "$@"
}
# The canvas is the window's top left square of 254 pixels.
shoot() {
  timeout 10 import -window "$window" "$work/shot.png" 2>/dev/null &&
    convert "$work/shot.png" -crop 254x254+0+0 +repage "$work/canvas.png"
}
has() { shoot && convert "$work/canvas.png" -format %c histogram:info:- | grep -q "#$1 "; }
lacks() { shoot && ! convert "$work/canvas.png" -format %c histogram:info:- | grep -q "#$1 "; }
pixel_is() { shoot && [ "$(convert "$work/canvas.png" -format "%[hex:p{$1,$2}]" info:)" = "$3" ]; }
empty_canvas() { lacks D7D7D7 && lacks 000000 && has FFFFFF; }
same_as() { shoot && [ "$(compare -metric AE "$work/canvas.png" "$1" null: 2>&1)" = 0 ]; }
# Presses at (x1, y1), moves to (x2, y2) in 16 steps, and releases there
# unless told to hold.
drag() {
  xdotool mousemove --window "$window" "$1" "$2" mousedown 1
  local n
  for n in $(seq 1 16); do
    xdotool mousemove --window "$window" $(($1 + ($3 - $1) * n / 16)) $(($2 + ($4 - $2) * n / 16))
    sleep 0.02
  done
  [ "${5:-}" = hold ] || xdotool mouseup 1
}

within 10 has 000000 || fail "the still picture shows no character"
cp "$work/canvas.png" "$work/still.png"
step "the player shows 十"

keys ctrl+t
within 10 has D7D7D7 || fail "Ctrl+T did not show the character in light grey"
lacks 000000 || fail "tracing shows something in black before a stroke is written"
step "Ctrl+T: the character in light grey"

drag 24 106 222 97 hold
within 5 has 0040A0 || fail "no ink while the stroke is dragged"
xdotool mouseup 1
within 5 pixel_is 60 104 000000 || fail "the first stroke was not accepted"
step "stroke 1 dragged: ink on the way, accepted and black"

drag 127 232 127 24
within 5 pixel_is 127 180 FF0000 || fail "the backwards stroke's ink did not show red"
within 5 pixel_is 127 180 D7D7D7 || fail "the mistake's red ink stayed"
step "stroke 2 backwards: its ink red for a moment"

drag 127 24 127 232
within 10 pixel_is 60 104 FF0000 || fail "the whole animation did not play after the last stroke"
step "stroke 2: the session is complete and the whole animation plays"

keys Escape
within 20 same_as "$work/still.png" || fail "Esc did not leave practice for the still picture"
step "Esc left practice"

xdotool mousemove --window "$window" 200 200 click 3
sleep 0.5
xdotool key --delay 100 Down Down Return
within 5 empty_canvas || fail "the menu did not start recall"
step "the context menu started recall on an empty canvas"

keys Escape
within 10 same_as "$work/still.png" || fail "Esc did not leave recall"
step "Esc left recall"

# Look-up needs the handwriting model and the imported set.
tool_shown() { xdotool search --onlyvisible --name '^Look up a kanji$' >/dev/null; }
tool_hidden() { ! tool_shown; }
# The first candidate button, 52 pixels square at (8, 34) in the tool window,
# shows a glyph: black among its pixels.
candidate_shown() {
  timeout 10 import -window "$(xdotool search --onlyvisible --name '^Look up a kanji$' | head -1)" \
    "$work/tool.png" 2>/dev/null &&
    convert "$work/tool.png" -crop 36x36+16+42 +repage -threshold 50% -format %c histogram:info:- |
    grep -q "#000000"
}
keys ctrl+l
within 10 tool_shown || fail "Ctrl+L showed no look-up window"
within 5 empty_canvas || fail "look-up did not clear the canvas"
drag 30 127 224 127
within 5 pixel_is 127 127 000000 || fail "the stroke drawn in look-up did not show"
within 20 candidate_shown || fail "no candidate after a stroke"
step "Ctrl+L: an empty canvas, 一 drawn, candidates in the tool window"
keys Escape
within 10 same_as "$work/still.png" || fail "Esc did not leave look-up for 十"
within 5 tool_hidden || fail "the look-up window stayed after Esc"
step "Esc left look-up for 十"

keys ctrl+l
drag 30 127 224 127
within 10 candidate_shown || fail "no candidate after a stroke"
xdotool mousemove --window "$(xdotool search --onlyvisible --name '^Look up a kanji$' | head -1)" \
  34 60 click 1
within 5 tool_hidden || fail "choosing a candidate did not leave look-up"
within 10 has FF0000 || fail "the chosen character did not play"
# 一 alone, still: black across the middle, nothing where 十's stroke goes down.
shows_ichi() { pixel_is 127 60 FFFFFF && pixel_is 60 125 000000 && lacks FF0000; }
within 20 shows_ichi || fail "the first candidate for 一 did not load 一"
step "the first candidate loaded 一 and played it"

keys Escape
within 10 test -s "$work/exit-code" || fail "Esc outside practice did not close the player"
[ "$(cat "$work/exit-code")" = 0 ] || fail "exit code $(cat "$work/exit-code"), not 0"
step "Esc closed the player with exit code 0"
echo "zepplayer: practice and look-up checks passed"
