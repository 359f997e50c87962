#!/usr/bin/env bash
# The adapter pulled and put back: the monitor open against the paced
# virtual ECU, the sim killed for LOST_SECONDS (10) and started again on the
# same link path, CYCLES (5) times. Prints per cycle the message boxes the
# console raised, its CPU while the port was gone (target < 1 % of a core)
# and the seconds from the port's return to the first request on it
# (target <= 2 s); then confirms the console still runs. Needs Xvfb and
# xdotool (installed on demand). BUILD_DIR picks the build (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/lib/gui.sh
cycles="${CYCLES:-5}"
lost_seconds="${LOST_SECONDS:-10}"

export ECU_CONSOLE_CONFIG_DIR="$work"
start_sim
(cd "$work" && exec "$OLDPWD/$bin/ecu-console" 2>"$work/console.err") &
console=$!
main=$(find_window "ECU System Console")
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key alt+v; sleep 0.3; xdotool key m; sleep 2

# Message boxes carry the title "ECU"; each one seen is counted once and
# answered as a user would.
declare -A seen=()
boxes=0
answer_boxes() {
  local id
  for id in $(timeout 1 xdotool search --onlyvisible --name '^ECU$' 2>/dev/null); do
    if [ -z "${seen[$id]:-}" ]; then
      seen[$id]=1
      boxes=$((boxes + 1))
    fi
    xdotool windowfocus --sync "$id" key Return 2>/dev/null || true
  done
}
first_request_s() {  # sim log -> seconds from the port's return to the first request
  awk '$2 == "rx" { printf "%.2f", $1; found = 1; exit } END { if (!found) print "none" }' "$1"
}

hz=$(getconf CLK_TCK)
printf '%-6s %-14s %-22s %s\n' cycle "message boxes" "CPU while lost (%)" "resume (s)"
worst_cpu=0
worst_resume=0
for cycle in $(seq "$cycles"); do
  kill "$sim"; wait "$sim" 2>/dev/null || true; sim=""
  boxes=0
  # The first second: the loss is noticed and told; then the quiet time.
  for _ in 1 2 3 4; do sleep 0.25; answer_boxes; done
  t0=$(cpu_ticks "$console")
  start=$(date +%s.%N)
  while awk -v s="$start" -v n="$(date +%s.%N)" -v l="$lost_seconds" \
      'BEGIN { exit !(n - s < l - 1) }'; do
    sleep 0.5; answer_boxes
  done
  t1=$(cpu_ticks "$console")
  elapsed=$(awk -v s="$start" -v n="$(date +%s.%N)" 'BEGIN { print n - s }')
  cpu=$(awk -v a="$t0" -v b="$t1" -v hz="$hz" -v s="$elapsed" \
    'BEGIN { printf "%.2f", 100 * (b - a) / hz / s }')
  "$bin/ecu-sim" --link "$work/ecu" --log "$work/sim$cycle.log" >/dev/null 2>&1 &
  sim=$!
  for _ in $(seq 50); do [ -e "$work/ecu" ] && break; sleep 0.1; done
  for _ in 1 2 3 4 5 6 7 8; do sleep 0.5; answer_boxes; done
  resume=$(first_request_s "$work/sim$cycle.log")
  printf '%-6s %-14s %-22s %s\n' "$cycle" "$boxes" "$cpu" "$resume"
  worst_cpu=$(awk -v a="$worst_cpu" -v b="$cpu" 'BEGIN { print (b > a) ? b : a }')
  worst_resume=$(awk -v a="$worst_resume" -v b="$resume" \
    'BEGIN { if (b == "none") print "none"; else if (a == "none") print a; else print (b > a) ? b : a }')
done
echo "worst CPU while lost: ${worst_cpu} % of a core (target < 1 %)"
echo "worst seconds to resume: ${worst_resume} (target <= 2 s)"
if kill -0 "$console" 2>/dev/null && [ "$(awk '{print $3}' "/proc/$console/stat")" != Z ]; then
  echo "console still runs: yes"
else
  echo "console still runs: NO"
  exit 1
fi
