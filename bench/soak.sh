#!/usr/bin/env bash
# Soak: the console with the monitor open against the paced ecu-sim for
# MINUTES (default 10). The sim turns each of its faults on in turn (an
# eighth of the run each: clean, silent, dropped, corrupt, split, extra
# byte, wrong length, late), and the adapter is pulled and put back UNPLUGS
# times (default 2; the sim goes away for 5 s). Message boxes are answered
# with their default button and counted. RSS and CPU are sampled every 30 s.
# Prints start and end RSS, growth per hour after the warm-up (the first
# fifth of the run), CPU, transactions and message boxes.
# Target: no crash, RSS growth under 1 MB/hour after warm-up.
# Needs Xvfb and xdotool (installed on demand). BUILD_DIR picks the build.
#   bench/soak.sh [MINUTES]
set -euo pipefail
cd "$(dirname "$0")/.."
minutes="${1:-10}"
unplugs="${UNPLUGS:-2}"
. bench/lib/gui.sh

run_s=$((minutes * 60))
phase_s=$(awk -v r="$run_s" 'BEGIN { printf "%.3f", r / 8 }')
sample_s=30
warmup_s=$((run_s / 5))

start_sim --fault-cycle "$phase_s"
export ECU_CONSOLE_CONFIG_DIR="$work"
(cd "$work" && exec "$OLDPWD/$bin/ecu-console") &
console=$!
main=$(find_window "ECU System Console")
[ -n "$main" ] || { echo "the console did not start" >&2; exit 1; }
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key alt+v; sleep 0.3; xdotool key m; sleep 1

# Answers every message box (they are titled "ECU") with its default
# button; counts each one it closed, by its text's first words.
boxes="$work/boxes"
: >"$boxes"
answer_boxes() {
  while kill -0 "$console" 2>/dev/null; do
    box=$(timeout 2 xdotool search --name '^ECU$' 2>/dev/null | head -1) || true
    if [ -n "$box" ]; then
      xdotool windowfocus --sync "$box" 2>/dev/null || true
      xdotool key Return 2>/dev/null || true
      for _ in $(seq 20); do
        timeout 2 xdotool search --name '^ECU$' 2>/dev/null | grep -qx "$box" || break
        sleep 0.1
      done
      timeout 2 xdotool search --name '^ECU$' 2>/dev/null | grep -qx "$box" \
        || echo "$(date +%s) closed" >>"$boxes"
    fi
    sleep 0.3
  done
}
answer_boxes &
answerer=$!
trap 'kill $answerer 2>/dev/null; cleanup' EXIT

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
hz=$(getconf CLK_TCK)
samples="$work/samples"
: >"$samples"
unplug_at=()
for k in $(seq "$unplugs"); do unplug_at+=($((run_s * k / (unplugs + 1)))); done

start=$(date +%s)
next_sample=0
crashed=""
while :; do
  now=$(( $(date +%s) - start ))
  if ! kill -0 "$console" 2>/dev/null; then crashed="at ${now} s"; break; fi
  if [ "$now" -ge "$next_sample" ]; then
    echo "$now $(rss_kb "$console") $(cpu_ticks "$console")" >>"$samples"
    next_sample=$((next_sample + sample_s))
  fi
  if [ ${#unplug_at[@]} -gt 0 ] && [ "$now" -ge "${unplug_at[0]}" ]; then
    unplug_at=("${unplug_at[@]:1}")
    kill "$sim"; wait "$sim" 2>/dev/null || true
    rm -f "$work/ecu"
    echo "$now s: adapter pulled" >>"$work/events"
    sleep 5
    start_sim --fault-cycle "$phase_s"
    echo "$(( $(date +%s) - start )) s: adapter back" >>"$work/events"
  fi
  [ "$now" -ge "$run_s" ] && break
  sleep 1
done

# The sim's log: "TIME rx CODE BYTES [NOTE]" a request, "TIME tx ..." a
# reply; noise and fault phases have no code.
requests=$(awk '$2 == "rx" && $3 !~ /^\[/' "$work/sim.log" | wc -l)
replies=$(awk '$2 == "tx" && $3 !~ /^\[/ && !/\[dropped\]/' "$work/sim.log" | wc -l)
closed=$(wc -l <"$boxes")
echo "soak: ${minutes} min, monitor against the paced sim, each fault for ${phase_s} s, ${unplugs} unplug(s)"
[ -f "$work/events" ] && sed 's/^/  /' "$work/events"
awk -v hz="$hz" -v warm="$warmup_s" -v req="$requests" -v rep="$replies" \
    -v boxes="$closed" -v crashed="$crashed" '
  { t[NR] = $1; rss[NR] = $2; cpu[NR] = $3 }
  END {
    first = 0
    for (i = 1; i <= NR; i++) if (t[i] >= warm) { first = i; break }
    if (first == 0) first = NR
    n = 0; sx = sy = sxx = sxy = 0
    for (i = first; i <= NR; i++) {
      n++; sx += t[i]; sy += rss[i]; sxx += t[i] * t[i]; sxy += t[i] * rss[i]
    }
    slope = (n > 1 && n * sxx - sx * sx > 0) ? (n * sxy - sx * sy) / (n * sxx - sx * sx) : 0
    growth = slope * 3600 / 1024
    span = t[NR] - t[1]
    printf "  RSS at start:              %.1f MB\n", rss[1] / 1024
    printf "  RSS after warm-up (%d s):  %.1f MB\n", t[first], rss[first] / 1024
    printf "  RSS at end:                %.1f MB\n", rss[NR] / 1024
    printf "  growth after warm-up:      %.2f MB/hour (target < 1)\n", growth
    printf "  CPU:                       %.2f %% of one core\n", (span > 0 ? 100 * (cpu[NR] - cpu[1]) / hz / span : 0)
    printf "  transactions:              %d requests, %d replies (%.1f a second)\n", req, rep, (span > 0 ? req / span : 0)
    printf "  message boxes:             %d\n", boxes
    printf "  crash:                     %s\n", crashed == "" ? "none" : crashed
    if (crashed != "" || growth >= 1) exit 1
  }' "$samples"
