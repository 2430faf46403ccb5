#!/usr/bin/env bash
# build-windows.sh: cross-builds the suite for 64-bit Windows with MinGW-w64
# into build-windows/: dorvik.exe, felmar.exe, zepplayer.exe, the test
# programs (they run under Wine), and the ZIP a Windows user downloads,
# build-windows/zepplayer-VERSION-win64.zip.
#
# GoogleTest for MinGW is built once from the sources that Debian's
# googletest package ships; libharu (the worksheet PDF), SQLite (the
# imported set) and Zinnia (the handwriting recogniser) once from Debian's
# source packages, fetched here with apt-get source and never kept in the
# repository. Extra arguments go to CMake.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-windows
toolchain=$root/cmake/mingw-w64-x86_64.cmake
bash "$root/scripts/install-deps.sh"
source "$root/scripts/wine-env.sh"

gtest=$build/googletest
if [ ! -f "$gtest/lib/cmake/GTest/GTestConfig.cmake" ]; then
  echo "== GoogleTest for MinGW"
  cmake -S /usr/src/googletest -B "$build/googletest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$gtest" -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$build/googletest-build" --target install >/dev/null
fi

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
# apt-get source needs a source entry beside each binary one, and a fresh index.
ensure_deb_src() {
  if ! grep -rqsE '^(deb-src |Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
      copy=/etc/apt/sources.list.d/zep-src-$(basename "$list" .list).list
      [ -f "$list" ] && grep -q '^deb ' "$list" &&
        sed -n 's/^deb /deb-src /p' "$list" | "${sudo_cmd[@]}" tee "$copy" >/dev/null
    done
    for list in /etc/apt/sources.list.d/*.sources; do
      [ -f "$list" ] && sed 's/^Types: deb$/Types: deb-src/' "$list" |
        "${sudo_cmd[@]}" tee "/etc/apt/sources.list.d/zep-src-$(basename "$list")" >/dev/null
    done
  fi
  if [ -z "${sources_updated:-}" ]; then
    "${sudo_cmd[@]}" apt-get update -qq
    sources_updated=1
  fi
}

sqlite=$build/sqlite
if [ ! -f "$sqlite/amalgamation/sqlite3.c" ]; then
  echo "== SQLite from Debian's source package"
  ensure_deb_src
  rm -rf "$sqlite"
  mkdir -p "$sqlite/amalgamation"
  (cd "$sqlite" && apt-get source -qq sqlite3 >/dev/null 2>&1)
  # The one C file that SQLite's own build makes from its sources (with tclsh).
  (cd "$sqlite/amalgamation" && ../sqlite3-*/configure --disable-tcl >/dev/null &&
    make sqlite3.c >/dev/null)
fi

# Debian's zlib for MinGW, as a static library: the programs need no DLL.
zlib_static=/usr/x86_64-w64-mingw32/lib/libz.a
# debian_source PACKAGE FOLDER: unpacks PACKAGE's Debian source into FOLDER,
# its tree in $source_tree. Debian's patches come with it when the mirror has
# them; the upstream tarball alone builds too, once its checksum matches the
# .dsc that apt checked against the archive's signed index.
debian_source() {
  local package=$1 src=$2
  ensure_deb_src
  rm -rf "$src" && mkdir -p "$src"
  (cd "$src" && apt-get source -qq "$package" >/dev/null 2>&1) || true
  source_tree=$(find "$src" -mindepth 1 -maxdepth 1 -type d | head -1)
  if [ -z "$source_tree" ]; then
    (cd "$src" && tarball=$(ls "$package"_*.orig.tar.*) &&
      grep -q "$(sha256sum "$tarball" | cut -d' ' -f1) .* $tarball" "$package"_*.dsc &&
      tar xf "$tarball") || { echo "$package's source could not be fetched" >&2; exit 1; }
    source_tree=$(find "$src" -mindepth 1 -maxdepth 1 -type d | head -1)
  fi
}

