#!/usr/bin/env bash
# run.sh [NAME | CHARACTER]: installs what is missing, builds, and opens the
# player on a bundled character (samples/NAME.zep, ei by default) or on any
# imported one (bash scripts/run.sh 右), importing the set on first use.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh build

player=build/bin/zepplayer
sample=samples/${1:-ei}.zep
if [ ! -f "$sample" ]; then
  # The player finds the set beside itself, in build/share/zepplayer.
  [ -f build/share/zepplayer/kanji.sqlite ] || bash scripts/import-kanji.sh build
  sample=$1
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$player" "$sample"
fi

echo "There is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the player"
echo "cannot open its window. Running it under a virtual X server instead and taking a"
echo "screenshot of it:"
shot=$root/build/zepplayer.png
xvfb-run -a -s "-screen 0 640x480x24" sh -c \
  "'$player' '$sample' & sleep 3; import -window root '$shot'; kill \$!" 2>/dev/null
echo "  $shot"
echo "On a desktop, run: bash scripts/run.sh ${1:-ei}"
