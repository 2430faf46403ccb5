#!/usr/bin/env bash
# Installs, with apt-get, whatever of the build and test tools is missing.
# Needs root (or sudo); does nothing when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config python3
  googletest libgtest-dev libbenchmark-dev
  libstb-dev nlohmann-json3-dev zlib1g-dev
  clang libclang-rt-14-dev
  qt6-base-dev
  xvfb xauth imagemagick
  gcovr potrace hyperfine gifsicle
  libcanberra-dev libcanberra-pulse
  # The worksheet PDF (libharu) and its reading back in the tests; poppler-data
  # maps the built-in Japanese font's characters back to text, and the IPA
  # font draws them when a page is rendered (docs/). zlib checks PNG chunks.
  libhpdf-dev zlib1g-dev poppler-utils poppler-data fonts-ipafont-mincho
  # KanjiVG's stroke order for the import; the Debian package, its manual
  # pages and its checks.
  python3-kanjidraw scdoc lintian dpkg-dev zip unzip
  # The imported set is one SQLite file; the save dialog shows a character's
  # name, which needs a Japanese font.
  libsqlite3-dev fonts-ipafont-gothic
  # Finding a kanji by drawing it: Zinnia and its Japanese model, which the
  # Windows build ships in the ZIP too.
  libzinnia-dev tegaki-zinnia-japanese
  # The Windows build: the MinGW-w64 cross compilers (the -posix ones have
  # std::thread and std::mutex), Wine to run what they build, locales for
  # the Japanese UTF-8 locale under which Wine passes kanji arguments on, and
  # xdotool to drive the player's window under Xvfb.
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64 locales xdotool
  # libharu, SQLite and Zinnia for MinGW are built from Debian's source
  # packages (apt-get source, from dpkg-dev; tcl prepares SQLite's single-file
  # source), libharu against Debian's zlib for MinGW.
  dpkg-dev tcl libz-mingw-w64-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  echo "Generating the ja_JP.UTF-8 locale"
  "${sudo_cmd[@]}" sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
