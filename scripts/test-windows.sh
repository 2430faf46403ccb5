#!/usr/bin/env bash
# test-windows.sh: the Windows stage of the test suite.
#   1. the cross build (scripts/build-windows.sh: programs, tests, ZIP);
#   2. the test suite under Wine;
#   3. dorvik.exe and felmar.exe against the Linux build on the same inputs:
#      output (after line ends and code page), exit codes and felmar's files;
#   4. the player's window under Xvfb (scripts/check-windows-player.sh).
# The Linux build in build/ is made first when it is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
start=$SECONDS
bash scripts/build-windows.sh
[ -x build/bin/dorvik ] && [ -x build/bin/felmar ] && [ -x build/tools/draw_strokes ] ||
  bash scripts/build.sh build
source scripts/wine-env.sh
echo "== built in $((SECONDS - start)) s"

echo "== test suite under Wine"
# Wine turns kanji arguments into text only under a UTF-8 locale.
LC_ALL=C.UTF-8 ctest --test-dir build-windows --output-on-failure -j2
echo "== tests done at $((SECONDS - start)) s"

work=$root/build-windows/compare
rm -rf "$work"
mkdir -p "$work"
failures=0
report() {  # report NAME STATUS: one line per comparison, failures counted
  if [ "$2" = ok ]; then echo "  ok    $1"; else echo "  DIFF  $1: $2"; failures=$((failures + 1)); fi
}
# compare NAME EXPECTED_FILE STATUS WIN_STATUS: the Windows program's output
# (in windows.out, CR LF ends allowed) and exit code against the expected ones.
compare() {
  if ! tr -d '\r' <"$work/windows.out" | cmp -s - "$2"; then
    report "$1" "output differs"
  elif [ "$4" != "$3" ]; then
    report "$1" "exit code $4, not $3"
  else
    report "$1" ok
  fi
}
# The words of one case: "a|b" is the two words a and b, "" none at all.
split_words() { words=(); [ -z "$1" ] || IFS='|' read -r -a words <<<"$1|"; }
# What a console window shows: Wine's terminal codes and carriage returns taken out.
plain_text() { sed -e 's/\x1b\[[0-9;?]*[A-Za-z]//g' | tr -d '\r'; }

