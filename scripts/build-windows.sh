#!/usr/bin/env bash
# build-windows.sh: cross-builds the suite for 64-bit Windows with MinGW-w64
# into build-windows/: dorvik.exe, felmar.exe, zepplayer.exe, the test
# programs (they run under Wine), and the ZIP a Windows user downloads,
# build-windows/zepplayer-VERSION-win64.zip.
#
# GoogleTest for MinGW is built once from the sources that Debian's
# googletest package ships; libharu (the worksheet PDF) and SQLite (the
# imported set) once from Debian's source packages, fetched here with
# apt-get source and never kept in the repository. Extra arguments go to CMake.
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
haru=$build/libharu
if [ ! -f "$haru/lib/libhpdfs.a" ]; then
  echo "== libharu for MinGW, from Debian's source package"
  ensure_deb_src
  src=$build/libharu-source
  rm -rf "$src" && mkdir -p "$src"
  # Debian's patches come with it when the mirror has them; the upstream
  # tarball alone builds too, once its checksum matches the .dsc that apt
  # checked against the archive's signed index.
  (cd "$src" && apt-get source -qq libharu >/dev/null 2>&1) || true
  tree=$(find "$src" -mindepth 1 -maxdepth 1 -type d | head -1)
  if [ -z "$tree" ]; then
    (cd "$src" && tarball=$(ls libharu_*.orig.tar.*) &&
      grep -q "$(sha256sum "$tarball" | cut -d' ' -f1) .* $tarball" libharu_*.dsc &&
      tar xf "$tarball") || { echo "libharu's source could not be fetched" >&2; exit 1; }
    tree=$(find "$src" -mindepth 1 -maxdepth 1 -type d | head -1)
  fi
  # Without PNG support: the worksheet draws no pictures through libharu.
  cmake -S "$tree" -B "$build/libharu-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$haru" -DLIBHPDF_SHARED=OFF \
    -DLIBHPDF_STATIC=ON -DCMAKE_DISABLE_FIND_PACKAGE_PNG=ON -DZLIB_LIBRARY="$zlib_static" >/dev/null
  cmake --build "$build/libharu-build" --target install >/dev/null
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
  "$@" >/dev/null
cmake --build "$build"
(cd "$build" && cpack -G ZIP >/dev/null)
echo "  $(ls "$build"/zepplayer-*-win64.zip)"
