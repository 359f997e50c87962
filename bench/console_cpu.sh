#!/usr/bin/env bash
# CPU used by ecu-console over 10 s: the main window alone, the monitor in
# demo mode, the monitor against the paced virtual ECU; and the monitor's
# polling pass time against the line time of its seven transactions.
# Targets: every case under 2 % of one core; pass within 5 % of its line
# time. Needs Xvfb and xdotool (installed on demand). BUILD_DIR picks the
# build (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/lib/gui.sh

start_console() {  # args...
  (cd "$work" && exec "$OLDPWD/$bin/ecu-console" "$@") &
  console=$!
  local window
  window=$(find_window "ECU System Console" Return)  # past the demo-mode message
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
start_sim
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

echo "ecu-console CPU over ${seconds} s (percent of one core; target < 2 %):"
echo "  main window only:          ${idle} %"
echo "  monitor, demo mode:        ${demo} %"
echo "  monitor, paced ecu-sim:    ${live} %"
echo "monitor polling pass against the paced sim (${passes} passes):"
echo "  mean pass time:            ${pass_full} ms"
echo "  line time of its frames:   ${line_ms} ms"
awk -v p="$pass_full" -v l="$line_ms" 'BEGIN { printf "  ratio:                     %.3f (target <= 1.05)\n", p / l }'
echo "machine load average while measured: $(cut -d' ' -f1-3 /proc/loadavg)"
