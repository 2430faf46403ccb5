#!/usr/bin/env bash
# Installs, with apt-get, whatever of the build and test tools is missing.
# Needs root (or sudo); does nothing when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libbenchmark-dev
  libstb-dev nlohmann-json3-dev
  clang libclang-rt-14-dev
  qt6-base-dev
  xvfb xauth imagemagick
  gcovr potrace hyperfine gifsicle
  libcanberra-dev libcanberra-pulse
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
