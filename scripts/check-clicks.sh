#!/usr/bin/env bash
# check-clicks.sh [SCRIPT.zep] [PLAYS]: checks that the player's click sounds
# at every pause. Starts a private PulseAudio server whose only output is a
# null sink, records that sink's monitor while play_clicks presses Play PLAYS
# times (2 unless given) on SCRIPT (samples/ei.zep unless given) in the real
# window, then counts the clicks in the recording against the clicks the
# animation asked for. Prints the times of both, how far the heard ones stray
# from theirs, and both counts; exits 1 when a click is missing or extra.
#
# Needs pulseaudio and pulseaudio-utils, and a build in build/ (or BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
script=${1:-$root/samples/ei.zep}
plays=${2:-2}
player=${BUILD_DIR:-$root/build}/tests/shell_qt/play_clicks
[ -x "$player" ] || { echo "check-clicks: build play_clicks first ($player)" >&2; exit 2; }
for tool in pulseaudio pactl parec; do
  command -v "$tool" >/dev/null || { echo "check-clicks: $tool is missing (apt-get install pulseaudio pulseaudio-utils)" >&2; exit 2; }
done

# The server, its socket and its settings live in a folder of our own, so
# neither a desktop's sound server nor another run is touched.
work=$(mktemp -d)
server_pid=
recorder_pid=
cleanup() {
  [ -z "$recorder_pid" ] || kill "$recorder_pid" 2>/dev/null || true
  [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -m 700 "$work/run" "$work/home"
export HOME=$work/home XDG_RUNTIME_DIR=$work/run PULSE_SERVER=unix:$work/run/native
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-target=file:"$work/server.log" \
  -L "module-native-protocol-unix socket=$work/run/native auth-anonymous=1" \
  -L "module-null-sink sink_name=clicks" &
server_pid=$!
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || { echo "check-clicks: no PulseAudio server" >&2; cat "$work/server.log" >&2; exit 2; }

# Mono 16-bit samples at the click's own rate, with a short latency.
parec -d clicks.monitor --format=s16le --rate=44100 --channels=1 --raw --latency-msec=10 \
  >"$work/heard.raw" &
recorder_pid=$!
# The recording can take a second to begin on a busy machine.
for _ in $(seq 100); do [ -s "$work/heard.raw" ] && break; sleep 0.05; done
[ -s "$work/heard.raw" ] || { echo "check-clicks: the recording did not start" >&2; exit 2; }
"$player" "$script" "$plays" >"$work/asked.txt" 2>"$work/player.log" || { cat "$work/player.log" >&2; exit 2; }
sleep 0.3
kill "$recorder_pid"
wait "$recorder_pid" 2>/dev/null || true
recorder_pid=

# A click starts where a sample first passes a tenth of its loudness; its two
# bursts and its tail are over within 150 ms, and pauses are 500 ms apart.
od -An -v -td2 -w2 "$work/heard.raw" | awk '
  BEGIN { rate = 44100; threshold = 900; quiet = int(0.25 * rate); last = -quiet }
  { v = $1 < 0 ? -$1 : $1
    if (v > threshold && NR - last >= quiet) { n++; times = times sprintf(" %.3f", NR / rate); last = NR } }
  END { print n + 0; print times }' >"$work/heard.txt"

# Both lists as times after their own first click, and how far apart they are.
{ read -r asked; read -r asked_at; } <"$work/asked.txt"
{ read -r heard; read -r heard_at; } <"$work/heard.txt"
echo "asked for at (s):$(echo "$asked_at" | awk '{ for (i = 1; i <= NF; i++) printf " %.3f", $i - $1 }')"
echo "heard at (s):    $(echo "$heard_at" | awk '{ for (i = 1; i <= NF; i++) printf " %.3f", $i - $1 }')"
if [ "$asked" -eq "$heard" ] && [ "$heard" -gt 0 ]; then
  printf '%s\n%s\n' "$asked_at" "$heard_at" | awk '
    NR == 1 { for (i = 1; i <= NF; i++) a[i] = $i - $1 }
    NR == 2 { for (i = 1; i <= NF; i++) { d = ($i - $1) - a[i]; d = d < 0 ? -d : d; if (d > m) m = d } }
    END { printf "the clicks keep their times to within %.0f ms of the first\n", m * 1000 }'
fi
echo "check-clicks: $(basename "$script"), $plays plays: asked for $asked clicks, heard $heard"
[ "$asked" -eq "$heard" ]
