#!/usr/bin/env bash
# check-packages.sh: checks the packages that scripts/package.sh wrote into dist/.
#   the .deb: its Depends, the files a user needs (the four programs and their
#     manual pages, the desktop entry, MIME type and icon, the samples, the
#     copyright and the set's licences), lintian without errors, and, unpacked
#     into a scratch folder, zepkit drawing 右 from the set it carries;
#   the ZIP: one folder with the four programs, the samples, the README, the
#     set's licences and the handwriting model with its and Zinnia's, and
#     zepkit.exe drawing 右 from the unzipped folder, looking up a drawn 一
#     there with the model it carries, and zepplayer.exe showing 右 there,
#     under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
version=$(sed -n 's/^project(kanji_suite VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=dist/zepplayer_${version}_$(dpkg --print-architecture).deb
zip=dist/zepplayer-$version-win64.zip
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
report() {  # report NAME STATUS: one line per check, failures counted
  if [ "$2" = ok ]; then echo "  ok    $1"; else echo "  FAIL  $1: $2"; failures=$((failures + 1)); fi
}
# listed NAME LISTING PATTERN...: each pattern (an extended regular expression,
# its dots left loose) matches a whole line.
listed() {
  local name=$1 listing=$2 missing=()
  shift 2
  for pattern in "$@"; do grep -Eq "^$pattern\$" "$listing" || missing+=("$pattern"); done
  [ ${#missing[@]} -eq 0 ] && report "$name" ok || report "$name" "missing ${missing[*]}"
}
# A PNG of the stroke-order sheet of 右, as the program draws it from its set.
drew_migi() { [ "$(head -c 4 "$1" 2>/dev/null | tail -c 3)" = PNG ] && echo ok || echo "no sheet"; }

echo "== $deb"
dpkg-deb --contents "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' >"$work/deb.txt"
listed "the programs, their manual pages and the desktop files" "$work/deb.txt" \
  /usr/bin/{zepplayer,felmar,dorvik,zepkit} \
  /usr/share/man/man1/{zepplayer,felmar,dorvik,zepkit}.1.gz \
  /usr/share/applications/zepplayer.desktop /usr/share/mime/packages/zepplayer.xml \
  /usr/share/icons/hicolor/64x64/apps/zepplayer.png /usr/share/zepplayer/samples/ei.zep \
  /usr/share/zepplayer/kanji.sqlite
listed "the copyright, the changelog and the set's licences" "$work/deb.txt" \
  /usr/share/doc/zepplayer/copyright /usr/share/doc/zepplayer/changelog.gz \
  /usr/share/doc/zepplayer/licenses/KanjiVG.txt /usr/share/doc/zepplayer/licenses/ARPHICPL.TXT
depends=$(dpkg-deb --field "$deb" Depends)
missing=()
for p in libc6 libqt6widgets6 libzinnia qt6-qpa-plugins "fonts-noto-cjk | fonts-ipafont-gothic" \
  tegaki-zinnia-japanese; do
  [[ $depends == *"$p"* ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && report "Depends" ok || report "Depends" "no ${missing[*]}: $depends"
if lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1; then
  report "lintian: no errors" ok
else
  report "lintian: no errors" "$(grep '^E:' "$work/lintian.txt" | head -5 | tr '\n' ' ')"
fi
dpkg-deb --extract "$deb" "$work/deb"
XDG_DATA_HOME=$work/none XDG_DATA_DIRS=$work/deb/usr/share \
  "$work/deb/usr/bin/zepkit" sheet 右 "$work/deb-migi.png" >/dev/null 2>&1 || true
report "the package's zepkit draws 右 from the package's set" "$(drew_migi "$work/deb-migi.png")"

echo "== $zip"
unzip -Z1 "$zip" >"$work/zip.txt"
folder=zepplayer-$version-win64
listed "one folder: the programs, the samples, the README, the set's licences" "$work/zip.txt" \
  "$folder/"{zepplayer,felmar,dorvik,zepkit}.exe "$folder/README.txt" \
  "$folder/samples/ei.zep" "$folder/kanji.sqlite" "$folder/.*licenses/KanjiVG.txt" \
  "$folder/.*licenses/ARPHICPL.TXT"
listed "the handwriting model beside the set, its licence and Zinnia's" "$work/zip.txt" \
  "$folder/handwriting-ja.model" "$folder/.*licenses/"{tegaki-zinnia-japanese,LGPL-2.1,Zinnia}.txt
unzip -q "$zip" -d "$work/zip"
source scripts/wine-env.sh
(cd "$work/zip/$folder" && LC_ALL=C.UTF-8 LOCALAPPDATA='C:\nowhere' \
  wine zepkit.exe sheet 右 migi.png >/dev/null 2>&1) || true
report "zepkit.exe draws 右 in the unzipped folder" "$(drew_migi "$work/zip/$folder/migi.png")"
echo '{"strokes": [[[40, 127], [127, 126], [214, 127]]]}' > "$work/zip/$folder/one.jsonl"
found=$(cd "$work/zip/$folder" && LC_ALL=C.UTF-8 LOCALAPPDATA='C:\nowhere' \
  wine zepkit.exe lookup one.jsonl 2>/dev/null) || true
case $found in
  '{"candidates":["一",'*) report "zepkit.exe looks up a drawn 一 in the unzipped folder" ok ;;
  *) report "zepkit.exe looks up a drawn 一 in the unzipped folder" "got '$found'" ;;
esac

# zepplayer.exe 右 in the unzipped folder, on a screen of its own: the set's
# character fills the white canvas, where a character not found leaves it
# grey ("Drop a ZEP file") and only the buttons white.
white_pixels() {
  convert "$1" -fill black +opaque white -fill white -opaque white -format '%[fx:int(w*h*mean)]' info:
}
source scripts/screen.sh
start_screen 800x600 "$work" || true
(
  export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
  # Wine's processes started without a screen would keep the window off this one.
  wineserver -k 2>/dev/null || true
  wine cmd /c exit >/dev/null 2>&1
  cd "$work/zip/$folder"
  LC_ALL=C.UTF-8 LOCALAPPDATA='C:\nowhere' wine zepplayer.exe 右 >/dev/null 2>&1 &
  sleep 8
  import -window root "$work/zip-player.png"
  wineserver -k 2>/dev/null || true
)
kill "$xvfb_pid" 2>/dev/null || true
if [ -f "$work/zip-player.png" ] && [ "$(white_pixels "$work/zip-player.png")" -gt 40000 ]; then
  report "zepplayer.exe shows 右 in the unzipped folder" ok
else
  report "zepplayer.exe shows 右 in the unzipped folder" "no character on the canvas"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures package checks failed" >&2
  exit 1
fi
