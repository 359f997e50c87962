#!/usr/bin/env bash
# CPU used by ecu-console over 10 s: the main window alone, the monitor in
# demo mode, the monitor against the paced virtual ECU; and the monitor's
# polling pass time against the line time of its seven transactions.
# Targets: idle and demo under 2 % of one core; pass within 15 % of its line
# time. Needs Xvfb and xdotool (installed on demand).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${SECONDS_PER_RUN:-10}"
bin=build/src/app
[ -x "$bin/ecu-console" ] || scripts/build >/dev/null
command -v xdotool >/dev/null || apt-get install -y -qq xdotool >/dev/null
work="$(mktemp -d)"
export XDG_RUNTIME_DIR="$work"
display=":$((50 + RANDOM % 40))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sim=""
console=""
cleanup() {
  [ -n "$console" ] && kill "$console" 2>/dev/null
  [ -n "$sim" ] && kill "$sim" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY="$display"
sleep 1

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
measure() {  # pid -> percent of one core over $seconds
  local hz t0 t1
  hz=$(getconf CLK_TCK)
  t0=$(cpu_ticks "$1"); sleep "$seconds"; t1=$(cpu_ticks "$1")
  awk -v a="$t0" -v b="$t1" -v hz="$hz" -v s="$seconds" \
    'BEGIN { printf "%.2f", 100 * (b - a) / hz / s }'
}
start_console() {  # args...
  (cd "$work" && exec "$OLDPWD/$bin/ecu-console" "$@") &
  console=$!
  local window=""
  for _ in $(seq 50); do
    window=$(timeout 1 xdotool search --name "ECU System Console" 2>/dev/null | head -1) || true
    [ -n "$window" ] && break
    xdotool key Return 2>/dev/null || true   # the demo-mode message
    sleep 0.2
  done
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  echo "$window"
}
open_monitor() {
  xdotool key alt+v; sleep 0.3; xdotool key m; sleep 1
}

# 1. Main window only.
printf '/nonexistent\n' >"$work/port.cfg"
export ECU_CONSOLE_CONFIG_DIR="$work"
start_console >/dev/null
sleep 1
idle=$(measure "$console")
kill "$console"; wait "$console" 2>/dev/null || true; console=""

# 2. Monitor in demo mode.
start_console demo >/dev/null
open_monitor
demo=$(measure "$console")
kill "$console"; wait "$console" 2>/dev/null || true; console=""

# 3. Monitor against the paced virtual ECU, with its traffic log.
"$bin/ecu-sim" --link "$work/ecu" --log "$work/sim.log" >/dev/null &
sim=$!
for _ in $(seq 50); do [ -e "$work/ecu" ] && break; sleep 0.1; done
printf '%s\n' "$work/ecu" >"$work/port.cfg"
start_console >/dev/null
open_monitor
live=$(measure "$console")

# Pass time: first request of a pass ("A" after 178) to the end of the 178
# reply; the log stamps each request when it has arrived whole.
pass=$(awk -v q="'" '
  $2 != "rx" { next }
  { t = $1; code = $3 }
  code == q "A" q && prev == "#178" { start = t }
  code == "#178" && start > 0 { sum += t - start; n++; start = 0 }
  { prev = code }
  END { if (n) printf "%.2f %d", 1000 * sum / n, n; else print "0 0" }' "$work/sim.log")
read -r pass_ms passes <<<"$pass"
# Seven requests of 8 bytes and replies of 25, 9, 25, 25, 11, 25, 12 bytes,
# 10 bits a byte at 19200 baud. The measured span starts after the first
# request and ends before the last reply, so add those two frames back.
line_ms=$(awk 'BEGIN { printf "%.2f", (7 * 8 + 25 + 9 + 25 + 25 + 11 + 25 + 12) * 10 / 19200 * 1000 }')
pass_full=$(awk -v p="$pass_ms" 'BEGIN { printf "%.2f", p + (8 + 12) * 10 / 19200 * 1000 }')

echo "ecu-console CPU over ${seconds} s (percent of one core; target < 2 % idle and demo):"
echo "  main window only:          ${idle} %"
echo "  monitor, demo mode:        ${demo} %"
echo "  monitor, paced ecu-sim:    ${live} %"
echo "monitor polling pass against the paced sim (${passes} passes):"
echo "  mean pass time:            ${pass_full} ms"
echo "  line time of its frames:   ${line_ms} ms"
awk -v p="$pass_full" -v l="$line_ms" 'BEGIN { printf "  ratio:                     %.3f (target <= 1.15)\n", p / l }'
