#!/usr/bin/env bash
# Logging at the line's limit: samples a second written by `ecu-cli log
# --interval fastest` and by the console's plotter on "Fastest" (all eight
# channels charted), both against the paced virtual ECU, beside the most
# the line carries for the "A" frame (8 request + 25 reply bytes of 10 bits
# at 19200 baud: 17.19 ms, 58.2 a second). Targets: at least 95 % of that,
# and under 5 % of one core. Needs Xvfb and xdotool (installed on demand).
# BUILD_DIR picks the build (default build); SECONDS_PER_RUN the span.
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/lib/gui.sh

line_max=$(awk 'BEGIN { printf "%.2f", 19200 / ((8 + 25) * 10) }')
lines() { [ -f "$1" ] && wc -l <"$1" || echo 0; }
report() {  # name lines-in-span cpu
  awk -v name="$1" -v n="$2" -v s="$seconds" -v max="$line_max" -v cpu="$3" \
    'BEGIN { r = n / s; printf "  %-34s %5.1f samples/s = %5.1f %% of %.1f (target >= 95 %%), CPU %s %% (target < 5 %%)\n", name, r, 100 * r / max, max, cpu }'
}

start_sim

# 1. ecu-cli, millisecond time stamps.
cli_log="$work/CLI.CSV"
"$bin/ecu-cli" --port "$work/ecu" log "$cli_log" --interval fastest --time ms \
  >/dev/null 2>&1 &
cli=$!
sleep 2  # past the configuration read
c0=$(lines "$cli_log")
cli_cpu=$(measure "$cli")
c1=$(lines "$cli_log")
kill -INT "$cli"; wait "$cli" 2>/dev/null || true

# 2. The console: View > Plotter, Logging Interval > Fastest, all eight
# channels ticked, Start Log.
open_plotter f
xdotool key space
for _ in 1 2 3 4 5 6 7; do xdotool key Tab space; done
xdotool key Tab Tab space
sleep 2
console_log="$work/PLOTTER.CSV"
l0=$(lines "$console_log")
console_cpu=$(measure "$console")
l1=$(lines "$console_log")
title=$(xdotool getwindowname "$plotter" 2>/dev/null || echo "?")
[ -n "${SHOT:-}" ] && import -window root "$SHOT"

echo "Logging at the line's limit over ${seconds} s against the paced ecu-sim"
echo "(\"A\": 8 + 25 bytes at 19200 baud, at most ${line_max} a second):"
report "ecu-cli log --interval fastest" $((c1 - c0)) "$cli_cpu"
report "console plotter, Fastest, charted" $((l1 - l0)) "$console_cpu"
echo "  plotter title: $title"
echo "  machine load average while measured: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "  last console line: $(tail -1 "$console_log" | tr -d '\r')"
