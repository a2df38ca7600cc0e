#!/usr/bin/env bash
# navorix --chart: the saved session's chart drawn into PNG and SVG files
# without a display, at the size asked for; a wrong command line is told
# with exit status 2 and a file that cannot be written with 1.
#   bash chart_command_test.sh NAVORIX NAVORIX-BATCH SOURCE-DIR
set -euo pipefail
navorix=$1 batch=$2 source_dir=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

folder=$work/portable
mkdir -p "$folder/data"
cp "$navorix" "$folder/navorix"
cp -r "$source_dir/wav" "$folder/wav"
cp -r "$source_dir/land" "$folder/land"
printf '48.8566 2.3522 PARIS\r\n35.6762 139.6503 TOKYO\r\n64.1466 -21.9426 REYKJAVIK\r\n' >"$folder/data/navorix.fix"
# The history as navorix-batch writes its records: a Fixes at D last.
printf 'fixfix PARIS TOKYO\nproximity PARIS TOKYO REYKJAVIK 4000\n' >"$work/script.txt"
"$batch" "$folder/data/navorix.fix" "$work/script.txt" >"$folder/data/navorix.his"

# PNG's width and height, from its header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}'; }

cd "$work"  # a relative file name is taken from where the command was given
env -u DISPLAY -u WAYLAND_DISPLAY "$folder/navorix" --chart out.png --size 640x480 || fail "--chart PNG exit $?"
[ "$(head -c 8 out.png | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "out.png is no PNG"
[ "$(png_size out.png)" = 640x480 ] || fail "out.png is $(png_size out.png), not 640x480"
"$folder/navorix" --chart out.png || fail "--chart without a size"
[ "$(png_size out.png)" = 800x600 ] || fail "the default size is $(png_size out.png), not 800x600"
"$folder/navorix" --chart out.svg --size 300x200 || fail "--chart SVG exit $?"
grep -q '<svg' out.svg || fail "out.svg is no SVG"
grep -q 'width="300' out.svg || fail "out.svg is not 300 wide"

# The picture shows the record: a PNG of a session without it differs.
"$folder/navorix" --chart out.png --size 640x480
mv "$folder/data/navorix.his" "$work/kept.his"
"$folder/navorix" --chart empty.png --size 640x480 || fail "--chart without a history"
cmp -s empty.png out.png && fail "the record's figure is not in the picture"
mv "$work/kept.his" "$folder/data/navorix.his"

for args in "--chart" "--chart out.png --size 640" "--chart out.png --size 99x480" "--chart out.png --sise 640x480" \
            "--chart -x.png"; do
  set +e
  # shellcheck disable=SC2086
  "$folder/navorix" $args 2>"$work/err.txt"
  status=$?
  set -e
  [ $status -eq 2 ] || fail "'$args' exit $status, not 2"
  grep -q '^usage: navorix --chart' "$work/err.txt" || fail "'$args' said: $(cat "$work/err.txt")"
done
set +e
"$folder/navorix" --chart "$work/no/such/folder/x.png" 2>"$work/err.txt"
status=$?
set -e
[ $status -eq 1 ] || fail "an unwritable file gave exit $status, not 1"
grep -q '^Cannot write ' "$work/err.txt" || fail "an unwritable file said: $(cat "$work/err.txt")"
echo "navorix --chart: all passed"
