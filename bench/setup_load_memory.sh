#!/usr/bin/env bash
# Peak memory of ecu-cli loading a 100 MB file that is no setup file (a
# hundred lines of a megabyte each) against the virtual ECU, beside the
# peak of loading a real 436-line setup file. The loader reads a line at a
# time and keeps at most the start of a line, so the two should be alike.
# Target: the 100 MB load peaks within 10 MB of the small one.
#   ECU_BUILD_DIR=build-x bench/setup_load_memory.sh   to use another build
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/lib/cli.sh

"$bin/ecu-sim" --link "$dir/ecu" --no-pacing >/dev/null &
sim=$!
for _ in $(seq 50); do [ -e "$dir/ecu" ] && break; sleep 0.1; done
"$bin/ecu-cli" --port "$dir/ecu" save "$dir/real.SET" >/dev/null
{ printf 'EGO_RATE= '; head -c 1000000 /dev/zero | tr '\0' 9; printf '\r\n'; } >"$dir/line"
for _ in $(seq 100); do cat "$dir/line"; done >"$dir/big.SET"

# Peak resident set of one load, in kB.
peak_kb() {
  /usr/bin/time -f '%M' -o "$dir/time" "$bin/ecu-cli" --port "$dir/ecu" \
    load "$1" >/dev/null 2>&1 || true
  tail -n 1 "$dir/time"
}
small=$(peak_kb "$dir/real.SET")
big=$(peak_kb "$dir/big.SET")
awk -v s="$small" -v b="$big" -v size="$(stat -c %s "$dir/big.SET")" 'BEGIN {
  printf "%-28s %10s\n", "", "peak RSS"
  printf "%-28s %7.1f MB\n", "436-line setup file", s / 1024
  printf "%-28s %7.1f MB\n", sprintf("%.0f MB of long lines", size / 1e6), b / 1024
  printf "difference %.1f MB; target <= 10 MB\n", (b - s) / 1024
}'
