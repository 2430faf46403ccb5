#!/usr/bin/env bash
# check-windows-player.sh [WINDOWS_BUILD [LINUX_BUILD]]: drives zepplayer.exe
# under Wine on a virtual screen and compares it with the Linux build.
#
# Builds default to build-windows/ and build/ (needs the Linux targets
# player_snapshot and zepkit). With a bundled character on its command line,
# the window must open and show the same 254 by 254 canvas that the Linux
# build composes; Save BMP must write the Linux build's 8,190 bytes, and with
# the next file type the Linux build's animated GIF under the script's name;
# Play must show red frames and return to the still picture; ">" must show
# stroke 0 as the Linux build does, with the counter set; Ctrl+T must start
# practice, where the dot dragged with the mouse is accepted and a stroke out
# of order shows red ink, and Esc must leave it for the still picture;
# Ctrl+L must show the look-up window, where the first candidate for 一
# drawn on the canvas must load 一; Esc must then end the program with exit
# code 0. Then
# at 144 and 192 DPI the canvas must be the same picture, scaled by the DPI
# over 96 rounded down, framed by the window's gray and no control, and Esc
# while it plays must end the program with exit code 0.
#
# Where PulseAudio is installed, the six clicks of the animation must be heard
# on a silent output of its own.
#
# Needs wine, Xvfb, xdotool and ImageMagick. WINEPREFIX defaults to a prefix
# of its own in the Windows build folder, created on the first run. The DPI
# is set in the prefix for the check and back to 96 at the end. Look-up reads
# the handwriting model (tegaki-zinnia-japanese) and the Linux build's set,
# both copied into the prefix's %LOCALAPPDATA%\zepplayer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
win_build=$root/${1:-build-windows}
linux_build=$root/${2:-build}

# The build's own program: the package's copy may be older.
exe=$win_build/bin/zepplayer.exe
snapshot=$linux_build/tools/player_snapshot
[ -f "$exe" ] || { echo "no $exe" >&2; exit 1; }
[ -x "$snapshot" ] || { echo "no $snapshot: build the Linux target player_snapshot" >&2; exit 1; }
zepkit=$linux_build/bin/zepkit
[ -x "$zepkit" ] || { echo "no $zepkit: build the Linux target zepkit" >&2; exit 1; }
model=/usr/share/tegaki/models/zinnia/handwriting-ja.model
[ -f "$model" ] || { echo "no $model: apt-get install tegaki-zinnia-japanese" >&2; exit 1; }
[ -f "$linux_build/share/zepplayer/kanji.sqlite" ] ||
  { echo "no $linux_build/share/zepplayer/kanji.sqlite: bash scripts/import-kanji.sh" >&2; exit 1; }
for tool in wine Xvfb xdotool convert compare; do
  command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done

export WINEDEBUG=-all
# No offers to install Mono or Gecko, which the player does not use.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
own_prefix=
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX=$win_build/wine-player-check
  own_prefix=1
