#!/usr/bin/env bash
# Mean time of one command transaction against the paced virtual ECU, beside
# the physical floor (request and reply bytes at 10 bits each, 19200 baud),
# and the CPU spent per transaction (waits must block, not spin).
# Target: within 5 % of the line time; CPU far below wall time.
set -euo pipefail
cd "$(dirname "$0")/.."
count="${1:-500}"
bin=build/src/app
[ -x "$bin/ecu-cli" ] && [ -x "$bin/ecu-sim" ] || scripts/build >/dev/null
dir="$(mktemp -d)"
"$bin/ecu-sim" --link "$dir/ecu" >/dev/null &
sim=$!
trap 'kill $sim 2>/dev/null; rm -rf "$dir"' EXIT
for _ in $(seq 50); do [ -e "$dir/ecu" ] && break; sleep 0.1; done

/usr/bin/time -f '%U %S %e' -o "$dir/time" "$bin/ecu-cli" --port "$dir/ecu" ping --count "$count" >"$dir/out"
read -r user sys wall <"$dir/time"
mean=$(sed -E 's/.*mean ([0-9.]+) ms.*/\1/' "$dir/out")
line=$(sed -E 's/.*line time ([0-9.]+) ms.*/\1/' "$dir/out")
awk -v m="$mean" -v l="$line" -v u="$user" -v s="$sys" -v n="$count" -v w="$wall" 'BEGIN {
  printf "transactions:            %d (\"R\", 8-byte request, 7-byte reply)\n", n
  printf "mean transaction time:   %.2f ms\n", m
  printf "line time of the frames: %.2f ms\n", l
  printf "ratio:                   %.3f (target <= 1.05)\n", m / l
  printf "CPU per transaction:     %.3f ms (wall %.2f ms; %.1f %% of wall)\n", (u + s) * 1000 / n, m, 100 * (u + s) / w
}'
echo "machine load average while measured: $(cut -d' ' -f1-3 /proc/loadavg)"
