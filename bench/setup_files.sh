#!/usr/bin/env bash
# Time of a setup-file save and load through ecu-cli against the paced
# virtual ECU, beside the floor: the line time of every frame that crossed
# (request 8 bytes, reply N + 2 bytes, 10 bits a byte at 19200 baud, counted
# from the sim's traffic log) plus the pauses the sequence prescribes.
# Target: within 10 % of the floor.
#   ECU_BUILD_DIR=build-x bench/setup_files.sh   to use another build
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/lib/cli.sh

# Starts a sim with a calibration drawn from seed $1, logging to $2.
start_sim() {
  rm -f "$dir/ecu"
  "$bin/ecu-sim" --link "$dir/ecu" --seed "$1" --log "$2" >/dev/null &
  sim=$!
  for _ in $(seq 50); do [ -e "$dir/ecu" ] && break; sleep 0.1; done
}
stop_sim() {
  kill "$sim"
  wait "$sim" 2>/dev/null || true
  sim=""
}
# Bytes on the line in both directions: the hex pairs of every logged frame.
line_bytes() {
  awk '$2 == "rx" || $2 == "tx" {
         for (i = 4; i <= NF; i++) if ($i ~ /^[0-9A-F][0-9A-F]$/) n++
       } END { print n + 0 }' "$1"
}
# Runs ecu-cli and prints "wall user sys".
timed() {
  /usr/bin/time -f '%e %U %S' -o "$dir/time" "$bin/ecu-cli" --port "$dir/ecu" "$@" >/dev/null
  cat "$dir/time"
}

start_sim 5 "$dir/save.log"
read -r save_wall save_user save_sys < <(timed save "$dir/cal.SET")
stop_sim
start_sim 6 "$dir/load.log"
read -r load_wall load_user load_sys < <(timed load "$dir/cal.SET")
stop_sim

# Prescribed pauses: the link's 0.2 s after opening; a save waits 0.1 s
# before each of its 31 holder reads; a load waits 0.2 s and 0.1 s around
# its configuration read and 5 ms after each of the file's 436 lines.
save_pauses=$(awk 'BEGIN { print 0.2 + 31 * 0.1 }')
load_pauses=$(awk 'BEGIN { print 0.2 + 0.2 + 0.1 + 436 * 0.005 }')

awk -v sb="$(line_bytes "$dir/save.log")" -v lb="$(line_bytes "$dir/load.log")" \
    -v sp="$save_pauses" -v lp="$load_pauses" \
    -v sw="$save_wall" -v su="$save_user" -v ss="$save_sys" \
    -v lw="$load_wall" -v lu="$load_user" -v ls="$load_sys" 'BEGIN {
  byte = 10 / 19200
  sf = sb * byte + sp
  lf = lb * byte + lp
  printf "%-6s %9s %9s %11s %9s %7s %9s\n", "", "measured", "floor", "line bytes", "pauses", "ratio", "CPU"
  printf "%-6s %8.3fs %8.3fs %11d %8.3fs %7.3f %8.3fs\n", "save", sw, sf, sb, sp, sw / sf, su + ss
  printf "%-6s %8.3fs %8.3fs %11d %8.3fs %7.3f %8.3fs\n", "load", lw, lf, lb, lp, lw / lf, lu + ls
  printf "target: ratio <= 1.10\n"
}'