haru=$build/libharu
if [ ! -f "$haru/lib/libhpdfs.a" ]; then
  echo "== libharu for MinGW, from Debian's source package"
  debian_source libharu "$build/libharu-source"
  # Without PNG support: the worksheet draws no pictures through libharu.
  cmake -S "$source_tree" -B "$build/libharu-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$haru" -DLIBHPDF_SHARED=OFF \
    -DLIBHPDF_STATIC=ON -DCMAKE_DISABLE_FIND_PACKAGE_PNG=ON -DZLIB_LIBRARY="$zlib_static" >/dev/null
  cmake --build "$build/libharu-build" --target install >/dev/null
fi

# Zinnia's library, without its command-line tools: the sources that its
# Makefile.am names for libzinnia, compiled straight into one archive (its
# configure predates MinGW-w64). On Windows it maps the model file with
# CreateFileMapping, behind HAVE_WINDOWS_H.
zinnia=$build/zinnia
if [ ! -f "$zinnia/lib/libzinnia.a" ]; then
  echo "== Zinnia for MinGW, from Debian's source package"
  debian_source zinnia "$build/zinnia-source"
  rm -rf "$zinnia" "$build/zinnia-build"
  mkdir -p "$zinnia/include" "$zinnia/lib" "$build/zinnia-build"
  # A static library's functions are neither imported from a DLL nor exported
  # from the programs: its header declares them plain, for the library too.
  sed -i 's/__declspec(dllimport)//' "$source_tree/zinnia.h"
  cp "$source_tree/zinnia.h" "$zinnia/include/"
  cp "$source_tree/COPYING" "$zinnia/COPYING"
  mapfile -t sources < <(sed -n '/^libzinnia_la_SOURCES/,/[^\\]$/p' "$source_tree/Makefile.am" |
    grep -o '[a-z_]*\.cpp' | sed "s|^|$source_tree/|")
  zinnia_version=$(sed -n 's/^AM_INIT_AUTOMAKE(zinnia, *\([^)]*\)).*/\1/p' "$source_tree/configure.in")
  # Its messages name a source file: as zinnia/FILE, not by this machine's path.
  (cd "$build/zinnia-build" && x86_64-w64-mingw32-g++-posix -O2 -DHAVE_WINDOWS_H \
    -DPACKAGE='"zinnia"' -DVERSION="\"$zinnia_version\"" -ffile-prefix-map="$source_tree"=zinnia \
    -c "${sources[@]}")
  x86_64-w64-mingw32-ar rcs "$zinnia/lib/libzinnia.a" "$build/zinnia-build"/*.o
fi

echo "== Windows build"
# stb_image and nlohmann-json are header-only, so the Linux copies serve the
# Windows build; each is seen through a folder of its own, as /usr/include
# would put the Linux C library's headers before MinGW's.
mkdir -p "$build/host-include"
ln -sfn /usr/include/nlohmann "$build/host-include/nlohmann"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DZEP_BUILD_BENCHMARKS=OFF -DGTest_DIR="$gtest/lib/cmake/GTest" \
  -DSTB_INCLUDE_DIR=/usr/include/stb -DNLOHMANN_JSON_INCLUDE_DIR="$build/host-include" \
  -DHPDF_INCLUDE_DIR="$haru/include" -DHPDF_LIBRARY="$haru/lib/libhpdfs.a" \
  -DZLIB_LIBRARY="$zlib_static" -DZEP_SQLITE_AMALGAMATION="$sqlite/amalgamation" \
  -DZINNIA_INCLUDE_DIR="$zinnia/include" -DZINNIA_LIBRARY="$zinnia/lib/libzinnia.a" \
  -DZINNIA_LICENSE="$zinnia/COPYING" \
  "$@" >/dev/null
cmake --build "$build"
(cd "$build" && cpack -G ZIP >/dev/null)
echo "  $(ls "$build"/zepplayer-*-win64.zip)"
