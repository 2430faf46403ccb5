#!/usr/bin/env bash
# compare_potrace.sh [FELMAR]: felmar against potrace on the same three 254 by
# 254 pictures (all black, a one-pixel checkerboard, a brush stroke), and
# against cat reading the same file for one-bit pictures (all black, the
# checkerboard, and a 4,096 by 4,096 one whose top-left square is black),
# measured side by side in one hyperfine run. Prints a table of the mean times
# and the ratios potrace / felmar (above 1: felmar is faster), then one of
# felmar against cat and of the large picture against the small one.
#
# FELMAR defaults to build/bin/felmar. Needs hyperfine and potrace
# (Debian packages of the same names) and perl (always on Debian).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
felmar=$(realpath "${1:-$root/build/bin/felmar}")
for tool in "$felmar" potrace hyperfine perl; do
  command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# 24-bit BMPs, as drawing programs save them; the brush stroke is a curve of
# discs whose radius swells and tapers like a brush under changing pressure.
perl -e '
  my $n = 254;
  sub bmp {
    my ($name, $black) = @_;
    my $row = 3 * $n + ((-3 * $n) % 4);
    my $pixels = "";
    for (my $y = $n - 1; $y >= 0; --$y) {
      my $line = "";
      $line .= $black->($_, $y) ? "\0\0\0" : "\xff\xff\xff" for 0 .. $n - 1;
      $pixels .= $line . ("\0" x ($row - 3 * $n));
    }
    open(my $f, ">:raw", $name) or die;
    print $f "BM", pack("VvvV", 54 + length($pixels), 0, 0, 54),
             pack("VllvvVVllVV", 40, $n, $n, 1, 24, 0, length($pixels), 2835, 2835, 0, 0), $pixels;
    close $f;
  }
  # One bit a pixel, colour 0 black and 1 white, rows given top first.
  sub bmp1 {
    my ($name, $w, @rows) = @_;
    my $row = int(($w + 31) / 32) * 4;
    my $pixels = join("", map { $_ . ("\xff" x ($row - length($_))) } reverse @rows);
    my $off = 62;
    open(my $f, ">:raw", $name) or die;
    print $f "BM", pack("VvvV", $off + length($pixels), 0, 0, $off),
             pack("VllvvVVllVV", 40, $w, scalar(@rows), 1, 1, 0, length($pixels), 2835, 2835, 2, 0),
             "\0\0\0\0\xff\xff\xff\0", $pixels;
    close $f;
  }
  my $black_row = ("\0" x 31) . "\x03";
  bmp1("black1.bmp", $n, ($black_row) x $n);
  bmp1("checkerboard1.bmp", $n, map { ($_ % 2 ? "\xaa" : "\x55") x 31 . ($_ % 2 ? "\xab" : "\x57") } 0 .. $n - 1);
  bmp1("large1.bmp", 4096, (($black_row) x $n), (("\xff" x 512) x (4096 - $n)));
  bmp("black.bmp", sub { 1 });
  bmp("checkerboard.bmp", sub { ($_[0] + $_[1]) % 2 == 0 });
  my %ink;
  for (my $t = 0; $t <= 1; $t += 0.002) {
    my $x = (1 - $t) ** 2 * 30 + 2 * (1 - $t) * $t * 110 + $t ** 2 * 225;
    my $y = (1 - $t) ** 2 * 60 + 2 * (1 - $t) * $t * 230 + $t ** 2 * 120;
    my $r = 4 + 14 * sin(3.14159265 * $t) ** 0.7;
    for my $dy (-int($r) .. int($r)) {
      for my $dx (-int($r) .. int($r)) {
        $ink{int($x + $dx) . "," . int($y + $dy)} = 1 if $dx * $dx + $dy * $dy <= $r * $r;
      }
    }
  }
  bmp("brush.bmp", sub { $ink{"$_[0],$_[1]"} });
'

pictures=(black checkerboard brush)
commands=()
for p in "${pictures[@]}"; do
  commands+=(-n "felmar $p" "$felmar $p.bmp")
  commands+=(-n "potrace $p" "potrace -b svg -o $p.svg $p.bmp")
done
for p in black1 checkerboard1; do
  commands+=(-n "felmar $p" "$felmar $p.bmp")
  commands+=(-n "cat $p" "cat $p.bmp")
done
commands+=(-n "felmar large1" "$felmar large1.bmp")
hyperfine -N --warmup 5 --min-runs 100 --export-csv times.csv --style none "${commands[@]}" >hyperfine.log 2>&1 || { cat hyperfine.log >&2; exit 1; }

# Every picture must have been converted by both, or the times mean nothing;
# the large picture's square is the small black one.
for p in "${pictures[@]}"; do
  [ -s "$p.bmp.rgn" ] && [ -s "$p.svg" ] || { echo "no output for $p" >&2; exit 1; }
done
cmp -s black1.bmp.rgn large1.bmp.rgn && cmp -s black1.bmp.rgn black.bmp.rgn || { echo "large1 differs" >&2; exit 1; }
[ "$(stat -c %s checkerboard1.bmp.rgn)" = 64775 ] || { echo "checkerboard1 is not the worst case" >&2; exit 1; }

# Wall time counts waiting for a processor on a busy machine; processor time
# (user + system) does not, so both are given.
echo "| picture | felmar wall (ms) | potrace wall (ms) | ratio | felmar CPU (ms) | potrace CPU (ms) | ratio |"
echo "|---|---:|---:|---:|---:|---:|---:|"
awk -F, 'NR > 1 { split($1, w, " "); key = w[1] " " w[2]; wall[key] = $2 * 1000; cpu[key] = ($5 + $6) * 1000
                  if (w[1] == "felmar" && w[2] !~ /1$/) order[++k] = w[2] }
  END {
    for (i = 1; i <= k; ++i) {
      p = order[i]; f = "felmar " p; t = "potrace " p
      printf "| %s | %.2f | %.2f | %.1f | %.2f | %.2f | %.1f |\n", p, wall[f], wall[t], wall[t] / wall[f], cpu[f], cpu[t], cpu[t] / cpu[f]
    }
  }' times.csv
echo
echo "| one-bit picture | felmar wall (ms) | cat wall (ms) | felmar / cat | felmar CPU (ms) | cat CPU (ms) |"
echo "|---|---:|---:|---:|---:|---:|"
awk -F, 'NR > 1 { split($1, w, " "); key = w[1] " " w[2]; wall[key] = $2 * 1000; cpu[key] = ($5 + $6) * 1000 }
  END {
    for (i = 0; i < 2; ++i) {
      p = i ? "checkerboard1" : "black1"; f = "felmar " p; c = "cat " p
      printf "| %s | %.2f | %.2f | %.2f | %.2f | %.2f |\n", p, wall[f], wall[c], wall[f] / wall[c], cpu[f], cpu[c]
    }
    printf "| large1 (4096 by 4096) | %.2f | | large1 / black1: %.2f | %.2f | |\n", wall["felmar large1"],
           wall["felmar large1"] / wall["felmar black1"], cpu["felmar large1"]
  }' times.csv
