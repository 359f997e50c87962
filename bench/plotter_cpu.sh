#!/usr/bin/env bash
# CPU used by ecu-console over 10 s with the plotter open against the paced
# virtual ECU at the 100 ms logging interval: no channel ticked, all eight
# channels charted, and all eight charted while logging to a file. Also
# counts the "A" requests and log lines, which should come ten a second.
# Target: under 5 % of one core with all eight channels charted.
# Needs Xvfb and xdotool (installed on demand). BUILD_DIR picks the build
# (default build); SHOT=file.png keeps a picture of the screen.
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/lib/gui.sh

requests() { grep -c " rx 'A'" "$work/sim.log" || true; }

start_sim
# The plotter at 100 mSeconds.
open_plotter e

# 1. No channel ticked: polling and the monitor text only.
a0=$(requests)
none=$(measure "$console")
a1=$(requests)

# 2. The channel boxes come first in the tab order: tick all eight.
xdotool key space
for _ in 1 2 3 4 5 6 7; do xdotool key Tab space; done
sleep 0.5
charted=$(measure "$console")
a2=$(requests)

# 3. Then Start Log (past the file box) as well.
xdotool key Tab Tab space
sleep 0.5
l0=$(wc -l <"$work/PLOTTER.CSV")
logged=$(measure "$console")
l1=$(wc -l <"$work/PLOTTER.CSV")
[ -n "${SHOT:-}" ] && import -window root "$SHOT"

rate() { awk -v n="$1" -v s="$seconds" 'BEGIN { printf "%.1f", n / s }'; }
echo "ecu-console CPU over ${seconds} s, plotter at 100 ms against the paced ecu-sim"
echo "(percent of one core; target < 5 % with all eight channels charted):"
echo "  no channel ticked:             ${none} %   ($(rate $((a1 - a0))) \"A\"/s)"
echo "  eight channels charted:        ${charted} %   ($(rate $((a2 - a1))) \"A\"/s)"
echo "  eight charted, logging a file: ${logged} %   ($(rate $((l1 - l0))) lines/s)"
