#!/usr/bin/env bash
# Remakes samples/sample_fixes.fix, the fixes "Sample Fixes" appends: the
# populated places of Natural Earth (public domain) that Debian's
# python3-geopandas carries as "naturalearth_cities", mostly the capitals
# of the world. They go through navorix-batch's own import, so the names
# follow the import's rule, and are saved sorted by name.
# Usage: tools/make_sample_fixes.sh PATH/TO/navorix-batch
set -euo pipefail
batch=$(realpath "${1:?usage: tools/make_sample_fixes.sh PATH/TO/navorix-batch}")
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Debian's interpreter, which sees Debian's geopandas.
/usr/bin/python3 - "$tmp/places.csv" <<'PY'
import csv
import sys

import geopandas

places = geopandas.read_file(geopandas.datasets.get_path("naturalearth_cities"))
# The data set lost the first letter of one name.
MENDED = {"?saka": "Osaka"}
with open(sys.argv[1], "w", newline="", encoding="utf-8") as out:
    writer = csv.writer(out)
    writer.writerow(["name", "latitude", "longitude"])
    for name, point in zip(places["name"], places["geometry"]):
        writer.writerow([MENDED.get(name, name), repr(point.y), repr(point.x)])
PY
: > "$tmp/empty.fix"
printf 'import %s\nsort 0\nsave %s\n' "$tmp/places.csv" "$tmp/sample_fixes.fix" |
  "$batch" "$tmp/empty.fix"
cp "$tmp/sample_fixes.fix" samples/sample_fixes.fix
wc -l samples/sample_fixes.fix
