#!/usr/bin/env bash
# Installs what is missing, builds, and opens the player on a bundled character.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh build

player=build/player/shell_qt/zepplayer
sample=samples/${1:-ei}.zep
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
echo "On a desktop, run: $player $sample"