fi
work=$(mktemp -d)
xvfb_pid=
pulse_pid=
dpi_changed=
cleanup() {
  [ -s "$work/player.pid" ] && kill "$(cat "$work/player.pid")" 2>/dev/null || true
  [ -s "$work/recorder.pid" ] && kill "$(cat "$work/recorder.pid")" 2>/dev/null || true
  [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null || true
  # A shared prefix gets its usual DPI back, whatever happened.
  [ -n "$dpi_changed" ] && set_dpi 96 || true
  # A prefix of our own has nothing else running in it.
  [ -n "$own_prefix" ] && wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

started=$(date +%s.%N)
step() {
  awk -v t="$(date +%s.%N)" -v s="$started" -v m="$1" \
    'BEGIN { printf "  %-64s %6.1f s\n", m, t - s }'
}
# The last screenshot stays beside the build, to look at.
fail() {
  echo "FAILED: $*" >&2
  if [ -f "$work/shot.png" ]; then
    cp "$work/shot.png" "$win_build/check-windows-player-failed.png"
    echo "last screenshot: $win_build/check-windows-player-failed.png" >&2
  fi
  exit 1
}

source "$root/scripts/screen.sh"

start_screen 1600x1200 "$work" || fail "Xvfb did not start"
wine cmd /c exit >/dev/null 2>&1
step "Wine ready on display $DISPLAY"

# Look-up's handwriting model and the Linux build's set, in the player's data
# folder under %LOCALAPPDATA%.
local_data=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')")/zepplayer
mkdir -p "$local_data"
cp "$model" "$linux_build/share/zepplayer/kanji.sqlite" "$local_data"/

# With PulseAudio at hand, a sound server of our own with a silent output
# whose sound is recorded, to hear the clicks.
if command -v pulseaudio >/dev/null && command -v parec >/dev/null; then
  mkdir "$work/pulse"
  XDG_RUNTIME_DIR=$work/pulse pulseaudio -n --daemonize=no --exit-idle-time=-1 -F /dev/null \
    --load="module-null-sink sink_name=silent" \
    --load="module-native-protocol-unix socket=$work/pulse/native" >/dev/null 2>&1 &
  pulse_pid=$!
  export PULSE_SERVER=unix:$work/pulse/native
  within 10 pactl info >/dev/null 2>&1 || fail "PulseAudio did not start"
  step "PulseAudio ready"
fi

# The Linux build's pictures of the character.
cp "$root"/samples/ei.zep "$root"/samples/ei-*.rgn "$work"/
# The same character under a name in kanji, which only the wide command line
# and wide file names carry whole.
cp "$work/ei.zep" "$work/永.zep"
for rgn in "$work"/ei-*.rgn; do cp "$rgn" "$work/永-${rgn##*/ei-}"; done
mkdir "$work/linux"
"$snapshot" "$work/ei.zep" "$work/linux"
"$zepkit" gif "$work/ei.zep" "$work/linux/anim.gif"
[ "$(cat "$work/linux/next-counter.txt")" = 0 ] || fail "the Linux build's counter after > is not 0"
step "Linux reference composed"

set_dpi() {
  dpi_changed=1
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}

# Starts the player on the script named $1; sets window to its dialog.
start_player() {
  rm -f "$work/exit-code" "$work/player.pid"
  (
    cd "$work"
    # A UTF-8 locale, so that Wine reads the kanji of the command line.
    LC_ALL=C.UTF-8 wine "$exe" "$1" &
    echo $! >"$work/player.pid"
    code=0
    wait $! || code=$?
    echo "$code" >"$work/exit-code"
  ) >/dev/null 2>&1 &
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^ZEP Player$' | head -1) ||
    fail "the player's window did not open"
}

# Keys to a window; on a screen without a window manager the focus is given
# first.
keys() {
  local target=$1; shift
  xdotool windowfocus --sync "$target" 2>/dev/null || xdotool windowfocus "$target"
  xdotool key --delay 50 "$@"
}

# The dialog's X window is its client area: the canvas is its top left square.
# Without the window, import would wait for a window to be picked by mouse.
shoot() { timeout 10 import -window "$window" "$work/shot.png" 2>/dev/null; }
crop() { convert "$work/shot.png" -crop "$1" +repage "$2"; }
differing_pixels() { compare -metric AE "$1" "$2" null: 2>&1 || true; }
canvas_is() {
  shoot && crop "${side}x${side}+0+0" "$work/canvas.png" &&
    [ "$(differing_pixels "$work/canvas.png" "$1")" = 0 ]
}
colours() { convert "$1" -format %c histogram:info:- | sed 's/.*#\([0-9A-F]\{6\}\).*/\1/'; }
has_red() {
  shoot && crop "${side}x${side}+0+0" "$work/canvas.png" &&
    colours "$work/canvas.png" | grep -qx FF0000
}

# The scaled Linux pictures, for a whole scale factor.
reference() {
  convert "$work/linux/$1.bmp" -alpha off -scale "$((100 * scale))%" "$work/$1-$scale.png"
  echo "$work/$1-$scale.png"
}

ended() { test -s "$work/exit-code"; }
close_player() {
  keys "$window" Escape
  within 10 ended || { keys "$window" Escape; within 10 ended; } ||
    fail "Esc did not end the player"
  [ "$(cat "$work/exit-code")" = 0 ] || fail "exit code $(cat "$work/exit-code"), not 0"
}

# The counter's text as pixels: its rectangle of 25 by 15 dialog units at
# (180, 105), mapped through the client size of 210 by 197 units, less a
# margin for rounding.
counter_picture() {
  local w h
  w=$(identify -format %w "$work/shot.png")
  h=$(identify -format %h "$work/shot.png")
  crop "$((w * 25 / 210 - 4))x$((h * 15 / 197 - 4))+$((w * 180 / 210 + 2))+$((h * 105 / 197 + 2))" \
    "$1"
}
counter_differs_from() {
  shoot && counter_picture "$work/counter-now.png" &&
    [ "$(differing_pixels "$1" "$work/counter-now.png")" != 0 ]
}

set_dpi 96
scale=1
side=254
start_player 永.zep
step "window opened at 96 DPI, with a script named in kanji"
# Recording from well before Play, so that a slow start of the recorder
# cannot miss the first click.
if [ -n "$pulse_pid" ]; then
  parec -d silent.monitor --format=s16le --rate=44100 --channels=1 --raw --latency-msec=20 \
    >"$work/sound.raw" &
  echo $! >"$work/recorder.pid"
fi
canvas=$(reference canvas)
within 10 canvas_is "$canvas" ||
  fail "the canvas differs from the Linux build's in" \
    "$(differing_pixels "$work/canvas.png" "$canvas") pixels"
step "canvas equals the Linux build's"

# Sets save to the save dialog once it shows. Wine maps the dialog before it
# fills the file name and takes keys: a key sent at once can be lost.
open_save_dialog() {
  save=$(timeout 20 xdotool search --sync --onlyvisible --name '^Save as BMP$' | head -1) &&
    sleep 0.5
}

# Focus starts on Play; Save BMP is one step back in the tab order.
keys "$window" shift+Tab space
open_save_dialog || fail "the save dialog did not open"
keys "$save" ctrl+a
# Into another folder: the region files, named relative to the player's
# folder, must still be found afterwards.
mkdir "$work/out"
xdotool type --delay 10 "$(cd "$work/out" && winepath -w saved.bmp)"
xdotool key Return
saved_whole() { [ "$(stat -c %s "$work/out/saved.bmp" 2>/dev/null)" = 8190 ]; }
within 10 saved_whole || fail "Save BMP wrote no 8,190-byte file"
cmp -s "$work/out/saved.bmp" "$work/linux/saved.bmp" || fail "Save BMP differs from the Linux build"
step "Save BMP wrote the Linux build's 8,190 bytes into another folder"

save_closed() { ! xdotool search --onlyvisible --name '^Save as BMP$' >/dev/null; }
within 5 save_closed || fail "the save dialog stayed open"

# Save BMP again, as the next type: the script's name is proposed without an
# extension, and the dialog gives it the type's. The dialog opens in the
# folder it last saved to.
keys "$window" space
open_save_dialog || fail "the save dialog did not open again"
keys "$save" Tab Down Return
gif_saved() { cmp -s "$work/out/永.gif" "$work/linux/anim.gif"; }
within 10 gif_saved || fail "Save BMP as an animated GIF did not write the Linux build's GIF to out/永.gif"
within 5 save_closed || fail "the save dialog stayed open"
step "Save BMP as an animated GIF wrote the Linux build's GIF under the script's name"

# Play, forward from Save BMP.
keys "$window" Tab space
within 10 has_red || fail "no red frame seen while playing"
step "Play: red frames seen"
within 30 canvas_is "$canvas" || fail "the animation did not return to the still picture"
step "Play ran to the end"
if [ -n "$pulse_pid" ]; then
  # The last click comes just before the end, and the sound lags the picture.
  sleep 1.5
  kill "$(cat "$work/recorder.pid")"
  rm "$work/recorder.pid"
  # A click is a burst louder than 3,000 after 200 ms of less; one plays
  # 200 ms after the start and one after each of the five pauses.
  clicks=$(od -An -v -td2 -w2 "$work/sound.raw" | awk '
    { v = $1 < 0 ? -$1 : $1; if (v > 3000) { if (!n || NR - last > 8820) n++; last = NR } }
    END { print n + 0 }')
  [ "$clicks" = 6 ] || fail "$clicks clicks heard while playing, not 6"
  step "Play: 6 clicks heard"
fi

# ">" is three steps on from Play.
shoot && counter_picture "$work/counter-empty.png"
keys "$window" Tab Tab Tab space
next=$(reference next-canvas)
within 10 canvas_is "$next" || fail "> does not show stroke 0 as the Linux build does"
counter_picture "$work/counter-0.png"
[ "$(colours "$work/counter-empty.png" | wc -l)" = 1 ] || fail "the counter was not empty before >"
[ "$(colours "$work/counter-0.png" | wc -l)" -gt 1 ] || fail "> left the counter empty"
# The next ">" shows another number, and "<" brings back the same "0".
keys "$window" space
within 10 counter_differs_from "$work/counter-0.png" ||
  fail "the counter did not change from stroke 0 to stroke 1"
keys "$window" shift+Tab space
within 10 canvas_is "$next" || fail "< did not go back to stroke 0"
counter_picture "$work/counter-back.png"
[ "$(differing_pixels "$work/counter-0.png" "$work/counter-back.png")" = 0 ] ||
  fail "the counter at stroke 0 differs after > and <"
step "> shows stroke 0 with the counter set"

# Practice: Ctrl+T shows the character in light grey; the dot dragged with
# the mouse is accepted and turns black; the fourth stroke written next shows
# its ink in red; Esc leaves practice for the still picture.
canvas_has() {
  shoot && crop "${side}x${side}+0+0" "$work/canvas.png" &&
    colours "$work/canvas.png" | grep -qx "$1"
}
pixel_is() {
  shoot && crop "${side}x${side}+0+0" "$work/canvas.png" &&
    [ "$(convert "$work/canvas.png" -format "%[hex:p{$1,$2}]" info:)" = "$3" ]
}
drag() {
  xdotool mousemove --window "$window" "$1" "$2" mousedown 1
  local n
  for n in $(seq 1 12); do
    xdotool mousemove --window "$window" $(($1 + ($3 - $1) * n / 12)) $(($2 + ($4 - $2) * n / 12))
    sleep 0.02
  done
  xdotool mouseup 1
}
keys "$window" ctrl+t
within 10 canvas_has D7D7D7 || fail "Ctrl+T did not show the character in light grey"
canvas_has 000000 && fail "tracing shows something in black before a stroke is written"
drag 110 22 128 42
within 10 pixel_is 120 32 000000 || fail "the dot dragged over stroke 0 was not accepted"
step "practice: Ctrl+T, the dot dragged, accepted and black"
drag 204 80 146 124
within 10 pixel_is 175 102 FF0000 || fail "a stroke written out of order showed no red ink"
step "practice: a stroke written out of order shows red ink"
keys "$window" Escape
within 10 canvas_is "$canvas" || fail "Esc did not leave practice for the still picture"
step "practice: Esc left it for the still picture"

# Look-up: Ctrl+L clears the canvas and shows the tool window; 一 drawn
# brings candidates; the first one, 52 pixels square at (8, 34) in the tool
# window, loads 一 and plays it.
tool_window() { xdotool search --onlyvisible --name '^Look up a kanji$' | head -1; }
tool_shown() { [ -n "$(tool_window)" ]; }
tool_hidden() { ! tool_shown; }
candidate_shown() {
  timeout 10 import -window "$(tool_window)" "$work/tool.png" 2>/dev/null &&
    convert "$work/tool.png" -crop 36x36+16+42 +repage -threshold 50% -format %c histogram:info:- |
    grep -q "#000000"
}
shows_ichi() {
  pixel_is 127 60 FFFFFF && pixel_is 60 125 000000 && ! canvas_has FF0000
}
keys "$window" ctrl+l
within 20 tool_shown || fail "Ctrl+L showed no look-up window"
drag 30 127 224 127
within 30 candidate_shown || fail "no candidate after 一 was drawn"
step "look-up: Ctrl+L, 一 drawn, candidates in the tool window"
xdotool mousemove --window "$(tool_window)" 34 60 click 1
within 10 tool_hidden || fail "choosing a candidate did not leave look-up"
within 20 shows_ichi || fail "the first candidate for 一 did not load 一"
step "look-up: the first candidate loaded 一 and played it"

width_at_96=$(identify -format %w "$work/shot.png")
close_player
step "Esc ended the player with exit code 0"

for dpi in 144 192; do
  set_dpi "$dpi"
  scale=$((dpi / 96))
  side=$((254 * scale))
  start_player ei.zep
  step "window opened at $dpi DPI"
  canvas=$(reference canvas)
  within 10 canvas_is "$canvas" || fail "at $dpi DPI the canvas is not the picture scaled by $scale"
  shoot
  width=$(identify -format %w "$work/shot.png")
  [ "$width" -ge $((width_at_96 * dpi * 9 / 960)) ] ||
    fail "at $dpi DPI the dialog did not grow with the DPI: $width pixels, $width_at_96 at 96 DPI"
  # Right of and below the canvas: only the window's gray.
  crop "1x$((side + 1))+${side}+0" "$work/right.png"
  crop "${side}x1+0+${side}" "$work/below.png"
  [ "$(colours "$work/right.png")" = 808080 ] && [ "$(colours "$work/below.png")" = 808080 ] ||
    fail "at $dpi DPI something covers the canvas's frame"
  # Closed while it plays: the animation must let the program end.
  keys "$window" space
  within 10 has_red || fail "at $dpi DPI no red frame seen while playing"
  step "$dpi DPI: canvas scaled by $scale, dialog $width wide, red frames seen"
  close_player
  step "$dpi DPI: Esc while playing ended the player with exit code 0"
done
echo "zepplayer.exe: all checks passed"