echo "== dorvik.exe against dorvik"
# Linux under the C locale writes UTF-8. Windows writes its code page (1252
# under C.UTF-8, 932 under ja_JP.UTF-8) when that holds all of the output,
# else UTF-8; iconv says which to expect.
dorvik_cases=(
  "" "-v" "漢字|--help" "--version|--help" "字|-v" "-h" "漢|字" "-v||字"
  "-v|--verbose|-v|漢字|漢字" "-v|々|ABCxyz|ひらがな|カタカナ|０１２|123"
  "-v|一右雨円王|引羽雲園遠|悪安暗医委|愛案以衣位|圧囲移因永|異遺域宇映|璽鬱"
  "-v|😀𠮷" "Grade|-v|／|é" "--Help|-V"
)
for words_line in "${dorvik_cases[@]}"; do
  split_words "$words_line"
  status=0
  LC_ALL=C build/bin/dorvik "${words[@]}" >"$work/linux.out" || status=$?
  for locale in C.UTF-8:CP1252 ja_JP.UTF-8:CP932; do
    code_page=${locale#*:}
    expected=$work/expected.out
    iconv -f UTF-8 -t "$code_page" "$work/linux.out" >"$expected" 2>/dev/null ||
      cp "$work/linux.out" "$expected"
    win_status=0
    LC_ALL=${locale%:*} wine build-windows/bin/dorvik.exe "${words[@]}" >"$work/windows.out" ||
      win_status=$?
    compare "dorvik [$words_line] under ${locale%:*}" "$expected" "$status" "$win_status"
  done
  # A console shows every character, whatever the code page.
  if [[ $words_line == *-v* ]]; then
    { LC_ALL=ja_JP.UTF-8 script -qec "wine build-windows/bin/dorvik.exe ${words[*]@Q}" /dev/null \
        </dev/null || true; } | plain_text >"$work/console.out"
    if cmp -s "$work/console.out" "$work/linux.out"; then
      report "dorvik [$words_line] on a console" ok
    else
      report "dorvik [$words_line] on a console" "output differs"
    fi
  fi
done
# A POSIX parent sees 999 as 231; inside Windows it is whole.
dorvik_exe=$(winepath -w build-windows/bin/dorvik.exe)
for words_line in "" "--help" "--version" "-v|--version"; do
  seen=$({ wine cmd /v:on /c "$dorvik_exe ${words_line//|/ } >NUL & echo !errorlevel!" </dev/null ||
           true; } | tr -d '\r')
  [ "$seen" = 999 ] && report "dorvik [$words_line] exit code inside Windows" ok ||
    report "dorvik [$words_line] exit code inside Windows" "$seen, not 999"
done

echo "== felmar.exe against felmar"
# Pictures of every kind, made from a bundled character; each program runs in
# its own copy of the folder and the folders must end up the same.
pictures=$work/pictures
mkdir -p "$pictures"
build/tools/draw_strokes samples/src/ei.strokes "$pictures/ei" >/dev/null
(
  cd "$pictures"
  convert ei-01.bmp -type TrueColor BMP3:true24.bmp
  convert ei-02.bmp -fill gray -draw "point 250,250" -type Palette BMP3:palette.bmp
  convert ei-03.bmp png:stroke.png
  convert -size 254x254 xc:none -fill black -draw "circle 100,100 130,130" png32:alpha.png
  convert -size 400x300 xc:white -fill black -draw "rectangle 200,200 399,299" BMP3:big.bmp
  convert -size 30x30 xc:white BMP3:white.bmp
  echo "not a picture" >notes.txt
  cp ei-04.bmp "with space.bmp"
  for name in 漢字 한글 𠮷野家; do cp ei-01.bmp "$name.bmp"; done
  cp ei-00.bmp blocked.bmp
  mkdir blocked.bmp.rgn
  cp ei-00.bmp replaced.bmp
  head -c 1000 /dev/zero >replaced.bmp.rgn
)
felmar_cases=(
  "" "ei-00.bmp|ei-01.bmp" "ei-00.bmp" "ei-01.bmp" "ei-02.bmp" "ei-03.bmp" "ei-04.bmp"
  "true24.bmp" "palette.bmp" "stroke.png" "alpha.png" "big.bmp" "white.bmp" "notes.txt"
  "missing.bmp" "with space.bmp" "blocked.bmp" "replaced.bmp" "ei-00"
  "漢字.bmp" "한글.bmp" "𠮷野家.bmp" "漢字-missing.bmp"
)
cp -r "$pictures" "$work/linux"
cp -r "$pictures" "$work/windows"
for words_line in "${felmar_cases[@]}"; do
  split_words "$words_line"
  status=0
  (cd "$work/linux" && "$root/build/bin/felmar" "${words[@]}") >"$work/linux.out" || status=$?
  win_status=0
  (cd "$work/windows" && LC_ALL=C.UTF-8 wine "$root/build-windows/bin/felmar.exe" "${words[@]}") \
    >"$work/windows.out" || win_status=$?
  compare "felmar [$words_line]" "$work/linux.out" "$status" "$win_status"
done
if diff -r "$work/linux" "$work/windows" >"$work/felmar.diff"; then
  report "felmar's region files, byte for byte" ok
else
  report "felmar's region files, byte for byte" "$(head -c 300 "$work/felmar.diff")"
fi

echo "== zepkit.exe against zepkit"
# The grades of a text, and a worksheet of bundled characters read back as text
# and as a picture by poppler.
printf '右は漢字。猫々、右ABC１2〇\n' >"$work/text.txt"
status=0
build/bin/zepkit grade "$work/text.txt" --above 2 >"$work/linux.out" || status=$?
win_status=0
LC_ALL=C.UTF-8 wine build-windows/bin/zepkit.exe grade build-windows/compare/text.txt --above 2 \
  >"$work/windows.out" || win_status=$?
compare "zepkit grade" "$work/linux.out" "$status" "$win_status"
build/bin/zepkit worksheet samples/ei.zep samples/kawa.zep "$work/linux.pdf" --paper letter
wine build-windows/bin/zepkit.exe worksheet samples/ei.zep samples/kawa.zep \
  build-windows/compare/windows.pdf --paper letter >/dev/null || true
for side in linux windows; do
  pdftotext "$work/$side.pdf" "$work/$side.txt" 2>/dev/null || true
  pdftoppm -r 50 -singlefile -png "$work/$side.pdf" "$work/$side-page" 2>/dev/null || true
done
if [ -s "$work/linux.txt" ] && cmp -s "$work/linux.txt" "$work/windows.txt" &&
  cmp -s "$work/linux-page.png" "$work/windows-page.png"; then
  report "zepkit worksheet" ok
else
  report "zepkit worksheet" "its text or its first page differs"
fi
echo "== compared at $((SECONDS - start)) s"

if [ -f scripts/check-windows-player.sh ]; then
  echo "== zepplayer.exe under Xvfb"
  bash scripts/check-windows-player.sh
fi

echo "== Windows stage: $((SECONDS - start)) s"
if [ "$failures" -gt 0 ]; then
  echo "$failures comparisons differ (inputs and outputs in $work)" >&2
  exit 1
fi
