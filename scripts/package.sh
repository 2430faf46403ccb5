#!/usr/bin/env bash
# package.sh [deb] [zip]: writes the packages into dist/ (both unless told):
#   zepplayer_VERSION_ARCH.deb     the Linux programs of build/, their manual
#                                  pages, the desktop entry and the kanji set;
#   zepplayer-VERSION-win64.zip    the Windows programs of build-windows/, the
#                                  samples, the same set and the handwriting
#                                  model, with the licences of both.
# Each build is brought up to date (build-windows/ is made by
# scripts/build-windows.sh the first time), and the set is imported again by
# scripts/import-kanji.sh whenever zepkit is newer than the last import.
# scripts/check-packages.sh checks what this writes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(deb zip)
bash scripts/install-deps.sh

version=$(sed -n 's/^project(kanji_suite VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
dist=$root/dist
mkdir -p "$dist"

# The Linux programs and the set they are packaged with.
prepare_linux() {
  [ -f build/build.ninja ] || cmake -S . -B build -G Ninja >/dev/null
  cmake --build build --target zepplayer felmar dorvik zepkit manual_pages
  bash scripts/import-kanji.sh build --if-stale
}

# What the build's cache says of a variable.
cached() { cmake -L -N "$1" 2>/dev/null | sed -n "s/^$2:[A-Z]*=//p"; }

# Installed-Size as dpkg counts it: each file's KiB rounded up, one per other entry.
installed_size() {
  find "$1" -path "$1/DEBIAN" -prune -o -mindepth 1 -printf '%y %s\n' |
    awk '{ n += ($1 == "f") ? int(($2 + 1023) / 1024) : 1 } END { print n }'
}

make_deb() {
  local arch stage doc work depends
  arch=$(dpkg --print-architecture)
  stage=$root/build/deb-root
  work=$root/build/deb-work
  rm -rf "$stage" "$work"
  DESTDIR=$stage cmake --install build --prefix /usr --strip >/dev/null
  gzip -9n "$stage"/usr/share/man/man1/*.1

  doc=$stage/usr/share/doc/zepplayer
  mkdir -p "$doc"
  cp packaging/debian/copyright "$doc/"
  # The licence texts that came with the set, wherever the set is installed.
  cp -r "$stage/usr/share/zepplayer/kanji-licenses" "$doc/licenses"
  sed -e "s/@VERSION@/$version/" \
      -e "s/@DATE@/$(date -R -u -d "@$(git log -1 --format=%ct)")/" packaging/debian/changelog.in |
    gzip -9n >"$doc/changelog.gz"
  install -D -m 644 packaging/debian/lintian-overrides "$stage/usr/share/lintian/overrides/zepplayer"
  find "$stage" -type d -exec chmod 755 {} + && find "$stage" -type f -exec chmod 644 {} +
  chmod 755 "$stage"/usr/bin/*

  # The shared libraries the programs load, as dpkg-shlibdeps finds them
  # (Zinnia's among them), and what is loaded without being linked: Qt's
  # platform plugins, a font with kanji for the player's dialogs and the
  # handwriting model that the look-up reads where Debian installs it.
  mkdir -p "$work/debian"
  printf 'Source: zepplayer\n\nPackage: zepplayer\nArchitecture: any\n' >"$work/debian/control"
  depends=$(cd "$work" && dpkg-shlibdeps -O "$stage"/usr/bin/zepplayer "$stage"/usr/bin/dorvik \
              "$stage"/usr/bin/zepkit 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
  depends="$depends, qt6-qpa-plugins, fonts-noto-cjk | fonts-ipafont-gothic, tegaki-zinnia-japanese"

  mkdir -p "$stage/DEBIAN"
  sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s/@DEPENDS@/$depends/" \
      -e "s/@INSTALLED_SIZE@/$(installed_size "$stage")/" packaging/debian/control.in \
      >"$stage/DEBIAN/control"
  local deb=$dist/zepplayer_${version}_$arch.deb
  dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
  echo "  $deb"
}

make_zip() {
  [ -f build-windows/build.ninja ] || bash scripts/build-windows.sh
  # The cross build packs the set that the Linux build imported.
  cmake -S . -B build-windows -DZEP_KANJI_DIR="$(cached build ZEP_KANJI_DIR)" >/dev/null
  cmake --build build-windows --target zepplayer felmar dorvik zepkit
  (cd build-windows && cpack -G ZIP >/dev/null)
  local zip=zepplayer-$version-win64.zip
  cp "build-windows/$zip" "$dist/$zip"
  echo "  $dist/$zip"
}

prepare_linux
for kind in "${kinds[@]}"; do
  case $kind in
    deb) make_deb ;;
    zip) make_zip ;;
    *) echo "package.sh: no package kind '$kind' (deb, zip)" >&2; exit 2 ;;
  esac
done
